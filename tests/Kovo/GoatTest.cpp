#include <gtest/gtest.h>

#include <string>

#include "CastHarness.h"
#include "Kovo/Goat.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;
using kovotest::isPlaying;

// A goat standing on the floor at y 40 with its limits.
std::string goatAt(int x, int state, bool facingLeft, int leftLimit = 0, int rightLimit = 2000)
{
    return actorAt(CharacterTypeGoat, x, 40, state, facingLeft,
                   std::to_string(leftLimit) + " " + std::to_string(rightLimit));
}

class GoatTest : public kovotest::CastTest {
protected:
    // A grenade hit as the room gives it: one hit point, and a stun when none is left.
    static void hit(Character* c)
    {
        c->addHitPoints(-1);
        if (c->getHitPoints() <= 0) c->stun();
    }
};

}  // namespace

TEST_F(GoatTest, ChargesPastTheHeroTurns400FurtherOnAndComesBackToWhereItPassedHim)
{
    Goat* goat = makeRoom<Goat>(floorAt(0, 2000, 40) + goatAt(1300, 1, true));
    placeHero(900, 40);
    think(goat, 20);
    EXPECT_EQ(CharacterStateMoveLeft, goat->getState());
    EXPECT_TRUE(isPlaying("goat.wav"));

    while (goat->getTurnaroundX() == -1) think(goat, 20);
    const double passed = goat->getReturnToX();
    EXPECT_LE(passed, 900);
    EXPECT_GT(passed, 890);
    EXPECT_DOUBLE_EQ(passed - 400, goat->getTurnaroundX());

    EXPECT_GT(thinkUntilStateChanges(goat, 20), 0);
    EXPECT_EQ(CharacterStateMoveRight, goat->getState());
    EXPECT_LE(goat->getLeft(), passed - 400);
    EXPECT_GT(goat->getLeft(), passed - 410);

    // The hero has jumped out of its way: back at the passing point it stands, facing its way
    // back.
    placeHero(passed + 300, 300);
    EXPECT_GT(thinkUntilStateChanges(goat, 20), 0);
    EXPECT_EQ(CharacterStateStandRight, goat->getState());
    EXPECT_GE(goat->getX(), passed);
    EXPECT_LT(goat->getX(), passed + 5);
}

TEST_F(GoatTest, AHitStunsItForAMomentAndItChargesAgainTheSecondPutsItToSleep)
{
    Goat* goat = makeRoom<Goat>(floorAt(0, 2000, 40) + goatAt(1000, 1, true));
    placeHero(1500, 40);

    hit(goat);
    think(goat, 25);
    EXPECT_EQ(CharacterStateStunnedLeft, goat->getState());
    EXPECT_TRUE(isPlaying("goat2.wav"));
    // 375 ms later it runs on the way it faced.
    EXPECT_EQ(15, thinkUntilStateChanges(goat, 25));
    EXPECT_EQ(CharacterStateMoveLeft, goat->getState());

    hit(goat);
    think(goat, 25);
    EXPECT_EQ(CharacterStateStunnedLeft, goat->getState());
    EXPECT_EQ(15, thinkUntilStateChanges(goat, 25));
    EXPECT_EQ(CharacterStateAsleepLeft, goat->getState());
    EXPECT_EQ(0, goat->getHitPoints());
    // A Z picture each second, 20 beyond its left side and 20 above its feet.
    think(goat, 25, 40);
    ASSERT_EQ(1u, goat->getSleepZList().size());
    const ShpCoord* z = goat->getSleepZList().getPictures().front()->getCoord();
    EXPECT_DOUBLE_EQ(goat->getLeft() - 20, z->getX());
    EXPECT_NEAR(goat->getY() + 20, z->getY(), 1);
}

TEST_F(GoatTest, AStunnedGoatPutToSleepAsTheHeroComesBackStaysAsleepAndQuiet)
{
    Goat* goat = makeRoom<Goat>(floorAt(0, 2000, 40) + goatAt(1000, 2, false));
    placeHero(100, 40);
    hit(goat);
    think(goat, 25);
    ASSERT_EQ(CharacterStateStunnedRight, goat->getState());
    kovotest::stopAllEffects();

    // The room puts every stunned actor to sleep and thinks it once, with no time.
    room->enter(100, 40, 0, 0, 0, 0, 0);
    EXPECT_EQ(CharacterStateAsleepRight, goat->getState());
    EXPECT_FALSE(isPlaying("goat2.wav"));
    think(goat, 25, 40);
    EXPECT_EQ(CharacterStateAsleepRight, goat->getState());
}
