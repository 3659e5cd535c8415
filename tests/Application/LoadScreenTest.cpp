#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiIcon.h"
#include "Base/Ui/UiTextBox.h"
#include "RecordsHarness.h"

using namespace recordtest;

namespace {

// Centre height of slot 1 to 5.
double slotY(int slot) { return 50.0 - 70.0 * (slot - 1); }

class LoadScreenTest : public RecordsTest {
protected:
    void TearDown() override
    {
        app->current = nullptr;
        app->loadScreen = nullptr;
        delete screen;
        RecordsTest::TearDown();
    }

    void build(const std::string& index)
    {
        testsupport::writeText("save_index.txt", index);
        buildWithoutIndex();
    }
    void buildWithoutIndex()
    {
        screen = new LoadScreen(app);
        app->loadScreen = screen;
        app->current = screen;
    }

    std::string slot(int k) const { return screen->getSlotBox(k)->getText(); }
    // The lit controls: 0 for the return button, 1 to 5 for the slots.
    std::vector<int> lit() const
    {
        std::vector<int> out;
        if (screen->getReturnButton()->isLit()) out.push_back(0);
        for (int k = 1; k <= 5; ++k)
            if (screen->getSlotBox(k)->isLit()) out.push_back(k);
        return out;
    }
    std::vector<int> press(SDLKey sym)
    {
        key(sym);
        return lit();
    }

    LoadScreen* screen = nullptr;
};

typedef std::vector<int> Lit;

}  // namespace

TEST_F(LoadScreenTest, WithoutAnIndexEverySlotIsFreeAndOnlyTheReturnButtonIsReached)
{
    buildWithoutIndex();
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(slot(k), "[EMPTY]");
    }
    EXPECT_FALSE(screen->getLoadingIcon()->isVisible());
    EXPECT_EQ(press(SDLK_UP), Lit{0});
    EXPECT_EQ(press(SDLK_DOWN), Lit{0});
    EXPECT_EQ(press(SDLK_UP), Lit{0});

    // A free slot cannot be loaded, by mouse or by Enter.
    click(0, slotY(2));
    moveTo(0, slotY(3));
    EXPECT_EQ(lit(), Lit{3}) << "the mouse lights a free slot";
    type("\r");
    EXPECT_EQ(app->current, screen);
    EXPECT_FALSE(app->called("redraw"));
    for (const std::string& call : app->calls) EXPECT_EQ(call.find("loadGame"), std::string::npos) << call;

    // Enter on the return button, and Escape, go back to the main menu.
    moveTo(0, -300);
    type("\r");
    EXPECT_EQ(app->current, mainMenu);
    app->current = screen;
    key(SDLK_ESCAPE);
    EXPECT_EQ(app->current, mainMenu);
    EXPECT_FALSE(std::filesystem::exists("save_index.txt")) << "the load screen never writes the index";
}

TEST_F(LoadScreenTest, TheIndexIsReadAsWordsUpToEachMarker)
{
    build("GOOD GAME @@@\n"
          "[EMPTY] @@@\n"
          "@@@\n"
          "TWO   \t  WORDS\r\n @@@ \n"
          "A @@@ B @@@\n"
          "SIXTH @@@\n"
          "SEVENTH @@@\n");
    EXPECT_EQ(slot(1), "GOOD GAME");
    EXPECT_EQ(slot(2), "[EMPTY]");
    EXPECT_EQ(slot(3), "");
    EXPECT_EQ(slot(4), "TWO WORDS");
    EXPECT_EQ(slot(5), "A") << "a marker inside a name ends it there";

    // A short index leaves the rest empty (not free); names beyond the fifth are dropped.
    delete screen;
    build("ONE @@@\n");
    EXPECT_EQ(slot(1), "ONE");
    for (int k = 2; k <= 5; ++k) EXPECT_EQ(slot(k), "") << k;
}

