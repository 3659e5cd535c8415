#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Base/Gph/GphWindow.h"
#include "Common/CharacterRegistry.h"
#include "Common/GameRandom.h"
#include "Common/Level.h"
#include "Common/LevelOwner.h"
#include "Common/Map.h"
#include "Kovo/Bird.h"
#include "Kovo/Character.h"
#include "Kovo/CharacterType.h"
#include "Kovo/Charger.h"
#include "Kovo/Ego2.h"
#include "Kovo/Player.h"
#include "Kovo/Projectile.h"
#include "Kovo/Reaction.h"
#include "Kovo/Thug.h"
#include "Kovo/Walker.h"
#include "DemoLevels.h"


// The shipped levels walked by a player at the keys, at the shortest and the longest frame the
// main loop makes: each walk reaches its exit without a death, and every actor class does what
// it does when it meets the hero.
namespace {

using demolevels::DemoLevelsTest;
using demolevels::kHeroHeight;
using demolevels::SilentOwner;

// A player at the keys: in the given room, walk to x, then do what the step says for `ms`
// milliseconds (0: the action's usual time).
struct Move {
    enum Action {
        Walk,   // nothing more
        Use,    // Up, for a door or a lever
        Jump,   // Ctrl, keeping the direction of the walk
        Hop,    // Ctrl straight up; a short press cuts the rise
        Throw,  // space held to charge the throw, then let go
        Wait    // no key at all
    };
    int map;
    double x;
    Action action;
    int ms;
};

int holdTime(const Move& move)
{
    if (move.ms > 0) return move.ms;
    switch (move.action) {
    case Move::Use: return 320;
    case Move::Jump: return 720;
    case Move::Hop: return 300;
    case Move::Throw: return 1000;
    default: return 0;
    }
}

// Game time between two drawings of the room during a walk.
constexpr int kDrawEvery = 480;

// Where a route begins: the level's start, or a room entered as a door would enter it.
struct Start {
    int map;
    double x;
    double y;
};

// Plays the level through the room's own frame step at `step` ms a frame, the keys going in
// through the level as the game screen hands them on, until an exit ends it, the hero dies or
// two minutes of play have passed. Hint panels are put away with a key as they come.
// Returns the milliseconds played. `done`, when given, ends the play as soon as it holds.
int pilot(Level& level, Player& player, const SilentOwner& owner, const std::vector<Move>& moves,
          unsigned step, const Start* start = nullptr, const std::function<bool()>& done = nullptr)
{
    level.start();
    if (start) level.gotoMap(start->map, start->x, start->y, 0, 0, 0, 0, 0);
    size_t at = 0;
    int held = 0;
    int drawnMap = -1;
    int played = 0;
    int drawnAt = 0;
    while (played < 120000 && owner.finished.empty() && owner.deaths == 0) {
        const Map* map = level.getCurrentMap();
        if (!map) break;
        // A room takes keys once it has been drawn; after that it is drawn every half second
        // of play, whatever the frame step, so short frames cost no more drawing.
        if (map->getId() != drawnMap || played - drawnAt >= kDrawEvery) {
            level.draw();
            drawnMap = map->getId();
            drawnAt = played;
        }
        if (level.hasHint()) {
            level.onCharDown('h');
            level.onCharUp('h');
        }
        if (held > 0) {
            held -= static_cast<int>(step);
            if (held <= 0) {
                switch (moves[at].action) {
                case Move::Use: level.onKeyUp(AppKeyUp); break;
                case Move::Jump:
                case Move::Hop: level.onKeyUp(AppKeyCtrl); break;
                case Move::Throw: level.onCharUp(' '); break;
                default: break;
                }
                ++at;
            }
        } else if (at < moves.size() && map->getId() == moves[at].map) {
            const Move& move = moves[at];
            const double dx = move.x - player.getX();
            if (std::fabs(dx) > 8) {
                level.onKeyUp(dx > 0 ? AppKeyLeft : AppKeyRight);
                level.onKeyDown(dx > 0 ? AppKeyRight : AppKeyLeft);
            } else {
                if (move.action != Move::Walk && move.action != Move::Jump) {
                    level.onKeyUp(AppKeyLeft);
                    level.onKeyUp(AppKeyRight);
                }
                switch (move.action) {
                case Move::Use: level.onKeyDown(AppKeyUp); break;
                case Move::Jump:
                case Move::Hop: level.onKeyDown(AppKeyCtrl); break;
                case Move::Throw: level.onCharDown(' '); break;
                default: break;
                }
                held = holdTime(move);
                if (held == 0) ++at;
            }
        }
        level.update(step);
        played += static_cast<int>(step);
        if (done && done()) break;
    }
    level.stop();
    return played;
}

// The walks, played at the shortest and the longest frame the main loop makes: the hero's
// reach changes with the frame, and every walk must hold at both.
class DemoWalksTest : public DemoLevelsTest, public ::testing::WithParamInterface<unsigned> {};

INSTANTIATE_TEST_SUITE_P(FrameSteps, DemoWalksTest, ::testing::Values(1u, 30u),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return std::to_string(info.param) + "ms";
                         });


