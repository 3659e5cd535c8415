// The application: the options file, start-up, the screens it switches between, the
// frame under menus and in the game, and the games it saves and loads.

#include "Application/GameHarness.h"

#include <sstream>

#include "Application/GameScreen.h"
#include "Application/HighScoreScreen.h"
#include "Application/LoadScreen.h"
#include "Application/MainMenuScreen.h"
#include "Application/MenuBackdrop.h"
#include "Application/OptionScreen.h"
#include "Application/SlideShowScreen.h"
#include "Application/TutorialScreen.h"
#include "Application/PageScreen1.h"
#include "Application/SaveScreen.h"
#include "Base/Gph/GphRect.h"
#include "Base/Snd/SndMusic.h"
#include "Base/Ui/UiTextBox.h"
#include "Common/Level.h"
#include "Common/PdaPanel.h"
#include "Kovo/Player.h"

namespace gametest {

namespace {

constexpr double MenuZoom = 512.0;

std::string optionsOf(const std::string& text)
{
    std::istringstream in(text);
    KovoApplication::Options o;
    KovoApplication::readOptions(in, o);
    return std::string() + (o.fullscreen ? "1" : "0") + (o.scoreBox ? "1" : "0") + (o.music ? "1" : "0") +
           (o.soundEffects ? "1" : "0");
}

}  // namespace

TEST(KovoOptions, ValuesReadInOrderAndAnUnreadableOneKeepsItselfAndTheRestOn)
{
    EXPECT_EQ("1111", optionsOf("1 1 1 1 \n"));
    EXPECT_EQ("0101", optionsOf("0 1 0 1 \n"));
    EXPECT_EQ("0010", optionsOf("0\n0\t\t1   0"));
    EXPECT_EQ("0111", optionsOf("0"));
    EXPECT_EQ("1111", optionsOf(""));
    // A failed read would store false: it must not switch an option off.
    EXPECT_EQ("1111", optionsOf("x 0 0 0"));
    EXPECT_EQ("0111", optionsOf("0 2 0 0"));
    EXPECT_EQ("0011", optionsOf("0 0 on 0"));
    EXPECT_EQ("0001", optionsOf("0 0 0 1 0 0 junk"));
}

TEST_F(GameTest, MissingOptionsFileMeansEverythingOnIncludingFullScreen)
{
    std::filesystem::remove(KovoApplication::kConfigFileName);
    const KovoApplication::Options o = KovoApplication::readConfig();
    EXPECT_TRUE(o.fullscreen);
    EXPECT_TRUE(o.scoreBox);
    EXPECT_TRUE(o.music);
    EXPECT_TRUE(o.soundEffects);
}

TEST_F(GameTest, StartUpShowsTheTitleFirstThenBuildsEveryScreenAndAppliesTheOptions)
{
    options = "0 0 0 1 \n";
    testsupport::writeText(KovoApplication::kConfigFileName, options);
    start();
    // One frame, the title over the backdrop, before the other screens were built; the title
    // cannot be left before start-up is over.
    EXPECT_FALSE(app->startupMenuBuilt);
    EXPECT_EQ(app->getTitleScreen(), app->startupScreen);
    EXPECT_FALSE(app->startupContinueShown);
    EXPECT_GT(app->startupFrame.shareAround(MenuZoom, 0, 250, 300, 60, pictureColour("title_overlay.pcx")), 0.9);
    EXPECT_GT(app->startupFrame.share(0, 0, 80, 600, pictureColour("menu_background2.pcx")), 0.3);

    EXPECT_EQ(app->getTitleScreen(), app->getCurrentScreen());
    EXPECT_TRUE(app->getTitleScreen()->getContinueButton()->isVisible());
    for (const void* built : {static_cast<const void*>(app->getSoundManager()),
                              static_cast<const void*>(app->getBackdrop()), static_cast<const void*>(app->getMainMenu()),
                              static_cast<const void*>(app->getGameScreen()),
                              static_cast<const void*>(app->getOptionScreen()),
                              static_cast<const void*>(app->getTutorialScreen()),
                              static_cast<const void*>(app->getSlideShowScreen()),
                              static_cast<const void*>(app->getHighScoreScreen()),
                              static_cast<const void*>(app->getSaveScreen()),
                              static_cast<const void*>(app->getLoadScreen())})
        EXPECT_NE(nullptr, built);
    EXPECT_EQ(std::string(KovoApplication::kCaption), window->getCaption());
    EXPECT_TRUE(testsupport::logContains("Initialized."));

    EXPECT_FALSE(app->getGameScreen()->isScoreBoxShown());
    EXPECT_FALSE(SndMusic::isEnabled());
    EXPECT_TRUE(SndSoundEffect::isEnabled());
}

TEST_F(GameTest, OptionsFileWithABadValueKeepsThatOneAndTheRestOn)
{
    options = "0 yes 0 0\n";
    testsupport::writeText(KovoApplication::kConfigFileName, options);
    start();
    EXPECT_TRUE(app->getGameScreen()->isScoreBoxShown());
    EXPECT_TRUE(SndMusic::isEnabled());
    EXPECT_TRUE(SndSoundEffect::isEnabled());
}

TEST_F(GameTest, SavedOptionsAreWrittenAsDigitsAndTakeEffectAtTheNextStart)
{
    start();
    app->showHighScores();
    app->saveConfig(false, false, false, true);
    EXPECT_EQ(app->getMainMenu(), app->getCurrentScreen());
    EXPECT_EQ("0 0 0 1 \n", testsupport::readText(KovoApplication::kConfigFileName));

    stop();
    start();
    EXPECT_FALSE(app->getGameScreen()->isScoreBoxShown());
    EXPECT_FALSE(SndMusic::isEnabled());
    EXPECT_TRUE(SndSoundEffect::isEnabled());

    // A file that cannot be written: the options hold for this run, nothing breaks.
    std::filesystem::remove(KovoApplication::kConfigFileName);
    std::filesystem::create_directory(KovoApplication::kConfigFileName);
    app->showLoadScreen();
    app->saveConfig(false, true, true, true);
    EXPECT_EQ(app->getMainMenu(), app->getCurrentScreen());
    EXPECT_TRUE(std::filesystem::is_directory(KovoApplication::kConfigFileName));
}

TEST_F(GameTest, ScreensSwitchByAssignmentAndGameOnlyOperationsWaitForAGame)
{
    start();
    MainMenuScreen* menu = app->getMainMenu();
    app->showMainMenu();
    EXPECT_EQ(menu, app->getCurrentScreen());
    app->showLoadScreen();
    EXPECT_EQ(app->getLoadScreen(), app->getCurrentScreen());
    app->returnFromLoadScreen();
    EXPECT_EQ(menu, app->getCurrentScreen());
    app->showHighScores();
    EXPECT_EQ(app->getHighScoreScreen(), app->getCurrentScreen());
    app->returnFromHighScores();
    EXPECT_EQ(menu, app->getCurrentScreen());

    app->showOptions();
    EXPECT_EQ(static_cast<UiWindow*>(app->getOptionScreen()), app->getCurrentScreen());
    app->showTutorial();
    app->showMovesSlides();
    EXPECT_EQ(static_cast<UiWindow*>(app->getSlideShowScreen()), app->getCurrentScreen());
    app->returnFromSlideShow();
    EXPECT_EQ(static_cast<UiWindow*>(app->getTutorialScreen()), app->getCurrentScreen());
    app->returnFromTutorial();
    EXPECT_EQ(menu, app->getCurrentScreen());

    // Without a game: no save screen, no way back into one.
    EXPECT_FALSE(app->isGameInProgress());
    for (auto operation : {&KovoApplication::showSaveScreen, &KovoApplication::returnToGame}) {
        (app->*operation)();
        EXPECT_EQ(menu, app->getCurrentScreen());
    }
    EXPECT_EQ(-1, app->saveGame("save1.dat", 1, "NOTHING"));
    EXPECT_FALSE(std::filesystem::exists("save1.dat"));

    app->startNewGame();
    EXPECT_EQ(app->getGameScreen(), app->getCurrentScreen());
    EXPECT_NE(nullptr, app->getGameScreen()->getPlayer());

    // Exit: the main loop ends at its next pass.
    app->exitGame();
    app->run();
    SUCCEED();
}

TEST_F(GameTest, EventsReachOnlyTheCurrentScreenAndTheBackdropMovesOnlyUnderMenus)
{
    start();
    app->showMainMenu();
    HighScoreScreen* scores = app->getHighScoreScreen();
    UiButton* scoresReturn = scores->getReturnButton();
    UiButton* exitButton = app->getMainMenu()->getButton(MainMenuScreen::kExit);
    // The high-score screen's return button, not current: the pointer over it lights it not.
    uitest::pushMotion(scoresReturn->getX(), scoresReturn->getY());
    app->runFrames(2);
    EXPECT_FALSE(scoresReturn->isLit());
    uitest::pushMotion(exitButton->getX(), exitButton->getY());
    app->runFrames(2);
    EXPECT_TRUE(exitButton->isLit());

    app->showHighScores();
    uitest::pushMotion(scoresReturn->getX(), scoresReturn->getY());
    app->runFrames(2);
    EXPECT_TRUE(scoresReturn->isLit());

    // The backdrop sinks under a menu and stands still under the game.
    GphRect* strip = app->getBackdrop()->getStrips().front();
    double y = strip->getCoord()->getY();
    app->runFrames(5, 30);
    EXPECT_NE(y, strip->getCoord()->getY());
    app->startNewGame();
    y = strip->getCoord()->getY();
    app->runFrames(5, 30);
    EXPECT_EQ(y, strip->getCoord()->getY());
    // A redraw passes no time at all.
    app->showMainMenu();
    y = strip->getCoord()->getY();
    app->redraw();
    EXPECT_EQ(y, strip->getCoord()->getY());
}

TEST_F(GameTest, AFailedLoadKeepsTheViewAndTheLoadScreen)
{
    start();
    app->showLoadScreen();
    window->getCamera()->setPosition(ShpCoord(123, 45, 0));
    EXPECT_EQ(-1, app->loadGame("save5.dat"));
    EXPECT_EQ(app->getLoadScreen(), app->getCurrentScreen());
    EXPECT_DOUBLE_EQ(123.0, window->getCamera()->getPosition()->getX());
    EXPECT_DOUBLE_EQ(45.0, window->getCamera()->getPosition()->getY());
    EXPECT_DOUBLE_EQ(MenuZoom, currentZoom(window));
    EXPECT_TRUE(testsupport::logContains("Failed to load save game file: save5.dat"));
}

TEST_F(GameTest, AGameSavedOnAPageLoadsBackOntoThatPage)
{
    start();
    app->startNewGame();
    GameScreen* game = app->getGameScreen();
    // Level 1-1 done: the game counts as in progress between levels.
    game->onLevelFinished("level1-1.xml", 1);
    game->getPlayer()->setScore(1234);
    game->getPlayer()->setGrenades(9);
    ASSERT_TRUE(app->isGameInProgress());
    ASSERT_EQ(0, app->saveGame("save2.dat", 2, "ON A PAGE"));
    EXPECT_EQ("ON A PAGE", app->getLoadScreen()->getSlotBox(2)->getText());
    // The page index, page 1's values, the panels and no level.
    const std::string saved = testsupport::readText("save2.dat");
    EXPECT_EQ(0u, saved.find("1 1 0 0 0 0 0 0 "));
    EXPECT_NE(std::string::npos, saved.find(" 0 <PLAYER>"));

    app->startNewGame();
    EXPECT_FALSE(app->isGameInProgress());
    app->showLoadScreen();
    ASSERT_EQ(0, app->loadGame("save2.dat"));
    EXPECT_EQ(game, app->getCurrentScreen());
    EXPECT_EQ(nullptr, game->getLevel());
    EXPECT_TRUE(game->getPage1()->isFirstLevelDone());
    EXPECT_EQ(1234, game->getPlayer()->getScore());
    EXPECT_EQ(9, game->getPlayer()->getGrenades());
    EXPECT_TRUE(app->isGameInProgress());
}

TEST_F(GameTest, AGameSavedInALevelResumesItWhereTheCameraWasLeft)
{
    start();
    app->startNewGame();
    GameScreen* game = app->getGameScreen();
    game->loadLevel("level1-1.xml");
    ASSERT_NE(nullptr, game->getLevel());
    app->runFrames(2);
    window->getCamera()->setPosition(ShpCoord(480, 310, 0));
    uitest::typeKey(SDLK_ESCAPE);
    app->runFrames(1);
    ASSERT_EQ(app->getMainMenu(), app->getCurrentScreen());
    ASSERT_EQ(0, app->saveGame("save3.dat", 3, "IN A LEVEL"));
    EXPECT_NE(std::string::npos, testsupport::readText("save3.dat").find(" 1 level1-1.xml"));

    // Loading while that level still runs replaces the whole game.
    app->showLoadScreen();
    ASSERT_EQ(0, app->loadGame("save3.dat"));
    EXPECT_EQ(game, app->getCurrentScreen());
    ASSERT_NE(nullptr, game->getLevel());
    EXPECT_TRUE(game->getLevel()->isRunning());
    EXPECT_FALSE(game->getLevel()->isPaused());
    EXPECT_DOUBLE_EQ(480.0, window->getCamera()->getPosition()->getX());
    EXPECT_DOUBLE_EQ(310.0, window->getCamera()->getPosition()->getY());
    EXPECT_DOUBLE_EQ(480.0, game->getKeptCameraX());
    EXPECT_FALSE(window->isCursorShown());
    EXPECT_EQ(game->getLevel()->treasureCount(), game->getPdaPanel()->getTotal());
}

}  // namespace gametest
