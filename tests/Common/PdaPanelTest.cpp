#include <sstream>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Common/PanelDigits.h"
#include "Common/PdaPanel.h"
#include "PanelHarness.h"

using namespace paneltest;

namespace {

// The longest frame the main loop hands on, and how far the panel slides in it.
constexpr unsigned Frame = 30;
constexpr double Step = 54.0;

class PdaPanelTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        stopAllEffects();
    }

    void drawPanel(PdaPanel& panel)
    {
        clearFrame();
        panel.draw();
    }

    static void frames(PdaPanel& panel, int count)
    {
        for (int i = 0; i < count; ++i) panel.update(Frame);
    }

    static double panelY(const PdaPanel& panel) { return panel.getPanel()->getCoord()->getY(); }

    static bool playing(const std::string& wav) { return isPlaying(wav); }
    // Sound checks only where the engine could make the effect.
    bool haveSound(const std::string& wav) const { return soundStarted && effectFor(wav); }
};

}  // namespace

TEST_F(PdaPanelTest, SlidesUpIntoTheViewAndDownAgainOnAKey)
{
    PdaPanel panel(app, player);
    EXPECT_FALSE(panel.isShown());
    panel.show();
    EXPECT_TRUE(panel.isShown());
    EXPECT_DOUBLE_EQ(panelY(panel), CamY - 500);
    EXPECT_DOUBLE_EQ(panel.getPanel()->getCoord()->getX(), CamX);
    EXPECT_DOUBLE_EQ(panel.getTargetY(), CamY);
    if (haveSound("pdaarrive.wav")) {
        EXPECT_TRUE(playing("pdaarrive.wav"));
        EXPECT_FALSE(playing("pdaaway.wav"));
    }

    // Halfway: the top edge has not reached the middle of the view.
    frames(panel, 5);
    EXPECT_DOUBLE_EQ(panelY(panel), CamY - 500 + 5 * Step);
    drawPanel(panel);
    EXPECT_TRUE(near(colourAt(CamX - 150, CamY - 100), PanelColour));
    EXPECT_FALSE(near(colourAt(CamX - 150, CamY + 10), PanelColour));

    // 500 units at 1800 a second: ten frames of 30 ms, the last one stopping at the camera.
    frames(panel, 4);
    EXPECT_DOUBLE_EQ(panelY(panel), CamY - 14);
    frames(panel, 1);
    EXPECT_DOUBLE_EQ(panelY(panel), CamY);
    frames(panel, 3);
    EXPECT_DOUBLE_EQ(panelY(panel), CamY) << "it stays in place";
    drawPanel(panel);
    EXPECT_TRUE(near(colourAt(CamX - 150, CamY + 150), PanelColour));
    EXPECT_TRUE(near(colourAt(CamX - 150, CamY - 150), PanelColour));

    panel.onCharDown('x');
    EXPECT_TRUE(panel.isSlidingOut());
    EXPECT_DOUBLE_EQ(panel.getTargetY(), CamY - 500);
    if (haveSound("pdaaway.wav")) {
        EXPECT_TRUE(playing("pdaaway.wav"));
    }
    frames(panel, 9);
    EXPECT_TRUE(panel.isShown());
    EXPECT_DOUBLE_EQ(panelY(panel), CamY - 486);
    frames(panel, 1);
    EXPECT_FALSE(panel.isShown());
    EXPECT_FALSE(panel.isSlidingOut());
    EXPECT_DOUBLE_EQ(panelY(panel), PdaPanel::kParkedY);
    // Out of view it draws nothing at all, lighting untouched.
    window->disableLighting();
    drawPanel(panel);
    EXPECT_FALSE(window->isLightingEnabled());
    EXPECT_FALSE(near(colourAt(CamX - 150, CamY - 150), PanelColour));
}

TEST_F(PdaPanelTest, KeyWhileComingUpTurnsItBackAndLaterKeysAreIgnored)
{
    PdaPanel panel(app, player);
    panel.show();
    frames(panel, 3);
    const double turnedAt = CamY - 500 + 3 * Step;
    EXPECT_DOUBLE_EQ(panelY(panel), turnedAt);

    panel.onKeyDown(AppKeyLeft);
    EXPECT_TRUE(panel.isSlidingOut());
    EXPECT_DOUBLE_EQ(panel.getTargetY(), turnedAt - 500);
    frames(panel, 1);
    EXPECT_DOUBLE_EQ(panelY(panel), turnedAt - Step);

    stopAllEffects();
    panel.onCharDown('\r');
    panel.onKeyDown(AppKeyDown);
    EXPECT_DOUBLE_EQ(panel.getTargetY(), turnedAt - 500) << "keys while it goes down change nothing";
    EXPECT_FALSE(playing("pdaaway.wav"));

    frames(panel, 8);
    EXPECT_TRUE(panel.isShown());
    frames(panel, 1);
    EXPECT_FALSE(panel.isShown());
    EXPECT_DOUBLE_EQ(panelY(panel), PdaPanel::kParkedY);

    // A frame of no time moves nothing.
    panel.show();
    panel.update(0);
    EXPECT_DOUBLE_EQ(panelY(panel), CamY - 500);
    panel.resetMotion();
    EXPECT_FALSE(panel.isShown());
}

