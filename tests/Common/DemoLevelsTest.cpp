#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Base/Gph/GphWindow.h"
#include "Base/Snd/SndManager.h"
#include "Common/Barrier.h"
#include "Common/Exit.h"
#include "Common/Level.h"
#include "Common/LevelOwner.h"
#include "Common/Map.h"
#include "Kovo/Door.h"
#include "Kovo/Player.h"
#include "LevelTestWindow.h"
#include "support/Files.h"

// The level files of chapter 1 as the game ships them: each reads cleanly with the game's own
// reader, and the hero can walk, jump and pass doors from his start to an exit.
namespace {

const char* const kChapter1[] = {"level1-1.xml", "level1-2.xml", "level1-3.xml",
                                 "level1-4.xml", "level1-5.xml", "level1-x.xml"};

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
// 700 units per second against the room's gravity, about 210 units per second sideways for
// the 0.7 s a jump lasts. The checks keep a margin on both.
constexpr double kHeroHeight = 100.0;
constexpr double kHeroHalfWidth = 50.0;
constexpr double kJumpSpeed = 700.0;
constexpr double kSideReach = 120.0;

double surfaceAt(const Barrier* floor, double x)
{
    return floor->getY2() + floor->getOffset() + floor->getSlope() * (x - floor->getX1());
}

// A stretch of floor the hero can walk along without meeting a wall.
struct Stretch {
    const Map* map;
    const Barrier* floor;
    double x1;
    double x2;
    double surface(double x) const { return surfaceAt(floor, x); }
};

double jumpHeight(const Map* map) { return kJumpSpeed * kJumpSpeed / (2.0 * map->getGravity()) * 0.9; }

// Cuts a floor at every wall that stands in the way of a hero walking on it; two pieces that
// a wall parts are joined when the hero can hop over the wall.
void cutFloor(const Map* map, const Barrier* floor, std::vector<Stretch>& out,
              std::vector<std::pair<size_t, size_t>>& hops)
{
    std::vector<const Barrier*> walls;
    for (const Barrier* wall : map->getWalls()) {
        if (wall->getX2() <= floor->getX1() || wall->getX1() >= floor->getX2()) continue;
        const double s = surfaceAt(floor, std::clamp(wall->getX1(), floor->getX1(), floor->getX2()));
        if (wall->getY1() <= s + 0.5 || wall->getY2() >= s + kHeroHeight) continue;
        walls.push_back(wall);
    }
    std::sort(walls.begin(), walls.end(), [](const Barrier* a, const Barrier* b) { return a->getX1() < b->getX1(); });
    double from = floor->getX1();
    for (const Barrier* wall : walls) {
        const size_t before = out.size();
        if (wall->getX1() > from) out.push_back({map, floor, from, wall->getX1()});
        from = std::max(from, wall->getX2());
        const double s = surfaceAt(floor, from);
        if (out.size() > before && wall->getY1() - s <= jumpHeight(map)) hops.push_back({before, out.size()});
    }
    if (from < floor->getX2()) out.push_back({map, floor, from, floor->getX2()});
}

// Whether the hero standing somewhere on `a` can get onto `b` of the same room by walking
// across, jumping up or dropping off an end.
bool canStep(const Stretch& a, const Stretch& b)
{
    const double jump = jumpHeight(a.map);
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
    std::set<int> exitCodes;
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
// codes of the exits he can stand in.
Reach explore(const Level& level)
{
    Reach r;
    std::vector<std::pair<size_t, size_t>> hops;
    for (const auto& entry : level.getMaps())
        for (const Barrier* floor : entry.second->getFloors()) cutFloor(entry.second, floor, r.stretches, hops);

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
        for (size_t j = 0; j < r.stretches.size(); ++j)
            if (r.stretches[j].map == here.map && j != i && canStep(here, r.stretches[j])) visit(j);
        for (const auto& hop : hops) {
            if (hop.first == i) visit(hop.second);
            if (hop.second == i) visit(hop.first);
        }
        double lo = 0;
        double hi = 0;
        if (!standRange(here, lo, hi)) continue;
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
                    break;
                }
            }
        }
    }
    return r;
}

// A player at the keys: in the given room, walk to x, then do what the step says.
struct Move {
    enum Action { Walk, Use, Jump };
    int map;
    double x;
    Action action;
};

