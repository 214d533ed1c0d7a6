#include "bench/Measurements.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>

#include "actions/ActionIdentifiers.h"
#include "bench/EchoFloor.h"
#include "hostpeer/HostMessages.h"

namespace {

bool IsRefreshCommand(const std::optional<HostCommand>& command) {
    return command && (command->event == "setTitle" || command->event == "setState");
}

struct TitledRefresh {
    BenchClock::time_point firstArrival;
    int titled = 0;  // distinct play keys titled
};

// Presses next and counts the play keys that the refresh it triggers titles. Events are handled
// in order, so the refresh starts only after every event sent before the press.
TitledRefresh PressAndCountTitles(LoopbackHost& host, PluginSession& session) {
    const std::string expected = session.NextTitle();
    session.PressNext();
    const auto first = host.NextFrameMatching(
        [&expected](const std::string& text) { return IsSetTitle(text, expected); },
        std::chrono::duration_cast<std::chrono::milliseconds>(kFrameBound * 6));
    if (!first) {
        throw std::runtime_error("no refresh after a press");
    }
    // A refresh titles every visible play key once, so the burst ends where a context repeats
    // (the next periodic refresh) or the frames stop.
    std::set<std::string> titled{ParseHostCommand(first->text)->context};
    for (;;) {
        const auto next = host.NextFrame(std::chrono::milliseconds(1000));
        if (!next) {
            break;
        }
        const auto command = ParseHostCommand(next->text);
        if (!IsRefreshCommand(command)) {
            break;
        }
        if (command->event == "setTitle" && !titled.insert(command->context).second) {
            break;
        }
    }
    session.ReleaseNext();
    session.Advance();
    return {first->arrival, static_cast<int>(titled.size())};
}

}  // namespace

namespace {

// `presses` timed presses, each followed by one round trip of an echo that exchanges frames of
// the sizes the press exchanged: keyDown one way, `reply` the other.
template <typename TimedPress>
LatencyResult MeasureAgainstEchoFloor(const std::string& reply, std::size_t presses,
                                      const TimedPress& timedPress) {
    LatencyResult result;
    result.requestBytes = KeyEventFrame("keyDown", ActionIdentifiers::Next, "next-key").size();
    result.replyBytes = reply.size();
    EchoFloor floor(result.requestBytes, result.replyBytes);
    std::vector<std::chrono::nanoseconds> pressSamples;
    std::vector<std::chrono::nanoseconds> floorSamples;
    pressSamples.reserve(presses);
    floorSamples.reserve(presses);
    // In turn, so that a busy moment of the machine weighs on both alike.
    for (std::size_t press = 0; press < presses; ++press) {
        pressSamples.push_back(timedPress());
        floorSamples.push_back(floor.RoundTrip());
    }
    result.press = Summarize(std::move(pressSamples));
    result.floor = Summarize(std::move(floorSamples));
    return result;
}

}  // namespace

LatencyResult MeasureKeyPressLatency(PluginSession& session, std::size_t presses) {
    return MeasureAgainstEchoFloor(
        R"({"context":"play-0","event":"setTitle","payload":{"target":0,"title":"40/40"}})",
        presses, [&session] { return session.TimedNextPress(); });
}

LatencyResult MeasureFailingPressLatency(PluginSession& session, std::size_t presses) {
    return MeasureAgainstEchoFloor(R"({"context":"next-key","event":"showAlert"})", presses,
                                   [&session] { return session.TimedFailingNextPress(); });
}

std::size_t PressRepeatedly(PluginSession& session, std::size_t presses,
                            std::chrono::seconds budget) {
    const BenchClock::time_point deadline = BenchClock::now() + budget;
    std::size_t done = 0;
    while (done < presses && BenchClock::now() < deadline) {
        session.TimedNextPress();
        ++done;
    }
    return done;
}

std::vector<FanOutResult> MeasureFanOut(LoopbackHost& host, PluginSession& session,
                                        const std::vector<int>& keyCounts, int repetitions) {
    std::vector<FanOutResult> results;
    int shown = 1;
    for (const int keys : keyCounts) {
        session.ShowKeys(ActionIdentifiers::Play, "play-", shown, keys - shown);
        shown = keys;
        std::vector<std::chrono::nanoseconds> refresh;
        std::vector<std::chrono::nanoseconds> pressToLast;
        for (int repetition = 0; repetition < repetitions; ++repetition) {
            const std::string expected = session.NextTitle();
            const BenchClock::time_point sent = session.PressNext();
            // Refreshes never overlap, so the burst is the first frame with the new title and
            // the frames right after it: a setTitle and a setState per play key.
            const auto first = host.NextFrameMatching(
                [&expected](const std::string& text) { return IsSetTitle(text, expected); },
                kFrameBound);
            if (!first) {
                throw std::runtime_error("fan-out: no refresh after a press");
            }
            BenchClock::time_point last = first->arrival;
            for (int frame = 1; frame < 2 * keys; ++frame) {
                const auto next = host.NextFrame(kFrameBound);
                if (!next || !IsRefreshCommand(ParseHostCommand(next->text))) {
                    throw std::runtime_error("fan-out: refresh burst of " + std::to_string(keys) +
                                             " keys ended after " + std::to_string(frame) +
                                             " frames");
                }
                last = next->arrival;
            }
            session.ReleaseNext();
            session.Advance();
            refresh.push_back(last - first->arrival);
            pressToLast.push_back(last - sent);
        }
        FanOutResult result;
        result.keys = keys;
        result.refresh = Summarize(refresh);
        result.pressToLast = Summarize(pressToLast);
        result.messagesPerSecond =
            result.refresh.p50Ms > 0 ? (2.0 * keys - 1) / (result.refresh.p50Ms / 1000.0) : 0;
        results.push_back(result);
    }
    return results;
}

