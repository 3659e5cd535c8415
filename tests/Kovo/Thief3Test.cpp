#include "CastHarness.h"
#include "Kovo/Thief3.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;

class Thief3Test : public kovotest::CastTest {};

TEST_F(Thief3Test, ShootsInPairsRunsOnPastTheHeroAndComesBackToWhereItPassedHim)
{
    makeRoom(floorAt(0, 2000, 40) + actorAt(23, 600, 40, 2, false, "0 2000 -1"));
    Thief3* thief = actor<Thief3>();
    placeHero(800, 40);
    // Noticed at once; more than a second later it shoots.
    EXPECT_EQ(22, thinkUntil(thief, [&] { return thief->getState() == 15; }, 50));
    std::vector<int> shotAt;
    for (int i = 1; i <= 10 && thief->getState() == 15; ++i) {
        think(thief, 50);
        CharacterRequest bullet;
        if (thief->takeRequest(bullet)) {
            shotAt.push_back(i);
            EXPECT_DOUBLE_EQ(thief->getRight(), bullet.x);
            EXPECT_DOUBLE_EQ(40 + 63, bullet.y);
        }
    }
    EXPECT_EQ((std::vector<int>{1, 4}), shotAt) << "the second once 100 ms have been counted";
    EXPECT_EQ(7, thief->getState());

    ASSERT_GT(thinkUntil(thief, [&] { return thief->getTurnaroundX() != -1; }, 50), 0);
    const double passed = thief->getReturnToX();
    EXPECT_GE(passed, 800);
    EXPECT_DOUBLE_EQ(passed + 200, thief->getTurnaroundX());
    ASSERT_GT(thinkUntil(thief, [&] { return thief->getState() == 6; }, 50), 0);
    EXPECT_GE(thief->getRight(), passed + 200);
    ASSERT_GT(thinkUntil(thief, [&] { return thief->getState() != 6; }, 50), 0);
    EXPECT_EQ(1, thief->getState()) << "back where it passed him";
    EXPECT_NEAR(passed, thief->getX(), GameConstants::walkSpeed * 0.05);
}

TEST_F(Thief3Test, EachGrenadeLeavesItCoughingAndTheThirdPutsItToSleep)
{
    makeRoom(floorAt(0, 2000, 40) + actorAt(23, 1000, 40, 1, true, "0 2000 -1"));
    Thief3* thief = actor<Thief3>();
    placeHero(800, 40);
    EXPECT_TRUE(thief->isGasImmune());
    think(thief, 50);
    EXPECT_FALSE(thief->isGasImmune()) << "open to grenades once shown";
    for (int hit = 1; hit <= 3; ++hit) {
        SCOPED_TRACE(hit);
        // As the room hits it: a hit point, and a stun once none are left.
        thief->addHitPoints(-1);
        if (thief->getHitPoints() <= 0) thief->stun();
        kovotest::stopAllEffects();
        think(thief, 50);
        EXPECT_EQ(39, thief->getState());
        EXPECT_TRUE(kovotest::isPlaying("cough.wav"));
        // Seven pictures of 150 ms, give or take the frame its rewind carries over.
        const int frames = thinkUntil(thief, [&] { return thief->getState() != 39; }, 50);
        EXPECT_NEAR(1050, 50 * frames, 150);
        EXPECT_EQ(hit < 3 ? 14 : 41, thief->getState());
    }
    EXPECT_DOUBLE_EQ(GameConstants::zBackCharacter, thief->getZ());
    EXPECT_EQ(20, thinkUntil(thief, [&] { return !thief->getSleepZList().empty(); }, 50));
}

}  // namespace
