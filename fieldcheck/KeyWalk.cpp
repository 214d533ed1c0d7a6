#include "fieldcheck/KeyWalk.h"

#include <algorithm>
#include <thread>

#include "actions/ActionIdentifiers.h"
#include "fieldcheck/ForegroundWindow.h"
#include "fieldcheck/WindowsAnswerStep.h"
#include "hostpeer/HostMessages.h"
#include "hostpeer/PluginArguments.h"
#include "hostpeer/RegistrationMessage.h"
#include "platform/ProcessWindows.h"
#include "platform/WindowText.h"
#include "support/PowerPointWindows.h"
#include "support/TextConversion.h"

namespace {

using Clock = HostClock;

constexpr const char* kUuid = "GLYPHPAD-FIELDCHECK";
// How long a look at PowerPoint through the field check's own connection may take.
constexpr std::chrono::milliseconds kLookBound{10000};
constexpr const char* kRegisterEvent = "registerPlugin";
// What the Glyphpad application tells a plug-in about itself; only the language is read.
constexpr const char* kInfo =
    R"({"application":{"language":"en","platform":"windows","version":"6.0.0"},)"
    R"("plugin":{"uuid":"com.korvex.powerpoint","version":"1.0.0"},"devicePixelRatio":1})";

long long MillisecondsSince(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(end - start).count();
}

std::optional<ReceivedFrame> NextFrameBefore(LoopbackHost& host, Clock::time_point deadline) {
    return host.NextFrame(
        std::max(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()),
                 std::chrono::milliseconds(0)));
}

// The start as a tester reads it: the info is long and tells nothing.
std::string DescribeStart(const std::string& path, std::vector<std::string> arguments) {
    arguments.back() = "{...}";
    std::string text = "start " + path;
    for (const std::string& argument : arguments) {
        text += " " + argument;
    }
    return text;
}

std::string ForwardSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// One key of each action.
const KeyWalk::Key kKeys[] = {
    {"load", ActionIdentifiers::Load, "fieldcheck-load"},
    {"play", ActionIdentifiers::Play, "fieldcheck-play"},
    {"next", ActionIdentifiers::Next, "fieldcheck-next"},
    {"prev", ActionIdentifiers::Previous, "fieldcheck-prev"},
    {"first", ActionIdentifiers::First, "fieldcheck-first"},
    {"last", ActionIdentifiers::Last, "fieldcheck-last"},
};

const KeyWalk::Key& FindKey(const std::string& name) {
    return *std::find_if(std::begin(kKeys), std::end(kKeys),
                         [&name](const KeyWalk::Key& key) { return name == key.name; });
}

}  // namespace

KeyWalk::KeyWalk(std::string path, Sink sink, ObservationSink observations,
                 PowerPointThread& ownPowerPoint)
    : pluginPath(std::move(path)),
      report(std::move(sink)),
      observe(std::move(observations)),
      powerPoint(ownPowerPoint),
      display(FindKey("play").context, FindKey("load").context) {}

KeyWalk::~KeyWalk() {
    if (plugin) {
        plugin->Terminate();
    }
}

void KeyWalk::StartPlugin() {
    StepResult result{"register", "", "", "", false, std::nullopt, ""};
    const std::vector<std::string> arguments =
        PluginArguments({host.Port(), kUuid, kRegisterEvent, kInfo});
    result.sent = DescribeStart(pluginPath, arguments);
    const std::string registration = RegistrationMessage(kRegisterEvent, kUuid);
    result.expected = registration;
    try {
        plugin = std::make_unique<ChildProcess>(pluginPath, arguments);
    } catch (const std::exception& error) {
        result.problem = error.what();
        report(result);
        return;
    }
    if (!host.WaitForConnection(kStepBound)) {
        const std::optional<int> exited = plugin->WaitForExit(std::chrono::milliseconds(0));
        result.problem = exited ? "the plug-in ended with exit code " + std::to_string(*exited) +
                                      " without connecting"
                                : "the plug-in did not connect within 10 s";
        report(result);
        return;
    }
    connected = true;
    const std::optional<ReceivedFrame> first = host.NextFrame(kStepBound);
    result.cameBack = first ? first->text : "";
    result.ok = first && first->text == registration;
    if (!first) {
        result.problem = "the plug-in connected but sent no registration within 10 s";
    } else if (!result.ok) {
        result.problem =
            "the plug-in's first message is not the registration the application "
            "expects, byte for byte";
    }
    report(result);
}

