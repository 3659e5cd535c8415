#include <gtest/gtest.h>

#include "CastHarness.h"
#include "Kovo/Drop.h"

namespace {

class DropTest : public kovotest::CastTest {};

}  // namespace

TEST_F(DropTest, WaitsUndrawnPastTwoSecondsDripsFallsToTheFloorAndStartsAgainFromItsStart)
{
    // It starts at (200, 250) with no wait of its own; the view spans -400 to 400 across and
    // -300 to 300 up.
    Drop* d = makeRoom<Drop>(kovotest::floorAt(-400, 2000, -200) +
                             kovotest::actorAt(15, 200, 250, 0, true, "200 250 0"));
    think(d, 20, 101);
    EXPECT_EQ(0, d->getState()) << "2000 ms exactly is not past";
    EXPECT_EQ(0u, rectsDrawn(d));
    think(d, 20);
    EXPECT_EQ(22, d->getState());
    EXPECT_TRUE(kovotest::isPlaying("drop.wav"));
    EXPECT_EQ(1u, rectsDrawn(d));

    think(d, 20, 22);
    EXPECT_DOUBLE_EQ(-840, d->getVerticalSpeed()) << "its fall stops speeding up at 840";
    thinkUntilStateChanges(d, 20);
    EXPECT_DOUBLE_EQ(-100, d->getY()) << "out of sight below the room";
    EXPECT_DOUBLE_EQ(0, d->getVerticalSpeed());
    EXPECT_EQ(102, thinkUntilStateChanges(d, 20));
    EXPECT_DOUBLE_EQ(200, d->getX());
    EXPECT_DOUBLE_EQ(250, d->getY());
}
