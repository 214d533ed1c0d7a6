// Which of the scenario's files are open at start and how: "open", "protectedView" and "active",
// and the sets of open decks in some state ("unsaved", "minimized").
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/Scenario.h"

namespace pptsim {

// A list of the files that "files" lists, each named once ("open", "protectedView").
std::vector<std::wstring> ReadFileList(const nlohmann::json& document, const char* member,
                                       const std::vector<ScenarioFile>& files);

// The document's "active" among the decks open; by default the last opened, or the last in
// Protected View.
std::optional<std::wstring> ReadActive(const nlohmann::json& document,
                                       const std::vector<std::wstring>& open,
                                       const std::vector<std::wstring>& protectedView);

// "open", "protectedView" and "active" into the scenario, whose files are read.
void ReadOpenDecks(const nlohmann::json& document, Scenario& scenario);

// A set of decks that the scenario's "open" lists, each in some state at start.
std::set<std::wstring> ReadOpenDeckSet(const nlohmann::json& document, const char* member,
                                       const std::vector<std::wstring>& open);

}  // namespace pptsim
