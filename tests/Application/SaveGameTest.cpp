// Saved games and high scores of the whole game: a game saved, loaded into a program built
// anew and saved again gives the same file byte for byte, on a chapter page and in the
// middle of a level full of props, items and thugs; saves that cannot be written keep the
// slot's old game; cut or corrupt saves fail and leave no half-restored game behind; a
// name typed for a high score outlives the program; and the built program itself loads and
// saves through its menus, driven by keys and the pointer sent through the X server.

#include "Application/GameHarness.h"

#include <X11/keysym.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "Application/GameScreen.h"
#include "Application/HighScoreScreen.h"
#include "Application/LoadScreen.h"
#include "Application/MainMenuScreen.h"
#include "Application/PageScreen1.h"
#include "Application/SaveIndex.h"
#include "Application/SaveScreen.h"
#include "Base/App/Globals.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiTextBox.h"
#include "Common/HighScoreTable.h"
#include "Common/Level.h"
#include "Common/Map.h"
#include "Common/PdaPanel.h"
#include "Common/Score.h"
#include "Kovo/Character.h"
#include "Kovo/Player.h"

#include "support/GameProgram.h"

namespace gametest {

namespace {

namespace fs = std::filesystem;
typedef std::vector<unsigned char> Bytes;

// Two rooms. The first holds an opening panel, parallax decoration, a lift, a locked door
// with its lever, a crate at rest and one in the air, a hammer, a free spinning hazard,
// treasure and shoes on the hero's way, a hint, a thug who carries a coin and one on guard.
const char* const RoomsLevel =
    "<LEVEL>\n"
    "<OBJECTIVE> objective1-3.pcx </OBJECTIVE>\n"
    "<PLAYER_X> 200 </PLAYER_X> <PLAYER_Y> 40 </PLAYER_Y>\n"
    "<CAMERA_X> 400 </CAMERA_X> <CAMERA_Y> 300 </CAMERA_Y>\n"
    "<INITIAL_MAP> 1 </INITIAL_MAP>\n"
    "<MAP>\n"
    "  <MAP_ID> 1 </MAP_ID> <MAP_WIDTH> 2400 </MAP_WIDTH> <MAP_HEIGHT> 800 </MAP_HEIGHT>\n"
    "  <GRAVITY> 2000 </GRAVITY>\n"
    "  <IMAGE> 1 yard_sky.jpg 0 </IMAGE>\n"
    "  <IMAGE> 2 yard_hills.pcx 1 </IMAGE>\n"
    "  <IMAGE> 3 platform.pcx 1 </IMAGE>\n"
    "  <ANIMATION> 4 100 2 door_locked.pcx door_open.pcx </ANIMATION>\n"
    "  <IMAGE> 5 crate.pcx 1 </IMAGE>\n"
    "  <IMAGE> 6 spikes.pcx 1 </IMAGE>\n"
    "  <IMAGE> 7 hammer_head.pcx 1 </IMAGE>\n"
    "  <BACKDROP> 400 300 800 600 1 </BACKDROP>\n"
    "  <LAYER3_OBJECT> 600 200 400 200 2 </LAYER3_OBJECT>\n"
    "  <LAYER9_OBJECT> 900 100 200 100 2 </LAYER9_OBJECT>\n"
    "  <FLOOR> <BARRIER> <EDGES> 0 2400 40 0 </EDGES> <OFFSET> 40 </OFFSET> </BARRIER> </FLOOR>\n"
    "  <CEILING> <BARRIER> <EDGES> 0 2400 800 760 </EDGES> </BARRIER> </CEILING>\n"
    "  <CUTSCENE> <DIALOGUE> intro1-1_a.pcx 400 350 </DIALOGUE> </CUTSCENE>\n"
    "  <PLATFORM> <ANIMATION> 3 </ANIMATION> <LOCATION> 700 110 120 20 </LOCATION>\n"
    "    <FLOOR> <BARRIER> <EDGES> 640 760 120 90 </EDGES> <OFFSET> 30 </OFFSET> </BARRIER> </FLOOR>\n"
    "    <WAYPOINTS> 2 700 110 700 300 </WAYPOINTS> <ID> 3 </ID>\n"
    "  </PLATFORM>\n"
    "  <DOOR> 2200 10 80 100 2 120 40 <ANIMATION> 4 </ANIMATION> <LOCKED> 1 </LOCKED> <ID> 7 </ID> </DOOR>\n"
    "  <SWITCH> 2000 90 40 40 7 1 </SWITCH>\n"
    "  <OBSTACLE> <ANIMATION> 5 </ANIMATION> <FALL_SOUND> obstacle_fall.wav </FALL_SOUND>\n"
    "    <CRASH_SOUND> obstacle_crash.wav </CRASH_SOUND> <PUSH_SOUND> obstacle_push.wav </PUSH_SOUND>\n"
    "    <LOCATION> 1500 70 80 80 </LOCATION> <PROPERTIES> 1 0 5 0 </PROPERTIES>\n"
    "    <FLOOR> <BARRIER> <EDGES> 1460 1540 110 80 </EDGES> <OFFSET> 30 </OFFSET> </BARRIER> </FLOOR>\n"
    "    <WALL> <BARRIER> <EDGES> 1460 1540 110 30 </EDGES> </BARRIER> </WALL>\n"
    "  </OBSTACLE>\n"
    "  <OBSTACLE> <ANIMATION> 5 </ANIMATION> <FALL_SOUND> obstacle_fall.wav </FALL_SOUND>\n"
    "    <CRASH_SOUND> obstacle_crash.wav </CRASH_SOUND> <PUSH_SOUND> obstacle_push.wav </PUSH_SOUND>\n"
    "    <LOCATION> 1700 600 80 80 </LOCATION> <PROPERTIES> 0 0 9 0 </PROPERTIES>\n"
    "    <FLOOR> <BARRIER> <EDGES> 1660 1740 640 610 </EDGES> <OFFSET> 30 </OFFSET> </BARRIER> </FLOOR>\n"
    "    <WALL> <BARRIER> <EDGES> 1660 1740 640 560 </EDGES> </BARRIER> </WALL>\n"
    "  </OBSTACLE>\n"
    "  <HAMMER> <ANIMATION> 7 </ANIMATION> <LOCATION> 1100 400 80 80 400 150 </LOCATION>\n"
    "    <HAZARD> <ANIMATION> 6 </ANIMATION> <LOCATION> 1100 360 80 20 </LOCATION> </HAZARD> <ID> 9 </ID>\n"
    "  </HAMMER>\n"
    "  <HAZARD> <ANIMATION> 6 </ANIMATION> <LOCATION> 2300 500 40 40 </LOCATION> <ROTATION> 90 </ROTATION> </HAZARD>\n"
    "  <ITEM> 0 300 60 </ITEM>\n"
    "  <ITEM> 4 340 60 3 </ITEM>\n"
    "  <ITEM> 7 380 60 </ITEM>\n"
    "  <ITEM> 14 420 60 </ITEM>\n"
    "  <ITEM> 6 1300 60 intro1-1_b.pcx objective1-4.pcx </ITEM>\n"
    "  <ITEM> 10 1350 60 </ITEM>\n"
    "  <CHARACTER> 1 950 40 1 1 850 1050 0 </CHARACTER>\n"
    "  <CHARACTER> 1 1850 40 2 0 1780 1950 2 </CHARACTER>\n"
    "</MAP>\n"
    "<MAP>\n"
    "  <MAP_ID> 2 </MAP_ID> <MAP_WIDTH> 800 </MAP_WIDTH> <MAP_HEIGHT> 600 </MAP_HEIGHT>\n"
    "  <GRAVITY> 2000 </GRAVITY>\n"
    "  <ANIMATION> 1 100 2 door_locked.pcx door_open.pcx </ANIMATION>\n"
    "  <FLOOR> <BARRIER> <EDGES> 0 800 40 0 </EDGES> <OFFSET> 40 </OFFSET> </BARRIER> </FLOOR>\n"
    "  <DOOR> 120 10 80 100 1 2200 40 <ANIMATION> 1 </ANIMATION> </DOOR>\n"
    "  <ITEM> 3 400 60 </ITEM>\n"
    "  <EXIT> 1 700 800 140 40 </EXIT>\n"
    "</MAP>\n"
    "</LEVEL>\n";

const char* const RoomsFile = "sg_rooms.xml";
// The blocks of chapter pages 2 to 5 of a game that has not got there: done flags, key level
// counts and bonus flags all 0.
const std::string kLaterPagesUntouched = "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 ";
constexpr double MenuZoom = 512.0;

std::string text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Where each whitespace-separated token of a saved game begins.
std::vector<size_t> tokenStarts(const std::string& saved)
{
    std::vector<size_t> starts;
    for (size_t i = 0; i < saved.size(); ++i)
        if (!std::isspace(static_cast<unsigned char>(saved[i])) &&
            (i == 0 || std::isspace(static_cast<unsigned char>(saved[i - 1]))))
            starts.push_back(i);
    return starts;
}

bool isNumber(const std::string& token)
{
    return !token.empty() && token.find_first_not_of("-+.0123456789e") == std::string::npos;
}

}  // namespace

class SaveGameTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        testsupport::writeText(RoomsFile, RoomsLevel);
    }

    // The program ends as the entry point ends it: every screen and game object goes, and
    // with them every picture and texture in the program-wide registries. Then it starts
    // again.
    void restart()
    {
        stop();
        EXPECT_TRUE(GphImageCache.empty());
        EXPECT_TRUE(GphTextureIdMap.empty());
        EXPECT_TRUE(GphTextureRefCounts.empty());
        start();
    }

    // Frames of the game with a fixed step.
    void frames(int count, unsigned ms = 20) { app->runFrames(count, ms); }
    void hold(SDLKey key, bool down)
    {
        uitest::pushKey(key, down);
        frames(1);
    }

    GameScreen* game() const { return app->getGameScreen(); }
    Map* room() const { return game()->getLevel()->getCurrentMap(); }

    // The rooms level played for a while after level 1-1: the opening panel sent away, the
    // first thug put to sleep (he drops his coin), the hero walking over the treasure and
    // the shoes, then in the air after a jump, the lift and the hammer on their way, a crate
    // falling.
    void playRooms()
    {
        app->startNewGame();
        game()->onLevelFinished("level1-1.xml", 1);
        game()->loadLevel(RoomsFile);
        ASSERT_NE(nullptr, game()->getLevel());
        frames(2);
        ASSERT_NE(nullptr, room()->getShownHint());
        uitest::typeKey(SDLK_a);
        frames(2);
        ASSERT_EQ(nullptr, room()->getShownHint());

        Character* sleeper = room()->getCharacters().front();
        sleeper->fallAsleep();
        hold(SDLK_RIGHT, true);
        frames(40, 30);
        hold(SDLK_RIGHT, false);
        hold(SDLK_LCTRL, true);
        frames(3);
        hold(SDLK_LCTRL, false);
        frames(2, 17);

        ASSERT_GT(room()->getShoesTime(), 0);
        ASSERT_GT(game()->getPlayer()->getScore(), 0);
        ASSERT_GT(game()->getPlayer()->getY(), 60.0) << "in the air";
        ASSERT_TRUE(sleeper->isAsleep());
        ASSERT_EQ(-1, sleeper->getCarriedItem());
        ASSERT_GT(room()->getItems().size(), room()->getFileItemCount());
    }
    // Escape from the level to the main menu (the camera kept), then a save in the slot.
    void leaveAndSave(int slot, const std::string& name)
    {
        uitest::typeKey(SDLK_ESCAPE);
        frames(1);
        ASSERT_EQ(app->getMainMenu(), app->getCurrentScreen());
        ASSERT_EQ(0, app->saveGame(SaveIndex::slotFileName(slot), slot, name));
    }
    // A new game between levels: level 1-1 done, no objective ever set.
    void playToThePage()
    {
        app->startNewGame();
        game()->onLevelFinished("level1-1.xml", 1);
        frames(1);
        game()->getPlayer()->setScore(4321);
        game()->getPlayer()->setGrenades(7);
        game()->getPlayer()->setLives(2);
        ASSERT_TRUE(app->isGameInProgress());
    }

    // A load that must fail: it leaves the load screen current and no game at all.
    void expectLoadFails(const std::string& saved, const std::string& what)
    {
        testsupport::writeText("save4.dat", saved);
        app->showLoadScreen();
        EXPECT_EQ(-1, app->loadGame("save4.dat")) << what;
        EXPECT_EQ(app->getLoadScreen(), app->getCurrentScreen()) << what;
        EXPECT_FALSE(app->isGameInProgress()) << what;
        EXPECT_EQ(nullptr, game()->getPlayer()) << what;
        EXPECT_EQ(nullptr, game()->getLevel()) << what;
    }
};

