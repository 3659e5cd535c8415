#ifndef KOVO_BASE_APP_APPCLOCK_H
#define KOVO_BASE_APP_APPCLOCK_H

#include <SDL/SDL.h>

// The time the main loop hands to each frame. The game runs on the machine's clock; a test
// runs on one that gives every frame the same step, so that a key held for N frames is held
// for the same game time however busy the machine is.
class AppClock {
public:
    // The longest step handed to a frame: a slow frame slows the game rather than jumping it.
    static constexpr unsigned int maxStepMs = 30;

    // The machine's clock (SDL_GetTicks).
    AppClock();
    // A clock on which every frame lasts `stepMs` (at most maxStepMs), however long it took.
    static AppClock fixedStep(unsigned int stepMs);

    // The loop begins: the first step counts from here.
    void start();
    // The time of the pass that begins now: since the previous pass began (or start()),
    // at most maxStepMs.
    unsigned int step();

private:
    bool _fixed;
    unsigned int _stepMs;
    Uint32 _previous;
};

#endif