namespace {

// The deck a stop's load key names: the one made (or the tester's), or one saved to run a custom
// show.
enum class WalkDeck { Made, CustomShow, Tour };
// What the field check does around the press: asks which window has the keyboard before a play
// press and whether the show took it; minimises the deck before a load press.
enum class Around { Nothing, Keyboard, Minimised };

struct Stop {
    const char* step;
    const char* key;
    int slide;  // a position; 0: the deck's name, state 1; -1: nothing (PowerPoint closed)
    int holdMs;
    WalkDeck deck = WalkDeck::Made;
    Around around = Around::Nothing;
};

// Where the walk stops: the first, second and last slide the deck's own show shows, the builds on
// that last slide, the first and last slide of the deck's custom show (0: it has none), and the
// first two of its tour (0: it has none), whose last slide is its first again.
struct Positions {
    int first;
    int second;
    int last;
    int lastBuilds;
    int customFirst;
    int customLast;
    int tourFirst;
    int tourSecond;
};

// Next on the last slide plays its builds first, the title unchanged, and only then wraps.
void PlayBuilds(std::vector<Stop>& stops, const char* step, int slide, int builds, WalkDeck deck) {
    for (int build = 0; build < builds; ++build) {
        stops.push_back({step, "next", slide, 0, deck});
    }
}

std::vector<Stop> Stops(const Positions& at, bool closePowerPoint) {
    std::vector<Stop> stops = {{"load", "load", 0, 0},
                               {"play", "play", at.first, 0},
                               {"next", "next", at.second, 0},
                               {"prev", "prev", at.first, 0},
                               {"prev-wrap", "prev", at.last, 0}};
    PlayBuilds(stops, "next-build", at.last, at.lastBuilds, WalkDeck::Made);
    stops.push_back({"next-wrap", "next", at.first, 0});
    stops.push_back({"last", "last", at.last, 0});
    PlayBuilds(stops, "next-build", at.last, at.lastBuilds, WalkDeck::Made);
    stops.insert(stops.end(), {{"next-wrap-last", "next", at.first, 0},
                               {"first", "first", at.first, 0},
                               {"play-end", "play", 0, 0}});
    // Play while another window has the keyboard (the console the check runs in); then load the
    // deck minimised, which must bring it back.
    stops.insert(stops.end(),
                 {{"keyboard-play", "play", at.first, 0, WalkDeck::Made, Around::Keyboard},
                  {"keyboard-end", "play", 0, 0},
                  {"minimized-load", "load", 0, 0, WalkDeck::Made, Around::Minimised}});
    if (at.customFirst > 0) {
        // A custom show wraps within its own slides; the play key still counts the deck's.
        const WalkDeck custom = WalkDeck::CustomShow;
        stops.insert(stops.end(), {{"custom-load", "load", 0, 0, custom},
                                   {"custom-play", "play", at.customFirst, 0, custom},
                                   {"custom-last", "last", at.customLast, 0, custom}});
        PlayBuilds(stops, "custom-build", at.customLast,
                   at.customLast == at.last ? at.lastBuilds : 0, custom);
        stops.insert(stops.end(), {{"custom-next-wrap", "next", at.customFirst, 0, custom},
                                   {"custom-prev-wrap", "prev", at.customLast, 0, custom},
                                   {"custom-end", "play", 0, 0, custom}});
    }
    if (at.tourFirst > 0) {
        // A tour comes back to its first slide: its first and last are positions, not slides, so
        // next leaves its first slide and wraps only from its last stop, prev the other way.
        const WalkDeck tour = WalkDeck::Tour;
        stops.insert(stops.end(), {{"tour-load", "load", 0, 0, tour},
                                   {"tour-play", "play", at.tourFirst, 0, tour},
                                   {"tour-next", "next", at.tourSecond, 0, tour},
                                   {"tour-next-back", "next", at.tourFirst, 0, tour},
                                   {"tour-next-wrap", "next", at.tourFirst, 0, tour},
                                   {"tour-prev-wrap", "prev", at.tourFirst, 0, tour},
                                   {"tour-prev-back", "prev", at.tourSecond, 0, tour},
                                   {"tour-end", "play", 0, 0, tour}});
    }
    if (closePowerPoint) {
        // PowerPoint is gone (or hidden) after the long press; loading again must find it.
        stops.push_back({"play-hold", "play", -1, 1500});
        stops.push_back({"load-again", "load", 0, 0});
    }
    return stops;
}

Positions PositionsIn(const DeckUnderTest& deck) {
    const bool walkable = deck.shown.size() >= 2;
    Positions at{walkable ? deck.shown.front() : 1,
                 walkable ? deck.shown[1] : 2,
                 walkable ? deck.shown.back() : deck.slides,
                 deck.lastShownBuilds,
                 0,
                 0,
                 0,
                 0};
    if (!deck.customShow.fullName.empty() && !deck.customShow.slides.empty()) {
        at.customFirst = deck.customShow.slides.front();
        at.customLast = deck.customShow.slides.back();
    }
    if (!deck.tour.fullName.empty() && deck.tour.slides.size() >= 2) {
        at.tourFirst = deck.tour.slides[0];
        at.tourSecond = deck.tour.slides[1];
    }
    return at;
}

}  // namespace