// The routes below are played with the game's own world step; the thug of level 1-4's yard is
// left to the reach check above, his moves being his own.
TEST_P(DemoWalksTest, LevelsArePlayedThroughToTheirExits)
{
    typedef Move M;
    const struct {
        const char* file;
        std::vector<Move> moves;
        int exitCode;
    } routes[] = {
        // Over the block in the yard, through the door, along the tower's floor.
        {"level1-2.xml", {{1, 560, M::Jump, 0}, {1, 700, M::Walk, 0}, {1, 1500, M::Use, 0}, {2, 1150, M::Walk, 0}}, 1},
        // The lever in the tower unlocks the door to the roof.
        {"level1-3.xml", {{1, 1500, M::Use, 0}, {2, 800, M::Use, 0}, {2, 1080, M::Use, 0}, {3, 1550, M::Walk, 0}}, 1},
        {"level1-5.xml", {{1, 600, M::Jump, 0}, {1, 900, M::Walk, 0}, {1, 1500, M::Use, 0}, {2, 1550, M::Walk, 0}}, 1},
        // Up the chimney steps to the hidden exit.
        {"level1-5.xml",
         {{1, 600, M::Jump, 0},
          {1, 900, M::Walk, 0},
          {1, 1500, M::Use, 0},
          {2, 230, M::Jump, 0},
          {2, 300, M::Walk, 0},
          {2, 430, M::Jump, 0},
          {2, 520, M::Walk, 0},
          {2, 500, M::Jump, 0},
          {2, 340, M::Walk, 0}},
         2},
        {"level1-x.xml", {{1, 1500, M::Use, 0}, {2, 1150, M::Walk, 0}}, 1},
    };
    for (const auto& route : routes) {
        SCOPED_TRACE(route.file);
        _owner = SilentOwner();
        Player player(_app.get());
        Level level(_app.get(), &_owner, &player);
        ASSERT_EQ(0, level.read(route.file, true, false));
        pilot(level, player, _owner, route.moves, GetParam());
        EXPECT_EQ(0, _owner.deaths);
        EXPECT_EQ(route.file, _owner.finished);
        EXPECT_EQ(route.exitCode, _owner.exitCode);
    }
}

// The rooms behind the chapter's side doors, each played from the door that leads in.
TEST_P(DemoWalksTest, SideRoomsArePlayedThroughTheirProps)
{
    typedef Move M;
    const struct {
        const char* what;
        const char* file;
        Start start;
        std::vector<Move> moves;
    } routes[] = {
        // The crate pushed along the belt, climbed, and the shelf with the exit reached from it.
        {"store of 1-2",
         "level1-2.xml",
         {2, 300, 80},
         {{2, 300, M::Use, 0},
          {3, 1040, M::Walk, 0},
          {3, 1040, M::Hop, 0},
          {3, 1110, M::Walk, 0},
          {3, 1110, M::Jump, 0},
          {3, 1550, M::Walk, 0}}},
        // The lever runs the bridge out over the spikes.
        {"gap of 1-3",
         "level1-3.xml",
         {3, 1100, 400},
         {{3, 1100, M::Use, 0}, {4, 220, M::Use, 0}, {4, 220, M::Wait, 2000}, {4, 950, M::Walk, 0}}},
        // Up the block onto the ledge, where the thug sees him, charges under him and runs into
        // the block; past him while he sleeps.
        {"gate of 1-4",
         "level1-4.xml",
         {1, 120, 80},
         {{1, 200, M::Use, 0},
          {3, 330, M::Jump, 0},
          {3, 490, M::Jump, 0},
          {3, 640, M::Walk, 0},
          {3, 640, M::Wait, 4000},
          {3, 1350, M::Walk, 0}}},
        // Past the cut-scene, a slide on the ice, and up to the ledge on super shoes.
        {"ice of 1-5",
         "level1-5.xml",
         {2, 900, 80},
         {{2, 900, M::Use, 0},
          {3, 600, M::Wait, 400},
          {3, 1150, M::Jump, 0},
          {3, 1550, M::Walk, 0}}},
        // The lever stops the hammer, a jump clears the saw, and the diamond ends the level.
        {"vault of 1-x",
         "level1-x.xml",
         {2, 1000, 80},
         {{2, 1000, M::Use, 0}, {3, 300, M::Use, 0}, {3, 785, M::Jump, 0}, {3, 1100, M::Walk, 0}}},
    };
    for (const auto& route : routes) {
        SCOPED_TRACE(route.what);
        _owner = SilentOwner();
        Player player(_app.get());
        Level level(_app.get(), &_owner, &player);
        ASSERT_EQ(0, level.read(route.file, true, false));
        const int played = pilot(level, player, _owner, route.moves, GetParam(), &route.start);
        EXPECT_EQ(0, _owner.deaths);
        EXPECT_EQ(route.file, _owner.finished);
        EXPECT_EQ(1, _owner.exitCode);
        // Each of these is a short walk, the exit's own 1.5 s included.
        EXPECT_LT(played, 15000);
    }
}

