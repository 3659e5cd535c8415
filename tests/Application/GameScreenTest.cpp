// The game screen inside the real application: a game's objects, levels loaded from the
// chapter page or failing to, the panels, Escape and the way back, focus, deaths, finished
// levels, and saved games that cannot be written or read.

#include "Application/GameHarness.h"

#include "Application/GameScreen.h"
#include "Application/HighScoreScreen.h"
#include "Application/MainMenuScreen.h"
#include "Application/PageScreen1.h"
#include "Base/Ui/UiIcon.h"
#include "Common/Level.h"
#include "Base/Ui/UiTextBox.h"
#include "Common/PdaPanel.h"
#include "Common/ScorePanel.h"
#include "Kovo/Player.h"

namespace gametest {

namespace {

constexpr double GameZoom = 400.0;

// One room on a floor, under a backdrop of one colour, with no opening panel.
const char* const PlainLevel =
    "<LEVEL>\n"
    "<PLAYER_X> 300 </PLAYER_X> <PLAYER_Y> 40 </PLAYER_Y>\n"
    "<CAMERA_X> 400 </CAMERA_X> <CAMERA_Y> 300 </CAMERA_Y>\n"
    "<MAP> <MAP_ID> 1 </MAP_ID> <MAP_WIDTH> 1600 </MAP_WIDTH> <MAP_HEIGHT> 600 </MAP_HEIGHT>\n"
    "  <GRAVITY> 2000 </GRAVITY>\n"
    "  <IMAGE> 1 gs_backdrop.bmp 0 </IMAGE>\n"
    "  <BACKDROP> 400 300 800 600 1 </BACKDROP>\n"
    "  <FLOOR> <BARRIER> <EDGES> 0 1600 40 0 </EDGES> <OFFSET> 40 </OFFSET> </BARRIER> </FLOOR>\n"
    "</MAP>\n"
    "</LEVEL>\n";

const Rgb BackdropColour{40, 120, 200};

}  // namespace

class GameScreenTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        testsupport::writeText("gs_plain.xml", PlainLevel);
        uitest::writeSolidBmp("gs_backdrop.bmp", BackdropColour[0], BackdropColour[1], BackdropColour[2]);
        start();
        if (!app) return;
        game = app->getGameScreen();
        app->startNewGame();
    }
    // A level loaded from the page and drawn once, so that its room takes keys.
    void play(const std::string& file)
    {
        game->loadLevel(file);
        ASSERT_NE(nullptr, game->getLevel());
        app->runFrames(1);
    }

    GameScreen* game = nullptr;
};

TEST_F(GameScreenTest, ANewGameBuildsItsObjectsOnPageOneAndResetDeletesThem)
{
    EXPECT_EQ(game, app->getCurrentScreen());
    ASSERT_NE(nullptr, game->getPlayer());
    EXPECT_EQ(3, game->getPlayer()->getLives());
    EXPECT_NE(nullptr, game->getScorePanel());
    EXPECT_NE(nullptr, game->getPdaPanel());
    EXPECT_NE(nullptr, game->getPage1());
    ASSERT_NE(nullptr, game->getLoadingIcon());
    EXPECT_FALSE(game->getLoadingIcon()->isVisible());
    EXPECT_EQ(1, game->getPageIndex());
    EXPECT_DOUBLE_EQ(GameZoom, currentZoom(window));
    EXPECT_FALSE(game->isGameInProgress());

    game->nextPage();
    EXPECT_EQ(2, game->getPageIndex());
    game->previousPage();
    game->nextPage();
    // A new game keeps the page index; a reset goes back to page 1.
    EXPECT_EQ(0, game->newGame());
    EXPECT_EQ(2, game->getPageIndex());
    game->reset();
    EXPECT_EQ(1, game->getPageIndex());
    EXPECT_EQ(nullptr, game->getPlayer());
    EXPECT_EQ(nullptr, game->getScorePanel());
    EXPECT_EQ(nullptr, game->getPdaPanel());
    EXPECT_EQ(nullptr, game->getPage1());
    EXPECT_EQ(nullptr, game->getLoadingIcon());
    EXPECT_FALSE(game->isGameInProgress());
    // With nothing to show the screen still runs a frame.
    app->runFrames(1);
}

