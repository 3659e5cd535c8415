#include "CastHarness.h"
#include "Kovo/Rat.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;

class RatTest : public kovotest::CastTest {};

TEST_F(RatTest, StandsAWhileThenWalksTheOtherWayStoppingOneStepShortOfItsLimits)
{
    Rat* rat = makeRoom<Rat>(floorAt(0, 2000, 40) + actorAt(2, 1000, 40, 1, true, "900 1100"));
    const double step = GameConstants::slowSpeed * 0.03;
    for (const bool right : {true, false}) {
        SCOPED_TRACE(right ? "to the right" : "to the left");
        const int standing = thinkUntil(rat, [&] { return rat->getState() != (right ? 1 : 2); }, 30);
        EXPECT_GT(standing, GameConstants::characterIdleTime / 30);
        EXPECT_EQ(right ? 7 : 6, rat->getState());
        EXPECT_EQ(!right, rat->isFacingLeft());
        ASSERT_GT(thinkUntil(rat, [&] { return rat->getState() == (right ? 2 : 1); }, 30), 0);
        if (right) {
            EXPECT_LT(rat->getRight(), 1100);
            EXPECT_GE(rat->getRight() + step, 1100);
        } else {
            EXPECT_GT(rat->getLeft(), 900);
            EXPECT_LE(rat->getLeft() - step, 900);
        }
    }
}

TEST_F(RatTest, GassedOrBonkedItSqueaksAndSleepsAtOnceWithZPictures)
{
    for (const bool bonked : {false, true}) {
        Rat* rat = makeRoom<Rat>(floorAt(0, 2000, 40) + actorAt(2, 1000, 40, 1, true, "900 1100"));
        kovotest::stopAllEffects();
        bonked ? rat->bonk() : rat->stun();
        think(rat, 30);
        EXPECT_EQ(41, rat->getState());
        EXPECT_TRUE(kovotest::isPlaying("rat.wav"));
        EXPECT_DOUBLE_EQ(GameConstants::zBackCharacter, rat->getZ());
        EXPECT_EQ(animation(rat, 39), shown(rat)) << "the gassed picture until its next think";
        // The first Z a second later, beside its head.
        EXPECT_EQ(10, thinkUntil(rat, [&] { return !rat->getSleepZList().empty(); }, 100));
        const GphRect* z = rat->getSleepZList().getPictures().front();
        EXPECT_NEAR(rat->getLeft() - 5, z->getCoord()->getX(), 1e-9);
        EXPECT_NEAR(rat->getY() + 10, z->getCoord()->getY(), 1e-9);
        EXPECT_EQ(animation(rat, 41), shown(rat));
    }
}

}  // namespace
