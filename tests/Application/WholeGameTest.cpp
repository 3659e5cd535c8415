// The whole game as a player meets it: the application started as the entry point starts
// it, its real main loop running, and every step driven by events queued through SDL from
// the frame hook. Each step keeps a screenshot and checks pixels that prove its screen drew.

#include "Application/GameHarness.h"
#include "Application/GamePilot.h"

#include <set>
#include <string>
#include <vector>

#include "Application/GameScreen.h"
#include "Application/HighScoreScreen.h"
#include "Application/MainMenuScreen.h"
#include "Application/MenuBackdrop.h"
#include "Application/LoadScreen.h"
#include "Application/PageScreen1.h"
#include "Application/SaveScreen.h"
#include "Application/TitleScreen.h"
#include "Base/Gph/GphRect.h"
#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiTextBox.h"
#include "Common/GameConstants.h"
#include "Common/Level.h"
#include "Common/Map.h"
#include "Common/PdaPanel.h"
#include "Common/ScorePanel.h"
#include "Kovo/Character.h"
#include "Kovo/CharacterType.h"
#include "Kovo/Grenade.h"
#include "Kovo/Player.h"

namespace gametest {

namespace {

constexpr double MenuZoom = 512.0;
constexpr double GameZoom = 400.0;

// The steps of a script run one after another from the frame hook. A plain step runs once a
// few frames after the step before it, so that its events have been through the loop and
// drawn; a step that waits for something is tried from the next frame on, on every frame,
// until it reports that it is over.
struct Script {
    struct Step {
        std::function<bool()> run;
        bool waits;
    };
    std::vector<Step> steps;
    size_t next = 0;
    int wait = 0;

