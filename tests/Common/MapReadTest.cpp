#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/Barrier.h"
#include "Common/CharacterRecord.h"
#include "Common/CutScene.h"
#include "Common/Exit.h"
#include "Common/ItemRecord.h"
#include "Common/Layer.h"
#include "Common/Level.h"
#include "Common/Map.h"
#include "Kovo/Door.h"
#include "Kovo/Hammer.h"
#include "Kovo/Hazard.h"
#include "Kovo/Hint.h"
#include "Kovo/Item.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Platform.h"
#include "Kovo/Snow.h"
#include "Kovo/Switch.h"
#include "Kovo/Treasure.h"
#include "MapTestSupport.h"
#include "support/Files.h"

namespace {

using maptest::MapFixture;

class MapReadTest : public MapFixture {};

// The record followed by a sentinel record that must still be read as such.
std::string withSentinel(const std::string& record)
{
    return record + " <MAP_WIDTH> 777 </MAP_WIDTH> </MAP>";
}

int countLogLines(const std::string& text)
{
    const auto messages = testsupport::logMessages();
    return static_cast<int>(std::count_if(messages.begin(), messages.end(), [&](const std::string& m) {
        return m.find(text) != std::string::npos;
    }));
}

std::string pictureFile(const Item* item)
{
    const GphAnimatedTexture* animation =
        item->getPicture() ? item->getPicture()->getAnimatedTexture() : nullptr;
    const GphTexture* frame = animation ? animation->getCurrentTexture() : nullptr;
    return frame && frame->getImage() ? frame->getImage()->getFileName() : "";
}

// Platform, door, hammer (with its hazard) and obstacle blocks, each with id 7 where it has one.
const char* const kProps =
    "<ANIMATION> 5 100 1 map_grey.bmp </ANIMATION> "
    "<PLATFORM> <ANIMATION> 5 </ANIMATION> <LOCATION> 500 110 120 20 </LOCATION> "
    "<FLOOR> <BARRIER> <EDGES> 440 560 120 90 </EDGES> </BARRIER> </FLOOR> "
    "<CEILING> <BARRIER> <EDGES> 440 560 100 95 </EDGES> </BARRIER> </CEILING> "
    "<WAYPOINTS> 2 500 110 500 300 </WAYPOINTS> <ID> 7 </ID> </PLATFORM> "
    "<DOOR> 1400 10 80 100 2 120 40 <ANIMATION> 5 </ANIMATION> <ID> 7 </ID> </DOOR> "
    "<HAMMER> <ANIMATION> 5 </ANIMATION> <LOCATION> 300 400 60 60 400 200 </LOCATION> "
    "<HAZARD> <ANIMATION> 5 </ANIMATION> <LOCATION> 300 380 40 20 </LOCATION> </HAZARD> "
    "<ID> 7 </ID> </HAMMER> "
    "<HAZARD> <ANIMATION> 5 </ANIMATION> <LOCATION> 900 50 40 40 </LOCATION> </HAZARD> "
    "<OBSTACLE> <ANIMATION> 5 </ANIMATION> <LOCATION> 700 60 80 80 </LOCATION> "
    "<FLOOR> <BARRIER> <EDGES> 660 740 100 70 </EDGES> </BARRIER> </FLOOR> "
    "<WALL> <BARRIER> <EDGES> 660 740 100 30 </EDGES> </BARRIER> </WALL> </OBSTACLE> ";

}  // namespace

TEST_F(MapReadTest, EmptyBlockGivesAnEmptyRoom)
{
    std::unique_ptr<Map> map = readMap("</MAP>");
    EXPECT_EQ(0, map->getId());
    EXPECT_EQ(0, map->getWidth());
    EXPECT_EQ(0, map->getHeight());
    EXPECT_EQ(1.0, map->getGravity());
    EXPECT_EQ(nullptr, map->getBackdrop());
    EXPECT_EQ(nullptr, map->getCutScene());
    EXPECT_TRUE(map->getItems().empty());
    EXPECT_TRUE(map->getFloors().empty());
    EXPECT_FALSE(map->isInputEnabled());
    EXPECT_FALSE(map->hasHint());
    EXPECT_FALSE(map->isTileAt(0, 0));
    EXPECT_EQ(0, map->treasureCount());
}

