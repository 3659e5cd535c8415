#include <gtest/gtest.h>

#include "Base/Gph/GphRect.h"
#include "CastHarness.h"
#include "Kovo/Drop.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;

class DropTest : public kovotest::CastTest {
protected:
    // A drop whose start is (x, y) with its first wait; the view spans -400 to 400 across
    // and -300 to 300 up.
    Drop* drop(int x, int y, int wait)
    {
        std::ostringstream extras;
        extras << x << ' ' << y << ' ' << wait;
        makeRoom(floorAt(-400, 2000, -200) + actorAt(15, x, y, 0, true, extras.str()));
        return actor<Drop>();
    }
    // Rectangles that reached OpenGL in one draw of the drop.
    static unsigned long drawn(Drop* d)
    {
        const unsigned long before = GphRect::getTally().rects;
        d->draw();
        return GphRect::getTally().rects - before;
    }
};

}  // namespace

TEST_F(DropTest, WaitsUndrawnPastTwoSecondsDripsFallsToTheFloorAndStartsAgainFromItsStart)
{
    Drop* d = drop(200, 250, 0);
    think(d, 20, 101);
    EXPECT_EQ(0, d->getState()) << "2000 ms exactly is not past";
    EXPECT_EQ(0u, drawn(d));
    think(d, 20);
    EXPECT_EQ(22, d->getState());
    EXPECT_TRUE(kovotest::anyPlaying("drop.wav"));
    EXPECT_EQ(1u, drawn(d));

    think(d, 20, 22);
    EXPECT_DOUBLE_EQ(-840, d->getVerticalSpeed()) << "its fall stops speeding up at 840";
    thinkUntilStateChanges(d, 20);
    EXPECT_DOUBLE_EQ(-100, d->getY()) << "out of sight below the room";
    EXPECT_DOUBLE_EQ(0, d->getVerticalSpeed());
    EXPECT_EQ(102, thinkUntilStateChanges(d, 20));
    EXPECT_DOUBLE_EQ(200, d->getX());
    EXPECT_DOUBLE_EQ(250, d->getY());
}
