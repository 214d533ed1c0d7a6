#include "support/SyncRootRegistry.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "platform/Platform.h"
#include "platform/RegistryKey.h"

namespace {

// Registry key names are at most 255 units long.
constexpr DWORD kKeyNameRoom = 256;
// Far beyond the longest path Windows accepts; a longer text is not a folder or URL.
constexpr DWORD kLongestText = 32768;

// A REG_SZ value up to its first zero (the registry does not promise one at the end).
std::optional<std::wstring> ReadText(HKEY key, const wchar_t* valueName) {
    DWORD type = REG_NONE;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, valueName, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_SZ || bytes > kLongestText * sizeof(wchar_t)) {
        return std::nullopt;
    }
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD room = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                         &room) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;  // changed meanwhile: the next read will see it settled
    }
    text.resize(std::min<std::size_t>(text.find(L'\0'), room / sizeof(wchar_t)));
    return text;
}

std::optional<SyncRoot> ReadSyncRoot(HKEY parent, const wchar_t* name) {
    RegistryKey key;
    if (RegOpenKeyExW(parent, name, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::optional<std::wstring> mountPoint = ReadText(key.Get(), L"MountPoint");
    std::optional<std::wstring> urlNamespace = ReadText(key.Get(), L"UrlNamespace");
    if (!mountPoint || !urlNamespace || mountPoint->empty() || urlNamespace->empty()) {
        return std::nullopt;
    }
    return SyncRoot{std::move(*mountPoint), std::move(*urlNamespace)};
}

}  // namespace

std::vector<SyncRoot> ReadSyncRoots(const wchar_t* keyPath) {
    std::vector<SyncRoot> roots;
    RegistryKey providers;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, providers.Receive()) !=
        ERROR_SUCCESS) {
        return roots;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[kKeyNameRoom];
        DWORD length = kKeyNameRoom;
        const LSTATUS status = RegEnumKeyExW(providers.Get(), index, name, &length, nullptr,
                                             nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) {
            continue;
        }
        if (status != ERROR_SUCCESS) {
            break;
        }
        if (std::optional<SyncRoot> root = ReadSyncRoot(providers.Get(), name)) {
            roots.push_back(std::move(*root));
        }
    }
    return roots;
}
