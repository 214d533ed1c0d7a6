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

// An array of member names, as "failMembers" holds.
void ReadMemberNames(const json& document, const char* key, std::set<std::string>& names) {
    if (!document.contains(key)) {
        return;
    }
    const std::string reason = "\"" + std::string(key) + "\" must be an array of member names";
    if (!document[key].is_array()) {
        Reject(reason);
    }
    for (const json& member : document[key]) {
        if (!member.is_string()) {
            Reject(reason);
        }
        names.insert(member.get<std::string>());
    }
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
                              {"available", &scenario.available},
                              {"rot", &scenario.rot}}) {
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
    ReadMemberNames(document, "failMembers", scenario.failMembers);
    ReadMemberNames(document, "faultMembers", scenario.faultMembers);
}

// The full names an array member lists, each accepted by check(name, what, names so far), which
// rejects the scenario otherwise.
template <typename Check>
std::vector<std::wstring> ReadNames(const json& document, const char* member, Check check) {
    std::vector<std::wstring> names;
    if (!document.contains(member)) {
        return names;
    }
    const std::string what = std::string("\"") + member + "\"";
    if (!document[member].is_array()) {
        Reject(what + " must be an array of full names");
    }
    for (const json& entry : document[member]) {
        std::wstring name = ReadText(entry, "each of " + what);
        check(name, what, names);
        names.push_back(std::move(name));
    }
    return names;
}

