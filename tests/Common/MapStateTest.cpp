#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/Barrier.h"
#include "Common/CutScene.h"
#include "Common/Layer.h"
#include "Common/Map.h"
#include "Kovo/Item.h"
#include "Kovo/Player.h"
#include "MapTestSupport.h"

namespace {

using maptest::MapFixture;

class MapStateTest : public MapFixture {};

// A room with something of every saved kind.
const std::string kRoom =
    "<MAP_ID> 2 </MAP_ID> <MAP_WIDTH> 1600 </MAP_WIDTH> <MAP_HEIGHT> 600 </MAP_HEIGHT> "
    "<GRAVITY> 2000 </GRAVITY> <IMAGE> 1 map_red.bmp 0 </IMAGE> "
    "<ANIMATION> 5 100 2 map_grey.bmp map_green.bmp </ANIMATION> "
    "<BACKDROP> 400 300 800 600 1 </BACKDROP> "
    "<LAYER1_OBJECT> 200 300 100 100 1 </LAYER1_OBJECT> "
    "<LAYER4_OBJECT> 250 310 100 100 1 </LAYER4_OBJECT> "
    "<LAYER8_OBJECT> 300 320 100 100 1 </LAYER8_OBJECT> "
    "<LAYER9_OBJECT> 350 330 100 100 1 </LAYER9_OBJECT> "
    "<BACKGROUND_OBJECT> 10 10 10 10 1 </BACKGROUND_OBJECT> "
    "<FOREGROUND_OBJECT> 20 20 10 10 1 </FOREGROUND_OBJECT> "
    "<FOREGROUND_TILES> <TILE_LAYER> <ROWS> 1 </ROWS> <COLS> 1 </COLS> "
    "<IMAGE> 1 map_yellow.bmp 0 </IMAGE> <TILES> 1 </TILES> </TILE_LAYER> </FOREGROUND_TILES> "
    "<WALL> <BARRIER> <EDGES> 1000 1040 100 40 </EDGES> </BARRIER> </WALL> "
    "<FLOOR> <BARRIER> <EDGES> 0 1600 40 0 </EDGES> <OFFSET> 40 </OFFSET> "
    "<SLIPPERY> 1 </SLIPPERY> </BARRIER> </FLOOR> "
    "<CEILING> <BARRIER> <EDGES> 0 100 500 490 </EDGES> <SLOPE> 0.25 </SLOPE> </BARRIER> "
    "</CEILING> "
    "<CUTSCENE> <DIALOGUE> a.pcx 400 350 </DIALOGUE> <DIALOGUE> b.pcx 400 350 </DIALOGUE> "
    "</CUTSCENE> "
    "<EXIT> 1 700 800 140 40 </EXIT> "
    "<PLATFORM> <ANIMATION> 5 </ANIMATION> <LOCATION> 500 110 120 20 </LOCATION> "
    "<FLOOR> <BARRIER> <EDGES> 440 560 120 90 </EDGES> <OFFSET> 30 </OFFSET> </BARRIER> </FLOOR> "
    "<WAYPOINTS> 2 500 110 500 300 </WAYPOINTS> <ID> 7 </ID> </PLATFORM> "
    "<DOOR> 1400 10 80 100 2 120 40 <ANIMATION> 5 </ANIMATION> <LOCKED> 1 </LOCKED> "
    "<ID> 7 </ID> </DOOR> "
    "<HAMMER> <ANIMATION> 5 </ANIMATION> <LOCATION> 300 400 60 60 400 200 </LOCATION> "
    "<HAZARD> <ANIMATION> 5 </ANIMATION> <LOCATION> 300 380 40 20 </LOCATION> </HAZARD> "
    "<ID> 8 </ID> </HAMMER> "
    "<OBSTACLE> <ANIMATION> 5 </ANIMATION> <LOCATION> 700 60 80 80 </LOCATION> "
    "<FLOOR> <BARRIER> <EDGES> 660 740 100 70 </EDGES> </BARRIER> </FLOOR> "
    "<WALL> <BARRIER> <EDGES> 660 740 100 30 </EDGES> </BARRIER> </WALL> </OBSTACLE> "
    "<SWITCH> 1200 90 40 40 7 1 </SWITCH> "
    "<ITEM> 0 300 60 </ITEM> <ITEM> 4 340 60 2 </ITEM> <ITEM> 7 380 60 </ITEM> "
    "<ITEM> 6 420 60 a.pcx b.pcx </ITEM> "
    "<CHARACTER> 99 850 40 1 1 0 </CHARACTER> </MAP>";

// The carried and dropped items of a room without actors: written only once something was
// dropped, so a room where nothing was keeps the plain layout.
const std::string kNoRunTimeItems = "";
const std::string kNoCarriers = "<CARRIED> </CARRIED> ";

std::string pictureFile(const Item* item)
{
    const GphAnimatedTexture* animation =
        item->getPicture() ? item->getPicture()->getAnimatedTexture() : nullptr;
    const GphTexture* frame = animation ? animation->getCurrentTexture() : nullptr;
    return frame && frame->getImage() ? frame->getImage()->getFileName() : "";
}

Item* itemAt(const Map& map, size_t index)
{
    auto it = map.getItems().begin();
    std::advance(it, index);
    return *it;
}

}  // namespace

