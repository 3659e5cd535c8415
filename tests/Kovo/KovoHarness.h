#ifndef KOVO_TESTS_KOVO_KOVOHARNESS_H
#define KOVO_TESTS_KOVO_KOVOHARNESS_H

#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <dlfcn.h>

#include <sstream>
#include <string>
#include <vector>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndManager.h"
#include "Base/Snd/SndSoundEffect.h"
#include "support/GlContext.h"

namespace kovotest {

// The game's window (one world unit per pixel, camera at the origin) and the sound engine on
// its device, shared by every test of the program.
class KovoEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        testsupport::keepGlDriverLoaded();
        dlopen("libEGL_mesa.so.0", RTLD_LAZY | RTLD_NODELETE);
        if (!SDL_WasInit(SDL_INIT_VIDEO)) SDL_InitSubSystem(SDL_INIT_VIDEO);
        GphWindow* window =
            GphWindow::create(800, 600, 16, false, true, 1.0, 10000.0, 45.0, 400.0, nullptr);
        ASSERT_NE(nullptr, window);
        if (auto* ortho = dynamic_cast<GphViewportOrthogonal*>(window->getViewport()))
            ortho->setZoom(400.0);
        window->getCamera()->setPosition(ShpCoord(0, 0, 0));
        window->disableLighting();
        _sound = new SndManager();
        _soundStarted = _sound->init() == 0;
    }

    void TearDown() override
    {
        delete GphWindow::getInstance();
        if (_soundStarted) _sound->shutdown();
        delete _sound;
        _sound = nullptr;
    }

private:
    SndManager* _sound = nullptr;
    bool _soundStarted = false;
};

// The live effect made for a WAV file, or null.
inline SndSoundEffect* effectFor(const std::string& fileName)
{
    if (!SndSoundEffectRegistry) return nullptr;
    for (auto& entry : *SndSoundEffectRegistry) {
        if (entry.second->getFileName() == fileName) return entry.second;
    }
    return nullptr;
}

// Whether an effect made for a WAV file plays: several objects may make one each.
inline bool isPlaying(const std::string& fileName)
{
    if (!SndSoundEffectRegistry) return false;
    for (auto& entry : *SndSoundEffectRegistry)
        if (entry.second->getFileName() == fileName && entry.second->isPlaying()) return true;
    return false;
}

inline void stopAllEffects()
{
    if (!SndSoundEffectRegistry) return;
    for (auto& entry : *SndSoundEffectRegistry) entry.second->stop();
}

// The picture file of one frame of an animation, "" when it has none.
inline std::string frameFile(const GphAnimatedTexture* animation, unsigned frame)
{
    auto it = animation->getFrames().find(frame);
    if (it == animation->getFrames().end() || !it->second->getImage()) return "";
    return it->second->getImage()->getFileName();
}

// The block an object saves.
template <class T>
std::string saved(T& object)
{
    std::ostringstream out;
    EXPECT_EQ(0, object.writeState(out));
    return out.str();
}

// Reads a saved block as the room does: it takes the opening tag, then the object reads.
template <class T>
int restore(T& object, const std::string& block)
{
    std::istringstream in(block);
    std::string tag;
    in >> tag;
    return object.readState(in);
}

// Every prefix of a saved block that stops before its last token begins: each must fail.
inline std::vector<std::string> truncations(const std::string& block)
{
    const size_t last = block.find_last_not_of(" \n");
    const size_t lastTokenStart = block.find_last_of(" \n", last) + 1;
    std::vector<std::string> cuts;
    for (size_t n = 0; n <= lastTokenStart; ++n) cuts.push_back(block.substr(0, n));
    return cuts;
}

}  // namespace kovotest

#endif
