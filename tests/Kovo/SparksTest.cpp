#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "KovoHarness.h"
#include "Kovo/Projectile.h"
#include "Kovo/SparkParticle.h"
#include "Kovo/Sparks.h"

namespace {

template <class F>
void forEachSpark(Sparks& sparks, F check)
{
    for (GphObject* particle : sparks.getParticles()) {
        SparkParticle* spark = dynamic_cast<SparkParticle*>(particle);
        ASSERT_NE(nullptr, spark);
        check(*spark);
    }
}

void expectColour(const SparkParticle& spark, float r, float g, float b)
{
    float red, green, blue;
    spark.getColor(red, green, blue);
    EXPECT_FLOAT_EQ(r, red);
    EXPECT_FLOAT_EQ(g, green);
    EXPECT_FLOAT_EQ(b, blue);
}

}  // namespace

TEST(Sparks, FortyFlyBackFromAProjectile)
{
    Projectile bullet(60, 30, 16, 16, 420, 0, 0, "bomb1.pcx");
    Sparks sparks(&bullet);
    EXPECT_EQ(40, sparks.getCount());
    EXPECT_EQ(ShpCoord(60, 30, GameConstants::zProjectile), sparks.getCentre());
    bool up = false, down = false;
    forEachSpark(sparks, [&](const SparkParticle& s) {
        EXPECT_LE(s.getVelocityX(), 0) << "against the bullet's motion";
        EXPECT_LE(std::abs(s.getVelocityX()), 19 * 1.05 + 1e-9);
        EXPECT_LE(std::abs(s.getVelocityY()), 19 * 2.1 + 1e-9);
        up = up || s.getVelocityY() > 0;
        down = down || s.getVelocityY() < 0;
        EXPECT_TRUE(s.getLength() == 1 || s.getLength() == 2) << s.getLength();
        EXPECT_EQ(s.getLength(), s.getWidth());
        EXPECT_EQ(nullptr, s.getAnimatedTexture());
        expectColour(s, 1.0f, 0.8f, 0.0f);
        EXPECT_FLOAT_EQ(1.0f, s.getAlpha());
        EXPECT_DOUBLE_EQ(-1.8, s.getAlphaRate());
        EXPECT_DOUBLE_EQ(60 + 0.15 * s.getVelocityX(), s.getCoord()->getX());
        EXPECT_DOUBLE_EQ(30 + 0.15 * s.getVelocityY(), s.getCoord()->getY());
    });
    EXPECT_TRUE(up && down) << "the sign draw goes to the vertical speed";

    // Gone in about 0.55 s.
    for (int i = 0; i < 10; ++i) sparks.update(0.05);
    EXPECT_EQ(40, sparks.getCount());
    for (int i = 0; i < 2; ++i) sparks.update(0.05);
    EXPECT_TRUE(sparks.isFinished());
}

TEST(Sparks, AProjectileNotMovingRightSendsThemRight)
{
    for (double vx : {0.0, -420.0}) {
        SCOPED_TRACE(vx);
        Projectile knife(0, 0, 40, 40, vx, 0, 2000, "bomb1.pcx");
        Sparks sparks(&knife);
        bool anyMoving = false;
        forEachSpark(sparks, [&](const SparkParticle& s) {
            EXPECT_GE(s.getVelocityX(), 0);
            anyMoving = anyMoving || s.getVelocityX() > 0;
        });
        EXPECT_TRUE(anyMoving);
    }
}

TEST(Sparks, EightyYellowSparksLastThreeTimesAsLongAtAPoint)
{
    Sparks sparks(-40, 20, -30);
    EXPECT_EQ(80, sparks.getCount());
    EXPECT_EQ(ShpCoord(-40, 20, -30), sparks.getCentre());
    bool left = false, right = false;
    forEachSpark(sparks, [&](const SparkParticle& s) {
        EXPECT_TRUE(s.getLength() == 2 || s.getLength() == 3) << s.getLength();
        EXPECT_LE(std::abs(s.getVelocityX()), 19 * 2.1 + 1e-9);
        EXPECT_GE(s.getVelocityY(), 0) << "the sign draw goes to the horizontal speed";
        EXPECT_LE(s.getVelocityY(), 19 * 4.2 + 1e-9);
        left = left || s.getVelocityX() < 0;
        right = right || s.getVelocityX() > 0;
        expectColour(s, 1.0f, 1.0f, 0.0f);
        EXPECT_DOUBLE_EQ(-0.6, s.getAlphaRate());
        EXPECT_DOUBLE_EQ(-40 + 0.2 * s.getVelocityX(), s.getCoord()->getX());
        EXPECT_DOUBLE_EQ(20 + 0.2 * s.getVelocityY(), s.getCoord()->getY());
        EXPECT_EQ(-30, s.getCoord()->getZ());
    });
    EXPECT_TRUE(left && right);

    for (int i = 0; i < 32; ++i) sparks.update(0.05);  // 1.6 s: alpha 0.04
    EXPECT_EQ(80, sparks.getCount());
    for (int i = 0; i < 2; ++i) sparks.update(0.05);  // 1.7 s
    EXPECT_TRUE(sparks.isFinished());
}
