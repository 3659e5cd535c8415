#ifndef KOVO_TESTS_APPLICATION_RECORDSHARNESS_H
#define KOVO_TESTS_APPLICATION_RECORDSHARNESS_H

// Shared by the high-score, load and save screen tests: an application that hosts these
// screens the way the game's does (one current screen, every input hook forwarded to it, a
// redraw that draws one frame at once) and stands in for the game screen's saving and
// restoring with small files of its own; each test runs in a fresh folder that links the
// generated data, so the files the screens write start out absent.

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Application/HighScoreScreen.h"
#include "Application/LoadScreen.h"
#include "Application/MainMenuScreen.h"
#include "Application/RecordScreenHost.h"
#include "Application/SaveScreen.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Base/Ui/UiHarness.h"
#include "Base/Ui/UiWindow.h"
#include "support/Files.h"
#include "support/GameTimeSound.h"

namespace recordtest {

using uitest::flushEvents;
using uitest::pushClick;
using uitest::pushMotion;
using uitest::typeKey;
using uitest::typeText;
using uitest::Zoom;

// What the saved games hold here: the game screen's own content is not these screens' business.
const char* const SavedGame = "saved game\n";

class RecordsApp : public uitest::ScreenApp<RecordScreenHost> {
public:
    UiWindow* mainMenu = nullptr;
    // Stands for the game screen, which a successful load makes current.
    UiWindow* game = nullptr;
    LoadScreen* loadScreen = nullptr;
    bool gameInProgress = true;
    std::vector<std::string> calls;
    // Run in every frame before the swap, with the frame's elapsed milliseconds.
    std::function<void(unsigned int ms)> script;

    void update(unsigned int ms) override
    {
        testsupport::advanceSound(ms);
        if (current) current->update(ms);
        _window->clear();
        _window->disableLighting();
        if (current) current->draw();
        _window->enableLighting();
        if (script) script(ms);
        _window->swapBuffers();
    }

    void showMainMenu() override { switchTo("showMainMenu", mainMenu); }
    bool isGameInProgress() override { return gameInProgress; }
    void startNewGame() override { calls.push_back("startNewGame"); }
    void showLoadScreen() override { calls.push_back("showLoadScreen"); }
    void showSaveScreen() override { calls.push_back("showSaveScreen"); }
    void showOptions() override { calls.push_back("showOptions"); }
    void returnToGame() override { calls.push_back("returnToGame"); }
    void showTutorial() override { calls.push_back("showTutorial"); }
    void showHighScores() override { calls.push_back("showHighScores"); }
    void exitGame() override { calls.push_back("exitGame"); }

    void returnFromHighScores() override { switchTo("returnFromHighScores", mainMenu); }
    void returnFromLoadScreen() override { switchTo("returnFromLoadScreen", mainMenu); }
    void returnFromSaveScreen() override { switchTo("returnFromSaveScreen", mainMenu); }
    void redraw() override
    {
        calls.push_back("redraw");
        update(0);
    }
    // A saved game restores when its file holds what a save wrote.
    int loadGame(const std::string& fileName) override
    {
        calls.push_back("loadGame " + fileName);
        if (testsupport::readText(fileName) != SavedGame) return -1;
        current = game;
        return 0;
    }
    int saveGame(const std::string& fileName, int slot, const std::string& name) override
    {
        calls.push_back("saveGame " + fileName + " " + std::to_string(slot) + " " + name);
        if (!gameInProgress) return -1;
        testsupport::writeText(fileName, SavedGame);
        if (testsupport::readText(fileName) != SavedGame) return -1;
        if (loadScreen) loadScreen->setSlotName(slot, name);
        return 0;
    }

    bool called(const std::string& call) const
    {
        for (const std::string& c : calls)
            if (c == call) return true;
        return false;
    }

private:
    void switchTo(const char* call, UiWindow* screen)
    {
        calls.push_back(call);
        if (screen) current = screen;
    }
};

// The window stays open for the test program; each suite starts the sound engine; each test
// gets a fresh application, the main menu (where the screens return to) and a fresh folder.
class RecordsTest : public uitest::SoundSuite {
protected:
    static constexpr const char* WorkDir = "records_work";

    void SetUp() override
    {
        home = std::filesystem::current_path();
        testsupport::makeDataFolder(WorkDir, true);
        std::filesystem::current_path(WorkDir);

        app = new RecordsApp();
        ASSERT_EQ(app->init(), 0);
        uitest::resyncWindow(app->getWindow());
        mainMenu = new MainMenuScreen(app);
        game = new UiWindow(app, 1, true);
        app->mainMenu = mainMenu;
        app->game = game;
        flushEvents();
    }
    void TearDown() override
    {
        app->current = nullptr;
        delete game;
        delete mainMenu;
        delete app;
        std::filesystem::current_path(home);
    }

    // Keys and characters through SDL's queue and the application's hooks, one frame.
    void type(const std::string& text)
    {
        typeText(text);
        app->runFrames();
    }
    void key(SDLKey sym)
    {
        typeKey(sym);
        app->runFrames();
    }
    void click(double x, double y)
    {
        pushClick(x, y);
        app->runFrames();
    }
    void moveTo(double x, double y)
    {
        pushMotion(x, y);
        app->runFrames();
    }

    std::filesystem::path home;
    RecordsApp* app = nullptr;
    MainMenuScreen* mainMenu = nullptr;
    UiWindow* game = nullptr;
};

}  // namespace recordtest

#endif
