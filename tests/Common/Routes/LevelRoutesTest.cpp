// Every level's whole-game route played through the level alone, as a person would have to
// play it: at the main loop's shortest frame (1 ms, a quiet machine) and its longest (30 ms),
// with every jump taken on its point, 20 units earlier and 20 units later, and by a hesitant
// player who stands a moment before every action. Each play ends at the route's exit with no
// death. Then a person's deaths: one every second of the route's game time, one just after a
// power-up is picked up, and one at each shooter's first shot, the hero standing where it
// caught him. After each the level restarts with the rooms as he left them, and the route from
// its first move must still finish, for the quick player and the hesitant one. No awake enemy
// that kills by touch comes within 20 units of him on the way: what the route relies on not
// touching, a person can see and use. Nor does any actor's box go into a wall.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Common/CharacterRegistry.h"
#include "Common/GameConstants.h"
#include "Common/GameRandom.h"
#include "Common/Level.h"
#include "Common/LevelOwner.h"
#include "Common/LevelTestWindow.h"
#include "Common/Map.h"
#include "Common/RoutePilot.h"
#include "Common/Barrier.h"
#include "Kovo/Character.h"
#include "Kovo/Player.h"
#include "Kovo/Projectile.h"
#include "Kovo/Reaction.h"

namespace {

using routetest::Pilot;
using routetest::Route;

// The game screen's part: a death with lives left restarts the level.
class RestartingOwner : public LevelOwner {
public:
    Level* level = nullptr;
    Player* hero = nullptr;
    int deaths = 0;
    std::string finished;
    int exitCode = -1;