TEST_F(PdaPanelTest, ShowsTheHerosCountersAndTheTreasurePercentage)
{
    PdaPanel panel(app, player);
    player->setScore(1250);
    player->setGrenades(7);
    player->setHealth(45);
    player->setLives(2);
    panel.setTotal(100);
    for (int i = 0; i < 29; ++i) panel.countFound();
    EXPECT_EQ(panel.getFound(), 29);
    EXPECT_EQ(panel.getPercentage(), 28) << "the division comes before the multiplication";
    panel.show();
    frames(panel, 10);
    window->enableLighting();
    drawPanel(panel);
    EXPECT_TRUE(window->isLightingEnabled()) << "lighting is back on after the panel";

    const double right = CamX + 96;
    EXPECT_EQ(digitAt(right, CamY + 131), 0);
    EXPECT_EQ(digitAt(right - 10, CamY + 131), 5);
    EXPECT_EQ(digitAt(right - 20, CamY + 131), 2);
    EXPECT_EQ(digitAt(right - 30, CamY + 131), 1);
    EXPECT_TRUE(near(colourAt(right - 40, CamY + 131), PanelColour));
    EXPECT_EQ(digitAt(right, CamY + 98), 7);
    EXPECT_TRUE(near(colourAt(right - 10, CamY + 98), PanelColour));
    EXPECT_EQ(digitAt(right, CamY + 65), 5);
    EXPECT_EQ(digitAt(right - 10, CamY + 65), 4);
    EXPECT_EQ(digitAt(right, CamY + 32), 2);
    EXPECT_EQ(digitAt(right, CamY - 1), 8);
    EXPECT_EQ(digitAt(right - 10, CamY - 1), 2);
    EXPECT_TRUE(near(colourAt(right - 20, CamY - 1), PanelColour));
    // Lit or not, the panel keeps its own colours: lighting is off while it draws.
    EXPECT_TRUE(near(colourAt(CamX - 150, CamY + 150), PanelColour));
}

TEST_F(PdaPanelTest, LastTreasureChimesOnceAndNoTotalCountsNoShare)
{
    PdaPanel panel(app, player);
    const bool sound = haveSound("chimes.wav");
    panel.setTotal(3);
    panel.countFound();
    EXPECT_EQ(panel.getPercentage(), 33);
    panel.countFound();
    EXPECT_EQ(panel.getPercentage(), 66);
    EXPECT_FALSE(playing("chimes.wav"));
    panel.countFound();
    EXPECT_EQ(panel.getPercentage(), 100);
    if (sound) {
        EXPECT_TRUE(playing("chimes.wav"));
    }
    stopAllEffects();
    panel.countFound();
    EXPECT_FALSE(playing("chimes.wav")) << "only the last one chimes";

    panel.resetCounters();
    EXPECT_EQ(panel.getFound(), 0);
    EXPECT_EQ(panel.getPercentage(), 0);
    EXPECT_EQ(panel.getTotal(), 3) << "the total stays";

    // A level without treasure.
    std::istringstream saved("<NO_OBJECTIVE> 0 4 50 ");
    ASSERT_EQ(panel.readState(saved), 0);
    panel.countFound();
    EXPECT_EQ(panel.getFound(), 5);
    EXPECT_EQ(panel.getPercentage(), 50);
    EXPECT_FALSE(playing("chimes.wav"));
}

