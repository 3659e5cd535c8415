#include <sstream>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphBillboard.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Common/PanelDigits.h"
#include "Common/ScorePanel.h"
#include "PanelHarness.h"

using namespace paneltest;

namespace {

// The box's centre while the camera is at (CamX, CamY).
constexpr double Bx = CamX - 300;
constexpr double By = CamY + 250;

class ScorePanelTest : public PanelTest {
protected:
    void drawPanel(ScorePanel& panel)
    {
        clearFrame();
        panel.draw();
    }
};

}  // namespace

TEST_F(ScorePanelTest, BoxShowsScoreLivesAndGrenadesRightAligned)
{
    ScorePanel panel(player);
    player->setScore(1250);
    player->setLives(3);
    player->setGrenades(12);
    drawPanel(panel);

    EXPECT_TRUE(near(colourAt(Bx - 60, By + 30), BoxColour)) << "the box behind the numbers";
    // Score: 0, 5, 2, 1 from the right, ten apart; nothing further left.
    EXPECT_EQ(digitAt(Bx + 61, By + 21), 0);
    EXPECT_EQ(digitAt(Bx + 51, By + 21), 5);
    EXPECT_EQ(digitAt(Bx + 41, By + 21), 2);
    EXPECT_EQ(digitAt(Bx + 31, By + 21), 1);
    EXPECT_TRUE(near(colourAt(Bx + 21, By + 21), BoxColour));
    // Lives and grenades on one line.
    EXPECT_EQ(digitAt(Bx - 16, By - 7), 3);
    EXPECT_TRUE(near(colourAt(Bx - 26, By - 7), BoxColour));
    EXPECT_EQ(digitAt(Bx + 61, By - 7), 2);
    EXPECT_EQ(digitAt(Bx + 51, By - 7), 1);
    EXPECT_TRUE(near(colourAt(Bx + 41, By - 7), BoxColour));
    // Each digit is 10 by 20: its own column and rows, and not beyond.
    EXPECT_EQ(digitAt(Bx + 65, By + 30), 0);
    EXPECT_EQ(digitAt(Bx + 65, By + 12), 0);
    EXPECT_TRUE(near(colourAt(Bx + 61, By + 32), BoxColour));

    player->setScore(0);
    player->setLives(10);
    drawPanel(panel);
    EXPECT_EQ(digitAt(Bx + 61, By + 21), 0);
    EXPECT_TRUE(near(colourAt(Bx + 51, By + 21), BoxColour)) << "score 0 is a single digit";
    EXPECT_EQ(digitAt(Bx - 16, By - 7), 0);
    EXPECT_EQ(digitAt(Bx - 26, By - 7), 1);
}

TEST_F(ScorePanelTest, PanelKeepsItsPlaceOnTheScreenWhenTheCameraMoves)
{
    ScorePanel panel(player);
    player->setScore(7);
    panel.setTimer(1, 2);
    drawPanel(panel);
    EXPECT_EQ(digitAt(Bx + 61, By + 21), 7);

    setCamera(CamX - 333, CamY + 4444);
    drawPanel(panel);
    const double dx = -333;
    const double dy = 4444;
    EXPECT_EQ(panel.getBox()->getCoord()->getX(), Bx + dx);
    EXPECT_EQ(panel.getBox()->getCoord()->getY(), By + dy);
    EXPECT_EQ(digitAt(Bx + 61 + dx, By + 21 + dy, CamX + dx, CamY + dy), 7);
    EXPECT_TRUE(near(colourAt(Bx - 60 + dx, By - 27 + dy, CamX + dx, CamY + dy), BarColour));
    EXPECT_TRUE(near(colourAt(Bx - 60 + dx, By + 30 + dy, CamX + dx, CamY + dy), BoxColour));
}

TEST_F(ScorePanelTest, PowerUpBarShrinksTowardsItsLeftEnd)
{
    ScorePanel panel(player);
    // No power-up: no bar.
    drawPanel(panel);
    EXPECT_TRUE(near(colourAt(Bx - 65, By - 27), BoxColour));

    // Half the time left: 70 long from bx - 70.
    panel.setTimer(7500, 15000);
    drawPanel(panel);
    EXPECT_DOUBLE_EQ(panel.getTimerBar()->getLength(), 70.0);
    EXPECT_DOUBLE_EQ(panel.getTimerBar()->getCoord()->getX(), Bx - 35);
    EXPECT_TRUE(near(colourAt(Bx - 69, By - 27), BarColour));
    EXPECT_TRUE(near(colourAt(Bx - 2, By - 27), BarColour));
    EXPECT_TRUE(near(colourAt(Bx + 2, By - 27), BoxColour));
    EXPECT_TRUE(near(colourAt(Bx - 35, By - 27 + 4), BoxColour)) << "6 high";
    EXPECT_TRUE(near(colourAt(Bx - 71, By - 27), BoxColour)) << "the left end stays";

    // Full: 140 long.
    panel.setTimer(15000, 15000);
    drawPanel(panel);
    EXPECT_TRUE(near(colourAt(Bx + 68, By - 27), BarColour));
    EXPECT_TRUE(near(colourAt(Bx + 71, By - 27), BoxColour));

    // Run out.
    panel.setTimer(0, 15000);
    drawPanel(panel);
    EXPECT_TRUE(near(colourAt(Bx - 65, By - 27), BoxColour));

    // Time left without a full time to compare it with shows no bar rather than one of
    // endless length.
    panel.setTimer(500, 0);
    drawPanel(panel);
    EXPECT_TRUE(near(colourAt(Bx - 65, By - 27), BoxColour));
    EXPECT_TRUE(near(colourAt(Bx + 2, By - 27), BoxColour));
}

