// The scenario's synced folders, published where OneDrive publishes them once PowerPoint starts.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>

#include "platform/Platform.h"
#include "platform/RegistryKey.h"
#include "sim/Scenario.h"
#include "tests/simulation-fixture/SimulationTest.h"

namespace {

constexpr wchar_t kProviders[] = L"Software\\SyncEngines\\Providers\\OneDrive";

std::wstring ReadText(HKEY key, const wchar_t* name) {
    wchar_t text[512] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    DWORD type = REG_NONE;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return L"(unreadable)";
    }
    return text;
}

// Each subkey of the provider key with its MountPoint and UrlNamespace joined by " -> ".
std::map<std::wstring, std::wstring> PublishedRoots() {
    std::map<std::wstring, std::wstring> published;
    RegistryKey providers;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kProviders, 0, KEY_READ, providers.Receive()) !=
        ERROR_SUCCESS) {
        return published;
    }
    wchar_t name[256];
    DWORD length = 256;
    for (DWORD index = 0; RegEnumKeyExW(providers.Get(), index, name, &length, nullptr, nullptr,
                                        nullptr, nullptr) == ERROR_SUCCESS;
         ++index, length = 256) {
        RegistryKey root;
        if (RegOpenKeyExW(providers.Get(), name, 0, KEY_READ, root.Receive()) == ERROR_SUCCESS) {
            published[name] = ReadText(root.Get(), L"MountPoint") + L" -> " +
                              ReadText(root.Get(), L"UrlNamespace");
        }
    }
    return published;
}

class SyncRoots : public SimulationTest {};

TEST_F(SyncRoots, PowerPointsStartPublishesTheScenariosFoldersAndNoOthers) {
    UseScenario(R"({"syncRoots": [
      {"mountPoint": "C:\\Users\\ann\\OneDrive - Contoso",
       "urlNamespace": "https://contoso-my.sharepoint.com/personal/ann_contoso_com/Documents/"},
      {"mountPoint": "C:\\Users\\ann\\OneDrive", "urlNamespace": "https://d.docs.live.net/4f2a9c"},
      {"mountPoint": "C:\\Users\\ann\\Contoso\\Team - Slides",
       "urlNamespace": "https://contoso.sharepoint.com/sites/Team/Shared%20Documents"}]})");
    EXPECT_EQ(PublishedRoots(),
              (std::map<std::wstring, std::wstring>{
                  {L"Business1",
                   L"C:\\Users\\ann\\OneDrive - Contoso -> "
                   L"https://contoso-my.sharepoint.com/personal/ann_contoso_com/Documents/"},
                  {L"Business2",
                   L"C:\\Users\\ann\\Contoso\\Team - Slides -> "
                   L"https://contoso.sharepoint.com/sites/Team/Shared%20Documents"},
                  {L"Personal", L"C:\\Users\\ann\\OneDrive -> https://d.docs.live.net/4f2a9c"}}));

    UseScenario(R"({"syncRoots": [{"mountPoint": "C:\\Users\\bob\\OneDrive",
                                   "urlNamespace": "https://d.docs.live.net/77aa00"}]})");
    EXPECT_EQ(PublishedRoots(),
              (std::map<std::wstring, std::wstring>{
                  {L"Personal", L"C:\\Users\\bob\\OneDrive -> https://d.docs.live.net/77aa00"}}));

    UseScenario("{}");
    EXPECT_TRUE(PublishedRoots().empty());
}

TEST(SyncRootsScenario, MalformedFoldersAreRejectedWithAReason) {
    for (const char* scenario : {
             R"({"syncRoots": {"mountPoint": "C:\\a", "urlNamespace": "https://h/a"}})",
             R"({"syncRoots": ["C:\\a"]})",
             R"({"syncRoots": [{"mountPoint": "C:\\a"}]})",
             R"({"syncRoots": [{"mountPoint": "", "urlNamespace": "https://h/a"}]})",
             R"({"syncRoots": [{"mountPoint": "C:\\a", "urlNamespace": "C:\\b"}]})",
             R"({"syncRoots": [{"mountPoint": "C:\\a", "urlNamespace": "https://d.docs.live.net/1"},
                               {"mountPoint": "C:\\b", "urlNamespace": "https://D.docs.live.net/2"}]})",
         }) {
        EXPECT_THROW(pptsim::ParseScenario(scenario), std::runtime_error) << scenario;
    }
}

}  // namespace
