#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "Application/PageOwner.h"
#include "Application/PageScreen1.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiHarness.h"
#include "Base/Ui/UiIcon.h"
#include "MenuHarness.h"
#include "support/PcxFile.h"

// The chapter 1 page as the game screen drives it between levels: the game screen's view
// (zoom 400, one unit a pixel, the origin at the window's centre), the page's input through
// the window's own event hooks, and the page's calls to its owner recorded in order.
namespace {

using testsupport::Rgb;
typedef ChapterPage P;

constexpr double kZoom = 400.0;


// The pictures' colours: every picture of the page its own.
const Rgb PageColour{30, 30, 90};
const Rgb TitleColour{250, 250, 60};
const Rgb ObjectiveColour{60, 250, 250};
const Rgb PlaceholderColour{120, 60, 20};
const Rgb CheckColour{250, 20, 250};
const Rgb NextColour{20, 200, 20};
const Rgb NextLitColour{180, 255, 180};
enum Look { Normal, Lit, Disabled };
Rgb slotColour(int slot, Look look)
{
    const unsigned char r = static_cast<unsigned char>(40 + 35 * slot);
    switch (look) {
    case Normal: return Rgb{r, 100, 20};
    case Lit: return Rgb{r, 240, 140};
    default: return Rgb{r, 20, 200};
    }
}

// The centres of the six level slots' cells.
const double kCellX[6] = {0, 250, -250, 0, 250, -250};
const double kCellY[6] = {150, 150, -75, -75, -75, 150};

class PageHost : public uitest::ScreenApp<AppBase>, public PageOwner {
public:
    std::vector<std::string> calls;

    PageHost() : ScreenApp(kZoom) {}

    void loadLevel(const std::string& fileName) override { calls.push_back("loadLevel " + fileName); }
    void nextPage() override { calls.push_back("nextPage"); }
    void previousPage() override { calls.push_back("previousPage"); }
    void setObjective(const std::string& image) override { calls.push_back("setObjective " + image); }
    void onPlayerDied() override { calls.push_back("onPlayerDied"); }

    // One pass of the game's loop while the page shows: the queued events through the
    // window's hooks, the page's update, then the frame drawn as the game screen draws a
    // page (lighting off). The frame is left unswapped so that its pixels can be read.
    void frame(unsigned int ms = 16)
    {
        _window->swapBuffers();
        pollEvents();
        current->update(ms);
        _window->clear();
        _window->disableLighting();
        current->draw();
        _window->enableLighting();
    }
};

class PageScreenTest : public uitest::SoundSuite {
protected:
    static constexpr const char* PictureDir = "page_pictures";

    void SetUp() override
    {
        host = new PageHost();
        ASSERT_EQ(host->init(), 0);
        window = host->getWindow();
        uitest::resyncWindow(window, kZoom);
        dataDir = std::filesystem::current_path();
        makePictures();
        std::filesystem::current_path(PictureDir);
        uitest::flushEvents();
        page = newPage();
        host->current = page;
        uitest::stopAllEffects();
    }
    void TearDown() override
    {
        delete page;
        if (!dataDir.empty()) std::filesystem::current_path(dataDir);
        delete host;
    }

    PageScreen1* newPage() { return new PageScreen1(host, host); }

    UiButton* button(P::Button b) const { return page->getButton(b); }
    // The buttons that are lit, in field order.
    std::vector<P::Button> lit() const
    {
        std::vector<P::Button> out;
        for (int b = P::kSlot1; b <= P::kPreviousPage; ++b)
            if (button(P::Button(b)) && button(P::Button(b))->isLit()) out.push_back(P::Button(b));
        return out;
    }
    std::vector<P::Button> enabled() const
    {
        std::vector<P::Button> out;
        for (int b = P::kSlot1; b <= P::kPreviousPage; ++b)
            if (button(P::Button(b)) && button(P::Button(b))->isEnabled()) out.push_back(P::Button(b));
        return out;
    }
    void unlightAll()
    {
        for (int b = P::kSlot1; b <= P::kNextPage; ++b) button(P::Button(b))->setLit(false);
    }
    // A key through the window's event queue and one pass of the loop.
    void press(SDLKey key)
    {
        uitest::typeKey(key);
        host->frame();
    }
    void click(double wx, double wy)
    {
        uitest::pushClick(wx, wy, kZoom);
        host->frame();
    }
    void pointAt(double wx, double wy)
    {
        uitest::pushMotion(wx, wy, kZoom);
        host->frame();
    }
    // Levels 1-1 to 1-4 done, as the game screen reports them.
    void finishFirstFour()
    {
        page->levelCompleted("level1-1.xml", 1);
        page->levelCompleted("level1-2.xml", 1);
        page->levelCompleted("level1-3.xml", 1);
        page->levelCompleted("level1-4.xml", 1);
    }
    std::string saved() const
    {
        std::ostringstream out;
        EXPECT_EQ(0, page->writeState(out));
        return out.str();
    }
    // A fresh page, as a loaded game builds it, given the saved values.
    int restore(const std::string& values)
    {
        delete page;
        page = newPage();
        host->current = page;
        std::istringstream in(values);
        return page->readState(in);
    }