std::vector<std::string> KeyWalk::StepNames(bool closePowerPoint) {
    std::vector<std::string> names{"register", "keys"};
    for (const Stop& stop : Stops({1, 2, 3, 1, 2, 3, 2, 3}, closePowerPoint)) {
        if (std::find(names.begin(), names.end(), stop.step) == names.end()) {
            names.push_back(stop.step);
        }
    }
    names.insert(names.end(), {"windows", "end"});
    return names;
}

void KeyWalk::Walk(const std::optional<DeckUnderTest>& deck, bool closePowerPoint) {
    ShowKeys(deck);
    // Titles count positions in the deck; next and prev wrap at the first and last slide the
    // show shows (the made deck is numbered from 0 and hides its last slide), after the builds.
    const int count = deck ? deck->slides : 0;
    const Positions at = deck ? PositionsIn(*deck) : Positions{1, 2, 3, 0, 0, 0, 0, 0};
    for (const Stop& stop : Stops(at, closePowerPoint)) {
        const Key& key = FindKey(stop.key);
        if (!deck) {
            NotRun(stop.step, std::string("'") + key.name + "'", "there is no deck to walk");
            continue;
        }
        const SavedCustomShow* saved = stop.deck == WalkDeck::CustomShow ? &deck->customShow
                                       : stop.deck == WalkDeck::Tour     ? &deck->tour
                                                                         : nullptr;
        Expectation expected;
        if (stop.slide > 0) {
            expected = {std::to_string(stop.slide) + "/" + std::to_string(count), 0, ""};
        } else if (stop.slide == 0) {
            expected = {WideToUtf8(saved != nullptr ? saved->name : deck->name), 1, ""};
        } else {
            expected = {"", 1, ""};
        }
        const std::string setting =
            saved != nullptr ? ForwardSlashes(WideToUtf8(saved->fullName)) : deckSetting;
        if (std::string(stop.key) == "load") {
            expected.listed = setting;
        }
        if (stop.around == Around::Minimised) {
            report(PressMinimisedLoad(stop.step, *deck, expected));
            continue;
        }
        const std::string front =
            stop.around == Around::Keyboard ? DescribeForegroundWindow() : std::string();
        report(Press(stop.step, key, std::chrono::milliseconds(stop.holdMs), expected, setting));
        if (stop.around == Around::Keyboard) {
            Observe([front](PowerPointDeck& own) { return own.ReadShowActive(front); });
        }
    }
}

void KeyWalk::ShowKeys(const std::optional<DeckUnderTest>& deck) {
    const std::string sent = "willAppear for load, play, next, prev, first, last";
    if (!connected) {
        NotRun("keys", sent, "the plug-in is not connected");
        return;
    }
    deckSetting = deck ? ForwardSlashes(WideToUtf8(deck->fullName)) : "";
    StepResult result{"keys", sent,  "a title on the play key (the plug-in's refresh)",
                      "",     false, std::nullopt,
                      ""};
    Clock::time_point shown;
    try {
        for (const Key& key : kKeys) {
            const nlohmann::json settings = key.name == std::string("load") && deck
                                                ? nlohmann::json{{"korfilepicker", deckSetting}}
                                                : nlohmann::json::object();
            shown = host.Send(KeyEventFrame("willAppear", key.action, key.context, settings));
        }
    } catch (const std::exception& error) {
        result.problem = error.what();
        report(result);
        return;
    }
    const Clock::time_point deadline = shown + kStepBound;
    while (!result.ok) {
        const std::optional<ReceivedFrame> frame = NextFrameBefore(host, deadline);
        if (!frame) {
            break;
        }
        if (display.Apply(frame->text)) {
            result.ok = true;
            result.milliseconds = MillisecondsSince(shown, frame->arrival);
        }
    }
    result.cameBack = display.DescribePlayKey();
    if (!result.ok) {
        result.problem = "the play key got no title within 10 s of appearing";
    }
    report(result);
}