TEST_F(SaveGameTest, ALevelInFullSwingSavedLoadedInANewRunAndSavedAgainIsTheSameFile)
{
    start();
    ASSERT_NO_FATAL_FAILURE(playRooms());
    const double keptX = window->getCamera()->getPosition()->getX();
    ASSERT_NO_FATAL_FAILURE(leaveAndSave(1, "FIRST"));
    const std::string first = text(testsupport::readFile("save1.dat"));
    // Level 1-1 done on the page, the dropped coin and the sleeper's empty hands are in it.
    EXPECT_EQ(0u, first.find("1 1 0 0 0 0 0 0 " + kLaterPagesUntouched + "objective1-3.pcx 3 2 66 "));
    EXPECT_NE(std::string::npos, first.find("<CARRIED> -1 2 </CARRIED> <DROPPED> 1 0 "));

    restart();
    app->showLoadScreen();
    ASSERT_EQ(0, app->loadGame("save1.dat"));
    ASSERT_EQ(game(), app->getCurrentScreen());
    ASSERT_NE(nullptr, game()->getLevel());
    EXPECT_TRUE(game()->getLevel()->isRunning());
    EXPECT_EQ(1, room()->getId());
    EXPECT_TRUE(room()->getCharacters().front()->isAsleep());
    EXPECT_GT(room()->getShoesTime(), 0);
    EXPECT_DOUBLE_EQ(keptX, window->getCamera()->getPosition()->getX());
    EXPECT_EQ(3, game()->getPdaPanel()->getTotal()) << "the level's own treasure, not the dropped coin";
    ASSERT_EQ(0, app->saveGame("save2.dat", 2, "SECOND"));
    EXPECT_EQ(first, text(testsupport::readFile("save2.dat")));

    // The loaded game plays on.
    frames(20);
    EXPECT_DOUBLE_EQ(40.0, game()->getPlayer()->getY()) << "landed";
}