    void add(std::function<void()> step)
    {
        steps.push_back({[step] {
                             step();
                             return true;
                         },
                         false});
    }
    void waitFor(std::function<bool()> step) { steps.push_back({std::move(step), true}); }
    bool done() const { return next >= steps.size(); }
    // One frame has been shown: a plain step runs once `gap` frames have passed.
    void frame(int gap)
    {
        if (done()) return;
        if (!steps[next].waits && ++wait < gap) return;
        wait = 0;
        if (steps[next].run()) ++next;
    }
};

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

}  // namespace

TEST_F(GameTest, TitleMenuNewGameLevelToItsExitSaveNewGameLoadThenExit)
{
    start();
    GameScreen* game = app->getGameScreen();
    MainMenuScreen* menu = app->getMainMenu();
    ASSERT_NE(nullptr, game);
    ASSERT_NE(nullptr, menu);

    // A room of level 1-1 with its sky (or what covers the sky) at the top; the score box at (-300, 250) from the camera, except
    // while a hint (the level's opening panel) shows.
    auto expectLevelDrawn = [&](const Shot& shot, const char* sky = "yard_sky.jpg") {
        EXPECT_GT(shot.share(0, 0, 800, 30, pictureColour(sky)), 0.3);
        const double box = shot.shareAround(GameZoom, -300, 250, 150, 70, pictureColour("scorebox.pcx"));
        if (game->getLevel()->hasHint()) {
            EXPECT_GT(shot.shareAround(GameZoom, 0, 150, 300, 100, pictureColour("intro1-1_a.pcx")), 0.3);
            EXPECT_LT(box, 0.05);
        } else {
            EXPECT_GT(box, 0.2);
        }
    };
    // The score box's numbers as the hero has them, read back from the digit pictures, and
    // under them the power-up bar, as long as the share of the running power-up's time left.
    auto expectScoreBox = [&](const Shot& shot) {
        const Player* hero = game->getPlayer();
        EXPECT_EQ(std::to_string(hero->getScore()), numberAt(shot, 156, 19)) << "score";
        EXPECT_EQ(std::to_string(hero->getLives()), numberAt(shot, 79, 47)) << "lives";
        EXPECT_EQ(std::to_string(hero->getGrenades()), numberAt(shot, 156, 47)) << "grenades";
        const ScorePanel* panel = game->getScorePanel();
        const double full = panel->getTimerMaximum() > 0
                                ? ScorePanel::kBarFullLength * panel->getTimerValue() / panel->getTimerMaximum()
                                : 0.0;
        // The bar's middle row, from the box's left end at pixel 30.
        int bar = 0;
        for (int x = 20; x < 190; ++x)
            if (near(shot.at(x, 77), pictureColour("timer.pcx"))) ++bar;
        // Its ends blend into the box.
        EXPECT_NEAR(full, bar, 4.0) << "power-up bar";
        return full;
    };

    Script script;
    std::vector<Rgb> firstColumn;
    std::string reached;

    // The title over the backdrop, whose strips sink from frame to frame.
    script.add([&] {
        EXPECT_EQ(app->getTitleScreen(), app->getCurrentScreen());
        Shot shot = shoot("01_title");
        EXPECT_GT(shot.shareAround(MenuZoom, 0, 250, 300, 60, pictureColour("title_overlay.pcx")), 0.9);
        EXPECT_GT(shot.share(0, 0, 80, 600, pictureColour("menu_background2.pcx")), 0.3);
        firstColumn = backdropColumn(shot);
    });
    script.add([&] {
        Shot shot = shoot("02_title_later");
        EXPECT_NE(firstColumn, backdropColumn(shot)) << "the backdrop did not move";
        // Any key leads on.
        uitest::typeKey(SDLK_a);
    });
    // The main menu: its start button starts a new game.
    script.add([&] {
        EXPECT_EQ(menu, app->getCurrentScreen());
        Shot shot = shoot("03_main_menu");
        UiButton* startButton = menu->getButton(MainMenuScreen::kStartGame);
        EXPECT_GT(shot.shareAround(MenuZoom, startButton->getX() + 150, startButton->getY(), 100, 20,
                                   pictureColour("start_game_button.pcx")),
                  0.5);
        EXPECT_GT(shot.share(0, 0, 80, 600, pictureColour("menu_background2.pcx")), 0.3);
        EXPECT_FALSE(menu->getButton(MainMenuScreen::kReturnToGame)->isEnabled());
        clickAt(MenuZoom, startButton->getX(), startButton->getY());
    });
    // The chapter 1 page of a new game; its first level's button starts level 1-1.
    script.add([&] {
        EXPECT_EQ(game, app->getCurrentScreen());
        EXPECT_EQ(1, game->getPageIndex());
        EXPECT_EQ(nullptr, game->getLevel());
        EXPECT_DOUBLE_EQ(GameZoom, currentZoom(window));
        Shot shot = shoot("04_chapter1_page");
        EXPECT_GT(shot.share(0, 0, 800, 40, pictureColour("page.pcx")), 0.5);
        EXPECT_GT(shot.shareAround(GameZoom, 0, 150, 180, 180, pictureColour("chapter1_button.pcx")), 0.5);
        clickAt(GameZoom, 0, 150);
    });
    // Level 1-1 runs with the score box; Escape leaves it for the main menu.
    script.add([&] {
        ASSERT_NE(nullptr, game->getLevel());
        EXPECT_EQ("level1-1.xml", game->getLevel()->getFileName());
        EXPECT_TRUE(game->getLevel()->isRunning());
        EXPECT_FALSE(game->getLevel()->isPaused());
        Shot shot = shoot("05_level1-1");
        expectLevelDrawn(shot);
        EXPECT_LT(shot.share(0, 0, 800, 40, pictureColour("page.pcx")), 0.1);
        uitest::typeKey(SDLK_ESCAPE);
    });
    // The main menu over a paused level; its return-to-game button resumes the level.
    script.add([&] {
        EXPECT_EQ(menu, app->getCurrentScreen());
        ASSERT_NE(nullptr, game->getLevel());
        EXPECT_TRUE(game->getLevel()->isPaused());
        EXPECT_DOUBLE_EQ(MenuZoom, currentZoom(window));
        Shot shot = shoot("06_main_menu_in_game");
        UiButton* back = menu->getButton(MainMenuScreen::kReturnToGame);
        EXPECT_TRUE(back->isEnabled());
        EXPECT_GT(shot.shareAround(MenuZoom, back->getX() + 150, back->getY(), 100, 20,
                                   pictureColour("return_to_game_button.pcx")),
                  0.5);
        clickAt(MenuZoom, back->getX(), back->getY());
    });
    script.add([&] {
        EXPECT_EQ(game, app->getCurrentScreen());
        ASSERT_NE(nullptr, game->getLevel());
        EXPECT_FALSE(game->getLevel()->isPaused());
        EXPECT_DOUBLE_EQ(GameZoom, currentZoom(window));
        Shot shot = shoot("07_level_resumed");
        expectLevelDrawn(shot);
        // Any key sends the opening panels away, one by one.
        uitest::typeKey(SDLK_x);
    });
    script.add([&] { uitest::typeKey(SDLK_x); });
    // The yard at the start: score 0, three lives, the grenades he starts with, no power-up.
    Pilot pilot(game);
    script.add([&] {
        ASSERT_NE(nullptr, game->getLevel());
        EXPECT_FALSE(game->getLevel()->hasHint());
        Shot shot = shoot("08_level_playing");
        expectLevelDrawn(shot);
        EXPECT_EQ("0", numberAt(shot, 156, 19));
        EXPECT_EQ("3", numberAt(shot, 79, 47));
        EXPECT_DOUBLE_EQ(0.0, expectScoreBox(shot));
        // Along the yard past the coins, over the block with the gem on it, through the armour.
        pilot.fly({{1, 396, Move::Walk}, {1, 396, Move::JumpRight}, {1, 700, Move::Walk}});
    });
    script.waitFor([&] { return pilot.frame(); });
    script.add([&] {
        ASSERT_NE(nullptr, game->getLevel());
        EXPECT_EQ(1, game->getLevel()->getCurrentMap()->getId());
        Shot shot = shoot("09_yard_armour");
        expectLevelDrawn(shot);
        // Two coins and the gem; the armour's time running down.
        EXPECT_EQ(2200, game->getPlayer()->getScore());
        EXPECT_EQ("2200", numberAt(shot, 156, 19));
        const double bar = expectScoreBox(shot);
        EXPECT_GT(bar, 70.0);
        EXPECT_LT(bar, ScorePanel::kBarFullLength);
        // Up the slope over the money, down off the plateau, over the second block, under the
        // ceiling to the door into the tower.
        pilot.fly({{1, 1700, Move::Walk}, {1, 1700, Move::JumpRight}, {1, 2310, Move::Walk}, {1, 2310, Move::Door}});
    });
    script.waitFor([&] { return pilot.frame(); });
    // In the tower the objective panel comes up on Enter, the world standing still behind it.
    // The panel and its picture are made with the new game.
    PdaPanel* pda = nullptr;
    Rgb panelColour{0, 0, 0};
    auto panelRise = [&] { return pda->getPanel()->getCoord()->getY() - window->getCamera()->getPosition()->getY(); };
    int restingTop = -1;
    // The thug of the tower's ground floor, as the room holds him.
    Character* thug = nullptr;
    int grenades = 0;
    int thugWaitFrames = 0;
    auto findThug = [&]() -> Character* {
        const Level* level = game->getLevel();
        if (!level || !level->getCurrentMap()) return nullptr;
        for (Character* c : level->getCurrentMap()->getCharacters())
            if (c->getType() == CharacterTypeThug) return c;
        return nullptr;
    };
    script.add([&] {
        pda = game->getPdaPanel();
        ASSERT_NE(nullptr, pda);
        panelColour = pictureColour("spywherecomputer.pcx");
        ASSERT_NE(nullptr, game->getLevel());
        EXPECT_EQ(2, game->getLevel()->getCurrentMap()->getId());
        Shot shot = shoot("10_tower");
        // The tower's bricks fill the view above its floor.
        expectLevelDrawn(shot, "tile_brick.pcx");
        expectScoreBox(shot);
        EXPECT_EQ(-1, topRowOf(shot, 330, panelColour));
        uitest::typeKey(SDLK_RETURN);
    });
    script.waitFor([&] {
        if (!pda) return true;
        if (!pda->isShown() || panelRise() < -300 || panelRise() > -120) return false;
        Shot shot = shoot("11_objective_panel_rising");
        // Only its upper part has come into the view.
        EXPECT_GT(topRowOf(shot, 330, panelColour), 300);
        return true;
    });
    script.waitFor([&] {
        if (!pda) return true;
        if (panelRise() < 0) return false;
        const double heroX = game->getPlayer()->getX();
        Shot shot = shoot("12_objective_panel");
        restingTop = topRowOf(shot, 330, panelColour);
        EXPECT_GT(restingTop, 100);
        EXPECT_LT(restingTop, 200);
        // The hero's counters, and four of the level's six treasures found: 66 per cent.
        const Player* hero = game->getPlayer();
        EXPECT_EQ(std::to_string(hero->getScore()), numberAt(shot, 491, 159)) << "score";
        EXPECT_EQ(std::to_string(hero->getGrenades()), numberAt(shot, 491, 192)) << "grenades";
        EXPECT_EQ(std::to_string(hero->getHealth()), numberAt(shot, 491, 225)) << "health";
        EXPECT_EQ(std::to_string(hero->getLives()), numberAt(shot, 491, 258)) << "lives";
        EXPECT_EQ(4, pda->getFound());
        EXPECT_EQ("66", numberAt(shot, 491, 291)) << "treasure found";
        // The objective's picture under the numbers.
        EXPECT_GT(shot.shareAround(GameZoom, 0, -PdaPanel::kObjectiveDrop, 150, 60, pictureColour("objective1-1.pcx")),
                  0.5);
        // Any key sends it down again; the hero has not moved meanwhile.
        EXPECT_DOUBLE_EQ(heroX, game->getPlayer()->getX());
        uitest::typeKey(SDLK_x);
        return true;
    });
    script.waitFor([&] {
        if (!pda) return true;
        if (!pda->isShown() || panelRise() > -150) return false;
        Shot shot = shoot("13_objective_panel_leaving");
        EXPECT_GT(topRowOf(shot, 330, panelColour), restingTop + 100);
        return true;
    });
    script.waitFor([&] {
        if (pda && pda->isShown()) return false;
        Shot shot = shoot("14_objective_panel_gone");
        EXPECT_EQ(-1, topRowOf(shot, 330, panelColour));
        // A thug stands at the far end of the tower's ground floor, looking this way but too far
        // off to see the hero: a grenade thrown at full charge from the foot of the ledges.
        thug = findThug();
        EXPECT_NE(nullptr, thug);
        EXPECT_FALSE(thug && thug->isAsleep());
        grenades = game->getPlayer()->getGrenades();
        EXPECT_GT(grenades, 0);
        pilot.fly({{2, 380, Move::Walk}, {2, 380, Move::ThrowRight}});
        return true;
    });
    script.waitFor([&] { return pilot.frame(); });
    script.add([&] {
        EXPECT_EQ(grenades - 1, game->getPlayer()->getGrenades());
        thugWaitFrames = 0;
    });
    // The gas puts him to sleep for good.
    script.waitFor([&] {
        if (!thug || findThug() != thug) return true;
        for (const Grenade* g : game->getLevel()->getCurrentMap()->getGrenades()) pilot.grenadeSeen = g->getX();
        if (!thug->isAsleep()) {
            // Ten seconds of game time: the gas has long spread by then.
            if (++thugWaitFrames < 10000 / static_cast<int>(GameApp::kFrameMs)) return false;
            ADD_FAILURE() << "the thug is still awake, in state " << thug->getState() << " at " << thug->getX()
                          << "; the grenade was last seen at x " << pilot.grenadeSeen << ", thrown from "
                          << game->getPlayer()->getX();
        } else {
            Shot shot = shoot("14b_tower_thug_asleep");
            expectScoreBox(shot);
        }
        // Up the ledges of the tower, from side to side, to its top floor and the door to the
        // roof, above the sleeping thug.
        pilot.fly({{2, 380, Move::Walk},
                   {2, 380, Move::JumpUp},
                   {2, 545, Move::Walk},
                   {2, 545, Move::JumpRight},
                   {2, 655, Move::Walk},
                   {2, 655, Move::JumpLeft},
                   {2, 545, Move::Walk},
                   {2, 545, Move::JumpRight},
                   {2, 655, Move::Walk},
                   {2, 655, Move::JumpLeft},
                   {2, 130, Move::Walk},
                   {2, 130, Move::Door}});
        return true;
    });
    script.waitFor([&] { return pilot.frame(); });
    script.add([&] {
        ASSERT_NE(nullptr, game->getLevel());
        EXPECT_EQ(3, game->getLevel()->getCurrentMap()->getId());
        Shot shot = shoot("15_roof");
        expectLevelDrawn(shot, "roof_sky.jpg");
        expectScoreBox(shot);
        // Along the roof, over the ring, into the exit.
        pilot.fly({{3, 880, Move::Walk}});
    });
    script.waitFor([&] { return pilot.frame(); });
    // The world stands still at the exit until the level is finished.
    script.waitFor([&] { return game->getLevel() == nullptr; });
    // The level left through its exit: the page marks level 1-1 done and opens 1-2.
    script.add([&] {
        EXPECT_EQ(game, app->getCurrentScreen());
        EXPECT_EQ(nullptr, game->getLevel());
        EXPECT_EQ(nullptr, game->getEndedLevel());
        ASSERT_NE(nullptr, game->getPage1());
        EXPECT_TRUE(game->getPage1()->isFirstLevelDone());
        EXPECT_TRUE(game->getPage1()->getButton(ChapterPage::kSlot2)->isEnabled());
        EXPECT_TRUE(window->isCursorShown());
        Shot shot = shoot("16_chapter1_level_done");
        // The check mark at the upper right of the first level's button, 1-2 lit.
        EXPECT_GT(shot.shareAround(GameZoom, 85, 230, 30, 30, pictureColour("check_mark2.pcx")), 0.3);
        EXPECT_GT(shot.shareAround(GameZoom, 250, 150, 180, 180, pictureColour("chapter2_button_lit.pcx")), 0.5);
        uitest::typeKey(SDLK_ESCAPE);
    });
    // Between levels the game is in progress: the menu offers the way back and the save.
    script.add([&] {
        EXPECT_EQ(menu, app->getCurrentScreen());
        EXPECT_TRUE(menu->getButton(MainMenuScreen::kReturnToGame)->isEnabled());
        UiButton* save = menu->getButton(MainMenuScreen::kSaveGame);
        EXPECT_TRUE(save->isEnabled());
        clickAt(MenuZoom, save->getX(), save->getY());
    });
    // The save screen: the first slot takes a name, Enter saves under it.
    script.add([&] {
        ASSERT_EQ(app->getSaveScreen(), app->getCurrentScreen());
        Shot shot = shoot("17_save_screen");
        EXPECT_GT(shot.shareAround(MenuZoom, 0, 150, 200, 20, pictureColour("savemenulabel.pcx")), 0.5);
        EXPECT_GT(shot.shareAround(MenuZoom, 0, 110, 400, 20, pictureColour("save_game_label.pcx")), 0.5);
        UiTextBox* slot = app->getSaveScreen()->getSlotBox(1);
        clickAt(MenuZoom, slot->getX(), slot->getY());
    });
    script.add([&] { uitest::typeText("spy\r"); });
    script.add([&] {
        EXPECT_TRUE(std::filesystem::exists("save1.dat"));
        EXPECT_EQ("SPY", app->getLoadScreen()->getSlotBox(1)->getText());
        uitest::typeKey(SDLK_ESCAPE);
    });
    // A new game, left at once, is not in progress...
    script.add([&] {
        ASSERT_EQ(menu, app->getCurrentScreen());
        UiButton* startButton = menu->getButton(MainMenuScreen::kStartGame);
        clickAt(MenuZoom, startButton->getX(), startButton->getY());
    });
    script.add([&] {
        EXPECT_EQ(game, app->getCurrentScreen());
        EXPECT_FALSE(game->getPage1()->isFirstLevelDone());
        uitest::typeKey(SDLK_ESCAPE);
    });
    // ... until the saved game is loaded from the load screen's first slot.
    script.add([&] {
        ASSERT_EQ(menu, app->getCurrentScreen());
        EXPECT_FALSE(menu->getButton(MainMenuScreen::kReturnToGame)->isEnabled());
        UiButton* load = menu->getButton(MainMenuScreen::kLoadGame);
        clickAt(MenuZoom, load->getX(), load->getY());
    });
    script.add([&] {
        ASSERT_EQ(app->getLoadScreen(), app->getCurrentScreen());
        Shot shot = shoot("18_load_screen");
        EXPECT_GT(shot.shareAround(MenuZoom, 0, 150, 200, 20, pictureColour("loadmenulabel.pcx")), 0.5);
        EXPECT_GT(shot.shareAround(MenuZoom, 0, 110, 400, 20, pictureColour("resume_game_label.pcx")), 0.5);
        UiTextBox* slot = app->getLoadScreen()->getSlotBox(1);
        clickAt(MenuZoom, slot->getX(), slot->getY());
    });
    script.add([&] {
        EXPECT_EQ(game, app->getCurrentScreen());
        EXPECT_TRUE(game->getPage1()->isFirstLevelDone());
        Shot shot = shoot("19_loaded_game");
        EXPECT_GT(shot.shareAround(GameZoom, 85, 230, 30, 30, pictureColour("check_mark2.pcx")), 0.3);
        uitest::typeKey(SDLK_ESCAPE);
    });
    // The exit button ends the main loop.
    script.add([&] {
        EXPECT_EQ(menu, app->getCurrentScreen());
        Shot shot = shoot("20_main_menu_before_exit");
        UiButton* exitButton = menu->getButton(MainMenuScreen::kExit);
        EXPECT_GT(shot.shareAround(MenuZoom, exitButton->getX() + 150, exitButton->getY(), 100, 20,
                                   pictureColour("exit_button.pcx")),
                  0.5);
        clickAt(MenuZoom, exitButton->getX(), exitButton->getY());
        reached = "exit clicked";
    });

    // A loop that does not end by itself within a few minutes of game time fails rather than
    // hangs.
    const int lastFrame = 240000 / GameApp::kFrameMs;
    app->afterFrame = [&](int frame) {
        script.frame(10);
        if (frame > lastFrame) {
            ADD_FAILURE() << "the main loop did not end";
            app->quit();
        }
    };
    app->run();
    EXPECT_TRUE(script.done());
    EXPECT_EQ("exit clicked", reached);
    // As the entry point goes on: the sound closes and the screens write their files.
    app->shutdown();
    delete app;
    app = nullptr;
    EXPECT_TRUE(std::filesystem::exists("scores.dat"));
    EXPECT_TRUE(std::filesystem::exists("save_index.txt"));
}

}  // namespace gametest