TEST_F(MapStateTest, RestoredIntoAFreshRoomTheStateWritesTheSameText)
{
    std::unique_ptr<Map> played = readMap(kRoom);
    // Play changes what a save keeps: the camera moved the decoration, a barrier moved,
    // the cut-scene went on, a treasure was collected and its pop-up has faded.
    played->placeCamera(900, 300);
    played->getWalls().front()->move(5, -3);
    std::string text;
    int x, y;
    ASSERT_TRUE(played->getCutScene()->takeNext(text, x, y));
    Item* coin = itemAt(*played, 0);
    coin->collect(true, false);
    coin->setAlpha(-1);
    const std::string saved = writeState(*played);

    std::unique_ptr<Map> restored = readMap(kRoom);
    std::istringstream in(saved);
    ASSERT_EQ(0, restored->readState(in));
    EXPECT_EQ(saved, writeState(*restored));
    std::string rest;
    EXPECT_FALSE(in >> rest);

    // The collected treasure lies no more and cannot be picked up again.
    Item* restoredCoin = itemAt(*restored, 0);
    EXPECT_TRUE(restoredCoin->isCollected());
    EXPECT_EQ(3u, restored->getUncollectedItems().size());
    EXPECT_EQ(restored->getUncollectedItems().end(),
              std::find(restored->getUncollectedItems().begin(),
                        restored->getUncollectedItems().end(), restoredCoin));
    ASSERT_EQ(1u, restored->getTransients().size());
    EXPECT_EQ(restoredCoin, restored->getTransients().front());
    // Decoration stands where the camera had put it, at its layer's depth.
    EXPECT_EQ(*played->getLayerObjects(1).front()->getCoord(),
              *restored->getLayerObjects(1).front()->getCoord());
    EXPECT_EQ(-218.0, restored->getLayerObjects(1).front()->getCoord()->getZ());
    EXPECT_EQ(*played->getBackdrop()->getCoord(), *restored->getBackdrop()->getCoord());
    EXPECT_EQ(1005.0, restored->getWalls().front()->getX1());
    // The cut-scene was not done: it plays again from its first entry.
    EXPECT_FALSE(restored->getCutScene()->isDone());
    EXPECT_EQ(2u, restored->getCutScene()->getEntryCount());
}

