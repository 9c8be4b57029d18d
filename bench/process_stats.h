// Shared by the process benchmarks: a monotonic clock and the one line per
// figure that bench/run reads.
#pragma once

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace tolvu::bench {

inline double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The middle value; for an even count, the mean of the two middle ones.
inline double median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The value below which `share` (0..1) of the values lie, nearest rank.
inline double percentile(std::vector<double> values, double share)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(rank, values.size() - 1)];
}

// NAME FIGURE MEDIAN MIN MAX P99 RUNS
inline void printFigure(const std::string& name, const char* figure, const std::vector<double>& values)
{
    if (values.empty()) return;
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    std::printf("%s %s %.3f %.3f %.3f %.3f %zu\n", name.c_str(), figure, median(values), *lo, *hi,
                percentile(values, 0.99), values.size());
}

} // namespace tolvu::bench
