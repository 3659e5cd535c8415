#include "Base/App/AppClock.h"

#include <algorithm>

AppClock::AppClock() : _fixed(false), _stepMs(0), _previous(0) {}

AppClock AppClock::fixedStep(unsigned int stepMs)
{
    AppClock clock;
    clock._fixed = true;
    clock._stepMs = std::min(stepMs, maxStepMs);
    return clock;
}

void AppClock::start()
{
    _previous = SDL_GetTicks();
}

unsigned int AppClock::step()
{
    if (_fixed) return _stepMs;
    // Read at the start of the pass, so the time this pass spends counts toward the next.
    const Uint32 now = SDL_GetTicks();
    const Uint32 elapsed = now - _previous;
    _previous = now;
    return std::min<Uint32>(elapsed, maxStepMs);
}