// What one actor has been seen doing so far on a walk, on the frames it was in the hero's
// view.
struct Seen {
    std::set<CharacterState> states;
    bool bubble = false;  // a speech bubble of its own over it
    double minX = 1e9;
    double maxX = -1e9;
    double minY = 1e9;
    double maxY = -1e9;
    int shots = 0;        // bullets, knives or bombs that came into the room at it
    double fallen = 0;    // how far it has come down, frame by frame
    double closed = 0;    // how far it has moved toward the hero, frame by frame
    bool placed = false;  // the last in-view frame's place is known
    double lastX = 0;
    double lastY = 0;
};

// The most an actor moves in one frame of 30 ms; a larger jump is a restart somewhere else
// (a drop parked after its landing), not motion.
constexpr double kMostPerFrame = 60.0;
// A distance that a player sees an actor cover.
constexpr double kRealDistance = 50.0;

// Notes one in-view frame of an actor: its place, and how it moved since the last one.
void track(Seen& s, const Character& c, const Player& hero)
{
    const double x = c.getX();
    const double y = c.getY();
    s.states.insert(c.getState());
    s.minX = std::min(s.minX, x);
    s.maxX = std::max(s.maxX, x);
    s.minY = std::min(s.minY, y);
    s.maxY = std::max(s.maxY, y);
    if (s.placed && std::hypot(x - s.lastX, y - s.lastY) < kMostPerFrame) {
        s.fallen += std::max(0.0, s.lastY - y);
        // The part of its move that points at where the hero is.
        const double toX = hero.getX() - s.lastX;
        const double toY = hero.getY() + kHeroHeight / 2 - s.lastY;
        const double length = std::hypot(toX, toY);
        if (length > 0) s.closed += std::max(0.0, ((x - s.lastX) * toX + (y - s.lastY) * toY) / length);
    }
    s.placed = true;
    s.lastX = x;
    s.lastY = y;
}

bool seenIn(const Seen& seen, std::initializer_list<CharacterState> states)
{
    for (CharacterState s : states)
        if (seen.states.count(s)) return true;
    return false;
}

// A machine seen rolling both ways, over a distance a player notices.
bool rollsBetweenLimits(const Character&, const Seen& s)
{
    return seenIn(s, {CharacterStateMoveLeft}) && seenIn(s, {CharacterStateMoveRight}) && s.maxX - s.minX >= 100;
}

// A charger that has run past the hero and now runs the other way, back to where it passed
// him (only a run that passed him keeps that point).
bool runsBackPastHim(const Character& c, const Seen& s)
{
    const bool back = (c.getState() == CharacterStateMoveRight && seenIn(s, {CharacterStateMoveLeft})) ||
                      (c.getState() == CharacterStateMoveLeft && seenIn(s, {CharacterStateMoveRight}));
    return back && static_cast<const Charger&>(c).getReturnToX() >= 0;
}

