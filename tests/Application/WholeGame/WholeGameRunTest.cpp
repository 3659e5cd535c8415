// The whole game played as a player plays it, by key events and the pointer through the game's
// main loop on game time: from the title through every chapter page and all thirty levels (the
// bonus levels revealed by their exits) to the summary, whose end button sends the score to the
// high-score table, where the name typed outlives the program. The routes are data, in
// routes.txt beside this file, with the points where the run stops to look: the title, the
// menus and every page are shot and checked in pixels, level 1-1's score box, power-up bar and
// objective panel are read back from the shot, the game is saved after it and loaded back into
// a new game, and at the end the main menu's exit button closes the main loop.

#include "Application/GameHarness.h"
#include "Base/Ui/UiHarness.h"
#include "Common/RoutePilot.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "Application/ChapterPage.h"
#include "Application/GameScreen.h"
#include "Application/HighScoreScreen.h"
#include "Application/LoadScreen.h"
#include "Application/MainMenuScreen.h"
#include "Application/PageScreen1.h"
#include "Application/PageScreen6.h"
#include "Application/SaveScreen.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphRect.h"
#include "Base/Ui/UiTextBox.h"
#include "Common/HighScoreTable.h"
#include "Common/PdaPanel.h"
#include "Common/ScorePanel.h"
#include "Kovo/Character.h"
#include "Kovo/CharacterType.h"

namespace gametest {

namespace {

using routetest::Move;
using routetest::Pilot;
using routetest::Route;
typedef ChapterPage P;
constexpr double MenuZoom = 512.0;
constexpr double GameZoom = 400.0;
// Every pass of the main loop: the loop's longest frame, so that the run takes fewest passes.
constexpr unsigned FrameMs = 30;
// The game's randomness (thugs turning round) drawn the same way on every run.
constexpr unsigned Seed = 1234;

// The first row from the top of the view whose pixel in column x shows the colour; -1 for none.
int topRowOf(const Shot& shot, int x, const Rgb& colour)
{
    for (int y = 0; y < shot.height; ++y)
        if (near(shot.at(x, y), colour)) return y;
    return -1;
}

// A column of the backdrop's left edge, left of the title picture.
std::vector<Rgb> backdropColumn(const Shot& shot)
{
    std::vector<Rgb> column;
    for (int y = 0; y < shot.height; ++y) column.push_back(shot.at(40, y));
    return column;
}

class WholeGameTest : public GameTest {
protected:
    void frames(int count = 1) { app->runFrames(count, FrameMs); }
    void key(SDLKey sym)
    {
        uitest::typeKey(sym);
        frames(2);
    }
    void click(double zoom, const UiControl* control)
    {
        clickAt(zoom, control->getX(), control->getY());
        frames(2);
    }
    // Frames until `done` holds; false if it does not within `limit` of them.
    bool until(const std::function<bool()>& done, int limit = 300)
    {
        for (int i = 0; i < limit; ++i, frames())
            if (done()) return true;
        return false;
    }
    GameScreen* game() const { return app->getGameScreen(); }
    MainMenuScreen* menu() const { return app->getMainMenu(); }
    ChapterPage* page() const { return game()->getChapterPage(game()->getPageIndex()); }
    int room() const { return game()->getLevel()->getCurrentMap()->getId(); }

    // The checks that routes.txt names.
    std::map<std::string, std::function<void()>> checks;

