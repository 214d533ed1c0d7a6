#include "bench/BenchReport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

std::string Format(const char* format, double a, double b = 0, double c = 0, double d = 0,
                   double e = 0) {
    char line[256];
    std::snprintf(line, sizeof line, format, a, b, c, d, e);
    return line;
}

nlohmann::json ToJson(const Summary& summary) {
    return {{"count", summary.count},
            {"p50_ms", summary.p50Ms},
            {"p99_ms", summary.p99Ms},
            {"max_ms", summary.maxMs},
            {"mean_ms", summary.meanMs}};
}

// One performance goal: the figure measured and the most it may be.
struct Goal {
    std::string name;
    double value;
    double limit;
};

const FanOutResult* FanOutAt(const BenchResults& r, int keys) {
    for (const FanOutResult& f : r.fanOut) {
        if (f.keys == keys) {
            return &f;
        }
    }
    return nullptr;
}

double Ratio(double value, double floor) {
    return floor > 0 ? value / floor : 0;
}

std::vector<Goal> Goals(const BenchResults& r) {
    std::vector<Goal> goals;
    for (const auto& [keys, limitMs] : {std::pair{10, 1.0}, {100, 3.0}, {1000, 15.0}}) {
        if (const FanOutResult* f = FanOutAt(r, keys)) {
            goals.push_back({"fan-out " + std::to_string(keys) + " keys, press->last p50 ms",
                             f->pressToLast.p50Ms, limitMs});
        }
    }
    for (const AppearResult& a : r.appearing) {
        goals.push_back(
            {"first titles missed, " + std::to_string(a.keys) + " keys appearing at once",
             static_cast<double>(a.expectedPlayKeys - a.titledPlayKeys), 0});
    }
    if (r.throughput.expectedPlayKeys > 0) {
        goals.push_back(
            {"first titles missed after the event throughput",
             static_cast<double>(r.throughput.expectedPlayKeys - r.throughput.titledPlayKeys), 0});
    }
    goals.push_back(
        {"press p50 / echo floor p50", Ratio(r.latency.press.p50Ms, r.latency.floor.p50Ms), 3.0});
    goals.push_back(
        {"press p99 / echo floor p99", Ratio(r.latency.press.p99Ms, r.latency.floor.p99Ms), 4.0});
    goals.push_back({"failing press p50 / echo floor p50",
                     Ratio(r.failingLatency.press.p50Ms, r.failingLatency.floor.p50Ms), 3.0});
    goals.push_back({"failing press p99 / echo floor p99",
                     Ratio(r.failingLatency.press.p99Ms, r.failingLatency.floor.p99Ms), 4.0});
    goals.push_back({"idle RSS with 10 keys, KiB", static_cast<double>(r.idle.residentKiB), 5120});
    goals.push_back({"RSS growth over " + std::to_string(r.memory.presses) + " presses, KiB",
                     static_cast<double>(r.memory.afterPressesKiB - r.memory.afterWarmUpKiB), 64});
    goals.push_back({"idle CPU, % of one core",
                     r.idle.seconds > 0 ? 100.0 * r.idle.cpuSeconds / r.idle.seconds : 0, 0.03});
    goals.push_back({"idle context switches with one key over " +
                         std::to_string(static_cast<int>(r.idleOneKey.seconds + 0.5)) + " s",
                     static_cast<double>(r.idleOneKey.contextSwitches), 80});
    goals.push_back({"start-up p50 / bare client p50",
                     Ratio(r.startUp.plugin.p50Ms, r.startUp.floor.p50Ms), 1.3});
    return goals;
}

