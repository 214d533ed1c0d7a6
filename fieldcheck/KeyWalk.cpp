#include "fieldcheck/KeyWalk.h"

#include <algorithm>
#include <thread>

#include "actions/ActionIdentifiers.h"
#include "fieldcheck/WindowsAnswerStep.h"
#include "hostpeer/HostMessages.h"
#include "hostpeer/PluginArguments.h"
#include "hostpeer/RegistrationMessage.h"
#include "support/TextConversion.h"

namespace {

using Clock = HostClock;

constexpr const char* kUuid = "GLYPHPAD-FIELDCHECK";
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

KeyWalk::KeyWalk(std::string path, Sink sink)
    : pluginPath(std::move(path)),
      report(std::move(sink)),
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

struct Stop {
    const char* step;
    const char* key;
    int slide;  // a position; 0: the deck's name, state 1; -1: nothing (PowerPoint closed)
    int holdMs;
    bool customShowDeck = false;  // the deck saved to run its custom show
};

// Where the walk stops: the first, second and last slide the deck's own show shows, the builds on
// that last slide, and the first and last slide of the deck's custom show (0: it has none).
struct Positions {
    int first;
    int second;
    int last;
    int lastBuilds;
    int customFirst;
    int customLast;
};

// Next on the last slide plays its builds first, the title unchanged, and only then wraps.
void PlayBuilds(std::vector<Stop>& stops, const char* step, int slide, int builds, bool custom) {
    for (int build = 0; build < builds; ++build) {
        stops.push_back({step, "next", slide, 0, custom});
    }
}

std::vector<Stop> Stops(const Positions& at, bool closePowerPoint) {
    std::vector<Stop> stops = {{"load", "load", 0, 0},
                               {"play", "play", at.first, 0},
                               {"next", "next", at.second, 0},
                               {"prev", "prev", at.first, 0},
                               {"prev-wrap", "prev", at.last, 0}};
    PlayBuilds(stops, "next-build", at.last, at.lastBuilds, false);
    stops.push_back({"next-wrap", "next", at.first, 0});
    stops.push_back({"last", "last", at.last, 0});
    PlayBuilds(stops, "next-build", at.last, at.lastBuilds, false);
    stops.insert(stops.end(), {{"next-wrap-last", "next", at.first, 0},
                               {"first", "first", at.first, 0},
                               {"play-end", "play", 0, 0}});
    if (at.customFirst > 0) {
        // A custom show wraps within its own slides; the play key still counts the deck's.
        stops.insert(stops.end(), {{"custom-load", "load", 0, 0, true},
                                   {"custom-play", "play", at.customFirst, 0, true},
                                   {"custom-last", "last", at.customLast, 0, true}});
        PlayBuilds(stops, "custom-build", at.customLast,
                   at.customLast == at.last ? at.lastBuilds : 0, true);
        stops.insert(stops.end(), {{"custom-next-wrap", "next", at.customFirst, 0, true},
                                   {"custom-prev-wrap", "prev", at.customLast, 0, true},
                                   {"custom-end", "play", 0, 0, true}});
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
                 0};
    if (!deck.customShowDeck.empty() && !deck.customShowSlides.empty()) {
        at.customFirst = deck.customShowSlides.front();
        at.customLast = deck.customShowSlides.back();
    }
    return at;
}

}  // namespace

std::vector<std::string> KeyWalk::StepNames(bool closePowerPoint) {
    std::vector<std::string> names{"register", "keys"};
    for (const Stop& stop : Stops({1, 2, 3, 1, 2, 3}, closePowerPoint)) {
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
    const Positions at = deck ? PositionsIn(*deck) : Positions{1, 2, 3, 0, 0, 0};
    const std::string customShowSetting =
        deck ? ForwardSlashes(WideToUtf8(deck->customShowDeck)) : "";
    for (const Stop& stop : Stops(at, closePowerPoint)) {
        const Key& key = FindKey(stop.key);
        if (!deck) {
            NotRun(stop.step, std::string("'") + key.name + "'", "there is no deck to walk");
            continue;
        }
        Expectation expected;
        if (stop.slide > 0) {
            expected = {std::to_string(stop.slide) + "/" + std::to_string(count), 0, ""};
        } else if (stop.slide == 0) {
            expected = {WideToUtf8(stop.customShowDeck ? deck->customShowDeckName : deck->name), 1,
                        ""};
        } else {
            expected = {"", 1, ""};
        }
        const std::string& setting = stop.customShowDeck ? customShowSetting : deckSetting;
        if (std::string(stop.key) == "load") {
            expected.listed = setting;
        }
        Press(stop.step, key, std::chrono::milliseconds(stop.holdMs), expected, setting);
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

void KeyWalk::Press(const char* step, const Key& key, std::chrono::milliseconds hold,
                    const Expectation& expected, const std::string& setting) {
    StepResult result{step, "", DescribeExpected(expected), "", false, std::nullopt, ""};
    result.sent = hold.count() > 0 ? "keyDown, " + std::to_string(hold.count()) +
                                         " ms, keyUp on '" + key.name + "'"
                                   : std::string("keyDown+keyUp on '") + key.name + "'";
    if (!connected) {
        NotRun(step, result.sent, "the plug-in is not connected");
        return;
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
        report(result);
        return;
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
    report(result);
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

void KeyWalk::NotRun(const char* step, const std::string& sent, const std::string& why) {
    report({step, sent, "-", "", false, std::nullopt, "not run: " + why});
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
