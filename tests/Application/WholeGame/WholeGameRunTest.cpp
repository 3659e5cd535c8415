// The whole game played as a player plays it: the application started as the entry point
// starts it, every step a real SDL key event through its main loop, on game time (each pass
// of the loop a fixed number of milliseconds). From the title through every chapter page and
// every one of the thirty levels, the bonus levels revealed by their exits, to the summary,
// whose end button sends the score to the high-score table, where the name typed survives a
// restart. Each page and the summary is shot and checked in pixels.

#include "Application/GameHarness.h"

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "Application/ChapterPage.h"
#include "Application/GameScreen.h"
#include "Application/HighScoreScreen.h"
#include "Application/MainMenuScreen.h"
#include "Application/PageScreen6.h"
#include "Base/Ui/UiTextBox.h"
#include "Common/GameConstants.h"
#include "Common/HighScoreTable.h"
#include "Common/Level.h"
#include "Common/Map.h"
#include "Common/Score.h"
#include "Kovo/Player.h"

namespace gametest {

namespace {

typedef ChapterPage P;
constexpr double GameZoom = 400.0;
// Every pass of the main loop advances the game by this much: the loop's longest frame.
constexpr unsigned FrameMs = 30;
// The game's randomness (thugs turning round) drawn the same way on every run.
constexpr unsigned Seed = 1234;
// Generous budgets, in frames, after which a step counts as failed.
constexpr int MoveBudget = 1500;
constexpr int LevelEndBudget = 200;

// One step of a route: in room `room`, the hero is walked to `x` (the arrow held until he has
// passed it), then does what the action says. Jumps start from the ground and keep Ctrl held
// until he has landed; a door keeps Up held until he is in the next room; a lever is one press
// of Up; a throw faces the way first and holds the space bar until the charge is full; a wait
// lets `frames` passes go by with no key held.
struct Move {
    enum Action { Walk, JumpLeft, JumpUp, JumpRight, Door, Use, ThrowLeft, ThrowRight, Wait };
    int room;
    double x;
    Action action;
    int frames = 0;
};

// A level as the script plays it: the page slot that starts it, the exit code it is left by,
// and the route to that exit. A flat stretch of ground on each route (noted) is where the
// level's own actors stand: a route that meets one deals with it first (a throw and a wait).
struct Route {
    const char* file;
    P::Button slot;
    int exitCode;
    std::vector<Move> moves;
};

typedef Move M;
// Up the three ledges to the exit of code 2 (or 1) above the first one, from the room's left.
const std::vector<Move> kSteps = {{2, 230, M::JumpRight}, {2, 300, M::Walk}, {2, 430, M::JumpRight},
                                  {2, 520, M::Walk},      {2, 500, M::JumpLeft}, {2, 340, M::Walk}};
std::vector<Move> stepsIn(int room)
{
    std::vector<Move> moves = kSteps;
    for (Move& m : moves) m.room = room;
    return moves;
}
std::vector<Move> then(std::vector<Move> a, const std::vector<Move>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
// A thug ahead on the ground: a grenade at full charge from 450 before him, then time to sleep.
std::vector<Move> gasAhead(int room, double from)
{
    return {{room, from, M::Walk}, {room, from, M::ThrowRight}, {room, from, M::Wait, 60}};
}

const std::vector<std::vector<Route>> kChapters = {
    {
        // The yard (its stretch 900-2000 past the block), the tower's thug, the roof.
        {"level1-1.xml", P::kSlot1, 1,
         {{1, 396, M::Walk}, {1, 396, M::JumpRight}, {1, 1700, M::Walk}, {1, 1700, M::JumpRight},
          {1, 2310, M::Walk}, {1, 2310, M::Door}, {2, 380, M::Walk}, {2, 380, M::ThrowRight},
          {2, 380, M::Wait, 120}, {2, 380, M::JumpUp}, {2, 545, M::Walk}, {2, 545, M::JumpRight},
          {2, 655, M::Walk}, {2, 655, M::JumpLeft}, {2, 545, M::Walk}, {2, 545, M::JumpRight},
          {2, 655, M::Walk}, {2, 655, M::JumpLeft}, {2, 130, M::Walk}, {2, 130, M::Door}, {3, 890, M::Walk}}},
        // Over the block, through the door, along the tower (stretch 700-1400).
        {"level1-2.xml", P::kSlot2, 1, {{1, 560, M::JumpRight}, {1, 1500, M::Door}, {2, 1100, M::Walk}}},
        // The lever in the tower opens the door to the roof.
        {"level1-3.xml", P::kSlot3, 1,
         {{1, 1500, M::Door}, {2, 800, M::Use}, {2, 1080, M::Door}, {3, 1500, M::Walk}}},
        // Into the gate, the thug put to sleep, past him.
        {"level1-4.xml", P::kSlot4, 1, then({{1, 200, M::Door}}, then(gasAhead(3, 350), {{3, 1300, M::Walk}}))},
        // Over the block (stretch 900-1400), into the roof, up the chimney steps: code 2.
        {"level1-5.xml", P::kSlot5, 2,
         then({{1, 600, M::JumpRight}, {1, 1500, M::Door}}, stepsIn(2))},
        {"level1-x.xml", P::kSlot6, 1, {{1, 1500, M::Door}, {2, 1100, M::Walk}}},
    },
    {
        // Stretch 800-1400 of the first room.
        {"level2-1.xml", P::kSlot1, 1, {{1, 560, M::JumpRight}, {1, 1500, M::Door}, {2, 900, M::Walk}}},
        {"level2-2.xml", P::kSlot2, 1, then(gasAhead(1, 650), {{1, 1900, M::Walk}})},
        // Stretch 1000-1400 past the block; the exit of code 2 reveals the bonus level.
        {"level2-3.xml", P::kSlot3, 2, then({{1, 860, M::JumpRight}, {1, 1500, M::Door}}, stepsIn(2))},
        // Stretch 1000-1500 past the ice.
        {"level2-4.xml", P::kSlot4, 1, {{1, 1550, M::Use}, {1, 1700, M::Door}, {2, 900, M::Walk}}},
        // The wolf of the stretch past the block (800-1400), gassed from before the block.
        {"level2-5.xml", P::kSlot5, 1,
         then(gasAhead(1, 560), {{1, 660, M::JumpRight}, {1, 1500, M::Door}, {2, 1100, M::Walk}})},
        // The knife thrower past the block, gassed from before it.
        {"level2-x.xml", P::kSlot6, 1, then(gasAhead(1, 520), {{1, 560, M::JumpRight}, {1, 1300, M::Walk}})},
    },
    {
        // Stretch 600-950.
        {"level3-1.xml", P::kSlot1, 1, {{1, 960, M::JumpRight}, {1, 1500, M::Walk}}},
        // Stretch 1000-1400.
        {"level3-2.xml", P::kSlot2, 1, {{1, 860, M::JumpRight}, {1, 1500, M::Door}, {2, 900, M::Walk}}},
        {"level3-3.xml", P::kSlot3, 1, then(gasAhead(1, 650), {{1, 1580, M::Walk}})},
        // Stretch 600-1100 under the ledges.
        {"level3-4.xml", P::kSlot4, 1, stepsIn(1)},
        // Over the saw, and over the rat at the end of the stretch past it (900-1400).
        {"level3-5.xml", P::kSlot5, 1, {{1, 785, M::JumpRight}, {1, 1320, M::JumpRight}, {1, 1500, M::Walk}}},
        {"level3-6.xml", P::kSlot6, 1, then(gasAhead(1, 650), {{1, 1500, M::Door}, {2, 900, M::Walk}})},
    },
    {
        // Stretch 900-1050 past the saw; the lever stops the hammer.
        {"level4-1.xml", P::kSlot1, 1, {{1, 300, M::Use}, {1, 785, M::JumpRight}, {1, 1100, M::Walk}}},
        // Stretch 600-1200 on the belt.
        {"level4-2.xml", P::kSlot2, 1, {{1, 1300, M::Use}, {1, 1450, M::Door}, {2, 900, M::Walk}}},
        // The robot between the saws (750-1150), stopped by the phone where he lands.
        {"level4-3.xml", P::kSlot3, 1, {{1, 635, M::JumpRight}, {1, 1135, M::JumpRight}, {1, 1500, M::Walk}}},
        // Stretch 300-1400 of the first room.
        {"level4-4.xml", P::kSlot4, 1, {{1, 1500, M::Door}, {2, 350, M::Use}, {2, 1100, M::Walk}}},
        {"level4-5.xml", P::kSlot5, 1, then(gasAhead(1, 650), {{1, 1900, M::Walk}})},
        // Stretch 1100-1450 past the saw.
        {"level4-6.xml", P::kSlot6, 1, {{1, 300, M::Use}, {1, 985, M::JumpRight}, {1, 1500, M::Walk}}},
    },
    {
        // The lever runs the bridge out over the spikes; stretch 600-850.
        {"level5-1.xml", P::kSlot1, 1, {{1, 220, M::Use}, {1, 220, M::Wait, 80}, {1, 900, M::Walk}}},
        // Stretch 500-1100 on the belt.
        {"level5-2.xml", P::kSlot2, 1, {{1, 1160, M::JumpRight}, {1, 1500, M::Door}, {2, 900, M::Walk}}},
        // Stretch 1000-1400; the exit of code 2 reveals the bonus level.
        {"level5-3.xml", P::kSlot3, 2, then({{1, 860, M::JumpRight}, {1, 1500, M::Door}}, stepsIn(2))},
        {"level5-4.xml", P::kSlot4, 1,
         then(gasAhead(1, 650),
              {{1, 1900, M::Door}, {2, 220, M::Use}, {2, 220, M::Wait, 80}, {2, 900, M::Walk}})},
        // Stretch 600-1400 past the hammer.
        {"level5-5.xml", P::kSlot5, 1,
         {{1, 300, M::Use}, {1, 1500, M::Door}, {2, 220, M::Use}, {2, 220, M::Wait, 80}, {2, 900, M::Walk}}},
        // The diamond ends the bonus level.
        {"level5-x.xml", P::kSlot6, 1, {{1, 460, M::JumpRight}, {1, 1200, M::Walk}}},
    },
};

// A player at the keys, watching only where the hero is: each frame it sends the key events
// the route needs next. Hint panels are sent away with a key as they come.
class Pilot {
public:
    explicit Pilot(GameScreen* game) : _game(game) {}

    void fly(const std::vector<Move>& moves)
    {
        _moves = moves;
        _at = 0;
        startMove();
    }
    // Called before each frame. True once the route is done (or the level has ended); a move
    // that takes too long fails the test.
    bool frame()
    {
        Level* level = _game->getLevel();
        Player* hero = _game->getPlayer();
        if (!level || !level->getCurrentMap() || !hero || _at >= _moves.size()) {
            releaseAll();
            return true;
        }
        if (level->hasHint()) {
            releaseAll();
            uitest::typeKey(SDLK_x);
            return false;
        }
        const Move& move = _moves[_at];
        const int room = level->getCurrentMap()->getId();
        if (++_spent > MoveBudget) {
            ADD_FAILURE() << "move " << _at << " (room " << move.room << ", x " << move.x << ") not done: hero in room "
                          << room << " at " << hero->getX() << ", " << hero->getY() << " in state "
                          << hero->getState() << (hero->isRightHeld() ? ", Right held" : "")
                          << (hero->isLeftHeld() ? ", Left held" : "");
            _at = _moves.size();
            return false;
        }
        switch (_phase) {
        case Approach:
            // Through a door, he is not in the move's room yet.
            if (room != move.room) return false;
            if (move.action == M::Wait) {
                releaseAll();
                _phase = Waiting;
                return false;
            }
            if (_direction == 0) _direction = move.x >= hero->getX() ? 1 : -1;
            if (_direction > 0 ? hero->getX() < move.x : hero->getX() > move.x) {
                hold(_direction > 0 ? SDLK_RIGHT : SDLK_LEFT);
                return false;
            }
            return act(move, hero);
        case TakingOff:
            if (hero->isJumping()) _phase = Flying;
            return false;
        case Flying:
            if (onGround(hero)) {
                release(SDLK_LCTRL);
                next();
            }
            return false;
        case Entering:
            if (room != move.room) {
                release(SDLK_UP);
                next();
            }
            return false;
        case Pressed:
            release(SDLK_UP);
            _phase = Waiting;
            _waited = move.frames > 0 ? move.frames : 10;
            return false;
        case Turning:
            if (hero->isFacingLeft() != (move.action == M::ThrowLeft)) {
                hold(move.action == M::ThrowLeft ? SDLK_LEFT : SDLK_RIGHT);
                return false;
            }
            release(SDLK_LEFT);
            release(SDLK_RIGHT);
            if (!onGround(hero)) return false;
            press(SDLK_SPACE);
            _phase = Charging;
            return false;
        case Charging:
            // The upward speed fills last.
            if (hero->getThrowVelocityY() >= GameConstants::jumpSpeed) {
                release(SDLK_SPACE);
                _phase = Throwing;
            }
            return false;
        case Throwing:
            if (!hero->isThrowing()) next();
            return false;
        case Waiting:
            if (_waited == 0) _waited = move.frames;
            if (--_waited <= 0) next();
            return false;
        }
        return false;
    }

private:
    enum Phase { Approach, TakingOff, Flying, Entering, Pressed, Turning, Charging, Throwing, Waiting };

    bool act(const Move& move, Player* hero)
    {
        switch (move.action) {
        case M::Walk:
            // The arrow stays held: the next move may go on the same way.
            next();
            return false;
        case M::ThrowLeft:
        case M::ThrowRight:
            _phase = Turning;
            return false;
        case M::JumpLeft:
            hold(SDLK_LEFT);
            break;
        case M::JumpRight:
            hold(SDLK_RIGHT);
            break;
        default:
            release(SDLK_LEFT);
            release(SDLK_RIGHT);
            break;
        }
        if (!onGround(hero)) return false;
        if (move.action == M::Door) {
            press(SDLK_UP);
            _phase = Entering;
        } else if (move.action == M::Use) {
            press(SDLK_UP);
            _phase = Pressed;
        } else {
            press(SDLK_LCTRL);
            _phase = TakingOff;
        }
        return false;
    }
    static bool onGround(const Player* hero)
    {
        return !hero->isJumping() && !hero->isAirborne() && hero->getVerticalSpeed() == 0;
    }
    void press(SDLKey key)
    {
        if (_held.insert(key).second) uitest::pushKey(key, true);
    }
    void release(SDLKey key)
    {
        if (_held.erase(key)) uitest::pushKey(key, false);
    }
    // One arrow at a time.
    void hold(SDLKey arrow)
    {
        release(arrow == SDLK_RIGHT ? SDLK_LEFT : SDLK_RIGHT);
        press(arrow);
    }
    void releaseAll()
    {
        while (!_held.empty()) release(*_held.begin());
    }
    void startMove()
    {
        _phase = Approach;
        _direction = 0;
        _spent = 0;
        _waited = 0;
    }
    void next()
    {
        ++_at;
        startMove();
    }

    GameScreen* _game;
    std::vector<Move> _moves;
    size_t _at = 0;
    Phase _phase = Approach;
    int _direction = 0;
    int _spent = 0;
    int _waited = 0;
    std::set<SDLKey> _held;
};

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

    // Right until the slot is the one button lit, then Enter.
    void start(P::Button slot)
    {
        for (int tries = 0; tries < 12; ++tries) {
            bool alone = page()->getButton(slot)->isLit();
            for (int b = P::kSlot1; b <= P::kPreviousPage; ++b)
                if (b != slot && page()->getButton(P::Button(b)) && page()->getButton(P::Button(b))->isLit()) alone = false;
            if (alone) break;
            key(SDLK_RIGHT);
        }
        key(SDLK_RETURN);
    }
    void play(const Route& route)
    {
        SCOPED_TRACE(route.file);
        ChapterPage* chapter = page();
        start(route.slot);
        ASSERT_NE(nullptr, game()->getLevel()) << "not started";
        ASSERT_EQ(route.file, game()->getLevel()->getFileName());
        const int lives = game()->getPlayer()->getLives();
        Pilot pilot(game());
        pilot.fly(route.moves);
        // The exit the hero reached, as the room holds it while the level ends.
        int exitCode = 0;
        auto watchExit = [&] {
            const Level* level = game()->getLevel();
            if (level && level->getCurrentMap() && level->getCurrentMap()->getExitTimer() > 0)
                exitCode = level->getCurrentMap()->getExitCode();
        };
        while (!pilot.frame()) {
            frames();
            watchExit();
        }
        for (int i = 0; i < LevelEndBudget && game()->getLevel(); ++i) {
            frames();
            watchExit();
        }
        ASSERT_EQ(nullptr, game()->getLevel()) << "the level did not end; the hero is at "
                                               << game()->getPlayer()->getX() << ", " << game()->getPlayer()->getY();
        EXPECT_EQ(app->getGameScreen(), app->getCurrentScreen()) << "the hero died for good";
        EXPECT_GE(game()->getPlayer()->getLives(), lives) << "the hero died on the way";
        EXPECT_EQ(route.exitCode, exitCode);
        EXPECT_TRUE(chapter->isLevelDone(route.slot));
        // The exit taken: code 2 shows the chapter's bonus level.
        if (route.exitCode == 2) {
            EXPECT_TRUE(chapter->isBonusShown());
        }
    }
    // The page as it shows: its picture, its title, a check mark on each finished slot.
    void expectPageDrawn(int index, const std::string& step)
    {
        frames(2);
        Shot shot = shoot(step);
        EXPECT_GT(shot.share(0, 0, 800, 20, pictureColour("page.pcx")), 0.5) << step;
        const std::string title = "page" + std::to_string(index) + "_title.pcx";
        EXPECT_GT(shot.shareAround(GameZoom, 0, 276, 300, 30, pictureColour(title)), 0.3) << step;
        for (int s = P::kSlot1; s <= P::kSlot6; ++s) {
            if (!page()->isLevelDone(P::Button(s))) continue;
            const UiButton* b = page()->getButton(P::Button(s));
            EXPECT_GT(shot.shareAround(GameZoom, b->getX() + 85, b->getY() + 80, 24, 24, pictureColour("check_mark2.pcx")),
                      0.3)
                << step << " slot " << s + 1;
        }
    }
};

}  // namespace

TEST_F(WholeGameTest, FromTheTitleThroughEveryLevelToTheHighScoreTable)
{
    GameTest::start();
    std::srand(Seed);
    frames();
    // Any key leaves the title; Enter on the first button of the main menu starts a game.
    key(SDLK_a);
    ASSERT_EQ(app->getMainMenu(), app->getCurrentScreen());
    key(SDLK_DOWN);
    key(SDLK_RETURN);
    ASSERT_EQ(game(), app->getCurrentScreen());

    for (size_t chapter = 0; chapter < kChapters.size(); ++chapter) {
        const int index = static_cast<int>(chapter) + 1;
        ASSERT_EQ(index, game()->getPageIndex());
        expectPageDrawn(index, "page" + std::to_string(index));
        for (const Route& route : kChapters[chapter]) {
            ASSERT_NO_FATAL_FAILURE(play(route));
            if (HasFailure()) return;
        }
        expectPageDrawn(index, "page" + std::to_string(index) + "_done");
        // The last finish lights the way on; Enter turns the page.
        ASSERT_TRUE(page()->getButton(P::kNextPage)->isLit());
        key(SDLK_RETURN);
    }

    // The summary of a game whose last bonus level was finished.
    ASSERT_EQ(6, game()->getPageIndex());
    frames(2);
    Shot shot = shoot("summary");
    EXPECT_GT(shot.share(0, 0, 800, 20, pictureColour("summarypage.pcx")), 0.5);
    EXPECT_GT(shot.shareAround(GameZoom, 0, 276, 300, 30, pictureColour("page6_title.pcx")), 0.3);
    EXPECT_GT(shot.shareAround(GameZoom, -125, -75, 300, 150, pictureColour("summary3.pcx")), 0.3);
    EXPECT_GT(shot.shareAround(GameZoom, 125, 150, 300, 150, pictureColour("summary1.pcx")), 0.3);

    // Right lights the end button, Enter ends the game whatever lives are left.
    const int score = game()->getPlayer()->getScore();
    EXPECT_GT(game()->getPlayer()->getLives(), 0);
    key(SDLK_RIGHT);
    EXPECT_TRUE(game()->getPage6()->getEndButton()->isLit());
    key(SDLK_RETURN);
    HighScoreScreen* scores = app->getHighScoreScreen();
    ASSERT_EQ(scores, app->getCurrentScreen());
    shoot("high_scores");
    int row = -1;
    for (int i = 0; i < HighScoreTable::kShown; ++i)
        if (scores->getNameBox(i)->hasFocus()) row = i;
    ASSERT_GE(row, 0) << "a score of " << score << " is not listed";
    uitest::typeText("spy");
    key(SDLK_RETURN);
    key(SDLK_ESCAPE);
    EXPECT_EQ(app->getMainMenu(), app->getCurrentScreen());

    // The program ends and starts again: the name and the points are in the table.
    app->shutdown();
    delete app;
    app = nullptr;
    GameTest::start();
    app->showHighScores();
    frames(1);
    scores = app->getHighScoreScreen();
    EXPECT_EQ("SPY", scores->getNameBox(row)->getText());
    EXPECT_EQ(std::to_string(score), scores->getPointsBox(row)->getText());
}

}  // namespace gametest
