// One run of the plug-in against the loopback host: started with the simulated PowerPoint,
// registered, and driven key by key. Every wait is bounded; a plug-in that stops answering
// raises std::runtime_error.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "bench/PluginProcess.h"
#include "hostpeer/HostMessages.h"
#include "hostpeer/LoopbackHost.h"

struct BenchConfig {
    std::string executable;
    std::string scenario;  // a scenario in which a slide show runs
};

inline constexpr std::chrono::milliseconds kFrameBound{10000};

// The bench times with the clock that stamps the frames on arrival.
using BenchClock = HostClock;

class PluginSession {
public:
    // Starts the plug-in and waits for its registration frame.
    PluginSession(LoopbackHost& host, const BenchConfig& config);
    PluginSession(const PluginSession&) = delete;
    PluginSession& operator=(const PluginSession&) = delete;
    ~PluginSession();

    PluginProcess& Process() { return *process; }
    std::chrono::nanoseconds TimeToRegistration() const { return timeToRegistration; }

    // willAppear for contexts <prefix><first> .. <prefix><first + count - 1>.
    void ShowKeys(std::string_view action, const std::string& prefix, int first, int count);

    // Reads the slide position from the title that the next refresh sends a visible play key.
    void LearnSlidePosition();
    // The title that the next press of next must bring.
    std::string NextTitle() const;
    // Sends keyDown of the next key; returns when it was sent. Call Advance once the press
    // has been observed.
    BenchClock::time_point PressNext();
    void ReleaseNext();
    void Advance() { slide = slide % slideCount + 1; }

    // Presses next and returns the time until a setTitle with the new position arrives.
    std::chrono::nanoseconds TimedNextPress();
    // Presses next where PowerPoint fails it and returns the time until the key's alert arrives.
    std::chrono::nanoseconds TimedFailingNextPress();

    // Ends the link as the host would and returns the plug-in's exit code (-1: still running).
    int Finish();

private:
    LoopbackHost& host;
    std::unique_ptr<PluginProcess> process;
    std::chrono::nanoseconds timeToRegistration{0};
    int slide = 0;
    int slideCount = 0;
    bool finished = false;
};

// True for a setTitle frame carrying `title`.
bool IsSetTitle(const std::string& frame, const std::string& title);