    // The slot's button pressed, by the pointer or by Right until it is the one button lit and
    // Enter; the level must start, and the pilot takes the hero along the route to its exit.
    void play(const Route& route, bool byPointer)
    {
        SCOPED_TRACE(route.file);
        const P::Button slot = P::Button(route.slot - 1);
        ChapterPage* chapter = page();
        ASSERT_NE(nullptr, chapter);
        for (int tries = 0; !byPointer && tries < 12; ++tries) {
            int lit = 0;
            for (int b = P::kSlot1; b <= P::kPreviousPage; ++b)
                if (chapter->getButton(P::Button(b)) && chapter->getButton(P::Button(b))->isLit()) ++lit;
            if (lit == 1 && chapter->getButton(slot)->isLit()) break;
            key(SDLK_RIGHT);
        }
        if (byPointer)
            click(GameZoom, chapter->getButton(slot));
        else
            key(SDLK_RETURN);
        ASSERT_NE(nullptr, game()->getLevel());
        ASSERT_EQ(route.file, game()->getLevel()->getFileName());
        const int lives = game()->getPlayer()->getLives();
        static const SDLKey keys[] = {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_LCTRL, SDLK_SPACE, SDLK_x};
        Pilot pilot([this] { return game()->getLevel(); },
                    [](Pilot::Key key, bool down) { uitest::pushKey(keys[key], down); });
        pilot.fly(route.moves);
        auto check = route.checks.begin();
        // The exit reached, as the room holds it while the level ends.
        int exitCode = 0;
        for (int i = 0; i < Pilot::kMoveMs / int(FrameMs) && game()->getLevel(); ++i) {
            for (; check != route.checks.end() && check->first == pilot.at() && pilot.at() < route.moves.size(); ++check)
                ASSERT_NO_FATAL_FAILURE(checks.at(check->second)()) << check->second;
            const Map* room = game()->getLevel()->getCurrentMap();
            if (room && room->getExitTimer() > 0) exitCode = room->getExitCode();
            pilot.frame(FrameMs);
            frames();
        }
        ASSERT_EQ(nullptr, game()->getLevel()) << "not finished: hero at " << game()->getPlayer()->getX();
        EXPECT_EQ(route.exitCode, exitCode);
        EXPECT_GE(game()->getPlayer()->getLives(), lives) << "the hero died on the way";
        EXPECT_TRUE(chapter->isLevelDone(slot));
        if (route.exitCode == 2) {
            EXPECT_TRUE(chapter->isBonusShown());
        }
        for (; check != route.checks.end(); ++check) ASSERT_NO_FATAL_FAILURE(checks.at(check->second)()) << check->second;
    }
    // The page as it shows: its picture and title, the picture given, a check mark on each
    // finished slot.
    void expectPage(const std::string& step, const std::string& title, const std::string& picture, double x, double y)
    {
        frames(2);
        const Shot shot = shoot(step);
        EXPECT_GT(shot.share(0, 0, 800, 20, pictureColour(game()->getPageIndex() < 6 ? "page.pcx" : "summarypage.pcx")),
                  0.5)
            << step;
        EXPECT_GT(shot.shareAround(GameZoom, 0, 276, 300, 30, pictureColour(title)), 0.3) << step;
        EXPECT_GT(shot.shareAround(GameZoom, x, y, 60, 24, pictureColour(picture)), 0.3) << step;
        for (int s = P::kSlot1; page() && s <= P::kSlot6; ++s) {
            const UiButton* b = page()->getButton(P::Button(s));
            if (!page()->isLevelDone(P::Button(s))) continue;
            EXPECT_GT(shot.shareAround(GameZoom, b->getX() + 85, b->getY() + 80, 20, 20, pictureColour("check_mark2.pcx")),
                      0.3)
                << step << " slot " << s + 1;
        }
    }
    // A main menu button's picture, which reaches right of the button's place.
    void expectButton(const Shot& shot, int id, const std::string& picture)
    {
        const UiButton* b = menu()->getButton(id);
        EXPECT_GT(shot.shareAround(MenuZoom, b->getX() + 150, b->getY(), 100, 20, pictureColour(picture)), 0.5)
            << picture;
    }
    // A room of level 1-1 with its sky (or what covers the sky) at the top; the score box at
    // (-300, 250) from the camera, except while a hint (the level's opening panel) shows.
    void expectLevelDrawn(const Shot& shot, const char* sky = "yard_sky.jpg")
    {
        EXPECT_GT(shot.share(0, 0, 800, 30, pictureColour(sky)), 0.3);
        const double box = shot.shareAround(GameZoom, -300, 250, 150, 70, pictureColour("scorebox.pcx"));
        if (game()->getLevel()->hasHint()) {
            EXPECT_GT(shot.shareAround(GameZoom, 0, 150, 300, 100, pictureColour("intro1-1_a.pcx")), 0.3);
            EXPECT_LT(box, 0.05);
        } else {
            EXPECT_GT(box, 0.2);
        }
    }
    // The score box's numbers as the hero has them, read back from the digit pictures, and
    // under them the power-up bar, as long as the share of the running power-up's time left.
    double expectScoreBox(const Shot& shot)
    {
        const Player* hero = game()->getPlayer();
        EXPECT_EQ(std::to_string(hero->getScore()), numberAt(shot, 156, 19)) << "score";
        EXPECT_EQ(std::to_string(hero->getLives()), numberAt(shot, 79, 47)) << "lives";
        EXPECT_EQ(std::to_string(hero->getGrenades()), numberAt(shot, 156, 47)) << "grenades";
        const ScorePanel* panel = game()->getScorePanel();
        const double full = panel->getTimerMaximum() > 0
                                ? ScorePanel::kBarFullLength * panel->getTimerValue() / panel->getTimerMaximum()
                                : 0.0;
        // The bar's middle row, from the box's left end at pixel 30; its ends blend into the box.
        int bar = 0;
        const Rgb timer = pictureColour("timer.pcx");
        for (int x = 20; x < 190; ++x)
            if (near(shot.at(x, 77), timer)) ++bar;
        EXPECT_NEAR(full, bar, 4.0) << "power-up bar";
        return full;
    }
};

}  // namespace

TEST_F(WholeGameTest, FromTheTitleThroughEveryLevelToTheHighScoreTable)
{
    const std::vector<Route> routes = routetest::readRoutes();
    ASSERT_EQ(30u, routes.size());
    start();
    std::srand(Seed);
    frames();
    // The title over the backdrop, whose strips sink from frame to frame; any key leads on.
    ASSERT_EQ(app->getTitleScreen(), app->getCurrentScreen());
    Shot shot = shoot("title");
    EXPECT_GT(shot.shareAround(MenuZoom, 0, 250, 300, 60, pictureColour("title_overlay.pcx")), 0.9);
    EXPECT_GT(shot.share(0, 0, 80, 600, pictureColour("menu_background2.pcx")), 0.3);
    frames(10);
    EXPECT_NE(backdropColumn(shot), backdropColumn(shoot("title_later"))) << "the backdrop did not move";
    key(SDLK_a);
    // The main menu over the backdrop, with no game to return to; its start button starts one
    // on the chapter 1 page, in the game's view.
    ASSERT_EQ(menu(), app->getCurrentScreen());
    shot = shoot("main_menu");
    expectButton(shot, MainMenuScreen::kStartGame, "start_game_button.pcx");
    EXPECT_GT(shot.share(0, 0, 80, 600, pictureColour("menu_background2.pcx")), 0.3);
    EXPECT_FALSE(menu()->getButton(MainMenuScreen::kReturnToGame)->isEnabled());
    click(MenuZoom, menu()->getButton(MainMenuScreen::kStartGame));
    ASSERT_EQ(game(), app->getCurrentScreen());
    EXPECT_EQ(nullptr, game()->getLevel());
    EXPECT_DOUBLE_EQ(GameZoom, currentZoom(window));
    expectPage("page1", "page1_title.pcx", "chapter1_button.pcx", 0, 150);

    // Level 1-1, where its route stops. The level runs; Escape leaves it paused for the main
    // menu, whose return button resumes it.
    checks["start"] = [&] {
        ASSERT_NE(nullptr, game()->getLevel());
        EXPECT_TRUE(game()->getLevel()->isRunning());
        EXPECT_FALSE(game()->getLevel()->isPaused());
        Shot level = shoot("level1-1");
        expectLevelDrawn(level);
        EXPECT_LT(level.share(0, 0, 800, 40, pictureColour("page.pcx")), 0.1);
        key(SDLK_ESCAPE);
        ASSERT_EQ(menu(), app->getCurrentScreen());
        EXPECT_TRUE(game()->getLevel()->isPaused());
        EXPECT_DOUBLE_EQ(MenuZoom, currentZoom(window));
        EXPECT_TRUE(menu()->getButton(MainMenuScreen::kReturnToGame)->isEnabled());
        expectButton(shoot("main_menu_in_game"), MainMenuScreen::kReturnToGame, "return_to_game_button.pcx");
        click(MenuZoom, menu()->getButton(MainMenuScreen::kReturnToGame));
        ASSERT_EQ(game(), app->getCurrentScreen());
        EXPECT_FALSE(game()->getLevel()->isPaused());
        EXPECT_DOUBLE_EQ(GameZoom, currentZoom(window));
        expectLevelDrawn(shoot("level_resumed"));
        // Any key sends the opening panels away, one by one. The yard at the start: score 0,
        // three lives, the grenades he starts with, no power-up.
        for (int i = 0; i < 5 && game()->getLevel()->hasHint(); ++i) key(SDLK_x);
        ASSERT_FALSE(game()->getLevel()->hasHint());
        frames(2);
        level = shoot("level_playing");
        expectLevelDrawn(level);
        EXPECT_EQ("0", numberAt(level, 156, 19));
        EXPECT_EQ("3", numberAt(level, 79, 47));
        EXPECT_DOUBLE_EQ(0.0, expectScoreBox(level));
    };
    // Past the coins, over the block with the gem, through the armour, whose time runs down.
    checks["armour"] = [&] {
        EXPECT_EQ(1, room());
        const Shot yard = shoot("yard_armour");
        expectLevelDrawn(yard);
        EXPECT_EQ(2200, game()->getPlayer()->getScore());
        EXPECT_EQ("2200", numberAt(yard, 156, 19));
        const double bar = expectScoreBox(yard);
        EXPECT_GT(bar, 70.0);
        EXPECT_LT(bar, ScorePanel::kBarFullLength);
    };
    // In the tower the objective panel comes up on Enter, the world standing still behind it,
    // and any key sends it down again.
    checks["tower"] = [&] {
        PdaPanel* pda = game()->getPdaPanel();
        ASSERT_NE(nullptr, pda);
        const Rgb panel = pictureColour("spywherecomputer.pcx");
        auto rise = [&] { return pda->getPanel()->getCoord()->getY() - window->getCamera()->getPosition()->getY(); };
        EXPECT_EQ(2, room());
        Shot tower = shoot("tower");
        // The tower's bricks fill the view above its floor.
        expectLevelDrawn(tower, "tile_brick.pcx");
        expectScoreBox(tower);
        EXPECT_EQ(-1, topRowOf(tower, 330, panel));
        const double heroX = game()->getPlayer()->getX();
        uitest::typeKey(SDLK_RETURN);
        ASSERT_TRUE(until([&] { return pda->isShown() && rise() >= -300 && rise() <= -120; }));
        // Only its upper part has come into the view.
        EXPECT_GT(topRowOf(shoot("objective_panel_rising"), 330, panel), 300);
        ASSERT_TRUE(until([&] { return rise() >= 0; }));
        tower = shoot("objective_panel");
        const int restingTop = topRowOf(tower, 330, panel);
        EXPECT_GT(restingTop, 100);
        EXPECT_LT(restingTop, 200);
        // The hero's counters, and four of the level's six treasures found: 66 per cent.
        const Player* hero = game()->getPlayer();
        EXPECT_EQ(std::to_string(hero->getScore()), numberAt(tower, 491, 159)) << "score";
        EXPECT_EQ(std::to_string(hero->getGrenades()), numberAt(tower, 491, 192)) << "grenades";
        EXPECT_EQ(std::to_string(hero->getHealth()), numberAt(tower, 491, 225)) << "health";
        EXPECT_EQ(std::to_string(hero->getLives()), numberAt(tower, 491, 258)) << "lives";
        EXPECT_EQ(4, pda->getFound());
        EXPECT_EQ("66", numberAt(tower, 491, 291)) << "treasure found";
        // The objective's picture under the numbers.
        EXPECT_GT(tower.shareAround(GameZoom, 0, -PdaPanel::kObjectiveDrop, 150, 60, pictureColour("objective1-1.pcx")),
                  0.5);
        EXPECT_DOUBLE_EQ(heroX, hero->getX());
        uitest::typeKey(SDLK_x);
        ASSERT_TRUE(until([&] { return pda->isShown() && rise() <= -150; }));
        EXPECT_GT(topRowOf(shoot("objective_panel_leaving"), 330, panel), restingTop + 100);
        ASSERT_TRUE(until([&] { return !pda->isShown(); }));
        EXPECT_EQ(-1, topRowOf(shoot("objective_panel_gone"), 330, panel));
    };
    // A thug stands at the far end of the tower's ground floor, looking this way but too far off
    // to see the hero: a grenade thrown at full charge from the foot of the ledges gasses him.
    Character* thug = nullptr;
    int grenades = 0;
    checks["thug"] = [&] {
        for (Character* c : game()->getLevel()->getCurrentMap()->getCharacters())
            if (c->getType() == CharacterTypeThug) thug = c;
        ASSERT_NE(nullptr, thug);
        EXPECT_FALSE(thug->isAsleep());
        grenades = game()->getPlayer()->getGrenades();
        EXPECT_GT(grenades, 0);
    };
    // The gas puts him to sleep for good, within ten seconds of game time (the route goes on
    // past him only then).
    checks["gassed"] = [&] {
        EXPECT_EQ(grenades - 1, game()->getPlayer()->getGrenades());
        ASSERT_TRUE(until([&] { return thug->isAsleep(); }, 10000 / FrameMs))
            << "the thug is still awake, in state " << thug->getState() << " at " << thug->getX();
        expectScoreBox(shoot("tower_thug_asleep"));
    };
    checks["roof"] = [&] {
        EXPECT_EQ(3, room());
        const Shot roof = shoot("roof");
        expectLevelDrawn(roof, "roof_sky.jpg");
        expectScoreBox(roof);
    };
    // Left through its exit: the page marks level 1-1 done and lights 1-2. Between levels the
    // game is in progress: it is saved in the first slot, a new game started and left at once
    // is not in progress, and the saved game loads back from the load screen.
    checks["ended"] = [&] {
        frames(2);
        EXPECT_EQ(game(), app->getCurrentScreen());
        EXPECT_EQ(nullptr, game()->getEndedLevel());
        EXPECT_TRUE(game()->getPage1()->isFirstLevelDone());
        EXPECT_TRUE(game()->getPage1()->getButton(P::kSlot2)->isEnabled());
        EXPECT_TRUE(window->isCursorShown());
        Shot done = shoot("chapter1_level_done");
        // The check mark at the upper right of the first level's button.
        EXPECT_GT(done.shareAround(GameZoom, 85, 230, 30, 30, pictureColour("check_mark2.pcx")), 0.3);
        EXPECT_GT(done.shareAround(GameZoom, 250, 150, 180, 180, pictureColour("chapter2_button_lit.pcx")), 0.5);
        key(SDLK_ESCAPE);
        ASSERT_EQ(menu(), app->getCurrentScreen());
        EXPECT_TRUE(menu()->getButton(MainMenuScreen::kReturnToGame)->isEnabled());
        EXPECT_TRUE(menu()->getButton(MainMenuScreen::kSaveGame)->isEnabled());
        click(MenuZoom, menu()->getButton(MainMenuScreen::kSaveGame));
        ASSERT_EQ(app->getSaveScreen(), app->getCurrentScreen());
        done = shoot("save_screen");
        EXPECT_GT(done.shareAround(MenuZoom, 0, 150, 200, 20, pictureColour("savemenulabel.pcx")), 0.5);
        EXPECT_GT(done.shareAround(MenuZoom, 0, 110, 400, 20, pictureColour("save_game_label.pcx")), 0.5);
        click(MenuZoom, app->getSaveScreen()->getSlotBox(1));
        uitest::typeText("spy\r");
        frames(2);
        EXPECT_TRUE(std::filesystem::exists("save1.dat"));
        EXPECT_EQ("SPY", app->getLoadScreen()->getSlotBox(1)->getText());
        key(SDLK_ESCAPE);
        ASSERT_EQ(menu(), app->getCurrentScreen());
        click(MenuZoom, menu()->getButton(MainMenuScreen::kStartGame));
        ASSERT_EQ(game(), app->getCurrentScreen());
        EXPECT_FALSE(game()->getPage1()->isFirstLevelDone());
        key(SDLK_ESCAPE);
        ASSERT_EQ(menu(), app->getCurrentScreen());
        EXPECT_FALSE(menu()->getButton(MainMenuScreen::kReturnToGame)->isEnabled());
        click(MenuZoom, menu()->getButton(MainMenuScreen::kLoadGame));
        ASSERT_EQ(app->getLoadScreen(), app->getCurrentScreen());
        done = shoot("load_screen");
        EXPECT_GT(done.shareAround(MenuZoom, 0, 150, 200, 20, pictureColour("loadmenulabel.pcx")), 0.5);
        EXPECT_GT(done.shareAround(MenuZoom, 0, 110, 400, 20, pictureColour("resume_game_label.pcx")), 0.5);
        click(MenuZoom, app->getLoadScreen()->getSlotBox(1));
        ASSERT_EQ(game(), app->getCurrentScreen());
        EXPECT_TRUE(game()->getPage1()->isFirstLevelDone());
        EXPECT_GT(shoot("loaded_game").shareAround(GameZoom, 85, 230, 30, 30, pictureColour("check_mark2.pcx")), 0.3);
        // Nothing is lit on it, and the keys light nothing with level 1-1 done: the pointer lights 1-2.
        uitest::pushMotion(250, 150, GameZoom);
        frames(2);
        EXPECT_TRUE(game()->getPage1()->getButton(P::kSlot2)->isLit());
    };

    for (size_t i = 0; i <= routes.size(); ++i) {
        const int chapter = i < routes.size() ? routes[i].file[5] - '0' : 6;
        if (game()->getPageIndex() != chapter) {
            // The last finish of a chapter lights the way on; Enter turns the page.
            const std::string done = "page" + std::to_string(chapter - 1);
            expectPage(done + "_done", done + "_title.pcx", "page_next_button_lit.pcx", 340, -261);
            key(SDLK_RETURN);
            ASSERT_EQ(chapter, game()->getPageIndex());
            const std::string next = "page" + std::to_string(chapter);
            if (chapter < 6) expectPage(next, next + "_title.pcx", "page_prev_button.pcx", -340, -261);
        }
        if (i == routes.size()) break;
        ASSERT_NO_FATAL_FAILURE(play(routes[i], i == 0));
    }
    // The summary of a game whose last bonus level was finished.
    ASSERT_EQ(6, game()->getPageIndex());
    expectPage("summary", "page6_title.pcx", "summary3.pcx", -125, -75);

    // Right lights the end button, Enter ends the game whatever lives are left.
    const int score = game()->getPlayer()->getScore();
    EXPECT_GT(game()->getPlayer()->getLives(), 0);
    key(SDLK_RIGHT);
    key(SDLK_RETURN);
    HighScoreScreen* scores = app->getHighScoreScreen();
    ASSERT_EQ(scores, app->getCurrentScreen());
    int row = -1;
    for (int i = 0; i < HighScoreTable::kShown; ++i)
        if (scores->getNameBox(i)->hasFocus()) row = i;
    ASSERT_GE(row, 0) << "a score of " << score << " is not listed";
    uitest::typeText("spy");
    key(SDLK_RETURN);
    shoot("high_scores");
    key(SDLK_ESCAPE);

    // The main menu's exit button ends the main loop; the program ends as the entry point ends
    // it, the screens writing their files, and starts again: the name and the points are kept.
    ASSERT_EQ(menu(), app->getCurrentScreen());
    expectButton(shoot("main_menu_before_exit"), MainMenuScreen::kExit, "exit_button.pcx");
    const UiButton* exitButton = menu()->getButton(MainMenuScreen::kExit);
    clickAt(MenuZoom, exitButton->getX(), exitButton->getY());
    int passes = 0;
    app->afterFrame = [&](int) {
        if (++passes < 100) return;
        ADD_FAILURE() << "the main loop did not end";
        app->quit();
    };
    app->run();
    stop();
    EXPECT_TRUE(std::filesystem::exists("scores.dat"));
    EXPECT_TRUE(std::filesystem::exists("save_index.txt"));
    start();
    scores = app->getHighScoreScreen();
    EXPECT_EQ("SPY", scores->getNameBox(row)->getText());
    EXPECT_EQ(std::to_string(score), scores->getPointsBox(row)->getText());
}

}  // namespace gametest
