// One level file read into a level of the running game, then started and run for a frame.
// The game's thirty levels are read once at start-up and kept, so that the pictures an input
// names, of any chapter's cast, mostly come from the cache.
#include <cstdlib>
#include <vector>

#include "Application/GameScreen.h"
#include "Application/KovoApplication.h"
#include "Common/Level.h"
#include "FuzzSupport.h"

namespace {

KovoApplication* g_app = nullptr;
// Kept for the whole run, never destroyed: their pictures and textures stay loaded.
std::vector<Level*>* g_levels = new std::vector<Level*>();

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::quietLog();
    g_app = fuzzsupport::startGame();
    if (!g_app) std::abort();
    GameScreen* screen = g_app->getGameScreen();
    for (const std::string& name : fuzzsupport::levelFiles()) {
        Level* level = new Level(g_app, screen, screen->getPlayer());
        if (level->read(name, true, true) != 0) std::abort();
        g_levels->push_back(level);
    }
    fuzzsupport::holdLoadedPictures();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string name = fuzzsupport::inputFileName(".xml");
    fuzzsupport::writeInput(name, data, size);
    GameScreen* screen = g_app->getGameScreen();
    Level level(g_app, screen, screen->getPlayer());
    if (level.read(name, true, true) == 0) {
        level.start();
        level.update(30);
    }
    return 0;
}
