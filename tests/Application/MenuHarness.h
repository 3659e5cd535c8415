#ifndef KOVO_TESTS_APPLICATION_MENUHARNESS_H
#define KOVO_TESTS_APPLICATION_MENUHARNESS_H

// Shared by the backdrop, title and main menu tests: an application that hosts the menu
// screens the way the game's application does (one current screen, the backdrop behind it,
// every input hook forwarded to it) and records which of its operations the screens call;
// a folder of pictures of known colours under the screens' own file names, in which the
// tests run. Events and pixels of the menus' view are the control tests' helpers.

#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Application/MainMenuScreen.h"
#include "Application/MenuBackdrop.h"
#include "Application/ScreenHost.h"
#include "Application/TitleScreen.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Base/Ui/UiHarness.h"
#include "support/Files.h"
#include "support/GameTimeSound.h"
#include "support/PcxFile.h"

namespace menutest {

using testsupport::Rgb;

using uitest::flushEvents;
using uitest::pixelAt;
using uitest::pushClick;
using uitest::pushMotion;
using uitest::stopAllEffects;
using uitest::typeKey;
using uitest::Zoom;

inline bool near(const Rgb& a, const Rgb& b) { return uitest::near(a, b, 8); }

// The colours of the test pictures.
const Rgb PanelColour{40, 60, 200};
const Rgb StripColour{220, 200, 40};
const Rgb TitleColour{250, 80, 80};
const Rgb ContinueColour{80, 250, 80};
const Rgb ContinueLitColour{80, 250, 250};
const Rgb MenuColour{160, 40, 160};
const Rgb MenuTitleColour{250, 250, 250};
// Button id 2 to 9, normal or lit.
inline Rgb buttonColour(int id, bool lit)
{
    return Rgb{static_cast<unsigned char>(20 * id), static_cast<unsigned char>(lit ? 240 : 120),
               static_cast<unsigned char>(lit ? 10 : 90)};
}

// The application as the game's own runs the menus: each frame advances the backdrop and
// the current screen by the elapsed time, clears, draws the backdrop with lighting off and
// the screen over it, runs the test's script (which may read pixels) and swaps.
class HostApp : public uitest::ScreenApp<ScreenHost> {
public:
    MenuBackdrop* backdrop = nullptr;
    MainMenuScreen* mainMenu = nullptr;
    bool gameInProgress = false;
    std::vector<std::string> calls;
    std::function<void(int frame)> script;
    int frames = 0;
    int frameLimit = 1;

    void update(unsigned int ms) override
    {
        ++frames;
        testsupport::advanceSound(ms);
        if (backdrop) backdrop->update(ms);
        if (current) current->update(ms);
        _window->clear();
        _window->disableLighting();
        if (backdrop) backdrop->draw();
        if (current) current->draw();
        _window->enableLighting();
        if (script) script(frames);
        _window->swapBuffers();
        // Only the real loop (run) stops by itself.
        if (frames >= frameLimit) quit();
    }
    // `count` passes of the main loop: the queued events through the window's hooks, then a
    // frame of `ms`. (The loop itself runs once per application: quitting is for good.)
    void runFrames(int count, unsigned int ms = 16)
    {
        frames = 0;
        frameLimit = count + 1;
        for (int i = 0; i < count; ++i) {
            pollEvents();
            update(ms);
            SndSoundEffect::updateAll();
        }
    }