    PageHost* host = nullptr;
    GphWindow* window = nullptr;
    PageScreen1* page = nullptr;
    std::filesystem::path dataDir;

private:
    static void makePictures()
    {
        using testsupport::writeSolidPcx;
        mkdir(PictureDir, 0755);
        const std::string dir = std::string(PictureDir) + "/";
        writeSolidPcx(dir + "page.pcx", PageColour);
        writeSolidPcx(dir + "page1_title.pcx", TitleColour);
        writeSolidPcx(dir + "page1_objective.pcx", ObjectiveColour);
        writeSolidPcx(dir + "chapter0_button.pcx", PlaceholderColour);
        writeSolidPcx(dir + "check_mark2.pcx", CheckColour);
        writeSolidPcx(dir + "page_next_button.pcx", NextColour);
        writeSolidPcx(dir + "page_next_button_lit.pcx", NextLitColour);
        for (int slot = 1; slot <= 6; ++slot) {
            const std::string name = dir + "chapter" + std::to_string(slot) + "_button";
            writeSolidPcx(name + ".pcx", slotColour(slot, Normal));
            writeSolidPcx(name + "_lit.pcx", slotColour(slot, Lit));
            writeSolidPcx(name + "_disabled.pcx", slotColour(slot, Disabled));
        }
        uitest::linkMenuSounds(PictureDir);
    }
};

bool near(const Rgb& a, const Rgb& b) { return menutest::near(a, b); }

#define EXPECT_COLOUR(expected, wx, wy)                                                                     \
    do {                                                                                                    \
        const Rgb got = uitest::pixelAt(wx, wy, kZoom);                                                     \
        EXPECT_TRUE(near(got, expected)) << "at (" << (wx) << ", " << (wy) << "): " << int(got[0]) << " " \
                                         << int(got[1]) << " " << int(got[2]);                              \
    } while (0)

}  // namespace

TEST_F(PageScreenTest, NewPageListsTheChapterAndOpensOnlyItsFirstLevel)
{
    const char* const files[] = {"level1-1.xml", "level1-2.xml", "level1-3.xml",
                                 "level1-4.xml", "level1-5.xml", "level1-x.xml"};
    for (int slot = 0; slot < 6; ++slot) {
        SCOPED_TRACE(slot + 1);
        EXPECT_EQ(files[slot], page->getLevelFile(P::Button(slot)));
        EXPECT_FALSE(page->isLevelDone(P::Button(slot)));
        ASSERT_NE(nullptr, button(P::Button(slot)));
        EXPECT_EQ(5 + slot, button(P::Button(slot))->getId());
        EXPECT_DOUBLE_EQ(kCellX[slot], button(P::Button(slot))->getX());
        EXPECT_DOUBLE_EQ(kCellY[slot], button(P::Button(slot))->getY());
    }
    EXPECT_EQ(11, button(P::kNextPage)->getId());
    EXPECT_EQ(nullptr, button(P::kPreviousPage));
    EXPECT_EQ((std::vector<P::Button>{P::kSlot1}), enabled());
    EXPECT_TRUE(lit().empty());
    EXPECT_FALSE(button(P::kSlot6)->isVisible());
    EXPECT_FALSE(button(P::kNextPage)->isVisible());
    EXPECT_FALSE(page->isBonusShown());
    EXPECT_FALSE(page->isFirstLevelDone());
    EXPECT_EQ(10.0, page->getBonusSize());

    host->frame();
    EXPECT_COLOUR(TitleColour, 0, 276);
    EXPECT_COLOUR(ObjectiveColour, 0, -203);
    EXPECT_COLOUR(slotColour(1, Normal), 0, 150);
    for (int slot = 2; slot <= 5; ++slot) EXPECT_COLOUR(slotColour(slot, Disabled), kCellX[slot - 1], kCellY[slot - 1]);
    // The hidden bonus button leaves the placeholder in view, the hidden next-page button the
    // page; no check mark anywhere.
    EXPECT_COLOUR(PlaceholderColour, -250, 150);
    EXPECT_COLOUR(PageColour, 340, -261);
    EXPECT_COLOUR(slotColour(1, Normal), 85, 230);
    EXPECT_COLOUR(PageColour, 0, 37);
}

