#include "sim/ScenarioFiles.h"

#include "sim/ScenarioReading.h"
#include "sim/TextUnits.h"

namespace pptsim {
namespace {

using nlohmann::json;

std::vector<int> ReadPositions(const json& value, const std::string& what, int slides) {
    if (!value.is_array()) {
        RejectScenario(what + " must be an array of slide positions");
    }
    std::vector<int> positions;
    for (const json& entry : value) {
        const int position = ReadCount(entry, "each of " + what, 1);
        if (position > slides) {
            RejectScenario(what + " names slide " + std::to_string(position) + " of " +
                           std::to_string(slides));
        }
        positions.push_back(position);
    }
    return positions;
}

// "clicks": {"12": 3}, the click-triggered builds of slides by position.
std::map<int, int> ReadClicks(const json& value, const std::string& name, int slides) {
    if (!value.is_object()) {
        RejectScenario("\"clicks\" of " + name + " must map slide positions to build counts");
    }
    std::map<int, int> clicks;
    for (const auto& [key, count] : value.items()) {
        std::size_t used = 0;
        int position = 0;
        try {
            position = std::stoi(key, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used == 0 || used != key.size() || position < 1 || position > slides) {
            RejectScenario("\"clicks\" of " + name + " names slide " + key +
                           ", which is not one of its " + std::to_string(slides));
        }
        clicks[position] = ReadCount(count, "the builds of slide " + key + " of " + name, 0);
    }
    return clicks;
}

// "namedShows": {"Short": [2, 5, 9]}, custom shows by name, each showing at least one slide.
std::map<std::wstring, std::vector<int>> ReadNamedShows(const json& value, const std::string& name,
                                                        int slides) {
    if (!value.is_object()) {
        RejectScenario("\"namedShows\" of " + name + " must map names to slide positions");
    }
    std::map<std::wstring, std::vector<int>> namedShows;
    for (const auto& [show, positions] : value.items()) {
        const std::string what = "the custom show " + show + " of " + name;
        std::vector<int> read = ReadPositions(positions, what, slides);
        if (read.empty()) {
            RejectScenario(what + " shows no slide");
        }
        namedShows[Utf8ToUnits(show)] = std::move(read);
    }
    return namedShows;
}

void ReadShowRange(const json& value, const std::string& name, ScenarioFile& file) {
    const std::vector<int> range =
        ReadPositions(value, "\"showRange\" of " + name, file.slideCount);
    if (range.size() != 2 || range[0] > range[1]) {
        RejectScenario("\"showRange\" of " + name + " must be [first, last] with first <= last");
    }
    file.rangeStart = range[0];
    file.rangeEnd = range[1];
}

// A file is its slide count, or an object that also says how its slides are numbered and shown.
ScenarioFile ReadFile(const std::string& name, const json& value) {
    ScenarioFile file;
    file.fullName = Utf8ToUnits(name);
    if (!value.is_object()) {
        file.slideCount = ReadCount(value, "the slide count of " + name, 0);
        return file;
    }
    if (!value.contains("slides")) {
        RejectScenario("the file " + name + " needs \"slides\"");
    }
    file.slideCount = ReadCount(value["slides"], "\"slides\" of " + name, 0);
    if (value.contains("firstSlideNumber")) {
        file.firstSlideNumber =
            ReadCount(value["firstSlideNumber"], "\"firstSlideNumber\" of " + name, 0);
    }
    if (value.contains("hidden")) {
        file.hidden = ReadPositions(value["hidden"], "\"hidden\" of " + name, file.slideCount);
    }
    if (value.contains("showRange")) {
        ReadShowRange(value["showRange"], name, file);
    }
    if (value.contains("readOnly")) {
        file.readOnly = ReadFlag(value["readOnly"], "\"readOnly\" of " + name);
    }
    if (value.contains("fullName")) {
        file.reportedName = ReadText(value["fullName"], "\"fullName\" of " + name);
    }
    if (value.contains("clicks")) {
        file.clicks = ReadClicks(value["clicks"], name, file.slideCount);
    }
    if (value.contains("namedShows")) {
        file.namedShows = ReadNamedShows(value["namedShows"], name, file.slideCount);
    }
    return file;
}

}  // namespace

std::vector<ScenarioFile> ReadScenarioFiles(const json& document) {
    std::vector<ScenarioFile> files;
    if (!document.contains("files")) {
        return files;
    }
    if (!document["files"].is_object()) {
        RejectScenario("\"files\" must map full names to slide counts");
    }
    for (const auto& [name, value] : document["files"].items()) {
        files.push_back(ReadFile(name, value));
    }
    return files;
}

const ScenarioFile* FindScenarioFile(const std::vector<ScenarioFile>& files,
                                     const std::wstring& name) {
    for (const ScenarioFile& file : files) {
        if (file.fullName == name) {
            return &file;
        }
    }
    return nullptr;
}

}  // namespace pptsim
