#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>

#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "Common/Sprite.h"
#include "KovoHarness.h"
#include "Kovo/Smoke.h"
#include "Kovo/SmokeParticle.h"

namespace {

class SmokeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kovotest::stopAllEffects();
        bomb.setPosition(100, 50, GameConstants::zProjectile);
    }
    void TearDown() override { kovotest::stopAllEffects(); }

    Sprite bomb;
};

SmokeParticle* particle(Smoke& smoke, int index)
{
    auto it = smoke.getParticles().begin();
    std::advance(it, index);
    return dynamic_cast<SmokeParticle*>(*it);
}

}  // namespace

TEST_F(SmokeTest, FortyPuffsThenTheFlashOnTop)
{
    std::srand(7);
    const int vxDraw = std::rand() % 20, vyDraw = std::rand() % 20, sideDraw = std::rand() % 25;
    const bool negative = std::rand() % 2 == 0;
    std::srand(7);
    Smoke smoke(&bomb);

    ASSERT_EQ(41, smoke.getCount());
    SmokeParticle* flash = smoke.getFlash();
    ASSERT_NE(nullptr, flash);
    EXPECT_EQ(flash, particle(smoke, 40)) << "added after the puffs";
    EXPECT_EQ(ShpCoord(100, 50, GameConstants::zProjectile), *flash->getCoord());
    EXPECT_EQ(50, flash->getLength());
    EXPECT_FLOAT_EQ(1.0f, flash->getAlpha());
    EXPECT_EQ(0, flash->getVelocityX());
    EXPECT_EQ("explosion.pcx", kovotest::frameFile(flash->getAnimatedTexture(), 0));

    // The first puff is made from the first four draws.
    SmokeParticle* first = particle(smoke, 0);
    const double vx = (negative ? -1 : 1) * vxDraw * 105.0 / 20 * 0.2;
    const double vy = vyDraw * 210.0 / 20 * 0.2;
    EXPECT_DOUBLE_EQ(vx, first->getVelocityX());
    EXPECT_DOUBLE_EQ(vy, first->getVelocityY());
    EXPECT_EQ(sideDraw + 20, first->getLength());
    EXPECT_DOUBLE_EQ(100 + 0.15 * vx, first->getCoord()->getX());
    EXPECT_DOUBLE_EQ(50 + 0.15 * vy, first->getCoord()->getY());

    for (int i = 0; i < 40; ++i) {
        SmokeParticle* puff = particle(smoke, i);
        ASSERT_NE(nullptr, puff);
        EXPECT_FLOAT_EQ(0.5f, puff->getAlpha());
        EXPECT_GE(puff->getLength(), 20);
        EXPECT_LE(puff->getLength(), 44);
        EXPECT_EQ(puff->getLength(), puff->getWidth());
        EXPECT_LE(std::abs(puff->getVelocityX()), 19 * 1.05 + 1e-9);
        EXPECT_GE(puff->getVelocityY(), 0);
        EXPECT_LE(puff->getVelocityY(), 19 * 2.1 + 1e-9);
        EXPECT_DOUBLE_EQ(-0.21, puff->getAlphaRate());
        EXPECT_EQ("smoke2.pcx", kovotest::frameFile(puff->getAnimatedTexture(), 0));
    }
    EXPECT_EQ(ShpCoord(100, 80, GameConstants::zProjectile), smoke.getCentre())
        << "the centre lies 30 above the burst";
    EXPECT_FALSE(smoke.isFinished());
}

TEST_F(SmokeTest, SoundPlaysOnTheFirstUpdateOnly)
{
    Smoke smoke(&bomb);
    EXPECT_FALSE(kovotest::isPlaying("explosion.wav"));
    EXPECT_FALSE(smoke.isSoundPlayed());
    smoke.update(0.03);
    EXPECT_TRUE(kovotest::isPlaying("explosion.wav"));
    EXPECT_TRUE(smoke.isSoundPlayed());
    EXPECT_EQ(ShpCoord(100, 80, GameConstants::zProjectile),
              kovotest::effectFor("explosion.wav")->getPosition());
    kovotest::stopAllEffects();
    smoke.update(0.03);
    EXPECT_FALSE(kovotest::isPlaying("explosion.wav"));
}

TEST_F(SmokeTest, FlashGoesWithinAQuarterSecondPuffsAfterAboutTwoAndAThird)
{
    Smoke smoke(&bomb);
    for (int i = 0; i < 7; ++i) smoke.update(0.03);  // 0.21 s: the flash is at 0.9559
    ASSERT_NE(nullptr, smoke.getFlash());
    EXPECT_EQ(41, smoke.getCount());
    EXPECT_EQ(ShpCoord(100, 50, GameConstants::zProjectile), *smoke.getFlash()->getCoord());
    smoke.update(0.03);  // 0.24 s: 0.9496
    EXPECT_EQ(nullptr, smoke.getFlash());
    EXPECT_EQ(40, smoke.getCount());

    // Puffs fall from 0.5 below 0.01 after 2.33 s.
    for (int i = 8; i < 75; ++i) smoke.update(0.03);  // 2.25 s
    EXPECT_EQ(40, smoke.getCount());
    EXPECT_FALSE(smoke.isFinished());
    SmokeParticle* puff = particle(smoke, 0);
    EXPECT_NEAR(0.5 - 0.21 * 2.25, puff->getAlpha(), 1e-4);
    for (int i = 75; i < 80; ++i) smoke.update(0.03);  // 2.4 s
    EXPECT_EQ(0, smoke.getCount());
    EXPECT_TRUE(smoke.isFinished());
}