TEST_F(PageScreenTest, FinishingLevelsOpensTheChapterStepByStep)
{
    window->getCamera()->setPosition(ShpCoord(1200, 700, 0));
    page->levelCompleted("level1-1.xml", 1);
    EXPECT_TRUE(page->isFirstLevelDone());
    EXPECT_EQ((std::vector<P::Button>{P::kSlot2}), enabled());
    EXPECT_EQ((std::vector<P::Button>{P::kSlot2}), lit());
    // The level had moved the camera; the page puts it back.
    EXPECT_EQ(0.0, window->getCamera()->getPosition()->getX());
    EXPECT_EQ(0.0, window->getCamera()->getPosition()->getY());

    page->levelCompleted("level1-2.xml", 1);
    EXPECT_EQ((std::vector<P::Button>{P::kSlot3, P::kSlot4, P::kSlot5}), enabled());
    EXPECT_EQ((std::vector<P::Button>{P::kSlot3}), lit());

    // 1-4 opens the next page at once; the light goes to the open 1-5.
    page->levelCompleted("level1-4.xml", 1);
    EXPECT_TRUE(button(P::kNextPage)->isVisible());
    EXPECT_EQ((std::vector<P::Button>{P::kSlot3, P::kSlot5, P::kNextPage}), enabled());
    EXPECT_EQ((std::vector<P::Button>{P::kSlot3, P::kSlot5}), lit());

    // 1-5 left through a plain exit: the bonus level stays hidden for good.
    unlightAll();
    page->levelCompleted("level1-5.xml", 1);
    EXPECT_FALSE(page->isBonusShown());
    EXPECT_EQ((std::vector<P::Button>{P::kSlot3, P::kNextPage}), enabled());
    EXPECT_EQ((std::vector<P::Button>{P::kSlot3}), lit());

    page->levelCompleted("level1-3.xml", 2);
    EXPECT_FALSE(page->isBonusShown());
    EXPECT_EQ((std::vector<P::Button>{P::kNextPage}), enabled());
    EXPECT_EQ((std::vector<P::Button>{P::kNextPage}), lit());
    for (int slot = 0; slot < 5; ++slot) EXPECT_TRUE(page->isLevelDone(P::Button(slot)));

    // A file of another chapter changes nothing but the camera.
    window->getCamera()->setPosition(ShpCoord(500, 500, 0));
    const std::string before = saved();
    page->levelCompleted("level2-1.xml", 2);
    EXPECT_EQ(before, saved());
    EXPECT_EQ(0.0, window->getCamera()->getPosition()->getX());
}

