#include <sys/stat.h>

#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiTextBox.h"
#include "Common/HighScoreTable.h"
#include "Common/Score.h"
#include "RecordsHarness.h"

using namespace recordtest;

namespace {

class HighScoreScreenTest : public RecordsTest {
protected:
    void SetUp() override
    {
        RecordsTest::SetUp();
        build();
    }
    void TearDown() override
    {
        app->current = nullptr;
        delete screen;
        RecordsTest::TearDown();
    }

    void build()
    {
        screen = new HighScoreScreen(app);
        app->current = screen;
    }
    // Shutdown and the next start.
    void rebuild()
    {
        delete screen;
        build();
    }
    // What the game's end does: this screen current, then the final points handed over.
    void gameOver(int points)
    {
        app->current = screen;
        screen->submitScore(new Score("", points));
        app->runFrames();
    }

    std::string name(int row) const { return screen->getNameBox(row)->getText(); }
    std::string points(int row) const { return screen->getPointsBox(row)->getText(); }
    // The rows whose name box is open for typing.
    std::vector<int> open() const
    {
        std::vector<int> rows;
        for (int r = 0; r < 10; ++r)
            if (!screen->getNameBox(r)->isReadOnly()) rows.push_back(r);
        return rows;
    }
    int focusedRow() const
    {
        for (int r = 0; r < 10; ++r)
            if (screen->getNameBox(r)->hasFocus()) return r;
        return -1;
    }
    // The table as the file holds it now.
    std::vector<std::pair<std::string, int>> fileTable() const
    {
        HighScoreTable table;
        std::vector<std::pair<std::string, int>> out;
        if (table.read("scores.dat") != 0) return out;
        for (int i = 0; i < table.size(); ++i) out.push_back({table.at(i)->getName(), table.at(i)->getPoints()});
        return out;
    }

    HighScoreScreen* screen = nullptr;
};

}  // namespace

TEST_F(HighScoreScreenTest, WithoutAFileTheRowsShowTheDefaultTableAndShutdownWritesIt)
{
    EXPECT_FALSE(std::filesystem::exists("scores.dat"));
    for (int r = 0; r < 10; ++r) {
        EXPECT_EQ(points(r), std::to_string(50000 - 5000 * r));
        EXPECT_FALSE(name(r).empty());
        EXPECT_TRUE(screen->getNameBox(r)->isReadOnly());
    }
    EXPECT_EQ(focusedRow(), -1);
    EXPECT_TRUE(screen->getReturnButton()->isEnabled());
    const std::string first = name(0);

    rebuild();
    const auto stored = fileTable();
    ASSERT_EQ(stored.size(), 10u);
    EXPECT_EQ(stored[0].first, first);
    EXPECT_EQ(stored[9].second, 5000);
    EXPECT_EQ(name(0), first);
}

TEST_F(HighScoreScreenTest, HighScoreOpensItsRowAndTheTypedNameIsStoredAtOnceAndAfterRestart)
{
    gameOver(12000);
    EXPECT_EQ(open(), std::vector<int>{8});
    EXPECT_EQ(focusedRow(), 8);
    EXPECT_EQ(points(8), "12000");
    EXPECT_EQ(points(9), "10000") << "5000 is no longer shown";
    EXPECT_FALSE(screen->getReturnButton()->isEnabled());

    // Every key goes to the open row; Escape there ends the name rather than leaving.
    type("kovo t");
    key(SDLK_BACKSPACE);
    type("x");
    EXPECT_EQ(name(8), "KOVO X");
    key(SDLK_UP);
    EXPECT_FALSE(screen->getReturnButton()->isLit());
    key(SDLK_ESCAPE);
    EXPECT_EQ(app->current, screen);
    EXPECT_EQ(focusedRow(), -1);
    EXPECT_FALSE(screen->getNameBox(8)->isEnabled());
    EXPECT_TRUE(screen->getReturnButton()->isEnabled());
    EXPECT_EQ(screen->getTable().at(8)->getName(), "KOVO X");

    // Written as soon as the name was entered, so a crash now loses nothing.
    auto stored = fileTable();
    ASSERT_EQ(stored.size(), 10u);
    EXPECT_EQ(stored[8], std::make_pair(std::string("KOVO X"), 12000));

    key(SDLK_ESCAPE);
    EXPECT_EQ(app->current, mainMenu);
    EXPECT_TRUE(app->called("returnFromHighScores"));

    rebuild();
    EXPECT_EQ(name(8), "KOVO X");
    EXPECT_EQ(points(8), "12000");
    EXPECT_EQ(points(9), "10000");
}

TEST_F(HighScoreScreenTest, PlacesAgainstTheDefaultTable)
{
    // Equal to the last entry: eleventh, nothing opens.
    gameOver(5000);
    EXPECT_TRUE(open().empty());
    EXPECT_TRUE(screen->getReturnButton()->isEnabled());
    EXPECT_EQ(screen->getTable().size(), 11);
    EXPECT_EQ(screen->getTable().at(10)->getPoints(), 5000);

    // Equal to the first: below it, in row 1.
    gameOver(50000);
    EXPECT_EQ(open(), std::vector<int>{1});
    type("a\r");
    EXPECT_EQ(screen->getTable().at(1)->getName(), "A");
    EXPECT_NE(screen->getTable().at(0)->getName(), "A");

    // Shutdown keeps ten: the new 5000 falls out.
    rebuild();
    EXPECT_EQ(screen->getTable().size(), 10);
    EXPECT_EQ(name(1), "A");
}

