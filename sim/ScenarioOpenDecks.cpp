#include "sim/ScenarioOpenDecks.h"

#include "sim/ScenarioFiles.h"
#include "sim/ScenarioReading.h"
#include "sim/TextUnits.h"

namespace pptsim {

using nlohmann::json;

std::vector<std::wstring> ReadFileList(const json& document, const char* member,
                                       const std::vector<ScenarioFile>& files) {
    return ReadNames(document, member,
                     [&files](const std::wstring& name, const std::string& what,
                              const std::vector<std::wstring>& names) {
                         if (FindScenarioFile(files, name) == nullptr) {
                             RejectScenario(what + " names " + UnitsToUtf8(name) +
                                            ", which \"files\" does not list");
                         }
                         if (Contains(names, name)) {
                             RejectScenario(what + " names " + UnitsToUtf8(name) + " twice");
                         }
                     });
}

std::optional<std::wstring> ReadActive(const json& document, const std::vector<std::wstring>& open,
                                       const std::vector<std::wstring>& protectedView) {
    if (document.contains("active") && !document["active"].is_null()) {
        std::wstring name = ReadText(document["active"], "\"active\"");
        if (!Contains(open, name) && !Contains(protectedView, name)) {
            RejectScenario("\"active\" names " + UnitsToUtf8(name) + ", which is not open");
        }
        return name;
    }
    if (!open.empty()) {
        return open.back();
    }
    if (!protectedView.empty()) {
        return protectedView.back();
    }
    return std::nullopt;
}

void ReadOpenDecks(const json& document, Scenario& scenario) {
    scenario.open = ReadFileList(document, "open", scenario.files);
    scenario.protectedView = ReadFileList(document, "protectedView", scenario.files);
    for (const std::wstring& name : scenario.protectedView) {
        if (Contains(scenario.open, name)) {
            RejectScenario(UnitsToUtf8(name) + " is open both in and out of Protected View");
        }
    }
    scenario.active = ReadActive(document, scenario.open, scenario.protectedView);
}

std::set<std::wstring> ReadOpenDeckSet(const json& document, const char* member,
                                       const std::vector<std::wstring>& open) {
    const std::vector<std::wstring> names = ReadNames(
        document, member,
        [&open](const std::wstring& name, const std::string& what,
                const std::vector<std::wstring>&) {
            if (!Contains(open, name)) {
                RejectScenario(what + " names " + UnitsToUtf8(name) + ", which is not open");
            }
        });
    return std::set<std::wstring>(names.begin(), names.end());
}

}  // namespace pptsim
