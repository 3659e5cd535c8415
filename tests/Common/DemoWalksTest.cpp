#include <gtest/gtest.h>

#include <algorithm>
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
#include "Common/RoutePilot.h"
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


// The shipped levels walked by the routes' pilot, at the shortest and the longest frame the
// main loop makes: each walk reaches its exit without a death, and every actor class does what
// it does when it meets the hero.
namespace {

using demolevels::DemoLevelsTest;
using demolevels::SilentOwner;
using routetest::Move;
using routetest::Pilot;

// Where a walk begins: the level's start (room 0), or a room entered as a door would enter it.
struct Start {
    int map;
    double x;
    double y;
};

// Game time between two drawings of the room during a walk.
constexpr int kDrawEvery = 480;

// Plays the level at `step` ms a frame with the routes' pilot at the keys, which go in
// through the level as the game screen hands them on, until an exit ends it, the hero dies or
// two minutes of play have passed. Returns the milliseconds played. `done`, when given, ends
// the play as soon as it holds.
int play(Level& level, const SilentOwner& owner, const std::vector<Move>& moves, unsigned step,
         const Start& start, const std::function<bool()>& done = nullptr)
{
    level.start();
    if (start.map) level.gotoMap(start.map, start.x, start.y, 0, 0, 0, 0, 0);
    Pilot pilot([&] { return &level; }, routetest::levelKeys(level));
    pilot.fly(moves);
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
        pilot.frame(step);
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

// The ways through chapter 1 that its whole-game routes leave aside: the first exit of 1-5's
// roof, and the rooms behind the side doors, each played from the door that leads in.
TEST_P(DemoWalksTest, WaysTheRoutesLeaveArePlayedToTheirExits)
{
    typedef Move M;
    const struct {
        const char* what;
        const char* file;
        Start start;
        std::vector<Move> moves;
    } walks[] = {
        // Over the block, through the door and along the roof, leaving the chimney aside.
        {"roof of 1-5",
         "level1-5.xml",
         {0, 0, 0},
         {{1, 600, M::JumpRight}, {1, 900, M::Walk}, {1, 1500, M::Door}, {2, 1550, M::Walk}}},
        // The crate pushed along the belt and climbed with a jump from the push, and the shelf
        // with the exit reached from it.
        {"store of 1-2",
         "level1-2.xml",
         {2, 300, 80},
         {{2, 300, M::Door}, {3, 1032, M::JumpRight}, {3, 1110, M::JumpRight}, {3, 1550, M::Walk}}},
        // The lever runs the bridge out over the spikes.
        {"gap of 1-3",
         "level1-3.xml",
         {3, 1100, 400},
         {{3, 1100, M::Door}, {4, 220, M::Use}, {4, 220, M::Wait, 2000}, {4, 950, M::Walk}}},
        // Past the cut-scene, a slide on the ice, and up to the ledge on super shoes.
        {"ice of 1-5",
         "level1-5.xml",
         {2, 900, 80},
         {{2, 900, M::Door}, {3, 600, M::Walk}, {3, 600, M::Wait, 400}, {3, 1150, M::JumpRight}, {3, 1550, M::Walk}}},
        // The lever stops the hammer, a jump clears the saw, and the diamond ends the level.
        {"vault of 1-x",
         "level1-x.xml",
         {2, 1000, 80},
         {{2, 1000, M::Door}, {3, 300, M::Use}, {3, 785, M::JumpRight}, {3, 1100, M::Walk}}},
    };
    for (const auto& walk : walks) {
        SCOPED_TRACE(walk.what);
        _owner = SilentOwner();
        Player player(_app.get());
        Level level(_app.get(), &_owner, &player);
        ASSERT_EQ(0, level.read(walk.file, true, false));
        const int played = play(level, _owner, walk.moves, GetParam(), walk.start);
        EXPECT_EQ(0, _owner.deaths);
        EXPECT_EQ(walk.file, _owner.finished);
        EXPECT_EQ(1, _owner.exitCode);
        // Each of these is short, two rooms' walk at the most, the exit's own 1.5 s included.
        EXPECT_LT(played, 20000);
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
    // How far it has moved sideways toward the hero, frame by frame, on the frames its row
    // counts as going after him.
    double toward = 0;
    // The way it last moved across the hero's x by its own motion (1 right, -1 left; 0 once
    // it has turned), and where it turned back after each such pass.
    int passedWay = 0;
    std::vector<double> turns;
    bool placed = false;  // the last in-view frame's place is known
    double lastX = 0;
    double lastY = 0;
    double lastHeroX = 0;
};

// The most an actor moves in one frame of 30 ms; a larger jump is a restart somewhere else
// (a drop parked after its landing), not motion.
constexpr double kMostPerFrame = 60.0;
// A distance that a player sees an actor cover.
constexpr double kRealDistance = 50.0;

// Notes one in-view frame of an actor: its place, and how it moved since the last one.
// `after`: this frame's move toward the hero counts as going after him.
void track(Seen& s, const Character& c, const Player& hero, bool after)
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
        const double dx = x - s.lastX;
        const double heroX = hero.getX();
        if (after && dx * (heroX - s.lastX) > 0) s.toward += std::min(std::fabs(dx), std::fabs(heroX - s.lastX));
        // It passed him when it moved toward him and the two changed sides, whoever else
        // moved; his own walk past it, standing, is no pass.
        const double was = s.lastX - s.lastHeroX;
        if (was * (x - heroX) < 0 && dx * was < 0) s.passedWay = dx > 0 ? 1 : -1;
        else if (dx * s.passedWay < 0) {
            s.turns.push_back(s.lastX);
            s.passedWay = 0;
        }
    }
    s.placed = true;
    s.lastX = x;
    s.lastY = y;
    s.lastHeroX = hero.getX();
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
        // The frames on which its moves toward the hero count as going after him: all when
        // not given.
        std::function<bool(const Character& actor)> after = nullptr;
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
        // Sideways: its climb or sink to his height alone is no flight after him.
        {CharacterTypeBird, "level1-3.xml", "flies after him",
         [](const Character&, const Seen& s) { return s.toward > kRealDistance; },
         [](const Character& c) { return static_cast<const Bird&>(c).isPursuing(); }},
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
         [](const Character&, const Seen& s) { return s.toward > kRealDistance; },
         [](const Character& c) {
             return c.getState() == CharacterStateSneakLeft || c.getState() == CharacterStateSneakRight;
         }},
        {CharacterTypeThief2, "level5-3.xml", "fires twice, flees and vanishes",
         [](const Character&, const Seen& s) {
             return s.shots >= 2 && seenIn(s, {CharacterStateMoveLeft, CharacterStateMoveRight}) &&
                    seenIn(s, {CharacterStateAsleepLeft, CharacterStateAsleepRight});
         }},
        // Its first run turns back at the end of its stretch whatever it met; only a run past
        // him gives it a point to turn at, so a second turn after passing him is its own.
        {CharacterTypeThief3, "level5-x.xml", "fires a pair, runs past him and turns back, each way",
         [](const Character&, const Seen& s) { return s.shots >= 2 && s.turns.size() >= 2; }},
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
        // Chapter 1. The thug of the gate's yard sees him on the ledge, charges past under him,
        // turns short of the block and comes back.
        {"level1-4.xml", {0, 0, 0},
         {{1, 200, M::Door}, {3, 330, M::JumpRight}, {3, 490, M::JumpRight}, {3, 640, M::Walk}, {3, 640, M::Wait, 4000},
          {3, 1350, M::Walk}},
         kToTheExit, false},
        // A hint from the informant, the scientist walks off; the armour and the phone hang out
        // of his way. The rocket robot fires at the hero behind the low block, whose side takes
        // the shot; up the block and onto the walkway over the robot and the dozer; the cart
        // rolls in its trench below; he lets a drop fall by the exit before passing under it.
        {"level1-2.xml", {4, 120, 80},
         {{4, 1150, M::Walk}, {4, 1150, M::Wait, 3000}, {4, 1080, M::Walk}, {4, 1160, M::JumpRight},
          {4, 1260, M::JumpRight}, {4, 2500, M::Walk}, {4, 2500, M::Wait, 3000}, {4, 2740, M::Walk}},
         kToTheExit, false},
        // The bomb thrower sees him past her low wall and throws; he jumps back behind the wall,
        // which takes the bomb, and gasses her from there. The bird beats about its aviary
        // overhead. He passes under the helicopter out of its sight; at the top of the ramp it
        // sees him and fires over his head, and comes down after him as he drops behind the
        // parapet, which takes its shots.
        {"level1-3.xml", {5, 120, 80},
         {{5, 430, M::JumpRight}, {5, 560, M::Walk}, {5, 560, M::Wait, 1000}, {5, 540, M::JumpLeft},
          {5, 420, M::ThrowRight}, {5, 420, M::Wait, 1500}, {5, 430, M::JumpRight}, {5, 1980, M::JumpRight},
          {5, 2480, M::Walk}, {5, 2480, M::Wait, 2500}, {5, 2560, M::Walk}},
         kToTheExit, false},
        // Chapters 2 and 3. The icicle drops behind him and breaks.
        {"level2-1.xml", {0, 0, 0}, {{1, 560, M::JumpRight}, {1, 700, M::Walk}, {1, 1500, M::Door}, {2, 950, M::Walk}},
         kToTheExit, false},
        // From the block to the shelf: the goat charges under him, past him, and back.
        {"level2-3.xml", {0, 0, 0},
         {{1, 812, M::JumpRight}, {1, 900, M::Walk}, {1, 940, M::JumpRight}, {1, 1500, M::Door}, {2, 1150, M::Walk}},
         kToTheExit, false},
        // From the block onto the shelf over the wolf's stretch: it notices him, runs at him under
        // the shelf, past him to its limit and back while he waits above it.
        {"level2-5.xml", {0, 0, 0},
         {{1, 600, M::JumpRight}, {1, 760, M::JumpRight}, {1, 1000, M::Walk}, {1, 1000, M::Wait, 4000},
          {1, 1500, M::Door}, {2, 1100, M::Walk}},
         kToTheExit, false},
        // Seen on the crate past the block, where the knife flies under his feet into the
        // crate's side, he jumps back behind the block, then gasses the thrower over it.
        {"level2-x.xml", {1, 120, 80},
         {{1, 560, M::JumpRight}, {1, 740, M::Walk}, {1, 740, M::Wait, 1200}, {1, 720, M::JumpLeft}, {1, 480, M::Walk},
          {1, 520, M::ThrowRight}, {1, 520, M::Wait, 1500}, {1, 560, M::JumpRight}, {1, 1300, M::Walk}},
         CharacterTypeKnifeThrower, true},
        // A jump before the ledge shows him to the giant on it, which charges along the ledge
        // over his head, past him, and back.
        {"level3-2.xml", {0, 0, 0},
         {{1, 860, M::JumpRight}, {1, 1000, M::Walk}, {1, 1500, M::Door}, {2, 300, M::JumpRight}, {2, 950, M::Walk}},
         kToTheExit, false},
        // Up onto the shelf short of the rat, which walks its stretch under him while he waits
        // over the saw.
        {"level3-5.xml", {0, 0, 0},
         {{1, 280, M::JumpRight}, {1, 760, M::Walk}, {1, 760, M::Wait, 3000}, {1, 1500, M::Walk}}, kToTheExit, false},
        {"level3-6.xml", {2, 120, 80}, {{2, 950, M::Walk}}, CharacterTypeThief1, true},
        // Chapters 4 and 5. Up the block, whose side hides him from the gunner and takes its
        // bullets, he steps onto the ledge in its sight and jumps onto the catwalk: the burst
        // passes under him and the charge beneath him and back.
        {"level4-1.xml", {0, 0, 0},
         {{1, 300, M::Use}, {1, 560, M::JumpRight}, {1, 725, M::JumpRight}, {1, 960, M::Walk}, {1, 960, M::Wait, 3000},
          {1, 1160, M::Walk}},
         kToTheExit, false},
        // The scientist gives his hint as the hero meets him and flies off, letting his cart
        // and rocket robot loose on the shelf above.
        {"level4-2.xml", {0, 0, 0}, {{1, 1300, M::Use}, {1, 1450, M::Door}, {2, 950, M::Walk}}, kToTheExit, false},
        // The robot walks between the saws under the shelf he crosses them by.
        {"level4-3.xml", {1, 120, 80},
         {{1, 460, M::JumpRight}, {1, 620, M::JumpRight}, {1, 900, M::Walk}, {1, 900, M::Wait, 3000},
          {1, 1500, M::Walk}},
         kToTheExit, false},
        // The wall gun fires over his head as he walks under it.
        {"level4-4.xml", {1, 120, 80}, {{1, 1300, M::Walk}}, CharacterTypeTurret, false},
        // The knight comes to life once the hero is past it and sneaks after him to the exit.
        {"level5-2.xml", {2, 120, 80}, {{2, 950, M::Walk}}, kToTheExit, false},
        // The thief on the shelf fires twice over his head, flees to the shelf's end and is gone.
        {"level5-3.xml", {1, 120, 80}, {{1, 860, M::JumpRight}, {1, 1300, M::Walk}}, CharacterTypeThief2, true},
        // The lever on the block wakes the thief on the shelf, who sees the hero up there and
        // fires over his head; the hero drops under the shelf and the thief runs past above him
        // and back.
        {"level5-x.xml", {1, 120, 80},
         {{1, 400, M::JumpRight}, {1, 540, M::Use}, {1, 900, M::Walk}, {1, 900, M::Wait, 3000}, {1, 1300, M::Walk}},
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
        const Character* met = nullptr;
        if (walk.pastOf != kToTheExit)
            for (const Character* c : level.getMap(walk.start.map)->getCharacters())
                if (c->getType() == walk.pastOf) met = c;
        ASSERT_TRUE(walk.pastOf == kToTheExit || met);
        const double beyond = met ? met->getRight() + 20 : 0;
        std::map<const Character*, Seen> seen;
        std::set<const Projectile*> flying;
        play(level, _owner, walk.moves, GetParam(), walk.start, [&] {
            const Map* map = level.getCurrentMap();
            std::vector<const Projectile*> fired;
            for (const Projectile* p : map->getEnemyProjectiles())
                if (!flying.count(p)) fired.push_back(p);
            flying.clear();
            flying.insert(map->getEnemyProjectiles().begin(), map->getEnemyProjectiles().end());
            for (const Character* c : map->getCharacters()) {
                // Only the class whose row names this walk is watched here.
                const auto act = std::find_if(std::begin(acts), std::end(acts), [&](const auto& a) {
                    return a.type == c->getType() && walk.file == std::string(a.file);
                });
                if (act == std::end(acts) || !inView(*c)) continue;
                Seen& s = seen[c];
                track(s, *c, player, !act->after || act->after(*c));
                for (const Sprite* r : map->getReactions())
                    if (static_cast<const Reaction*>(r)->getOwner() == c) s.bubble = true;
                for (const Projectile* p : fired)
                    if (c->getLeft() - 20 < p->getX() && p->getX() < c->getRight() + 20 && c->getBottom() < p->getY() &&
                        p->getY() < c->getTop())
                        ++s.shots;
                if (act->did(*c, s)) acted.insert(act->type);
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