TEST_F(HighScoreScreenTest, EmptyNamesReopenAndTheCursorStaysInsideTheText)
{
    gameOver(12000);
    // The typing leaves the cursor at 6.
    type("abcdefg");
    key(SDLK_BACKSPACE);
    type("\r");
    EXPECT_EQ(name(8), "ABCDEF");
    EXPECT_EQ(screen->getNameBox(8)->getCursor(), 6);

    // A higher score takes row 8; its box opens empty with the cursor at its start, not where
    // the earlier typing left it.
    gameOver(13000);
    EXPECT_EQ(open(), std::vector<int>{8});
    EXPECT_EQ(name(8), "");
    EXPECT_EQ(screen->getNameBox(8)->getCursor(), 0);
    type("xy");
    EXPECT_EQ(name(8), "XY");
    EXPECT_EQ(screen->getNameBox(8)->getCursor(), 2);
    // The box was disabled by the first name: a focused box types all the same.
    EXPECT_FALSE(screen->getNameBox(8)->isEnabled());

    // An empty name: the same points later open both rows, the focus on the lower one.
    key(SDLK_BACKSPACE);
    key(SDLK_BACKSPACE);
    key(SDLK_RETURN);
    EXPECT_EQ(screen->getTable().at(8)->getName(), "");
    gameOver(13000);
    EXPECT_EQ(focusedRow(), 9);
    EXPECT_EQ(name(8), "");
    EXPECT_EQ(name(9), "");
    EXPECT_FALSE(screen->getNameBox(9)->isReadOnly());
    EXPECT_FALSE(screen->getNameBox(8)->isReadOnly());
    // Fifteen characters at most.
    type("abcdefghijklmnopq");
    EXPECT_EQ(name(9), "ABCDEFGHIJKLMNO");
    key(SDLK_RETURN);
    EXPECT_EQ(screen->getTable().at(9)->getName(), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(screen->getTable().at(8)->getName(), "");
}

TEST_F(HighScoreScreenTest, ReturnButtonByKeysAndMouse)
{
    // Only the return button lights; the rows never do.
    key(SDLK_DOWN);
    EXPECT_TRUE(screen->getReturnButton()->isLit());
    key(SDLK_UP);
    EXPECT_TRUE(screen->getReturnButton()->isLit());
    moveTo(-141, 113);
    EXPECT_FALSE(screen->getReturnButton()->isLit());
    EXPECT_FALSE(screen->getNameBox(0)->isLit());
    type("\r");
    EXPECT_EQ(app->current, screen) << "Enter with nothing lit does nothing";

    // A click on a points box or a name box only clicks.
    click(250, 31);
    click(-141, 31);
    EXPECT_EQ(app->current, screen);
    EXPECT_TRUE(open().empty());

    // Lit by the keys, Enter returns.
    key(SDLK_DOWN);
    type("\r");
    EXPECT_EQ(app->current, mainMenu);

    // While a row is open the button does nothing; once the name is in, a click returns.
    gameOver(42000);
    moveTo(0, -300);
    EXPECT_FALSE(screen->getReturnButton()->isLit());
    click(0, -300);
    EXPECT_EQ(app->current, screen);
    type("\r");
    click(0, -300);
    EXPECT_EQ(app->current, mainMenu);
}

TEST_F(HighScoreScreenTest, ACorruptFileGivesTheDefaultTable)
{
    gameOver(47000);
    type("zed\r");
    const std::vector<unsigned char> good = testsupport::readFile("scores.dat");
    app->current = nullptr;
    delete screen;

    // Cut short inside the sixth entry, and with a negative count in the first.
    for (int bad = 0; bad < 2; ++bad) {
        std::vector<unsigned char> bytes = good;
        if (bad == 0)
            bytes.resize(70000);
        else
            bytes[HighScoreTable::kHeadFiller] = 0x20;
        testsupport::writeFile("scores.dat", bytes);
        build();
        for (int r = 0; r < 10; ++r) EXPECT_EQ(points(r), std::to_string(50000 - 5000 * r)) << bad;
        EXPECT_NE(name(1), "ZED");
        app->current = nullptr;
        delete screen;
    }
    build();
}

TEST_F(HighScoreScreenTest, AnUnwritableFileLeavesTheOldOneAndTheScreenWorking)
{
    gameOver(33000);
    type("first\r");
    const std::vector<unsigned char> before = testsupport::readFile("scores.dat");
    ASSERT_FALSE(before.empty());

    // The temporary file's name is taken by a folder.
    ASSERT_EQ(mkdir("scores.dat.tmp", 0755), 0);
    gameOver(34000);
    type("second\r");
    EXPECT_EQ(screen->getTable().at(4)->getName(), "SECOND");
    EXPECT_EQ(screen->saveScores(), -1);
    EXPECT_EQ(testsupport::readFile("scores.dat"), before);
    key(SDLK_ESCAPE);
    EXPECT_EQ(app->current, mainMenu);

    // Shutdown fails the same way; once the way is clear the next write goes through.
    rebuild();
    EXPECT_EQ(name(4), "FIRST");
    std::filesystem::remove("scores.dat.tmp");
    EXPECT_EQ(screen->saveScores(), 0);
}
