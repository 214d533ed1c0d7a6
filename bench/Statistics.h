// Summaries of timing samples.
#pragma once

#include <chrono>
#include <vector>

struct Summary {
    std::size_t count = 0;
    double p50Ms = 0;
    double p99Ms = 0;
    double maxMs = 0;
    double meanMs = 0;
};

// Nearest-rank percentiles over the samples, in milliseconds; all zero for no samples.
Summary Summarize(std::vector<std::chrono::nanoseconds> samples);

double ToMilliseconds(std::chrono::nanoseconds duration);
