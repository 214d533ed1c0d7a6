// Reads a scenario document member by member, in the order each member's checks need (files
// before the decks open, those before their shows), and the document PPTSIM_SCENARIO names.
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

#include "sim/ScenarioFiles.h"
#include "sim/ScenarioOpenDecks.h"
#include "sim/ScenarioReading.h"
#include "sim/ScenarioShows.h"

namespace pptsim {
namespace {

using nlohmann::json;

// An array of member names, as "failMembers" holds.
void ReadMemberNames(const json& document, const char* key, std::set<std::string>& names) {
    if (!document.contains(key)) {
        return;
    }
    const std::string reason = "\"" + std::string(key) + "\" must be an array of member names";
    if (!document[key].is_array()) {
        RejectScenario(reason);
    }
    for (const json& member : document[key]) {
        if (!member.is_string()) {
            RejectScenario(reason);
        }
        names.insert(member.get<std::string>());
    }
}

// An object of member names and a number each, as "reject" holds: "\"reject\" must map member
// names to counts", "the reject count of Next must be ...".
std::map<std::string, int> ReadMemberNumbers(const json& document, const char* key,
                                             const char* numbers, const char* number) {
    std::map<std::string, int> read;
    if (!document.contains(key)) {
        return read;
    }
    if (!document[key].is_object()) {
        RejectScenario("\"" + std::string(key) + "\" must map member names to " + numbers);
    }
    for (const auto& [member, value] : document[key].items()) {
        read[member] =
            ReadCount(value, "the " + std::string(key) + " " + number + " of " + member, 0);
    }
    return read;
}

// How PowerPoint is found, answers and names its frames.
void ReadFlags(const json& document, Scenario& scenario) {
    for (auto [name, flag] : {std::pair<const char*, bool*>{"registered", &scenario.registered},
                              {"available", &scenario.available},
                              {"rot", &scenario.rot}}) {
        if (document.contains(name)) {
            *flag = ReadFlag(document[name], std::string("\"") + name + "\"");
        }
    }
    if (document.contains("delayMs")) {
        scenario.delayMs = ReadCount(document["delayMs"], "\"delayMs\"", 0);
    }
    ReadChoice(document, "frameTitles",
               {{"withExtension", FrameTitleStyle::WithExtension},
                {"withoutExtension", FrameTitleStyle::WithoutExtension}},
               scenario.frameTitles);
    ReadMemberNames(document, "failMembers", scenario.failMembers);
    ReadMemberNames(document, "faultMembers", scenario.faultMembers);
}

// The members that make PowerPoint busy, gone or prompting.
void ReadConditions(const json& document, Scenario& scenario) {
    scenario.reject = ReadMemberNumbers(document, "reject", "counts", "count");
    scenario.rejectFor = ReadMemberNumbers(document, "rejectFor", "milliseconds", "time");
    ReadChoice(document, "whenLastWindowCloses",
               {{"exit", LastWindowCloses::Exit}, {"stay", LastWindowCloses::Stay}},
               scenario.whenLastWindowCloses);
    scenario.unsaved = ReadOpenDeckSet(document, "unsaved", scenario.open);
    scenario.minimized = ReadOpenDeckSet(document, "minimized", scenario.open);
}

// "restart": what PowerPoint opens when it starts again by itself after it exited.
void ReadRestart(const json& document, Scenario& scenario) {
    if (!document.contains("restart")) {
        return;
    }
    const json& restart = document["restart"];
    if (!restart.is_object() || !restart.contains("afterMs")) {
        RejectScenario("\"restart\" must be an object with \"afterMs\"");
    }
    ScenarioRestart read;
    read.afterMs = ReadCount(restart["afterMs"], "\"afterMs\" of \"restart\"", 0);
    read.open = ReadFileList(restart, "open", scenario.files);
    read.active = ReadActive(restart, read.open, {});
    read.shows = ReadScenarioShows(restart, scenario.files, read.open);
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
        RejectScenario(error.what());
    }
    if (!document.is_object()) {
        RejectScenario("a scenario must be a JSON object");
    }
    Scenario scenario;
    ReadFlags(document, scenario);
    scenario.files = ReadScenarioFiles(document);
    ReadOpenDecks(document, scenario);
    scenario.shows = ReadScenarioShows(document, scenario.files, scenario.open);
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
            RejectScenario(std::string("cannot be read: ") + std::strerror(errno));
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
