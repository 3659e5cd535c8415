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
#include "Base/Snd/SndManager.h"
#include "Common/Barrier.h"
#include "Common/CharacterRegistry.h"
#include "Common/Exit.h"
#include "Common/GameRandom.h"
#include "Common/Level.h"
#include "Common/LevelOwner.h"
#include "Common/Map.h"
#include "Common/CutScene.h"
#include "Kovo/Bird.h"
#include "Kovo/Character.h"
#include "Kovo/CharacterType.h"
#include "Kovo/Charger.h"
#include "Kovo/Door.h"
#include "Kovo/Ego2.h"
#include "Kovo/Hammer.h"
#include "Kovo/Hazard.h"
#include "Kovo/Item.h"
#include "Kovo/ItemType.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Platform.h"
#include "Kovo/Player.h"
#include "Kovo/Projectile.h"
#include "Kovo/Reaction.h"
#include "Kovo/Switch.h"
#include "Kovo/Thug.h"
#include "Kovo/Walker.h"
#include "LevelTestWindow.h"
#include "support/Files.h"

// The level files as the game ships them: each reads cleanly with the game's own reader, and
// the hero can walk, jump and pass doors from his start to an exit.
namespace {

const char* const kChapter1[] = {"level1-1.xml", "level1-2.xml", "level1-3.xml",
                                 "level1-4.xml", "level1-5.xml", "level1-x.xml"};
// Every level the chapter pages list.
const char* const kAllLevels[] = {
    "level1-1.xml", "level1-2.xml", "level1-3.xml", "level1-4.xml", "level1-5.xml", "level1-x.xml",
    "level2-1.xml", "level2-2.xml", "level2-3.xml", "level2-4.xml", "level2-5.xml", "level2-x.xml",
    "level3-1.xml", "level3-2.xml", "level3-3.xml", "level3-4.xml", "level3-5.xml", "level3-6.xml",
    "level4-1.xml", "level4-2.xml", "level4-3.xml", "level4-4.xml", "level4-5.xml", "level4-6.xml",
    "level5-1.xml", "level5-2.xml", "level5-3.xml", "level5-4.xml", "level5-5.xml", "level5-x.xml"};
// The levels whose exit with code 2 reveals their chapter's bonus level.
const std::set<std::string> kBonusRevealers = {"level1-5.xml", "level2-3.xml", "level2-5.xml", "level5-3.xml"};

class SilentOwner : public LevelOwner {
public:
    void setObjective(const std::string& image) override { objective = image; }
    void onObjectiveFound() override {}
    void onPlayerDied() override { ++deaths; }
    void onLevelFinished(const std::string& file, int code) override
    {
        finished = file;
        exitCode = code;
    }
    std::string objective;
    int deaths = 0;
    std::string finished;
    int exitCode = -1;
};

// The hero's reach, as the room moves him: a 100 x 100 box standing on its feet, a jump of
// 700 units per second against the room's gravity (twice the jump speed with super shoes),
// about 210 units per second sideways for the 0.7 s a jump lasts. The checks keep a margin on
// both.
constexpr double kHeroHeight = 100.0;
constexpr double kHeroHalfWidth = 50.0;
constexpr double kJumpSpeed = 700.0;
constexpr double kShoesJumpSpeed = 1260.0;
constexpr double kSideReach = 120.0;
// A crate rests this far into the floor that holds it; pushed, it goes anywhere along that
// floor, which the check samples this often.
constexpr double kCrateFoot = 10.0;
constexpr double kCrateStep = 20.0;

double surfaceAt(const Barrier* floor, double x)
{
    return floor->getY2() + floor->getOffset() + floor->getSlope() * (x - floor->getX1());
}

// A stretch of floor the hero can walk along without meeting a wall. The floor may stand
// shifted by (dx, dy) from where the room holds it now: a platform at one of its waypoints,
// a crate pushed along. A platform carries the hero from any of its places to the others.
struct Stretch {
    const Map* map;
    const Barrier* floor;
    double dx;
    double dy;
    double x1;
    double x2;
    bool rides;
    double surface(double x) const { return surfaceAt(floor, x - dx) + dy; }
};

// Two stretches that a wall parts, joined when the hero can hop the rise over the wall.
struct Hop {
    size_t from;
    size_t to;
    double rise;
};

double jumpHeight(const Map* map, bool shod)
{
    const double speed = shod ? kShoesJumpSpeed : kJumpSpeed;
    return speed * speed / (2.0 * map->getGravity()) * 0.9;
}

// Cuts a floor, shifted by (dx, dy), at every wall that stands in the way of a hero walking
// on it.
void cutFloor(const Map* map, const Barrier* floor, double dx, double dy, bool rides, std::vector<Stretch>& out,
              std::vector<Hop>& hops)
{
    const Stretch whole{map, floor, dx, dy, floor->getX1() + dx, floor->getX2() + dx, rides};
    std::vector<const Barrier*> walls;
    for (const Barrier* wall : map->getWalls()) {
        if (wall->getX2() <= whole.x1 || wall->getX1() >= whole.x2) continue;
        const double s = whole.surface(std::clamp(wall->getX1(), whole.x1, whole.x2));
        if (wall->getY1() <= s + 0.5 || wall->getY2() >= s + kHeroHeight) continue;
        walls.push_back(wall);
    }
    std::sort(walls.begin(), walls.end(), [](const Barrier* a, const Barrier* b) { return a->getX1() < b->getX1(); });
    // A piece before a wall waits for the piece behind it; walls side by side make one
    // rise, the highest.
    bool parted = false;
    size_t before = 0;
    double rise = 0;
    auto piece = [&](double x1, double x2) {
        if (parted) hops.push_back({before, out.size(), rise});
        parted = false;
        out.push_back({map, floor, dx, dy, x1, x2, rides});
    };
    double from = whole.x1;
    for (const Barrier* wall : walls) {
        if (wall->getX1() > from) {
            piece(from, wall->getX1());
            parted = true;
            before = out.size() - 1;
            rise = 0;
        }
        from = std::max(from, wall->getX2());
        rise = std::max(rise, wall->getY1() - whole.surface(std::min(from, whole.x2)));
    }
    if (from < whole.x2) piece(from, whole.x2);
}

// The shifts under which a floor can be met: none for a fixed floor, every waypoint for a
// platform's, every place along its supporting floor for a crate that can be pushed.
std::map<const Barrier*, std::vector<std::pair<double, double>>> floorShifts(const Map* map)
{
    std::map<const Barrier*, std::vector<std::pair<double, double>>> shifts;
    for (const Platform* platform : map->getPlatforms()) {
        const Barrier* floor = platform->getFloor();
        if (!floor) continue;
        shifts[floor].push_back({0, 0});
        for (const ShpCoord& point : platform->getWaypoints())
            shifts[floor].push_back({point.getX() - platform->getX(), point.getY() - platform->getY()});
    }
    for (const Obstacle* crate : map->getObstacles()) {
        const Barrier* floor = crate->getFloor();
        if (!floor) continue;
        shifts[floor].push_back({0, 0});
        if (!crate->isPushable()) continue;
        // The flat floors at the crate's foot that join the one under it.
        const double foot = crate->getBottom() + kCrateFoot;
        double lo = crate->getX();
        double hi = crate->getX();
        for (bool grown = true; grown;) {
            grown = false;
            for (const Barrier* other : map->getFloors()) {
                if (other == floor || other->getSlope() != 0 || std::fabs(surfaceAt(other, other->getX1()) - foot) > 1)
                    continue;
                if (other->getX1() <= hi && other->getX2() >= lo &&
                    (other->getX1() < lo || other->getX2() > hi)) {
                    lo = std::min(lo, other->getX1());
                    hi = std::max(hi, other->getX2());
                    grown = true;
                }
            }
        }
        for (double x = lo; x <= hi; x += kCrateStep) shifts[floor].push_back({x - crate->getX(), 0});
    }
    return shifts;
}

// Whether the hero standing somewhere on `a` can get onto `b` of the same room by walking
// across, jumping up or dropping off an end.
bool canStep(const Stretch& a, const Stretch& b, double jump)
{
    for (double xa = a.x1; xa <= a.x2; xa += 5) {
        const double sa = a.surface(xa);
        const bool atEnd = xa - a.x1 < 5 || a.x2 - xa < 5;
        for (double xb = std::max(b.x1, xa - kSideReach); xb <= std::min(b.x2, xa + kSideReach); xb += 5) {
            const double rise = b.surface(xb) - sa;
            if (rise >= 0 && rise <= jump) return true;
            if (rise < 0 && atEnd) return true;
        }
    }
    return false;
}

// Where the hero's centre can stand on the stretch, inside the room's sides.
bool standRange(const Stretch& s, double& lo, double& hi)
{
    lo = std::max(s.x1, kHeroHalfWidth);
    hi = std::min(s.x2, s.map->getWidth() - kHeroHalfWidth);
    return lo <= hi;
}

struct Reach {
    std::vector<Stretch> stretches;
    std::set<size_t> reached;
    std::vector<std::string> problems;
    // Exit codes within reach; a diamond within reach ends the level as an exit of code 1.
    std::set<int> exitCodes;
    std::set<const Exit*> exits;
    std::set<const Map*> rooms;
    // Rooms in which the hero can pick up super shoes.
    std::set<const Map*> shod;
};

size_t stretchAt(const Reach& r, const Map* map, double x, double y)
{
    for (size_t i = 0; i < r.stretches.size(); ++i) {
        const Stretch& s = r.stretches[i];
        if (s.map == map && s.x1 <= x && x <= s.x2 && std::fabs(s.surface(x) - y) <= 1.0) return i;
    }
    return r.stretches.size();
}

// Walks the rooms from the start: every stretch the hero reaches, through doors too, and the
// codes of the exits he can stand in. Super shoes picked up in a room let him jump higher
// there.
Reach explore(const Level& level)
{
    Reach r;
    std::vector<Hop> hops;
    for (const auto& entry : level.getMaps()) {
        const Map* map = entry.second;
        const auto shifts = floorShifts(map);
        std::set<const Barrier*> platformFloors;
        for (const Platform* platform : map->getPlatforms()) platformFloors.insert(platform->getFloor());
        for (const Barrier* floor : map->getFloors()) {
            const bool rides = platformFloors.count(floor) > 0;
            const auto found = shifts.find(floor);
            if (found == shifts.end()) {
                cutFloor(map, floor, 0, 0, rides, r.stretches, hops);
                continue;
            }
            std::set<std::pair<double, double>> done;
            for (const auto& shift : found->second)
                if (done.insert(shift).second) cutFloor(map, floor, shift.first, shift.second, rides, r.stretches, hops);
        }
    }

    const Map* first = level.getMap(level.getInitialMapId());
    if (!first) {
        r.problems.push_back("no initial room");
        return r;
    }
    const size_t start = stretchAt(r, first, level.getPlayerX(), level.getPlayerY());
    if (start == r.stretches.size()) {
        r.problems.push_back("the start does not stand on a floor");
        return r;
    }
    std::vector<size_t> todo{start};
    r.reached.insert(start);
    auto visit = [&](size_t i) {
        if (i < r.stretches.size() && r.reached.insert(i).second) todo.push_back(i);
    };
    while (!todo.empty()) {
        const size_t i = todo.back();
        todo.pop_back();
        const Stretch& here = r.stretches[i];
        r.rooms.insert(here.map);
        double lo = 0;
        double hi = 0;
        const bool stands = standRange(here, lo, hi);
        // What he picks up walking along: his reach covers his box and a little more.
        for (const Item* item : here.map->getItems()) {
            if (!stands || item->getX() < lo || item->getX() > hi) continue;
            const double s = here.surface(item->getX());
            if (item->getY() < s - 10 || item->getY() > s + kHeroHeight + 10) continue;
            if (item->getType() == ItemTypeDiamond) r.exitCodes.insert(1);
            if (item->getType() == ItemTypeShoes && r.shod.insert(here.map).second) {
                // Everything reached in this room is looked at again with the higher jump.
                for (size_t j : r.reached)
                    if (r.stretches[j].map == here.map) todo.push_back(j);
            }
        }
        const double jump = jumpHeight(here.map, r.shod.count(here.map) > 0);
        for (size_t j = 0; j < r.stretches.size(); ++j) {
            const Stretch& there = r.stretches[j];
            if (there.map != here.map || j == i) continue;
            if ((here.rides && there.floor == here.floor) || canStep(here, there, jump)) visit(j);
        }
        for (const Hop& hop : hops) {
            if (hop.rise > jump) continue;
            if (hop.from == i) visit(hop.to);
            if (hop.to == i) visit(hop.from);
        }
        if (!stands) continue;
        for (const Door* door : here.map->getDoors()) {
            const double x = door->getX();
            if (x < lo || x > hi) continue;
            const double s = here.surface(x);
            // The room's use test: the door's box meets the hero's.
            if (door->getTop() < s || door->getBottom() > s + kHeroHeight) continue;
            // A locked door needs a lever in its room.
            if (door->isLocked() && here.map->getSwitches().empty()) continue;
            const Map* target = level.getMap(door->getTargetMapId());
            const size_t arrival =
                target ? stretchAt(r, target, door->getTargetX(), door->getTargetY()) : r.stretches.size();
            if (arrival == r.stretches.size()) {
                r.problems.push_back("a door of room " + std::to_string(here.map->getId()) +
                                     " leads to no floor");
                continue;
            }
            visit(arrival);
        }
        for (const Exit* exit : here.map->getExits()) {
            for (double x = std::max(lo, exit->getX1()); x <= std::min(hi, exit->getX2()); x += 5) {
                const double s = here.surface(x);
                if (s <= exit->getY1() && s + kHeroHeight >= exit->getY2()) {
                    r.exitCodes.insert(exit->getCode());
                    r.exits.insert(exit);
                    break;
                }
            }
        }
    }
    return r;
}

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

class DemoLevelsTest : public leveltest::LevelFixture {
protected:
    SilentOwner _owner;
};

// The walks, played at the shortest and the longest frame the main loop makes: the hero's
// reach changes with the frame, and every walk must hold at both.
class DemoWalksTest : public DemoLevelsTest, public ::testing::WithParamInterface<unsigned> {};

INSTANTIATE_TEST_SUITE_P(FrameSteps, DemoWalksTest, ::testing::Values(1u, 30u),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return std::to_string(info.param) + "ms";
                         });

