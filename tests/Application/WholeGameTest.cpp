// The whole game as a player meets it: the application started as the entry point starts
// it, its real main loop running, and every step driven by events queued through SDL from
// the frame hook. Each step keeps a screenshot and checks pixels that prove its screen drew.

#include "Application/GameHarness.h"

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
#include "Common/Level.h"

namespace gametest {

namespace {

constexpr double MenuZoom = 512.0;
constexpr double GameZoom = 400.0;

// The steps of a script run one after another, a few frames apart, from the frame hook. A
// step that waits for something is tried on every frame until it reports that it is over.
struct Script {
    std::vector<std::function<bool()>> steps;
    size_t next = 0;
    int wait = 0;
    bool waiting = false;

    void add(std::function<void()> step)
    {
        steps.push_back([step] {
            step();
            return true;
        });
    }
    void waitFor(std::function<bool()> step) { steps.push_back(std::move(step)); }
    bool done() const { return next >= steps.size(); }
    // One frame has been shown: the next step runs once `gap` frames have passed.
    void frame(int gap)
    {
        if (done()) return;
        if (!waiting && ++wait < gap) return;
        wait = 0;
        waiting = !steps[next]();
        if (!waiting) ++next;
    }
};

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

    // The yard of level 1-1 under its sky; the score box at (-300, 250) from the camera,
    // except while a hint (the level's opening panel) shows.
    auto expectLevelDrawn = [&](const Shot& shot) {
        EXPECT_GT(shot.share(0, 0, 800, 30, pictureColour("yard_sky.jpg")), 0.3);
        const double box = shot.shareAround(GameZoom, -300, 250, 150, 70, pictureColour("scorebox.pcx"));
        if (game->getLevel()->hasHint()) {
            EXPECT_GT(shot.shareAround(GameZoom, 0, 150, 300, 100, pictureColour("intro1-1_a.pcx")), 0.3);
            EXPECT_LT(box, 0.05);
        } else {
            EXPECT_GT(box, 0.2);
        }
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
    script.add([&] {
        ASSERT_NE(nullptr, game->getLevel());
        EXPECT_FALSE(game->getLevel()->hasHint());
        Shot shot = shoot("08_level_playing");
        expectLevelDrawn(shot);
        // Through the last door, as its room would send him, a little way before the exit.
        game->getLevel()->gotoMap(3, 760, 160, 0, 0, 0, 0, 0);
    });
    // Once the room has been drawn it takes keys: Right held walks him into the exit.
    script.add([&] { uitest::pushKey(SDLK_RIGHT, true); });
    int waited = 0;
    script.waitFor([&] {
        if (game->getLevel() && ++waited < 600) return false;
        uitest::pushKey(SDLK_RIGHT, false);
        return true;
    });
    // The level left through its exit: the page marks level 1-1 done and opens 1-2.
    script.add([&] {
        EXPECT_EQ(game, app->getCurrentScreen());
        EXPECT_EQ(nullptr, game->getLevel());
        EXPECT_EQ(nullptr, game->getEndedLevel());
        ASSERT_NE(nullptr, game->getPage1());
        EXPECT_TRUE(game->getPage1()->isFirstLevelDone());
        EXPECT_TRUE(game->getPage1()->getButton(ChapterPage::kSlot2)->isEnabled());
        EXPECT_TRUE(window->isCursorShown());
        Shot shot = shoot("09_chapter1_level_done");
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
        shoot("11_save_screen");
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
        shoot("12_load_screen");
        UiTextBox* slot = app->getLoadScreen()->getSlotBox(1);
        clickAt(MenuZoom, slot->getX(), slot->getY());
    });
    script.add([&] {
        EXPECT_EQ(game, app->getCurrentScreen());
        EXPECT_TRUE(game->getPage1()->isFirstLevelDone());
        Shot shot = shoot("13_loaded_game");
        EXPECT_GT(shot.shareAround(GameZoom, 85, 230, 30, 30, pictureColour("check_mark2.pcx")), 0.3);
        uitest::typeKey(SDLK_ESCAPE);
    });
    // The exit button ends the main loop.
    script.add([&] {
        EXPECT_EQ(menu, app->getCurrentScreen());
        shoot("10_main_menu_before_exit");
        UiButton* exitButton = menu->getButton(MainMenuScreen::kExit);
        clickAt(MenuZoom, exitButton->getX(), exitButton->getY());
        reached = "exit clicked";
    });

    app->afterFrame = [&](int frame) {
        script.frame(10);
        // A loop that does not end by itself fails rather than hangs.
        if (frame > 3000) {
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
