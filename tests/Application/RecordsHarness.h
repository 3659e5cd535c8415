#ifndef KOVO_TESTS_APPLICATION_RECORDSHARNESS_H
#define KOVO_TESTS_APPLICATION_RECORDSHARNESS_H

// Shared by the high-score, load and save screen tests: an application that hosts these
// screens the way the game's does (one current screen, every input hook forwarded to it, a
// redraw that draws one frame at once) and stands in for the game screen's saving and
// restoring with small files of its own; each test runs in a fresh folder that links the
// generated data, so the files the screens write start out absent.

#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Application/HighScoreScreen.h"
#include "Application/LoadScreen.h"
#include "Application/MainMenuScreen.h"
#include "Application/RecordScreenHost.h"
#include "Application/SaveScreen.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndManager.h"
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

class RecordsApp : public RecordScreenHost {
public:
    UiWindow* current = nullptr;
    UiWindow* mainMenu = nullptr;
    // Stands for the game screen, which a successful load makes current.
    UiWindow* game = nullptr;
    LoadScreen* loadScreen = nullptr;
    bool gameInProgress = true;
    std::vector<std::string> calls;
    // Run in every frame before the swap, with the frame's elapsed milliseconds.
    std::function<void(unsigned int ms)> script;

    // Its main loop runs on game time, as the game's does in the tests.
    RecordsApp() { setClock(AppClock::fixedStep(16)); }
    ~RecordsApp() override { _window = nullptr; }

    void onInit() override
    {
        _window = GphWindow::create(800, 600, 16, false, true, 1.0, 10000.0, 45.0, Zoom, nullptr);
    }
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
    // `count` passes of the main loop: the queued events through the window's hooks, then a
    // frame.
    void runFrames(int count = 1, unsigned int ms = 16)
    {
        for (int i = 0; i < count; ++i) {
            pollEvents();
            update(ms);
            SndSoundEffect::updateAll();
        }
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

    void onCharDown(char c) override { current->onCharDown(c); }
    void onCharUp(char c) override { current->onCharUp(c); }
    void onKeyDown(AppKey key) override { current->onKeyDown(key); }
    void onKeyUp(AppKey key) override { current->onKeyUp(key); }
    void onMouseMove(double x, double y) override { current->onMouseMove(x, y); }
    void onLeftButtonDown(double x, double y) override { current->onLeftButtonDown(x, y); }
    void onLeftButtonUp(double x, double y) override { current->onLeftButtonUp(x, y); }

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
class RecordsTest : public ::testing::Test {
protected:
    static constexpr const char* WorkDir = "records_work";

    static void SetUpTestSuite()
    {
        s_sound = new SndManager();
        s_soundStarted = s_sound->init() == 0;
    }
    static void TearDownTestSuite()
    {
        if (s_soundStarted) s_sound->shutdown();
        delete s_sound;
        s_sound = nullptr;
    }

    void SetUp() override
    {
        namespace fs = std::filesystem;
        home = fs::current_path();
        fs::remove_all(WorkDir);
        fs::create_directory(WorkDir);
        // The generated data, linked; the folders other tests made stay behind.
        for (const fs::directory_entry& entry : fs::directory_iterator(home)) {
            if (entry.is_directory()) continue;
            const std::string name = entry.path().filename().string();
            fs::create_symlink(fs::path("..") / name, fs::path(WorkDir) / name);
        }
        fs::current_path(WorkDir);

        app = new RecordsApp();
        ASSERT_EQ(app->init(), 0);
        GphWindow* window = app->getWindow();
        if (auto* ortho = dynamic_cast<GphViewportOrthogonal*>(window->getViewport())) ortho->setZoom(Zoom);
        window->getCamera()->setPosition(ShpCoord(0, 0, 0));
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

    static inline SndManager* s_sound = nullptr;
    static inline bool s_soundStarted = false;
    std::filesystem::path home;
    RecordsApp* app = nullptr;
    MainMenuScreen* mainMenu = nullptr;
    UiWindow* game = nullptr;
};

}  // namespace recordtest

#endif
