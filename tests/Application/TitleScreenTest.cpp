#include "Base/Snd/SndListener.h"
#include "Base/Ui/UiButton.h"
#include "MenuHarness.h"

using namespace menutest;

namespace {

class TitleScreenTest : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        buildMenus();
    }
    void TearDown() override
    {
        deleteMenus();
        MenuTest::TearDown();
    }
};

}  // namespace

TEST_F(TitleScreenTest, TitleShowsOverTheScrollingBackdrop)
{
    EXPECT_FALSE(title->getContinueButton()->isVisible()) << "hidden until start-up is over";
    EXPECT_EQ(title->findControlAt(0, -200), title->getContinueButton()) << "its only control";
    ShpCoord at;
    ShpCoord up;
    SndManager::getListener()->getOrientation(at, up);
    EXPECT_EQ(at, ShpCoord(0, 0, -1));
    EXPECT_EQ(up, ShpCoord(0, 1, 0));

    // One frame of no time, as start-up draws it.
    app->script = [&](int) {
        EXPECT_TRUE(near(pixelAt(256, 12.5), TitleColour));
        EXPECT_TRUE(near(pixelAt(256, -12.5), TitleColour));
        // The title is see-through on the left: the backdrop shows there.
        EXPECT_TRUE(near(pixelAt(-256, 12.5), StripColour));
        EXPECT_TRUE(near(pixelAt(-256, -12.5), PanelColour));
        EXPECT_TRUE(near(pixelAt(-200, -212.5), PanelColour)) << "no continue button yet";
    };
    app->update(0);

    title->showContinueButton();
    app->script = [&](int) {
        EXPECT_TRUE(near(pixelAt(-200, -200), ContinueColour));
        EXPECT_TRUE(near(pixelAt(200, -225), ContinueColour)) << "512 x 64 over the title";
        // A second later the strips have sunk by 30 behind the unmoved title.
        EXPECT_TRUE(near(pixelAt(-256, 12.5 - 30), StripColour));
        EXPECT_TRUE(near(pixelAt(-256, 12.5), PanelColour));
        EXPECT_TRUE(near(pixelAt(256, 12.5), TitleColour));
    };
    app->update(1000);
}

TEST_F(TitleScreenTest, AnyCharacterKeyLeadsToTheMainMenuAndArrowsDoNothing)
{
    title->showContinueButton();
    for (SDLKey key : {SDLK_RETURN, SDLK_ESCAPE, SDLK_SPACE, SDLK_q, SDLK_7}) {
        app->current = title;
        app->calls.clear();
        typeKey(key);
        app->runFrames(1);
        EXPECT_EQ(app->calls, std::vector<std::string>{"showMainMenu"}) << key;
        EXPECT_EQ(app->current, mainMenu) << key;
    }
    EXPECT_FALSE(anyPlaying("menu_item_click1.wav")) << "keys lead on without a click";

    app->current = title;
    app->calls.clear();
    for (SDLKey key : {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_F1, SDLK_LSHIFT}) typeKey(key);
    app->runFrames(1);
    EXPECT_TRUE(app->calls.empty());
    EXPECT_EQ(app->current, title);
    EXPECT_FALSE(title->getContinueButton()->isLit()) << "only the pointer lights the button";
}

TEST_F(TitleScreenTest, PointerLightsTheContinueButtonAndAClickOnItLeadsOn)
{
    title->showContinueButton();
    pushMotion(100, -190);
    app->script = [&](int frame) {
        if (frame == 1) {
            EXPECT_TRUE(title->getContinueButton()->isLit());
            EXPECT_TRUE(near(pixelAt(-200, -200), ContinueLitColour));
            // A click beside the button, and a press without a release on it.
            pushClick(300, -200);
            pushClick(0, 0);
            pushButton(true, 0, -200);
            pushMotion(0, 100);
        } else if (frame == 2) {
            EXPECT_TRUE(app->calls.empty());
            EXPECT_FALSE(title->getContinueButton()->isLit());
            EXPECT_TRUE(near(pixelAt(-200, -200), ContinueColour));
            stopAllEffects();
            pushButton(false, 100, -210);
        }
    };
    app->runFrames(3);
    EXPECT_EQ(app->calls, std::vector<std::string>{"showMainMenu"});
    EXPECT_EQ(app->current, mainMenu);
    EXPECT_TRUE(anyPlaying("menu_item_click1.wav"));
}