StepResult KeyWalk::Press(const char* step, const Key& key, std::chrono::milliseconds hold,
                          const Expectation& expected, const std::string& setting) {
    StepResult result{step, "", DescribeExpected(expected), "", false, std::nullopt, ""};
    result.sent = hold.count() > 0 ? "keyDown, " + std::to_string(hold.count()) +
                                         " ms, keyUp on '" + key.name + "'"
                                   : std::string("keyDown+keyUp on '") + key.name + "'";
    if (!connected) {
        return NotRunResult(step, result.sent, "the plug-in is not connected");
    }
    while (const std::optional<ReceivedFrame> frame =
               host.NextFrame(std::chrono::milliseconds(0))) {
        display.Apply(frame->text);
    }
    display.TakeAlerts();
    const nlohmann::json settings = key.name == std::string("load")
                                        ? nlohmann::json{{"korfilepicker", setting}}
                                        : nlohmann::json::object();
    Clock::time_point pressed;
    try {
        pressed = host.Send(KeyEventFrame("keyDown", key.action, key.context, settings));
        if (hold.count() > 0) {
            std::this_thread::sleep_for(hold);
        }
        host.Send(KeyEventFrame("keyUp", key.action, key.context, settings));
    } catch (const std::exception& error) {
        result.problem = "the link to the plug-in is gone (" + std::string(error.what()) + ")";
        return result;
    }
    const Clock::time_point deadline = pressed + kStepBound;
    bool titledSincePress = false;
    bool alerted = false;
    while (!(titledSincePress && Meets(expected)) && !alerted) {
        const std::optional<ReceivedFrame> frame = NextFrameBefore(host, deadline);
        if (!frame) {
            break;
        }
        if (display.Apply(frame->text)) {
            titledSincePress = true;
            if (!result.milliseconds && *display.PlayTitle() == expected.title) {
                result.milliseconds = MillisecondsSince(pressed, frame->arrival);
            }
        }
        for (const std::string& context : display.TakeAlerts()) {
            alerted = alerted || context == key.context;
        }
    }
    result.ok = titledSincePress && Meets(expected) && !alerted;
    result.cameBack = DescribeShown(expected);
    if (alerted) {
        result.problem = std::string("the '") + key.name +
                         "' key showed an alert: the plug-in could not carry out the press";
    } else if (!result.ok) {
        result.problem = Problem(key, expected);
    }
    return result;
}

StepResult KeyWalk::PressMinimisedLoad(const char* step, const DeckUnderTest& deck,
                                       const Expectation& expected) {
    const std::string sent =
        "minimise the deck's frame (ShowWindow SW_MINIMIZE), then "
        "keyDown+keyUp on 'load'";
    if (!connected) {
        return NotRunResult(step, sent, "the plug-in is not connected");
    }
    HWND frame = FindPresentationFrame(deck.fullName);
    if (frame == nullptr && !CanSeeWindowsOf(static_cast<DWORD>(plugin->Id()))) {
        StepResult result = NotRunResult(step, sent,
                                         "PowerPoint's frames are out of this program's reach "
                                         "(the Linux stand-ins keep each process's windows "
                                         "within it)");
        result.applicable = false;
        return result;
    }
    if (frame == nullptr) {
        return NotRunResult(step, sent, "no PowerPoint frame shows the deck");
    }
    observe(
        {"frame titles name the file as Explorer shows its name, with or without the "
         "extension (inferred for PowerPoint)",
         "'" + WideToUtf8(WindowTitle(frame)) + "'", true});
    ShowWindow(frame, SW_MINIMIZE);
    StepResult result =
        Press(step, FindKey("load"), std::chrono::milliseconds(0), expected, deckSetting);
    result.sent = sent;
    result.expected += "; the deck's frame no longer minimised";
    const bool restored = IsIconic(frame) == 0;
    result.cameBack += restored ? "; frame restored" : "; frame still minimised";
    if (result.ok && !restored) {
        result.ok = false;
        result.problem = "the deck's frame is still minimised after the load press";
    }
    Observe([&deck](PowerPointDeck& own) { return own.ReadWindowState(deck.fullName); });
    return result;
}

