#include "Application/KovoApplication.h"

// Starts the game, runs it until the player quits and shuts it down. A start that fails
// (no video, no window) has logged why and ends with status 1.
int main(int /*argc*/, char* /*argv*/[])
{
    KovoApplication app;
    if (app.init() != 0) return 1;
    app.run();
    app.shutdown();
    return 0;
}
