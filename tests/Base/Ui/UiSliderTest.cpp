#include "Base/Ui/UiSlider.h"
#include "UiHarness.h"

using uitest::UiTest;

// A slider starts at zero with a range of zero.
TEST_F(UiTest, ASliderStartsAtZero)
{
    UiSlider slider(app, 4);
    EXPECT_EQ(4, slider.getId());
    EXPECT_EQ(0, slider.getValue());
    EXPECT_EQ(0, slider.getMinimum());
    EXPECT_EQ(0, slider.getMaximum());
}