void KeyWalk::Observe(const std::function<Observation(PowerPointDeck&)>& look) {
    const std::optional<Observation> observed = powerPoint.Run<Observation>(look, kLookBound);
    observe(observed.value_or(
        Observation{"a look at PowerPoint", "PowerPoint did not answer within 10 s", false}));
}

bool KeyWalk::Meets(const Expectation& expected) const {
    if (display.PlayTitle() != expected.title || display.PlayState() != expected.state) {
        return false;
    }
    if (expected.listed.empty()) {
        return true;
    }
    const auto& list = display.LoadList();
    return list && std::find(list->begin(), list->end(), expected.listed) != list->end();
}

std::string KeyWalk::DescribeExpected(const Expectation& expected) const {
    std::string text = "play key '" + expected.title + "', state " + std::to_string(expected.state);
    if (!expected.listed.empty()) {
        text += "; load key's list holds '" + expected.listed + "'";
    }
    return text;
}

std::string KeyWalk::DescribeShown(const Expectation& expected) const {
    std::string text = display.PlayTitle() ? "play key " + display.DescribePlayKey() : "";
    if (!expected.listed.empty()) {
        text += (text.empty() ? "" : "; ") + std::string("load key's list ") +
                (display.LoadList() ? display.DescribeLoadList() : "never sent");
    }
    return text;
}

std::string KeyWalk::Problem(const Key& key, const Expectation& expected) const {
    const std::string pressed = std::string("'") + key.name + "' was pressed";
    if (display.PlayTitle() != expected.title) {
        return "the play key still shows '" + display.PlayTitle().value_or("") + "' 10 s after " +
               pressed + "; expected '" + expected.title + "'";
    }
    if (display.PlayState() != expected.state) {
        return "the play key shows '" + expected.title + "' but in state " +
               (display.PlayState() ? std::to_string(*display.PlayState()) : "none") +
               " 10 s after " + pressed + "; expected state " + std::to_string(expected.state);
    }
    if (!expected.listed.empty()) {
        return "the load key's list of open presentations does not hold '" + expected.listed +
               "' 10 s after " + pressed;
    }
    return "the play key showed '" + expected.title + "' before " + pressed +
           " and got no new title within 10 s";
}

StepResult KeyWalk::NotRunResult(const char* step, const std::string& sent,
                                 const std::string& why) {
    return {step, sent, "-", "", false, std::nullopt, "not run: " + why};
}

void KeyWalk::NotRun(const char* step, const std::string& sent, const std::string& why) {
    report(NotRunResult(step, sent, why));
}

void KeyWalk::CheckWindowsAnswer() {
    if (!plugin || !connected) {
        NotRun("windows", "WM_NULL to every window of the plug-in's process",
               "the plug-in is not connected");
        return;
    }
    report(::CheckWindowsAnswer(static_cast<DWORD>(plugin->Id()), kWindowAnswerBound,
                                kWindowAnswerSpan));
}

void KeyWalk::EndPlugin() {
    StepResult result{"end",
                      "close the link, as the application does when it quits",
                      "the plug-in ends with exit code 0",
                      "",
                      false,
                      std::nullopt,
                      ""};
    if (!plugin) {
        NotRun("end", result.sent, "the plug-in never started");
        return;
    }
    host.Close();
    const std::optional<int> code = plugin->WaitForExit(kStepBound);
    if (code) {
        result.cameBack = "exit code " + std::to_string(*code);
        result.ok = *code == 0;
        if (!result.ok) {
            result.problem = "the plug-in ended with exit code " + std::to_string(*code);
        }
    } else {
        plugin->Terminate();
        result.cameBack = "still running";
        result.problem = "the plug-in was still running 10 s after the link closed; it was ended";
    }
    report(result);
}
