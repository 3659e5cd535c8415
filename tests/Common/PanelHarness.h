#ifndef KOVO_TESTS_COMMON_PANELHARNESS_H
#define KOVO_TESTS_COMMON_PANELHARNESS_H

// Shared by the score box and objective panel tests: the game window at one unit a pixel
// with the camera away from the origin, the sound engine, a hero, and a folder of pictures
// of known colours under the panels' own file names, in which the tests run.

#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

#include "Base/App/AppBase.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndManager.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Kovo/Player.h"
#include "support/Files.h"
#include "support/GlContext.h"
#include "support/PcxFile.h"

namespace paneltest {

using testsupport::Rgb;

// The view's centre; the panels must follow it wherever it is.
constexpr double CamX = 1000.0;
constexpr double CamY = 2000.0;

// Digit n of the test pictures.
inline Rgb digitColour(int n)
{
    return Rgb{static_cast<unsigned char>(40 + 20 * n), static_cast<unsigned char>(220 - 20 * n),
               static_cast<unsigned char>(n % 2 ? 60 : 180)};
}
const Rgb BoxColour{200, 100, 240};
const Rgb BarColour{250, 250, 0};
const Rgb PanelColour{90, 40, 140};
const Rgb ObjectiveA{250, 130, 20};
const Rgb ObjectiveB{20, 130, 250};

inline bool near(const Rgb& a, const Rgb& b)
{
    for (int i = 0; i < 3; ++i)
        if (std::abs(a[i] - b[i]) > 8) return false;
    return true;
}

// The colour drawn at a world point, with the camera at (camX, camY), before the swap.
inline Rgb colourAt(double wx, double wy, double camX = CamX, double camY = CamY)
{
    const int x = static_cast<int>(std::floor(400.0 + wx - camX));
    const int y = static_cast<int>(std::floor(300.0 + wy - camY));
    return testsupport::readPixel(x, y);
}

// The digit whose picture is drawn at a world point, -1 for anything else.
inline int digitAt(double wx, double wy, double camX = CamX, double camY = CamY)
{
    const Rgb c = colourAt(wx, wy, camX, camY);
    for (int n = 0; n < 10; ++n)
        if (near(c, digitColour(n))) return n;
    return -1;
}

// An application that lends the game window to what is built with it.
class WindowOwner : public AppBase {
public:
    explicit WindowOwner(GphWindow* window) { _window = window; }
    ~WindowOwner() override { _window = nullptr; }
};

inline void setCamera(double x, double y)
{
    GphWindow::getInstance()->getCamera()->setPosition(ShpCoord(x, y, 0));
}

// The effect made for a WAV file, or null.
inline SndSoundEffect* effectFor(const std::string& fileName)
{
    if (!SndSoundEffectRegistry) return nullptr;
    for (auto& entry : *SndSoundEffectRegistry)
        if (entry.second->getFileName() == fileName) return entry.second;
    return nullptr;
}

inline bool isPlaying(const std::string& fileName)
{
    SndSoundEffect* effect = effectFor(fileName);
    return effect && effect->isPlaying();
}

inline void stopAllEffects()
{
    if (!SndSoundEffectRegistry) return;
    for (auto& entry : *SndSoundEffectRegistry) entry.second->stop();
}

class PanelTest : public ::testing::Test {
protected:
    static constexpr const char* PictureDir = "panel_pictures";

    void SetUp() override
    {
        testsupport::keepGlDriverLoaded();
        if (!SDL_WasInit(SDL_INIT_VIDEO)) SDL_InitSubSystem(SDL_INIT_VIDEO);
        window = GphWindow::create(800, 600, 16, false, true, 1.0, 10000.0, 45.0, 400.0, nullptr);
        ASSERT_NE(nullptr, window);
        if (auto* ortho = dynamic_cast<GphViewportOrthogonal*>(window->getViewport())) ortho->setZoom(400.0);
        setCamera(CamX, CamY);
        window->disableDepthTest();
        window->enableLighting();
        sound = new SndManager();
        soundStarted = sound->init() == 0;
        app = new WindowOwner(window);
        // The hero's own pictures come from the game data.
        player = new Player(app);
        makePictures();
        char here[4096];
        ASSERT_NE(nullptr, getcwd(here, sizeof here));
        dataDir = here;
        ASSERT_EQ(0, chdir(PictureDir));
    }

    void TearDown() override
    {
        if (!dataDir.empty()) {
            EXPECT_EQ(0, chdir(dataDir.c_str()));
        }
        delete player;
        delete app;
        if (soundStarted) sound->shutdown();
        delete sound;
    }

    // Whether the log (kept in the data folder) holds the text.
    bool logged(const std::string& text) const
    {
        if (chdir(dataDir.c_str()) != 0) return false;
        const bool found = testsupport::logContains(text);
        return chdir(PictureDir) == 0 && found;
    }

    // Clears the frame; what is drawn next can be read back before any swap.
    void clearFrame() { window->clear(); }

    GphWindow* window = nullptr;
    SndManager* sound = nullptr;
    bool soundStarted = false;
    WindowOwner* app = nullptr;
    Player* player = nullptr;
    std::string dataDir;

private:
    static void makePictures()
    {
        mkdir(PictureDir, 0755);
        const std::string dir = std::string(PictureDir) + "/";
        for (int n = 0; n < 10; ++n) testsupport::writeSolidPcx(dir + std::to_string(n) + ".pcx", digitColour(n));
        testsupport::writeSolidPcx(dir + "scorebox.pcx", BoxColour, 32, 16);
        testsupport::writeSolidPcx(dir + "timer.pcx", BarColour, 32, 4);
        testsupport::writeSolidPcx(dir + "spywherecomputer.pcx", PanelColour, 64, 64);
        testsupport::writeSolidPcx(dir + "objective_a.pcx", ObjectiveA, 32, 16);
        testsupport::writeSolidPcx(dir + "objective_b.pcx", ObjectiveB, 32, 16);
        // The panels' sounds are the game's own.
        for (const char* wav : {"pdaarrive.wav", "pdaaway.wav", "chimes.wav"}) {
            const std::string link = dir + wav;
            unlink(link.c_str());
            if (symlink((std::string("../") + wav).c_str(), link.c_str()) != 0) {
                ADD_FAILURE() << link;
            }
        }
    }
};

}  // namespace paneltest

#endif