// The game's own levels with what the rooms above lack, a one-way bridge among its lifts and
// the actors of their side rooms: played a little, saved, loaded and saved again.
TEST_F(SaveGameTest, AChapterLevelSavedLoadedAndSavedAgainGivesTheSameFile)
{
    start();
    for (const char* file : {"level1-2.xml", "level1-3.xml"}) {
        SCOPED_TRACE(file);
        app->startNewGame();
        game()->loadLevel(file);
        ASSERT_NE(nullptr, game()->getLevel());
        frames(2);
        for (int i = 0; i < 5 && room()->getShownHint(); ++i) {
            uitest::typeKey(SDLK_a);
            frames(2);
        }
        hold(SDLK_RIGHT, true);
        frames(20, 30);
        hold(SDLK_RIGHT, false);
        ASSERT_NO_FATAL_FAILURE(leaveAndSave(1, "FIRST"));
        const std::string first = testsupport::readText("save1.dat");
        ASSERT_EQ(0, app->loadGame("save1.dat"));
        ASSERT_EQ(0, app->saveGame("save2.dat", 2, "SECOND"));
        EXPECT_EQ(first, testsupport::readText("save2.dat"));
    }
}

TEST_F(SaveGameTest, AGameOnAChapterPageSavedLoadedInANewRunAndSavedAgainIsTheSameFile)
{
    start();
    ASSERT_NO_FATAL_FAILURE(playToThePage());
    ASSERT_EQ(0, app->saveGame("save3.dat", 3, "PAGE"));
    const std::string first = text(testsupport::readFile("save3.dat"));
    // No objective yet: a token stands for the empty name.
    EXPECT_EQ(0u, first.find("1 1 0 0 0 0 0 0 " + kLaterPagesUntouched + "<NO_OBJECTIVE> 0 0 0 0 0 0 <PLAYER> 4321 "));

    restart();
    app->showLoadScreen();
    ASSERT_EQ(0, app->loadGame("save3.dat"));
    EXPECT_EQ(game(), app->getCurrentScreen());
    EXPECT_EQ(nullptr, game()->getLevel());
    EXPECT_EQ("", game()->getPdaPanel()->getObjective());
    EXPECT_TRUE(game()->getPage1()->isFirstLevelDone());
    EXPECT_EQ(2, game()->getPlayer()->getLives());
    EXPECT_TRUE(app->isGameInProgress());
    ASSERT_EQ(0, app->saveGame("save4.dat", 4, "PAGE AGAIN"));
    EXPECT_EQ(first, text(testsupport::readFile("save4.dat")));
}

