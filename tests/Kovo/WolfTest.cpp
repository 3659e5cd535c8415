#include "CastHarness.h"
#include "Kovo/Reaction.h"
#include "Kovo/Wolf.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;

class WolfTest : public kovotest::CastTest {};

TEST_F(WolfTest, NoticesTheHeroRunsPastHimToFiveHundredBeyondAndComesBack)
{
    Wolf* wolf = makeRoom<Wolf>(floorAt(0, 2000, 40) + actorAt(0, 1000, 40, 1, true, "0 2000"));
    placeHero(803.9, 40);
    // One bubble from 150 ms on, the run more than a second after the first sight.
    int bubbles = 0;
    EXPECT_EQ(35, thinkUntil(wolf, [&] {
        std::unique_ptr<Reaction> bubble(wolf->react());
        bubbles += bubble != nullptr;
        return wolf->getState() != 1;
    }, 30));
    EXPECT_EQ(6, wolf->getState());
    EXPECT_EQ(1, bubbles);
    EXPECT_TRUE(kovotest::isPlaying("wolf.wav"));

    thinkUntil(wolf, [&] { return wolf->getTurnaroundX() != -1; }, 20);
    const double passed = wolf->getReturnToX();
    EXPECT_LE(passed, 803.9);
    EXPECT_GT(passed, 803.9 - GameConstants::runSpeed * 0.02);
    EXPECT_DOUBLE_EQ(passed - 500, wolf->getTurnaroundX());
    thinkUntil(wolf, [&] { return wolf->getState() == 7; }, 20);
    EXPECT_FALSE(wolf->isFacingLeft());
    // A frame of another length, so the way back does not land on the very spot it left.
    think(wolf, 13);
    ASSERT_GT(thinkUntil(wolf, [&] { return wolf->getState() != 7; }, 20), 0);
    EXPECT_EQ(2, wolf->getState()) << "back where it passed him, it stands facing its run";
    EXPECT_GE(wolf->getX(), passed);
    EXPECT_LT(wolf->getX() - GameConstants::runSpeed * 0.02, passed);
}

TEST_F(WolfTest, GassedItWhimpersAndSleepsAtTheEndOfItsGassedPictures)
{
    Wolf* wolf = makeRoom<Wolf>(floorAt(0, 2000, 40) + actorAt(0, 1000, 40, 2, false, "0 2000"));
    placeHero(1200, 40);
    think(wolf, 30);
    ASSERT_GT(wolf->getAlertTimer(), 0);
    kovotest::stopAllEffects();
    wolf->stun();
    int whimpers = 0;
    const int frames = thinkUntil(wolf, [&] {
        whimpers += kovotest::isPlaying("pluck.wav");
        return wolf->isAsleep();
    }, 30);
    // Six pictures of 375 ms run before it sleeps.
    EXPECT_NEAR(2250, frames * 30, 30);
    EXPECT_GT(whimpers, 0);
    EXPECT_EQ(42, wolf->getState());
    EXPECT_EQ(0, wolf->getAlertTimer()) << "a stunned wolf never starts its run";
    think(wolf, 30);
    EXPECT_EQ(animation(wolf, 42), shown(wolf));
}

}  // namespace
