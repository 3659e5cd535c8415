#include <gtest/gtest.h>

#include <string>

#include "CastHarness.h"
#include "Kovo/Icicle.h"

namespace {

using kovotest::actorAt;
using kovotest::isPlaying;
using kovotest::floorAt;

// An icicle whose tip hangs at (1000, 400).
const std::string kIcicle = actorAt(CharacterTypeIcicle, 1000, 400, 0, true);

class IcicleTest : public kovotest::CastTest {};

}  // namespace

TEST_F(IcicleTest, FallsOnTheHeroBelowBreaksOnTheFloorAndIsHarmlessAfter)
{
    Icicle* icicle = makeRoom<Icicle>(floorAt(0, 2000, 40) + kIcicle);
    placeHero(1010, 40);
    room->update(20);
    EXPECT_EQ(CharacterStateFlyLeft, icicle->getState());
    EXPECT_TRUE(isPlaying("icicle.wav"));

    for (int i = 0; i < 100 && !hero.isDying(); ++i) room->update(20);
    EXPECT_TRUE(hero.isDying());
    EXPECT_EQ(CharacterStateFlyLeft, icicle->getState());

    // It breaks on the floor and lies 14 above where its last step began.
    double bottom = icicle->getBottom();
    while (icicle->getState() == CharacterStateFlyLeft) {
        bottom = icicle->getBottom();
        think(icicle, 20);
    }
    EXPECT_EQ(CharacterStateAsleepLeft, icicle->getState());
    EXPECT_DOUBLE_EQ(bottom + 14, icicle->getBottom());
    EXPECT_LT(bottom, 40 + 17);
    EXPECT_TRUE(isPlaying("knife_deflection.wav"));
    think(icicle, 20);
    EXPECT_EQ(animation(icicle, CharacterStateAsleepLeft), shown(icicle));

    hero.respawn();
    placeHero(1000, 40);
    room->update(20);
    EXPECT_FALSE(hero.isDying());
}

TEST_F(IcicleTest, AFloorBetweenOrAHeroToOneSideLeavesItHanging)
{
    const struct {
        const char* what;
        std::string between;
        double heroX;
    } cases[] = {{"floor between", floorAt(900, 1100, 300), 1000},
                 {"hero aside", "", 1021}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        makeRoom(floorAt(0, 2000, 40) + c.between + kIcicle);
        placeHero(c.heroX, 40);
        think(actor(), 20, 10);
        EXPECT_EQ(CharacterStateStill, actor()->getState());
    }
}