// A game taken through every page by the levels that open the next one: saved on each page,
// and in a level of each chapter played a little, it loads and saves again byte for byte.
TEST_F(SaveGameTest, AGameSavedOnEveryPageAndInALevelOfEveryChapterLoadsAndSavesTheSameFile)
{
    const struct {
        // Finished on this page before it is saved, with their exit codes.
        std::vector<std::pair<const char*, int>> finished;
        // Played from the page, then saved in the middle.
        const char* level;
    } pages[] = {
        {{{"level1-1.xml", 1}, {"level1-2.xml", 1}, {"level1-5.xml", 2}, {"level1-4.xml", 1}}, "level1-4.xml"},
        {{{"level2-3.xml", 2}, {"level2-2.xml", 1}, {"level2-4.xml", 1}}, "level2-2.xml"},
        {{{"level3-1.xml", 1}, {"level3-3.xml", 1}, {"level3-6.xml", 1}}, "level3-1.xml"},
        {{{"level4-2.xml", 1}, {"level4-5.xml", 1}}, "level4-1.xml"},
        {{{"level5-1.xml", 1}, {"level5-3.xml", 2}, {"level5-5.xml", 1}}, "level5-4.xml"},
        {{}, nullptr},
    };
    start();
    app->startNewGame();
    auto sameAgain = [&](const std::string& what) {
        ASSERT_EQ(0, app->saveGame("save1.dat", 1, "FIRST")) << what;
        const std::string first = testsupport::readText("save1.dat");
        ASSERT_EQ(0, app->loadGame("save1.dat")) << what;
        ASSERT_EQ(0, app->saveGame("save2.dat", 2, "SECOND")) << what;
        EXPECT_EQ(first, testsupport::readText("save2.dat")) << what;
    };
    for (size_t index = 1; index <= 6; ++index) {
        const auto& page = pages[index - 1];
        for (const auto& level : page.finished) game()->onLevelFinished(level.first, level.second);
        frames(2);
        ASSERT_NO_FATAL_FAILURE(sameAgain("page " + std::to_string(index)));
        ASSERT_EQ(static_cast<int>(index), game()->getPageIndex());
        if (index == 6) {
            // The summary comes back with the picture of a game without chapter 5's bonus level.
            frames(1);
            EXPECT_GT(readFrame().shareAround(400, -125, -75, 300, 150, pictureColour("summary2.pcx")), 0.3);
        }
        const std::string onPage = testsupport::readText("save1.dat");
        if (page.level) {
            game()->loadLevel(page.level);
            ASSERT_NE(nullptr, game()->getLevel()) << page.level;
            frames(2);
            uitest::typeKey(SDLK_x);
            hold(SDLK_RIGHT, true);
            frames(50, 30);
            hold(SDLK_RIGHT, false);
            ASSERT_NO_FATAL_FAILURE(leaveAndSave(3, "LEVEL"));
            ASSERT_NO_FATAL_FAILURE(sameAgain(page.level));
            ASSERT_NE(nullptr, game()->getLevel()) << page.level;
            // Back to the page as it was saved.
            testsupport::writeText("save1.dat", onPage);
            ASSERT_EQ(0, app->loadGame("save1.dat"));
        }
        if (index < 6) {
            ASSERT_TRUE(game()->getChapterPage(static_cast<int>(index))->getButton(ChapterPage::kNextPage)->isEnabled());
            game()->nextPage();
        }
    }
}