std::string FormatLatency(const std::string& heading, const LatencyResult& l) {
    std::string text = "\n" + heading + "\n";
    text += Format("  plug-in      n=%-7.0f p50 %8.3f ms  p99 %8.3f ms  max %8.3f ms\n",
                   static_cast<double>(l.press.count), l.press.p50Ms, l.press.p99Ms, l.press.maxMs);
    text += Format("  echo floor   n=%-7.0f p50 %8.3f ms  p99 %8.3f ms  max %8.3f ms\n",
                   static_cast<double>(l.floor.count), l.floor.p50Ms, l.floor.p99Ms, l.floor.maxMs);
    text += Format("  ratio        p50 %.1fx  p99 %.1fx   (frames %.0f B out, %.0f B back)\n",
                   Ratio(l.press.p50Ms, l.floor.p50Ms), Ratio(l.press.p99Ms, l.floor.p99Ms),
                   static_cast<double>(l.requestBytes), static_cast<double>(l.replyBytes));
    return text;
}

nlohmann::json LatencyJson(const LatencyResult& l) {
    return {{"plugin", ToJson(l.press)},
            {"echo_floor", ToJson(l.floor)},
            {"request_bytes", l.requestBytes},
            {"reply_bytes", l.replyBytes}};
}

}  // namespace

std::string FormatTable(const BenchResults& r) {
    std::string table;
    table += "Glyphpad PowerPoint plug-in bench, " + r.startedUtc + ", " + std::to_string(r.cores) +
             " cores\n\n";
    table += "Fan-out (one refresh triggered by a press; p50 of the repetitions)\n";
    for (const FanOutResult& f : r.fanOut) {
        table += Format(
            "  %5.0f keys   press->last frame %9.3f ms   burst %9.3f ms   %9.0f msg/s   n=%.0f\n",
            f.keys, f.pressToLast.p50Ms, f.refresh.p50Ms, f.messagesPerSecond,
            static_cast<double>(f.pressToLast.count));
    }
    table += FormatLatency(
        "Key press latency (keyDown next -> play key setTitle; echo sampled in turn)", r.latency);
    table += FormatLatency(
        "Failing key press latency (keyDown next that PowerPoint fails -> showAlert; echo in turn)",
        r.failingLatency);
    table += "\nEvent throughput (willAppear/willDisappear, counted back through a refresh)\n";
    table +=
        Format("  %.0f events in %.3f s: %.0f events/s\n", static_cast<double>(r.throughput.events),
               r.throughput.seconds, r.throughput.eventsPerSecond);
    table += Format("  play keys titled %.0f/%.0f expected (%.0f missed)\n",
                    r.throughput.titledPlayKeys, r.throughput.expectedPlayKeys,
                    r.throughput.expectedPlayKeys - r.throughput.titledPlayKeys);
    table += "\nKeys appearing at once (play keys titled by the next refresh / expected)\n";
    for (const AppearResult& a : r.appearing) {
        table += Format("  %5.0f keys   titled %.0f/%.0f (%.0f missed)\n", a.keys, a.titledPlayKeys,
                        a.expectedPlayKeys, a.expectedPlayKeys - a.titledPlayKeys);
    }
    table += "\nStart-up (process start -> registration frame; bare client started in turn)\n";
    table +=
        Format("  plug-in      n=%-4.0f p50 %8.3f ms  p99 %8.3f ms  max %8.3f ms\n", r.startUpCount,
               r.startUp.plugin.p50Ms, r.startUp.plugin.p99Ms, r.startUp.plugin.maxMs);
    table +=
        Format("  bare client  n=%-4.0f p50 %8.3f ms  p99 %8.3f ms  max %8.3f ms\n", r.startUpCount,
               r.startUp.floor.p50Ms, r.startUp.floor.p99Ms, r.startUp.floor.maxMs);
    table += "\nMemory (VmRSS)\n";
    table += Format("  after registration %8.0f KiB\n  after warm-up      %8.0f KiB\n",
                    r.memory.afterRegistrationKiB, r.memory.afterWarmUpKiB);
    table +=
        Format("  after %.0f presses %8.0f KiB (%.1f s)\n", static_cast<double>(r.memory.presses),
               r.memory.afterPressesKiB, r.memory.seconds);
    table += Format("  growth since registration %+.0f KiB, since warm-up %+.0f KiB\n",
                    r.memory.afterPressesKiB - r.memory.afterRegistrationKiB,
                    r.memory.afterPressesKiB - r.memory.afterWarmUpKiB);
    table += Format("  idle with %.0f keys    %8.0f KiB\n", r.idle.keys, r.idle.residentKiB);
    table += "\nIdle cost (refresh every 2 s)\n";
    table += Format("  %.0f keys, %.1f s: CPU %.3f s = %.3f %% of one core\n", r.idle.keys,
                    r.idle.seconds, r.idle.cpuSeconds,
                    r.idle.seconds > 0 ? 100.0 * r.idle.cpuSeconds / r.idle.seconds : 0);
    table += Format("  %.0f frames received\n", static_cast<double>(r.idle.frames));
    table += Format("  %.0f key, %.1f s: %.0f context switches of all threads\n",
                    static_cast<double>(r.idleOneKey.keys), r.idleOneKey.seconds,
                    static_cast<double>(r.idleOneKey.contextSwitches));
    table += "\nGoals\n";
    for (const Goal& goal : Goals(r)) {
        table += "  " + goal.name + Format(": %.3f (at most %.3f) ", goal.value, goal.limit) +
                 (goal.value <= goal.limit ? "met\n" : "MISSED\n");
    }
    return table;
}