TEST_F(LoadScreenTest, OverlongWordsAndAMissingLastMarkerAreReadSafely)
{
    const std::string huge(5000, 'W');
    build(huge + " " + huge + " @@@\n" + huge + "\nTAIL WITHOUT MARKER");
    EXPECT_EQ(slot(1).size(), 199u);
    EXPECT_EQ(slot(1), std::string(199, 'W'));
    EXPECT_EQ(slot(2), std::string(199, 'W'));
    EXPECT_EQ(slot(3), "") << "the file does not reach slot 3";

    delete screen;
    build("FIRST @@@\nLAST NAME");
    EXPECT_EQ(slot(1), "FIRST");
    EXPECT_EQ(slot(2), "LAST NAME");
}

TEST_F(LoadScreenTest, KeysStepOverFreeSlotsAroundTheRing)
{
    build("A @@@\n[EMPTY] @@@\nC @@@\n[EMPTY] @@@\n[EMPTY] @@@\n");
    EXPECT_EQ(press(SDLK_DOWN), Lit{0}) << "with nothing lit either key lights the return button";
    EXPECT_EQ(press(SDLK_DOWN), Lit{1});
    EXPECT_EQ(press(SDLK_DOWN), Lit{3});
    EXPECT_EQ(press(SDLK_DOWN), Lit{0});
    EXPECT_EQ(press(SDLK_UP), Lit{3});
    EXPECT_EQ(press(SDLK_UP), Lit{1});
    EXPECT_EQ(press(SDLK_UP), Lit{0});
    moveTo(400, 370);
    EXPECT_TRUE(lit().empty());
    EXPECT_EQ(press(SDLK_UP), Lit{0});
}

TEST_F(LoadScreenTest, LoadingAFilledSlotShowsThePictureForOneFrameAndStartsTheGame)
{
    build("FIRST @@@\nSECOND @@@\n[EMPTY] @@@\n[EMPTY] @@@\n[EMPTY] @@@\n");
    testsupport::writeText("save2.dat", SavedGame);

    // The picture covers the slots in the frame drawn before the load.
    std::array<unsigned char, 3> plain{}, during{};
    app->script = [&](unsigned int) { plain = uitest::pixelAt(-100, 0); };
    app->runFrames();
    bool shownWhileDrawn = false;
    app->script = [&](unsigned int ms) {
        if (ms != 0) return;
        shownWhileDrawn = screen->getLoadingIcon()->isVisible();
        during = uitest::pixelAt(-100, 0);
    };
    key(SDLK_DOWN);
    key(SDLK_DOWN);
    key(SDLK_DOWN);
    ASSERT_EQ(lit(), Lit{2});
    type("\r");
    EXPECT_TRUE(shownWhileDrawn);
    EXPECT_NE(plain, during);
    EXPECT_TRUE(app->called("loadGame save2.dat"));
    EXPECT_EQ(app->current, game);
    EXPECT_FALSE(screen->getLoadingIcon()->isVisible());
}

TEST_F(LoadScreenTest, AFailedLoadLeavesTheLoadScreenCurrentAndUsable)
{
    build("FIRST @@@\nSECOND @@@\n@@@\n[EMPTY] @@@\n[EMPTY] @@@\n");
    testsupport::writeText("save1.dat", "not a game\n");

    // Slot 3 has an empty name: it is not free, so a load of its missing file is tried.
    click(0, slotY(3));
    EXPECT_TRUE(app->called("redraw"));
    EXPECT_TRUE(app->called("loadGame save3.dat"));
    EXPECT_EQ(app->current, screen);
    EXPECT_FALSE(screen->getLoadingIcon()->isVisible());

    // A file that does not restore, by mouse too; the screen goes on answering.
    click(0, slotY(1));
    EXPECT_TRUE(app->called("loadGame save1.dat"));
    EXPECT_EQ(app->current, screen);
    EXPECT_EQ(press(SDLK_UP), Lit{0});
    EXPECT_EQ(press(SDLK_UP), Lit{3});

    // Once a save has put a good file there, the same slot loads.
    testsupport::writeText("save3.dat", SavedGame);
    type("\r");
    EXPECT_EQ(app->current, game);
}