    void setObjective(const std::string&) override {}
    void onObjectiveFound() override {}
    void onPlayerDied() override
    {
        ++deaths;
        if (hero->getLives() > 0) level->restart();
    }
    void onLevelFinished(const std::string& file, int code) override
    {
        finished = file;
        exitCode = code;
    }
};

// An actor of the level, the same one in every play: its room and its place in the room's
// list as the level file builds it.
struct ActorId {
    int room;
    int index;
    bool operator<(const ActorId& o) const { return room != o.room ? room < o.room : index < o.index; }
    bool operator==(const ActorId& o) const { return room == o.room && index == o.index; }
};

struct Play {
    unsigned step;
    double shift;
    bool hesitant;
    enum Death { None, AtTime, AfterPowerUp, AtFirstShot } death = None;
    int deathMs = 0;          // AtTime: the game time of the death
    ActorId shooter{0, 0};    // AtFirstShot: whose shot; deathMs: when, should it never fire
};

struct Outcome {
    // The nearest an awake, harmful actor came to the hero's box: the larger of the gaps
    // across and up between the two boxes.
    double nearest = 1e9;
    std::string nearestActor;
    bool finished = false;
    int exitCode = -1;
    int deaths = 0;
    bool poweredUp = false;
    // The game time at which the exit was reached, and the actors that fired on the way.
    int exitMs = 0;
    std::map<ActorId, std::string> shooters;
    std::map<ActorId, int> firstShotMs;
    std::string inWall;
    double heroX = 0;
    int room = 0;
};

// The room the hero is given wherever he passes an enemy.
constexpr double kClearance = 20.0;
// Game time a play may take before it counts as stuck.
constexpr int kPlayLimitMs = 240000;
// A person dies this often along the route, the first time half of it in.
constexpr int kDeathEveryMs = 1000;
// A hesitant player stands this long before each action.
constexpr int kHesitateMs = 300;
// How long a player caught in a shooter's sight stands there before its shot is given up on.
constexpr int kCaughtMs = 3000;
// How far an actor's box may reach into a wall before the eye sees it there.
constexpr double kInWallSlack = 5.0;
// How far across from a shooter's centre its shot appears.
constexpr double kMuzzleReach = 100.0;

// The routes that pick up no power-up, and those that meet no actor that fires at the hero:
// their death plays of that kind are not played, and the test says so by this list.
const std::set<std::string> kNoPowerUp = {
    "level1-2.xml", "level1-3.xml", "level1-5.xml", "level1-x.xml", "level2-1.xml", "level2-2.xml",
    "level2-3.xml", "level2-5.xml", "level2-x.xml", "level3-1.xml", "level3-2.xml", "level3-3.xml",
    "level3-4.xml", "level3-6.xml", "level4-1.xml", "level4-3.xml", "level4-5.xml", "level4-6.xml",
    "level5-1.xml", "level5-2.xml", "level5-3.xml", "level5-4.xml", "level5-x.xml",
};
const std::set<std::string> kNoShooter = {
    "level1-1.xml", "level1-2.xml", "level1-3.xml", "level1-4.xml", "level1-5.xml", "level1-x.xml",
    "level2-1.xml", "level2-2.xml", "level2-3.xml", "level2-4.xml", "level2-5.xml", "level3-1.xml",
    "level3-2.xml", "level3-3.xml", "level3-4.xml", "level3-5.xml", "level3-6.xml", "level4-2.xml",
    "level4-3.xml", "level4-5.xml", "level4-6.xml", "level5-1.xml", "level5-2.xml", "level5-4.xml",
    "level5-5.xml",
};

// Keeps the nearest an awake actor that kills by touch has come to the hero.
void nearestEnemy(const Map& room, const Player& hero, Outcome& out)
{
    for (const Character* c : room.getCharacters()) {
        if (!c->isHarmful() || c->isAsleep() || c->isIncapacitated()) continue;
        const double across = std::max(c->getLeft() - hero.getRight(), hero.getLeft() - c->getRight());
        const double up = std::max(c->getBottom() - hero.getTop(), hero.getBottom() - c->getTop());
        if (std::max(across, up) >= out.nearest) continue;
        out.nearest = std::max(across, up);
        out.nearestActor = std::string(CharacterRegistry::find(c->getType())->name) + " at " +
                           std::to_string(int(c->getX())) + ", " + std::to_string(int(c->getY())) + ", hero at " +
                           std::to_string(int(hero.getX())) + ", " + std::to_string(int(hero.getY()));
    }
}

// The first actor seen with its box more than a few units inside a wall: a charge or a run
// over a ledge can take one where no patrol between its limits would, and the stone would show
// it cut in half.
std::string actorInWall(const Map& room)
{
    for (const Character* c : room.getCharacters())
        for (const Barrier* w : room.getWalls()) {
            const double across = std::min(c->getRight(), w->getX2()) - std::max(c->getLeft(), w->getX1());
            const double up = std::min(c->getTop(), w->getY1()) - std::max(c->getBottom(), w->getY2());
            if (across > kInWallSlack && up > kInWallSlack && c->isVisible())
                return std::string(CharacterRegistry::find(c->getType())->name) + " at " + std::to_string(int(c->getX())) +
                       ", " + std::to_string(int(c->getY())) + " inside the wall " + std::to_string(int(w->getX1())) +
                       ".." + std::to_string(int(w->getX2())) + " of room " + std::to_string(room.getId());
        }
    return "";
}

class LevelRoutesTest : public leveltest::LevelFixture {
protected:
    Outcome play(const Route& route, const Play& how)
    {
        RestartingOwner owner;
        Player hero(_app.get());
        Level level(_app.get(), &owner, &hero);
        owner.level = &level;
        owner.hero = &hero;
        Outcome out;
        // Every play draws the actors' chances afresh: a death play meets what its plain play met.
        GameRandom::seed(1);
        if (level.read(route.file, true, false) != 0) return out;
        std::map<const Character*, ActorId> ids;
        for (const auto& room : level.getMaps()) {
            int index = 0;
            for (const Character* c : room.second->getCharacters()) ids[c] = {room.first, index++};
        }
        level.start();
        const Pilot::Keys keys = routetest::levelKeys(level);
        Pilot pilot([&] { return &level; }, keys, how.shift, how.hesitant ? kHesitateMs : 0);
        pilot.fly(route.moves);
        const Map* drawn = nullptr;
        int deaths = 0;
        bool killed = false;
        // Caught in the shooter's sight: he stands where he is until its shot.
        int caughtMs = -1;
        std::set<const Projectile*> flying;
        for (int played = 0; played < kPlayLimitMs && owner.finished.empty(); played += how.step) {
            const Map* room = level.getCurrentMap();
            if (!room) break;
            // A room takes keys once it has been drawn; drawing costs more than the play.
            if (room != drawn || owner.deaths != deaths) {
                level.draw();
                drawn = room;
            }
            if (owner.deaths != deaths) {
                // Restarted: the route from its first move, on what the rooms have left.
                deaths = owner.deaths;
                caughtMs = -1;
                pilot.again();
            }
            if (room->getExitTimer() > 0 && out.exitMs == 0) out.exitMs = played;
            int remaining = 0, total = 0;
            level.powerUpStatus(remaining, total);
            bool die = false;
            if (remaining > 0 && !out.poweredUp) {
                out.poweredUp = true;
                die = how.death == Play::AfterPowerUp;
            }
            die = die || (how.death == Play::AtTime && played >= how.deathMs) ||
                  (how.death == Play::AtFirstShot && caughtMs < 0 && played >= how.deathMs);
            // The shots fired since the last frame, each put down to the actor it came from.
            std::set<const Projectile*> now(room->getEnemyProjectiles().begin(), room->getEnemyProjectiles().end());
            for (const Projectile* p : now) {
                if (flying.count(p)) continue;
                const Character* from = nullptr;
                for (const Character* c : room->getCharacters())
                    if (ids.count(c) && std::abs(c->getX() - p->getX()) < kMuzzleReach &&
                        (!from || std::abs(c->getX() - p->getX()) < std::abs(from->getX() - p->getX())))
                        from = c;
                if (!from) continue;
                const ActorId id = ids[from];
                out.shooters[id] = std::string(CharacterRegistry::find(from->getType())->name) + " of room " +
                                   std::to_string(id.room);
                out.firstShotMs.insert({id, played});
                die = die || (how.death == Play::AtFirstShot && id == how.shooter);
            }
            flying.swap(now);
            if (how.death == Play::AtFirstShot && caughtMs < 0 && !killed)
                for (const Sprite* r : room->getReactions()) {
                    const Character* owner = static_cast<const Reaction*>(r)->getOwner();
                    if (ids.count(owner) && ids[owner] == how.shooter) caughtMs = 0;
                }
            if (caughtMs == 0) pilot.again();
            if (caughtMs >= 0 && !killed) {
                // Too slow: every key let go, he stands in its sight until it fires.
                caughtMs += how.step;
                die = die || caughtMs >= kCaughtMs;
            }
            if (die && !killed && !hero.isDying()) {
                killed = true;
                // As a fatal touch does it: the hop, then the fall out of the view.
                hero.die();
                hero.setVerticalSpeed(GameConstants::jumpSpeed);
            }
            if (level.hasHint() && (hero.isDying() || caughtMs >= 0)) {
                // A panel that comes up while he dies waits for a key, as it does for a person.
                keys(Pilot::Dismiss, true);
                keys(Pilot::Dismiss, false);
            }
            if (!hero.isDying() && caughtMs < 0) {
                nearestEnemy(*room, hero, out);
                if (out.inWall.empty()) out.inWall = actorInWall(*room);
                pilot.frame(how.step);
            }
            level.update(how.step);
            if (owner.deaths > (how.death == Play::None ? 0 : 1)) break;
        }
        level.stop();
        out.finished = owner.finished == route.file;
        out.exitCode = owner.exitCode;
        out.deaths = owner.deaths;
        out.heroX = hero.getX();
        out.room = level.getCurrentMap() ? level.getCurrentMap()->getId() : 0;
        return out;
    }

