// The controls on a machine without a sound device: the sound engine fails to start and
// every effect a control asks for is missing, yet the controls work.

#include <list>

#include "../Ui/UiHarness.h"
#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiCheckBox.h"
#include "Base/Ui/UiSlideShow.h"
#include "Base/Ui/UiTextBox.h"

using namespace uitest;

static ::testing::Environment* const uiEnvironment =
    ::testing::AddGlobalTestEnvironment(new UiEnvironment(false));

TEST_F(UiTest, ControlsWorkSilentlyWithoutASoundDevice)
{
    EXPECT_FALSE(UiEnvironment::soundStarted());
    EXPECT_TRUE(testsupport::logContains("Failed to open default audio device"));

    writeSolidBmp("test_normal.bmp", 200, 0, 0);
    writeSolidBmp("test_lit.bmp", 0, 200, 0);
    writeSolidBmp("test_slide0.bmp", 0, 0, 200);
    writeSolidBmp("test_slide1.bmp", 200, 200, 0);

    const int before = newestEffectId();
    UiButton button(app, 1, "test_normal.bmp", "test_lit.bmp", 0, 200, -10, 128, 64, false);
    UiCheckBox box(app, 2, "test_normal.bmp", "test_lit.bmp", 0, 100, -10, 200, 30);
    UiTextBox text(app, 3, "test_normal.bmp", "test_lit.bmp", 0, 0, -10, 280, 40, "", 0, false);
    EXPECT_TRUE(effectsAfter(before).empty()) << "no effect can be made without a device";
    screen->addChild(&button);
    screen->addChild(&box);
    screen->addChild(&text);

    pushMotion(0, 200);
    pushClick(0, 200);
    pushMotion(0, 100);
    pushClick(0, 100);
    pushMotion(0, 0);
    pushClick(0, 0);
    typeText("hush");
    typeKey(SDLK_LEFT);
    typeKey(SDLK_BACKSPACE);
    typeKey(SDLK_ESCAPE);
    app->script = [&](int frame) {
        if (frame == 1) {
            EXPECT_TRUE(text.isLit());
            EXPECT_FALSE(button.isLit());
            EXPECT_EQ(pixelAt(50, 200), (std::array<unsigned char, 3>{200, 0, 0}));
            EXPECT_EQ(pixelAt(0, 100), (std::array<unsigned char, 3>{200, 0, 0}));
            pushMotion(0, 200);
        } else if (frame == 2) {
            EXPECT_TRUE(button.isLit());
            EXPECT_EQ(pixelAt(50, 200), (std::array<unsigned char, 3>{0, 200, 0}));
        }
    };
    app->runFrames(3);
    EXPECT_TRUE(box.isChecked());
    EXPECT_EQ(text.getText(), "HUH");
    EXPECT_EQ(screen->events,
              (std::vector<std::string>{"command 1", "checkbox 2 on", "activated 3", "entered 3 HUH"}));
}

TEST_F(UiTest, SlideShowPagesAndLeavesWithoutASoundDevice)
{
    writeSolidBmp("test_slide0.bmp", 0, 0, 200);
    writeSolidBmp("test_slide1.bmp", 200, 200, 0);
    UiSlideShow show(app, 4, std::list<std::string>{"test_slide0.bmp", "test_slide1.bmp"}, 0, 50, -20, 512, 384);
    screen->addChild(&show);
    screen->windowChild = &show;
    show.setFocus(true);

    pushMotion(303, -308);
    pushClick(303, -308);
    app->script = [&](int frame) {
        if (frame == 1) {
            EXPECT_EQ(pixelAt(0, 50), (std::array<unsigned char, 3>{200, 200, 0}));
            typeKey(SDLK_LEFT);
        } else if (frame == 2) {
            EXPECT_EQ(pixelAt(0, 50), (std::array<unsigned char, 3>{0, 0, 200}));
            pushClick(0, -308);
            typeKey(SDLK_ESCAPE);
        }
    };
    app->runFrames(3);
    EXPECT_EQ(screen->events, (std::vector<std::string>{"cancel 4", "cancel 4"}));
}
