#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiIcon.h"
#include "MenuHarness.h"

using namespace menutest;

namespace {

// The centre height of button id 2 to 9.
double buttonY(int id) { return 50.0 - 50.0 * (id - 2); }

const char* const Commands[] = {"startNewGame",  "showLoadScreen", "showSaveScreen", "showOptions",
                                "returnToGame", "showTutorial",   "showHighScores", "exitGame"};

class MainMenuScreenTest : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        buildMenus();
        app->current = mainMenu;
    }
    void TearDown() override
    {
        deleteMenus();
        MenuTest::TearDown();
    }

    // The ids of the lit buttons.
    std::vector<int> lit() const
    {
        std::vector<int> ids;
        for (int id = 2; id <= 9; ++id)
            if (mainMenu->getButton(id)->isLit()) ids.push_back(id);
        return ids;
    }
    // One pass of the main loop with the game state given; the menu follows it in the pass.
    void settle(bool inGame)
    {
        app->gameInProgress = inGame;
        app->runFrames(1);
    }
    // A key through the loop; the lit buttons afterwards.
    std::vector<int> press(SDLKey key)
    {
        typeKey(key);
        app->runFrames(1);
        return lit();
    }
};

}  // namespace

TEST_F(MainMenuScreenTest, TitleAndEightButtonsStandOverTheBackdropWithNothingLit)
{
    EXPECT_EQ(mainMenu->getTitle()->getId(), 10);
    EXPECT_DOUBLE_EQ(mainMenu->getTitle()->getY(), 150.0);
    for (int id = 2; id <= 9; ++id) {
        UiButton* button = mainMenu->getButton(id);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->getId(), id);
        EXPECT_DOUBLE_EQ(button->getY(), buttonY(id));
        EXPECT_DOUBLE_EQ(button->getZ(), -10.0);
        EXPECT_EQ(button->getParent(), mainMenu);
        EXPECT_EQ(mainMenu->findControlAt(255, buttonY(id) + 15), button) << id;
    }
    EXPECT_EQ(mainMenu->getButton(1), nullptr);
    EXPECT_EQ(mainMenu->getButton(10), nullptr);
    EXPECT_EQ(mainMenu->findControlAt(0, 150), nullptr) << "the title is a picture";
    EXPECT_TRUE(lit().empty());

    app->gameInProgress = true;
    app->script = [&](int) {
        EXPECT_TRUE(near(pixelAt(0, 150), MenuTitleColour));
        for (int id = 2; id <= 9; ++id) {
            EXPECT_TRUE(near(pixelAt(-200, buttonY(id)), buttonColour(id, false))) << id;
            EXPECT_TRUE(near(pixelAt(250, buttonY(id) - 14), buttonColour(id, false))) << id;
        }
        // The menu's own picture, and the backdrop through its see-through part.
        EXPECT_TRUE(near(pixelAt(-470, 0), MenuColour));
        EXPECT_TRUE(near(pixelAt(400, 12.5), StripColour));
        EXPECT_TRUE(near(pixelAt(400, -12.5), PanelColour));
        EXPECT_TRUE(near(pixelAt(0, 20), StripColour)) << "between two buttons";
    };
    app->runFrames(1);
}

TEST_F(MainMenuScreenTest, SaveAndReturnWorkOnlyWhileAGameIsInProgress)
{
    settle(false);
    for (int id = 2; id <= 9; ++id) EXPECT_EQ(mainMenu->getButton(id)->isEnabled(), id != 4 && id != 6) << id;
    // A disabled button keeps its normal picture and takes neither the pointer nor a click.
    pushMotion(0, buttonY(4));
    pushClick(0, buttonY(4));
    pushClick(0, buttonY(6));
    app->script = [&](int) { EXPECT_TRUE(near(pixelAt(-200, buttonY(4)), buttonColour(4, false))); };
    app->runFrames(1);
    app->script = nullptr;
    EXPECT_TRUE(lit().empty());
    EXPECT_TRUE(app->calls.empty());

    settle(true);
    for (int id = 2; id <= 9; ++id) EXPECT_TRUE(mainMenu->getButton(id)->isEnabled()) << id;
    pushClick(0, buttonY(4));
    pushClick(0, buttonY(6));
    app->runFrames(1);
    EXPECT_EQ(app->calls, (std::vector<std::string>{"showSaveScreen", "returnToGame"}));
}

TEST_F(MainMenuScreenTest, UpAndDownRunRoundTheRingPassingOverDisabledButtons)
{
    settle(false);
    EXPECT_EQ(press(SDLK_DOWN), std::vector<int>{2}) << "nothing lit: the first";
    EXPECT_EQ(press(SDLK_DOWN), std::vector<int>{3});
    EXPECT_EQ(press(SDLK_DOWN), std::vector<int>{5});
    EXPECT_EQ(press(SDLK_DOWN), std::vector<int>{7});
    EXPECT_EQ(press(SDLK_DOWN), std::vector<int>{8});
    EXPECT_EQ(press(SDLK_DOWN), std::vector<int>{9});
    EXPECT_EQ(press(SDLK_DOWN), std::vector<int>{2}) << "round to the top";
    EXPECT_EQ(press(SDLK_UP), std::vector<int>{9}) << "round to the bottom";
    EXPECT_EQ(press(SDLK_UP), std::vector<int>{8});
    EXPECT_EQ(press(SDLK_UP), std::vector<int>{7});
    EXPECT_EQ(press(SDLK_UP), std::vector<int>{5});
    EXPECT_EQ(press(SDLK_UP), std::vector<int>{3});
    // Other keys leave the light where it is.
    for (SDLKey key : {SDLK_LEFT, SDLK_RIGHT, SDLK_TAB, SDLK_a, SDLK_SPACE}) EXPECT_EQ(press(key), std::vector<int>{3});

    settle(true);
    EXPECT_EQ(press(SDLK_DOWN), std::vector<int>{4});
    EXPECT_EQ(press(SDLK_DOWN), std::vector<int>{5});
    EXPECT_EQ(press(SDLK_DOWN), std::vector<int>{6});
    EXPECT_EQ(press(SDLK_DOWN), std::vector<int>{7});
    EXPECT_EQ(press(SDLK_UP), std::vector<int>{6});
    EXPECT_EQ(press(SDLK_UP), std::vector<int>{5});
    EXPECT_EQ(press(SDLK_UP), std::vector<int>{4});
    stopAllEffects();
    EXPECT_EQ(press(SDLK_UP), std::vector<int>{3});
    EXPECT_TRUE(anyPlaying("menu_item_rollover.wav")) << "lighting a button rolls over";
    EXPECT_TRUE(app->calls.empty());

    // With nothing lit, Up lights the last button.
    pushMotion(0, 300);
    app->runFrames(1);
    EXPECT_TRUE(lit().empty());
    EXPECT_EQ(press(SDLK_UP), std::vector<int>{9});
}

