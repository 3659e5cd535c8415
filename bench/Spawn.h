#ifndef KOVO_BENCH_SPAWN_H
#define KOVO_BENCH_SPAWN_H

#include <string>
#include <vector>

namespace bench {

constexpr const char* kChildLog = "kovo_bench.log";

// Runs this program again with `args` and collects the lines it writes to standard output.
// Every part of the benchmark that starts the game runs in a process of its own, so that
// each starts from nothing: no picture loaded, no window open. The exit status, or -1 when
// the child could not be run or did not exit normally.
// The children's standard error is appended to this file of the working directory.
int runSelf(const std::vector<std::string>& args, std::vector<std::string>& lines);

}  // namespace bench

#endif