// Log lines that are not faults of a level file: the JPEG reader's account of each picture it
// decodes. Every actor of a level has its class, so no "not available" passes.
bool isFault(const std::string& message)
{
    for (const char* trace : {"Image length: ", "Image width: ", "Bytes per row: ", "Bytes per pixel = ",
                              "Bits per pixel = "})
        if (message.rfind(trace, 0) == 0) return false;
    return true;
}

TEST_F(DemoLevelsTest, EveryLevelReadsCleanlyWithItsObjective)
{
    for (const char* file : kAllLevels) {
        SCOPED_TRACE(file);
        const size_t mark = testsupport::logMessages().size();
        _owner.objective.clear();
        Level level(_app.get(), &_owner, _player.get());
        ASSERT_EQ(0, level.read(file, true, true));
        ASSERT_NE(nullptr, level.getCurrentMap());
        EXPECT_EQ(level.getInitialMapId(), level.getCurrentMap()->getId());
        // Saved games write the objective as one token: every level names one.
        EXPECT_FALSE(_owner.objective.empty());
        EXPECT_NE(nullptr, level.getMusic());
        EXPECT_GT(level.treasureCount(), 0);
        const std::vector<std::string> messages = testsupport::logMessages();
        for (size_t i = mark; i < messages.size(); ++i) EXPECT_FALSE(isFault(messages[i])) << messages[i];
    }
}