ThroughputResult MeasureEventThroughput(LoopbackHost& host, PluginSession& session, int keys) {
    ThroughputResult result;
    const BenchClock::time_point started = BenchClock::now();
    for (int key = 0; key < keys; ++key) {
        const std::string context = "churn-" + std::to_string(key);
        host.Send(KeyEventFrame("willAppear", ActionIdentifiers::Play, context));
        ++result.events;
        if (key % 2 == 0) {
            host.Send(KeyEventFrame("willDisappear", ActionIdentifiers::Play, context));
            ++result.events;
        }
    }
    const TitledRefresh refresh = PressAndCountTitles(host, session);
    result.seconds = std::chrono::duration<double>(refresh.firstArrival - started).count();
    result.eventsPerSecond = static_cast<double>(result.events) / result.seconds;
    result.expectedPlayKeys = 1 + keys / 2;  // play-0 and the odd-numbered churn keys
    result.titledPlayKeys = refresh.titled;
    return result;
}

std::vector<AppearResult> MeasureKeysAppearingAtOnce(LoopbackHost& host, PluginSession& session,
                                                     const std::vector<int>& keyCounts) {
    std::vector<AppearResult> results;
    for (const int keys : keyCounts) {
        const std::string prefix = "appear-" + std::to_string(keys) + "-";
        for (int key = 0; key < keys; ++key) {
            host.Send(
                KeyEventFrame("willAppear", ActionIdentifiers::Play, prefix + std::to_string(key)));
        }
        AppearResult result;
        result.keys = keys;
        result.expectedPlayKeys = 1 + keys;
        result.titledPlayKeys = PressAndCountTitles(host, session).titled;
        results.push_back(result);
        for (int key = 0; key < keys; ++key) {
            host.Send(KeyEventFrame("willDisappear", ActionIdentifiers::Play,
                                    prefix + std::to_string(key)));
        }
    }
    return results;
}

StartUpResult MeasureStartUp(LoopbackHost& host, const BenchConfig& config,
                             const BenchConfig& floor, int starts) {
    std::vector<std::chrono::nanoseconds> pluginSamples;
    std::vector<std::chrono::nanoseconds> floorSamples;
    const auto timeOneStart = [&host](const BenchConfig& which) {
        PluginSession session(host, which);
        const std::chrono::nanoseconds sample = session.TimeToRegistration();
        if (session.Finish() != 0) {
            throw std::runtime_error("start-up: " + which.executable + " did not exit with code 0");
        }
        return sample;
    };
    for (int start = 0; start < starts; ++start) {
        pluginSamples.push_back(timeOneStart(config));
        floorSamples.push_back(timeOneStart(floor));
    }
    return {Summarize(std::move(pluginSamples)), Summarize(std::move(floorSamples))};
}

IdleResult MeasureIdle(LoopbackHost& host, const BenchConfig& config, int keys,
                       std::chrono::seconds duration) {
    PluginSession session(host, config);
    session.ShowKeys(ActionIdentifiers::Play, "play-", 0, keys);
    session.LearnSlidePosition();

    IdleResult result;
    result.keys = keys;
    const double cpuBefore = session.Process().CpuSeconds();
    const long switchesBefore = session.Process().ContextSwitches();
    const BenchClock::time_point started = BenchClock::now();
    const BenchClock::time_point end = started + duration;
    while (BenchClock::now() < end) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - BenchClock::now());
        if (host.NextFrame(std::max(left, std::chrono::milliseconds(0)))) {
            ++result.frames;
        }
    }
    result.cpuSeconds = session.Process().CpuSeconds() - cpuBefore;
    result.contextSwitches = session.Process().ContextSwitches() - switchesBefore;
    result.seconds = std::chrono::duration<double>(BenchClock::now() - started).count();
    result.residentKiB = session.Process().ResidentKiB();
    if (session.Finish() != 0) {
        throw std::runtime_error("idle: the plug-in did not exit with code 0");
    }
    return result;
}