TEST_F(PageScreenTest, ExitCodeTwoOfLevelFiveRevealsTheBonusLevelWhichGrowsInAndStaysOpen)
{
    page->levelCompleted("level1-1.xml", 1);
    page->levelCompleted("level1-2.xml", 1);
    // Code 2 on a level that is not 1-5 reveals nothing.
    page->levelCompleted("level1-3.xml", 2);
    EXPECT_FALSE(page->isBonusShown());
    unlightAll();

    // While 1-4 is open the light goes there, the bonus button only showing.
    page->levelCompleted("level1-5.xml", 2);
    EXPECT_TRUE(page->isBonusShown());
    EXPECT_TRUE(page->getPlaceholder()->isVisible());
    EXPECT_EQ((std::vector<P::Button>{P::kSlot4, P::kSlot6}), enabled());
    EXPECT_EQ((std::vector<P::Button>{P::kSlot4}), lit());

    // The pictures start at 10 by 10 over the placeholder and grow by 400 a second.
    host->frame(0);
    EXPECT_COLOUR(slotColour(6, Normal), -250, 150);
    EXPECT_COLOUR(PlaceholderColour, -250 + 30, 150 + 30);
    host->frame(100);
    EXPECT_DOUBLE_EQ(50.0, page->getBonusSize());
    host->frame(300);
    EXPECT_DOUBLE_EQ(170.0, page->getBonusSize());
    host->frame(300);
    EXPECT_DOUBLE_EQ(200.0, page->getBonusSize());
    EXPECT_COLOUR(slotColour(6, Normal), -250 + 95, 150 - 95);

    // The bonus level done: it keeps its check mark and stays open; the light goes on to
    // the next page once 1-4 is done.
    page->levelCompleted("level1-4.xml", 1);
    EXPECT_EQ((std::vector<P::Button>{P::kNextPage}), lit());
    unlightAll();
    page->levelCompleted("level1-x.xml", 1);
    EXPECT_TRUE(page->isLevelDone(P::kSlot6));
    EXPECT_EQ((std::vector<P::Button>{P::kSlot6, P::kNextPage}), enabled());
    EXPECT_EQ((std::vector<P::Button>{P::kNextPage}), lit());
    host->frame();
    EXPECT_COLOUR(CheckColour, -250 + 85, 150 + 80);
}

TEST_F(PageScreenTest, BonusRevealedWithEveryOtherLevelDoneIsLitAndCheckMarksSitByTheFixedBox)
{
    finishFirstFour();
    unlightAll();
    page->levelCompleted("level1-5.xml", 2);
    EXPECT_EQ((std::vector<P::Button>{P::kSlot6}), lit());
    // While its pictures are small, the button's box still places its check mark.
    page->levelCompleted("level1-x.xml", 1);
    host->frame(0);
    EXPECT_DOUBLE_EQ(10.0, page->getBonusSize());
    EXPECT_COLOUR(CheckColour, -250 + 85, 150 + 80);
    EXPECT_COLOUR(PlaceholderColour, -250 + 50, 150 + 50);
    // Every finished slot shows its normal picture with a check mark at its upper right.
    for (int slot = 0; slot < 5; ++slot) {
        SCOPED_TRACE(slot + 1);
        EXPECT_COLOUR(CheckColour, kCellX[slot] + 85, kCellY[slot] + 80);
        EXPECT_COLOUR(slotColour(slot + 1, Normal), kCellX[slot] - 50, kCellY[slot] - 50);
    }
    EXPECT_COLOUR(NextLitColour, 340, -261);
}

TEST_F(PageScreenTest, PointerLightsOpenButtonsAndAClickLoadsTheirLevel)
{
    // A closed button stays dark under the pointer; an open one lights.
    pointAt(250, 150);
    EXPECT_TRUE(lit().empty());
    EXPECT_COLOUR(slotColour(2, Disabled), 250, 150);
    pointAt(10, 140);
    EXPECT_EQ((std::vector<P::Button>{P::kSlot1}), lit());
    EXPECT_COLOUR(slotColour(1, Lit), 0, 150);
    click(250, 150);
    click(-250, 150);
    EXPECT_TRUE(host->calls.empty());
    click(20, 120);
    EXPECT_EQ((std::vector<std::string>{"loadLevel level1-1.xml"}), host->calls);

    // Level 1-2's button also sets its objective picture, after the level has loaded.
    page->levelCompleted("level1-1.xml", 1);
    host->calls.clear();
    click(250, 150);
    EXPECT_EQ((std::vector<std::string>{"loadLevel level1-2.xml", "setObjective level1-2objective.pcx"}),
              host->calls);
    // Moving over a done button unlights what was lit.
    pointAt(0, 150);
    EXPECT_TRUE(lit().empty());

    page->levelCompleted("level1-2.xml", 1);
    page->levelCompleted("level1-4.xml", 1);
    host->calls.clear();
    click(-250, -75);
    click(0, -75);
    click(250, -75);
    click(340, -261);
    // The place of the hidden bonus button answers nothing.
    click(-250, 150);
    EXPECT_EQ((std::vector<std::string>{"loadLevel level1-3.xml", "loadLevel level1-5.xml", "nextPage"}),
              host->calls);
}

