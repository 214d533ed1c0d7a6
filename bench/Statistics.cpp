#include "bench/Statistics.h"

#include <algorithm>
#include <cmath>

namespace {

double NearestRank(const std::vector<std::chrono::nanoseconds>& sorted, double percentile) {
    const auto rank = static_cast<std::size_t>(
        std::ceil(percentile / 100.0 * static_cast<double>(sorted.size())));
    return ToMilliseconds(sorted[std::max<std::size_t>(rank, 1) - 1]);
}

}  // namespace

double ToMilliseconds(std::chrono::nanoseconds duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

Summary Summarize(std::vector<std::chrono::nanoseconds> samples) {
    Summary summary;
    if (samples.empty()) {
        return summary;
    }
    std::sort(samples.begin(), samples.end());
    summary.count = samples.size();
    summary.p50Ms = NearestRank(samples, 50);
    summary.p99Ms = NearestRank(samples, 99);
    summary.maxMs = ToMilliseconds(samples.back());
    std::chrono::nanoseconds total{0};
    for (const auto sample : samples) {
        total += sample;
    }
    summary.meanMs = ToMilliseconds(total) / static_cast<double>(samples.size());
    return summary;
}