    void showMainMenu() override
    {
        calls.push_back("showMainMenu");
        if (mainMenu) current = mainMenu;
    }
    bool isGameInProgress() override { return gameInProgress; }
    void startNewGame() override { calls.push_back("startNewGame"); }
    void showLoadScreen() override { calls.push_back("showLoadScreen"); }
    void showSaveScreen() override { calls.push_back("showSaveScreen"); }
    void showOptions() override { calls.push_back("showOptions"); }
    void returnToGame() override { calls.push_back("returnToGame"); }
    void showTutorial() override { calls.push_back("showTutorial"); }
    void showHighScores() override { calls.push_back("showHighScores"); }
    void exitGame() override
    {
        calls.push_back("exitGame");
        quit();
    }
};

inline void pushButton(bool down, double wx, double wy, Uint8 button = SDL_BUTTON_LEFT)
{
    uitest::pushButtonPixels(down, uitest::pixelX(wx), uitest::pixelY(wy), button);
}

inline bool anyPlaying(const std::string& wav)
{
    if (!SndSoundEffectRegistry) return false;
    for (auto& entry : *SndSoundEffectRegistry)
        if (entry.second->getFileName() == wav && entry.second->isPlaying()) return true;
    return false;
}

// The window is made once and left open for the program (an application built later
// finds it); each suite starts the sound engine; each test gets a fresh application and runs
// inside the picture folder.
class MenuTest : public uitest::SoundSuite {
protected:
    static constexpr const char* PictureDir = "menu_pictures";

    void SetUp() override
    {
        app = new HostApp();
        ASSERT_EQ(app->init(), 0);
        window = app->getWindow();
        uitest::resyncWindow(window);
        dataDir = std::filesystem::current_path();
        makePictures();
        std::filesystem::current_path(PictureDir);
        flushEvents();
    }
    void TearDown() override
    {
        if (!dataDir.empty()) std::filesystem::current_path(dataDir);
        delete app;
    }

    // Builds the menus as the application's start-up does: backdrop, title (made current),
    // main menu.
    void buildMenus()
    {
        backdrop = new MenuBackdrop(app);
        title = new TitleScreen(app);
        app->backdrop = backdrop;
        app->current = title;
        mainMenu = new MainMenuScreen(app);
        app->mainMenu = mainMenu;
        stopAllEffects();
    }
    void deleteMenus()
    {
        app->current = nullptr;
        app->mainMenu = nullptr;
        app->backdrop = nullptr;
        delete mainMenu;
        delete title;
        delete backdrop;
        mainMenu = nullptr;
        title = nullptr;
        backdrop = nullptr;
    }

    HostApp* app = nullptr;
    GphWindow* window = nullptr;
    MenuBackdrop* backdrop = nullptr;
    TitleScreen* title = nullptr;
    MainMenuScreen* mainMenu = nullptr;
    std::filesystem::path dataDir;

private:
    static void makePictures()
    {
        using testsupport::writePcx;
        using testsupport::writeSolidPcx;
        mkdir(PictureDir, 0755);
        const std::string dir = std::string(PictureDir) + "/";
        const Rgb black{0, 0, 0};
        writeSolidPcx(dir + "menu_background.pcx", PanelColour);
        // Each strip: its upper half coloured, its lower half see-through.
        writePcx(dir + "menu_background2.pcx", 16, 64, [&](int, int y) { return y < 32 ? StripColour : black; });
        // The title: see-through on the left half.
        writePcx(dir + "title_overlay.pcx", 64, 64, [&](int x, int) { return x < 32 ? black : TitleColour; });
        writeSolidPcx(dir + "title_continue_button.pcx", ContinueColour);
        writeSolidPcx(dir + "title_continue_button_lit.pcx", ContinueLitColour);
        // The main menu's picture: a coloured band along its left edge, see-through elsewhere.
        writePcx(dir + "mainmenu.pcx", 64, 64, [&](int x, int) { return x < 6 ? MenuColour : black; });
        writeSolidPcx(dir + "mainmenutitle.pcx", MenuTitleColour);
        const char* const buttons[] = {"start_game_button", "resume_game_button", "save_game_button",
                                       "options_button", "return_to_game_button", "instructions_button",
                                       "high_scores_button", "exit_button"};
        for (int i = 0; i < 8; ++i) {
            writeSolidPcx(dir + buttons[i] + ".pcx", buttonColour(2 + i, false));
            writeSolidPcx(dir + buttons[i] + "_lit.pcx", buttonColour(2 + i, true));
        }
        uitest::linkMenuSounds(PictureDir);
    }
};

}  // namespace menutest

#endif
