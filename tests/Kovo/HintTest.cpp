#include <gtest/gtest.h>

#include <GL/gl.h>

#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "KovoHarness.h"
#include "Kovo/Hint.h"
#include "support/GlContext.h"

namespace {

int brightness(int x, int y)
{
    const auto p = testsupport::readPixel(x, y);
    return p[0] + p[1] + p[2];
}

}  // namespace

TEST(Hint, IsAFolderWithAHiddenPanelAndItsObjective)
{
    Hint hint("folder.pcx", "folder.pcx", "5000.pcx", "objective1-1.pcx", "hint.wav");
    EXPECT_EQ(ItemTypeHint, hint.getType());
    EXPECT_FALSE(hint.isShown());
    EXPECT_EQ("objective1-1.pcx", hint.getObjectiveImage());
    GphRect* panel = hint.getPanel();
    ASSERT_NE(nullptr, panel);
    EXPECT_EQ(400, panel->getLength()) << "across";
    EXPECT_EQ(200, panel->getWidth()) << "up";
    EXPECT_EQ(ShpCoord(0, 0, -10), *panel->getCoord());
    EXPECT_EQ("5000.pcx", kovotest::frameFile(panel->getAnimatedTexture(), 0));

    Hint unnamed("folder.pcx", "folder.pcx", "5000.pcx", "", "");
    EXPECT_EQ("", unnamed.getObjectiveImage());
    EXPECT_EQ(nullptr, unnamed.getSound()) << "no sound file, no sound";
    unnamed.collect(true, true);  // silent, and no harm done
    EXPECT_TRUE(unnamed.isCollected());
}

TEST(Hint, PanelDrawsWhereItIsShownAndOnlyWhileShown)
{
    GphWindow* window = GphWindow::getInstance();
    ASSERT_NE(nullptr, window);
    // As a cut-scene or a character hands it over: the folder all but invisible.
    Hint hint("folder.pcx", "folder.pcx", "5000.pcx", "", "hint.wav");
    hint.setPosition(-300, -250, GameConstants::zItem);
    hint.collect(true, false);
    hint.setAlpha(0.02f);
    EXPECT_FALSE(kovotest::isPlaying("hint.wav"));

    glClearColor(0, 0, 0, 0);
    window->clear();
    hint.draw();
    EXPECT_EQ(0, brightness(400 + 150, 300 + 50));

    hint.show(ShpCoord(150, 50, GameConstants::hintDepth));
    EXPECT_TRUE(hint.isShown());
    EXPECT_EQ(ShpCoord(150, 50, GameConstants::hintDepth), *hint.getPanel()->getCoord());
    window->clear();
    hint.draw();
    EXPECT_GT(brightness(400 + 150, 300 + 50), 0) << "the panel's centre";
    EXPECT_GT(brightness(400 + 150 - 120, 300 + 50 + 40), 0) << "left of and above its centre";
    EXPECT_EQ(0, brightness(400 + 150, 300 + 50 + 110)) << "above its 200 units";

    hint.hide();
    EXPECT_FALSE(hint.isShown());
    window->clear();
    hint.draw();
    EXPECT_EQ(0, brightness(400 + 150, 300 + 50));

    // Shown again any number of times.
    hint.show(ShpCoord(0, 0, GameConstants::hintDepth));
    window->clear();
    hint.draw();
    EXPECT_GT(brightness(400, 300), 0);
}
