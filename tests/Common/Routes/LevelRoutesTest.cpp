// Every level's whole-game route played through the level alone, as a person would have to
// play it: at the main loop's shortest frame (1 ms, a quiet machine) and its longest (30 ms),
// with every jump taken on its point, 20 units earlier and 20 units later. Each play ends at
// the route's exit with no death. A level whose route picks up a power-up is played once more
// with a death just after the pick-up: the power-up is gone after the restart, and the route
// from the start still finishes with what the level has left. No awake enemy that kills by
// touch comes within 20 units of him on the way: what the route relies on not touching, a
// person can see and use.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "Common/CharacterRegistry.h"
#include "Common/GameConstants.h"
#include "Common/Level.h"
#include "Common/LevelOwner.h"
#include "Common/LevelTestWindow.h"
#include "Common/Map.h"
#include "Common/RoutePilot.h"
#include "Kovo/Character.h"
#include "Kovo/Player.h"

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

struct Play {
    unsigned step;
    double shift;
    // Dies once, just after the first power-up is picked up.
    bool dieAfterPowerUp;
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
    double heroX = 0;
    int room = 0;
};

// The room the hero is given wherever he passes an enemy.
constexpr double kClearance = 20.0;
// Game time a play may take before it counts as stuck.
constexpr int kPlayLimitMs = 240000;
// The room is drawn this often (and whenever it changes): a room takes keys once drawn.
constexpr int kDrawEveryMs = 200;

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
        if (level.read(route.file, true, false) != 0) return out;
        level.start();
        Pilot pilot([&] { return &level; },
                    [&](Pilot::Key key, bool down) {
                        static const AppKey keys[] = {AppKeyLeft, AppKeyRight, AppKeyUp, AppKeyCtrl};
                        const char chars[] = {' ', 'x'};
                        if (key < Pilot::Throw)
                            down ? level.onKeyDown(keys[key]) : level.onKeyUp(keys[key]);
                        else
                            down ? level.onCharDown(chars[key - Pilot::Throw])
                                 : level.onCharUp(chars[key - Pilot::Throw]);
                    },
                    how.shift);
        pilot.fly(route.moves);
        const Map* drawn = nullptr;
        int sinceDrawn = 0;
        int deaths = 0;
        for (int played = 0; played < kPlayLimitMs && owner.finished.empty(); played += how.step) {
            const Map* room = level.getCurrentMap();
            if (!room) break;
            if (room != drawn || sinceDrawn >= kDrawEveryMs || owner.deaths != deaths) {
                level.draw();
                drawn = room;
                sinceDrawn = 0;
            }
            sinceDrawn += how.step;
            if (owner.deaths != deaths) {
                // Restarted: the route from its first move, on what the rooms have left.
                deaths = owner.deaths;
                pilot.again();
            }
            int remaining = 0, total = 0;
            level.powerUpStatus(remaining, total);
            if (remaining > 0 && !out.poweredUp) {
                out.poweredUp = true;
                if (how.dieAfterPowerUp) {
                    // As a fatal touch does it: the hop, then the fall out of the view.
                    hero.die();
                    hero.setVerticalSpeed(GameConstants::jumpSpeed);
                }
            }
            if (!hero.isDying()) {
                nearestEnemy(*level.getCurrentMap(), hero, out);
                pilot.frame(how.step);
            }
            level.update(how.step);
            if (owner.deaths > (how.dieAfterPowerUp ? 1 : 0)) break;
        }
        level.stop();
        out.finished = owner.finished == route.file;
        out.exitCode = owner.exitCode;
        out.deaths = owner.deaths;
        out.heroX = hero.getX();
        out.room = level.getCurrentMap() ? level.getCurrentMap()->getId() : 0;
        return out;
    }
};

TEST_F(LevelRoutesTest, EveryRouteFinishesAtEitherFrameEndFromAnyTakeOffAndAfterADeath)
{
    const std::vector<Route> routes = routetest::readRoutes();
    ASSERT_EQ(30u, routes.size());
    // KOVO_ROUTE=FILE plays that level's route alone, for the one who tunes a level.
    const char* only = std::getenv("KOVO_ROUTE");
    for (const Route& route : routes) {
        if (only && route.file != only) continue;
        bool poweredUp = false;
        for (const Play how : {Play{1, 0, false}, Play{30, 0, false}, Play{1, -20, false}, Play{30, -20, false},
                               Play{1, 20, false}, Play{30, 20, false}, Play{1, 0, true}, Play{30, 0, true}}) {
            // A death after a pick-up only where the route picks one up.
            if (how.dieAfterPowerUp && !poweredUp) continue;
            SCOPED_TRACE(route.file + " at " + std::to_string(how.step) + " ms, take-off shifted by " +
                         std::to_string(int(how.shift)) + (how.dieAfterPowerUp ? ", a death after the power-up" : ""));
            const Outcome out = play(route, how);
            poweredUp = poweredUp || out.poweredUp;
            EXPECT_TRUE(out.finished) << "stopped in room " << out.room << " at x " << out.heroX;
            EXPECT_EQ(route.exitCode, out.exitCode);
            EXPECT_EQ(how.dieAfterPowerUp ? 1 : 0, out.deaths);
            EXPECT_GE(out.nearest, kClearance - 0.01) << out.nearestActor;
        }
    }
}

}  // namespace
