#include "CastHarness.h"
#include "Kovo/Player.h"
#include "Kovo/Thief2.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;

class Thief2Test : public kovotest::CastTest {};

TEST_F(Thief2Test, OnScreenWithTheHeroNotAboveItFiresTwoShotsThenRunsOffAndVanishes)
{
    makeRoom(floorAt(0, 8000, 40) + actorAt(22, 1000, 40, 1, true, "500 1300 -1"), 8000);
    Thief2* thief = actor<Thief2>();
    lookAt(1000);
    placeHero(700, 40);
    // More than 500 ms: the eleventh frame of 50 ms.
    EXPECT_EQ(11, updatesUntil([&] { return thief->getState() == 14; }, 50));
    std::vector<int> shotAt;
    for (int i = 1; i <= 10 && thief->getState() == 14; ++i) {
        room->update(50);
        for (const Projectile* bullet : newShots()) {
            shotAt.push_back(i);
            EXPECT_DOUBLE_EQ(-GameConstants::projectileSpeed, bullet->getVelocityX());
            EXPECT_DOUBLE_EQ(40 + 63, bullet->getY());
        }
    }
    EXPECT_EQ((std::vector<int>{1, 4}), shotAt) << "the second once 100 ms have been counted";
    EXPECT_EQ(7, thief->getState()) << "it runs off the other way";

    // Its limit ends the run: gone for good, drawn no more.
    ASSERT_GT(updatesUntil([&] { return thief->getState() != 7; }, 50), 0);
    EXPECT_EQ(42, thief->getState());
    EXPECT_LT(thief->getRight(), 1300);
    room->update(50);
    EXPECT_EQ(nullptr, shown(thief));
    if (hero.isDying()) hero.respawn();
}

}  // namespace