TEST_F(PageScreenTest, CommandsOfOtherIdsDoNothing)
{
    for (int id : {0, 1, 2, 3, 4, 12, 13, 99}) page->onCommand(id);
    EXPECT_TRUE(host->calls.empty());
    page->onCommand(10);
    page->onCommand(11);
    EXPECT_EQ((std::vector<std::string>{"loadLevel level1-x.xml", "nextPage"}), host->calls);
}

TEST_F(PageScreenTest, KeysLightTheFirstLevelThenWalkTheRingOfOpenButtons)
{
    // Enter does nothing while nothing is lit; Left or Right light level 1-1.
    press(SDLK_RETURN);
    press(SDLK_UP);
    press(SDLK_DOWN);
    EXPECT_TRUE(lit().empty());
    press(SDLK_RIGHT);
    EXPECT_EQ((std::vector<P::Button>{P::kSlot1}), lit());
    press(SDLK_LEFT);
    EXPECT_EQ((std::vector<P::Button>{P::kSlot1}), lit());
    press(SDLK_a);
    EXPECT_TRUE(host->calls.empty());
    press(SDLK_RETURN);
    EXPECT_EQ((std::vector<std::string>{"loadLevel level1-1.xml"}), host->calls);

    // After level 1-1 nothing lit stays so; slot 2 lit stays lit.
    page->levelCompleted("level1-1.xml", 1);
    unlightAll();
    press(SDLK_RIGHT);
    press(SDLK_LEFT);
    EXPECT_TRUE(lit().empty());
    page->getButton(P::kSlot2)->setLit(true);
    press(SDLK_RIGHT);
    EXPECT_EQ((std::vector<P::Button>{P::kSlot2}), lit());

    // The ring: 1-3, 1-4, 1-5, next page, bonus; closed and hidden ones are passed over.
    page->levelCompleted("level1-2.xml", 1);
    EXPECT_EQ((std::vector<P::Button>{P::kSlot3}), lit());
    press(SDLK_RIGHT);
    EXPECT_EQ((std::vector<P::Button>{P::kSlot4}), lit());
    press(SDLK_RIGHT);
    EXPECT_EQ((std::vector<P::Button>{P::kSlot5}), lit());
    press(SDLK_RIGHT);
    EXPECT_EQ((std::vector<P::Button>{P::kSlot3}), lit());
    press(SDLK_LEFT);
    EXPECT_EQ((std::vector<P::Button>{P::kSlot5}), lit());
    host->calls.clear();
    press(SDLK_RETURN);
    EXPECT_EQ((std::vector<std::string>{"loadLevel level1-5.xml"}), host->calls);
}

TEST_F(PageScreenTest, KeysStartFromTheFirstLitButtonInTheirOwnOrder)
{
    page->levelCompleted("level1-1.xml", 1);
    page->levelCompleted("level1-2.xml", 1);
    page->levelCompleted("level1-4.xml", 1);
    // Slots 3 and 5 lit at once (the keys had lit one before the mouse started the level).
    EXPECT_EQ((std::vector<P::Button>{P::kSlot3, P::kSlot5}), lit());
    // Enter presses the first lit one in field order.
    press(SDLK_RETURN);
    EXPECT_EQ((std::vector<std::string>{"loadLevel level1-3.xml"}), host->calls);
    // Left looks from the next page downwards and finds 1-5 first; from there it goes to the
    // open button before it, 1-3 (1-4 is done), and slot 3 stays lit as it was.
    press(SDLK_LEFT);
    EXPECT_EQ((std::vector<P::Button>{P::kSlot3}), lit());
    button(P::kSlot5)->setLit(true);
    // Right looks from slot 1 upwards and finds 1-3 first: it moves on to 1-5.
    press(SDLK_RIGHT);
    EXPECT_EQ((std::vector<P::Button>{P::kSlot5}), lit());
    press(SDLK_RIGHT);
    EXPECT_EQ((std::vector<P::Button>{P::kNextPage}), lit());
    host->frame();
    EXPECT_COLOUR(NextLitColour, 340, -261);
}

TEST_F(PageScreenTest, TheOnlyOpenButtonOfTheRingLightsAgainWithItsSound)
{
    finishFirstFour();
    page->levelCompleted("level1-5.xml", 1);
    EXPECT_EQ((std::vector<P::Button>{P::kNextPage}), enabled());
    EXPECT_EQ((std::vector<P::Button>{P::kNextPage}), lit());
    if (!s_soundStarted) GTEST_SKIP() << "no sound device";
    uitest::stopAllEffects();
    press(SDLK_RIGHT);
    EXPECT_EQ((std::vector<P::Button>{P::kNextPage}), lit());
    EXPECT_TRUE(menutest::anyPlaying("menu_item_rollover.wav"));
}