TEST_F(SaveGameTest, ASaveThatCannotBeWrittenKeepsTheSlotsOldGame)
{
    start();
    ASSERT_NO_FATAL_FAILURE(playToThePage());
    ASSERT_EQ(0, app->saveGame("save1.dat", 1, "GOOD"));
    const Bytes good = testsupport::readFile("save1.dat");
    // Another game now, which must not reach the slot.
    game()->getPlayer()->setScore(98765);
    auto expectKept = [&](const std::string& what) {
        EXPECT_EQ(good, testsupport::readFile("save1.dat")) << what;
        EXPECT_EQ("GOOD", app->getLoadScreen()->getSlotBox(1)->getText()) << what;
    };

    // The file beside the slot's cannot be made: a folder has its name.
    ASSERT_TRUE(fs::create_directory("save1.dat.tmp"));
    EXPECT_EQ(-1, app->saveGame("save1.dat", 1, "FOLDER"));
    EXPECT_TRUE(testsupport::logContains("Failed to open filename for save: save1.dat"));
    expectKept("temporary name taken");
    fs::remove_all("save1.dat.tmp");

    // The disk fills up while the game is written.
    if (fs::exists("/dev/full")) {
        fs::create_symlink("/dev/full", "save1.dat.tmp");
        EXPECT_EQ(-1, app->saveGame("save1.dat", 1, "FULL"));
        EXPECT_TRUE(testsupport::logContains("Failed to write save game file: save1.dat"));
        expectKept("disk full");
        EXPECT_FALSE(fs::exists(fs::symlink_status("save1.dat.tmp"))) << "what was written is removed";
        EXPECT_TRUE(fs::is_character_file("/dev/full"));
    }

    // The slot's file cannot be replaced: a folder with something in it stands there.
    ASSERT_TRUE(fs::create_directories("save2.dat/inside"));
    EXPECT_EQ(-1, app->saveGame("save2.dat", 2, "BLOCKED"));
    EXPECT_FALSE(fs::exists("save2.dat.tmp"));
    EXPECT_TRUE(fs::is_directory("save2.dat/inside"));
    EXPECT_EQ(SaveIndex::kFreeSlot, app->getLoadScreen()->getSlotBox(2)->getText());

    // A folder that is a plain file.
    testsupport::writeText("sg_plain", "x");
    EXPECT_EQ(-1, game()->saveGame("sg_plain/save1.dat"));
    EXPECT_EQ("x", testsupport::readText("sg_plain"));

    // Once the way is clear the new game replaces the old one whole, nothing left beside it.
    ASSERT_EQ(0, app->saveGame("save1.dat", 1, "NEWER"));
    EXPECT_NE(std::string::npos, testsupport::readText("save1.dat").find("<PLAYER> 98765 "));
    EXPECT_FALSE(fs::exists(fs::symlink_status("save1.dat.tmp")));
    EXPECT_EQ("NEWER", app->getLoadScreen()->getSlotBox(1)->getText());
}