TEST_F(MapReadTest, SizeGravityAndDecorationAtTheirDepths)
{
    std::unique_ptr<Map> map = readMap(
        "<MAP_ID> 4 </MAP_ID> <MAP_WIDTH> 1600 </MAP_WIDTH> <MAP_HEIGHT> 900 </MAP_HEIGHT> "
        "<GRAVITY> 2000 </GRAVITY> <IMAGE> 1 map_red.bmp 0 </IMAGE> "
        "<BACKDROP> 400 300 800 600 1 </BACKDROP> <BACKDROP> 410 310 80 60 1 </BACKDROP> "
        "<BACKGROUND_OBJECT> 10 20 30 40 1 </BACKGROUND_OBJECT> "
        "<FOREGROUND_OBJECT> 11 21 31 41 1 </FOREGROUND_OBJECT> "
        "<LAYER1_OBJECT> 1 1 10 10 1 </LAYER1_OBJECT> <LAYER2_OBJECT> 2 2 10 10 1 </LAYER2_OBJECT> "
        "<LAYER3_OBJECT> 3 3 10 10 1 </LAYER3_OBJECT> <LAYER4_OBJECT> 4 4 10 10 1 </LAYER4_OBJECT> "
        "<LAYER5_OBJECT> 5 5 10 10 1 </LAYER5_OBJECT> <LAYER6_OBJECT> 6 6 10 10 1 </LAYER6_OBJECT> "
        "<LAYER7_OBJECT> 7 7 10 10 1 </LAYER7_OBJECT> <LAYER8_OBJECT> 8 8 10 10 1 </LAYER8_OBJECT> "
        "<LAYER9_OBJECT> 9 9 10 10 1 </LAYER9_OBJECT> "
        "<LAYER1_OBJECT> 1 1 10 10 99 </LAYER1_OBJECT> </MAP>");
    EXPECT_EQ(4, map->getId());
    EXPECT_EQ(1600, map->getWidth());
    EXPECT_EQ(900, map->getHeight());
    EXPECT_EQ(2000.0, map->getGravity());

    // The later backdrop replaces the earlier one.
    ASSERT_NE(nullptr, map->getBackdrop());
    EXPECT_EQ(ShpCoord(410, 310, -219), *map->getBackdrop()->getCoord());
    EXPECT_EQ(80.0, map->getBackdrop()->getLength());
    EXPECT_EQ(60.0, map->getBackdrop()->getWidth());
    EXPECT_EQ(map->imageById(1), map->getBackdrop()->getAnimatedTexture());

    ASSERT_EQ(1u, map->getBackgroundObjects().size());
    const GphRect* background = map->getBackgroundObjects().front();
    EXPECT_EQ(ShpCoord(10, 20, -205), *background->getCoord());
    EXPECT_EQ(30.0, background->getLength());  // along x
    EXPECT_EQ(40.0, background->getWidth());   // along y
    ASSERT_EQ(1u, map->getForegroundObjects().size());
    EXPECT_EQ(ShpCoord(11, 21, -18), *map->getForegroundObjects().front()->getCoord());

    const double depths[] = {-218, -217, -216, -215, -214, -213, -212, -16, -15};
    for (int layer = 1; layer <= 9; ++layer) {
        // An image id missing from the table makes nothing.
        ASSERT_EQ(1u, map->getLayerObjects(layer).size()) << layer;
        EXPECT_EQ(ShpCoord(layer, layer, depths[layer - 1]),
                  *map->getLayerObjects(layer).front()->getCoord());
    }
}