// A set of decks that "open" lists, each in some state at start: "unsaved", "minimized".
std::set<std::wstring> ReadOpenDecks(const json& document, const char* member,
                                     const Scenario& scenario) {
    const std::vector<std::wstring> names =
        ReadNames(document, member,
                  [&scenario](const std::wstring& name, const std::string& what,
                              const std::vector<std::wstring>&) {
                      if (!Contains(scenario.open, name)) {
                          Reject(what + " names " + UnitsToUtf8(name) + ", which is not open");
                      }
                  });
    return std::set<std::wstring>(names.begin(), names.end());
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
    if (document.contains("rejectFor")) {
        if (!document["rejectFor"].is_object()) {
            Reject("\"rejectFor\" must map member names to milliseconds");
        }
        for (const auto& [member, milliseconds] : document["rejectFor"].items()) {
            scenario.rejectFor[member] =
                ReadCount(milliseconds, "the rejectFor time of " + member, 0);
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
    scenario.unsaved = ReadOpenDecks(document, "unsaved", scenario);
    scenario.minimized = ReadOpenDecks(document, "minimized", scenario);
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

// "clicks": {"12": 3}, the click-triggered builds of slides by position.
std::map<int, int> ReadClicks(const json& value, const std::string& name, int slides) {
    if (!value.is_object()) {
        Reject("\"clicks\" of " + name + " must map slide positions to build counts");
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
            Reject("\"clicks\" of " + name + " names slide " + key + ", which is not one of its " +
                   std::to_string(slides));
        }
        clicks[position] = ReadCount(count, "the builds of slide " + key + " of " + name, 0);
    }
    return clicks;
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
    if (value.contains("fullName")) {
        file.reportedName = ReadText(value["fullName"], "\"fullName\" of " + name);
    }
    if (value.contains("clicks")) {
        file.clicks = ReadClicks(value["clicks"], name, file.slideCount);
    }
    if (value.contains("namedShows")) {
        const json& shows = value["namedShows"];
        if (!shows.is_object()) {
            Reject("\"namedShows\" of " + name + " must map names to slide positions");
        }
        for (const auto& [show, slides] : shows.items()) {
            const std::string what = "the custom show " + show + " of " + name;
            std::vector<int> positions = ReadPositions(slides, what, file.slideCount);
            if (positions.empty()) {
                Reject(what + " shows no slide");
            }
            file.namedShows[Utf8ToUnits(show)] = std::move(positions);
        }
    }
    return file;
}

void ReadFiles(const json& document, Scenario& scenario) {
    if (!document.contains("files")) {
        return;
    }
    if (!document["files"].is_object()) {
        Reject("\"files\" must map full names to slide counts");
    }
    for (const auto& [name, value] : document["files"].items()) {
        scenario.files.push_back(ReadFile(name, value));
    }
}

// A list of files that "files" lists, each named once: "open", "protectedView".
std::vector<std::wstring> ReadFileList(const json& document, const char* member,
                                       const Scenario& scenario) {
    return ReadNames(
        document, member,
        [&scenario](const std::wstring& name, const std::string& what,
                    const std::vector<std::wstring>& names) {
            if (FindFile(scenario, name) == nullptr) {
                Reject(what + " names " + UnitsToUtf8(name) + ", which \"files\" does not list");
            }
            if (Contains(names, name)) {
                Reject(what + " names " + UnitsToUtf8(name) + " twice");
            }
        });
}

// The active one of the decks open (by default the last opened, or the last in Protected View).
std::optional<std::wstring> ReadActive(const json& document, const std::vector<std::wstring>& open,
                                       const std::vector<std::wstring>& protectedView) {
    if (document.contains("active") && !document["active"].is_null()) {
        std::wstring name = ReadText(document["active"], "\"active\"");
        if (!Contains(open, name) && !Contains(protectedView, name)) {
            Reject("\"active\" names " + UnitsToUtf8(name) + ", which is not open");
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

void ReadOpen(const json& document, Scenario& scenario) {
    scenario.open = ReadFileList(document, "open", scenario);
    scenario.protectedView = ReadFileList(document, "protectedView", scenario);
    for (const std::wstring& name : scenario.protectedView) {
        if (Contains(scenario.open, name)) {
            Reject(UnitsToUtf8(name) + " is open both in and out of Protected View");
        }
    }
    scenario.active = ReadActive(document, scenario.open, scenario.protectedView);
}

// Where a show of the file stands: its slide (by default its first: the custom show's first, or
// slide 1), the builds played there and whether it stands on the end screen.
ScenarioShow ReadShow(const json& show, const ScenarioFile& file, std::wstring name) {
    const std::string deck = UnitsToUtf8(name);
    ScenarioShow read;
    read.presentation = std::move(name);
    read.slide = 1;
    if (show.contains("namedShow")) {
        read.namedShow = ReadText(show["namedShow"], "\"namedShow\" of a show");
        const auto named = file.namedShows.find(read.namedShow);
        if (named == file.namedShows.end()) {
            Reject("a show of " + deck + " runs the custom show " + UnitsToUtf8(read.namedShow) +
                   ", which its file does not have");
        }
        read.slide = named->second.front();
    }
    if (show.contains("slide")) {
        read.slide = ReadCount(show["slide"], "\"slide\"", 1);
    }
    if (read.slide > file.slideCount) {
        Reject("a show of " + deck + " is on slide " + std::to_string(read.slide) + " of " +
               std::to_string(file.slideCount));
    }
    if (show.contains("reachedByLink")) {
        if (!show["reachedByLink"].is_boolean() || read.namedShow.empty()) {
            Reject("\"reachedByLink\" of a show must be true or false, with \"namedShow\"");
        }
        read.reachedByLink = show["reachedByLink"].get<bool>();
    }
    if (!read.namedShow.empty()) {
        const std::vector<int>& slides = file.namedShows.at(read.namedShow);
        const bool inIt = std::find(slides.begin(), slides.end(), read.slide) != slides.end();
        if (inIt == read.reachedByLink) {
            Reject("a show of " + deck + " is on slide " + std::to_string(read.slide) + ", which " +
                   (inIt ? "is in its custom show: no link took it there"
                         : "its custom show does not show"));
        }
    }
    if (show.contains("ended")) {
        if (!show["ended"].is_boolean()) {
            Reject("\"ended\" of a show must be true or false");
        }
        read.ended = show["ended"].get<bool>();
    }
    if (show.contains("click")) {
        read.click = ReadCount(show["click"], "\"click\" of a show", 0);
        const auto clicks = file.clicks.find(read.slide);
        if (read.click > (clicks == file.clicks.end() ? 0 : clicks->second)) {
            Reject("a show of " + deck + " has played " + std::to_string(read.click) +
                   " builds of slide " + std::to_string(read.slide) + ", more than it has");
        }
    }
    return read;
}

std::vector<ScenarioShow> ReadShows(const json& document, const Scenario& scenario,
                                    const std::vector<std::wstring>& open) {
    std::vector<ScenarioShow> shows;
    if (!document.contains("shows")) {
        return shows;
    }
    if (!document["shows"].is_array()) {
        Reject("\"shows\" must be an array");
    }
    for (const json& show : document["shows"]) {
        if (!show.is_object() || !show.contains("presentation")) {
            Reject("each of \"shows\" must be an object with \"presentation\"");
        }
        std::wstring name = ReadText(show["presentation"], "\"presentation\" of a show");
        if (!Contains(open, name)) {
            Reject("a show runs " + UnitsToUtf8(name) + ", which is not open");
        }
        for (const ScenarioShow& other : shows) {
            if (other.presentation == name) {
                Reject("two shows run " + UnitsToUtf8(name));
            }
        }
        const ScenarioFile& file = *FindFile(scenario, name);
        shows.push_back(ReadShow(show, file, std::move(name)));
    }
    return shows;
}

// "restart": what PowerPoint opens when it starts again by itself after it exited.
void ReadRestart(const json& document, Scenario& scenario) {
    if (!document.contains("restart")) {
        return;
    }
    const json& restart = document["restart"];
    if (!restart.is_object() || !restart.contains("afterMs")) {
        Reject("\"restart\" must be an object with \"afterMs\"");
    }
    ScenarioRestart read;
    read.afterMs = ReadCount(restart["afterMs"], "\"afterMs\" of \"restart\"", 0);
    read.open = ReadFileList(restart, "open", scenario);
    read.active = ReadActive(restart, read.open, {});
    read.shows = ReadShows(restart, scenario, read.open);
    scenario.restart = std::move(read);
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
    ReadFiles(document, scenario);
    ReadOpen(document, scenario);
    scenario.shows = ReadShows(document, scenario, scenario.open);
    ReadConditions(document, scenario);
    ReadRestart(document, scenario);
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