TEST_F(MapStateTest, TheBlockFollowsTheListsOrder)
{
    std::unique_ptr<Map> map = readMap(kRoom);
    const std::vector<std::string> tokens = leveltest::tokens(writeState(*map));
    std::vector<std::string> tags;
    for (const std::string& token : tokens)
        if (token == "<CUTSCENE>" || token == "<BARRIER>" || token == "<ITEM>" ||
            token == "<GRENADE>" || token == "<DOOR>" || token == "<PLATFORM>" ||
            token == "<HAMMER>" || token == "<OBSTACLE>" || token == "<SWITCH>" ||
            token == "<CARRIED>" || token == "<DROPPED>")
            tags.push_back(token);
    // Walls, floors (the room's, the platform's, the obstacle's), ceilings, then the objects;
    // an obstacle carries its own two barriers, and a grenade its item block.
    const std::vector<std::string> expected = {
        "<CUTSCENE>", "<BARRIER>", "<BARRIER>", "<BARRIER>", "<BARRIER>", "<BARRIER>",
        "<ITEM>",     "<ITEM>",    "<GRENADE>", "<ITEM>",    "<ITEM>",    "<DOOR>",
        "<PLATFORM>", "<HAMMER>",  "<OBSTACLE>", "<BARRIER>", "<BARRIER>", "<SWITCH>"};
    EXPECT_EQ(expected, tags);
    // Cut-scene, backdrop, then the four parallax rectangles.
    ASSERT_GT(tokens.size(), 13u);
    EXPECT_EQ("0", tokens[1]);
    EXPECT_EQ((std::vector<std::string>{"400", "300", "200", "300", "250", "310", "300", "320",
                                        "350", "330"}),
              std::vector<std::string>(tokens.begin() + 3, tokens.begin() + 13));

    // Without a cut-scene or a backdrop the block starts with the decoration, or with the
    // first barrier when there is no decoration either.
    std::unique_ptr<Map> plain = readMap(
        "<IMAGE> 1 map_red.bmp 0 </IMAGE> <LAYER2_OBJECT> 12 34 10 10 1 </LAYER2_OBJECT> "
        "<FLOOR> <BARRIER> <EDGES> 0 1 2 3 </EDGES> </BARRIER> </FLOOR> </MAP>");
    EXPECT_EQ("12 34 <BARRIER>", writeState(*plain).substr(0, 15));
    std::unique_ptr<Map> bare =
        readMap("<FLOOR> <BARRIER> <EDGES> 0 1 2 3 </EDGES> </BARRIER> </FLOOR> </MAP>");
    EXPECT_EQ("<BARRIER>", writeState(*bare).substr(0, 9));
    std::unique_ptr<Map> empty = readMap("</MAP>");
    EXPECT_EQ("0 0 0 0 0 0 0 0 0 " + kNoRunTimeItems, writeState(*empty));
}

TEST_F(MapStateTest, TruncatedOrCorruptCopiesFail)
{
    std::unique_ptr<Map> played = readMap(kRoom);
    played->enter(600, 40, 8000, 3000, 2000, 1000, 20000);
    const std::vector<std::string> tokens = leveltest::tokens(writeState(*played));
    for (size_t n = 0; n < tokens.size(); ++n) {
        SCOPED_TRACE(n);
        std::unique_ptr<Map> restored = readMap(kRoom);
        std::istringstream in(leveltest::prefix(tokens, n));
        ASSERT_NE(0, restored->readState(in));
        // What failed to come back is not taken as zeros.
        EXPECT_EQ(0, restored->getXrayTime());
    }
    // A word where a number belongs, at every number of the block.
    for (size_t n = 0; n < tokens.size(); ++n) {
        if (tokens[n].find_first_not_of("-0123456789.e") != std::string::npos) continue;
        SCOPED_TRACE(n);
        std::vector<std::string> corrupt = tokens;
        corrupt[n] = "x";
        std::unique_ptr<Map> restored = readMap(kRoom);
        std::istringstream in(leveltest::prefix(corrupt, corrupt.size()));
        EXPECT_NE(0, restored->readState(in));
    }
}

TEST_F(MapStateTest, TimersLeftAreAppliedToTheFreshRoom)
{
    Player player(_owner.get());
    std::unique_ptr<Map> played = readMap(kRoom, &player);
    played->enter(600, 40, 8000, 3000, 2000, 1000, 20000);
    const std::string saved = writeState(*played);

    std::unique_ptr<Map> restored = readMap(kRoom, &player);
    player.setLauncher(false);
    std::istringstream in(saved);
    ASSERT_EQ(0, restored->readState(in));
    EXPECT_EQ(8000, restored->getXrayTime());
    EXPECT_EQ(2000, restored->getArmorTime());
    EXPECT_EQ(3000, restored->getShoesTime());
    EXPECT_EQ(1000, restored->getPhoneTime());
    EXPECT_EQ(20000, restored->getLauncherTime());
    // X-ray time left: the foreground is see-through and so is the decoration in front.
    EXPECT_FALSE(restored->isTileAt(0, 0));
    EXPECT_EQ(0.5f, restored->getForegroundLayer()->getTileQuad()->getAlpha());
    EXPECT_EQ(0.5f, restored->getForegroundObjects().front()->getAlpha());
    EXPECT_EQ(0.5f, restored->getLayerObjects(8).front()->getAlpha());
    EXPECT_EQ(0.5f, restored->getLayerObjects(9).front()->getAlpha());
    EXPECT_EQ(1.0f, restored->getLayerObjects(1).front()->getAlpha());
    // Launcher time left: the hero has it again.
    EXPECT_TRUE(player.hasLauncher());

    // Nothing running: the fresh room stays as read.
    std::unique_ptr<Map> quiet = readMap(kRoom, &player);
    player.setLauncher(false);
    std::istringstream none(writeState(*readMap(kRoom)));
    ASSERT_EQ(0, quiet->readState(none));
    EXPECT_TRUE(quiet->isTileAt(0, 0));
    EXPECT_FALSE(player.hasLauncher());
}