TEST_F(SaveGameTest, CutShortOrCorruptSavesFailAndLeaveNoGameBehind)
{
    start();
    ASSERT_NO_FATAL_FAILURE(playRooms());
    ASSERT_NO_FATAL_FAILURE(leaveAndSave(1, "LEVEL"));
    const std::string level = testsupport::readText("save1.dat");
    ASSERT_NO_FATAL_FAILURE(playToThePage());
    ASSERT_EQ(0, app->saveGame("save2.dat", 2, "PAGE"));
    const std::string page = testsupport::readText("save2.dat");

    // The pictures of the hero, the page and the rooms stay loaded between the attempts,
    // which would otherwise decode them all again each time.
    Player keeper(app);
    PageScreen1 keptPage(app, game());
    Level keptLevel(app, game(), &keeper);
    ASSERT_EQ(0, keptLevel.read(RoomsFile, false, false));

    // Cut after a spread of tokens of either game, the last ones of the level game included.
    const std::vector<size_t> pageTokens = tokenStarts(page);
    for (size_t n = 1; n < pageTokens.size(); n += 4)
        expectLoadFails(page.substr(0, pageTokens[n]), "page game cut before token " + std::to_string(n));
    const std::vector<size_t> levelTokens = tokenStarts(level);
    for (size_t n = 0; n < levelTokens.size(); n += (n + 8 >= levelTokens.size() ? 1 : 29))
        expectLoadFails(level.substr(0, levelTokens[n]), "level game cut before token " + std::to_string(n));

    // A value that does not read, anywhere in either game.
    for (const std::string* saved : {&page, &level}) {
        const std::vector<size_t> starts = tokenStarts(*saved);
        for (size_t n = 0; n < starts.size(); n += (saved == &page ? 4 : 23)) {
            const size_t end = saved->find_first_of(" \n", starts[n]);
            const std::string token = saved->substr(starts[n], end - starts[n]);
            if (!isNumber(token)) continue;
            std::string corrupt = *saved;
            corrupt.replace(starts[n], token.size(), "x");
            expectLoadFails(corrupt, "token " + std::to_string(n) + " (" + token + ") made unreadable");
        }
    }

    // Pages are 1 to 6; the hero's block is where the hero's block belongs.
    for (const char* index : {"0", "7", "-1"}) expectLoadFails(index + page.substr(1), std::string("page ") + index);
    std::string noHero = page;
    noHero.replace(noHero.find("<PLAYER>"), 8, "<PLAYERS>");
    expectLoadFails(noHero, "hero's tag");
    std::string noLevelFile = level;
    noLevelFile.replace(noLevelFile.find(RoomsFile), std::string(RoomsFile).size(), "sg_gone.xml");
    expectLoadFails(noLevelFile, "level file gone");

    // With nothing left of the failed game the menu offers neither a save nor the way back,
    // and the good slot cannot be overwritten.
    app->showMainMenu();
    frames(1);
    EXPECT_FALSE(app->getMainMenu()->getButton(MainMenuScreen::kSaveGame)->isEnabled());
    EXPECT_FALSE(app->getMainMenu()->getButton(MainMenuScreen::kReturnToGame)->isEnabled());
    app->returnToGame();
    EXPECT_EQ(app->getMainMenu(), app->getCurrentScreen());
    EXPECT_EQ(-1, app->saveGame("save2.dat", 2, "HALF"));
    EXPECT_EQ(page, testsupport::readText("save2.dat"));

    // The whole files still load.
    ASSERT_EQ(0, app->loadGame("save2.dat"));
    ASSERT_EQ(0, app->loadGame("save1.dat"));
    EXPECT_NE(nullptr, game()->getLevel());
}

