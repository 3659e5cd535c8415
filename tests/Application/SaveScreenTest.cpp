#include <sys/stat.h>

#include "Application/SaveIndex.h"
#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiIcon.h"
#include "Base/Ui/UiTextBox.h"
#include "RecordsHarness.h"

using namespace recordtest;

namespace {

double slotY(int slot) { return 50.0 - 70.0 * (slot - 1); }

const char* const FiveFree = "[EMPTY] @@@\n[EMPTY] @@@\n[EMPTY] @@@\n[EMPTY] @@@\n[EMPTY] @@@\n";

class SaveScreenTest : public RecordsTest {
protected:
    void TearDown() override
    {
        app->current = nullptr;
        app->loadScreen = nullptr;
        delete screen;
        delete loadScreen;
        RecordsTest::TearDown();
    }

    // Start-up builds the save screen, then the load screen; both read the index.
    void build()
    {
        screen = new SaveScreen(app);
        loadScreen = new LoadScreen(app);
        app->loadScreen = loadScreen;
        app->current = screen;
    }
    void build(const std::string& index)
    {
        testsupport::writeText("save_index.txt", index);
        build();
    }
    // Shutdown (which writes the index) and the next start.
    void restart()
    {
        app->loadScreen = nullptr;
        delete screen;
        delete loadScreen;
        build();
    }

    UiTextBox* box(int k) const { return screen->getSlotBox(k); }
    std::string slot(int k) const { return box(k)->getText(); }
    bool typing() const { return screen->getTypeNameLabel()->isVisible(); }
    std::string index() const { return testsupport::readText("save_index.txt"); }

    SaveScreen* screen = nullptr;
    LoadScreen* loadScreen = nullptr;
};

}  // namespace

TEST_F(SaveScreenTest, ClickingAFreeSlotTypingAndEnterSavesAndNamesTheSlotEverywhere)
{
    build();
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(slot(k), "[EMPTY]");
        EXPECT_FALSE(box(k)->isReadOnly());
    }
    EXPECT_TRUE(screen->getSaveLabel()->isVisible());
    EXPECT_FALSE(typing());
    // With every slot free the keys reach only the return button.
    key(SDLK_DOWN);
    EXPECT_TRUE(screen->getReturnButton()->isLit());
    key(SDLK_UP);
    EXPECT_TRUE(screen->getReturnButton()->isLit());
    for (int k = 1; k <= 5; ++k) EXPECT_FALSE(box(k)->isLit());

    click(0, slotY(3));
    EXPECT_TRUE(typing());
    EXPECT_FALSE(screen->getSaveLabel()->isVisible());
    EXPECT_TRUE(box(3)->hasFocus());
    EXPECT_EQ(slot(3), "");
    EXPECT_EQ(box(3)->getCursor(), 0);
    EXPECT_FALSE(screen->getReturnButton()->isEnabled());
    for (int k : {1, 2, 4, 5}) EXPECT_FALSE(box(k)->isEnabled()) << k;

    // Other controls are dead while typing; keys and characters go to the box.
    click(0, -300);
    click(0, slotY(1));
    EXPECT_EQ(app->current, screen);
    EXPECT_TRUE(box(3)->hasFocus());
    type("my game");
    key(SDLK_LEFT);
    type("x");
    EXPECT_EQ(slot(3), "MY GAMXE");
    key(SDLK_END);
    key(SDLK_BACKSPACE);
    key(SDLK_BACKSPACE);
    type("e");
    EXPECT_EQ(slot(3), "MY GAME");
    EXPECT_FALSE(std::filesystem::exists("save3.dat"));

    type("\r");
    EXPECT_TRUE(app->called("saveGame save3.dat 3 MY GAME"));
    EXPECT_EQ(testsupport::readText("save3.dat"), SavedGame);
    EXPECT_EQ(slot(3), "MY GAME");
    EXPECT_EQ(loadScreen->getSlotBox(3)->getText(), "MY GAME");
    // The index follows each successful save at once.
    EXPECT_EQ(index(), "[EMPTY] @@@\n[EMPTY] @@@\nMY GAME @@@\n[EMPTY] @@@\n[EMPTY] @@@\n");
    EXPECT_FALSE(typing());
    EXPECT_TRUE(screen->getSaveLabel()->isVisible());
    EXPECT_FALSE(box(3)->hasFocus());
    EXPECT_TRUE(screen->getReturnButton()->isEnabled());
    for (int k = 1; k <= 5; ++k) EXPECT_TRUE(box(k)->isEnabled()) << k;
    EXPECT_EQ(app->current, screen);

    // The saved slot is now on the ring; Escape while choosing leaves without saving.
    moveTo(400, 370);
    key(SDLK_DOWN);
    key(SDLK_DOWN);
    EXPECT_TRUE(box(3)->isLit());
    key(SDLK_ESCAPE);
    EXPECT_EQ(app->current, mainMenu);
    EXPECT_TRUE(app->called("returnFromSaveScreen"));

    restart();
    EXPECT_EQ(slot(3), "MY GAME");
    EXPECT_EQ(loadScreen->getSlotBox(3)->getText(), "MY GAME");
}

TEST_F(SaveScreenTest, EmptyNamesBecomeUntitledAndEscapeSavesLikeEnter)
{
    build(FiveFree);
    for (int k = 1; k <= 5; ++k) {
        click(0, slotY(k));
        ASSERT_TRUE(box(k)->hasFocus()) << k;
        key(k % 2 ? SDLK_RETURN : SDLK_ESCAPE);
        EXPECT_EQ(slot(k), "UNTITLED") << k;
        EXPECT_TRUE(app->called("saveGame save" + std::to_string(k) + ".dat " + std::to_string(k) + " UNTITLED"));
        EXPECT_EQ(app->current, screen) << "Escape while typing saves and stays";
    }
    EXPECT_EQ(index(), "UNTITLED @@@\nUNTITLED @@@\nUNTITLED @@@\nUNTITLED @@@\nUNTITLED @@@\n");
}

