#include "CastHarness.h"
#include "Kovo/Knight.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;
using kovotest::restore;
using kovotest::saved;

class KnightTest : public kovotest::CastTest {};

TEST_F(KnightTest, SneaksAfterTheHeroOncePassedUntilHeFacesItOrItsLimitStopsIt)
{
    placeHero(700, 40);
    makeRoom(floorAt(0, 2000, 40) + actorAt(17, 1000, 40, 0, true, "600 1400"));
    Knight* knight = actor<Knight>();
    const double step = GameConstants::slowSpeed * 0.03;
    hero.faceLeft();
    // His back to it, but he has not walked past it: it stands.
    for (int i = 0; i < 5; ++i) think(knight, 30);
    EXPECT_EQ(0, knight->getState());
    EXPECT_FALSE(knight->isHarmful());

    placeHero(1100, 40);
    think(knight, 30);
    EXPECT_TRUE(knight->hasHeroPassed());
    placeHero(560, 40);
    think(knight, 30);
    ASSERT_EQ(3, knight->getState());
    EXPECT_DOUBLE_EQ(1000, knight->getX()) << "the first frame only looks";
    EXPECT_DOUBLE_EQ(180, knight->getRight() - knight->getLeft());
    EXPECT_DOUBLE_EQ(200, knight->getDrawable()->getLength());
    think(knight, 30);
    EXPECT_TRUE(knight->isHarmful());
    const std::string sneaking = saved(*knight);
    // A room frame of no time is no reset.
    room->update(0);
    EXPECT_EQ(3, knight->getState());
    EXPECT_TRUE(knight->hasHeroPassed());

    // He turns to face it: it stands again, and starts again once he turns away.
    hero.faceRight();
    think(knight, 30);
    EXPECT_EQ(0, knight->getState());
    EXPECT_DOUBLE_EQ(120, knight->getDrawable()->getLength());
    hero.faceLeft();
    think(knight, 30);
    EXPECT_EQ(3, knight->getState());

    // The step that reaches its limit is still made, then it stands.
    ASSERT_GT(thinkUntil(knight, [&] { return knight->getState() == 0; }, 30), 0);
    EXPECT_LE(knight->getX() - 90, 600);
    EXPECT_GT(knight->getX() - 90, 600 - step);

    // The room's entry resets it: it waits for the hero to pass it again.
    knight->think(0, 0.0);
    EXPECT_FALSE(knight->hasHeroPassed());

    // Restored sneaking, a fresh knight takes the crouched look, its picture not made square.
    makeRoom(floorAt(0, 2000, 40) + actorAt(17, 1000, 40, 0, true, "600 1400"));
    ASSERT_EQ(0, restore(*actor(), sneaking));
    EXPECT_DOUBLE_EQ(200, actor()->getDrawable()->getLength());
    EXPECT_DOUBLE_EQ(100, actor()->getDrawable()->getWidth());
    EXPECT_DOUBLE_EQ(180, actor()->getRight() - actor()->getLeft());
}

}  // namespace
