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
#include "DemoLevels.h"
#include "support/Files.h"

// The level files as the game ships them: each reads cleanly with the game's own reader, and
// from his start the hero can reach an exit, walking, jumping and passing doors.
namespace {

using demolevels::DemoLevelsTest;
using demolevels::kHeroHeight;
using demolevels::SilentOwner;

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

// The hero's reach, as the room moves him: a 100 x 100 box standing on its feet, a jump of
// 700 units per second against the room's gravity (twice the jump speed with super shoes),
// about 210 units per second sideways for the 0.7 s a jump lasts. The checks keep a margin on
// both.
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
