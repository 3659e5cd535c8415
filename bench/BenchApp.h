#ifndef KOVO_BENCH_BENCHAPP_H
#define KOVO_BENCH_BENCHAPP_H

#include "Application/KovoApplication.h"

namespace bench {

// The game's own application, as the entry point builds it, with the moment its first
// frame (the title, drawn during start-up) was on screen, and one main-loop pass at a time.
class BenchApp : public KovoApplication {
public:
    // The monotonic clock in milliseconds when the first frame had been swapped; 0 before.
    double firstFrameMs() const { return _firstFrameMs; }

    void update(unsigned int ms) override;
    // One pass of the main loop with `ms` of game time, without its pause.
    void frame(unsigned int ms);

private:
    double _firstFrameMs = 0;
};

}  // namespace bench

#endif