TEST_F(ScorePanelTest, HiddenBoxDrawsNothingUntilShownAgain)
{
    ScorePanel panel(player);
    player->setScore(4);
    panel.setTimer(10, 10);
    clearFrame();
    const Rgb background = colourAt(Bx, By);
    panel.getBox()->hide();
    drawPanel(panel);
    EXPECT_EQ(colourAt(Bx - 60, By + 30), background);
    EXPECT_EQ(colourAt(Bx + 61, By + 21), background);
    EXPECT_EQ(colourAt(Bx - 60, By - 27), background);

    panel.show();
    drawPanel(panel);
    EXPECT_EQ(digitAt(Bx + 61, By + 21), 4);
}

TEST_F(ScorePanelTest, MinusSignTakesAPlaceAndKeepsThePreviousDigit)
{
    ScorePanel panel(player);
    player->setScore(-5);
    drawPanel(panel);
    EXPECT_EQ(digitAt(Bx + 61, By + 21), 5);
    EXPECT_EQ(digitAt(Bx + 51, By + 21), 5);
    EXPECT_TRUE(near(colourAt(Bx + 41, By + 21), BoxColour));
}

TEST_F(ScorePanelTest, SavedFormHoldsTheTimerValuesAsLastSet)
{
    ScorePanel panel(player);
    std::ostringstream out;
    EXPECT_EQ(panel.writeState(out), 0);
    EXPECT_EQ(out.str(), "0 0 ");
    panel.setTimer(7500, 15000);
    out.str("");
    EXPECT_EQ(panel.writeState(out), 0);
    EXPECT_EQ(out.str(), "7500 15000 ");

    ScorePanel restored(player);
    std::istringstream in(out.str() + "next");
    EXPECT_EQ(restored.readState(in), 0);
    EXPECT_EQ(restored.getTimerValue(), 7500);
    EXPECT_EQ(restored.getTimerMaximum(), 15000);
    std::string rest;
    in >> rest;
    EXPECT_EQ(rest, "next") << "reads exactly its two values";

    for (const char* broken : {"", "12", "12 x", "x 12"}) {
        std::istringstream bad(broken);
        EXPECT_EQ(restored.readState(bad), -1) << broken;
        EXPECT_EQ(restored.getTimerValue(), 7500) << broken;
        EXPECT_EQ(restored.getTimerMaximum(), 15000) << broken;
    }
    EXPECT_TRUE(logged("Failed to read score panel"));
}

TEST_F(ScorePanelTest, PicturesOfTheGameDataLoadOpaqueThroughDecal)
{
    ASSERT_EQ(0, chdir(dataDir.c_str()));
    const size_t before = testsupport::logMessages().size();
    {
        ScorePanel panel(player);
        panel.draw();
        auto expectPicture = [](const GphAnimatedTexture* animation, unsigned frame, const std::string& name) {
            ASSERT_NE(animation, nullptr) << name;
            auto it = animation->getFrames().find(frame);
            ASSERT_NE(it, animation->getFrames().end()) << name;
            const GphTexture* texture = it->second;
            EXPECT_EQ(texture->getMode(), static_cast<GLenum>(GL_DECAL)) << name;
            ASSERT_NE(texture->getImage(), nullptr) << name;
            EXPECT_EQ(texture->getImage()->getFileName(), name);
            EXPECT_FALSE(texture->getImage()->isTransparent()) << name;
        };
        expectPicture(panel.getBox()->getAnimatedTexture(), 0, "scorebox.pcx");
        expectPicture(panel.getTimerBar()->getAnimatedTexture(), 0, "timer.pcx");
        const GphAnimatedTexture* digits = panel.getDigits()->getRect()->getAnimatedTexture();
        ASSERT_EQ(digits->getFrameCount(), 10u);
        for (unsigned n = 0; n < 10; ++n) expectPicture(digits, n, std::to_string(n) + ".pcx");
    }
    const std::vector<std::string> messages = testsupport::logMessages();
    for (size_t i = before; i < messages.size(); ++i) {
        ADD_FAILURE() << messages[i];
    }
    ASSERT_EQ(0, chdir(PictureDir));
}
