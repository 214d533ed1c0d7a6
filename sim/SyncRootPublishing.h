// The simulated machine's sync engine: publishes the scenario's synced folders where OneDrive
// does, for the current user (natively in the registry stand-in, under Wine in the prefix).
#pragma once

#include <vector>

#include "sim/ScenarioSyncRoots.h"

namespace pptsim {

// Makes HKEY_CURRENT_USER\Software\SyncEngines\Providers\OneDrive hold these folders and no
// others: a subkey each, "Personal" for the personal OneDrive and "Business1", "Business2", ...
// for the rest in order, as OneDrive names its accounts, with the texts MountPoint and
// UrlNamespace. Folders of an earlier scenario go (the Windows lane's tests share one prefix).
// False, with one line on standard error, when the registry refuses.
bool PublishSyncRoots(const std::vector<ScenarioSyncRoot>& roots);

}  // namespace pptsim
