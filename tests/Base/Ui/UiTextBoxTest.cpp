#include <memory>

#include "Base/Ui/UiTextBox.h"
#include "UiHarness.h"

using namespace uitest;

namespace {

// A parent that only listens: unlike the recording screen it gives no focus on request.
class Listener : public UiWindow {
public:
    explicit Listener(AppBase* app) : UiWindow(app, 1, true) {}
    std::vector<std::string> events;
    void onTextBoxActivated(int id) override { events.push_back("activated " + std::to_string(id)); }
    void onTextEntered(int id, const std::string& text) override
    {
        events.push_back("entered " + std::to_string(id) + " " + text);
    }
};

class TextBoxTest : public UiTest {
protected:
    // A box of the given width centred at the origin, without background pictures.
    std::unique_ptr<UiTextBox> makeBox(double width, const std::string& text = "", int align = 0,
                                       bool readOnly = false)
    {
        return std::make_unique<UiTextBox>(app, 6, "", "", 0, 0, -10, width, 40, text, align, readOnly);
    }

    static void type(UiTextBox& box, const std::string& text)
    {
        for (char c : text) box.onCharDown(c);
    }

    // Whether the glyph strokes or the cursor light the pixel at (x, 0).
    bool lit(double x) { return brightness(pixelAt(x, 0)) > 200; }
};

}  // namespace

TEST_F(TextBoxTest, TypedTextIsUpperCaseAndEditedWithTheKeys)
{
    UiTextBox box(app, 6, "", "", 0, 0, -10, 512, 40, "", 0, false);
    screen->addChild(&box);

    // A click asks for editing; the screen gives the box the focus.
    pushClick(0, 0);
    typeText("ab1");
    typeKey(SDLK_1, KMOD_LSHIFT);
    app->script = [&](int frame) {
        if (frame == 1) {
            EXPECT_EQ(screen->events, std::vector<std::string>{"activated 6"});
            EXPECT_TRUE(box.hasFocus());
            EXPECT_EQ(box.getText(), "AB1!");
            EXPECT_EQ(box.getCursor(), 4);
            typeKey(SDLK_BACKSPACE);  // AB1
            typeKey(SDLK_LEFT);
            typeKey(SDLK_LEFT);       // A|B1
            typeKey(SDLK_x);          // AX|B1
            typeKey(SDLK_DELETE);     // AX|1
            typeKey(SDLK_HOME);
            typeKey(SDLK_z);          // Z|AX1
            typeKey(SDLK_END);
            typeKey(SDLK_RIGHT);      // stays at the end
            typeKey(SDLK_PERIOD);
        } else if (frame == 2) {
            EXPECT_EQ(box.getText(), "ZAX1.");
            EXPECT_EQ(box.getCursor(), 5);
            typeKey(SDLK_RETURN);
        }
    };
    app->runFrames(3);
    EXPECT_FALSE(box.hasFocus());
    EXPECT_EQ(screen->events, (std::vector<std::string>{"activated 6", "entered 6 ZAX1."}));
}

TEST_F(TextBoxTest, CapacityFollowsTheWidth)
{
    auto wide = makeBox(512);
    type(*wide, "ABCDEFGHIJKLMNOPQ");
    EXPECT_EQ(wide->getText(), "ABCDEFGHIJKLMNOP") << "capacity 15 holds 16 characters";
    EXPECT_EQ(wide->getCursor(), 16);

    auto narrow = makeBox(280);
    type(*narrow, "1234567890");
    EXPECT_EQ(narrow->getText(), "12345678");

    auto tiny = makeBox(59);
    type(*tiny, "A");
    EXPECT_EQ(tiny->getText(), "") << "narrower than 60 units takes nothing";

    // A longer text set from outside takes no more until it is short enough again.
    wide->setText("ABCDEFGHIJKLMNOPQRS");
    wide->setCursor(19);
    type(*wide, "T");
    EXPECT_EQ(wide->getText(), "ABCDEFGHIJKLMNOPQRS");
    type(*wide, "\b\b\b\bT");
    EXPECT_EQ(wide->getText(), "ABCDEFGHIJKLMNOT");
}

