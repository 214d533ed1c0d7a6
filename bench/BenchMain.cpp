// The bench: starts the real plug-in executable against a WebSocket host on the loopback, with
// the simulated PowerPoint showing a slide show, and measures key-press latency (also of presses
// PowerPoint fails, which write the diagnostics file), refresh
// fan-out, event throughput, start-up, memory and idle cost in one run.
//
//   glyphpad-bench [--plugin PATH] [--scenario PATH] [--output PATH] [--quick]
//                  [--presses N] [--memory-presses N] [--starts N] [--idle-seconds N]
#include <chrono>
#include <cstdio>
#include <ctime>
#include <exception>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "actions/ActionIdentifiers.h"
#include "bench/BenchReport.h"
#include "bench/Measurements.h"

namespace {

// The period over which the idle plug-in's context switches are counted: five refreshes.
constexpr std::chrono::seconds kWakeUpPeriod{10};

struct Options {
    BenchConfig config{GP_BENCH_PLUGIN_EXE, GP_BENCH_SCENARIO};
    BenchConfig floorConfig{GP_BENCH_BARE_CLIENT_EXE, GP_BENCH_SCENARIO};
    BenchConfig failingConfig{GP_BENCH_PLUGIN_EXE, GP_BENCH_FAILING_SCENARIO};
    std::string output = GP_BENCH_OUTPUT;
    std::size_t presses = 5000;
    std::size_t memoryPresses = 100000;
    int starts = 50;
    int idleSeconds = 60;
    int fanOutRepetitions = 50;
    int churnKeys = 10000;
    std::vector<int> appearingKeys{1, 10, 100, 1000, 10000};
};

bool ParseOptions(int argc, char* argv[], Options& options) {
    for (int index = 1; index < argc; ++index) {
        const std::string flag = argv[index];
        const bool hasValue = index + 1 < argc;
        if (flag == "--quick") {
            options.presses = 500;
            options.memoryPresses = 5000;
            options.starts = 5;
            options.idleSeconds = 10;
            options.fanOutRepetitions = 5;
            options.churnKeys = 1000;
            options.appearingKeys = {1, 10, 100, 1000};
        } else if (flag == "--plugin" && hasValue) {
            options.config.executable = argv[++index];
            options.failingConfig.executable = options.config.executable;
        } else if (flag == "--scenario" && hasValue) {
            options.config.scenario = argv[++index];
        } else if (flag == "--output" && hasValue) {
            options.output = argv[++index];
        } else if (flag == "--presses" && hasValue) {
            options.presses = std::stoul(argv[++index]);
        } else if (flag == "--memory-presses" && hasValue) {
            options.memoryPresses = std::stoul(argv[++index]);
        } else if (flag == "--starts" && hasValue) {
            options.starts = std::stoi(argv[++index]);
        } else if (flag == "--idle-seconds" && hasValue) {
            options.idleSeconds = std::stoi(argv[++index]);
        } else {
            return false;
        }
    }
    return true;
}

std::string UtcNow() {
    const std::time_t now = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&now));
    return text;
}

void Progress(const char* step) {
    std::fprintf(stderr, "[bench] %s\n", step);
}

// Latency, memory and fan-out share one plug-in process, in that order, so that the memory
// growth is measured over presses and not over added keys.
void MeasureInOneSession(LoopbackHost& host, const Options& options, BenchResults& results) {
    PluginSession session(host, options.config);
    results.memory.afterRegistrationKiB = session.Process().ResidentKiB();
    session.ShowKeys(ActionIdentifiers::Play, "play-", 0, 1);
    session.LearnSlidePosition();

    Progress("key press latency");
    results.latency = MeasureKeyPressLatency(session, options.presses);
    results.memory.afterWarmUpKiB = session.Process().ResidentKiB();

    Progress("memory over repeated presses");
    const BenchClock::time_point started = BenchClock::now();
    results.memory.presses =
        PressRepeatedly(session, options.memoryPresses, std::chrono::seconds(900));
    results.memory.seconds = std::chrono::duration<double>(BenchClock::now() - started).count();
    results.memory.afterPressesKiB = session.Process().ResidentKiB();

    Progress("fan-out");
    results.fanOut = MeasureFanOut(host, session, {1, 10, 100, 1000}, options.fanOutRepetitions);
    if (session.Finish() != 0) {
        throw std::runtime_error("the plug-in did not exit with code 0");
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: %s [--plugin PATH] [--scenario PATH] [--output PATH] [--quick]\n"
                     "       [--presses N] [--memory-presses N] [--starts N] [--idle-seconds N]\n",
                     argv[0]);
        return 2;
    }
    BenchResults results;
    results.startedUtc = UtcNow();
    results.cores = std::thread::hardware_concurrency();
    try {
        LoopbackHost host;
        MeasureInOneSession(host, options, results);

        Progress("failing key press latency");
        {
            PluginSession session(host, options.failingConfig);
            session.ShowKeys(ActionIdentifiers::Play, "play-", 0, 1);
            results.failingLatency = MeasureFailingPressLatency(session, options.presses / 5);
            if (session.Finish() != 0) {
                throw std::runtime_error("the plug-in did not exit with code 0");
            }
        }

        Progress("keys appearing at once, event throughput");
        {
            PluginSession session(host, options.config);
            session.ShowKeys(ActionIdentifiers::Play, "play-", 0, 1);
            session.LearnSlidePosition();
            results.appearing = MeasureKeysAppearingAtOnce(host, session, options.appearingKeys);
            results.throughput = MeasureEventThroughput(host, session, options.churnKeys);
            if (session.Finish() != 0) {
                throw std::runtime_error("the plug-in did not exit with code 0");
            }
        }

        Progress("start-up");
        results.startUpCount = options.starts;
        results.startUp = MeasureStartUp(host, options.config, options.floorConfig, options.starts);

        Progress("idle cost and memory with 10 keys");
        results.idle =
            MeasureIdle(host, options.config, 10, std::chrono::seconds(options.idleSeconds));
        Progress("idle wake-ups with one key");
        results.idleOneKey = MeasureIdle(host, options.config, 1, kWakeUpPeriod);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench failed: %s\n", error.what());
        return 1;
    }
    std::fputs(FormatTable(results).c_str(), stdout);
    if (!WriteResultsJson(results, options.output)) {
        std::fprintf(stderr, "cannot write %s\n", options.output.c_str());
        return 1;
    }
    std::printf("\nresults written to %s\n", options.output.c_str());
    return 0;
}
