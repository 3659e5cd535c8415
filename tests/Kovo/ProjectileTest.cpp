#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "KovoHarness.h"
#include "Kovo/Projectile.h"

namespace {

using kovotest::restore;
using kovotest::saved;

double rotation(const Projectile& p)
{
    double angle, x, y, z;
    p.getPicture()->getRotation(angle, x, y, z);
    return angle;
}

}  // namespace

TEST(Projectile, IsBuiltAtActorDepthWithItsPictureUpright)
{
    // 20 high and 60 wide: the box and the picture both follow that shape.
    Projectile p(100, 50, 20, 60, 420, 0, 0, "bomb1.pcx");
    EXPECT_EQ(ShpCoord(100, 50, GameConstants::zProjectile),
              ShpCoord(p.getX(), p.getY(), p.getZ()));
    EXPECT_EQ(p.getPicture(), p.getGraphic());
    EXPECT_EQ(ShpCoord(100, 50, GameConstants::zProjectile), *p.getPicture()->getCoord());
    EXPECT_EQ(60, p.getPicture()->getLength()) << "across";
    EXPECT_EQ(20, p.getPicture()->getWidth()) << "up";
    EXPECT_EQ(30, p.getHalfWidth());
    EXPECT_EQ(10, p.getHalfLength());
    double angle, x, y, z;
    p.getPicture()->getRotation(angle, x, y, z);
    EXPECT_EQ(0, x);
    EXPECT_EQ(0, y);
    EXPECT_EQ(1, z);
    EXPECT_EQ("bomb1.pcx", kovotest::frameFile(p.getPicture()->getAnimatedTexture(), 0));
    EXPECT_FALSE(p.isFading());
    EXPECT_FLOAT_EQ(1.0f, p.getAlpha());
    EXPECT_FALSE(p.isSpent());
}

TEST(Projectile, FliesStraightAndSpinsWithoutEverFadingOnItsOwn)
{
    Projectile knife(0, 100, 40, 40, -420, 30, 2000, "bomb1.pcx");
    knife.update(20, 0.02);
    EXPECT_DOUBLE_EQ(-8.4, knife.getX());
    EXPECT_DOUBLE_EQ(100.6, knife.getY());
    EXPECT_DOUBLE_EQ(-8.4, knife.getPicture()->getCoord()->getX());
    EXPECT_DOUBLE_EQ(40, rotation(knife));
    for (int i = 0; i < 200; ++i) knife.update(30, 0.03);
    EXPECT_FLOAT_EQ(1.0f, knife.getAlpha());
    EXPECT_FLOAT_EQ(1.0f, knife.getPicture()->getAlpha());
    EXPECT_FALSE(knife.isSpent());
}

TEST(Projectile, ReboundTurnsBackByKind)
{
    Projectile knife(0, 0, 40, 40, 420, 15, 2000, "bomb1.pcx");
    knife.rebound();
    EXPECT_TRUE(knife.isFading());
    EXPECT_EQ(-105, knife.getVelocityX());
    EXPECT_EQ(-500, knife.getSpin());
    EXPECT_EQ(15, knife.getVelocityY());

    Projectile bullet(0, 0, 16, 16, -420, 0, 0, "bomb1.pcx");
    bullet.rebound();
    EXPECT_EQ(210, bullet.getVelocityX());
    EXPECT_EQ(0, bullet.getSpin());

    Projectile still(0, 0, 16, 16, 0, 0, 0, "bomb1.pcx");
    still.rebound();
    EXPECT_EQ(0, still.getVelocityX());
    EXPECT_TRUE(still.isFading());
    EXPECT_FALSE(still.isSpent()) << "fading has only begun";
}

TEST(Projectile, ARebondedProjectileFadesOutInAbout714Milliseconds)
{
    Projectile bullet(0, 0, 16, 16, 420, 0, 0, "bomb1.pcx");
    bullet.rebound();
    for (int i = 0; i < 7; ++i) bullet.update(100, 0.1);
    EXPECT_NEAR(0.02f, bullet.getAlpha(), 1e-5);
    EXPECT_NEAR(0.02f, bullet.getPicture()->getAlpha(), 1e-5);
    EXPECT_FALSE(bullet.isSpent());
    EXPECT_DOUBLE_EQ(-147, bullet.getX()) << "back at half speed";
    bullet.update(100, 0.1);
    EXPECT_FLOAT_EQ(0.0f, bullet.getAlpha()) << "never below 0";
    EXPECT_TRUE(bullet.isSpent());
}

TEST(Projectile, SavedBlockRoundTripsAndKeepsThePictureShape)
{
    Projectile p(100, 50, 20, 60, -420, 12.5, 2000, "bomb1.pcx");
    p.update(10, 0.01);
    const std::string block = saved(p);
    EXPECT_EQ("<PROJECTILE> -420 12.5 2000 <SPRITE> 95.8 50.125 -41 20 60 1 </SPRITE>\n"
              "</PROJECTILE>\n",
              block);

    Projectile fresh(0, 0, 20, 60, 0, 0, 0, "bomb1.pcx");
    fresh.rebound();
    ASSERT_EQ(0, restore(fresh, block));
    EXPECT_EQ(-420, fresh.getVelocityX());
    EXPECT_EQ(12.5, fresh.getVelocityY());
    EXPECT_EQ(2000, fresh.getSpin());
    EXPECT_EQ(60, fresh.getPicture()->getLength());
    EXPECT_EQ(20, fresh.getPicture()->getWidth());
    EXPECT_EQ(block, saved(fresh));
}

TEST(Projectile, TruncatedOrCorruptBlocksFailAndChangeNothing)
{
    Projectile p(100, 50, 16, 16, -420, 12.5, 2000, "bomb1.pcx");
    const std::string block = saved(p);
    for (const std::string& cut : kovotest::truncations(block)) {
        SCOPED_TRACE(cut);
        Projectile fresh(1, 2, 16, 16, 3, 4, 5, "bomb1.pcx");
        EXPECT_EQ(-1, restore(fresh, cut));
        EXPECT_EQ(1, fresh.getX());
        EXPECT_EQ(3, fresh.getVelocityX());
        EXPECT_EQ(5, fresh.getSpin());
    }
    Projectile fresh(1, 2, 16, 16, 3, 4, 5, "bomb1.pcx");
    EXPECT_EQ(-1, restore(fresh, "<PROJECTILE> 1 2 3 <SPRITE> 1 2 3 4 5 yes </SPRITE> "
                                 "</PROJECTILE>"));
    EXPECT_EQ(3, fresh.getVelocityX());
}
