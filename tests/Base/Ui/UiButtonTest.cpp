#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiCheckBox.h"
#include "UiHarness.h"

using namespace uitest;

namespace {

// Pictures of one colour each, so that a pixel tells which one is drawn.
class WidgetTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        writeSolidBmp("test_normal.bmp", 200, 0, 0);
        writeSolidBmp("test_lit.bmp", 0, 200, 0);
        writeSolidBmp("test_disabled.bmp", 0, 0, 200);
    }
};

const std::array<unsigned char, 3> Red{200, 0, 0};
const std::array<unsigned char, 3> Green{0, 200, 0};
const std::array<unsigned char, 3> Blue{0, 0, 200};
const std::array<unsigned char, 3> Black{0, 0, 0};

}  // namespace

TEST_F(WidgetTest, PointerLightsButtonAndReleaseSendsItsCommand)
{
    const int before = newestEffectId();
    UiButton button(app, 5, "test_normal.bmp", "test_lit.bmp", 100, 50, -10, 128, 64, false);
    const WidgetSounds sounds = soundsAfter(before);
    ASSERT_NE(sounds.rollover, nullptr);
    ASSERT_NE(sounds.click, nullptr);
    EXPECT_EQ(sounds.click->getFileName(), "menu_item_click1.wav");
    screen->addChild(&button);

    pushMotion(100, 50);
    app->script = [&](int frame) {
        if (frame == 1) {
            EXPECT_TRUE(button.isLit());
            EXPECT_TRUE(sounds.rollover->isPlaying());
            EXPECT_EQ(pixelAt(100, 50), Green);
            EXPECT_TRUE(screen->events.empty());
            pushClick(130, 70);
        } else if (frame == 2) {
            EXPECT_EQ(screen->events, std::vector<std::string>{"command 5"});
            EXPECT_TRUE(sounds.click->isPlaying());
            pushMotion(0, -200);
        } else if (frame == 3) {
            EXPECT_FALSE(button.isLit());
            EXPECT_EQ(pixelAt(100, 50), Red);
            EXPECT_EQ(pixelAt(100 + 70, 50), Black) << "the picture has the button's size";
        }
    };
    app->runFrames(3);
    EXPECT_EQ(screen->events, std::vector<std::string>{"command 5"});
}

TEST_F(WidgetTest, KeysMoveTheFocusAndEnterPressesTheFocusedButton)
{
    UiButton first(app, 11, "test_normal.bmp", "test_lit.bmp", 0, 100, -10, 100, 40, false);
    UiButton second(app, 12, "test_normal.bmp", "test_lit.bmp", 0, 0, -10, 100, 40, false);
    UiButton third(app, 13, "test_normal.bmp", "test_lit.bmp", 0, -100, -10, 100, 40, false);
    screen->addChild(&first);
    screen->addChild(&second);
    screen->addChild(&third);

    typeKey(SDLK_TAB);     // the first
    typeKey(SDLK_RETURN);  // 13
    typeKey(SDLK_DOWN);    // the second
    typeKey(SDLK_DOWN);    // the third
    typeKey(SDLK_a);       // not Enter
    typeKey(SDLK_UP);      // the second
    typeKey(SDLK_RETURN);
    app->runFrames(2);
    EXPECT_EQ(screen->events, (std::vector<std::string>{"command 11", "command 12"}));
    EXPECT_TRUE(second.hasFocus());
    EXPECT_FALSE(first.hasFocus());
    EXPECT_FALSE(third.hasFocus());
}

TEST_F(WidgetTest, ButtonShowsLitThenDisabledThenNormalPicture)
{
    UiButton button(app, 1, "test_normal.bmp", "test_lit.bmp", "test_disabled.bmp", 0, 0, -10, 100, 100, false);
    UiButton plain(app, 2, "test_normal.bmp", "test_lit.bmp", 0, 0, -10, 100, 100, false);

    drawOnly(button);
    EXPECT_EQ(pixelAt(0, 0), Red);
    button.setLit(true);
    drawOnly(button);
    EXPECT_EQ(pixelAt(0, 0), Green);
    button.disable();
    drawOnly(button);
    EXPECT_EQ(pixelAt(0, 0), Green) << "lit goes first, even when disabled";
    button.setLit(false);
    drawOnly(button);
    EXPECT_EQ(pixelAt(0, 0), Blue);
    button.deleteDisabledImage();
    drawOnly(button);
    EXPECT_EQ(pixelAt(0, 0), Red);
    button.deleteDisabledImage();  // none left: nothing happens
    button.hide();
    drawOnly(button);
    EXPECT_EQ(pixelAt(0, 0), Black);

    plain.disable();
    drawOnly(plain);
    EXPECT_EQ(pixelAt(0, 0), Red) << "no disabled picture: the normal one";
}

