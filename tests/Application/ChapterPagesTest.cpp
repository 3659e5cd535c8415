// The pages of chapters 2 to 5 as the game builds them: which levels each chapter's rule opens
// as levels are finished, which button lights, what the page saves and how a saved page comes
// back.

#include "Application/GameHarness.h"

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Application/GameScreen.h"
#include "Application/PageScreen2.h"
#include "Application/PageScreen3.h"
#include "Application/PageScreen4.h"
#include "Application/PageScreen5.h"

namespace gametest {

namespace {

typedef ChapterPage P;

// The buttons in field order as one letter each: slots 1 to 6, N(ext page), P(revious page).
std::string buttons(const ChapterPage& page, bool (UiControl::*test)() const)
{
    const char* const names = "123456NP";
    std::string out;
    for (int b = P::kSlot1; b <= P::kPreviousPage; ++b) {
        const UiButton* button = page.getButton(P::Button(b));
        if (button && (button->*test)()) out += names[b];
    }
    return out;
}

std::unique_ptr<ChapterPage> makePage(int number, AppBase* app, PageOwner* owner)
{
    switch (number) {
    case 2: return std::make_unique<PageScreen2>(app, owner);
    case 3: return std::make_unique<PageScreen3>(app, owner);
    case 4: return std::make_unique<PageScreen4>(app, owner);
    default: return std::make_unique<PageScreen5>(app, owner);
    }
}

}  // namespace

TEST_F(GameTest, EachChaptersRuleOpensItsLevelsAndItsWayOn)
{
    const struct {
        int page;
        // Finished "chapter-level" with an exit code, in order; or, when `restore` is set,
        // the saved values a fresh page reads instead.
        std::vector<std::pair<const char*, int>> finished;
        const char* restore;
        const char* open;
        const char* lit;
        bool bonusShown;
        const char* saved;
    } cases[] = {
        // Chapter 2: five levels at once; 2-2 and 2-4 open the way on; 2-3 or 2-5 by code 2 the bonus.
        {2, {}, nullptr, "12345P", "", false, "0 0 0 0 0 0 0 0 "},
        {2, {{"2-2", 1}}, nullptr, "1345P", "3", false, "0 1 0 0 0 0 1 0 "},
        {2, {{"2-2", 1}, {"2-4", 1}}, nullptr, "135NP", "35", false, "0 1 0 1 0 0 2 0 "},
        {2, {{"2-3", 2}}, nullptr, "12456P", "4", true, "0 0 1 0 0 0 0 1 "},
        {2, {{"2-5", 2}, {"2-3", 2}}, nullptr, "1246P", "14", true, "0 0 1 0 1 0 0 1 "},
        {2, {{"2-1", 1}, {"2-2", 1}, {"2-3", 1}, {"2-4", 1}, {"2-5", 2}}, nullptr, "6NP", "N", true,
         "1 1 1 1 1 0 2 1 "},
        {2, {{"2-3", 2}, {"2-x", 1}}, nullptr, "12456P", "14", true, "0 0 1 0 0 1 0 1 "},
        {2, {}, "1 1 0 1 0 0 2 0 ", "35NP", "", false, "1 1 0 1 0 0 2 0 "},
        // Chapter 3: 3-1 first, then the other five; 3-3 and 3-6 open the way on.
        {3, {}, nullptr, "1P", "", false, "0 0 0 0 0 0 0 "},
        {3, {{"3-1", 1}}, nullptr, "23456P", "2", false, "1 0 0 0 0 0 0 "},
        {3, {{"3-1", 1}, {"3-3", 1}, {"3-6", 1}}, nullptr, "245NP", "24", false, "1 0 1 0 0 1 2 "},
        {3, {}, "1 0 1 0 0 1 2 ", "245NP", "", false, "1 0 1 0 0 1 2 "},
        // Chapter 4: five levels at once; 4-2 and 4-5 open 4-6 and the way on.
        {4, {}, nullptr, "12345P", "", false, "0 0 0 0 0 0 0 "},
        {4, {{"4-2", 1}}, nullptr, "1345P", "3", false, "0 1 0 0 0 0 1 "},
        {4, {{"4-1", 1}, {"4-3", 1}, {"4-4", 1}, {"4-5", 1}}, nullptr, "2P", "26", false, "1 0 1 1 1 0 1 "},
        {4, {{"4-1", 1}, {"4-2", 1}, {"4-4", 1}, {"4-5", 1}}, nullptr, "36NP", "36", false, "1 1 0 1 1 0 2 "},
        {4, {}, "0 0 0 0 0 0 2 ", "123456NP", "", false, "0 0 0 0 0 0 2 "},
        // Chapter 5: 5-1 first, then 5-2 to 5-4; 5-5 after 5-3; the summary after 5-3 and 5-5.
        {5, {}, nullptr, "1P", "", false, "0 0 0 0 0 0 0 "},
        {5, {{"5-1", 1}}, nullptr, "234P", "2", false, "1 0 0 0 0 0 0 "},
        {5, {{"5-1", 1}, {"5-4", 1}}, nullptr, "23P", "25", false, "1 0 0 1 0 0 0 "},
        {5, {{"5-1", 1}, {"5-3", 2}}, nullptr, "2456P", "24", true, "1 0 1 0 0 0 1 "},
        {5, {{"5-1", 1}, {"5-3", 1}, {"5-5", 1}}, nullptr, "24NP", "24", false, "1 0 1 0 1 0 0 "},
        {5, {}, "1 0 1 0 1 0 1 ", "246NP", "", true, "1 0 1 0 1 0 1 "},
    };
    start();
    GameScreen* game = app->getGameScreen();
    for (const auto& c : cases) {
        std::unique_ptr<ChapterPage> page = makePage(c.page, app, game);
        std::string trace = "page " + std::to_string(c.page) + ":";
        for (const auto& level : c.finished) {
            trace += std::string(" ") + level.first + "/" + std::to_string(level.second);
            page->levelCompleted(std::string("level") + level.first + ".xml", level.second);
        }
        if (c.restore) {
            trace += std::string(" restored ") + c.restore;
            std::istringstream in(c.restore);
            EXPECT_EQ(0, page->readState(in)) << trace;
        }
        EXPECT_EQ(c.open, buttons(*page, &UiControl::isEnabled)) << trace;
        EXPECT_EQ(c.lit, buttons(*page, &UiControl::isLit)) << trace;
        EXPECT_EQ(c.bonusShown, page->isBonusShown()) << trace;
        // The next-page button shows exactly while it is open.
        EXPECT_EQ(page->getButton(P::kNextPage)->isEnabled(), page->getButton(P::kNextPage)->isVisible()) << trace;
        std::ostringstream out;
        EXPECT_EQ(0, page->writeState(out));
        EXPECT_EQ(c.saved, out.str()) << trace;
    }

    // The ring of the later pages: nothing lit, Right lights the previous-page button, then the
    // first open button after it round the ring; Left walks back.
    std::unique_ptr<ChapterPage> page = makePage(2, app, game);
    for (const auto& step : {std::make_pair(AppKeyRight, "P"), std::make_pair(AppKeyRight, "1"),
                             std::make_pair(AppKeyLeft, "P"), std::make_pair(AppKeyLeft, "5")}) {
        page->onKeyDown(step.first);
        EXPECT_EQ(step.second, buttons(*page, &UiControl::isLit));
    }
}

}  // namespace gametest
