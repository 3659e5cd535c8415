#include <gtest/gtest.h>

#include "CastHarness.h"
#include "Kovo/Charger.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;

class ChargerTest : public kovotest::CastTest {};

}  // namespace

// Running left at the room's left end, each passes the hero, and its next step turns it as the
// hero dies. Behind the way that step began, it stands facing that way; behind its new way,
// it runs on until a step of that way begins.
TEST_F(ChargerTest, AHeroDyingBehindTheWayTheStepBeganStopsTheRun)
{
    const struct {
        CharacterType type;
        double x;  // its left edge 1 inside the room
    } runners[] = {{CharacterTypeThug, 61}, {CharacterTypeGiant, 101}, {CharacterTypeGunner, 61}};
    for (const auto& r : runners) {
        for (const bool behindItsStart : {true, false}) {
            SCOPED_TRACE(testing::Message() << r.type << ' ' << behindItsStart);
            Charger* c = makeRoom<Charger>(floorAt(-500, 2000, 40) +
                                           actorAt(r.type, r.x, 40, 6, true, "-500 2000"));
            heroAt(r.x, 40, false);
            think(c, 20);
            ASSERT_EQ(0, c->getTurnaroundX());
            heroAt(r.x + (behindItsStart ? 50 : -50), 40, true);
            think(c, 20);
            if (!behindItsStart) {
                EXPECT_EQ(CharacterStateMoveRight, c->getState());
                think(c, 20);
            }
            EXPECT_EQ(behindItsStart ? CharacterStateStandLeft : CharacterStateStandRight,
                      c->getState());
            EXPECT_EQ(behindItsStart, c->isFacingLeft());
            EXPECT_EQ(-1, c->getTurnaroundX());
            EXPECT_EQ(-1, c->getReturnToX());
        }
    }
}

// Standing left but flagged facing right, a goat or a giant looks left, as its state stands.
TEST_F(ChargerTest, AStandingChargerLooksTheWayItsStateStands)
{
    const struct {
        CharacterType type;
        double heroX;
        int thinks;  // until it charges, -1 for never
    } cases[] = {{CharacterTypeGoat, 800, 1},
                 {CharacterTypeGoat, 1200, -1},
                 {CharacterTypeGiant, 800, 52},
                 {CharacterTypeGiant, 1200, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << ' ' << c.heroX);
        Character* actor = makeRoom(floorAt(0, 2000, 40) +
                                    actorAt(c.type, 1000, 40, 1, false, "0 2000"));
        placeHero(c.heroX, 40);
        EXPECT_EQ(c.thinks, thinkUntilStateChanges(actor, 20));
        EXPECT_EQ(c.thinks > 0 ? CharacterStateMoveLeft : CharacterStateStandLeft,
                  actor->getState());
    }
}
