// One saved game loaded by the running game, as the load menu does. Seeds: games the game
// saves at start-up, on the first chapter page and a moment into each demo level.
#include <cstdlib>

#include "Application/GameScreen.h"
#include "Application/KovoApplication.h"
#include "FuzzSupport.h"

namespace {

KovoApplication* g_app = nullptr;

// Frames of play before a level's game is saved: enemies and shots are under way by then.
constexpr int kSeedFrames = 40;

void writeSeeds(const std::string& folder)
{
    GameScreen* screen = g_app->getGameScreen();
    screen->saveGame(folder + "/page.dat");
    for (const char* level : {"level1-1", "level1-2", "level1-3", "level1-4", "level1-5", "level1-x"}) {
        screen->loadLevel(std::string(level) + ".xml");
        for (int frame = 0; frame < kSeedFrames; ++frame) screen->update(30);
        screen->saveGame(folder + "/" + level + ".dat");
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
    if (!seeds.empty()) writeSeeds(seeds);
    // Every demo level once, so that their pictures stay loaded for the run.
    for (const char* level : {"level1-1.xml", "level1-2.xml", "level1-3.xml", "level1-4.xml", "level1-5.xml",
                              "level1-x.xml"}) {
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
    g_app->loadGame(name);
    return 0;
}