TEST_F(SaveScreenTest, ChoosingANamedSlotByKeysPutsTheCursorAfterItsName)
{
    build("FIRST @@@\n[EMPTY] @@@\nOLD NAME @@@\n[EMPTY] @@@\n[EMPTY] @@@\n");
    key(SDLK_UP);
    key(SDLK_UP);
    ASSERT_TRUE(box(3)->isLit());
    type("\r");
    ASSERT_TRUE(box(3)->hasFocus());
    EXPECT_EQ(box(3)->getCursor(), 8);
    // Up and Down go to the box now, not round the ring.
    key(SDLK_UP);
    EXPECT_TRUE(box(3)->hasFocus());
    key(SDLK_BACKSPACE);
    type("s 2 and more than sixteen");
    EXPECT_EQ(slot(3), "OLD NAMS 2 AND M") << "sixteen characters at most";
    type("\r");
    EXPECT_EQ(loadScreen->getSlotBox(3)->getText(), "OLD NAMS 2 AND M");
}

TEST_F(SaveScreenTest, NamesThatWouldBreakTheIndexAreCleaned)
{
    build(FiveFree);
    click(0, slotY(1));
    type("a @@@ b");
    type("\r");
    EXPECT_EQ(slot(1), "A  B");
    click(0, slotY(2));
    type("[empty]");
    type("\r");
    EXPECT_EQ(slot(2), "UNTITLED");
    click(0, slotY(3));
    type("@@@@@@");
    type("\r");
    EXPECT_EQ(slot(3), "UNTITLED");
    click(0, slotY(4));
    type("x@@@@y");
    type("\r");
    EXPECT_EQ(slot(4), "X@Y");

    // Every name reads back as it was saved, in its own slot.
    restart();
    EXPECT_EQ(slot(1), "A B") << "blanks inside a name come back as one";
    EXPECT_EQ(slot(2), "UNTITLED");
    EXPECT_EQ(slot(3), "UNTITLED");
    EXPECT_EQ(slot(4), "X@Y");
    EXPECT_EQ(slot(5), "[EMPTY]");
    EXPECT_EQ(SaveIndex::cleanName("  [EMPTY]  "), "UNTITLED");
    EXPECT_EQ(SaveIndex::cleanName("   "), "UNTITLED");
    EXPECT_EQ(SaveIndex::cleanName("[EMPTY]X"), "[EMPTY]X");
}

TEST_F(SaveScreenTest, AFailedSaveKeepsTheFormerNameEverywhere)
{
    build("KEEP ME @@@\n[EMPTY] @@@\n[EMPTY] @@@\n[EMPTY] @@@\n[EMPTY] @@@\n");
    const std::string before = index();
    app->gameInProgress = false;

    click(0, slotY(1));
    type(" too");
    type("\r");
    EXPECT_TRUE(app->called("saveGame save1.dat 1 KEEP ME TOO"));
    EXPECT_EQ(slot(1), "KEEP ME");
    click(0, slotY(2));
    type("new\r");
    EXPECT_EQ(slot(2), "[EMPTY]");
    EXPECT_FALSE(typing());
    EXPECT_TRUE(screen->getReturnButton()->isEnabled());
    EXPECT_EQ(loadScreen->getSlotBox(1)->getText(), "KEEP ME");
    EXPECT_EQ(loadScreen->getSlotBox(2)->getText(), "[EMPTY]");
    EXPECT_EQ(index(), before);

    restart();
    EXPECT_EQ(index(), before);
    EXPECT_EQ(slot(2), "[EMPTY]");
}

TEST_F(SaveScreenTest, ClosingWhileTypingKeepsTheIndexAsTheSavesLeftIt)
{
    build();
    click(0, slotY(2));
    type("half");
    ASSERT_TRUE(box(2)->hasFocus());
    restart();
    EXPECT_EQ(slot(2), "[EMPTY]");
    EXPECT_EQ(index(), FiveFree);
}

TEST_F(SaveScreenTest, AnUnwritableIndexLeavesTheOldFileAndTheScreenWorking)
{
    build("OLD @@@\n[EMPTY] @@@\n[EMPTY] @@@\n[EMPTY] @@@\n[EMPTY] @@@\n");
    const std::string before = index();
    // The temporary file's name is taken by a folder.
    ASSERT_EQ(mkdir("save_index.txt.tmp", 0755), 0);

    click(0, slotY(4));
    type("saved anyway\r");
    EXPECT_EQ(testsupport::readText("save4.dat"), SavedGame);
    EXPECT_EQ(loadScreen->getSlotBox(4)->getText(), "SAVED ANYWAY");
    EXPECT_EQ(index(), before);
    EXPECT_EQ(screen->writeSaveIndex(), -1);
    EXPECT_TRUE(std::filesystem::is_directory("save_index.txt.tmp"));

    // Shutdown fails the same way, cleanly; the next start reads the old index.
    restart();
    EXPECT_EQ(index(), before);
    EXPECT_EQ(slot(4), "[EMPTY]");
    std::filesystem::remove("save_index.txt.tmp");
    EXPECT_EQ(screen->writeSaveIndex(), 0);

    // An index inside a plain file cannot be written either.
    SaveIndex::Names names;
    names.fill("X");
    EXPECT_EQ(SaveIndex::write("save4.dat/save_index.txt", names), -1);
    EXPECT_EQ(testsupport::readText("save4.dat"), SavedGame);
}