TEST_F(TextBoxTest, EditingKeysStopAtTheEnds)
{
    auto box = makeBox(512, "ABC");
    EXPECT_EQ(box->getCursor(), 0);
    box->onCharDown(8);
    EXPECT_EQ(box->getText(), "ABC") << "Backspace at 0";
    box->onKeyDown(AppKeyLeft);
    EXPECT_EQ(box->getCursor(), 0);
    box->onKeyDown(AppKeyEnd);
    EXPECT_EQ(box->getCursor(), 3);
    box->onKeyDown(AppKeyDelete);
    box->onKeyDown(AppKeyRight);
    EXPECT_EQ(box->getText(), "ABC") << "Delete at the end";
    EXPECT_EQ(box->getCursor(), 3);
    box->onKeyDown(AppKeyHome);
    box->onKeyDown(AppKeyDelete);
    EXPECT_EQ(box->getText(), "BC");
    EXPECT_EQ(box->getCursor(), 0);
    for (AppKey other : {AppKeyUp, AppKeyDown, AppKeyTab, AppKeyInsert, AppKeyShift}) box->onKeyDown(other);
    box->onKeyUp(AppKeyLeft);
    EXPECT_EQ(box->getCursor(), 0);
    EXPECT_EQ(box->getText(), "BC");

    // Control codes other than the editing ones insert nothing; nor does code 0.
    box->onKeyDown(AppKeyEnd);
    for (char c : {'\x01', '\x07', '\x1f', '\0'}) box->onCharDown(c);
    EXPECT_EQ(box->getText(), "BC");
    EXPECT_EQ(box->getCursor(), 2);

    // Read-only hides the cursor only: keys still edit.
    box->setReadOnly(true);
    EXPECT_TRUE(box->isReadOnly());
    type(*box, "d~");
    EXPECT_EQ(box->getText(), "BCD~");
}

TEST_F(TextBoxTest, CursorIsKeptWithinTheText)
{
    auto box = makeBox(512, "ABCDE");
    box->setCursor(5);
    box->setText("AB");
    EXPECT_EQ(box->getCursor(), 2) << "a shorter text pulls the cursor back";
    box->setCursor(9);
    EXPECT_EQ(box->getCursor(), 9) << "setCursor stores what it is given";
    type(*box, "C");
    EXPECT_EQ(box->getText(), "ABC");
    EXPECT_EQ(box->getCursor(), 3);
    box->setCursor(-4);
    box->onCharDown(8);
    EXPECT_EQ(box->getText(), "ABC");
    EXPECT_EQ(box->getCursor(), 0);
    box->setCursor(40);
    box->onKeyDown(AppKeyLeft);
    EXPECT_EQ(box->getCursor(), 2);
    box->setCursor(40);
    box->onCharDown(8);
    EXPECT_EQ(box->getText(), "AB");
}

TEST_F(TextBoxTest, EnterTabAndEscapeReportToTheParent)
{
    Listener parent(app);
    auto box = makeBox(512, "NAME");
    box->onCharDown(13);
    box->onCharDown(27);
    EXPECT_TRUE(parent.events.empty()) << "no parent, nothing sent";

    parent.addChild(box.get());
    box->onCharDown(13);
    EXPECT_FALSE(box->hasFocus()) << "activation leaves the focus to the screen";
    box->setFocus(true);
    box->onCharDown(10);
    EXPECT_FALSE(box->hasFocus());
    box->onCharDown(10);
    box->setFocus(true);
    box->onCharDown(9);
    EXPECT_FALSE(box->hasFocus());
    box->setFocus(true);
    box->onCharDown(27);
    EXPECT_FALSE(box->hasFocus());
    box->onCharDown(27);
    EXPECT_EQ(parent.events, (std::vector<std::string>{"activated 6", "entered 6 NAME", "activated 6", "entered 6 NAME",
                                                       "entered 6 NAME", "entered 6 NAME"}));
}

TEST_F(TextBoxTest, TheTabKeyEndsTheEntryOfAFocusedBox)
{
    Listener parent(app);
    auto box = makeBox(512, "NAME");
    parent.addChild(box.get());
    box->onKeyDown(AppKeyTab);
    EXPECT_TRUE(parent.events.empty()) << "a box without the focus ignores Tab";
    box->setFocus(true);
    box->onKeyDown(AppKeyTab);
    EXPECT_FALSE(box->hasFocus());
    EXPECT_EQ(parent.events, (std::vector<std::string>{"entered 6 NAME"}));
}

TEST_F(TextBoxTest, ReleaseActivatesOnlyAnIdleEnabledBoxWithAParent)
{
    Listener parent(app);
    const int before = newestEffectId();
    auto box = makeBox(512);
    const WidgetSounds sounds = soundsAfter(before);
    ASSERT_NE(sounds.click, nullptr);
    EXPECT_EQ(sounds.click->getFileName(), "menu_item_click1.wav");

    box->onLeftButtonUp(0, 0);
    parent.addChild(box.get());
    box->disable();
    box->onLeftButtonUp(0, 0);
    box->onMouseMove(0, 0);
    EXPECT_FALSE(box->isLit());
    box->enable();
    box->setFocus(true);
    box->onLeftButtonUp(0, 0);
    EXPECT_FALSE(sounds.click->isPlaying());
    EXPECT_TRUE(parent.events.empty());

    box->setFocus(false);
    box->onLeftButtonUp(900, 900);
    EXPECT_TRUE(sounds.click->isPlaying());
    EXPECT_EQ(parent.events, std::vector<std::string>{"activated 6"});

    box->onMouseMove(250, 19);
    EXPECT_TRUE(box->isLit());
    EXPECT_TRUE(sounds.rollover->isPlaying());
    box->onMouseMove(250, 21);
    EXPECT_FALSE(box->isLit());
}