// Each actor class met where its chapter brings it in, doing there what it does when it meets
// the hero; the hero gets past every one of them. One row a class: the level whose walk meets
// it, and what it does, told from the actor and what it has been seen doing on that walk
// while in the hero's view. The view is the camera's: 800 x 600 around the camera centre.
TEST_P(DemoWalksTest, EveryActorDoesItsPartWhereTheHeroMeetsIt)
{
    typedef Move M;
    const struct {
        CharacterType type;
        const char* file;
        const char* what;
        std::function<bool(const Character& actor, const Seen& seen)> did;
    } acts[] = {
        // Chapter 1.
        {CharacterTypeThug, "level1-4.xml", "shows a bubble and charges on past him",
         [](const Character& c, const Seen& s) {
             return s.bubble && seenIn(s, {CharacterStateMoveLeft, CharacterStateMoveRight}) &&
                    static_cast<const Thug&>(c).getReturnToX() >= 0;
         }},
        {CharacterTypeAgent, "level1-2.xml", "gives his hint", [](const Character& c, const Seen&) { return c.isHintShown(); }},
        {CharacterTypeEgo1, "level1-2.xml", "walks off and is gone",
         [](const Character& c, const Seen& s) { return seenIn(s, {CharacterStateMoveLeft, CharacterStateMoveRight}) && c.isAsleep(); }},
        {CharacterTypeDozer, "level1-2.xml", "rolls between its limits", rollsBetweenLimits},
        {CharacterTypeBuzzooka, "level1-2.xml", "fires at him", [](const Character&, const Seen& s) { return s.shots > 0; }},
        {CharacterTypeCart, "level1-2.xml", "rolls between its limits", rollsBetweenLimits},
        {CharacterTypeDrop, "level1-2.xml", "falls",
         [](const Character&, const Seen& s) { return seenIn(s, {CharacterStateFlyLeft}) && s.fallen > kRealDistance; }},
        {CharacterTypeBombshelle, "level1-3.xml", "shows a bubble and throws a bomb",
         [](const Character&, const Seen& s) { return s.bubble && seenIn(s, {CharacterStateShootLeft, CharacterStateShootRight}) && s.shots > 0; }},
        {CharacterTypeBird, "level1-3.xml", "flies after him",
         [](const Character& c, const Seen& s) { return static_cast<const Bird&>(c).isPursuing() && s.closed > kRealDistance; }},
        {CharacterTypeCopter, "level1-3.xml", "fires a burst at him and climbs or comes down after him",
         [](const Character&, const Seen& s) {
             return s.shots >= 4 && seenIn(s, {CharacterStateFlyRight}) && s.maxY - s.minY > kRealDistance;
         }},
        // Chapters 2 and 3.
        // A fall (state 22) that ends broken on the floor.
        {CharacterTypeIcicle, "level2-1.xml", "drops and breaks",
         [](const Character& c, const Seen& s) { return seenIn(s, {CharacterStateFlyLeft}) && c.getState() == CharacterStateAsleepLeft; }},
        {CharacterTypeGoat, "level2-3.xml", "charges past him and back", runsBackPastHim},
        {CharacterTypeWolf, "level2-5.xml", "shows a bubble, runs past him and back",
         [](const Character& c, const Seen& s) { return s.bubble && runsBackPastHim(c, s); }},
        {CharacterTypeKnifeThrower, "level2-x.xml", "shows a bubble and throws a knife",
         [](const Character&, const Seen& s) {
             return s.bubble && seenIn(s, {CharacterStateShootLeft, CharacterStateShootRight}) && s.shots > 0;
         }},
        {CharacterTypeGiant, "level3-2.xml", "shows a bubble and charges past him and back",
         [](const Character& c, const Seen& s) { return s.bubble && runsBackPastHim(c, s); }},
        {CharacterTypeRat, "level3-5.xml", "walks its stretch from one limit to the other",
         [](const Character& c, const Seen& s) {
             const Walker& rat = static_cast<const Walker&>(c);
             const double half = c.getRight() - c.getX();
             return s.maxX - s.minX > 100 && s.minX - half < rat.getLeftLimit() + 10 &&
                    s.maxX + half > rat.getRightLimit() - 10;
         }},
        {CharacterTypeThief1, "level3-6.xml", "runs off and vanishes",
         [](const Character& c, const Seen& s) { return seenIn(s, {CharacterStateMoveLeft, CharacterStateMoveRight}) && c.isAsleep(); }},
        // Chapters 4 and 5.
        {CharacterTypeGunner, "level4-1.xml", "shows a bubble, fires a burst, charges past him and comes back",
         [](const Character&, const Seen& s) {
             return s.bubble && s.shots >= 4 && seenIn(s, {CharacterStateMoveLeft}) && seenIn(s, {CharacterStateMoveRight});
         }},
        {CharacterTypeEgo2, "level4-2.xml", "gives his hint and flies off, letting his machines loose",
         [](const Character& c, const Seen&) {
             const std::list<Sprite*>& machines = static_cast<const Ego2&>(c).getLinkedSprites();
             return c.isHintShown() && c.getState() != CharacterStateStandLeft && machines.size() == 2 &&
                    machines.front()->isVisible() && machines.back()->isVisible();
         }},
        {CharacterTypeRobot, "level4-3.xml", "walks between its limits",
         [](const Character&, const Seen& s) {
             return seenIn(s, {CharacterStateMoveLeft}) && seenIn(s, {CharacterStateMoveRight}) && s.maxX - s.minX > 100;
         }},
        {CharacterTypeTurret, "level4-4.xml", "fires a bullet", [](const Character&, const Seen& s) { return s.shots > 0; }},
        {CharacterTypeKnight, "level5-2.xml", "sneaks after him",
         [](const Character&, const Seen& s) { return seenIn(s, {CharacterStateSneakLeft, CharacterStateSneakRight}) && s.maxX > s.minX; }},
        {CharacterTypeThief2, "level5-3.xml", "fires twice, flees and vanishes",
         [](const Character&, const Seen& s) {
             return s.shots >= 2 && seenIn(s, {CharacterStateMoveLeft, CharacterStateMoveRight}) &&
                    seenIn(s, {CharacterStateAsleepLeft, CharacterStateAsleepRight});
         }},
        {CharacterTypeThief3, "level5-x.xml", "fires a pair, runs past him and turns back",
         [](const Character&, const Seen& s) {
             return s.shots >= 2 && seenIn(s, {CharacterStateMoveLeft}) && seenIn(s, {CharacterStateMoveRight});
         }},
    };
    const int kToTheExit = -1;
    const struct {
        const char* file;
        Start start;  // room 0: from the level's own start
        std::vector<Move> moves;
        // The walk ends at the exit, or once the hero is past the actor of this type in the
        // start room; that one is asleep then or not.
        int pastOf;
        bool leftAsleep;
    } walks[] = {
        // Chapter 1. The thug of the tower, gassed from the foot of its ledges as the whole game
        // plays it.
        {"level1-1.xml", {0, 0, 0},
         {{1, 396, M::Jump, 0}, {1, 1625, M::Jump, 0}, {1, 2310, M::Use, 0},
          {2, 380, M::Throw, 1000}, {2, 380, M::Wait, 2000}, {2, 380, M::Hop, 720}, {2, 545, M::Jump, 0},
          {2, 655, M::Walk, 0}, {2, 655, M::Jump, 0}, {2, 545, M::Walk, 0}, {2, 545, M::Jump, 0},
          {2, 655, M::Walk, 0}, {2, 655, M::Jump, 0}, {2, 130, M::Use, 0}, {3, 890, M::Walk, 0}},
         kToTheExit, false},
        // The thug of the gate's yard sees him on the ledge, charges under him and on into the
        // block, and sleeps.
        {"level1-4.xml", {0, 0, 0},
         {{1, 200, M::Use, 0}, {3, 330, M::Jump, 0}, {3, 490, M::Jump, 0}, {3, 640, M::Walk, 0}, {3, 640, M::Wait, 4000},
          {3, 1350, M::Walk, 0}},
         kToTheExit, false},
        // A hint from the informant, the scientist walks off; the armour and the phone hang out
        // of his way. The rocket robot fires at the hero behind the low block, whose side takes
        // the shot; up the block and onto the walkway over the robot and the dozer; the cart
        // rolls in its trench below; he lets a drop fall by the exit before passing under it.
        {"level1-2.xml", {4, 120, 80},
         {{4, 1150, M::Walk, 0}, {4, 1150, M::Wait, 3000}, {4, 1080, M::Walk, 0}, {4, 1160, M::Jump, 600}, {4, 1220, M::Walk, 0},
          {4, 1260, M::Jump, 0}, {4, 2500, M::Walk, 0}, {4, 2500, M::Wait, 3000}, {4, 2740, M::Walk, 0}},
         kToTheExit, false},
        // The bomb thrower sees him past her low wall and throws; he jumps back behind the wall,
        // which takes the bomb, and gasses her from there. The bird beats about its aviary
        // overhead. He passes under the helicopter out of its sight; at the top of the ramp it
        // sees him and fires over his head, and comes down after him as he drops behind the
        // parapet, which takes its shots.
        {"level1-3.xml",
         {5, 120, 80},
         {{5, 430, M::Jump, 0}, {5, 560, M::Walk, 0}, {5, 560, M::Wait, 1000}, {5, 540, M::Jump, 0}, {5, 420, M::Throw, 1000},
          {5, 420, M::Wait, 1500}, {5, 430, M::Jump, 0}, {5, 1980, M::Jump, 0}, {5, 2480, M::Walk, 0},
          {5, 2480, M::Wait, 2500}, {5, 2560, M::Walk, 0}},
         kToTheExit, false},
        // Chapters 2 and 3. The icicle drops behind him and breaks.
        {"level2-1.xml", {0, 0, 0}, {{1, 560, M::Jump, 0}, {1, 700, M::Walk, 0}, {1, 1500, M::Use, 0}, {2, 950, M::Walk, 0}},
         kToTheExit, false},
        // From the block to the shelf: the goat charges under him, past him, and back.
        {"level2-3.xml", {0, 0, 0},
         {{1, 812, M::Jump, 0}, {1, 900, M::Walk, 0}, {1, 940, M::Jump, 0}, {1, 1500, M::Use, 0}, {2, 1150, M::Walk, 0}}, kToTheExit, false},
        // From the block onto the shelf over the wolf's stretch: it notices him, runs at him under
        // the shelf, past him to its limit and back while he waits above it.
        {"level2-5.xml", {0, 0, 0},
         {{1, 600, M::Jump, 0}, {1, 760, M::Jump, 0}, {1, 1000, M::Walk, 0}, {1, 1000, M::Wait, 4000},
          {1, 1500, M::Use, 0}, {2, 1100, M::Walk, 0}},
         kToTheExit, false},
        // Seen past the block, he jumps back behind it while the knife flies into its side,
        // then gasses the thrower over it.
        {"level2-x.xml", {1, 120, 80},
         {{1, 560, M::Jump, 0},
          {1, 740, M::Wait, 1200},
          {1, 720, M::Jump, 0},
          {1, 480, M::Walk, 0},
          {1, 520, M::Throw, 1000},
          {1, 520, M::Wait, 1500},
          {1, 560, M::Jump, 0},
          {1, 1300, M::Walk, 0}},
         CharacterTypeKnifeThrower, true},
        // A jump before the ledge shows him to the giant on it, which charges along the ledge
        // over his head, past him, and back.
        {"level3-2.xml", {0, 0, 0},
         {{1, 860, M::Jump, 0}, {1, 1000, M::Walk, 0}, {1, 1500, M::Use, 0}, {2, 300, M::Jump, 0}, {2, 950, M::Walk, 0}},
         kToTheExit, false},
        // Up onto the shelf short of the rat, which walks its stretch under him while he waits
        // over the saw.
        {"level3-5.xml", {0, 0, 0},
         {{1, 280, M::Jump, 0}, {1, 760, M::Walk, 0}, {1, 760, M::Wait, 3000}, {1, 1500, M::Walk, 0}}, kToTheExit, false},
        {"level3-6.xml", {2, 120, 80}, {{2, 950, M::Walk, 0}}, CharacterTypeThief1, true},
        // Chapters 4 and 5. Walking up to the yard the hero comes into the gunner's sight and
        // line of fire: he climbs the shelf and the catwalk while its bubble shows, the burst
        // passes under him and its charge beneath him and back.
        {"level4-1.xml", {0, 0, 0},
         {{1, 300, M::Use, 0}, {1, 640, M::Hop, 720}, {1, 680, M::Jump, 0}, {1, 830, M::Wait, 3000}, {1, 1160, M::Walk, 0}},
         kToTheExit, false},
        // The scientist gives his hint as the hero meets him and flies off, letting his cart
        // and rocket robot loose on the shelf above.
        {"level4-2.xml", {0, 0, 0}, {{1, 1300, M::Use, 0}, {1, 1450, M::Use, 0}, {2, 950, M::Walk, 0}}, kToTheExit, false},
        // The robot walks between the saws under the shelf he crosses them by.
        {"level4-3.xml", {1, 120, 80},
         {{1, 460, M::Jump, 0}, {1, 620, M::Jump, 0}, {1, 900, M::Walk, 0}, {1, 900, M::Wait, 3000}, {1, 1500, M::Walk, 0}},
         kToTheExit, false},
        // The wall gun fires over his head as he walks under it.
        {"level4-4.xml", {1, 120, 80}, {{1, 1300, M::Walk, 0}}, CharacterTypeTurret, false},
        // The knight comes to life once the hero is past it and sneaks after him to the exit.
        {"level5-2.xml", {2, 120, 80}, {{2, 950, M::Walk, 0}}, kToTheExit, false},
        // The thief on the shelf fires twice over his head, flees to the shelf's end and is gone.
        {"level5-3.xml", {1, 120, 80}, {{1, 860, M::Jump, 0}, {1, 1300, M::Walk, 0}}, CharacterTypeThief2, true},
        // The lever on the block wakes the thief on the shelf, who sees the hero up there and
        // fires over his head; the hero drops under the shelf and the thief runs past above him
        // and back.
        {"level5-x.xml", {1, 120, 80},
         {{1, 400, M::Jump, 0}, {1, 540, M::Use, 0}, {1, 760, M::Walk, 0}, {1, 760, M::Wait, 3000}, {1, 1300, M::Walk, 0}},
         kToTheExit, false},
    };
    std::set<CharacterType> acted;
    const ShpCoord* eye = _window->getCamera()->getPosition();
    auto inView = [eye](const Character& c) {
        return c.getRight() > eye->getX() - 400 && c.getLeft() < eye->getX() + 400 && c.getTop() > eye->getY() - 300 &&
               c.getBottom() < eye->getY() + 300;
    };
    for (const auto& walk : walks) {
        SCOPED_TRACE(walk.file);
        // Each walk draws the actors' chances afresh, whatever ran before it.
        GameRandom::seed(1);
        _owner = SilentOwner();
        Player player(_app.get());
        Level level(_app.get(), &_owner, &player);
        ASSERT_EQ(0, level.read(walk.file, true, false));
        const Start* start = walk.start.map ? &walk.start : nullptr;
        const Character* met = nullptr;
        if (walk.pastOf != kToTheExit)
            for (const Character* c : level.getMap(walk.start.map)->getCharacters())
                if (c->getType() == walk.pastOf) met = c;
        ASSERT_TRUE(walk.pastOf == kToTheExit || met);
        const double beyond = met ? met->getRight() + 20 : 0;
        std::map<const Character*, Seen> seen;
        std::set<const Projectile*> flying;
        pilot(level, player, _owner, walk.moves, GetParam(), start, [&] {
            const Map* map = level.getCurrentMap();
            std::vector<const Projectile*> fired;
            for (const Projectile* p : map->getEnemyProjectiles())
                if (!flying.count(p)) fired.push_back(p);
            flying.clear();
            flying.insert(map->getEnemyProjectiles().begin(), map->getEnemyProjectiles().end());
            for (const Character* c : map->getCharacters()) {
                if (!inView(*c)) continue;
                Seen& s = seen[c];
                track(s, *c, player);
                for (const Sprite* r : map->getReactions())
                    if (static_cast<const Reaction*>(r)->getOwner() == c) s.bubble = true;
                for (const Projectile* p : fired)
                    if (c->getLeft() - 20 < p->getX() && p->getX() < c->getRight() + 20 && c->getBottom() < p->getY() &&
                        p->getY() < c->getTop())
                        ++s.shots;
                for (const auto& act : acts)
                    if (act.type == c->getType() && walk.file == std::string(act.file) && act.did(*c, s))
                        acted.insert(act.type);
            }
            return met && map->getId() == walk.start.map && player.getX() > beyond;
        });
        EXPECT_EQ(0, _owner.deaths);
        if (met) {
            EXPECT_GT(player.getX(), beyond);
            EXPECT_EQ(walk.leftAsleep, met->isAsleep());
        } else {
            EXPECT_EQ(walk.file, _owner.finished);
        }
    }
    std::set<CharacterType> listed;
    for (const auto& act : acts) {
        listed.insert(act.type);
        if (!acted.count(act.type))
            ADD_FAILURE() << CharacterRegistry::find(act.type)->name << " never " << act.what << " in view on the walk of "
                          << act.file;
    }
    EXPECT_EQ(static_cast<size_t>(CharacterTypeThief3 + 1), listed.size());
}

}  // namespace
