#include "Base/Gph/GphRect.h"
#include "MenuHarness.h"

using namespace menutest;

namespace {

class MenuBackdropTest : public MenuTest {
protected:
    std::vector<double> stripYs() const
    {
        std::vector<double> ys;
        for (const GphRect* strip : backdrop->getStrips()) ys.push_back(strip->getCoord()->getY());
        return ys;
    }
    void drawBackdrop()
    {
        window->clear();
        window->disableLighting();
        backdrop->draw();
    }
};

}  // namespace

TEST_F(MenuBackdropTest, StripsSinkThirtyUnitsASecondAndComeBackAtTheTop)
{
    backdrop = new MenuBackdrop(app);
    // 22 strips of 1024 x 50 tile the band from -575 to 525.
    ASSERT_EQ(backdrop->getStrips().size(), 22u);
    for (const GphRect* strip : backdrop->getStrips()) {
        EXPECT_DOUBLE_EQ(strip->getLength(), 1024.0);
        EXPECT_DOUBLE_EQ(strip->getWidth(), 50.0);
    }
    backdrop->update(0);
    for (int i = 0; i < 22; ++i) EXPECT_DOUBLE_EQ(stripYs()[i], 50.0 * i - 550) << "no time, no motion";

    // Frames that add up to a second.
    for (int i = 0; i < 33; ++i) backdrop->update(30);
    backdrop->update(10);
    std::vector<double> ys = stripYs();
    for (int i = 1; i < 22; ++i) EXPECT_NEAR(ys[i], 50.0 * i - 550 - 30, 1e-9) << i;
    // The lowest strip went below the band in the first frame and on at the top.
    EXPECT_NEAR(ys[0], -550 - 30 + 1100, 1e-9);
    delete backdrop;

    // A strip that comes to -551 stands at 549 after the same update; one that comes to
    // exactly -550 stays.
    backdrop = new MenuBackdrop(app);
    backdrop->update(1700);
    EXPECT_DOUBLE_EQ(stripYs()[1], 549.0);
    EXPECT_DOUBLE_EQ(stripYs()[2], -501.0);
    delete backdrop;
    backdrop = new MenuBackdrop(app);
    backdrop->update(5000);
    EXPECT_DOUBLE_EQ(stripYs()[3], -550.0);
    EXPECT_DOUBLE_EQ(stripYs()[0], 400.0);
    delete backdrop;
}

TEST_F(MenuBackdropTest, ScrollShowsInThePixels)
{
    backdrop = new MenuBackdrop(app);
    drawBackdrop();
    // The strip at y 0: its upper half coloured, the panel through its lower half, across
    // the whole view.
    EXPECT_TRUE(near(pixelAt(0, 12.5), StripColour));
    EXPECT_TRUE(near(pixelAt(-480, 12.5), StripColour));
    EXPECT_TRUE(near(pixelAt(480, 12.5), StripColour));
    EXPECT_TRUE(near(pixelAt(0, -12.5), PanelColour));
    EXPECT_TRUE(near(pixelAt(0, 362.5), StripColour));
    EXPECT_TRUE(near(pixelAt(0, -362.5), PanelColour));

    for (int i = 0; i < 33; ++i) backdrop->update(30);
    backdrop->update(10);
    drawBackdrop();
    EXPECT_TRUE(near(pixelAt(0, 12.5 - 30), StripColour));
    EXPECT_TRUE(near(pixelAt(0, 12.5), PanelColour));
    EXPECT_TRUE(near(pixelAt(0, -12.5 - 30), PanelColour));
    delete backdrop;
}