TEST_F(TextBoxTest, GlyphsAndCursorStandWhereTheyBelong)
{
    // Left edge at -256: glyph centres at -221 and -191.
    auto box = makeBox(512, "I-");
    screen->addChild(box.get());
    box->setFocus(true);
    box->setCursor(1);
    drawOnly(*box);
    EXPECT_TRUE(lit(-221)) << "the stem of the I";
    EXPECT_FALSE(lit(-221 + 6));
    EXPECT_FALSE(lit(-221 - 6));
    EXPECT_TRUE(lit(-191)) << "the bar of the dash";
    EXPECT_TRUE(lit(-191 + 8));
    EXPECT_FALSE(lit(-191 + 13));
    EXPECT_FALSE(brightness(pixelAt(-191, 8)) > 200);
    EXPECT_TRUE(lit(-207)) << "the cursor before the second character";
    EXPECT_FALSE(lit(-177));

    box->setCursor(2);
    drawOnly(*box);
    EXPECT_FALSE(lit(-207));
    EXPECT_TRUE(lit(-177)) << "the cursor after the last character";

    // No cursor without the focus, in a read-only box, or in the blink's dark phase.
    box->setFocus(false);
    drawOnly(*box);
    EXPECT_FALSE(lit(-177));
    box->setFocus(true);
    box->setReadOnly(true);
    drawOnly(*box);
    EXPECT_FALSE(lit(-177));
    box->setReadOnly(false);
    box->update(500);
    drawOnly(*box);
    EXPECT_TRUE(lit(-177)) << "shown until the blink counter passes 500 ms";
    box->update(1);
    drawOnly(*box);
    EXPECT_FALSE(lit(-177));
    box->update(499);
    drawOnly(*box);
    EXPECT_FALSE(lit(-177));
    box->update(1);
    drawOnly(*box);
    EXPECT_TRUE(lit(-177));

    // Lower case, set from outside, has no glyph and shows as a blank.
    box->setText("i-");
    drawOnly(*box);
    EXPECT_FALSE(lit(-221));
    EXPECT_TRUE(lit(-191));

    box->hide();
    drawOnly(*box);
    EXPECT_FALSE(lit(-191));
}

TEST_F(TextBoxTest, RightAlignedTextEndsAtTheRightEdge)
{
    auto box = makeBox(512, "I-", 1, true);
    EXPECT_EQ(box->getAlign(), 1);
    screen->addChild(box.get());
    box->setFocus(true);
    drawOnly(*box);
    EXPECT_TRUE(lit(221 - 8)) << "the dash, last, at the right";
    EXPECT_TRUE(lit(191)) << "the I";
    EXPECT_FALSE(lit(191 + 6));

    // Editable and at the end, the cursor stands after the last character.
    box->setReadOnly(false);
    box->setCursor(2);
    drawOnly(*box);
    EXPECT_TRUE(lit(235));
    box->setCursor(0);
    drawOnly(*box);
    EXPECT_TRUE(lit(175));
    EXPECT_FALSE(lit(235));

    // Any other alignment draws no text.
    box->setAlign(2);
    drawOnly(*box);
    EXPECT_FALSE(lit(191));
    EXPECT_FALSE(lit(221 - 8));
}

TEST_F(TextBoxTest, BackgroundFollowsTheHighlight)
{
    writeSolidBmp("test_box.bmp", 0, 0, 150);
    writeSolidBmp("test_box_lit.bmp", 0, 150, 0);
    UiTextBox both(app, 1, "test_box.bmp", "test_box_lit.bmp", 0, 0, -10, 256, 40, "", 0, true);
    drawOnly(both);
    EXPECT_EQ(pixelAt(100, 0), (std::array<unsigned char, 3>{0, 0, 150}));
    both.setLit(true);
    drawOnly(both);
    EXPECT_EQ(pixelAt(100, 0), (std::array<unsigned char, 3>{0, 150, 0}));

    UiTextBox normalOnly(app, 2, "test_box.bmp", "", 0, 0, -10, 256, 40, "", 0, true);
    normalOnly.setLit(true);
    drawOnly(normalOnly);
    EXPECT_EQ(brightness(pixelAt(100, 0)), 0) << "a lit box without a lit picture shows no background";
}
