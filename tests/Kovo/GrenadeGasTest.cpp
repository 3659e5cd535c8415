#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "Base/App/AppBase.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "Common/Map.h"
#include "Common/Sprite.h"
#include "KovoHarness.h"
#include "Kovo/GrenadeGas.h"
#include "Kovo/GrenadeGasParticle.h"
#include "Kovo/Player.h"

namespace {

class GrenadeGasTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kovotest::stopAllEffects();
        grenade.setPosition(200, 100, GameConstants::grenadeDepth);
    }
    void TearDown() override { kovotest::stopAllEffects(); }

    std::unique_ptr<Map> room(const std::string& barriers = "")
    {
        auto map = std::make_unique<Map>(&app, nullptr, &hero);
        std::istringstream in("<MAP_ID> 1 </MAP_ID> <MAP_WIDTH> 2000 </MAP_WIDTH> "
                              "<MAP_HEIGHT> 1000 </MAP_HEIGHT> <GRAVITY> 2000 </GRAVITY> " +
                              barriers + " </MAP>");
        EXPECT_EQ(0, map->read(in));
        return map;
    }

    template <class F>
    static void forEachPuff(GrenadeGas& gas, F check)
    {
        for (GphObject* particle : gas.getParticles()) {
            GrenadeGasParticle* puff = dynamic_cast<GrenadeGasParticle*>(particle);
            ASSERT_NE(nullptr, puff);
            check(*puff);
        }
    }

    AppBase app;
    Player hero{&app};
    Sprite grenade;
};

}  // namespace

TEST_F(GrenadeGasTest, FortyPuffsAroundTheBurstAndACentreAboveIt)
{
    auto map = room();
    std::srand(11);
    const int vxDraw = std::rand() % 20, vyDraw = std::rand() % 20, sideDraw = std::rand() % 25;
    const bool negative = std::rand() % 2 == 0;
    std::srand(11);
    GrenadeGas gas(map.get(), &grenade);

    EXPECT_EQ(40, gas.getCount());
    EXPECT_EQ(ShpCoord(200, 130, GameConstants::grenadeDepth), gas.getCentre());
    EXPECT_FALSE(gas.isFinished());

    GrenadeGasParticle* first = dynamic_cast<GrenadeGasParticle*>(gas.getParticles().front());
    ASSERT_NE(nullptr, first);
    const double vx = (negative ? -1 : 1) * vxDraw * 105.0 / 20 * 0.2;
    const double vy = vyDraw * 210.0 / 20 * 0.2;
    EXPECT_DOUBLE_EQ(vx, first->getVelocityX());
    EXPECT_DOUBLE_EQ(vy, first->getVelocityY());
    EXPECT_EQ(sideDraw + 20, first->getLength());

    forEachPuff(gas, [](const GrenadeGasParticle& puff) {
        EXPECT_EQ("smoke.pcx", kovotest::frameFile(puff.getAnimatedTexture(), 0));
        EXPECT_FLOAT_EQ(0.5f, puff.getAlpha());
        EXPECT_DOUBLE_EQ(-0.21, puff.getAlphaRate());
        EXPECT_GE(puff.getLength(), 20);
        EXPECT_LE(puff.getLength(), 44);
        EXPECT_EQ(puff.getLength(), puff.getWidth());
        EXPECT_LE(std::abs(puff.getVelocityX()), 19 * 1.05 + 1e-9);
        EXPECT_GE(puff.getVelocityY(), 0);
        EXPECT_DOUBLE_EQ(200 + 0.15 * puff.getVelocityX(), puff.getCoord()->getX());
        EXPECT_DOUBLE_EQ(100 + 0.15 * puff.getVelocityY(), puff.getCoord()->getY());
        EXPECT_EQ(GameConstants::grenadeDepth, puff.getCoord()->getZ());
    });
}

TEST_F(GrenadeGasTest, HissesOnceAndFadesOutInAboutTwoAndAThirdSeconds)
{
    auto map = room();
    GrenadeGas gas(map.get(), &grenade);
    EXPECT_FALSE(kovotest::isPlaying("gas.wav"));
    gas.update(0.03);
    EXPECT_TRUE(kovotest::isPlaying("gas.wav"));
    EXPECT_TRUE(gas.isSoundPlayed());
    EXPECT_EQ(ShpCoord(200, 130, GameConstants::grenadeDepth),
              kovotest::effectFor("gas.wav")->getPosition());
    kovotest::stopAllEffects();
    for (int i = 1; i < 75; ++i) gas.update(0.03);  // 2.25 s
    EXPECT_FALSE(kovotest::isPlaying("gas.wav")) << "played once only";
    EXPECT_EQ(40, gas.getCount());
    for (int i = 75; i < 80; ++i) gas.update(0.03);  // 2.4 s
    EXPECT_TRUE(gas.isFinished());
}

TEST_F(GrenadeGasTest, WallsAndCeilingsHoldTheCloudBack)
{
    // A wall whose near face stands 5 to the right of the burst, a ceiling 60 above it.
    auto map = room("<WALL> <BARRIER> <EDGES> 205 245 1000 0 </EDGES> </BARRIER> </WALL> "
                    "<CEILING> <BARRIER> <EDGES> 0 2000 200 160 </EDGES> </BARRIER> </CEILING>");
    int stopped = 0;
    for (int trial = 0; trial < 5; ++trial) {
        GrenadeGas gas(map.get(), &grenade);
        std::map<const GphObject*, double> before;
        for (GphObject* puff : gas.getParticles()) before[puff] = puff->getCoord()->getX();
        for (int i = 0; i < 70; ++i) {
            gas.update(0.03);
            forEachPuff(gas, [&](const GrenadeGasParticle& puff) {
                const double x = puff.getCoord()->getX();
                // A puff that reaches the wall stops with its centre on the wall's face.
                if (before[&puff] < 205) {
                    EXPECT_LE(x, 205) << "a puff passed into the wall";
                    if (x == 205) ++stopped;
                }
                before[&puff] = x;
                EXPECT_LE(puff.getCoord()->getY() + puff.getHalfWidth(), 160 + 1e-9)
                    << "a puff rose through the ceiling";
            });
        }
    }
    EXPECT_GT(stopped, 0) << "no puff reached the wall";
}