TEST_F(GameScreenTest, ALevelThatFailsToLoadLeavesNoLevelAndThePageGoesOn)
{
    testsupport::writeText("gs_broken.xml", "<LEVEL>\n<PLAYER_X> 300 </PLAYER_X>\n<NO_SUCH_TAG> 1 </NO_SUCH_TAG>\n");
    for (const char* file : {"gs_broken.xml", "gs_missing.xml"}) {
        game->loadLevel(file);
        EXPECT_EQ(nullptr, game->getLevel()) << file;
        EXPECT_TRUE(testsupport::logContains(std::string("Failed to load level ") + file));
        EXPECT_FALSE(game->getLoadingIcon()->isVisible());
        EXPECT_TRUE(window->isCursorShown());
    }
    app->runFrames(1);
    Shot shot = shoot("page_after_failed_load");
    EXPECT_GT(shot.share(0, 0, 800, 40, pictureColour("page.pcx")), 0.5);
    // The page still takes the pointer: its first level starts.
    clickAt(GameZoom, 0, 150);
    app->runFrames(1);
    ASSERT_NE(nullptr, game->getLevel());
    EXPECT_EQ("level1-1.xml", game->getLevel()->getFileName());
}

TEST_F(GameScreenTest, LoadingShowsItsPictureOverThePageThenRunsTheLevelWithTheScoreBoxAsTheOptionSays)
{
    Shot duringLoad;
    bool iconShown = false;
    app->afterFrame = [&](int) {
        duringLoad = readFrame();
        iconShown = game->getLoadingIcon()->isVisible();
    };
    game->loadLevel("gs_plain.xml");
    app->afterFrame = nullptr;
    EXPECT_TRUE(iconShown);
    writePng((home / ShotDir / (testName() + "_loading.png")).string(), duringLoad);
    EXPECT_GT(duringLoad.shareAround(GameZoom, 0, 0, 400, 40, pictureColour("loadingchapter.pcx")), 0.5);
    EXPECT_GT(duringLoad.share(0, 0, 800, 40, pictureColour("page.pcx")), 0.5);

    ASSERT_NE(nullptr, game->getLevel());
    EXPECT_TRUE(game->getLevel()->isRunning());
    EXPECT_FALSE(game->getLoadingIcon()->isVisible());
    EXPECT_FALSE(window->isCursorShown());
    EXPECT_EQ(game->getLevel()->treasureCount(), game->getPdaPanel()->getTotal());
    EXPECT_EQ(0, game->getPdaPanel()->getFound());
    EXPECT_TRUE(game->isGameInProgress());

    app->runFrames(2);
    Shot shot = shoot("level_with_score_box");
    EXPECT_GT(shot.share(300, 300, 800, 400, BackdropColour), 0.9);
    EXPECT_GT(shot.shareAround(GameZoom, -300, 250, 150, 70, pictureColour("scorebox.pcx")), 0.3);
    app->setScoreBoxShown(false);
    app->runFrames(1);
    shot = shoot("level_without_score_box");
    EXPECT_LT(shot.shareAround(GameZoom, -300, 250, 150, 70, pictureColour("scorebox.pcx")), 0.05);
    EXPECT_GT(shot.shareAround(GameZoom, -300, 250, 150, 70, BackdropColour), 0.9);
}

TEST_F(GameScreenTest, EnterCallsUpTheObjectivePanelAndKeysThenOnlySendItAway)
{
    play("gs_plain.xml");
    uitest::pushKey(SDLK_RIGHT, true);
    app->runFrames(1);
    EXPECT_TRUE(game->getPlayer()->isRightHeld());
    uitest::typeKey(SDLK_RETURN);
    app->runFrames(1);
    ASSERT_TRUE(game->getPdaPanel()->isShown());
    // The hero lets go of everything he held.
    EXPECT_FALSE(game->getPlayer()->isRightHeld());
    app->runFrames(20, 30);
    Shot shot = shoot("objective_panel");
    EXPECT_GT(shot.shareAround(GameZoom, 0, 150, 300, 60, pictureColour("spywherecomputer.pcx")), 0.3);

    uitest::pushKey(SDLK_LEFT, true);
    app->runFrames(1);
    EXPECT_FALSE(game->getPlayer()->isLeftHeld());
    EXPECT_TRUE(game->getPdaPanel()->isSlidingOut());
}

