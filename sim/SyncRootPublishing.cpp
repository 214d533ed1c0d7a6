#include "sim/SyncRootPublishing.h"

#include <cstdio>
#include <string>

#include "platform/Platform.h"
#include "platform/RegistryKey.h"

namespace pptsim {
namespace {

// Where OneDrive publishes its folders. Spelled here and in the plug-in's reader independently,
// on purpose: a shared constant would hide a wrong path from the tests.
constexpr wchar_t kProvidersKey[] = L"Software\\SyncEngines\\Providers\\OneDrive";

bool WriteText(HKEY key, const wchar_t* name, const std::wstring& text) {
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          bytes) == ERROR_SUCCESS;
}

bool WriteRoot(HKEY providers, const std::wstring& name, const ScenarioSyncRoot& root) {
    RegistryKey key;
    return RegCreateKeyExW(providers, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                           nullptr, key.Receive(), nullptr) == ERROR_SUCCESS &&
           WriteText(key.Get(), L"MountPoint", root.mountPoint) &&
           WriteText(key.Get(), L"UrlNamespace", root.urlNamespace);
}

bool WriteRoots(const std::vector<ScenarioSyncRoot>& roots) {
    const LSTATUS removed = RegDeleteTreeW(HKEY_CURRENT_USER, kProvidersKey);
    if (removed != ERROR_SUCCESS && removed != ERROR_FILE_NOT_FOUND) {
        return false;
    }
    if (roots.empty()) {
        return true;
    }
    RegistryKey providers;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kProvidersKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, providers.Receive(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    int business = 0;
    for (const ScenarioSyncRoot& root : roots) {
        const std::wstring name = IsPersonalNamespace(root.urlNamespace)
                                      ? std::wstring(L"Personal")
                                      : L"Business" + std::to_wstring(++business);
        if (!WriteRoot(providers.Get(), name, root)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool PublishSyncRoots(const std::vector<ScenarioSyncRoot>& roots) {
    if (WriteRoots(roots)) {
        return true;
    }
    const char line[] = "pptsim: the sync roots could not be published in the registry\n";
    std::fwrite(line, 1, sizeof line - 1, stderr);
    std::fflush(stderr);
    return false;
}

}  // namespace pptsim
