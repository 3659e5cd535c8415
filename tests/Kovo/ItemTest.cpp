#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>
#include <sstream>
#include <string>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "KovoHarness.h"
#include "Kovo/Armor.h"
#include "Kovo/Diamond.h"
#include "Kovo/ExtraLife.h"
#include "Kovo/GrenadeLauncher.h"
#include "Kovo/Health.h"
#include "Kovo/Phone.h"
#include "Kovo/Shoes.h"
#include "Kovo/Treasure.h"
#include "Kovo/XRayGlasses.h"
#include "support/GlContext.h"

namespace {

class ItemTest : public ::testing::Test {
protected:
    void SetUp() override { kovotest::stopAllEffects(); }
    void TearDown() override { kovotest::stopAllEffects(); }
};

using kovotest::restore;
using kovotest::saved;

// What an item shows: the file of its current picture and that picture's drawn size.
struct Look {
    std::string file;
    double across;
    double up;
};

Look look(const Item& item)
{
    const GphRect* rect = dynamic_cast<const GphRect*>(item.getGraphic());
    if (!rect) return {"", 0, 0};
    return {kovotest::frameFile(rect->getAnimatedTexture(), 0), rect->getLength(),
            rect->getWidth()};
}

double boxLength(const Item& item)
{
    double length, width;
    item.getSize(length, width);
    return length;
}

int brightness(int x, int y)
{
    const auto p = testsupport::readPixel(x, y);
    return p[0] + p[1] + p[2];
}

std::unique_ptr<Treasure> coin()
{
    return std::make_unique<Treasure>(ItemTypeCoin, "coin.pcx", "100.pcx", "coin.wav", 100);
}

}  // namespace

TEST_F(ItemTest, EachClassCarriesItsTypePicturesSizesAndValue)
{
    struct Case {
        std::unique_ptr<Item> item;
        ItemType type;
        std::string picture, popup;
        double side, popupSide;
    };
    Case cases[] = {
        {coin(), 0, "coin.pcx", "100.pcx", 40, 40},
        {std::make_unique<Treasure>(4, "gem_violet.pcx", "2000.pcx", "gem.wav", 2000), 4,
         "gem_violet.pcx", "2000.pcx", 40, 40},
        {std::make_unique<ExtraLife>("bag_of_apples.pcx", "1up.pcx", "victory.wav"), 9,
         "bag_of_apples.pcx", "1up.pcx", 80, 40},
        {std::make_unique<Health>("apple.pcx", "apple_eaten.pcx", "apple.wav"), 10, "apple.pcx",
         "apple_eaten.pcx", 40, 40},
        {std::make_unique<XRayGlasses>("glasses.pcx", "glasses.pcx", "xray_on.wav", 15000), 11,
         "glasses.pcx", "glasses.pcx", 40, 40},
        {std::make_unique<Armor>("tux.pcx", "tux.pcx", "xray_on.wav", 15000), 12, "tux.pcx",
         "tux.pcx", 50, 50},
        {std::make_unique<Diamond>("gem_white.pcx", "gem_white.pcx", "victory2.wav", 0), 13,
         "gem_white.pcx", "gem_white.pcx", 40, 40},
        {std::make_unique<Shoes>("supershoes.pcx", "supershoes.pcx", "xray_on.wav", 15000), 14,
         "supershoes.pcx", "supershoes.pcx", 40, 40},
        {std::make_unique<Phone>("cellphone.pcx", "cellphone.pcx", "robot_off.wav", 7000), 15,
         "cellphone.pcx", "cellphone.pcx", 50, 50},
        {std::make_unique<GrenadeLauncher>("grenadelauncher.pcx", "grenadelauncher.pcx",
                                           "grenadelauncher.wav", 25000),
         16, "grenadelauncher.pcx", "grenadelauncher.pcx", 60, 60},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.picture);
        Item& item = *c.item;
        EXPECT_EQ(c.type, item.getType());
        EXPECT_FALSE(item.isCollected());
        EXPECT_FLOAT_EQ(1.0f, item.getAlpha());
        EXPECT_EQ(GameConstants::zItem, item.getZ());
        EXPECT_EQ(item.getPicture(), item.getGraphic());
        const Look lying = look(item);
        EXPECT_EQ(c.picture, lying.file);
        EXPECT_EQ(c.side, lying.across);
        EXPECT_EQ(c.side, lying.up);
        EXPECT_EQ(c.side, boxLength(item));
        EXPECT_EQ(c.side / 2, item.getHalfWidth());
        EXPECT_EQ(c.popup, kovotest::frameFile(item.getPopup()->getAnimatedTexture(), 0));
        EXPECT_EQ(c.popupSide, item.getPopup()->getLength());
        EXPECT_EQ(GameConstants::zItemPopup, item.getPopup()->getCoord()->getZ());
        EXPECT_NE(nullptr, item.getSound());
    }
    EXPECT_EQ(100, static_cast<Treasure&>(*cases[0].item).getPoints());
    EXPECT_EQ(2000, static_cast<Treasure&>(*cases[1].item).getPoints());
    EXPECT_EQ(15000, static_cast<XRayGlasses&>(*cases[4].item).getDuration());
    EXPECT_EQ(15000, static_cast<Armor&>(*cases[5].item).getDuration());
    EXPECT_EQ(0, static_cast<Diamond&>(*cases[6].item).getValue());
    EXPECT_EQ(15000, static_cast<Shoes&>(*cases[7].item).getDuration());
    EXPECT_EQ(7000, static_cast<Phone&>(*cases[8].item).getDuration());
    EXPECT_EQ(25000, static_cast<GrenadeLauncher&>(*cases[9].item).getDuration());
}

