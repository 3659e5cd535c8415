#include <memory>

#include "Base/Ui/UiSlideShow.h"
#include "UiHarness.h"

using namespace uitest;

namespace {

const std::array<unsigned char, 3> Red{200, 0, 0};
const std::array<unsigned char, 3> Green{0, 200, 0};
const std::array<unsigned char, 3> Blue{0, 0, 200};

// Three slides of one colour each; the screen hands the slide show window pixels.
class SlideShowTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        writeSolidBmp("test_slide0.bmp", 200, 0, 0);
        writeSolidBmp("test_slide1.bmp", 0, 200, 0);
        writeSolidBmp("test_slide2.bmp", 0, 0, 200);
    }

    std::unique_ptr<UiSlideShow> makeShow(std::list<std::string> slides, bool attach = true)
    {
        auto show = std::make_unique<UiSlideShow>(app, 4, slides, 0, 50, -20, 512, 384);
        if (attach) {
            screen->addChild(show.get());
            screen->windowChild = show.get();
            show->setFocus(true);
        }
        return show;
    }
    std::unique_ptr<UiSlideShow> makeShow()
    {
        return makeShow({"test_slide0.bmp", "test_slide1.bmp", "test_slide2.bmp"});
    }

    // The slide drawn after one more update.
    std::array<unsigned char, 3> shown(UiSlideShow& show)
    {
        show.update(0);
        drawOnly(show);
        return pixelAt(0, 50);
    }

    static UiControl* rightArrow(UiSlideShow& show) { return show.findControlAt(303, -308); }
    static UiControl* leftArrow(UiSlideShow& show) { return show.findControlAt(-303, -308); }
    static UiControl* escapeButton(UiSlideShow& show) { return show.findControlAt(0, -308); }
};

}  // namespace

TEST_F(SlideShowTest, KeysPageAndStopAtBothEnds)
{
    auto show = makeShow();
    std::vector<std::array<unsigned char, 3>> seen;
    // Each frame shows the slide that the keys of the frame before chose.
    app->script = [&](int frame) {
        seen.push_back(pixelAt(0, 50));
        if (frame == 1) {
            typeKey(SDLK_RIGHT);
        } else if (frame == 2) {
            typeKey(SDLK_RIGHT);
        } else if (frame == 3) {
            typeKey(SDLK_RIGHT);
            typeKey(SDLK_RIGHT);
        } else if (frame == 4) {
            typeKey(SDLK_LEFT);
        } else if (frame == 5) {
            typeKey(SDLK_LEFT);
            typeKey(SDLK_LEFT);
            typeKey(SDLK_LEFT);
        }
    };
    app->runFrames(6);
    EXPECT_EQ(seen, (std::vector<std::array<unsigned char, 3>>{Red, Green, Blue, Blue, Green, Red}));
    EXPECT_TRUE(screen->events.empty());
}

TEST_F(SlideShowTest, ArrowsShowOnlyWhereThereIsAPicture)
{
    auto show = makeShow();
    ASSERT_NE(rightArrow(*show), nullptr);
    ASSERT_NE(leftArrow(*show), nullptr);
    ASSERT_NE(escapeButton(*show), nullptr);
    EXPECT_EQ(rightArrow(*show)->getId(), 1);
    EXPECT_EQ(leftArrow(*show)->getId(), 2);
    EXPECT_EQ(escapeButton(*show)->getId(), 3);

    show->update(16);
    EXPECT_TRUE(rightArrow(*show)->isVisible() && rightArrow(*show)->isEnabled());
    EXPECT_FALSE(leftArrow(*show)->isVisible() || leftArrow(*show)->isEnabled());
    show->onKeyDown(AppKeyRight);
    show->update(16);
    EXPECT_TRUE(rightArrow(*show)->isVisible() && leftArrow(*show)->isVisible());
    EXPECT_TRUE(rightArrow(*show)->isEnabled() && leftArrow(*show)->isEnabled());
    show->onKeyDown(AppKeyRight);
    show->update(16);
    EXPECT_FALSE(rightArrow(*show)->isVisible() || rightArrow(*show)->isEnabled());
    EXPECT_TRUE(leftArrow(*show)->isVisible() && leftArrow(*show)->isEnabled());
    EXPECT_TRUE(escapeButton(*show)->isVisible() && escapeButton(*show)->isEnabled());

    // Drawn: the buttons stand below the picture, a hidden arrow shows nothing.
    drawOnly(*show);
    EXPECT_GT(brightness(pixelAt(-303, -308)) + brightness(pixelAt(-310, -308)), 0);
    EXPECT_EQ(brightness(pixelAt(303, -308)), 0);
    EXPECT_EQ(brightness(pixelAt(310, -308)), 0);
}

