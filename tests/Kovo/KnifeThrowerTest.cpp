#include "CastHarness.h"
#include "Kovo/KnifeThrower.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;

class KnifeThrowerTest : public kovotest::CastTest {};

TEST_F(KnifeThrowerTest, ThrowsExactlyOneKnifeAtTheEighthPictureOfItsThrow)
{
    makeRoom(floorAt(0, 8000, 40) + actorAt(4, 1000, 40, 1, true, "0"), 8000);
    KnifeThrower* thrower = actor<KnifeThrower>();
    placeHero(800, 40);
    // More than a second of sight: 34 frames count 1020 ms, the 35th starts the throw.
    EXPECT_EQ(35, updatesUntil([&] { return thrower->getState() == 14; }, 30));
    EXPECT_TRUE(newShots().empty());

    // The eighth picture shows from 350 ms into the throw.
    int knives = 0, at = 0;
    for (int i = 1; thrower->getState() == 14 && i < 30; ++i) {
        room->update(25);
        const std::vector<const Projectile*> made = newShots();
        if (!made.empty() && !at) at = i;
        knives += static_cast<int>(made.size());
    }
    EXPECT_EQ(1, knives);
    EXPECT_EQ(14, at) << "30 ms of the first frame and 13 of 25 ms: frame 7 shows";
    const Projectile* knife = room->getEnemyProjectiles().back();
    EXPECT_DOUBLE_EQ(100, knife->getY());
    EXPECT_DOUBLE_EQ(-GameConstants::projectileSpeed, knife->getVelocityX());
    EXPECT_DOUBLE_EQ(2000, knife->getSpin());
    EXPECT_EQ(1, thrower->getState());
}

// The hero comes back into the room after a knife left and before the throw ended: the
// thrower stands again, and its next throw still releases a knife.
TEST_F(KnifeThrowerTest, AThrowCutShortByTheHerosReturnLeavesTheNextThrowItsKnife)
{
    makeRoom(floorAt(0, 8000, 40) + actorAt(4, 1000, 40, 1, true, "0"), 8000);
    KnifeThrower* thrower = actor<KnifeThrower>();
    placeHero(800, 40);
    ASSERT_GT(updatesUntil([&] { return !newShots().empty(); }), 0);
    ASSERT_EQ(14, thrower->getState());
    // The room's return ends the knives in flight.
    room->enter(850, 40, 0, 0, 0, 0, 0);
    ASSERT_EQ(1, thrower->getState());
    seenShots.clear();
    size_t knives = 0;
    updatesUntil([&] { return thrower->getState() == 14; });
    EXPECT_GT(updatesUntil([&] {
                  knives += newShots().size();
                  return thrower->getState() == 1;
              }),
              0);
    EXPECT_EQ(1u, knives);
}

}  // namespace