bool WriteResultsJson(const BenchResults& r, const std::string& path) {
    nlohmann::json fanOut = nlohmann::json::array();
    for (const FanOutResult& f : r.fanOut) {
        fanOut.push_back({{"keys", f.keys},
                          {"refresh_burst", ToJson(f.refresh)},
                          {"press_to_last_frame", ToJson(f.pressToLast)},
                          {"messages_per_second", f.messagesPerSecond}});
    }
    nlohmann::json appearing = nlohmann::json::array();
    for (const AppearResult& a : r.appearing) {
        appearing.push_back({{"keys", a.keys},
                             {"expected_play_keys", a.expectedPlayKeys},
                             {"titled_play_keys", a.titledPlayKeys}});
    }
    nlohmann::json startUp = ToJson(r.startUp.plugin);
    startUp["floor_p50_ms"] = r.startUp.floor.p50Ms;
    startUp["floor"] = ToJson(r.startUp.floor);
    nlohmann::json goals = nlohmann::json::array();
    for (const Goal& goal : Goals(r)) {
        goals.push_back({{"name", goal.name},
                         {"value", goal.value},
                         {"limit", goal.limit},
                         {"met", goal.value <= goal.limit}});
    }
    const nlohmann::json document{
        {"started_utc", r.startedUtc},
        {"cores", r.cores},
        {"key_press_latency", LatencyJson(r.latency)},
        {"failing_key_press_latency", LatencyJson(r.failingLatency)},
        {"fan_out", fanOut},
        {"event_throughput",
         {{"events", r.throughput.events},
          {"seconds", r.throughput.seconds},
          {"events_per_second", r.throughput.eventsPerSecond},
          {"expected_play_keys", r.throughput.expectedPlayKeys},
          {"titled_play_keys", r.throughput.titledPlayKeys}}},
        {"keys_appearing_at_once", appearing},
        {"start_up", startUp},
        {"memory_kib",
         {{"idle_10_keys", r.idle.residentKiB},
          {"after_registration", r.memory.afterRegistrationKiB},
          {"after_warm_up", r.memory.afterWarmUpKiB},
          {"after_presses", r.memory.afterPressesKiB},
          {"presses", r.memory.presses},
          {"seconds", r.memory.seconds}}},
        {"idle",
         {{"keys", r.idle.keys},
          {"seconds", r.idle.seconds},
          {"cpu_seconds", r.idle.cpuSeconds},
          {"context_switches", r.idle.contextSwitches},
          {"frames", r.idle.frames}}},
        {"idle_one_key",
         {{"seconds", r.idleOneKey.seconds}, {"context_switches", r.idleOneKey.contextSwitches}}},
        {"goals", goals}};
    const std::filesystem::path file(path);
    std::error_code ignored;
    if (file.has_parent_path()) {
        std::filesystem::create_directories(file.parent_path(), ignored);
    }
    std::ofstream out(file);
    out << document.dump(2) << '\n';
    return static_cast<bool>(out);
}
