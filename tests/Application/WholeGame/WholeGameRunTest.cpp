// The whole game played as a player plays it, by key events through the game's main loop on
// game time: from the title through every chapter page and all thirty levels (the bonus
// levels revealed by their exits) to the summary, whose end button sends the score to the
// high-score table, where the name typed outlives the program. The routes are data, in
// routes.txt beside this file; every page and the summary is shot and checked in pixels.

#include "Application/GameHarness.h"
#include "Application/GamePilot.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "Application/ChapterPage.h"
#include "Application/HighScoreScreen.h"
#include "Application/PageScreen6.h"
#include "Base/Ui/UiTextBox.h"
#include "Common/HighScoreTable.h"

namespace gametest {

namespace {

typedef ChapterPage P;
constexpr double GameZoom = 400.0;
// Every pass of the main loop: the loop's longest frame, so that the run takes fewest passes.
constexpr unsigned FrameMs = 30;
// The game's randomness (thugs turning round) drawn the same way on every run.
constexpr unsigned Seed = 1234;

struct Route {
    std::string file;
    P::Button slot;
    int exitCode;
    std::vector<Move> moves;
};

std::vector<Route> readRoutes()
{
    static const std::map<std::string, Move::Action> actions = {
        {"walk", Move::Walk}, {"jump>", Move::JumpRight}, {"jump<", Move::JumpLeft}, {"jump^", Move::JumpUp},
        {"door", Move::Door}, {"use", Move::Use},          {"throw>", Move::ThrowRight},
        {"throw<", Move::ThrowLeft}, {"wait", Move::Wait}};
    std::vector<Route> routes;
    // Beside this file in the source tree, which holds the build folders.
    std::filesystem::path dir = std::filesystem::current_path();
    const std::filesystem::path here = std::filesystem::path(__FILE__).parent_path() / "routes.txt";
    while (dir.has_relative_path() && !std::filesystem::exists(dir / here)) dir = dir.parent_path();
    std::ifstream in(dir / here);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string first, action;
        int slot = 0;
        Move move{};
        if (!(words >> first)) continue;
        if (first == "level") {
            routes.push_back({});
            words >> routes.back().file >> slot >> routes.back().exitCode;
            routes.back().slot = P::Button(slot - 1);
        } else if (!routes.empty() && (words >> move.x >> action) && actions.count(action)) {
            move.map = std::stoi(first);
            move.action = actions.at(action);
            words >> move.frames;
            routes.back().moves.push_back(move);
        } else {
            ADD_FAILURE() << "unreadable route line: " << line;
        }
    }
    return routes;
}

class WholeGameTest : public GameTest {
protected:
    void frames(int count = 1) { app->runFrames(count, FrameMs); }
    void key(SDLKey sym)
    {
        uitest::typeKey(sym);
        frames(2);
    }
    GameScreen* game() const { return app->getGameScreen(); }
    ChapterPage* page() const { return game()->getChapterPage(game()->getPageIndex()); }

    // Right until the slot is the one button lit, then Enter; the level must start.
    void play(const Route& route)
    {
        SCOPED_TRACE(route.file);
        ChapterPage* chapter = page();
        ASSERT_NE(nullptr, chapter);
        for (int tries = 0; tries < 12; ++tries) {
            int lit = 0;
            for (int b = P::kSlot1; b <= P::kPreviousPage; ++b)
                if (chapter->getButton(P::Button(b)) && chapter->getButton(P::Button(b))->isLit()) ++lit;
            if (lit == 1 && chapter->getButton(route.slot)->isLit()) break;
            key(SDLK_RIGHT);
        }
        key(SDLK_RETURN);
        ASSERT_NE(nullptr, game()->getLevel());
        ASSERT_EQ(route.file, game()->getLevel()->getFileName());
        const int lives = game()->getPlayer()->getLives();
        Pilot pilot(game());
        pilot.fly(route.moves);
        // The exit reached, as the room holds it while the level ends.
        int exitCode = 0;
        for (int i = 0; i < Pilot::kMoveFrames && game()->getLevel(); ++i) {
            const Map* room = game()->getLevel()->getCurrentMap();
            if (room && room->getExitTimer() > 0) exitCode = room->getExitCode();
            pilot.frame();
            frames();
        }
        ASSERT_EQ(nullptr, game()->getLevel()) << "not finished: hero at " << game()->getPlayer()->getX();
        EXPECT_EQ(route.exitCode, exitCode);
        EXPECT_GE(game()->getPlayer()->getLives(), lives) << "the hero died on the way";
        EXPECT_TRUE(chapter->isLevelDone(route.slot));
        if (route.exitCode == 2) {
            EXPECT_TRUE(chapter->isBonusShown());
        }
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
};

}  // namespace

TEST_F(WholeGameTest, FromTheTitleThroughEveryLevelToTheHighScoreTable)
{
    const std::vector<Route> routes = readRoutes();
    ASSERT_EQ(30u, routes.size());
    start();
    std::srand(Seed);
    frames();
    // Any key leaves the title; Enter on the first button of the main menu starts a game.
    key(SDLK_a);
    key(SDLK_DOWN);
    key(SDLK_RETURN);
    ASSERT_EQ(game(), app->getCurrentScreen());
    expectPage("page1", "page1_title.pcx", "chapter1_button.pcx", 0, 150);
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
        ASSERT_NO_FATAL_FAILURE(play(routes[i]));
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

    // The program ends and starts again: the name and the points are in the table.
    app->shutdown();
    delete app;
    app = nullptr;
    start();
    scores = app->getHighScoreScreen();
    EXPECT_EQ("SPY", scores->getNameBox(row)->getText());
    EXPECT_EQ(std::to_string(score), scores->getPointsBox(row)->getText());
}

}  // namespace gametest
