#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/Layer.h"
#include "Common/Map.h"
#include "Kovo/Player.h"
#include "Kovo/Snow.h"
#include "MapTestSupport.h"

namespace {

using maptest::MapFixture;

class MapCameraTest : public MapFixture {
protected:
    double cameraX() const { return _window->getCamera()->getPosition()->getX(); }
    double cameraY() const { return _window->getCamera()->getPosition()->getY(); }

    // A room of the size with a backdrop, layer 1, 8 and 9 objects, a background and a
    // foreground object, all at (100, 100).
    std::string room(int width, int height) const
    {
        return "<MAP_WIDTH> " + std::to_string(width) + " </MAP_WIDTH> <MAP_HEIGHT> " +
               std::to_string(height) +
               " </MAP_HEIGHT> <IMAGE> 1 map_red.bmp 0 </IMAGE> "
               "<BACKDROP> 100 100 10 10 1 </BACKDROP> <LAYER1_OBJECT> 100 100 10 10 1 "
               "</LAYER1_OBJECT> <LAYER8_OBJECT> 100 100 10 10 1 </LAYER8_OBJECT> "
               "<LAYER9_OBJECT> 100 100 10 10 1 </LAYER9_OBJECT> <BACKGROUND_OBJECT> 100 100 10 "
               "10 1 </BACKGROUND_OBJECT> <FOREGROUND_OBJECT> 100 100 10 10 1 </FOREGROUND_OBJECT> "
               "<FOREGROUND_TILES> <TILE_LAYER> <ROWS> 1 </ROWS> <COLS> 1 </COLS> "
               "<IMAGE> 1 map_yellow.bmp 0 </IMAGE> <TILES> 1 </TILES> </TILE_LAYER> "
               "</FOREGROUND_TILES> <SNOW> 1 </SNOW> </MAP>";
    }

    static ShpCoord at(const GphRect* rect) { return *rect->getCoord(); }
};

}  // namespace

TEST_F(MapCameraTest, PlacementClampsToTheRoomAndMovesDecorationByItsFactor)
{
    std::unique_ptr<Map> map = readMap(room(2000, 1000));
    _window->getCamera()->setPosition(ShpCoord(1234, 567, 0));
    map->placeCamera(0, 0);
    EXPECT_EQ(400.0, cameraX());
    EXPECT_EQ(300.0, cameraY());
    EXPECT_EQ(ShpCoord(100, 100, -219), at(map->getBackdrop()));
    EXPECT_EQ(ShpCoord(100, 100, -218), at(map->getLayerObjects(1).front()));

    std::unique_ptr<Map> far = readMap(room(2000, 1000));
    far->placeCamera(1900, 900);
    EXPECT_EQ(1600.0, cameraX());
    EXPECT_EQ(700.0, cameraY());
    EXPECT_EQ(ShpCoord(1300, 500, -219), at(far->getBackdrop()));
    EXPECT_EQ(ShpCoord(1150, 450, -218), at(far->getLayerObjects(1).front()));
    EXPECT_EQ(ShpCoord(-50, 50, -16), at(far->getLayerObjects(8).front()));
    EXPECT_EQ(ShpCoord(-200, 0, -15), at(far->getLayerObjects(9).front()));
    // Background and foreground objects stay in the world.
    EXPECT_EQ(ShpCoord(100, 100, -205), at(far->getBackgroundObjects().front()));
    EXPECT_EQ(ShpCoord(100, 100, -18), at(far->getForegroundObjects().front()));
    // The snow starts afresh around the new view.
    ASSERT_NE(nullptr, far->getFrontSnow());
    EXPECT_EQ(_window->getCamera(), far->getFrontSnow()->getCamera());
    EXPECT_EQ(0.0, far->getLookOffset());

    // A room narrower than the view: the low bound first, then the high one.
    std::unique_ptr<Map> narrow = readMap(room(600, 500));
    narrow->placeCamera(100, 100);
    EXPECT_EQ(400.0, cameraX());
    EXPECT_EQ(300.0, cameraY());
    narrow->placeCamera(450, 350);
    EXPECT_EQ(200.0, cameraX());
    EXPECT_EQ(200.0, cameraY());
}

