// One saved game loaded by the running game, as the load menu does; a game that loads is
// played for a few frames and drawn once, so that a block read wrong that only shows in play
// is found too. Seeds: games the game saves at start-up, on the first chapter page and a
// moment into each of the thirty levels.
#include <cstdlib>

#include "Application/GameScreen.h"
#include "Application/KovoApplication.h"
#include "Base/Ui/UiWindow.h"
#include "FuzzSupport.h"

namespace {

KovoApplication* g_app = nullptr;

// Frames of play before a level's game is saved: enemies and shots are under way by then.
constexpr int kSeedFrames = 40;
// Frames a loaded game is played, the last one drawn.
constexpr int kPlayFrames = 4;
// Game time of one frame, in milliseconds.
constexpr unsigned int kFrameMs = 30;

// Every level is loaded on the way, and its pictures held as the run's preload would.
void writeSeeds(const std::string& folder)
{
    GameScreen* screen = g_app->getGameScreen();
    screen->saveGame(folder + "/page.dat");
    for (const std::string& level : fuzzsupport::levelFiles()) {
        // Each level in a game of its own, as a player who starts it from a new game.
        screen->reset();
        screen->newGame();
        std::srand(1);
        screen->loadLevel(level);
        fuzzsupport::holdLoadedPictures();
        for (int frame = 0; frame < kSeedFrames; ++frame) screen->update(kFrameMs);
        screen->saveGame(folder + "/" + level.substr(0, level.size() - 4) + ".dat");
    }
    screen->reset();
    screen->newGame();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::quietLog();
    g_app = fuzzsupport::startGame();
    if (!g_app) std::abort();
    GameScreen* screen = g_app->getGameScreen();
    const std::string seeds = fuzzsupport::seedDirectory();
    if (!seeds.empty()) {
        writeSeeds(seeds);
        return 0;
    }
    // Every level once, so that the pictures of the whole cast stay loaded for the run.
    for (const std::string& level : fuzzsupport::levelFiles()) {
        screen->loadLevel(level);
        fuzzsupport::holdLoadedPictures();
        screen->reset();
        screen->newGame();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string name = fuzzsupport::inputFileName(".dat");
    fuzzsupport::writeInput(name, data, size);
    // Sparks and snow draw on the C library's sequence: the same input plays the same way.
    std::srand(1);
    if (g_app->loadGame(name) != 0) return 0;
    // The current screen stepped, as the game's loop does: a game that ends in play has
    // switched to another screen by then. The last frame is the loop's whole one, drawn.
    for (int frame = 1; frame < kPlayFrames; ++frame) {
        if (UiWindow* current = g_app->getCurrentScreen()) current->update(kFrameMs);
    }
    g_app->update(kFrameMs);
    return 0;
}