TEST_F(ItemTest, CollectingShowsThePopUpInPlaceAndPlaysTheSoundOnce)
{
    auto item = coin();
    item->setPosition(120, 80, GameConstants::zItem);
    ASSERT_FALSE(kovotest::isPlaying("coin.wav"));

    item->collect(true, true);
    EXPECT_TRUE(item->isCollected());
    EXPECT_EQ(item->getPopup(), item->getGraphic());
    EXPECT_EQ("100.pcx", look(*item).file);
    EXPECT_EQ(GameConstants::zItemPopup, item->getZ());
    EXPECT_EQ(ShpCoord(120, 80, GameConstants::zItemPopup), *item->getPopup()->getCoord());
    EXPECT_TRUE(kovotest::isPlaying("coin.wav"));
    EXPECT_EQ(ShpCoord(120, 80, 0), item->getSound()->getPosition());

    // Without its sound, or with a flag of 0, which is only stored.
    kovotest::stopAllEffects();
    auto silent = coin();
    silent->collect(true, false);
    EXPECT_EQ(silent->getPopup(), silent->getGraphic());
    auto stored = coin();
    stored->collect(false, true);
    EXPECT_FALSE(stored->isCollected());
    EXPECT_EQ(stored->getPicture(), stored->getGraphic());
    EXPECT_FALSE(kovotest::isPlaying("coin.wav"));
}

TEST_F(ItemTest, PopUpRisesAndFadesOutInAboutThreeSeconds)
{
    auto item = coin();
    item->setPosition(0, 0, GameConstants::zItem);
    item->collect(true, true);

    item->update(1.0);
    EXPECT_DOUBLE_EQ(35.0, item->getY());
    EXPECT_FLOAT_EQ(0.65f, item->getAlpha());
    EXPECT_FLOAT_EQ(0.65f, item->getPopup()->getAlpha());
    EXPECT_DOUBLE_EQ(35.0, item->getPopup()->getCoord()->getY());

    // 2.8 s in, 0.02 is left; the next 0.1 s takes it below 0.
    item->update(1.8);
    EXPECT_NEAR(0.02f, item->getAlpha(), 1e-5);
    item->update(0.1);
    EXPECT_FLOAT_EQ(-1.0f, item->getAlpha());
    EXPECT_FLOAT_EQ(0.0f, item->getPopup()->getAlpha());
    const double top = item->getY();
    EXPECT_NEAR(35.0 * 2.9, top, 1e-9);

    // Faded out, it stays where it is.
    item->update(1.0);
    EXPECT_EQ(top, item->getY());
    EXPECT_FLOAT_EQ(-1.0f, item->getAlpha());
}

TEST_F(ItemTest, SetAlphaOfZeroOrLessHidesThePopUpForGood)
{
    auto item = coin();
    item->collect(true, false);
    item->setAlpha(0.4f);
    EXPECT_FLOAT_EQ(0.4f, item->getAlpha());
    EXPECT_FLOAT_EQ(0.4f, item->getPopup()->getAlpha());
    item->setAlpha(0.0f);
    EXPECT_FLOAT_EQ(-1.0f, item->getAlpha());
    EXPECT_FLOAT_EQ(0.0f, item->getPopup()->getAlpha());
    item->setAlpha(-5.0f);
    EXPECT_FLOAT_EQ(-1.0f, item->getAlpha());
    // Above 1 the value is kept, the picture's alpha stops at 1.
    item->setAlpha(3.0f);
    EXPECT_FLOAT_EQ(3.0f, item->getAlpha());
    EXPECT_FLOAT_EQ(1.0f, item->getPopup()->getAlpha());
}