TEST_F(MapCameraTest, EnteringAgainPutsDecorationWhereAFreshPlacementWould)
{
    Player player(_owner.get());
    std::unique_ptr<Map> map = readMap(room(2000, 600), &player);
    // The room was left with the camera at (1200, 300): its block tells where decoration
    // stood then.
    map->placeCamera(1200, 300);
    std::string saved = writeState(*map);
    // The block ends with the saved camera and the timers.
    const std::string timers = "0 0 0 0 0 0 0 0 0 ";
    const size_t tail = saved.size() - timers.size();
    ASSERT_EQ(timers, saved.substr(tail));
    saved.replace(tail, 4, "1200 300 ");
    std::unique_ptr<Map> left = readMap(room(2000, 600), &player);
    std::istringstream in(saved);
    ASSERT_EQ(0, left->readState(in));
    EXPECT_EQ(1200.0, left->getSavedCameraX());
    EXPECT_EQ(ShpCoord(800, 100, -218), at(left->getLayerObjects(1).front()));

    left->enter(500, 40, 0, 0, 0, 0, 0);
    std::unique_ptr<Map> fresh = readMap(room(2000, 600));
    fresh->placeCamera(500, 40);
    EXPECT_EQ(500.0, cameraX());
    EXPECT_EQ(300.0, cameraY());
    for (int layer : {1, 8, 9})
        EXPECT_EQ(at(fresh->getLayerObjects(layer).front()), at(left->getLayerObjects(layer).front()))
            << layer;
    EXPECT_EQ(at(fresh->getBackdrop()), at(left->getBackdrop()));
    EXPECT_EQ(ShpCoord(187.5, 100, -218), at(left->getLayerObjects(1).front()));

    // The hero stands at the arrival point, which becomes his start.
    EXPECT_EQ(500.0, player.getX());
    EXPECT_EQ(40.0, player.getY());
    EXPECT_EQ(-41.0, player.getZ());
    double sx, sy, sz;
    player.getStartPosition(sx, sy, sz);
    EXPECT_EQ(500.0, sx);
    EXPECT_EQ(40.0, sy);
}

TEST_F(MapCameraTest, EnteringFollowsTheHeroToTheRoomEdgeAndRenewsTheSnow)
{
    Player player(_owner.get());
    std::unique_ptr<Map> map = readMap(room(2000, 1000), &player);
    map->enter(1950, 990, 0, 0, 0, 0, 0);
    EXPECT_EQ(1600.0, cameraX());
    EXPECT_EQ(700.0, cameraY());
    EXPECT_EQ(ShpCoord(1150, 450, -218), at(map->getLayerObjects(1).front()));
    ASSERT_NE(nullptr, map->getFrontSnow());
    EXPECT_EQ(150, map->getFrontSnow()->getCount());
    // Flakes start around the new view, not the old one.
    int near = 0;
    for (GphObject* flake : map->getFrontSnow()->getParticles())
        if (flake->getCoord()->getX() > 800) ++near;
    EXPECT_GT(near, 100);
}

TEST_F(MapCameraTest, EnteringCarriesThePowerUpTimes)
{
    Player player(_owner.get());
    std::unique_ptr<Map> map = readMap(room(2000, 600), &player);
    int remaining = -1, total = -1;
    map->powerUpStatus(remaining, total);
    EXPECT_EQ(0, remaining);
    EXPECT_EQ(15000, total);

    map->enter(500, 40, 8000, 3000, 2000, 500, 20000);
    EXPECT_EQ(8000, map->getXrayTime());
    EXPECT_EQ(3000, map->getShoesTime());
    EXPECT_EQ(2000, map->getArmorTime());
    EXPECT_EQ(500, map->getPhoneTime());
    EXPECT_EQ(20000, map->getLauncherTime());
    map->powerUpStatus(remaining, total);
    EXPECT_EQ(8000, remaining);
    // X-ray time: the foreground and what stands in front of the hero turn see-through.
    EXPECT_FALSE(map->isTileAt(0, 0));
    EXPECT_EQ(0.5f, map->getForegroundObjects().front()->getAlpha());
    EXPECT_EQ(0.5f, map->getLayerObjects(8).front()->getAlpha());
    EXPECT_EQ(0.5f, map->getLayerObjects(9).front()->getAlpha());

    map->enter(500, 40, 0, 3000, 0, 0, 20000);
    map->powerUpStatus(remaining, total);
    // Shoes come before the launcher.
    EXPECT_EQ(3000, remaining);
    EXPECT_EQ(15000, total);
    // Entering without x-ray time makes the foreground opaque again.
    EXPECT_TRUE(map->isTileAt(0, 0));
    EXPECT_EQ(1.0f, map->getLayerObjects(9).front()->getAlpha());

    map->enter(500, 40, 0, 0, 0, 500, 0);
    map->powerUpStatus(remaining, total);
    EXPECT_EQ(500, remaining);
    EXPECT_EQ(7000, total);
    map->enter(500, 40, 0, 0, 0, 0, 1);
    map->powerUpStatus(remaining, total);
    EXPECT_EQ(1, remaining);
    EXPECT_EQ(25000, total);
    map->enter(500, 40, 0, 0, 0, 0, -5);
    map->powerUpStatus(remaining, total);
    EXPECT_EQ(0, remaining);
    EXPECT_EQ(15000, total);
}