TEST_F(MainMenuScreenTest, EnterPressesTheLitButtonWithItsClick)
{
    settle(true);
    typeKey(SDLK_RETURN);
    app->runFrames(1);
    EXPECT_TRUE(app->calls.empty()) << "nothing lit, nothing pressed";

    pushMotion(-100, buttonY(8));
    app->runFrames(1);
    EXPECT_EQ(lit(), std::vector<int>{8});
    stopAllEffects();
    typeKey(SDLK_RETURN);
    app->runFrames(1);
    EXPECT_EQ(app->calls, std::vector<std::string>{"showHighScores"});
    EXPECT_TRUE(anyPlaying("menu_item_click1.wav"));

    // A button lit in a game stays lit when the game is gone; Enter then does nothing and
    // Down moves on from it.
    pushMotion(0, buttonY(6));
    app->runFrames(1);
    settle(false);
    EXPECT_EQ(lit(), std::vector<int>{6});
    app->calls.clear();
    typeKey(SDLK_KP_ENTER);
    typeKey(SDLK_RETURN);
    app->runFrames(1);
    EXPECT_TRUE(app->calls.empty());
    EXPECT_EQ(press(SDLK_DOWN), std::vector<int>{7});
}

TEST_F(MainMenuScreenTest, PointerLightsAndAReleaseOverAButtonPressesIt)
{
    settle(true);
    pushMotion(250, buttonY(5) + 15);
    app->script = [&](int) {
        EXPECT_TRUE(near(pixelAt(-200, buttonY(5)), buttonColour(5, true)));
        EXPECT_TRUE(near(pixelAt(-200, buttonY(7)), buttonColour(7, false)));
    };
    app->runFrames(1);
    app->script = nullptr;
    EXPECT_EQ(lit(), std::vector<int>{5});

    // Keys moved the light; the pointer moved off every button clears it.
    EXPECT_EQ(press(SDLK_DOWN), std::vector<int>{6});
    pushMotion(300, buttonY(6));
    app->runFrames(1);
    EXPECT_TRUE(lit().empty());

    // Clicks on the title, between buttons and beside them do nothing; the middle and right
    // buttons do nothing.
    pushClick(0, 150);
    pushClick(0, 25);
    pushClick(-300, buttonY(2));
    pushButton(true, 0, buttonY(2), SDL_BUTTON_RIGHT);
    pushButton(false, 0, buttonY(2), SDL_BUTTON_RIGHT);
    pushButton(true, 0, buttonY(2), SDL_BUTTON_MIDDLE);
    pushButton(false, 0, buttonY(2), SDL_BUTTON_MIDDLE);
    app->runFrames(1);
    EXPECT_TRUE(app->calls.empty());

    // Pressed over the options, released over the instructions: the instructions open.
    pushButton(true, 0, buttonY(5));
    pushMotion(0, buttonY(7));
    pushButton(false, 0, buttonY(7));
    app->runFrames(1);
    EXPECT_EQ(app->calls, std::vector<std::string>{"showTutorial"});

    for (int id = 2; id <= 9; ++id) {
        app->calls.clear();
        stopAllEffects();
        pushClick(-255, buttonY(id) - 15);
        app->runFrames(1);
        EXPECT_EQ(app->calls, std::vector<std::string>{Commands[id - 2]}) << id;
        EXPECT_TRUE(anyPlaying("menu_item_click1.wav")) << id;
    }
}

TEST_F(MainMenuScreenTest, EscapeQuitsEvenWithAGamePausedBehind)
{
    settle(true);
    typeKey(SDLK_ESCAPE);
    // The main loop itself, which would run five passes.
    app->frames = 0;
    app->frameLimit = 5;
    app->run();
    EXPECT_EQ(app->calls, std::vector<std::string>{"exitGame"});
    EXPECT_EQ(app->frames, 1) << "the loop ends after the pass";
}

TEST_F(MainMenuScreenTest, PicturesOfTheGameDataLoad)
{
    deleteMenus();
    ASSERT_EQ(0, chdir(dataDir.c_str()));
    const size_t before = testsupport::logMessages().size();
    buildMenus();
    app->current = mainMenu;
    app->runFrames(1);
    deleteMenus();
    const std::vector<std::string> messages = testsupport::logMessages();
    for (size_t i = before; i < messages.size(); ++i) {
        ADD_FAILURE() << messages[i];
    }
    ASSERT_EQ(0, chdir(PictureDir));
    buildMenus();
}