TEST_F(SaveGameTest, AGameOverWithTheBestScoreTakesATypedNameThatOutlivesTheProgram)
{
    start();
    app->startNewGame();
    game()->loadLevel(RoomsFile);
    ASSERT_NE(nullptr, game()->getLevel());
    frames(1);
    uitest::typeKey(SDLK_a);
    frames(1);
    // The last life ends as a hazard would end it.
    game()->getPlayer()->setLives(1);
    game()->getPlayer()->setScore(987654);
    game()->getPlayer()->die();
    for (int i = 0; i < 300 && app->getCurrentScreen() != app->getHighScoreScreen(); ++i) frames(1, 30);
    ASSERT_EQ(app->getHighScoreScreen(), app->getCurrentScreen()) << "the hero never finished dying";
    HighScoreScreen* scores = app->getHighScoreScreen();
    ASSERT_TRUE(scores->getNameBox(0)->hasFocus());

    uitest::typeText("kovo");
    uitest::typeKey(SDLK_BACKSPACE);
    uitest::typeText("a t");
    uitest::typeKey(SDLK_RETURN);
    frames(3);
    EXPECT_EQ("KOVA T", scores->getTable().at(0)->getName());
    EXPECT_FALSE(scores->getNameBox(0)->hasFocus());
    // Escape leads back to the main menu.
    uitest::typeKey(SDLK_ESCAPE);
    frames(1);
    EXPECT_EQ(app->getMainMenu(), app->getCurrentScreen());

    restart();
    app->showHighScores();
    frames(1);
    scores = app->getHighScoreScreen();
    EXPECT_EQ("KOVA T", scores->getNameBox(0)->getText());
    EXPECT_EQ("987654", scores->getPointsBox(0)->getText());
    EXPECT_EQ("50000", scores->getPointsBox(1)->getText());
    EXPECT_EQ("10000", scores->getPointsBox(9)->getText());
    HighScoreTable file;
    ASSERT_EQ(0, file.read("scores.dat"));
    EXPECT_EQ("KOVA T", file.at(0)->getName());
}

// ---------------------------------------------------------------------------------------------
// The built program, started as a child process and driven through the X server.

namespace {

struct Place {
    int x = 0;
    int y = 0;
};

// Where a control of the menus' view stands in the window.
Place placeOf(const Sprite* control)
{
    return Place{uitest::pixelX(control->getX()), uitest::pixelY(control->getY())};
}

}  // namespace

