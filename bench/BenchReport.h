// The results of one bench run, printed as a table and written as JSON for comparing runs.
#pragma once

#include <string>
#include <vector>

#include "bench/Measurements.h"

struct BenchResults {
    std::string startedUtc;
    unsigned cores = 0;
    LatencyResult latency;
    LatencyResult failingLatency;  // presses PowerPoint fails: answered by an alert
    std::vector<FanOutResult> fanOut;
    ThroughputResult throughput;
    std::vector<AppearResult> appearing;
    StartUpResult startUp;
    int startUpCount = 0;
    MemoryResult memory;
    IdleResult idle;
    IdleResult idleOneKey;  // how often the idle plug-in wakes with one play key
};

std::string FormatTable(const BenchResults& results);
// Writes the results as one JSON document; false when the file cannot be written.
bool WriteResultsJson(const BenchResults& results, const std::string& path);
