#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "Base/Gph/GphRect.h"
#include "Common/GameConstants.h"
#include "KovoHarness.h"
#include "Kovo/Grenade.h"

using kovotest::restore;
using kovotest::saved;

TEST(Grenade, StartsStillAndFallingAndKeepsItsSpeeds)
{
    Grenade grenade("grenade.pcx", "grenade.pcx", "grenade.wav");
    EXPECT_EQ(ItemTypeGrenade, grenade.getType());
    EXPECT_EQ(0, grenade.getVelocityX());
    EXPECT_EQ(0, grenade.getVelocityY());
    EXPECT_TRUE(grenade.falls());
    grenade.setVelocityX(-350);
    grenade.setVelocityY(420);
    grenade.addVelocityY(-20.5);
    grenade.setFalls(false);
    EXPECT_EQ(-350, grenade.getVelocityX());
    EXPECT_EQ(399.5, grenade.getVelocityY());
    EXPECT_FALSE(grenade.falls());
}

TEST(Grenade, SavedBlockWrapsTheItemsAndComesBackFalling)
{
    Grenade grenade("grenade.pcx", "grenade.pcx", "grenade.wav");
    grenade.setPosition(200, 90, GameConstants::grenadeDepth);
    grenade.setVelocityX(315.5);
    grenade.setVelocityY(-12.25);
    grenade.setFalls(false);
    const std::string block = saved(grenade);
    EXPECT_EQ("<GRENADE> 315.5 -12.25 <ITEM> 0 1 <SPRITE> 200 90 -30 40 40 1 </SPRITE>\n"
              "</ITEM>\n</GRENADE>\n",
              block);

    Grenade fresh("grenade.pcx", "grenade.pcx", "grenade.wav");
    ASSERT_EQ(0, restore(fresh, block));
    EXPECT_EQ(315.5, fresh.getVelocityX());
    EXPECT_EQ(-12.25, fresh.getVelocityY());
    EXPECT_TRUE(fresh.falls()) << "the falls flag is not saved";
    EXPECT_EQ(200, fresh.getX());
    EXPECT_EQ(block, saved(fresh));
}

TEST(Grenade, TruncatedOrCorruptBlocksFail)
{
    Grenade grenade("grenade.pcx", "grenade.pcx", "grenade.wav");
    grenade.setVelocityX(100);
    const std::string block = saved(grenade);
    for (const std::string& cut : kovotest::truncations(block)) {
        SCOPED_TRACE(cut);
        Grenade fresh("grenade.pcx", "grenade.pcx", "grenade.wav");
        fresh.setPosition(5, 6, GameConstants::zItem);
        EXPECT_EQ(-1, restore(fresh, cut));
        EXPECT_EQ(0, fresh.getVelocityX());
        EXPECT_EQ(5, fresh.getX());
    }
    Grenade fresh("grenade.pcx", "grenade.pcx", "grenade.wav");
    EXPECT_EQ(-1, restore(fresh, "<GRENADE> 1 fast <ITEM> 0 1 <SPRITE> 0 0 0 40 40 1 "
                                 "</SPRITE> </ITEM> </GRENADE>"));
    EXPECT_EQ(0, fresh.getVelocityX());
}