TEST_F(PdaPanelTest, ObjectivePictureShowsUnderTheCountersUntilCleared)
{
    PdaPanel panel(app, player);
    panel.show();
    frames(panel, 10);
    drawPanel(panel);
    EXPECT_TRUE(near(colourAt(CamX, CamY - 85), PanelColour)) << "no objective yet";
    EXPECT_EQ(panel.getObjectivePicture(), nullptr);

    panel.setObjective("objective_a.pcx");
    drawPanel(panel);
    EXPECT_TRUE(near(colourAt(CamX, CamY - 85), ObjectiveA));
    EXPECT_TRUE(near(colourAt(CamX - 98, CamY - 85 + 48), ObjectiveA)) << "200 by 100";
    EXPECT_TRUE(near(colourAt(CamX - 103, CamY - 85), PanelColour));
    EXPECT_TRUE(near(colourAt(CamX, CamY - 85 + 52), PanelColour));
    GphRect* picture = panel.getObjectivePicture();

    panel.setObjective("objective_b.pcx");
    EXPECT_EQ(panel.getObjectivePicture(), picture) << "one picture object, its look replaced";
    drawPanel(panel);
    EXPECT_TRUE(near(colourAt(CamX, CamY - 85), ObjectiveB));

    panel.setObjective("");
    EXPECT_EQ(panel.getObjective(), "");
    drawPanel(panel);
    EXPECT_TRUE(near(colourAt(CamX, CamY - 85), PanelColour)) << "an empty name shows no picture";

    panel.setObjective("objective_a.pcx");
    drawPanel(panel);
    EXPECT_TRUE(near(colourAt(CamX, CamY - 85), ObjectiveA));
}

TEST_F(PdaPanelTest, SavedFormRestoresObjectiveAndCounts)
{
    PdaPanel panel(app, player);
    std::ostringstream out;
    EXPECT_EQ(panel.writeState(out), 0);
    EXPECT_EQ(out.str(), "<NO_OBJECTIVE> 0 0 0 ") << "a name is always written";

    panel.setObjective("objective_a.pcx");
    panel.setTotal(100);
    for (int i = 0; i < 29; ++i) panel.countFound();
    out.str("");
    EXPECT_EQ(panel.writeState(out), 0);
    EXPECT_EQ(out.str(), "objective_a.pcx 100 29 28 ");

    PdaPanel restored(app, player);
    std::istringstream in(out.str() + "7");
    ASSERT_EQ(restored.readState(in), 0);
    EXPECT_EQ(restored.getObjective(), "objective_a.pcx");
    EXPECT_EQ(restored.getTotal(), 100);
    EXPECT_EQ(restored.getFound(), 29);
    EXPECT_EQ(restored.getPercentage(), 28);
    int rest = 0;
    in >> rest;
    EXPECT_EQ(rest, 7) << "reads exactly its four values";
    restored.show();
    frames(restored, 10);
    drawPanel(restored);
    EXPECT_TRUE(near(colourAt(CamX, CamY - 85), ObjectiveA));

    std::istringstream none("<NO_OBJECTIVE> 5 1 20 ");
    ASSERT_EQ(restored.readState(none), 0);
    EXPECT_EQ(restored.getObjective(), "");
    drawPanel(restored);
    EXPECT_TRUE(near(colourAt(CamX, CamY - 85), PanelColour));

    for (const char* broken : {"", "a.pcx", "a.pcx 1 2", "a.pcx 1 x 3"}) {
        std::istringstream bad(broken);
        EXPECT_EQ(restored.readState(bad), -1) << broken;
        EXPECT_EQ(restored.getTotal(), 5) << broken;
        EXPECT_EQ(restored.getFound(), 1) << broken;
        EXPECT_EQ(restored.getPercentage(), 20) << broken;
    }
    EXPECT_TRUE(logged("Failed to read objective panel"));
}

TEST_F(PdaPanelTest, PicturesAndSoundsOfTheGameDataLoad)
{
    ASSERT_EQ(0, chdir(dataDir.c_str()));
    const size_t before = testsupport::logMessages().size();
    {
        PdaPanel panel(app, player);
        const GphTexture* look = panel.getPanel()->getAnimatedTexture()->getCurrentTexture();
        ASSERT_NE(look->getImage(), nullptr);
        EXPECT_EQ(look->getImage()->getFileName(), "spywherecomputer.pcx");
        EXPECT_TRUE(look->getImage()->isTransparent());
        EXPECT_EQ(look->getMode(), static_cast<GLenum>(GL_MODULATE));
        const GphAnimatedTexture* digits = panel.getDigits()->getRect()->getAnimatedTexture();
        ASSERT_EQ(digits->getFrameCount(), 10u);
        EXPECT_EQ(digits->getFrames().at(9)->getMode(), static_cast<GLenum>(GL_DECAL));
        if (soundStarted) {
            for (const char* wav : {"pdaarrive.wav", "pdaaway.wav", "chimes.wav"}) {
                EXPECT_NE(effectFor(wav), nullptr) << wav;
            }
        }
    }
    EXPECT_EQ(effectFor("pdaarrive.wav"), nullptr) << "released with the panel";
    const std::vector<std::string> messages = testsupport::logMessages();
    for (size_t i = before; i < messages.size(); ++i) {
        ADD_FAILURE() << messages[i];
    }
    ASSERT_EQ(0, chdir(PictureDir));
}