TEST_F(GameScreenTest, EscapeLeavesAPausedLevelAndReturnToGameResumesItInItsView)
{
    play("gs_plain.xml");
    window->getCamera()->setPosition(ShpCoord(250, 310, 0));
    uitest::typeKey(SDLK_ESCAPE);
    app->runFrames(1);
    EXPECT_EQ(app->getMainMenu(), app->getCurrentScreen());
    ASSERT_NE(nullptr, game->getLevel());
    EXPECT_TRUE(game->getLevel()->isPaused());
    EXPECT_DOUBLE_EQ(250.0, game->getKeptCameraX());
    EXPECT_DOUBLE_EQ(310.0, game->getKeptCameraY());
    EXPECT_DOUBLE_EQ(0.0, window->getCamera()->getPosition()->getX());
    EXPECT_DOUBLE_EQ(512.0, currentZoom(window));
    EXPECT_TRUE(window->isCursorShown());
    EXPECT_TRUE(app->getMainMenu()->getButton(MainMenuScreen::kReturnToGame)->isEnabled());

    app->returnToGame();
    EXPECT_EQ(game, app->getCurrentScreen());
    EXPECT_FALSE(game->getLevel()->isPaused());
    EXPECT_DOUBLE_EQ(250.0, window->getCamera()->getPosition()->getX());
    EXPECT_DOUBLE_EQ(310.0, window->getCamera()->getPosition()->getY());
    EXPECT_DOUBLE_EQ(GameZoom, currentZoom(window));
    EXPECT_FALSE(window->isCursorShown());
}

TEST_F(GameScreenTest, LosingFocusOrTheWindowPausesTheLevelAndDropsTheHerosKeys)
{
    play("gs_plain.xml");
    auto pushActive = [](Uint8 state, bool gain) {
        SDL_Event event{};
        event.type = SDL_ACTIVEEVENT;
        event.active.state = state;
        event.active.gain = gain ? 1 : 0;
        SDL_PushEvent(&event);
    };
    uitest::pushKey(SDLK_SPACE, true);
    app->runFrames(1);
    ASSERT_TRUE(game->getPlayer()->isCharging());
    pushActive(SDL_APPINPUTFOCUS, false);
    app->runFrames(1);
    EXPECT_TRUE(game->getLevel()->isPaused());
    EXPECT_FALSE(game->getPlayer()->isCharging());
    pushActive(SDL_APPINPUTFOCUS, true);
    app->runFrames(1);
    EXPECT_FALSE(game->getLevel()->isPaused());

    uitest::pushKey(SDLK_LEFT, true);
    app->runFrames(1);
    ASSERT_TRUE(game->getPlayer()->isLeftHeld());
    pushActive(SDL_APPACTIVE, false);
    app->runFrames(1);
    EXPECT_TRUE(game->getLevel()->isPaused());
    EXPECT_FALSE(game->getPlayer()->isLeftHeld());
    pushActive(SDL_APPACTIVE, true);
    app->runFrames(1);
    EXPECT_FALSE(game->getLevel()->isPaused());
}

TEST_F(GameScreenTest, ADeathWithLivesLeftRestartsTheLevelAndAFinishedLevelGivesWayToThePage)
{
    play("level1-1.xml");
    Level* level = game->getLevel();
    game->getPlayer()->setLives(2);
    game->onPlayerDied();
    EXPECT_EQ(level, game->getLevel());
    EXPECT_TRUE(level->isRunning());
    EXPECT_EQ(game, app->getCurrentScreen());

    game->onLevelFinished("level1-1.xml", 1);
    EXPECT_EQ(nullptr, game->getLevel());
    EXPECT_EQ(level, game->getEndedLevel());
    EXPECT_TRUE(window->isCursorShown());
    EXPECT_TRUE(game->getPage1()->isFirstLevelDone());
    app->runFrames(1);
    EXPECT_EQ(nullptr, game->getEndedLevel());
    Shot shot = shoot("page_after_level");
    EXPECT_GT(shot.share(0, 0, 800, 40, pictureColour("page.pcx")), 0.5);

    // On the page, with level 1-1 done, the game is in progress: Escape, then back.
    EXPECT_TRUE(game->isGameInProgress());
    uitest::typeKey(SDLK_ESCAPE);
    app->runFrames(1);
    EXPECT_EQ(app->getMainMenu(), app->getCurrentScreen());
    EXPECT_TRUE(app->getMainMenu()->getButton(MainMenuScreen::kSaveGame)->isEnabled());
    app->returnToGame();
    EXPECT_EQ(game, app->getCurrentScreen());
}