TEST_F(WidgetTest, DisabledOrOrphanButtonStaysSilent)
{
    const int before = newestEffectId();
    UiButton button(app, 3, "test_normal.bmp", "test_lit.bmp", 0, 0, -10, 100, 40, false);
    const WidgetSounds sounds = soundsAfter(before);
    ASSERT_NE(sounds.click, nullptr);

    // No parent: Enter and releases do nothing.
    button.onCharDown(13);
    button.onLeftButtonUp(0, 0);
    EXPECT_FALSE(sounds.click->isPlaying());

    screen->addChild(&button);
    button.disable();
    button.onMouseMove(0, 0);
    EXPECT_FALSE(button.isLit()) << "a disabled button is never lit";
    EXPECT_FALSE(sounds.rollover->isPlaying());
    button.onCharDown(10);
    button.onCharDown(13);
    button.onLeftButtonUp(0, 0);
    EXPECT_FALSE(sounds.click->isPlaying());

    button.enable();
    for (char c : {' ', 'a', '\t', '\x1b', '\x08', '\0'}) button.onCharDown(c);
    button.onLeftButtonDown(0, 0);
    EXPECT_FALSE(sounds.click->isPlaying());
    EXPECT_TRUE(screen->events.empty());

    // The release acts wherever the pointer is: the screen has chosen the button.
    button.onLeftButtonUp(5000, 5000);
    EXPECT_TRUE(sounds.click->isPlaying());
    button.onCharDown(10);
    EXPECT_EQ(screen->events, (std::vector<std::string>{"command 3", "command 3"}));
}

TEST_F(WidgetTest, ResizingPicturesLeavesThePointerArea)
{
    UiButton button(app, 4, "test_normal.bmp", "test_lit.bmp", 0, 0, -10, 100, 40, false);
    button.setSize(200, 100);
    drawOnly(button);
    EXPECT_EQ(pixelAt(90, 0), Red) << "the pictures became 200 square";
    EXPECT_EQ(pixelAt(0, 90), Red);
    button.onMouseMove(90, 0);
    EXPECT_FALSE(button.isLit());
    button.onMouseMove(50, 20);
    EXPECT_TRUE(button.isLit()) << "the box keeps its 100 x 40";
}

TEST_F(WidgetTest, CheckBoxTogglesAndReportsFromPointerAndKeys)
{
    const int before = newestEffectId();
    UiCheckBox box(app, 9, "test_normal.bmp", "test_lit.bmp", 0, 0, -10, 200, 30);
    const WidgetSounds sounds = soundsAfter(before);
    ASSERT_NE(sounds.click, nullptr);
    screen->addChild(&box);
    EXPECT_FALSE(box.isChecked());

    pushMotion(90, 10);
    pushClick(90, 10);
    app->script = [&](int frame) {
        if (frame == 1) {
            EXPECT_TRUE(box.isLit());
            EXPECT_TRUE(sounds.rollover->isPlaying());
            EXPECT_TRUE(box.isChecked());
            EXPECT_TRUE(sounds.click->isPlaying());
            EXPECT_EQ(pixelAt(0, 0), Green);
            typeKey(SDLK_TAB);
            typeKey(SDLK_RETURN);
        }
    };
    app->runFrames(2);
    EXPECT_FALSE(box.isChecked());
    EXPECT_EQ(screen->events, (std::vector<std::string>{"checkbox 9 on", "checkbox 9 off"}));
}

TEST_F(WidgetTest, CheckBoxSetsSilentlyAndIgnoresWhatItShould)
{
    const int before = newestEffectId();
    UiCheckBox box(app, 8, "test_normal.bmp", "test_lit.bmp", 0, 0, -10, 200, 30);
    const WidgetSounds sounds = soundsAfter(before);
    ASSERT_NE(sounds.click, nullptr);

    box.onLeftButtonUp(0, 0);
    box.onCharDown(13);
    EXPECT_FALSE(box.isChecked()) << "no parent, no toggle";

    screen->addChild(&box);
    box.setChecked(true);
    box.uncheck();
    box.check();
    EXPECT_TRUE(box.isChecked());
    box.onCharDown('x');
    box.disable();
    box.onLeftButtonUp(0, 0);
    box.onCharDown(10);
    box.onMouseMove(0, 0);
    EXPECT_TRUE(box.isChecked());
    EXPECT_FALSE(box.isLit());
    EXPECT_FALSE(sounds.click->isPlaying());
    EXPECT_TRUE(screen->events.empty());

    box.enable();
    box.onCharDown(10);
    EXPECT_FALSE(box.isChecked());
    EXPECT_EQ(screen->events, std::vector<std::string>{"checkbox 8 off"});
}

TEST_F(WidgetTest, CheckMarkSitsSquareAtTheLeftEnd)
{
    UiCheckBox box(app, 1, "test_normal.bmp", "test_lit.bmp", 0, 0, -10, 200, 30);
    drawOnly(box);
    EXPECT_EQ(pixelAt(-85, 0), Red);
    EXPECT_EQ(pixelAt(-60, 0), Red);

    box.setChecked(true);
    drawOnly(box);
    EXPECT_NE(pixelAt(-85, 0), Red) << "the 30 x 30 mark is centred at x = -85";
    EXPECT_EQ(pixelAt(-60, 0), Red) << "and ends at x = -70";
    EXPECT_EQ(pixelAt(50, 0), Red);

    box.hide();
    drawOnly(box);
    EXPECT_EQ(pixelAt(50, 0), Black);
}
