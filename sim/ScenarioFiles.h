// The scenario's "files": the decks Open can open, each its slide count or an object that also
// says how its slides are numbered, shown, built and gathered into custom shows.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/Scenario.h"

namespace pptsim {

// The document's "files" member, in key order (none when it is absent).
std::vector<ScenarioFile> ReadScenarioFiles(const nlohmann::json& document);

// The file of that full name; null when "files" does not list it.
const ScenarioFile* FindScenarioFile(const std::vector<ScenarioFile>& files,
                                     const std::wstring& name);

}  // namespace pptsim