TEST_F(ItemTest, DrawnLyingAndAsPopUpButNotOnceFaded)
{
    GphWindow* window = GphWindow::getInstance();
    ASSERT_NE(nullptr, window);
    auto item = coin();
    item->setPosition(0, 0, GameConstants::zItem);
    glClearColor(0, 0, 0, 0);

    window->clear();
    item->draw();
    EXPECT_GT(brightness(400, 300), 0) << "the lying coin";
    EXPECT_EQ(0, brightness(400, 300 + 30)) << "beyond the 40 x 40 picture";

    item->collect(true, false);
    window->clear();
    item->draw();
    EXPECT_GT(brightness(400, 300), 0) << "the pop-up";

    item->setAlpha(-1.0f);
    window->clear();
    item->draw();
    EXPECT_EQ(0, brightness(400, 300)) << "a faded pop-up";
}

TEST_F(ItemTest, SavedBlockRoundTripsForALyingItem)
{
    auto item = coin();
    item->setPosition(300, 140, GameConstants::zItem);
    const std::string block = saved(*item);
    EXPECT_EQ("<ITEM> 0 1 <SPRITE> 300 140 -40 40 40 1 </SPRITE>\n</ITEM>\n", block);

    auto fresh = coin();
    ASSERT_EQ(0, restore(*fresh, block));
    EXPECT_FALSE(fresh->isCollected());
    EXPECT_EQ(300, fresh->getX());
    EXPECT_EQ(block, saved(*fresh));
}

TEST_F(ItemTest, ARestoredCollectedItemShowsNothingAndIsSilent)
{
    ExtraLife bag("bag_of_apples.pcx", "1up.pcx", "victory.wav");
    bag.setPosition(50, 60, GameConstants::zItem);
    bag.collect(true, false);
    bag.update(1.0);  // halfway through its rise
    // Written as a restore will make it: faded.
    EXPECT_EQ("<ITEM> 1 -1 <SPRITE> 50 95 -13 40 40 1 </SPRITE>\n</ITEM>\n", saved(bag));

    // A block with the pop-up still fading restores it faded all the same.
    ExtraLife fresh("bag_of_apples.pcx", "1up.pcx", "victory.wav");
    ASSERT_EQ(0, restore(fresh, "<ITEM> 1 0.65 <SPRITE> 50 95 -13 40 40 1 </SPRITE>\n</ITEM>\n"));
    EXPECT_TRUE(fresh.isCollected());
    EXPECT_FLOAT_EQ(-1.0f, fresh.getAlpha());
    EXPECT_EQ(fresh.getPopup(), fresh.getGraphic());
    EXPECT_EQ(ShpCoord(50, 95, GameConstants::zItemPopup), *fresh.getPopup()->getCoord());
    EXPECT_FALSE(kovotest::isPlaying("victory.wav"));
    // Both pictures keep their own size after the square that the sprite line gives.
    EXPECT_EQ(80, fresh.getPicture()->getLength());
    EXPECT_EQ(80, fresh.getPicture()->getWidth());
    EXPECT_EQ(40, fresh.getPopup()->getLength());
    EXPECT_EQ(20, fresh.getHalfWidth()) << "the box of the 40 x 40 pop-up";

    // Once faded, a collected item's block is stable.
    const std::string faded = saved(fresh);
    ExtraLife again("bag_of_apples.pcx", "1up.pcx", "victory.wav");
    ASSERT_EQ(0, restore(again, faded));
    EXPECT_EQ(faded, saved(again));
}

TEST_F(ItemTest, TruncatedOrCorruptBlocksFailAndKeepTheItem)
{
    auto item = coin();
    item->setPosition(300, 140, GameConstants::zItem);
    item->collect(true, false);
    const std::string block = saved(*item);
    for (const std::string& cut : kovotest::truncations(block)) {
        SCOPED_TRACE(cut);
        auto fresh = coin();
        fresh->setPosition(7, 8, GameConstants::zItem);
        EXPECT_EQ(-1, restore(*fresh, cut));
        EXPECT_FALSE(fresh->isCollected());
        EXPECT_EQ(fresh->getPicture(), fresh->getGraphic());
        EXPECT_EQ(7, fresh->getX());
    }
    for (const char* corrupt : {"<ITEM> x 1 <SPRITE> 1 2 3 40 40 1 </SPRITE> </ITEM>",
                                "<ITEM> 1 y <SPRITE> 1 2 3 40 40 1 </SPRITE> </ITEM>",
                                "<ITEM> 1 1 <SPRITE> 1 z 3 40 40 1 </SPRITE> </ITEM>"}) {
        SCOPED_TRACE(corrupt);
        auto fresh = coin();
        fresh->setPosition(7, 8, GameConstants::zItem);
        EXPECT_EQ(-1, restore(*fresh, corrupt));
        EXPECT_FALSE(fresh->isCollected());
        EXPECT_EQ(7, fresh->getX());
    }
}
