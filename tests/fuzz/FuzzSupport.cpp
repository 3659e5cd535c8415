#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <vector>

#include "Application/GameScreen.h"
#include "Application/KovoApplication.h"
#include "Base/App/Globals.h"
#include "Base/App/Log.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Snd/SndManager.h"
#include "support/GlContext.h"

namespace fuzzsupport {

void quietLog()
{
    g_log.close();
    g_log.open("/dev/null", std::ios::out);
}

namespace {

// Never destroyed: the exit handler that empties it runs after the program's destructors.
std::vector<std::string>* g_madeFiles = new std::vector<std::string>();

void removeMadeFiles()
{
    for (auto name = g_madeFiles->rbegin(); name != g_madeFiles->rend(); ++name) std::remove(name->c_str());
}

}  // namespace

void removeAtExit(const std::string& path)
{
    if (g_madeFiles->empty()) std::atexit(removeMadeFiles);
    g_madeFiles->push_back(path);
}

std::string inputFileName(const std::string& extension)
{
    // In memory when the system offers it: a file on disk made a million times costs more
    // than most of the readers it feeds.
    const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "";
    const std::string name = folder + std::string("kovo_fuzz_input_") + std::to_string(getpid()) + extension;
    removeAtExit(name);
    return name;
}

void writeInput(const std::string& fileName, const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(fileName.c_str(), "wb");
    if (!file) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    if (std::fclose(file) != 0) std::abort();
}

bool openSound()
{
    setenv("ALSOFT_DRIVERS", "null", 0);
    static SndManager* manager = nullptr;
    if (!manager) {
        manager = new SndManager();
        if (manager->init() != 0) return false;
    }
    return true;
}

KovoApplication* startGame()
{
    setenv("ALSOFT_DRIVERS", "null", 0);
    testsupport::keepGlDriverLoaded();
    static KovoApplication* app = nullptr;
    if (!app) {
        app = new KovoApplication();
        if (app->init() != 0 || !app->getGameScreen()) return nullptr;
        app->getGameScreen()->newGame();
    }
    return app;
}

void holdLoadedPictures()
{
    // Never destroyed, so that the held textures are still reachable when the leak check
    // runs at exit.
    static auto* held = new std::map<GphImage*, GphTexture*>();
    for (const auto& entry : GphImageCache) {
        GphImage* image = entry.second;
        if (held->count(image)) continue;
        // The texture takes over the reference added here, and neither is ever given back.
        image->addRef();
        (*held)[image] = new GphTexture(image, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, GL_MODULATE);
    }
}

const std::vector<std::string>& levelFiles()
{
    static const std::vector<std::string> levels = {
        "level1-1.xml", "level1-2.xml", "level1-3.xml", "level1-4.xml", "level1-5.xml", "level1-x.xml",
        "level2-1.xml", "level2-2.xml", "level2-3.xml", "level2-4.xml", "level2-5.xml", "level2-x.xml",
        "level3-1.xml", "level3-2.xml", "level3-3.xml", "level3-4.xml", "level3-5.xml", "level3-6.xml",
        "level4-1.xml", "level4-2.xml", "level4-3.xml", "level4-4.xml", "level4-5.xml", "level4-6.xml",
        "level5-1.xml", "level5-2.xml", "level5-3.xml", "level5-4.xml", "level5-5.xml", "level5-x.xml"};
    return levels;
}

std::string seedDirectory()
{
    const char* dir = std::getenv("KOVO_FUZZ_SEED_DIR");
    return dir ? std::string(dir) : std::string();
}

}  // namespace fuzzsupport