// Plays the level through the room's own frame step at 16 ms a frame, the keys going in
// through the level as the game screen hands them on, until an exit ends it, the hero dies or
// two minutes of play have passed.
void pilot(Level& level, Player& player, const SilentOwner& owner, const std::vector<Move>& moves)
{
    level.start();
    size_t at = 0;
    int held = 0;
    int drawnMap = -1;
    for (int frame = 0; frame < 6000 && owner.finished.empty() && owner.deaths == 0; ++frame) {
        const Map* map = level.getCurrentMap();
        if (!map) break;
        // A room takes keys once it has been drawn.
        if (map->getId() != drawnMap || frame % 30 == 0) {
            level.draw();
            drawnMap = map->getId();
        }
        if (held > 0) {
            if (--held == 0) {
                level.onKeyUp(AppKeyUp);
                level.onKeyUp(AppKeyCtrl);
                ++at;
            }
        } else if (at < moves.size() && map->getId() == moves[at].map) {
            const Move& move = moves[at];
            const double dx = move.x - player.getX();
            if (std::fabs(dx) > 8) {
                level.onKeyUp(dx > 0 ? AppKeyLeft : AppKeyRight);
                level.onKeyDown(dx > 0 ? AppKeyRight : AppKeyLeft);
            } else if (move.action == Move::Walk) {
                ++at;
            } else if (move.action == Move::Use) {
                level.onKeyUp(AppKeyLeft);
                level.onKeyUp(AppKeyRight);
                level.onKeyDown(AppKeyUp);
                held = 20;
            } else {
                // A jump keeps the direction of the walk.
                level.onKeyDown(AppKeyCtrl);
                held = 45;
            }
        }
        level.update(16);
    }
    level.stop();
}

class DemoLevelsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_sound = new SndManager();
        s_soundStarted = s_sound->init() == 0;
    }
    static void TearDownTestSuite()
    {
        if (s_soundStarted) s_sound->shutdown();
        delete s_sound;
        s_sound = nullptr;
    }
    void SetUp() override
    {
        _window = leveltest::openWindow();
        ASSERT_NE(nullptr, _window);
        _app.reset(new leveltest::WindowOwner(_window));
        _player.reset(new Player(_app.get()));
    }
    void TearDown() override
    {
        _player.reset();
        _app.reset();
    }

    GphWindow* _window = nullptr;
    std::unique_ptr<leveltest::WindowOwner> _app;
    std::unique_ptr<Player> _player;
    SilentOwner _owner;
    static inline SndManager* s_sound = nullptr;
    static inline bool s_soundStarted = false;
};

// Log lines that are not faults of a level file: the JPEG reader's account of each picture it
// decodes, and the room's notice of an actor whose class the game does not have yet.
bool isFault(const std::string& message)
{
    for (const char* trace : {"Image length: ", "Image width: ", "Bytes per row: ", "Bytes per pixel = ",
                              "Bits per pixel = "})
        if (message.rfind(trace, 0) == 0) return false;
    const std::string missing = " not available";
    return !(message.rfind("Character ", 0) == 0 && message.size() > missing.size() &&
             message.compare(message.size() - missing.size(), missing.size(), missing) == 0);
}

TEST_F(DemoLevelsTest, EveryChapterOneLevelReadsCleanlyWithItsObjective)
{
    for (const char* file : kChapter1) {
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
    for (const char* file : kChapter1) {
        SCOPED_TRACE(file);
        Level level(_app.get(), &_owner, _player.get());
        ASSERT_EQ(0, level.read(file, true, false));
        const Reach reach = explore(level);
        for (const std::string& problem : reach.problems) ADD_FAILURE() << problem;
        EXPECT_EQ(1u, reach.exitCodes.count(1)) << "no exit with code 1 within reach";
        // Only level 1-5 opens the bonus level, through an exit of code 2.
        EXPECT_EQ(std::string(file) == "level1-5.xml" ? 1u : 0u, reach.exitCodes.count(2));
    }
}

// The routes below are played with the game's own world step; the thug of level 1-4 is left
// to the reach check above, his moves being his own.
TEST_F(DemoLevelsTest, LevelsArePlayedThroughToTheirExits)
{
    typedef Move M;
    const struct {
        const char* file;
        std::vector<Move> moves;
        int exitCode;
    } routes[] = {
        // Over the block in the yard, through the door, along the tower's floor.
        {"level1-2.xml", {{1, 560, M::Jump}, {1, 700, M::Walk}, {1, 1500, M::Use}, {2, 1150, M::Walk}}, 1},
        // The lever in the tower unlocks the door to the roof.
        {"level1-3.xml", {{1, 1500, M::Use}, {2, 800, M::Use}, {2, 1080, M::Use}, {3, 1550, M::Walk}}, 1},
        {"level1-5.xml", {{1, 600, M::Jump}, {1, 900, M::Walk}, {1, 1500, M::Use}, {2, 1550, M::Walk}}, 1},
        // Up the chimney steps to the hidden exit.
        {"level1-5.xml",
         {{1, 600, M::Jump},
          {1, 900, M::Walk},
          {1, 1500, M::Use},
          {2, 230, M::Jump},
          {2, 300, M::Walk},
          {2, 430, M::Jump},
          {2, 520, M::Walk},
          {2, 500, M::Jump},
          {2, 340, M::Walk}},
         2},
        {"level1-x.xml", {{1, 1500, M::Use}, {2, 1150, M::Walk}}, 1},
    };
    for (const auto& route : routes) {
        SCOPED_TRACE(route.file);
        _owner = SilentOwner();
        Player player(_app.get());
        Level level(_app.get(), &_owner, &player);
        ASSERT_EQ(0, level.read(route.file, true, false));
        pilot(level, player, _owner, route.moves);
        EXPECT_EQ(0, _owner.deaths);
        EXPECT_EQ(route.file, _owner.finished);
        EXPECT_EQ(route.exitCode, _owner.exitCode);
    }
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
