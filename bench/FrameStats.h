#ifndef KOVO_BENCH_FRAMESTATS_H
#define KOVO_BENCH_FRAMESTATS_H

#include <vector>

// The clocks of the benchmark and the summary of a run of frames.
namespace bench {

// Wall-clock milliseconds of the monotonic clock (shared by every process on the machine).
double wallMs();
// Milliseconds of CPU time the whole process (every thread) has used.
double cpuMs();

// Frame times of one run: the median and the 99th percentile (nearest rank) of the wall
// times, and the process's CPU time per frame.
struct FrameStats {
    double median = 0;
    double p99 = 0;
    double cpuPerFrame = 0;

    // `wall`: one time per frame; `cpu`: the CPU time of all of them.
    static FrameStats of(std::vector<double> wall, double cpu);
};

// The value of rank `fraction` (0..1, nearest rank) of the samples; 0 for none.
double percentile(std::vector<double> samples, double fraction);

}  // namespace bench

#endif
