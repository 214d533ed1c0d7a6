#include "sim/Scenario.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "sim/TextUnits.h"

namespace pptsim {
namespace {

using nlohmann::json;

[[noreturn]] void Reject(const std::string& reason) {
    throw std::runtime_error(reason);
}

int ReadCount(const json& value, const std::string& what, int lowest) {
    if (!value.is_number_integer() || value.get<long long>() < lowest ||
        value.get<long long>() > 1000000) {
        Reject(what + " must be an integer from " + std::to_string(lowest));
    }
    return value.get<int>();
}

std::wstring ReadText(const json& value, const std::string& what) {
    if (!value.is_string()) {
        Reject(what + " must be a string");
    }
    return Utf8ToUnits(value.get<std::string>());
}

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

const ScenarioFile* FindFile(const Scenario& scenario, const std::wstring& name) {
    for (const ScenarioFile& file : scenario.files) {
        if (file.fullName == name) {
            return &file;
        }
    }
    return nullptr;
}

void ReadFlags(const json& document, Scenario& scenario) {
    for (auto [name, flag] : {std::pair<const char*, bool*>{"registered", &scenario.registered},
                              {"available", &scenario.available}}) {
        if (document.contains(name)) {
            if (!document[name].is_boolean()) {
                Reject(std::string("\"") + name + "\" must be true or false");
            }
            *flag = document[name].get<bool>();
        }
    }
    if (document.contains("delayMs")) {
        scenario.delayMs = ReadCount(document["delayMs"], "\"delayMs\"", 0);
    }
    if (document.contains("frameTitles")) {
        const json& style = document["frameTitles"];
        if (style == "withExtension") {
            scenario.frameTitles = FrameTitleStyle::WithExtension;
        } else if (style == "withoutExtension") {
            scenario.frameTitles = FrameTitleStyle::WithoutExtension;
        } else {
            Reject("\"frameTitles\" must be \"withExtension\" or \"withoutExtension\"");
        }
    }
    if (document.contains("failMembers")) {
        if (!document["failMembers"].is_array()) {
            Reject("\"failMembers\" must be an array of member names");
        }
        for (const json& member : document["failMembers"]) {
            if (!member.is_string()) {
                Reject("\"failMembers\" must be an array of member names");
            }
            scenario.failMembers.insert(member.get<std::string>());
        }
    }
}

// The members that make PowerPoint busy, gone or prompting.
void ReadConditions(const json& document, Scenario& scenario) {
    if (document.contains("reject")) {
        if (!document["reject"].is_object()) {
            Reject("\"reject\" must map member names to counts");
        }
        for (const auto& [member, count] : document["reject"].items()) {
            scenario.reject[member] = ReadCount(count, "the reject count of " + member, 0);
        }
    }
    if (document.contains("whenLastWindowCloses")) {
        const json& value = document["whenLastWindowCloses"];
        if (value == "exit") {
            scenario.whenLastWindowCloses = LastWindowCloses::Exit;
        } else if (value == "stay") {
            scenario.whenLastWindowCloses = LastWindowCloses::Stay;
        } else {
            Reject("\"whenLastWindowCloses\" must be \"exit\" or \"stay\"");
        }
    }
    if (document.contains("unsaved")) {
        if (!document["unsaved"].is_array()) {
            Reject("\"unsaved\" must be an array of full names");
        }
        for (const json& entry : document["unsaved"]) {
            std::wstring name = ReadText(entry, "each of \"unsaved\"");
            if (!Contains(scenario.open, name)) {
                Reject("\"unsaved\" names " + UnitsToUtf8(name) + ", which is not open");
            }
            scenario.unsaved.insert(std::move(name));
        }
    }
}

std::vector<int> ReadPositions(const json& value, const std::string& what, int slides) {
    if (!value.is_array()) {
        Reject(what + " must be an array of slide positions");
    }
    std::vector<int> positions;
    for (const json& entry : value) {
        const int position = ReadCount(entry, "each of " + what, 1);
        if (position > slides) {
            Reject(what + " names slide " + std::to_string(position) + " of " +
                   std::to_string(slides));
        }
        positions.push_back(position);
    }
    return positions;
}

// A file is its slide count, or an object that also says how its slides are numbered and shown.
ScenarioFile ReadFile(const std::string& name, const json& value) {
    const std::string what = "the file " + name;
    if (!value.is_object()) {
        ScenarioFile file;
        file.fullName = Utf8ToUnits(name);
        file.slideCount = ReadCount(value, "the slide count of " + name, 0);
        return file;
    }
    if (!value.contains("slides")) {
        Reject(what + " needs \"slides\"");
    }
    ScenarioFile file;
    file.fullName = Utf8ToUnits(name);
    file.slideCount = ReadCount(value["slides"], "\"slides\" of " + name, 0);
    if (value.contains("firstSlideNumber")) {
        file.firstSlideNumber =
            ReadCount(value["firstSlideNumber"], "\"firstSlideNumber\" of " + name, 0);
    }
    if (value.contains("hidden")) {
        file.hidden = ReadPositions(value["hidden"], "\"hidden\" of " + name, file.slideCount);
    }
    if (value.contains("showRange")) {
        const std::vector<int> range =
            ReadPositions(value["showRange"], "\"showRange\" of " + name, file.slideCount);
        if (range.size() != 2 || range[0] > range[1]) {
            Reject("\"showRange\" of " + name + " must be [first, last] with first <= last");
        }
        file.rangeStart = range[0];
        file.rangeEnd = range[1];
    }
    if (value.contains("readOnly")) {
        if (!value["readOnly"].is_boolean()) {
            Reject("\"readOnly\" of " + name + " must be true or false");
        }
        file.readOnly = value["readOnly"].get<bool>();
    }
    return file;
}

void ReadPresentations(const json& document, Scenario& scenario) {
    if (document.contains("files")) {
        if (!document["files"].is_object()) {
            Reject("\"files\" must map full names to slide counts");
        }
        for (const auto& [name, value] : document["files"].items()) {
            scenario.files.push_back(ReadFile(name, value));
        }
    }
    if (document.contains("open")) {
        if (!document["open"].is_array()) {
            Reject("\"open\" must be an array of full names");
        }
        for (const json& entry : document["open"]) {
            std::wstring name = ReadText(entry, "each of \"open\"");
            if (FindFile(scenario, name) == nullptr) {
                Reject("\"open\" names " + UnitsToUtf8(name) + ", which \"files\" does not list");
            }
            if (Contains(scenario.open, name)) {
                Reject("\"open\" names " + UnitsToUtf8(name) + " twice");
            }
            scenario.open.push_back(std::move(name));
        }
    }
    if (document.contains("active") && !document["active"].is_null()) {
        std::wstring name = ReadText(document["active"], "\"active\"");
        if (!Contains(scenario.open, name)) {
            Reject("\"active\" names " + UnitsToUtf8(name) + ", which is not open");
        }
        scenario.active = std::move(name);
    } else if (!scenario.open.empty()) {
        scenario.active = scenario.open.back();
    }
}

void ReadShows(const json& document, Scenario& scenario) {
    if (!document.contains("shows")) {
        return;
    }
    if (!document["shows"].is_array()) {
        Reject("\"shows\" must be an array");
    }
    for (const json& show : document["shows"]) {
        if (!show.is_object() || !show.contains("presentation")) {
            Reject("each of \"shows\" must be an object with \"presentation\"");
        }
        std::wstring name = ReadText(show["presentation"], "\"presentation\" of a show");
        if (!Contains(scenario.open, name)) {
            Reject("a show runs " + UnitsToUtf8(name) + ", which is not open");
        }
        for (const ScenarioShow& other : scenario.shows) {
            if (other.presentation == name) {
                Reject("two shows run " + UnitsToUtf8(name));
            }
        }
        const int slides = FindFile(scenario, name)->slideCount;
        const int slide = show.contains("slide") ? ReadCount(show["slide"], "\"slide\"", 1) : 1;
        if (slide > slides) {
            Reject("a show of " + UnitsToUtf8(name) + " is on slide " + std::to_string(slide) +
                   " of " + std::to_string(slides));
        }
        bool ended = false;
        if (show.contains("ended")) {
            if (!show["ended"].is_boolean()) {
                Reject("\"ended\" of a show must be true or false");
            }
            ended = show["ended"].get<bool>();
        }
        scenario.shows.push_back({std::move(name), slide, ended});
    }
}

std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

}  // namespace

Scenario ParseScenario(const std::string& jsonText) {
    json document;
    try {
        document = json::parse(jsonText);
    } catch (const json::exception& error) {
        Reject(error.what());
    }
    if (!document.is_object()) {
        Reject("a scenario must be a JSON object");
    }
    Scenario scenario;
    ReadFlags(document, scenario);
    ReadPresentations(document, scenario);
    ReadShows(document, scenario);
    ReadConditions(document, scenario);
    scenario.syncRoots = ReadScenarioSyncRoots(document);
    return scenario;
}

Scenario LoadScenarioFromEnvironment() {
    const char* path = std::getenv("PPTSIM_SCENARIO");
    if (path == nullptr || *path == '\0') {
        return Scenario{};
    }
    try {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            Reject(std::string("cannot be read: ") + std::strerror(errno));
        }
        std::ostringstream content;
        content << file.rdbuf();
        return ParseScenario(content.str());
    } catch (const std::exception& error) {
        const std::string line =
            "pptsim: scenario " + std::string(path) + ": " + OneLine(error.what()) + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
        Scenario unavailable;
        unavailable.available = false;
        return unavailable;
    }
}

}  // namespace pptsim
