#include "FrameStats.h"

#include <time.h>

#include <algorithm>
#include <cmath>

namespace bench {

namespace {

double msOf(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

}  // namespace

double wallMs()
{
    return msOf(CLOCK_MONOTONIC);
}

double cpuMs()
{
    return msOf(CLOCK_PROCESS_CPUTIME_ID);
}

double percentile(std::vector<double> samples, double fraction)
{
    if (samples.empty()) return 0;
    const double rank = std::ceil(fraction * static_cast<double>(samples.size()));
    const size_t index = static_cast<size_t>(std::max(1.0, rank)) - 1;
    std::nth_element(samples.begin(), samples.begin() + static_cast<long>(index), samples.end());
    return samples[index];
}

FrameStats FrameStats::of(std::vector<double> wall, double cpu)
{
    FrameStats stats;
    if (wall.empty()) return stats;
    stats.median = percentile(wall, 0.5);
    stats.p99 = percentile(wall, 0.99);
    stats.cpuPerFrame = cpu / static_cast<double>(wall.size());
    return stats;
}

}  // namespace bench