TEST_F(DemoLevelsTest, HeroStartsOnAFloorAndReachesAnExit)
{
    for (const char* file : kAllLevels) {
        SCOPED_TRACE(file);
        Level level(_app.get(), &_owner, _player.get());
        ASSERT_EQ(0, level.read(file, true, false));
        const Reach reach = explore(level);
        for (const std::string& problem : reach.problems) ADD_FAILURE() << problem;
        EXPECT_EQ(1u, reach.exitCodes.count(1)) << "no exit with code 1 within reach";
        // No room is shut off, and none holds an exit the hero cannot get to: the crate, the
        // bridge, the lifts and the super shoes all count.
        for (const auto& entry : level.getMaps()) {
            EXPECT_EQ(1u, reach.rooms.count(entry.second)) << "room " << entry.first << " out of reach";
            for (const Exit* exit : entry.second->getExits())
                EXPECT_EQ(1u, reach.exits.count(exit)) << "an exit of room " << entry.first << " out of reach";
        }
        // Only the levels that reveal a bonus level have an exit of code 2, within reach.
        EXPECT_EQ(kBonusRevealers.count(file), reach.exitCodes.count(2));
    }
}

// What the chapter's levels hold between them, read from their rooms as the game reads them.
TEST_F(DemoLevelsTest, ChapterOneHoldsEveryPropItemAndFloorKind)
{
    std::set<int> items;
    std::set<std::string> found;
    for (const char* file : kChapter1) {
        SCOPED_TRACE(file);
        Level level(_app.get(), &_owner, _player.get());
        ASSERT_EQ(0, level.read(file, true, false));
        for (const auto& entry : level.getMaps()) {
            const Map* map = entry.second;
            for (const Platform* platform : map->getPlatforms())
                if (!platform->isBridge() && platform->getFloor() && platform->getWaypoints().size() >= 2)
                    found.insert("lift");
            if (!map->getDoors().empty()) found.insert("door");
            if (!map->getSwitches().empty()) found.insert("switch");
            for (const Obstacle* crate : map->getObstacles())
                if (crate->isPushable() && crate->getFloor() && crate->getWall()) found.insert("crate");
            std::set<const Hazard*> hammerHeads;
            for (const Hammer* hammer : map->getHammers()) {
                if (hammer->getHazard() && hammer->getTop() > hammer->getBottom()) found.insert("hammer");
                hammerHeads.insert(hammer->getHazard());
            }
            for (const Hazard* hazard : map->getHazards())
                if (!hammerHeads.count(hazard)) found.insert("hazard");
            if (map->getFrontSnow() || map->getIntermediateSnow() || map->getBackgroundSnow()) found.insert("snow");
            for (const Barrier* floor : map->getFloors()) {
                if (floor->isSlippery()) found.insert("slippery floor");
                if (floor->isConveyor()) found.insert("conveyor floor");
            }
            if (map->getCutScene()) found.insert("cut-scene");
            bool grenades = false;
            for (const Item* item : map->getItems()) {
                items.insert(item->getType());
                grenades = grenades || item->getType() == ItemTypeGrenade;
            }
            for (const Character* character : map->getCharacters())
                if (grenades && character->getType() == CharacterTypeThug) found.insert("grenades and a thug");
            // A bridge that a lever moves: the lever's toggle changes whether the bridge runs.
            for (Switch* lever : map->getSwitches()) {
                std::vector<bool> before;
                for (const Platform* platform : map->getPlatforms()) before.push_back(platform->isVisible());
                lever->toggle();
                size_t i = 0;
                for (const Platform* platform : map->getPlatforms()) {
                    if (platform->isBridge() && platform->isOneWay() && platform->isVisible() != before[i])
                        found.insert("bridge on a switch");
                    ++i;
                }
                lever->toggle();
            }
        }
    }
    for (const char* kind : {"lift", "bridge on a switch", "door", "switch", "crate", "hazard", "hammer", "snow",
                             "slippery floor", "conveyor floor", "cut-scene", "grenades and a thug"})
        EXPECT_EQ(1u, found.count(kind)) << kind;
    // Code 8 places nothing; every other code up to 16 lies somewhere, the power-ups (x-ray
    // glasses, armour, super shoes, phone, launcher) among them.
    std::set<int> placeable;
    for (int code = 0; code <= 16; ++code)
        if (code != ItemTypeNone) placeable.insert(code);
    EXPECT_EQ(placeable, items);
}

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
        // The wolf notices him and runs at him; he jumps it as it comes, and it runs on to its
        // limit and back after him while he makes for the door.
        {"level2-5.xml", {0, 0, 0},
         {{1, 660, M::Jump, 0}, {1, 1150, M::Jump, 0}, {1, 1500, M::Use, 0}, {2, 1100, M::Walk, 0}}, kToTheExit, false},
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
        // Over the rat before it stirs; it walks its stretch behind him while he waits short of
        // the saw.
        {"level3-5.xml", {0, 0, 0},
         {{1, 300, M::Jump, 0}, {1, 760, M::Wait, 3000}, {1, 785, M::Jump, 0}, {1, 1500, M::Walk, 0}}, kToTheExit, false},
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
        // The robot walks between the saws until the phone stops it.
        {"level4-3.xml", {1, 120, 80}, {{1, 635, M::Jump, 0}, {1, 1135, M::Jump, 0}, {1, 1500, M::Walk, 0}},
         CharacterTypeRobot, true},
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

