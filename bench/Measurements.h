// The measurements of one bench run. Each is bounded in count and time and fails with
// std::runtime_error when the plug-in stops answering.
#pragma once

#include <chrono>
#include <cstddef>
#include <vector>

#include "bench/PluginSession.h"
#include "bench/Statistics.h"
#include "hostpeer/LoopbackHost.h"

struct LatencyResult {
    Summary press;  // keyDown of next until the play key's new title (or the key's alert)
    Summary floor;  // the same frame sizes through a bare echo, sampled in turn with the presses
    std::size_t requestBytes = 0;
    std::size_t replyBytes = 0;
};

struct FanOutResult {
    int keys = 0;
    Summary refresh;               // first to last frame of the refresh burst a press triggers
    Summary pressToLast;           // keyDown until the last frame of that burst
    double messagesPerSecond = 0;  // frames of the burst over its duration
};

struct ThroughputResult {
    std::size_t events = 0;
    double seconds = 0;
    double eventsPerSecond = 0;
    int expectedPlayKeys = 0;
    int titledPlayKeys = 0;  // setTitle frames of the refresh that followed the events
};

struct AppearResult {
    int keys = 0;              // play keys that appeared at once
    int expectedPlayKeys = 0;  // those and the play key shown before
    int titledPlayKeys = 0;    // setTitle frames of the refresh that followed
};

struct MemoryResult {
    long afterRegistrationKiB = 0;
    long afterWarmUpKiB = 0;
    long afterPressesKiB = 0;
    std::size_t presses = 0;
    double seconds = 0;
};

struct StartUpResult {
    Summary plugin;  // the plug-in's start until its registration frame
    Summary floor;   // the same for a bare client started in the same way, in turn
};

struct IdleResult {
    int keys = 0;
    long residentKiB = 0;  // at the end of the period
    double seconds = 0;
    double cpuSeconds = 0;
    long contextSwitches = 0;  // of all its threads over the period
    std::size_t frames = 0;
};

// Latency over `presses` presses of next, each followed by one round trip of the echo floor; a
// visible play key must exist in the session.
LatencyResult MeasureKeyPressLatency(PluginSession& session, std::size_t presses);

// The same for presses that PowerPoint fails (the session's scenario fails Next), each answered
// with the key's alert and a line in the diagnostics file.
LatencyResult MeasureFailingPressLatency(PluginSession& session, std::size_t presses);

// Presses of next until `presses` are done or `budget` has passed; returns the count done.
std::size_t PressRepeatedly(PluginSession& session, std::size_t presses,
                            std::chrono::seconds budget);

// One refresh burst per repetition at each key count; play keys are added as needed, the
// session must already show the play key "play-0".
std::vector<FanOutResult> MeasureFanOut(LoopbackHost& host, PluginSession& session,
                                        const std::vector<int>& keyCounts, int repetitions);

// `keys` willAppear events interleaved with willDisappear for every other key, then a press
// whose refresh shows how many play keys the plug-in holds.
ThroughputResult MeasureEventThroughput(LoopbackHost& host, PluginSession& session, int keys);

// For each count, that many play keys appear at once, then a press whose refresh must title
// every visible play key; the keys disappear again before the next count.
std::vector<AppearResult> MeasureKeysAppearingAtOnce(LoopbackHost& host, PluginSession& session,
                                                     const std::vector<int>& keyCounts);

// Process start until the registration frame, over `starts` starts of the plug-in and as many
// of the bare client (`floor`), taken in turn.
StartUpResult MeasureStartUp(LoopbackHost& host, const BenchConfig& config,
                             const BenchConfig& floor, int starts);

// CPU time used over `duration` of idle refreshing with `keys` visible play keys, and the
// resident memory at its end.
IdleResult MeasureIdle(LoopbackHost& host, const BenchConfig& config, int keys,
                       std::chrono::seconds duration);