TEST_F(PageScreenTest, SavedValuesRoundTripIntoAFreshPage)
{
    EXPECT_EQ("0 0 0 0 0 0 0 ", saved());
    page->levelCompleted("level1-1.xml", 1);
    page->levelCompleted("level1-2.xml", 1);
    page->levelCompleted("level1-4.xml", 1);
    page->levelCompleted("level1-5.xml", 2);
    const std::string values = saved();
    EXPECT_EQ("1 1 0 1 1 0 1 ", values);

    ASSERT_EQ(0, restore(values));
    EXPECT_EQ(values, saved());
    EXPECT_TRUE(page->isFirstLevelDone());
    // The shown bonus button hides the placeholder; nothing is lit after a load.
    EXPECT_TRUE(page->isBonusShown());
    EXPECT_FALSE(page->getPlaceholder()->isVisible());
    EXPECT_TRUE(button(P::kNextPage)->isVisible());
    EXPECT_EQ((std::vector<P::Button>{P::kSlot3, P::kSlot6, P::kNextPage}), enabled());
    EXPECT_TRUE(lit().empty());
    // The bonus pictures grow in again from 10.
    host->frame(0);
    EXPECT_EQ(10.0, page->getBonusSize());
    EXPECT_COLOUR(PageColour, -250 + 50, 150 + 50);
    host->frame(500);
    EXPECT_COLOUR(slotColour(6, Normal), -250 + 50, 150 + 50);
    // Done slots show their normal pictures under their check marks.
    EXPECT_COLOUR(slotColour(2, Normal), 250 - 50, 150 - 50);
    EXPECT_COLOUR(CheckColour, 250 + 85, 150 + 80);
    EXPECT_COLOUR(slotColour(3, Normal), -250, -75);
}

TEST_F(PageScreenTest, SavedChapterWithoutBonusRestoresNextPageAndPlaceholder)
{
    ASSERT_EQ(0, restore("1 1 1 1 1 0 0 "));
    for (int slot = 0; slot < 5; ++slot) EXPECT_TRUE(page->isLevelDone(P::Button(slot)));
    EXPECT_EQ((std::vector<P::Button>{P::kNextPage}), enabled());
    EXPECT_FALSE(page->isBonusShown());
    EXPECT_TRUE(page->getPlaceholder()->isVisible());
    host->frame();
    EXPECT_COLOUR(PlaceholderColour, -250, 150);
    EXPECT_COLOUR(NextColour, 340, -261);
    for (int slot = 0; slot < 5; ++slot) EXPECT_COLOUR(CheckColour, kCellX[slot] + 85, kCellY[slot] + 80);

    // Any bonus value but 1 leaves the bonus hidden.
    ASSERT_EQ(0, restore("1 1 0 0 1 0 2 "));
    EXPECT_FALSE(page->isBonusShown());
    EXPECT_EQ((std::vector<P::Button>{P::kSlot3, P::kSlot4}), enabled());
}

TEST_F(PageScreenTest, CutShortOrMalformedSavedValuesFail)
{
    // What reads is applied; the rest keeps the fresh page's values.
    EXPECT_EQ(-1, restore("1 1 0"));
    EXPECT_TRUE(page->isLevelDone(P::kSlot1));
    EXPECT_TRUE(page->isLevelDone(P::kSlot2));
    EXPECT_FALSE(page->isBonusShown());
    EXPECT_EQ((std::vector<P::Button>{P::kSlot3, P::kSlot4, P::kSlot5}), enabled());

    EXPECT_EQ(-1, restore("1 1 0 1 1 0"));
    EXPECT_FALSE(page->isBonusShown());
    EXPECT_TRUE(button(P::kNextPage)->isVisible());

    EXPECT_EQ(-1, restore(""));
    EXPECT_EQ((std::vector<P::Button>{P::kSlot1}), enabled());
    EXPECT_EQ(-1, restore("1 x 0 0 0 0 0 "));
    EXPECT_EQ(-1, restore("1 2 0 0 0 0 0 "));
}