TEST_F(DemoLevelsTest, ReachCheckFindsAStrandedExitAndADoorIntoTheVoid)
{
    // The same checks on a room whose exit hangs out of reach and whose door leads nowhere
    // a hero could stand.
    testsupport::writeText("stranded.xml",
                           "<LEVEL>\n"
                           "<PLAYER_X> 100 </PLAYER_X> <PLAYER_Y> 80 </PLAYER_Y> <INITIAL_MAP> 1 </INITIAL_MAP>\n"
                           "<MAP> <MAP_ID> 1 </MAP_ID> <MAP_WIDTH> 800 </MAP_WIDTH> <MAP_HEIGHT> 600 </MAP_HEIGHT>\n"
                           "<GRAVITY> 2000 </GRAVITY>\n"
                           "<FLOOR> <BARRIER> <EDGES> 0 800 80 0 </EDGES> <OFFSET> 80 </OFFSET> </BARRIER> </FLOOR>\n"
                           "<FLOOR> <BARRIER> <EDGES> 400 600 300 260 </EDGES> <OFFSET> 40 </OFFSET> </BARRIER> "
                           "</FLOOR>\n"
                           "<DOOR> 700 50 80 100 1 300 500 </DOOR>\n"
                           "<EXIT> 1 400 600 400 300 </EXIT>\n"
                           "</MAP>\n"
                           "</LEVEL>\n");
    Level level(_app.get(), &_owner, _player.get());
    ASSERT_EQ(0, level.read("stranded.xml", true, false));
    const Reach reach = explore(level);
    EXPECT_TRUE(reach.exitCodes.empty());
    ASSERT_EQ(1u, reach.problems.size());
    EXPECT_EQ("a door of room 1 leads to no floor", reach.problems[0]);
}

}  // namespace
