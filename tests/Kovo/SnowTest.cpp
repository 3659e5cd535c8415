#include <gtest/gtest.h>

#include <cmath>

#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "KovoHarness.h"
#include "Kovo/Snow.h"
#include "Kovo/Snowflake.h"

namespace {

class SnowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, GphWindow::getInstance());
        camera = GphWindow::getInstance()->getCamera();
        ASSERT_NE(nullptr, camera);
        camera->setPosition(ShpCoord(0, 0, 0));
    }
    void TearDown() override
    {
        if (camera) camera->setPosition(ShpCoord(0, 0, 0));
    }

    // Every flake inside [cx - 800, cx + 800] x [cy - 600, cy + 600].
    static void expectInside(Snow& snow, double cx, double cy)
    {
        EXPECT_EQ(150, snow.getCount());
        for (GphObject* particle : snow.getParticles()) {
            const ShpCoord& at = *particle->getCoord();
            EXPECT_GE(at.getX(), cx - 800);
            EXPECT_LE(at.getX(), cx + 800);
            EXPECT_GE(at.getY(), cy - 600);
            EXPECT_LE(at.getY(), cy + 600);
        }
    }

    static void expectSnowSpeed(const Snowflake& flake)
    {
        EXPECT_GE(std::abs(flake.getVelocityX()), 26.25);
        EXPECT_LE(std::abs(flake.getVelocityX()), 99.75);
        EXPECT_GE(-flake.getVelocityY(), 105);
        EXPECT_LE(-flake.getVelocityY(), 204.75);
    }

    GphCamera* camera = nullptr;
};

}  // namespace

TEST_F(SnowTest, HundredAndFiftyWhiteFlakesAroundTheView)
{
    Snow snow(camera, -14);
    EXPECT_EQ(camera, snow.getCamera());
    expectInside(snow, 0, 0);
    bool left = false, right = false;
    for (GphObject* particle : snow.getParticles()) {
        Snowflake* flake = dynamic_cast<Snowflake*>(particle);
        ASSERT_NE(nullptr, flake);
        EXPECT_EQ(-14, flake->getCoord()->getZ());
        EXPECT_GE(flake->getLength(), 2);
        EXPECT_LE(flake->getLength(), 4);
        EXPECT_EQ(flake->getLength(), flake->getWidth());
        EXPECT_LT(flake->getCoord()->getX(), 800) << "placed within the 1600 span";
        EXPECT_LT(flake->getCoord()->getY(), 600) << "placed within the 1200 span";
        float r, g, b;
        flake->getColor(r, g, b);
        EXPECT_EQ(3.0f, r + g + b);
        EXPECT_FLOAT_EQ(1.0f, flake->getAlpha());
        EXPECT_EQ(nullptr, flake->getAnimatedTexture());
        expectSnowSpeed(*flake);
        left = left || flake->getVelocityX() < 0;
        right = right || flake->getVelocityX() > 0;
    }
    EXPECT_TRUE(left && right);
}

TEST_F(SnowTest, FlakesDriftAndFallAndNeverLeaveNorGo)
{
    Snow snow(camera, -17);
    Snowflake* flake = dynamic_cast<Snowflake*>(snow.getParticles().front());
    flake->setCoord(ShpCoord(0, 0, -17));
    flake->setVelocity(50, -150);
    snow.update(0.1);
    EXPECT_DOUBLE_EQ(5, flake->getCoord()->getX());
    EXPECT_DOUBLE_EQ(-15, flake->getCoord()->getY());

    // Ten seconds of snowfall take every flake out at least once.
    for (int i = 0; i < 400; ++i) snow.update(0.025);
    expectInside(snow, 0, 0);
}

TEST_F(SnowTest, AFlakeThatLeavesComesBackAtAnEdgeWithANewSpeed)
{
    Snow snow(camera, -211);
    Snowflake* flake = dynamic_cast<Snowflake*>(snow.getParticles().front());
    for (int trial = 0; trial < 200; ++trial) {
        flake->setCoord(ShpCoord(0, -700, -211));
        flake->setVelocity(0, 0);
        snow.update(0);
        const ShpCoord& at = *flake->getCoord();
        const bool top = at.getY() == 599;
        const bool bottom = at.getY() == -590;
        const bool leftEdge = at.getX() == -800;
        const bool rightEdge = at.getX() == 799;
        EXPECT_TRUE(top || bottom || leftEdge || rightEdge) << at.getX() << ", " << at.getY();
        EXPECT_EQ(-211, at.getZ());
        expectSnowSpeed(*flake);
    }
}

TEST_F(SnowTest, RegionFollowsTheCamera)
{
    Snow snow(camera, -14);
    camera->setPosition(ShpCoord(5000, 2000, 0));
    for (int i = 0; i < 400; ++i) snow.update(0.025);
    expectInside(snow, 5000, 2000);
}
