#include <gtest/gtest.h>

#include "CastHarness.h"
#include "Kovo/Cart.h"
#include "Kovo/Dozer.h"
#include "Kovo/Switch.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;
using kovotest::wallAt;

class CartTest : public kovotest::CastTest {};

}  // namespace

TEST_F(CartTest, ACartRollsBetweenItsLimitsThroughWallsTurningWithoutAStepFacingAsItWas)
{
    // Rolling left, facing right, a wall in its way; at rest until its switch turns it on.
    Cart* cart = makeRoom<Cart>(floorAt(0, 2000, 40) + wallAt(1050, 1060, 400, 0) +
                                actorAt(10, 1000, 40, 41, false, "900 1100 5") +
                                "<SWITCH> 0 90 40 40 5 0 </SWITCH>");
    think(cart, 30, 3);
    EXPECT_EQ(41, cart->getState());
    EXPECT_EQ("mining_cart1.pcx", kovotest::frameFile(shown(cart), 0));
    room->getSwitches().front()->toggle();
    think(cart, 30);
    double lowest = 2000, highest = 0;
    for (int i = 0; i < 200; ++i) {
        const double x = cart->getX();
        const CharacterState state = cart->getState();
        think(cart, 30);
        lowest = std::min(lowest, cart->getLeft());
        highest = std::max(highest, cart->getRight());
        EXPECT_TRUE(cart->isFacingRight());
        EXPECT_TRUE(cart->getState() == state || cart->getX() == x) << "no step as it turns";
    }
    EXPECT_TRUE(lowest > 900 && lowest < 900 + 6.3);
    EXPECT_TRUE(highest < 1100 && highest > 1100 - 6.3) << "through the wall";
}

TEST_F(CartTest, ADozerTurnsAtLedgesAndWallsAndAfterABonkOrThePhoneWalksOnAsItWas)
{
    // The floor ends at 700; a wall stands at 1300.
    Dozer* dozer = makeRoom<Dozer>(floorAt(700, 2000, 40) + wallAt(1300, 1340, 400, 0) +
                                   actorAt(6, 1000, 40, 6, true, "0 2000 5"));
    thinkUntilStateChanges(dozer);
    EXPECT_TRUE(dozer->getState() == 7 && dozer->isFacingRight());
    EXPECT_NEAR(750 + 3.15, dozer->getX(), 3.15);
    thinkUntilStateChanges(dozer);
    EXPECT_TRUE(dozer->getState() == 6 && dozer->isFacingLeft());
    EXPECT_NEAR(1300 - 3.15, dozer->getX(), 3.15) << "the room stops a walker's centre there";
    const double x = dozer->getX();

    dozer->setOff(true);
    think(dozer, 30);
    EXPECT_EQ(41, dozer->getState());
    dozer->setVisible(true);  // its switch
    dozer->setOff(true);
    EXPECT_TRUE(dozer->isVisible()) << "a second call changes nothing";
    dozer->setOff(false);
    dozer->bonk();
    think(dozer, 30);
    EXPECT_EQ(6, dozer->getState());
    EXPECT_DOUBLE_EQ(x - 6.3, dozer->getX());
}

TEST_F(CartTest, ADozerShovesTheHeroItWalksIntoAtItsPushSpeed)
{
    makeRoom(floorAt(0, 2000, 40) + actorAt(6, 700, 40, 7, false, "0 2000 5"));
    placeHero(800, 40);
    int shoves = 0;
    for (int i = 0; i < 40; ++i) {
        const double before = hero.getX();
        room->update(30);
        if (hero.getX() == before) continue;
        EXPECT_NEAR(before + 210 * 0.03, hero.getX(), 1e-9);
        ++shoves;
    }
    EXPECT_GT(shoves, 20);
    EXPECT_FALSE(hero.isDying()) << "harmless to touch";
}
