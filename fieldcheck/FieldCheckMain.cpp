// glyphpad-fieldcheck: proves the plug-in against PowerPoint on this machine in one command and
// prints a report a tester can send back. Exit code 0 only when every step passed; 2 for a bad
// command line.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "fieldcheck/DiagnosticsAttachment.h"
#include "fieldcheck/FieldCheckOptions.h"
#include "fieldcheck/KeyWalk.h"
#include "fieldcheck/Observation.h"
#include "fieldcheck/PowerPointThread.h"
#include "fieldcheck/StepResult.h"
#include "platform/Platform.h"
#include "support/TextConversion.h"

namespace {

constexpr int kMadeSlides = 5;
constexpr int kFewestSlides = 3;
// Next and prev need two shown slides to step between.
constexpr std::size_t kFewestShown = 2;
// PowerPoint may have to start first, which takes longer than a key press may.
constexpr std::chrono::milliseconds kPowerPointBound{30000};

using DeckAnswer = std::pair<std::optional<DeckUnderTest>, std::string>;  // the deck, or why not

void PrintLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);  // a pipe on Windows is fully buffered; a tester watches line by line
}

// Where this program lives, as UTF-8.
std::string OwnPath() {
    char buffer[4096] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof(buffer));
    const int units = MultiByteToWideChar(CP_ACP, 0, buffer, static_cast<int>(length), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units > 0 ? units : 0), L'\0');
    if (units > 0) {
        MultiByteToWideChar(CP_ACP, 0, buffer, static_cast<int>(length), wide.data(), units);
    }
    return WideToUtf8(wide);
}

// The plug-in beside this program, named the way this program is (with ".exe" on Windows).
std::string PluginBesideMe() {
    const std::string self = OwnPath();
    const std::size_t separator = self.find_last_of("\\/");
    const std::string folder = separator == std::string::npos ? "" : self.substr(0, separator + 1);
    const bool exe = self.size() > 4 && self.compare(self.size() - 4, 4, ".exe") == 0;
    return folder + "glyphpad-powerpoint" + (exe ? ".exe" : "");
}

// A path the tester gave, made absolute, as PowerPoint takes it.
std::wstring AbsolutePath(const std::string& given) {
    std::error_code ignored;
    return Utf8ToWide(
        std::filesystem::absolute(std::filesystem::u8path(given), ignored).u8string());
}

std::filesystem::path FreshTemporaryFolder() {
    const auto stamp = std::chrono::system_clock::now().time_since_epoch().count();
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("glyphpad-fieldcheck-" + std::to_string(stamp));
    std::filesystem::create_directories(folder);
    return folder;
}

// The deck step: the tester's deck, or one made through PowerPoint in a temporary folder.
std::optional<DeckUnderTest> PrepareDeck(PowerPointThread& powerPoint, const std::string& given,
                                         std::filesystem::path& madeFolder, StepResult& result) {
    std::string problem;
    std::optional<DeckUnderTest> deck;
    std::optional<DeckAnswer> answer = DeckAnswer{};
    result.step = "deck";
    if (given.empty()) {
        result.sent = "make a " + std::to_string(kMadeSlides) +
                      "-slide deck numbered from 0 with its last slide hidden through PowerPoint "
                      "and save it in the temporary folder";
        try {
            madeFolder = FreshTemporaryFolder();
            const std::wstring path =
                Utf8ToWide((madeFolder / "Glyphpad field check.pptx").u8string());
            answer = powerPoint.Run<DeckAnswer>(
                [path](PowerPointDeck& powerPointDeck) {
                    std::string why;
                    std::optional<DeckUnderTest> made = powerPointDeck.Make(path, kMadeSlides, why);
                    return DeckAnswer{made, why};
                },
                kPowerPointBound);
        } catch (const std::filesystem::filesystem_error& error) {
            problem = std::string("no temporary folder: ") + error.what();
        }
    } else {
        result.sent = "read " + given + " through PowerPoint";
        const std::wstring path = AbsolutePath(given);
        answer = powerPoint.Run<DeckAnswer>(
            [path](PowerPointDeck& powerPointDeck) {
                std::string why;
                std::optional<DeckUnderTest> described = powerPointDeck.Describe(path, why);
                return DeckAnswer{described, why};
            },
            kPowerPointBound);
    }
    if (!answer) {
        problem = "PowerPoint did not answer within 30 s; is it showing a dialog?";
    } else if (problem.empty()) {
        deck = answer->first;
        problem = answer->second;
    }
    result.expected = "a deck of at least " + std::to_string(kFewestSlides) + " slides, " +
                      std::to_string(kFewestShown) + " of them shown";
    if (deck) {
        result.cameBack = "'" + WideToUtf8(deck->fullName) + "', " + std::to_string(deck->slides) +
                          " slides, " + std::to_string(deck->shown.size()) + " shown";
        if (deck->slides < kFewestSlides) {
            problem = "the deck has " + std::to_string(deck->slides) + " slides; the walk needs " +
                      std::to_string(kFewestSlides) + " or more";
            deck.reset();
        } else if (deck->shown.size() < kFewestShown) {
            problem = "the deck's show shows " + std::to_string(deck->shown.size()) +
                      " slides (hidden slides and its saved range left out); the walk needs " +
                      std::to_string(kFewestShown) + " or more";
            deck.reset();
        }
    }
    result.ok = deck.has_value();
    result.problem = problem;
    return deck;
}