TEST_F(SaveGameTest, TheBuiltProgramLoadsAndSavesThroughItsMenusByKeysAndPointer)
{
    const fs::path program = fs::absolute(home / ".." / ".." / "kovo");
    ASSERT_TRUE(fs::exists(program)) << "the game program is not built";

    // The games to load, made here: a level in full swing and a game between levels.
    start();
    ASSERT_NO_FATAL_FAILURE(playRooms());
    ASSERT_NO_FATAL_FAILURE(leaveAndSave(1, "LEVEL"));
    ASSERT_NO_FATAL_FAILURE(playToThePage());
    ASSERT_EQ(0, app->saveGame("save4.dat", 4, "PAGE"));
    const std::string level = testsupport::readText("save1.dat");
    const std::string page = testsupport::readText("save4.dat");
    // Where the menus' controls stand.
    const Place loadButton = placeOf(app->getMainMenu()->getButton(MainMenuScreen::kLoadGame));
    const Place saveButton = placeOf(app->getMainMenu()->getButton(MainMenuScreen::kSaveGame));
    const Place loadSlot1 = placeOf(app->getLoadScreen()->getSlotBox(1));
    const Place loadSlot2 = placeOf(app->getLoadScreen()->getSlotBox(2));
    const Place saveSlot3 = placeOf(app->getSaveScreen()->getSlotBox(3));
    const Place saveSlot5 = placeOf(app->getSaveScreen()->getSlotBox(5));
    stop();

    const fs::path dir = fs::absolute("sg_program");
    testsupport::makeDataFolder(dir.string());
    testsupport::writeText((dir / "config.dat").string(), "0 1 1 1 \n");
    testsupport::writeText((dir / RoomsFile).string(), RoomsLevel);
    testsupport::writeText((dir / "save1.dat").string(), level);
    // Slot 2 holds a game cut short inside its level.
    testsupport::writeText((dir / "save2.dat").string(), level.substr(0, level.size() / 2));
    testsupport::writeText((dir / "save4.dat").string(), page);
    testsupport::writeText((dir / "save_index.txt").string(),
                           "LEVEL @@@\nBROKEN @@@\n[EMPTY] @@@\nPAGE @@@\n[EMPTY] @@@\n");
    const fs::path log = dir / "ktlog.txt";
    auto logged = [&](const std::string& line) {
        return testsupport::readText(log.string()).find(line) != std::string::npos;
    };

    testsupport::GameProgram remote;
    ASSERT_TRUE(remote.start(program.string(), dir.string()));
    ASSERT_TRUE(remote.connect());

    // Title, main menu, load screen; the broken game fails and the load screen stays.
    remote.type(XK_a);
    remote.click(loadButton.x, loadButton.y);
    remote.click(loadSlot2.x, loadSlot2.y);
    EXPECT_TRUE(logged("Failed to restore save game for level"));
    // The level game loads from the same screen (on the main menu the same spot is the
    // new-game button, and no save could follow), and Escape comes with the release, before
    // any frame of the level passes: then the save screen puts it in the free slot 3.
    remote.move(loadSlot1.x, loadSlot1.y);
    remote.button(true, loadSlot1.x, loadSlot1.y);
    remote.frames();
    remote.button(false, loadSlot1.x, loadSlot1.y);
    remote.key(XK_Escape, true);
    remote.key(XK_Escape, false);
    remote.frames();
    remote.click(saveButton.x, saveButton.y);
    remote.click(saveSlot3.x, saveSlot3.y);
    remote.typeText("copy");
    remote.type(XK_Return);
    EXPECT_TRUE(fs::exists(dir / "save3.dat"));
    // Back to the main menu; the page game by keys on the load screen: the pointer moved off
    // every control leaves nothing lit, so the first Down lights the return button and the
    // next ones slots 1 to 4, all named now. Out again and saved by the pointer into slot 5.
    remote.type(XK_Escape);
    remote.click(loadButton.x, loadButton.y);
    remote.move(10, 10);
    for (int i = 0; i < 5; ++i) remote.type(XK_Down);
    remote.type(XK_Return);
    remote.type(XK_Escape);
    remote.click(saveButton.x, saveButton.y);
    remote.click(saveSlot5.x, saveSlot5.y);
    remote.typeText("again");
    remote.type(XK_Return);
    EXPECT_TRUE(fs::exists(dir / "save5.dat"));
    // Escape leaves the save screen, and on the main menu ends the program.
    remote.type(XK_Escape);
    remote.type(XK_Escape);
    EXPECT_EQ(0, remote.waitForExit(60));

    EXPECT_EQ(level, testsupport::readText((dir / "save3.dat").string()));
    EXPECT_EQ(page, testsupport::readText((dir / "save5.dat").string()));
    SaveIndex::Names names;
    ASSERT_EQ(0, SaveIndex::read((dir / "save_index.txt").string(), names));
    EXPECT_EQ((SaveIndex::Names{"LEVEL", "BROKEN", "COPY", "PAGE", "AGAIN"}), names);
    EXPECT_FALSE(fs::exists(dir / "save3.dat.tmp"));
}

}  // namespace gametest
