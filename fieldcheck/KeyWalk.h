// The field check's walk: plays the Glyphpad application towards the plug-in (a WebSocket
// server on the loopback interface, the plug-in started with the application's four flag
// pairs), places one key of each action and presses them in turn, checking what the play key
// and the load key's settings page show after each press. Around a few presses it asks
// PowerPoint, through the field check's own connection, what it reports where its behaviour is
// only inferred. Every wait is bounded.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fieldcheck/DeckUnderTest.h"
#include "fieldcheck/KeyDisplay.h"
#include "fieldcheck/Observation.h"
#include "fieldcheck/PowerPointThread.h"
#include "fieldcheck/StepResult.h"
#include "hostpeer/LoopbackHost.h"
#include "platform/ChildProcess.h"

inline constexpr std::chrono::milliseconds kStepBound{10000};

class KeyWalk {
public:
    using Sink = std::function<void(const StepResult&)>;
    using ObservationSink = std::function<void(const Observation&)>;
    // A key the tester would have placed.
    struct Key {
        const char* name;
        std::string_view action;
        const char* context;
    };

    KeyWalk(std::string pluginPath, Sink report, ObservationSink observe,
            PowerPointThread& powerPoint);
    KeyWalk(const KeyWalk&) = delete;
    KeyWalk& operator=(const KeyWalk&) = delete;
    ~KeyWalk();

    // The names of the steps the walk reports, in order.
    static std::vector<std::string> StepNames(bool closePowerPoint);

    // Starts the plug-in and checks its registration.
    void StartPlugin();
    // The key presses; without a deck only the keys are placed. With closePowerPoint it ends
    // with a long press of play.
    void Walk(const std::optional<DeckUnderTest>& deck, bool closePowerPoint);
    // While the plug-in idles, checks that its threads answer a message sent to its windows.
    void CheckWindowsAnswer();
    // Closes the link as the application does when it quits, and checks that the plug-in ends;
    // it is ended by force when it does not.
    void EndPlugin();

private:
    struct Expectation {
        std::string title;
        int state;
        std::string listed;  // a path the load key's list must hold; empty: not checked
    };

    void ShowKeys(const std::optional<DeckUnderTest>& deck);
    // setting: the file the load key is set to (a load press carries it).
    StepResult Press(const char* step, const Key& key, std::chrono::milliseconds hold,
                     const Expectation& expected, const std::string& setting);
    // The deck's frame minimised through user32 before the load press, which must bring it back.
    StepResult PressMinimisedLoad(const char* step, const DeckUnderTest& deck,
                                  const Expectation& expected);
    // What PowerPoint reports through the field check's own connection.
    void Observe(const std::function<Observation(PowerPointDeck&)>& look);
    bool Meets(const Expectation& expected) const;
    std::string DescribeExpected(const Expectation& expected) const;
    std::string DescribeShown(const Expectation& expected) const;
    std::string Problem(const Key& key, const Expectation& expected) const;
    static StepResult NotRunResult(const char* step, const std::string& sent,
                                   const std::string& why);
    void NotRun(const char* step, const std::string& sent, const std::string& why);

    std::string pluginPath;
    Sink report;
    ObservationSink observe;
    PowerPointThread& powerPoint;
    LoopbackHost host;
    std::unique_ptr<ChildProcess> plugin;
    bool connected = false;
    KeyDisplay display;
    std::string deckSetting;  // the load key's "korfilepicker"
};