TEST_F(MapStateTest, AFinishedCutSceneIsNotShownAgain)
{
    std::unique_ptr<Map> played = readMap(kRoom);
    std::string text;
    int x, y;
    while (played->getCutScene()->takeNext(text, x, y)) {
    }
    ASSERT_TRUE(played->getCutScene()->isDone());
    std::unique_ptr<Map> restored = readMap(kRoom);
    std::istringstream in(writeState(*played));
    ASSERT_EQ(0, restored->readState(in));
    EXPECT_TRUE(restored->getCutScene()->isDone());
    EXPECT_EQ(0u, restored->getCutScene()->getEntryCount());
}

TEST_F(MapStateTest, DroppedItemsComeBackOnceWhereTheyLay)
{
    std::unique_ptr<Map> played = readMap(kRoom);
    const std::string plain = writeState(*played);
    // A gem and a coin dropped during play; a hint and a launcher are never dropped.
    const std::string saved = plain + kNoCarriers + "<DROPPED> 4 4 150.5 60 0 200 61 6 1 1 16 1 1 </DROPPED> ";

    std::unique_ptr<Map> restored = readMap(kRoom);
    std::istringstream in(saved);
    ASSERT_EQ(0, restored->readState(in));
    ASSERT_EQ(6u, restored->getItems().size());
    EXPECT_EQ(4u, restored->getFileItemCount());
    EXPECT_EQ(6u, restored->getUncollectedItems().size());
    Item* gem = itemAt(*restored, 4);
    EXPECT_EQ(4, gem->getType());
    EXPECT_EQ("gem_red.pcx", pictureFile(gem));
    EXPECT_EQ(150.5, gem->getX());
    EXPECT_EQ(60.0, gem->getY());
    EXPECT_EQ(-40.0, gem->getZ());
    Item* coin = itemAt(*restored, 5);
    EXPECT_EQ(0, coin->getType());
    EXPECT_EQ(200.0, coin->getX());
    // Dropped treasure is a bonus: the total stays the room's own.
    EXPECT_EQ(2, restored->treasureCount());
    // Saved again, the drops are written once more in the same place.
    EXPECT_EQ(plain + kNoCarriers + "<DROPPED> 2 4 150.5 60 0 200 61 </DROPPED> ", writeState(*restored));

    // A dropped item that has been collected is not given back.
    gem->collect(true, false);
    const std::string again = writeState(*restored);
    EXPECT_NE(std::string::npos, again.find("<DROPPED> 1 0 200 61 </DROPPED>"));
}

TEST_F(MapStateTest, ABlockThatDoesNotFitTheRoomFails)
{
    std::unique_ptr<Map> played = readMap(kRoom);
    const std::string saved = writeState(*played);
    // A carried item for an actor the room does not have.
    const std::string extra = saved + "<CARRIED> 3 </CARRIED> <DROPPED> 0 </DROPPED> ";
    // An absurd number of drops.
    const std::string many = saved + kNoCarriers + "<DROPPED> 2000000000 </DROPPED> ";
    // The block of another room.
    const std::string other = writeState(*readMap("</MAP>"));
    for (const std::string& text : {extra, many, other}) {
        std::unique_ptr<Map> restored = readMap(kRoom);
        std::istringstream in(text);
        EXPECT_NE(0, restored->readState(in)) << text;
    }
}
