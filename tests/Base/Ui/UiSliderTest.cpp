#include "Base/Ui/UiSlider.h"
#include "UiHarness.h"

using namespace uitest;

// A slider starts at zero with a range of zero and, having no picture, leaves the frame as
// it was.
TEST_F(UiTest, ASliderStartsAtZeroAndDrawsNothing)
{
    UiSlider slider(app, 4);
    EXPECT_EQ(4, slider.getId());
    EXPECT_EQ(0, slider.getValue());
    EXPECT_EQ(0, slider.getMinimum());
    EXPECT_EQ(0, slider.getMaximum());
    app->getWindow()->clear();
    const auto before = pixelAt(0, 0);
    slider.draw();
    EXPECT_EQ(before, pixelAt(0, 0));
}
