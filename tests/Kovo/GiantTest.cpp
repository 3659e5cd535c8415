#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CastHarness.h"
#include "Kovo/Giant.h"
#include "Kovo/Reaction.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;

std::string giantAt(int x, int state, bool facingLeft)
{
    return actorAt(CharacterTypeGiant, x, 40, state, facingLeft, "0 2000");
}

class GiantTest : public kovotest::CastTest {};

}  // namespace

TEST_F(GiantTest, ADownedComradeBehindTurnsItRoundHalfASecondLaterOneInFrontDoesNot)
{
    const struct {
        int comradeX;
        bool turns;
    } cases[] = {{1250, true}, {750, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.comradeX);
        // The comrade, a goat, lies stunned; only the giant thinks.
        makeRoom(floorAt(0, 2000, 40) + giantAt(1000, 1, true) +
                 actorAt(CharacterTypeGoat, c.comradeX, 40, CharacterStateStunnedLeft, true,
                         "0 2000"));
        Giant* giant = actor<Giant>();
        placeHero(1900, 40);
        think(giant, 20);
        EXPECT_EQ(c.turns ? 20 : 0, giant->getTurnTimer());
        const int thinks = thinkUntilStateChanges(giant, 20);
        if (c.turns) {
            // The wait passes 500 ms, and the next think turns it.
            EXPECT_EQ(26, thinks);
            EXPECT_EQ(CharacterStateStandRight, giant->getState());
            EXPECT_FALSE(giant->isFacingLeft());
        } else {
            EXPECT_EQ(-1, thinks);
        }
    }
}

TEST_F(GiantTest, SeesTheHeroShowsOneBubbleAndChargesASecondLater)
{
    Giant* giant = makeRoom<Giant>(floorAt(0, 2000, 40) + giantAt(1200, 1, true));
    placeHero(900, 40);
    std::vector<std::unique_ptr<Reaction>> bubbles;
    int thinks = 0;
    while (giant->getState() == CharacterStateStandLeft && thinks < 100) {
        think(giant, 20);
        ++thinks;
        if (Reaction* bubble = giant->react()) bubbles.emplace_back(bubble);
        if (thinks == 8) {
            EXPECT_EQ(1u, bubbles.size());
        }
    }
    // The countdown passes 1000 ms on the 51st think, and the 52nd charges.
    EXPECT_EQ(52, thinks);
    EXPECT_EQ(CharacterStateMoveLeft, giant->getState());
    ASSERT_EQ(1u, bubbles.size());
    EXPECT_DOUBLE_EQ(1200, bubbles.front()->getX());
    EXPECT_DOUBLE_EQ(40 + 200 + 20, bubbles.front()->getY());
}