TEST_F(GameScreenTest, ANewGameLeftBeforeItsFirstLevelIsNotInProgress)
{
    uitest::typeKey(SDLK_ESCAPE);
    app->runFrames(1);
    EXPECT_EQ(app->getMainMenu(), app->getCurrentScreen());
    EXPECT_FALSE(app->getMainMenu()->getButton(MainMenuScreen::kReturnToGame)->isEnabled());
    app->returnToGame();
    EXPECT_EQ(app->getMainMenu(), app->getCurrentScreen());
}

TEST_F(GameScreenTest, SavedGamesThatCannotBeWrittenOrReadFail)
{
    EXPECT_EQ(-1, game->saveGame("gs_no_such_dir/save1.dat"));
    EXPECT_TRUE(testsupport::logContains("Failed to open filename for save: gs_no_such_dir/save1.dat"));

    // No page 9.
    testsupport::writeText("gs_bad_page.dat", "9 0 0 0 0 0 0 0 ");
    EXPECT_EQ(-1, game->restoreGame("gs_bad_page.dat"));
    EXPECT_EQ(1, game->getPageIndex());

    // A saved level whose file is gone: no level is left to run.
    ASSERT_EQ(0, game->newGame());
    testsupport::writeText("gs_gone.dat", "1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 none 0 0 0 0 0 1 gs_gone.xml 1 0 0 ");
    EXPECT_NE(0, game->restoreGame("gs_gone.dat"));
    EXPECT_TRUE(testsupport::logContains("Failed to restore save game for level"));
    EXPECT_EQ(nullptr, game->getLevel());
    EXPECT_FALSE(game->isGameInProgress());
}

}  // namespace gametest

namespace gametest {

TEST_F(GameScreenTest, TheLastLifeEndingInsideAFrameShowsTheHighScoresInThatFrameWithTheLevelGone)
{
    play("gs_plain.xml");
    game->getPlayer()->setLives(1);
    game->getPlayer()->setScore(987654);
    // As a hazard would: the hero dies and drops out of the room.
    game->getPlayer()->die();
    game->getPlayer()->setVerticalSpeed(630);

    bool seen = false;
    Shot frame;
    Level* endedThen = nullptr;
    Level* levelThen = nullptr;
    app->afterFrame = [&](int) {
        if (seen || app->getCurrentScreen() != app->getHighScoreScreen()) return;
        seen = true;
        frame = readFrame();
        endedThen = game->getEndedLevel();
        levelThen = game->getLevel();
    };
    for (int i = 0; i < 300 && !seen; ++i) app->runFrames(1, 30);
    app->afterFrame = nullptr;
    ASSERT_TRUE(seen) << "the hero never finished dying";
    EXPECT_EQ(nullptr, levelThen);
    EXPECT_EQ(nullptr, endedThen);
    EXPECT_EQ(0, game->getPlayer()->getLives());
    EXPECT_TRUE(window->isCursorShown());
    writePng((home / ShotDir / (testName() + "_high_scores.png")).string(), frame);
    // Drawn over the backdrop in the very frame in which the game ended.
    EXPECT_GT(frame.share(0, 0, 80, 600, pictureColour("menu_background2.pcx")), 0.3);
    // The best score of all: the first row waits for the name.
    EXPECT_EQ("987654", app->getHighScoreScreen()->getPointsBox(0)->getText());
    EXPECT_TRUE(app->getHighScoreScreen()->getNameBox(0)->hasFocus());
    EXPECT_DOUBLE_EQ(512.0, currentZoom(window));
}

}  // namespace gametest
