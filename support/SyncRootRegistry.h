// The sync engine's folders as it publishes them for the current user.
#pragma once

#include <vector>

#include "support/SyncRoot.h"

// One subkey per synced folder, each holding the texts MountPoint and UrlNamespace.
inline constexpr wchar_t kOneDriveSyncRootsKey[] = L"Software\\SyncEngines\\Providers\\OneDrive";

// The folders published under HKEY_CURRENT_USER\keyPath, in the order the registry lists them.
// A subkey without both texts, or with an empty one, is left out; a missing key gives none.
std::vector<SyncRoot> ReadSyncRoots(const wchar_t* keyPath = kOneDriveSyncRootsKey);
