#include "sim/ScenarioSyncRoots.h"

#include <algorithm>
#include <cwctype>

#include "sim/ScenarioReading.h"
#include "sim/TextUnits.h"

namespace pptsim {
namespace {

using nlohmann::json;

std::wstring ReadRootText(const json& root, const char* name) {
    if (!root.contains(name) || !root[name].is_string() || root[name].get<std::string>().empty()) {
        RejectScenario(std::string("each of \"syncRoots\" needs a non-empty text \"") + name +
                       "\"");
    }
    return Utf8ToUnits(root[name].get<std::string>());
}

// The text between "://" and the next slash; empty when there is no "://".
std::wstring HostOf(const std::wstring& url) {
    const std::size_t scheme = url.find(L"://");
    if (scheme == std::wstring::npos) {
        return std::wstring();
    }
    const std::size_t start = scheme + 3;
    return url.substr(start, url.find(L'/', start) - start);
}

}  // namespace

bool IsPersonalNamespace(const std::wstring& urlNamespace) {
    std::wstring host = HostOf(urlNamespace);
    std::transform(host.begin(), host.end(), host.begin(),
                   [](wchar_t unit) { return static_cast<wchar_t>(std::towlower(unit)); });
    return host == L"d.docs.live.net";
}

std::vector<ScenarioSyncRoot> ReadScenarioSyncRoots(const json& document) {
    std::vector<ScenarioSyncRoot> roots;
    if (!document.contains("syncRoots")) {
        return roots;
    }
    const json& member = document["syncRoots"];
    if (!member.is_array()) {
        RejectScenario("\"syncRoots\" must be an array of {\"mountPoint\", \"urlNamespace\"}");
    }
    for (const json& entry : member) {
        if (!entry.is_object()) {
            RejectScenario("\"syncRoots\" must be an array of {\"mountPoint\", \"urlNamespace\"}");
        }
        ScenarioSyncRoot root{ReadRootText(entry, "mountPoint"),
                              ReadRootText(entry, "urlNamespace")};
        if (HostOf(root.urlNamespace).empty()) {
            RejectScenario("the \"urlNamespace\" " + UnitsToUtf8(root.urlNamespace) + " is no URL");
        }
        const bool personal = IsPersonalNamespace(root.urlNamespace);
        if (personal && std::any_of(roots.begin(), roots.end(), [](const ScenarioSyncRoot& other) {
                return IsPersonalNamespace(other.urlNamespace);
            })) {
            RejectScenario("\"syncRoots\" holds two personal OneDrives");
        }
        roots.push_back(std::move(root));
    }
    return roots;
}

}  // namespace pptsim
