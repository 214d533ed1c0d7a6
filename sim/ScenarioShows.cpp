#include "sim/ScenarioShows.h"

#include <algorithm>

#include "sim/ScenarioFiles.h"
#include "sim/ScenarioReading.h"
#include "sim/TextUnits.h"

namespace pptsim {
namespace {

using nlohmann::json;

// The custom show the show runs and the slide it starts on by default: the custom show's first.
void ReadNamedShow(const json& show, const ScenarioFile& file, const std::string& deck,
                   ScenarioShow& read) {
    read.namedShow = ReadText(show["namedShow"], "\"namedShow\" of a show");
    const auto named = file.namedShows.find(read.namedShow);
    if (named == file.namedShows.end()) {
        RejectScenario("a show of " + deck + " runs the custom show " +
                       UnitsToUtf8(read.namedShow) + ", which its file does not have");
    }
    read.slide = named->second.front();
}

// A show running a custom show stands on one of its slides, unless a link took it elsewhere.
void CheckSlideOfNamedShow(const ScenarioFile& file, const std::string& deck,
                           const ScenarioShow& read) {
    const std::vector<int>& slides = file.namedShows.at(read.namedShow);
    const bool inIt = std::find(slides.begin(), slides.end(), read.slide) != slides.end();
    if (inIt == read.reachedByLink) {
        RejectScenario("a show of " + deck + " is on slide " + std::to_string(read.slide) +
                       ", which " +
                       (inIt ? "is in its custom show: no link took it there"
                             : "its custom show does not show"));
    }
}

// Where a show of the file stands: its slide (by default its first: the custom show's first, or
// slide 1), the builds played there and whether it stands on the end screen.
ScenarioShow ReadShow(const json& show, const ScenarioFile& file, std::wstring name) {
    const std::string deck = UnitsToUtf8(name);
    ScenarioShow read;
    read.presentation = std::move(name);
    read.slide = 1;
    if (show.contains("namedShow")) {
        ReadNamedShow(show, file, deck, read);
    }
    if (show.contains("slide")) {
        read.slide = ReadCount(show["slide"], "\"slide\"", 1);
    }
    if (read.slide > file.slideCount) {
        RejectScenario("a show of " + deck + " is on slide " + std::to_string(read.slide) + " of " +
                       std::to_string(file.slideCount));
    }
    if (show.contains("reachedByLink")) {
        if (!show["reachedByLink"].is_boolean() || read.namedShow.empty()) {
            RejectScenario("\"reachedByLink\" of a show must be true or false, with \"namedShow\"");
        }
        read.reachedByLink = show["reachedByLink"].get<bool>();
    }
    if (!read.namedShow.empty()) {
        CheckSlideOfNamedShow(file, deck, read);
    }
    if (show.contains("ended")) {
        read.ended = ReadFlag(show["ended"], "\"ended\" of a show");
    }
    if (show.contains("click")) {
        read.click = ReadCount(show["click"], "\"click\" of a show", 0);
        const auto clicks = file.clicks.find(read.slide);
        if (read.click > (clicks == file.clicks.end() ? 0 : clicks->second)) {
            RejectScenario("a show of " + deck + " has played " + std::to_string(read.click) +
                           " builds of slide " + std::to_string(read.slide) + ", more than it has");
        }
    }
    return read;
}

}  // namespace

std::vector<ScenarioShow> ReadScenarioShows(const json& document,
                                            const std::vector<ScenarioFile>& files,
                                            const std::vector<std::wstring>& open) {
    std::vector<ScenarioShow> shows;
    if (!document.contains("shows")) {
        return shows;
    }
    if (!document["shows"].is_array()) {
        RejectScenario("\"shows\" must be an array");
    }
    for (const json& show : document["shows"]) {
        if (!show.is_object() || !show.contains("presentation")) {
            RejectScenario("each of \"shows\" must be an object with \"presentation\"");
        }
        std::wstring name = ReadText(show["presentation"], "\"presentation\" of a show");
        if (!Contains(open, name)) {
            RejectScenario("a show runs " + UnitsToUtf8(name) + ", which is not open");
        }
        for (const ScenarioShow& other : shows) {
            if (other.presentation == name) {
                RejectScenario("two shows run " + UnitsToUtf8(name));
            }
        }
        const ScenarioFile& file = *FindScenarioFile(files, name);
        shows.push_back(ReadShow(show, file, std::move(name)));
    }
    return shows;
}

}  // namespace pptsim
