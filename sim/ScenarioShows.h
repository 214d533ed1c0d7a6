// The scenario's "shows": the slide shows running at start, each of an open deck, standing on a
// slide (of its custom show, or one a link took it to), on a build, or on the end screen.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/Scenario.h"

namespace pptsim {

// The document's "shows" member (none when it is absent), each of one of the open decks.
std::vector<ScenarioShow> ReadScenarioShows(const nlohmann::json& document,
                                            const std::vector<ScenarioFile>& files,
                                            const std::vector<std::wstring>& open);

}  // namespace pptsim