    // Plays one way through the route and checks that it finished as it must.
    Outcome check(const Route& route, const Play& how, const std::string& what)
    {
        SCOPED_TRACE(route.file + " at " + std::to_string(how.step) + " ms" + (how.hesitant ? ", hesitant" : "") + what);
        ++_plays;
        const Outcome out = play(route, how);
        EXPECT_TRUE(out.finished) << "stopped in room " << out.room << " at x " << out.heroX;
        EXPECT_EQ(route.exitCode, out.exitCode);
        EXPECT_EQ(how.death == Play::None ? 0 : 1, out.deaths);
        EXPECT_GE(out.nearest, kClearance - 0.01) << out.nearestActor;
        EXPECT_EQ("", out.inWall);
        return out;
    }

    int _plays = 0;
};

TEST_F(LevelRoutesTest, EveryRouteFinishesFromAnyTakeOffAtEitherFrameEndAndAfterADeathAnywhere)
{
    const std::vector<Route> routes = routetest::readRoutes();
    ASSERT_EQ(30u, routes.size());
    // KOVO_ROUTE=FILE plays that level's route alone, for the one who tunes a level.
    const char* only = std::getenv("KOVO_ROUTE");
    for (const Route& route : routes) {
        if (only && route.file != only) continue;
        const std::vector<unsigned> steps = {1, 30};
        // The plain plays first: they tell how long the route is and whom it meets.
        std::map<std::pair<unsigned, bool>, Outcome> plain;
        std::map<ActorId, std::string> shooters;
        std::map<ActorId, int> firstShotMs;
        bool poweredUp = false;
        for (const unsigned step : steps) {
            for (const double shift : {-20.0, 20.0})
                check(route, Play{step, shift, false}, ", take-off shifted by " + std::to_string(int(shift)));
            for (const bool hesitant : {false, true}) {
                const Outcome& o = plain[{step, hesitant}] = check(route, Play{step, 0, hesitant}, "");
                shooters.insert(o.shooters.begin(), o.shooters.end());
                for (const auto& shot : o.firstShotMs) firstShotMs[shot.first] = std::max(firstShotMs[shot.first], shot.second);
                poweredUp = poweredUp || o.poweredUp;
            }
        }
        if (poweredUp == bool(kNoPowerUp.count(route.file)))
            ADD_FAILURE() << route.file << (poweredUp ? " picks up a power-up" : " picks up none")
                          << ": the list of routes with no power-up says otherwise";
        if (shooters.empty() != bool(kNoShooter.count(route.file)))
            ADD_FAILURE() << route.file << (shooters.empty() ? " meets no shooter" : " meets a shooter")
                          << ": the list of routes with no shooter says otherwise";
        for (const auto& p : plain) {
#if defined(__SANITIZE_ADDRESS__)
            // Under the sanitizers the deaths are played at the long frame only.
            if (p.first.first == 1) continue;
#endif
            Play how{p.first.first, 0, p.first.second};
            how.death = Play::AtTime;
            for (how.deathMs = kDeathEveryMs / 2; how.deathMs + kDeathEveryMs / 2 <= p.second.exitMs; how.deathMs += kDeathEveryMs)
                check(route, how, ", a death at " + std::to_string(how.deathMs) + " ms");
            how.death = Play::AfterPowerUp;
            if (poweredUp) check(route, how, ", a death after the power-up");
            how.death = Play::AtFirstShot;
            for (const auto& shooter : shooters) {
                // Where the shooter never fired in this play's plain one, he dies when it fired
                // in another.
                how.shooter = shooter.first;
                const auto own = p.second.firstShotMs.find(shooter.first);
                how.deathMs = own != p.second.firstShotMs.end() ? own->second : firstShotMs[shooter.first];
                check(route, how, ", a death at the first shot of the " + shooter.second);
            }
        }
    }
    std::cout << _plays << " plays" << std::endl;
    EXPECT_GT(_plays, 0) << (only ? std::string("no route of ") + only : "no route");
}

}  // namespace
