#include "CastHarness.h"
#include "Kovo/Hint.h"
#include "Kovo/Switch.h"
#include "Kovo/Thief1.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;

class Thief1Test : public kovotest::CastTest {};

TEST_F(Thief1Test, OnScreenItDropsItsFolderThenTogglesItsSwitchAndFleesForGood)
{
    makeRoom(floorAt(0, 2000, 40) + "<SWITCH> 700 100 40 40 7 0 </SWITCH>\n" +
             actorAt(18, 1000, 40, 1, true, "500 1300 7"));
    Thief1* thief = actor<Thief1>();
    Switch* lever = room->getSwitches().front();
    EXPECT_EQ(lever, thief->getSwitch());
    lookAt(1000);
    placeHero(800, 40);

    // A little over half a second on screen: the folder drops and the room holds still.
    EXPECT_EQ(6, updatesUntil([&] { return room->hasHint(); }, 100));
    const Hint* folder = room->getShownHint();
    EXPECT_DOUBLE_EQ(1000, folder->getX());
    EXPECT_FALSE(lever->isOn());
    room->update(100);
    EXPECT_EQ(1, thief->getState());

    // Closed, the next frame on screen starts the run away from its facing.
    room->onCharDown('x');
    room->update(100);
    EXPECT_EQ(7, thief->getState());
    EXPECT_FALSE(thief->isFacingLeft());
    EXPECT_TRUE(lever->isOn());

    // Its limit ends the run where it stands: gone, and never back.
    ASSERT_GT(updatesUntil([&] { return thief->getState() != 7; }, 30), 0);
    EXPECT_EQ(42, thief->getState());
    EXPECT_LT(thief->getRight(), 1300);
    room->update(30);
    EXPECT_EQ(nullptr, shown(thief));
}

}  // namespace