// After the walk, while the plug-in is gone: PowerPoint asked through the field check's own
// connection (on Windows the PowerPoint the plug-in drove) where its behaviour is only inferred.
void ObserveOwnConnection(PowerPointThread& powerPoint, const DeckUnderTest& deck,
                          const std::string& given,
                          const std::function<void(const Observation&)>& observe) {
    const auto look = [&powerPoint, &observe](auto ask) {
        const std::optional<std::vector<Observation>> answered =
            powerPoint.Run<std::vector<Observation>>(ask, kPowerPointBound);
        for (const Observation& observation : answered.value_or(std::vector<Observation>{
                 {"a look at PowerPoint", "PowerPoint did not answer within 30 s", false}})) {
            observe(observation);
        }
    };
    look([deck](PowerPointDeck& own) { return own.ObserveOwnShows(deck); });
    look([deck](PowerPointDeck& own) {
        return std::vector<Observation>{own.ObserveMinimisedWindow(deck.fullName)};
    });
    const std::wstring path = given.empty() ? std::wstring() : AbsolutePath(given);
    look([deck, path](PowerPointDeck& own) {
        return std::vector<Observation>{own.ObserveSecondOpen(path, deck.fullName)};
    });
}

}  // namespace

int main(int argc, char** argv) {
    std::string problem;
    const std::optional<FieldCheckOptions> options =
        ParseFieldCheckOptions(std::vector<std::string>(argv + 1, argv + argc), problem);
    if (!options || options->help) {
        std::fputs(options ? kFieldCheckUsage : (problem + "\n" + kFieldCheckUsage).c_str(),
                   options ? stdout : stderr);
        return options ? 0 : 2;
    }
    const std::string pluginPath = options->plugin.empty() ? PluginBesideMe() : options->plugin;
    PrintLine("Glyphpad field check of " + pluginPath);

    std::vector<StepResult> results;
    std::vector<std::string> stepNames = KeyWalk::StepNames(options->closePowerPoint);
    stepNames.push_back("deck");
    const std::size_t stepColumn = StepColumnFor(stepNames);
    const auto report = [&results, stepColumn](const StepResult& result) {
        results.push_back(result);
        PrintLine(StepLine(result, stepColumn));
    };
    std::vector<Observation> observed;
    const auto observe = [&observed](const Observation& observation) {
        observed.push_back(observation);
    };
    std::filesystem::path madeFolder;
    {
        // The deck comes first, before the plug-in starts and reaches for PowerPoint itself: the
        // simulated PowerPoint under Wine serves one client per server, and two first
        // activations at once sometimes left the check waiting 30 s for its own.
        PowerPointThread powerPoint;
        StepResult deckStep;
        const std::optional<DeckUnderTest> deck =
            PrepareDeck(powerPoint, options->deck, madeFolder, deckStep);
        report(deckStep);
        KeyWalk walk(pluginPath, report, observe, powerPoint);
        walk.StartPlugin();
        walk.Walk(deck, options->closePowerPoint);
        walk.CheckWindowsAnswer();
        walk.EndPlugin();
        if (deck) {
            ObserveOwnConnection(powerPoint, *deck, options->deck, observe);
        }
        // PowerPoint stays open; only the deck made here goes (after a long press and a second
        // load it is open again, in a PowerPoint this reference may no longer reach).
        if (deck && deck->made) {
            for (const std::wstring& fullName :
                 {deck->fullName, deck->customShow.fullName, deck->tour.fullName}) {
                powerPoint.Run<bool>(
                    [fullName](PowerPointDeck& powerPointDeck) {
                        return powerPointDeck.CloseIfOpen(fullName);
                    },
                    kPowerPointBound);
            }
        }
    }
    if (!madeFolder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(madeFolder, ignored);
    }

    PrintLine(SummaryLine(results));
    // Not a pass or a fail: what PowerPoint did where the plug-in's makers could only infer it.
    PrintLine(
        "Observed (what PowerPoint reported where we could only infer it; please send "
        "this with the report):");
    for (const Observation& observation : observed) {
        PrintLine(ObservationLine(observation));
    }
    if (!options->jsonReport.empty()) {
        const nlohmann::json about{{"tool", "glyphpad-fieldcheck"},
                                   {"plugin", pluginPath},
                                   {"deck", options->deck.empty() ? "made" : options->deck},
                                   {"closePowerPoint", options->closePowerPoint},
                                   {"diagnostics", DiagnosticsAttachment(pluginPath)},
                                   {"observed", ObservationsJson(observed)}};
        std::ofstream json(std::filesystem::u8path(options->jsonReport), std::ios::binary);
        // A diagnostic line is not trusted to be UTF-8: anything else is replaced, not thrown.
        json << ReportJson(results, about)
                    .dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
             << '\n';
        if (!json) {
            PrintLine("could not write the JSON report to " + options->jsonReport);
            return 1;
        }
    }
    return AllPassed(results) ? 0 : 1;
}