TEST_F(MapReadTest, EveryItemCodeReadsItsOwnOperandsOnly)
{
    struct Case {
        int code;
        const char* extras;
        bool built;
    };
    const Case cases[] = {
        {0, "", true},   {1, "", true},   {2, "", true},  {3, "", true},
        {4, "7", true},  {5, "", true},   {6, "panel.pcx goal.pcx", true},
        {7, "", true},   {8, "", false},  {9, "", true},  {10, "", true},
        {11, "", true},  {12, "", true},  {13, "", true}, {14, "", true},
        {15, "", true},  {16, "", true},  {17, "", false}, {-1, "", false},
        {-40, "", false}, {1000, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const std::string record =
            "<ITEM> " + std::to_string(c.code) + " 300 60 " + c.extras + " </ITEM>";
        std::unique_ptr<Map> map = readMap(withSentinel(record));
        EXPECT_EQ(777, map->getWidth());
        ASSERT_EQ(c.built ? 1u : 0u, map->getItems().size());
        EXPECT_EQ(map->getItems(), map->getUncollectedItems());
        EXPECT_EQ(map->getItems().size(), map->getFileItemCount());
        if (!c.built) continue;
        const Item* item = map->getItems().front();
        EXPECT_EQ(c.code, item->getType());
        EXPECT_EQ(300.0, item->getX());
        EXPECT_EQ(60.0, item->getY());
        EXPECT_EQ(-40.0, item->getZ());
        EXPECT_EQ(c.code <= 5 ? 1 : 0, map->treasureCount());
    }
}

TEST_F(MapReadTest, ItemRecordsCarryTheirPicturesAndValues)
{
    std::unique_ptr<Map> map = readMap(
        "<ITEM> 4 340 60 7 </ITEM> <ITEM> 4 380 60 1 </ITEM> "
        "<ITEM> 6 380 60 hint_panel.pcx objective_door.pcx </ITEM> <ITEM> 8 1 2 </ITEM> "
        "<ITEM> 13 500 60 </ITEM> </MAP>");
    ASSERT_EQ(4u, map->getItems().size());
    auto it = map->getItems().begin();
    const auto* yellow = dynamic_cast<const Treasure*>(*it++);
    ASSERT_NE(nullptr, yellow);
    EXPECT_EQ(2000, yellow->getPoints());
    EXPECT_EQ("gem_yellow.pcx", pictureFile(yellow));
    EXPECT_EQ("gem_blue.pcx", pictureFile(*it++));
    const auto* hint = dynamic_cast<const Hint*>(*it++);
    ASSERT_NE(nullptr, hint);
    EXPECT_EQ("objective_door.pcx", hint->getObjectiveImage());
    EXPECT_EQ(13, (*it)->getType());
    EXPECT_EQ(2, map->treasureCount());

    ItemRecord record(4, 0, 0);
    std::string image, popup, sound;
    int value = 0;
    for (int colour : {1, 2, 3, 4, 5, 0, 6, -1}) {
        record.colour = colour;
        ASSERT_TRUE(record.describe(image, popup, sound, value));
        EXPECT_EQ(ItemRecord::gemImage(colour), image);
    }
    EXPECT_EQ("gem_yellow.pcx", std::string(ItemRecord::gemImage(0)));
    record.type = 16;
    ASSERT_TRUE(record.describe(image, popup, sound, value));
    EXPECT_EQ(25000, value);
    record.type = 15;
    ASSERT_TRUE(record.describe(image, popup, sound, value));
    EXPECT_EQ(7000, value);
    EXPECT_EQ("robot_off.wav", sound);
    for (int code : {8, -1, 17}) {
        record.type = code;
        EXPECT_FALSE(record.describe(image, popup, sound, value)) << code;
    }
}

TEST_F(MapReadTest, EveryCharacterCodeReadsItsOwnOperandsOnly)
{
    struct Case {
        int code;
        const char* extras;
    };
    const Case cases[] = {
        {0, "700 980"},  {1, "700 980"},   {2, "700 980"},     {3, "top.pcx below.pcx goal.pcx"},
        {4, "1"},        {5, "700 980 4"}, {6, "700 980 4"},   {7, "700 980"},
        {8, "700 980"},  {9, ""},          {10, "700 980 4"},  {11, "2500 4"},
        {12, "700 980 4"}, {13, ""},       {14, "700 980"},    {15, "100 500 300"},
        {16, "1 450.5"}, {17, "700 980"},  {18, "700 980 -1"}, {19, "100 900"},
        {20, "top.pcx below.pcx goal.pcx 3 4 5 6"},           {21, "4 1"},
        {22, "700 980 4"}, {23, "700 980 4"}, {24, ""},        {-1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const std::string record = "<CHARACTER> " + std::to_string(c.code) + " 850 40 1 1 " +
                                   c.extras + " 0 </CHARACTER>";
        std::unique_ptr<Map> map = readMap(withSentinel(record));
        EXPECT_EQ(777, map->getWidth());

        std::istringstream in(record.substr(std::string("<CHARACTER> ").size()));
        CharacterRecord parsed;
        ASSERT_EQ(0, parsed.read(in));
        EXPECT_EQ(c.code, parsed.type);
        EXPECT_EQ(0, parsed.carriedItem);
        std::string closing;
        in >> closing;
        EXPECT_EQ("</CHARACTER>", closing);
    }
}

TEST_F(MapReadTest, CharacterRecordsKeepTheirExtras)
{
    auto parse = [](const std::string& text) {
        CharacterRecord record;
        std::istringstream in(text);
        EXPECT_EQ(0, record.read(in)) << text;
        return record;
    };
    CharacterRecord robot = parse("5 850 40 41 0 700 980 12 3");
    EXPECT_EQ(850, robot.x);
    EXPECT_EQ(40, robot.y);
    EXPECT_EQ(41, robot.state);
    EXPECT_FALSE(robot.facingLeft);
    EXPECT_EQ(700, robot.a);
    EXPECT_EQ(980, robot.b);
    EXPECT_EQ(12, robot.id);
    EXPECT_EQ(3, robot.carriedItem);
    EXPECT_TRUE(robot.hasId());
    EXPECT_EQ(-41.0, robot.depth());

    CharacterRecord turret = parse("11 100 100 14 1 2500 9 -1");
    EXPECT_EQ(2500, turret.n);
    EXPECT_EQ(9, turret.id);
    EXPECT_EQ(-204.0, turret.depth());
    EXPECT_EQ(-204.0, parse("3 1 2 1 1 a b c -1").depth());

    CharacterRecord bomber = parse("16 1 2 1 1 1 450.5 -1");
    EXPECT_EQ(1, bomber.n);
    EXPECT_EQ(450.5, bomber.range);
    EXPECT_FALSE(bomber.hasId());

    CharacterRecord drop = parse("15 1 2 0 0 100 500 300 -1");
    EXPECT_EQ(100, drop.a);
    EXPECT_EQ(500, drop.b);
    EXPECT_EQ(300, drop.c);

    CharacterRecord ego = parse("20 1 2 1 1 up.pcx down.pcx goal.pcx 2 4 5 -1");
    EXPECT_EQ("up.pcx", ego.text1);
    EXPECT_EQ("down.pcx", ego.text2);
    EXPECT_EQ("goal.pcx", ego.text3);
    EXPECT_EQ((std::vector<int>{4, 5}), ego.linkIds);

    CharacterRecord copter = parse("21 1 2 2 0 8 1 -1");
    EXPECT_EQ(8, copter.linkId);
    EXPECT_EQ(1, copter.n);
    for (int code : {5, 6, 10, 11, 12, 18, 22, 23}) {
        CharacterRecord record;
        record.type = code;
        EXPECT_TRUE(record.hasId()) << code;
    }
}

TEST_F(MapReadTest, EveryCodeHasItsClassAndACodeOutsideTheTableIsSkipped)
{
    std::unique_ptr<Map> map = readMap("<CHARACTER> 0 850 40 1 1 700 980 -1 </CHARACTER> "
                                       "<CHARACTER> 99 850 40 1 1 -1 </CHARACTER> "
                                       "<CHARACTER> 3 850 40 1 1 a.pcx b.pcx c.pcx 2 </CHARACTER> </MAP>");
    EXPECT_EQ(2u, map->getCharacters().size());
    EXPECT_EQ(0, countLogLines("not available"));
    // A code outside the table is no failure and names nothing.
    EXPECT_EQ(0, countLogLines("Character 99"));
}

TEST_F(MapReadTest, BarriersExitsAndCutSceneAreKeptInOrder)
{
    std::unique_ptr<Map> map = readMap(
        "<WALL> <BARRIER> <EDGES> 1000 1040 100 40 </EDGES> </BARRIER> </WALL> "
        "<FLOOR> <BARRIER> <EDGES> 0 1600 40 0 </EDGES> <OFFSET> 40 </OFFSET> </BARRIER> </FLOOR> "
        "<FLOOR> <BARRIER> <EDGES> 1000 1040 100 70 </EDGES> </BARRIER> </FLOOR> "
        "<CEILING> <BARRIER> <EDGES> 0 10 500 490 </EDGES> </BARRIER> </CEILING> "
        "<EXIT> 2 100 200 80 0 </EXIT> <EXIT> 1 700 800 140 40 </EXIT> "
        "<CUTSCENE> <DIALOGUE> first.pcx 1 2 </DIALOGUE> </CUTSCENE> "
        "<CUTSCENE> <DIALOGUE> a.pcx 1 2 </DIALOGUE> <DIALOGUE> b.pcx 3 4 </DIALOGUE> </CUTSCENE> "
        "</MAP>");
    ASSERT_EQ(1u, map->getWalls().size());
    EXPECT_EQ(1000.0, map->getWalls().front()->getX1());
    ASSERT_EQ(2u, map->getFloors().size());
    EXPECT_EQ(40.0, map->getFloors().front()->getOffset());
    EXPECT_EQ(70.0, map->getFloors().back()->getY2());
    ASSERT_EQ(1u, map->getCeilings().size());
    ASSERT_EQ(2u, map->getExits().size());
    EXPECT_EQ(2, map->getExits().front()->getCode());
    EXPECT_EQ(80.0, map->getExits().front()->getY1());
    EXPECT_EQ(1, map->getExits().back()->getCode());
    // The later cut-scene replaces the earlier one.
    ASSERT_NE(nullptr, map->getCutScene());
    EXPECT_EQ(2u, map->getCutScene()->getEntryCount());
}

TEST_F(MapReadTest, FailedNestedBlocksEndTheReadAndKeepWhatCameBefore)
{
    struct Case {
        const char* block;
        const char* message;
        bool layerKept;
    };
    const Case cases[] = {
        {"<FLOOR> <BARRIER> <EDGES> 0 1 2 3 </EDGES> <BOGUS> </BARRIER> </FLOOR>",
         "Failed to read barrier", false},
        {"<CUTSCENE> <BOGUS> </CUTSCENE>", "Failed to read cutscene", false},
        {"<EXIT> 1 2 3 </EXIT>", "Failed to read exit", false},
        {"<BACKGROUND_TILES> <TILE_LAYER> <BOGUS> </TILE_LAYER> </BACKGROUND_TILES>",
         "Failed to read background tiles", true},
        {"<EDGE_TILES> <TILE_LAYER> <BOGUS> </TILE_LAYER> </EDGE_TILES>",
         "Failed to read edge tiles", true},
        {"<FOREGROUND_TILES> <TILE_LAYER> <BOGUS> </TILE_LAYER> </FOREGROUND_TILES>",
         "Failed to read foreground tiles", true},
        {"<PLATFORM> <ANIMATION> 42 </ANIMATION> </PLATFORM>", "Failed to read platform", false},
        {"<OBSTACLE> <LOCATION> 1 2 3 4 </LOCATION> </OBSTACLE>", "Failed to read obstacle", false},
        {"<HAMMER> <BOGUS> </HAMMER>", "Failed to read hammer", false},
        {"<HAZARD> <BOGUS> </HAZARD>", "Failed to read hazard", false},
        {"<DOOR> 1 2 3 4 5 6 7 <BOGUS> </DOOR>", "Failed to read door", false},
        {"<ANIMATION> 3 100 2 map_red.bmp no_such_frame.bmp </ANIMATION>",
         "Failed to load image file: no_such_frame.bmp", false},
        {"<BOGUS_TAG> 1 </BOGUS_TAG>", "Unknown tag: <BOGUS_TAG>", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block);
        int result = 0;
        std::unique_ptr<Map> map = readMap(
            std::string("<MAP_ID> 5 </MAP_ID> <FLOOR> <BARRIER> <EDGES> 0 1 2 3 </EDGES> </BARRIER> "
                        "</FLOOR> ") +
                c.block + " <MAP_WIDTH> 777 </MAP_WIDTH> </MAP>",
            result);
        EXPECT_EQ(-1, result);
        EXPECT_TRUE(testsupport::logContains(c.message));
        EXPECT_EQ(5, map->getId());
        EXPECT_EQ(1u, map->getFloors().size());
        EXPECT_TRUE(map->getPlatforms().empty());
        EXPECT_TRUE(map->getObstacles().empty());
        EXPECT_TRUE(map->getHazards().empty());
        EXPECT_TRUE(map->getExits().empty());
        // Nothing after the failure is read.
        EXPECT_EQ(0, map->getWidth());
        const bool hasLayer = map->getBackgroundLayer() || map->getEdgeLayer() ||
                              map->getForegroundLayer();
        EXPECT_EQ(c.layerKept, hasLayer);
    }
    // A missing single picture is tolerated: the id stays out of the table.
    std::unique_ptr<Map> map = readMap(
        "<IMAGE> 3 no_such_picture.bmp 1 </IMAGE> <BACKDROP> 400 300 800 600 3 </BACKDROP> </MAP>");
    EXPECT_EQ(nullptr, map->imageById(3));
    EXPECT_EQ(nullptr, map->getBackdrop());
}

TEST_F(MapReadTest, PropsFileTheirBarriersAndHazards)
{
    std::unique_ptr<Map> map = readMap(std::string(kProps) + "</MAP>");
    ASSERT_EQ(1u, map->getPlatforms().size());
    ASSERT_EQ(1u, map->getDoors().size());
    ASSERT_EQ(1u, map->getHammers().size());
    ASSERT_EQ(1u, map->getObstacles().size());
    const Platform* platform = map->getPlatforms().front();
    const Obstacle* obstacle = map->getObstacles().front();
    // The platform's floor, then the obstacle's; the obstacle keeps its wall to itself.
    ASSERT_EQ(2u, map->getFloors().size());
    EXPECT_EQ(platform->getFloor(), map->getFloors().front());
    EXPECT_EQ(obstacle->getFloor(), map->getFloors().back());
    ASSERT_EQ(1u, map->getCeilings().size());
    EXPECT_EQ(platform->getCeiling(), map->getCeilings().front());
    EXPECT_TRUE(map->getWalls().empty());
    // The hammer's hazard, then the free one.
    ASSERT_EQ(2u, map->getHazards().size());
    EXPECT_EQ(map->getHammers().front()->getHazard(), map->getHazards().front());

    std::list<Sprite*> found;
    map->findSpritesById(7, found);
    ASSERT_EQ(3u, found.size());
    auto it = found.begin();
    EXPECT_EQ(static_cast<Sprite*>(map->getPlatforms().front()), *it++);
    EXPECT_EQ(static_cast<Sprite*>(map->getDoors().front()), *it++);
    EXPECT_EQ(static_cast<Sprite*>(map->getHammers().front()), *it++);
    // The list is added to, not cleared.
    map->findSpritesById(7, found);
    EXPECT_EQ(6u, found.size());
    found.clear();
    map->findSpritesById(8, found);
    EXPECT_TRUE(found.empty());
}

TEST_F(MapReadTest, SwitchesShowOrHideTheTargetsReadBeforeThem)
{
    std::unique_ptr<Map> map = readMap(
        std::string(kProps) +
        "<SWITCH> 1200 90 40 60 7 0 </SWITCH> "
        "<PLATFORM> <ANIMATION> 5 </ANIMATION> <LOCATION> 50 50 20 20 </LOCATION> "
        "<ID> 7 </ID> </PLATFORM> "
        "<SWITCH2> 1300 95 30 20 7 1 </SWITCH2> <SWITCH> 10 10 40 40 55 1 </SWITCH> </MAP>");
    ASSERT_EQ(3u, map->getSwitches().size());
    const Switch* shown = map->getSwitches().front();
    EXPECT_EQ(1200.0, shown->getX());
    EXPECT_EQ(90.0, shown->getY());
    EXPECT_EQ(-207.0, shown->getZ());
    EXPECT_EQ(7, shown->getId());
    // Sized with the vertical size as its length and the horizontal one as its width.
    EXPECT_EQ(40.0, shown->getRight() - shown->getLeft());
    EXPECT_EQ(60.0, shown->getTop() - shown->getBottom());
    EXPECT_NE(nullptr, shown->getPicture());
    EXPECT_FALSE(shown->isOn());
    // The hidden switch shows no picture; a switch whose id matches nothing is still built.
    EXPECT_EQ(nullptr, (*std::next(map->getSwitches().begin()))->getPicture());
    EXPECT_EQ(55, map->getSwitches().back()->getId());

    // The first switch hid the three targets read before it; the second showed all four,
    // the platform read between them included.
    for (Sprite* target : {static_cast<Sprite*>(map->getPlatforms().front()),
                           static_cast<Sprite*>(map->getDoors().front()),
                           static_cast<Sprite*>(map->getHammers().front())})
        EXPECT_TRUE(target->isVisible());
    EXPECT_TRUE(map->getPlatforms().back()->isVisible());

    std::unique_ptr<Map> hidden = readMap(
        std::string(kProps) + "<SWITCH> 1200 90 40 40 7 0 </SWITCH> "
                              "<DOOR> 1 2 3 4 5 6 7 <ID> 7 </ID> </DOOR> </MAP>");
    EXPECT_FALSE(hidden->getPlatforms().front()->isVisible());
    EXPECT_FALSE(hidden->getDoors().front()->isVisible());
    EXPECT_FALSE(hidden->getHammers().front()->isVisible());
    // Read after the switch: not a target.
    EXPECT_TRUE(hidden->getDoors().back()->isVisible());
}

TEST_F(MapReadTest, SnowTagsMakeSnowAtTheirDepths)
{
    std::unique_ptr<Map> map = readMap(
        "<SNOW> 1 </SNOW> <INTERMEDIATE_SNOW> 0 </INTERMEDIATE_SNOW> "
        "<BACKGROUND_SNOW> 1 </BACKGROUND_SNOW> <BACKGROUND_SNOW> 1 </BACKGROUND_SNOW> </MAP>");
    ASSERT_NE(nullptr, map->getFrontSnow());
    EXPECT_EQ(nullptr, map->getIntermediateSnow());
    ASSERT_NE(nullptr, map->getBackgroundSnow());
    EXPECT_EQ(150, map->getFrontSnow()->getCount());
    EXPECT_EQ(-14.0, map->getFrontSnow()->getParticles().front()->getCoord()->getZ());
    EXPECT_EQ(-211.0, map->getBackgroundSnow()->getParticles().front()->getCoord()->getZ());
}

TEST_F(MapReadTest, TileLayersByKindAndTheForegroundLookup)
{
    const std::string layer =
        "<TILE_LAYER> <ROWS> 2 </ROWS> <COLS> 3 </COLS> <IMAGE> 1 map_red.bmp 0 </IMAGE> "
        "<IMAGE> 2 map_blue.bmp 1 </IMAGE> <TILES> 1 0 2 0 1 0 </TILES> </TILE_LAYER>";
    std::unique_ptr<Map> map = readMap(
        "<BACKGROUND_TILES> " + layer + " </BACKGROUND_TILES> <EDGE_TILES> " + layer +
        " </EDGE_TILES> <FOREGROUND_TILES> " + layer + " </FOREGROUND_TILES> "
        "<FOREGROUND_TILES> " + layer + " </FOREGROUND_TILES> </MAP>");
    ASSERT_NE(nullptr, map->getBackgroundLayer());
    ASSERT_NE(nullptr, map->getEdgeLayer());
    ASSERT_NE(nullptr, map->getForegroundLayer());
    EXPECT_EQ(Layer::Background, map->getBackgroundLayer()->getKind());
    EXPECT_EQ(Layer::Edge, map->getEdgeLayer()->getKind());
    EXPECT_EQ(Layer::Foreground, map->getForegroundLayer()->getKind());
    // The top row is given first; a transparent picture is never solid.
    EXPECT_TRUE(map->isTileAt(1, 0));
    EXPECT_FALSE(map->isTileAt(1, 2));
    EXPECT_TRUE(map->isTileAt(0, 1));
    EXPECT_FALSE(map->isTileAt(0, 0));
    // Outside the grid, far or negative, nothing is solid.
    for (auto cell : {std::make_pair(2, 0), std::make_pair(0, 3), std::make_pair(-1, 0),
                      std::make_pair(0, -1), std::make_pair(1 << 30, 1 << 30)})
        EXPECT_FALSE(map->isTileAt(cell.first, cell.second));
}

TEST_F(MapReadTest, TruncatedAtEveryTokenTheReadFailsWithoutHanging)
{
    const std::string block =
        "<MAP_ID> 3 </MAP_ID> <MAP_WIDTH> 1600 </MAP_WIDTH> <GRAVITY> 2000 </GRAVITY> "
        "<SNOW> 1 </SNOW> <IMAGE> 1 map_red.bmp 0 </IMAGE> "
        "<ANIMATION> 2 100 2 map_green.bmp map_blue.bmp </ANIMATION> "
        "<BACKDROP> 400 300 800 600 1 </BACKDROP> <LAYER3_OBJECT> 1 2 3 4 2 </LAYER3_OBJECT> "
        "<EDGE_TILES> <TILE_LAYER> <ROWS> 2 </ROWS> <COLS> 2 </COLS> "
        "<IMAGE> 1 map_red.bmp 0 </IMAGE> <TILES> 1 0 0 1 </TILES> </TILE_LAYER> </EDGE_TILES> "
        "<FLOOR> <BARRIER> <EDGES> 0 800 40 0 </EDGES> <CONVEYOR> 1 20 </CONVEYOR> </BARRIER> "
        "</FLOOR> <CUTSCENE> <DIALOGUE> map_red.bmp 400 350 </DIALOGUE> </CUTSCENE> "
        "<EXIT> 1 700 800 140 40 </EXIT> " +
        std::string(kProps) +
        "<SWITCH> 1200 90 40 40 7 1 </SWITCH> <ITEM> 4 340 60 1 </ITEM> "
        "<ITEM> 6 380 60 a.pcx b.pcx </ITEM> "
        "<CHARACTER> 20 850 40 1 1 t1 t2 t3 2 4 5 0 </CHARACTER> "
        "<CHARACTER> 16 850 40 1 1 1 450.5 -1 </CHARACTER> </MAP>";
    const std::vector<std::string> all = leveltest::tokens(block);
    readMap(block);
    for (size_t n = 0; n < all.size(); ++n) {
        SCOPED_TRACE(n);
        int result = 0;
        readMap(leveltest::prefix(all, n), result);
        ASSERT_EQ(-1, result);
    }
}

TEST_F(MapReadTest, MalformedSizesAndCountsFailQuickly)
{
    const char* const blocks[] = {
        // Rows and columns that do not match the ids given, either way.
        "<EDGE_TILES> <TILE_LAYER> <ROWS> 3 </ROWS> <COLS> 4 </COLS> <TILES> 1 1 1 1 1 1 "
        "</TILES> </TILE_LAYER> </EDGE_TILES> </MAP>",
        "<EDGE_TILES> <TILE_LAYER> <ROWS> 1 </ROWS> <COLS> 2 </COLS> <TILES> 1 1 1 1 1 1 "
        "</TILES> </TILE_LAYER> </EDGE_TILES> </MAP>",
        // Decoration with its operands out of place.
        "<BACKDROP> 400 300 800 </BACKDROP> 1 </MAP>",
        // Huge counts.
        "<EDGE_TILES> <TILE_LAYER> <ROWS> 2000000000 </ROWS> <COLS> 2000000000 </COLS> "
        "<TILES> 1 </TILES> </TILE_LAYER> </EDGE_TILES> </MAP>",
        "<ANIMATION> 1 100 2000000000 map_red.bmp </ANIMATION> </MAP>",
        "<ANIMATION> 1 100 -5 </ANIMATION> </MAP>",
        "<CHARACTER> 20 1 2 1 1 a b c 2000000000 1 2 -1 </CHARACTER> </MAP>",
        "<CHARACTER> 20 1 2 1 1 a b c -3 -1 </CHARACTER> </MAP>",
        "<ANIMATION> 5 100 1 map_grey.bmp </ANIMATION> <PLATFORM> <ANIMATION> 5 </ANIMATION> "
        "<WAYPOINTS> 2000000000 1 2 </WAYPOINTS> </PLATFORM> </MAP>",
        // Values that do not parse.
        "<MAP_ID> three </MAP_ID> </MAP>",
        "<ITEM> 4 340 60 blue </ITEM> </MAP>",
        "<CHARACTER> 2 850 40 1 2 700 980 -1 </CHARACTER> </MAP>",
        "<SNOW> 2 </SNOW> </MAP>",
        "<SWITCH> 1 2 3 4 5 maybe </SWITCH> </MAP>",
        // A closing token where a tag should be.
        "<MAP_ID> 1 </MAP_ID> </MAP_ID> </MAP>",
    };
    for (const char* block : blocks) {
        SCOPED_TRACE(block);
        const auto start = std::chrono::steady_clock::now();
        int result = 0;
        readMap(block, result);
        EXPECT_EQ(-1, result);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
}

TEST_F(MapReadTest, SwitchesAlsoReachTheRoomsReadBefore)
{
    // Room 2 is read last; its switches look at the rooms stored before it in id order
    // and stop at the first that has a target, unless room 2 found its own.
    const std::string door = "<DOOR> 1 2 3 4 5 6 7 <ANIMATION> 5 </ANIMATION> <ID> 9 </ID> </DOOR> ";
    const std::string animation = "<ANIMATION> 5 100 1 map_grey.bmp </ANIMATION> ";
    testsupport::writeText(
        "map_switch_level.txt",
        "<LEVEL>\n<MAP> <MAP_ID> 3 </MAP_ID> " + animation + door + "</MAP> "
        "<MAP> <MAP_ID> 1 </MAP_ID> " + animation + door + door + "</MAP> "
        "<MAP> <MAP_ID> 5 </MAP_ID> " + animation + door + "</MAP> "
        "<MAP> <MAP_ID> 2 </MAP_ID> " + animation + door +
            "<SWITCH> 10 10 40 40 9 0 </SWITCH> <SWITCH> 10 10 40 40 4 1 </SWITCH> </MAP> "
        "</LEVEL>\n");
    Level level(_owner.get(), nullptr, nullptr);
    ASSERT_EQ(0, level.read("map_switch_level.txt", false, false));
    auto visible = [&](int mapId) {
        std::vector<bool> flags;
        for (const Door* d : level.getMap(mapId)->getDoors()) flags.push_back(d->isVisible());
        return flags;
    };
    EXPECT_EQ((std::vector<bool>{false, false}), visible(1));
    EXPECT_EQ((std::vector<bool>{false}), visible(2));
    EXPECT_EQ((std::vector<bool>{true}), visible(3));
    EXPECT_EQ((std::vector<bool>{true}), visible(5));

    testsupport::writeText(
        "map_switch_level2.txt",
        "<LEVEL>\n<INITIAL_MAP> 4 </INITIAL_MAP> <MAP> <MAP_ID> 4 </MAP_ID> " + animation + door + "</MAP> "
        "<MAP> <MAP_ID> 2 </MAP_ID> " + animation + "<SWITCH> 10 10 40 40 9 0 </SWITCH> </MAP> "
        "</LEVEL>\n");
    Level other(_owner.get(), nullptr, nullptr);
    ASSERT_EQ(0, other.read("map_switch_level2.txt", false, false));
    EXPECT_FALSE(other.getMap(4)->getDoors().front()->isVisible());
}