TEST_F(SlideShowTest, ArrowAndEscapeButtonsAnswerClicks)
{
    auto show = makeShow();
    app->script = [&](int frame) {
        if (frame == 1) {
            pushClick(-303, -308);  // the left arrow, hidden and disabled on the first picture
            pushMotion(303, -308);
            pushClick(303, -308);
        } else if (frame == 2) {
            EXPECT_TRUE(rightArrow(*show)->isLit());
            EXPECT_FALSE(leftArrow(*show)->isLit());
            EXPECT_EQ(pixelAt(0, 50), Green);
            pushClick(303, -308);
        } else if (frame == 3) {
            EXPECT_EQ(pixelAt(0, 50), Blue);
            pushClick(303, -308);  // now disabled: nothing
            pushMotion(-303, -308);
            pushClick(-303, -308);
        } else if (frame == 4) {
            EXPECT_EQ(pixelAt(0, 50), Green);
            EXPECT_TRUE(leftArrow(*show)->isLit());
            EXPECT_FALSE(rightArrow(*show)->isLit());
            pushClick(0, -308);
        }
    };
    app->runFrames(5);
    EXPECT_EQ(screen->events, std::vector<std::string>{"cancel 4"});
}

TEST_F(SlideShowTest, EscapeCancelsOnlyWhenEnabledWithAParent)
{
    const int before = newestEffectId();
    auto show = makeShow();
    // The escape button is made last, and its click is its last effect.
    SndSoundEffect* escapeClick = effectsAfter(before).back();
    ASSERT_EQ(escapeClick->getFileName(), "menu_item_click1.wav");
    show->onCharDown(27);
    show->onCharDown(13);
    show->onCharDown('q');
    EXPECT_EQ(screen->events, std::vector<std::string>{"cancel 4"});

    // Disabled: the escape button still clicks but cancels nothing; paging still works.
    show->disable();
    screen->events.clear();
    stopAllEffects();
    show->onCharDown(27);
    show->onCommand(3);
    EXPECT_FALSE(escapeClick->isPlaying());
    show->onLeftButtonUp(windowX(0), windowY(-308));
    EXPECT_TRUE(escapeClick->isPlaying()) << "the button itself is enabled";
    EXPECT_TRUE(screen->events.empty());
    show->onKeyDown(AppKeyRight);
    EXPECT_EQ(shown(*show), Green);
    show->onCommand(1);
    EXPECT_EQ(shown(*show), Blue);
    show->onCommand(2);
    EXPECT_EQ(shown(*show), Green);
    show->onCommand(42);
    EXPECT_EQ(shown(*show), Green);

    auto orphan = makeShow({"test_slide0.bmp"}, false);
    orphan->onCharDown(27);
    orphan->onCommand(3);
    EXPECT_TRUE(screen->events.empty());
}

TEST_F(SlideShowTest, OnePictureHasNoArrowsAndDoesNotPage)
{
    auto show = makeShow({"test_slide1.bmp"});
    EXPECT_FALSE(rightArrow(*show)->isVisible());
    EXPECT_FALSE(leftArrow(*show)->isVisible());
    show->onKeyDown(AppKeyRight);
    show->onKeyDown(AppKeyLeft);
    EXPECT_EQ(shown(*show), Green);
    EXPECT_FALSE(rightArrow(*show)->isVisible() || rightArrow(*show)->isEnabled());
    EXPECT_FALSE(leftArrow(*show)->isVisible() || leftArrow(*show)->isEnabled());
}

TEST_F(SlideShowTest, NoPicturesMeansNoArrowsAndNoPaging)
{
    auto show = makeShow({});
    show->onKeyDown(AppKeyRight);
    show->update(0);
    EXPECT_FALSE(rightArrow(*show)->isVisible() || rightArrow(*show)->isEnabled());
    EXPECT_FALSE(leftArrow(*show)->isVisible() || leftArrow(*show)->isEnabled());
    drawOnly(*show);
}

TEST_F(SlideShowTest, HiddenShowKeepsItsPicture)
{
    auto show = makeShow();
    show->onKeyDown(AppKeyRight);
    show->hide();
    drawOnly(*show);
    EXPECT_EQ(pixelAt(0, 50), (std::array<unsigned char, 3>{0, 0, 0}));
    show->show();
    EXPECT_EQ(shown(*show), Green);
}
