#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <chrono>
#include <list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndManager.h"
#include "Base/Snd/SndMusic.h"
#include "Common/Barrier.h"
#include "Common/CutScene.h"
#include "Common/Exit.h"
#include "Common/Layer.h"
#include "Common/Level.h"
#include "Common/LevelOwner.h"
#include "Common/Map.h"
#include "Kovo/Door.h"
#include "Kovo/Player.h"
#include "LevelTestWindow.h"
#include "support/Files.h"
#include "support/GlContext.h"

namespace {

// The game screen's side of the level: every call it receives, in order.
class RecordingOwner : public LevelOwner {
public:
    void setObjective(const std::string& image) override { calls.push_back("objective " + image); }
    void onObjectiveFound() override { calls.push_back("found"); }
    void onPlayerDied() override { calls.push_back("died"); }
    void onLevelFinished(const std::string& file, int code) override
    {
        calls.push_back("finished " + file + " " + std::to_string(code));
    }
    std::vector<std::string> calls;
};

class LevelTest : public leveltest::LevelFixture {
protected:
    std::unique_ptr<Level> newLevel()
    {
        return std::unique_ptr<Level>(new Level(_app.get(), &_owner, _player.get()));
    }

    // A level read from the file, expecting success.
    std::unique_ptr<Level> load(const std::string& file, bool placeCamera = true)
    {
        std::unique_ptr<Level> level = newLevel();
        EXPECT_EQ(0, level->read(file, placeCamera, true)) << file;
        return level;
    }

    double cameraX() const { return _window->getCamera()->getPosition()->getX(); }
    double cameraY() const { return _window->getCamera()->getPosition()->getY(); }

    RecordingOwner _owner;
};

// The log messages written since `mark` (a count of messages taken earlier).
std::vector<std::string> messagesSince(size_t mark)
{
    const std::vector<std::string> all = testsupport::logMessages();
    return std::vector<std::string>(all.begin() + std::min(mark, all.size()), all.end());
}

bool loggedSince(size_t mark, const std::string& text)
{
    for (const std::string& m : messagesSince(mark))
        if (m.find(text) != std::string::npos) return true;
    return false;
}

double surfaceAt(const Barrier* floor, double x)
{
    return floor->getY2() + floor->getOffset() + floor->getSlope() * (x - floor->getX1());
}

// The floor under x whose surface is highest at or below `below`, as a hero standing there
// would find it; null when none spans x.
const Barrier* floorUnder(const Map* map, double x, double below)
{
    const Barrier* best = nullptr;
    for (const Barrier* floor : map->getFloors()) {
        if (floor->getX1() > x || floor->getX2() < x) continue;
        const double s = surfaceAt(floor, x);
        if (s > below) continue;
        if (!best || s > surfaceAt(best, x)) best = floor;
    }
    return best;
}

}  // namespace

// ------------------------------------------------------------------------------------------
// The demo level

TEST_F(LevelTest, DemoLevelLoadsItsRoomsAndStartsInTheFirst)
{
    const size_t mark = testsupport::logMessages().size();
    auto level = load("level1-1.xml");
    // Every picture, sound and block of the file is there and reads.
    for (const std::string& m : messagesSince(mark)) {
        for (const char* trouble : {"Fail", "Unknown", "ERROR", "Could not"})
            EXPECT_EQ(std::string::npos, m.find(trouble)) << m;
    }
    EXPECT_EQ("level1-1.xml", level->getFileName());
    ASSERT_EQ(3u, level->getMaps().size());
    ASSERT_NE(nullptr, level->getCurrentMap());
    EXPECT_EQ(1, level->getCurrentMap()->getId());
    EXPECT_EQ(1, level->getInitialMapId());

    // The hero's start point is his position and his start position.
    EXPECT_DOUBLE_EQ(120.0, level->getPlayerX());
    EXPECT_DOUBLE_EQ(80.0, level->getPlayerY());
    double x, y, z;
    _player->getStartPosition(x, y, z);
    EXPECT_DOUBLE_EQ(120.0, x);
    EXPECT_DOUBLE_EQ(80.0, y);
    EXPECT_DOUBLE_EQ(120.0, _player->getX());

    // The camera asked for (120, 300) stands at the room's lowest allowed centre.
    EXPECT_DOUBLE_EQ(400.0, cameraX());
    EXPECT_DOUBLE_EQ(300.0, cameraY());

    ASSERT_EQ(1u, _owner.calls.size());
    EXPECT_EQ("objective objective1-1.pcx", _owner.calls[0]);

    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_NEAR(0.05, clear[0], 1e-6);
    EXPECT_NEAR(0.05, clear[1], 1e-6);
    EXPECT_NEAR(0.15, clear[2], 1e-6);

    ASSERT_NE(nullptr, level->getMusic());
    EXPECT_TRUE(level->getMusic()->isLooping());
    EXPECT_FALSE(level->isRunning());
}

TEST_F(LevelTest, DemoRoomsCarryTheirSizesLayersAndBarriers)
{
    auto level = load("level1-1.xml");
    const Map* yard = level->getMap(1);
    const Map* tower = level->getMap(2);
    const Map* roof = level->getMap(3);
    ASSERT_TRUE(yard && tower && roof);
    EXPECT_EQ(2400, yard->getWidth());
    EXPECT_EQ(800, yard->getHeight());
    EXPECT_DOUBLE_EQ(2000.0, yard->getGravity());
    EXPECT_EQ(1200, tower->getWidth());
    EXPECT_EQ(1200, tower->getHeight());
    EXPECT_DOUBLE_EQ(1800.0, tower->getGravity());
    EXPECT_EQ(1000, roof->getWidth());
    EXPECT_EQ(600, roof->getHeight());
    EXPECT_DOUBLE_EQ(2200.0, roof->getGravity());

    // The yard has all three tile layers, each covering the room.
    for (const Layer* layer : {yard->getBackgroundLayer(), yard->getEdgeLayer(), yard->getForegroundLayer()}) {
        ASSERT_NE(nullptr, layer);
        EXPECT_EQ(20, layer->getGridRows());
        EXPECT_EQ(60, layer->getGridCols());
    }
    const Layer* edge = yard->getEdgeLayer();
    EXPECT_NE(nullptr, edge->getTile(0, 0));        // earth under the start
    EXPECT_NE(nullptr, edge->getTile(2, 0));        // grass on it, see-through
    EXPECT_EQ(nullptr, edge->getTile(3, 0));        // air
    EXPECT_NE(nullptr, edge->getTile(5, 35));       // the plateau reaches up to 240
    EXPECT_EQ(nullptr, edge->getTile(7, 35));
    // Rock in the ground hides what is behind it; the leaves at the top hide nothing.
    EXPECT_TRUE(yard->isTileAt(0, 0));
    EXPECT_TRUE(yard->isTileAt(3, 31));
    EXPECT_NE(nullptr, yard->getForegroundLayer()->getTile(19, 0));
    EXPECT_FALSE(yard->isTileAt(19, 0));
    EXPECT_FALSE(yard->isTileAt(2, 5));
    EXPECT_NE(nullptr, tower->getBackgroundLayer());
    EXPECT_NE(nullptr, tower->getEdgeLayer());
    EXPECT_EQ(nullptr, roof->getBackgroundLayer());
    EXPECT_NE(nullptr, roof->getEdgeLayer());

    // Decoration: a backdrop, parallax layers behind and in front, fixed objects.
    EXPECT_NE(nullptr, yard->getBackdrop());
    const size_t yardLayers[Map::kLayerCount] = {2, 0, 2, 0, 2, 0, 2, 2, 1};
    for (int layer = 1; layer <= Map::kLayerCount; ++layer)
        EXPECT_EQ(yardLayers[layer - 1], yard->getLayerObjects(layer).size()) << "layer " << layer;
    EXPECT_EQ(1u, yard->getBackgroundObjects().size());
    EXPECT_EQ(2u, yard->getForegroundObjects().size());
    EXPECT_EQ(2u, tower->getLayerObjects(2).size());
    EXPECT_EQ(1u, tower->getLayerObjects(6).size());
    EXPECT_EQ(1u, roof->getLayerObjects(9).size());

    EXPECT_EQ(6u, yard->getFloors().size());
    EXPECT_EQ(3u, yard->getWalls().size());
    EXPECT_EQ(1u, yard->getCeilings().size());
    ASSERT_NE(nullptr, yard->getCutScene());
    EXPECT_EQ(2u, yard->getCutScene()->getEntryCount());
    ASSERT_EQ(1u, roof->getExits().size());
    EXPECT_EQ(1, roof->getExits().front()->getCode());
    EXPECT_EQ(6, level->treasureCount());
}

TEST_F(LevelTest, DemoFloorsRiseAlongTheirSlopes)
{
    auto level = load("level1-1.xml");
    struct Probe {
        int map;
        double x;
        double surface;
    } probes[] = {
        {1, 100, 80},   {1, 800, 80},  {1, 1000, 160}, {1, 1199, 239.6}, {1, 1400, 240},
        {1, 2000, 80},  {1, 440, 120}, {1, 1760, 160}, {2, 500, 80},     {2, 1080, 140},
        {2, 1200, 200}, {3, 250, 80},  {3, 600, 120},  {3, 900, 160},
    };
    for (const Probe& p : probes) {
        const Barrier* floor = floorUnder(level->getMap(p.map), p.x, p.surface + 0.5);
        ASSERT_NE(nullptr, floor) << "map " << p.map << " x " << p.x;
        EXPECT_NEAR(p.surface, surfaceAt(floor, p.x), 1e-9) << "map " << p.map << " x " << p.x;
        // Every surface lies inside its floor's band, with room below it to land in.
        EXPECT_LE(surfaceAt(floor, p.x), floor->getY1());
        EXPECT_GE(surfaceAt(floor, p.x) - floor->getY2(), 30.0);
    }

    // Each ledge of the tower lies within a jump (700 up under its gravity) of the one below.
    const Map* tower = level->getMap(2);
    const double reach = 700.0 * 700.0 / (2.0 * tower->getGravity());
    std::vector<double> surfaces;
    for (const Barrier* floor : tower->getFloors())
        if (floor->getSlope() == 0.0) surfaces.push_back(surfaceAt(floor, floor->getX1()));
    std::sort(surfaces.begin(), surfaces.end());
    ASSERT_GE(surfaces.size(), 5u);
    for (size_t i = 1; i < surfaces.size(); ++i) EXPECT_LT(surfaces[i] - surfaces[i - 1], reach);

    // Doors lead to rooms of the level, onto a floor there.
    for (const auto& entry : level->getMaps()) {
        for (const Door* door : entry.second->getDoors()) {
            const Map* target = level->getMap(door->getTargetMapId());
            ASSERT_NE(nullptr, target) << "door of map " << entry.first;
            const Barrier* floor = floorUnder(target, door->getTargetX(), door->getTargetY());
            ASSERT_NE(nullptr, floor);
            EXPECT_NEAR(door->getTargetY(), surfaceAt(floor, door->getTargetX()), 1e-9);
        }
    }
}

TEST_F(LevelTest, EnteringRoomsPlacesTheHeroAndClampsTheCamera)
{
    auto level = load("level1-1.xml");
    Map* yard = level->getMap(1);
    Map* tower = level->getMap(2);

    level->gotoMap(2, 120, 80, 0, 0, 0, 0, 0);
    EXPECT_EQ(tower, level->getCurrentMap());
    EXPECT_DOUBLE_EQ(120.0, _player->getX());
    EXPECT_DOUBLE_EQ(80.0, _player->getY());
    EXPECT_DOUBLE_EQ(-41.0, _player->getZ());
    EXPECT_DOUBLE_EQ(400.0, cameraX());
    EXPECT_DOUBLE_EQ(300.0, cameraY());

    // The yard's far end: the camera stops 400 short of the right side; the decoration
    // follows by its factor.
    level->gotoMap(1, 2320, 80, 0, 0, 0, 0, 0);
    EXPECT_EQ(yard, level->getCurrentMap());
    EXPECT_DOUBLE_EQ(2000.0, cameraX());
    EXPECT_DOUBLE_EQ(300.0, cameraY());
    EXPECT_DOUBLE_EQ(2000.0, yard->getBackdrop()->getCoord()->getX());
    EXPECT_DOUBLE_EQ(260.0 + 1600.0 * 0.875, yard->getLayerObjects(1).front()->getCoord()->getX());
    EXPECT_DOUBLE_EQ(520.0, yard->getLayerObjects(1).front()->getCoord()->getY());
    EXPECT_DOUBLE_EQ(600.0 - 1600.0 * 0.25, yard->getLayerObjects(9).front()->getCoord()->getX());
    EXPECT_DOUBLE_EQ(240.0, yard->getBackgroundObjects().front()->getCoord()->getX());

    // High up in the tower the camera follows the hero up as well.
    level->gotoMap(2, 1100, 680, 0, 0, 0, 0, 0);
    EXPECT_DOUBLE_EQ(800.0, cameraX());
    EXPECT_DOUBLE_EQ(680.0, cameraY());
    EXPECT_DOUBLE_EQ(300.0 + 400.0 * 0.75, tower->getLayerObjects(2).front()->getCoord()->getX());
    EXPECT_DOUBLE_EQ(500.0 + 380.0 * 0.75, tower->getLayerObjects(2).front()->getCoord()->getY());

    // Power-up times carry over into the room entered.
    level->gotoMap(3, 120, 80, 8000, 2000, 3000, 4000, 5000);
    EXPECT_EQ(8000, level->getMap(3)->getXrayTime());
    EXPECT_EQ(2000, level->getMap(3)->getShoesTime());
    EXPECT_EQ(3000, level->getMap(3)->getArmorTime());
    EXPECT_EQ(4000, level->getMap(3)->getPhoneTime());
    EXPECT_EQ(5000, level->getMap(3)->getLauncherTime());
    int remaining = -1, total = -1;
    level->powerUpStatus(remaining, total);
    EXPECT_EQ(8000, remaining);
    EXPECT_EQ(15000, total);

    // A door to a room the level does not hold changes nothing, but says so.
    const size_t mark = testsupport::logMessages().size();
    level->gotoMap(9, 300, 80, 0, 0, 0, 0, 0);
    EXPECT_EQ(level->getMap(3), level->getCurrentMap());
    EXPECT_DOUBLE_EQ(120.0, _player->getX());
    EXPECT_TRUE(loggedSince(mark, "Failed to find map id: 9 on level level1-1.xml"));
}

TEST_F(LevelTest, RestartPutsTheHeroBackInTheFirstRoom)
{
    auto level = load("level1-1.xml");
    level->gotoMap(3, 300, 80, 8000, 0, 0, 0, 0);
    _player->setPosition(500, 200, -41);
    _player->die();
    level->restart();
    EXPECT_EQ(level->getMap(1), level->getCurrentMap());
    EXPECT_TRUE(level->isRunning());
    EXPECT_FALSE(_player->isDying());
    EXPECT_DOUBLE_EQ(120.0, _player->getX());
    EXPECT_DOUBLE_EQ(80.0, _player->getY());
    EXPECT_EQ(0, level->getMap(1)->getXrayTime());
    EXPECT_DOUBLE_EQ(400.0, cameraX());
    // The room left behind keeps its state.
    EXPECT_EQ(8000, level->getMap(3)->getXrayTime());
    level->stop();
}

TEST_F(LevelTest, RunningPausingAndTheMusic)
{
    auto level = load("level1-1.xml");
    SndMusic* music = level->getMusic();
    ASSERT_NE(nullptr, music);
    EXPECT_FALSE(level->isRunning());
    EXPECT_FALSE(music->isPlaying());
    level->update(20);
    level->start();
    EXPECT_TRUE(level->isRunning());
    if (s_soundStarted) {
        EXPECT_TRUE(music->isPlaying());
    }
    level->update(20);
    level->updateMusic();
    level->pause();
    EXPECT_TRUE(level->isPaused());
    EXPECT_FALSE(music->isPlaying());
    level->update(20);
    level->resume();
    EXPECT_FALSE(level->isPaused());
    if (s_soundStarted) {
        EXPECT_TRUE(music->isPlaying());
    }
    level->stopMusic();
    EXPECT_TRUE(level->isRunning());
    EXPECT_FALSE(music->isPlaying());
    level->start();
    level->stop();
    EXPECT_FALSE(level->isRunning());
    EXPECT_FALSE(music->isPlaying());
}

TEST_F(LevelTest, RoomEventsReachTheOwner)
{
    auto level = load("level1-1.xml");
    _owner.calls.clear();
    level->start();
    level->setObjective("objective_door.pcx");
    level->objectiveFound();
    level->playerDied();
    level->finished(2);
    ASSERT_EQ(4u, _owner.calls.size());
    EXPECT_EQ("objective objective_door.pcx", _owner.calls[0]);
    EXPECT_EQ("found", _owner.calls[1]);
    EXPECT_EQ("died", _owner.calls[2]);
    EXPECT_EQ("finished level1-1.xml 2", _owner.calls[3]);
    // Finishing stops the music and leaves the stopping of the level to the owner.
    EXPECT_FALSE(level->getMusic()->isPlaying());
    EXPECT_TRUE(level->isRunning());

    // Read for a restore, the objective is not announced again.
    _owner.calls.clear();
    auto again = newLevel();
    ASSERT_EQ(0, again->read("level1-1.xml", false, false));
    EXPECT_TRUE(_owner.calls.empty());
}

TEST_F(LevelTest, QueriesWithoutACurrentRoom)
{
    auto level = newLevel();
    int remaining = -1, total = -1;
    level->powerUpStatus(remaining, total);
    EXPECT_EQ(0, remaining);
    EXPECT_EQ(0, total);
    EXPECT_FALSE(level->hasHint());
    EXPECT_EQ(0, level->treasureCount());
    level->update(30);
    level->draw();
    level->onKeyDown(AppKeyLeft);
    level->onCharDown('a');
    EXPECT_FALSE(level->isKeyConsumed());
    std::ostringstream out;
    EXPECT_NE(0, level->writeState(out));

    auto loaded = load("level1-1.xml");
    loaded->powerUpStatus(remaining, total);
    EXPECT_EQ(0, remaining);
    EXPECT_EQ(15000, total);
}

TEST_F(LevelTest, KeysReachTheHeroOnceTheRoomHasBeenDrawn)
{
    auto level = load("level1-1.xml");
    EXPECT_FALSE(level->getCurrentMap()->isInputEnabled());
    level->onKeyDown(AppKeyRight);
    EXPECT_FALSE(_player->isRightHeld());

    _window->enableDepthTest();
    _window->enableDepthWrite();
    level->draw();
    _window->disableDepthTest();
    EXPECT_TRUE(level->getCurrentMap()->isInputEnabled());
    // No hint shows: presses and releases pass, nothing is kept back.
    level->onKeyDown(AppKeyRight);
    EXPECT_TRUE(_player->isRightHeld());
    EXPECT_FALSE(level->isKeyConsumed());
    level->onKeyUp(AppKeyRight);
    EXPECT_FALSE(_player->isRightHeld());
    level->onCharDown(' ');
    EXPECT_TRUE(_player->isCharging());
    level->onKeyDown(AppKeyTab);
    EXPECT_FALSE(_player->isCharging());
    level->onCharUp(' ');
    EXPECT_FALSE(level->isKeyConsumed());
}

// ------------------------------------------------------------------------------------------
// Drawing

namespace {

// A room of flat colours: a red backdrop, a green rectangle on layer 1, a blue row of
// background tiles, one white foreground tile and a yellow rectangle on layer 9.
const char* const kDrawLevel =
    "<LEVEL>\n"
    "<PLAYER_X> 100 </PLAYER_X> <PLAYER_Y> 40 </PLAYER_Y>\n"
    "<ERASE_COLOR> 0 0 0 1 </ERASE_COLOR>\n"
    "<MAP> <MAP_ID> 1 </MAP_ID> <MAP_WIDTH> 2000 </MAP_WIDTH> <MAP_HEIGHT> 600 </MAP_HEIGHT>\n"
    "  <IMAGE> 1 lvl_red.bmp 0 </IMAGE> <IMAGE> 2 lvl_green.bmp 0 </IMAGE>\n"
    "  <IMAGE> 3 lvl_yellow.bmp 0 </IMAGE>\n"
    "  <BACKDROP> 400 300 800 600 1 </BACKDROP>\n"
    "  <LAYER1_OBJECT> 200 20 100 100 2 </LAYER1_OBJECT>\n"
    "  <LAYER9_OBJECT> 600 20 100 100 3 </LAYER9_OBJECT>\n"
    "  <BACKGROUND_TILES> <TILE_LAYER> <ROWS> 1 </ROWS> <COLS> 18 </COLS>\n"
    "    <IMAGE> 1 lvl_blue.bmp 0 </IMAGE> <TILES> 0 0 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 </TILES>\n"
    "  </TILE_LAYER> </BACKGROUND_TILES>\n"
    "  <FOREGROUND_TILES> <TILE_LAYER> <ROWS> 1 </ROWS> <COLS> 18 </COLS>\n"
    "    <IMAGE> 1 lvl_white.bmp 0 </IMAGE> <TILES> 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 </TILES>\n"
    "  </TILE_LAYER> </FOREGROUND_TILES>\n"
    "</MAP>\n"
    "</LEVEL>\n";

typedef std::array<unsigned char, 3> Rgb;
const Rgb kRed = {255, 0, 0};
const Rgb kGreen = {0, 255, 0};
const Rgb kBlue = {0, 0, 255};
const Rgb kWhite = {255, 255, 255};
const Rgb kYellow = {255, 255, 0};

std::string rgbText(const Rgb& c)
{
    return std::to_string(c[0]) + "," + std::to_string(c[1]) + "," + std::to_string(c[2]);
}

// The colour at window pixel (x, y), y from the bottom; the 16-bit buffer rounds colours.
::testing::AssertionResult pixelIs(int x, int y, const Rgb& want)
{
    const Rgb got = testsupport::readPixel(x, y);
    for (int i = 0; i < 3; ++i) {
        if (std::abs(int(got[i]) - int(want[i])) > 8)
            return ::testing::AssertionFailure()
                   << "pixel (" << x << ", " << y << ") is " << rgbText(got) << ", not " << rgbText(want);
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST_F(LevelTest, DrawingStacksTilesAndDecorationInDepthOrderWithParallax)
{
    leveltest::writeBmp("lvl_red.bmp", 255, 0, 0);
    leveltest::writeBmp("lvl_green.bmp", 0, 255, 0);
    leveltest::writeBmp("lvl_blue.bmp", 0, 0, 255);
    leveltest::writeBmp("lvl_white.bmp", 255, 255, 255);
    leveltest::writeBmp("lvl_yellow.bmp", 255, 255, 0);
    testsupport::writeText("lvl_draw.xml", kDrawLevel);
    auto level = load("lvl_draw.xml");
    ASSERT_NE(nullptr, level->getCurrentMap());

    // The game screen's frame: depth test with a cleared depth buffer, depth writes on.
    auto frame = [&]() {
        _window->clear();
        _window->enableDepthTest();
        _window->enableDepthWrite();
        _window->enableLighting();
        level->draw();
        EXPECT_TRUE(_window->isLightingEnabled());
        _window->disableDepthTest();
    };
    frame();
    // The camera at (400, 300) shows world point (x, y) at pixel (x, y); the hero stands
    // left of x 150, above the tiles.
    EXPECT_TRUE(pixelIs(30, 500, kRed));     // backdrop alone
    EXPECT_TRUE(pixelIs(200, 55, kGreen));   // layer 1 over the backdrop
    EXPECT_TRUE(pixelIs(200, 20, kBlue));    // background tiles hide layer 1
    EXPECT_TRUE(pixelIs(400, 20, kBlue));
    EXPECT_TRUE(pixelIs(700, 20, kWhite));   // a foreground tile hides the background tile
    EXPECT_TRUE(pixelIs(620, 20, kYellow));  // layer 9 in front of the tiles
    EXPECT_TRUE(pixelIs(620, 55, kYellow));

    // The hero arrives 200 units further right: the camera follows, layer 1 drifts behind
    // the world (it keeps 7/8 of the camera's move) and layer 9 runs against it.
    level->gotoMap(1, 600, 40, 0, 0, 0, 0, 0);
    ASSERT_DOUBLE_EQ(600.0, cameraX());
    frame();
    // Layer 1 now spans pixels 125..225 (25 to the left on screen), layer 9 300..400 (250
    // to the left), the tiles 200 to the left.
    EXPECT_TRUE(pixelIs(135, 55, kGreen));
    EXPECT_TRUE(pixelIs(240, 55, kRed));
    EXPECT_TRUE(pixelIs(320, 55, kYellow));
    EXPECT_TRUE(pixelIs(620, 55, kRed));
    EXPECT_TRUE(pixelIs(500, 20, kWhite));
    EXPECT_TRUE(pixelIs(450, 20, kBlue));
    EXPECT_TRUE(pixelIs(540, 20, kRed));
}

// ------------------------------------------------------------------------------------------
// Saved state

namespace {

// What the game screen saves of a running level: the level's block, then the camera.
std::string saveGame(Level& level, const GphWindow* window)
{
    std::ostringstream out;
    EXPECT_EQ(0, level.writeState(out));
    const ShpCoord* camera = window->getCamera()->getPosition();
    out << camera->getX() << ' ' << camera->getY() << ' ';
    return out.str();
}

}  // namespace

TEST_F(LevelTest, SavedStateReadBackWritesTheSameText)
{
    auto level = load("level1-1.xml");
    level->gotoMap(2, 700, 440, 8000, 1000, 3000, 0, 0);
    const std::string saved = saveGame(*level, _window);
    EXPECT_EQ(0u, saved.find("level1-1.xml "));
    // The current room's id and the camera close the block.
    EXPECT_NE(std::string::npos, saved.rfind(" 2 700 440 "));

    // Into a level as the game screen makes one for a restore...
    _window->getCamera()->setPosition(ShpCoord(0, 0, 0));
    auto restored = newLevel();
    std::istringstream in(saved + "<PLAYER>");
    ASSERT_EQ(0, restored->readState(in));
    std::string next;
    in >> next;
    EXPECT_EQ("<PLAYER>", next);
    EXPECT_EQ(restored->getMap(2), restored->getCurrentMap());
    EXPECT_DOUBLE_EQ(700.0, cameraX());
    EXPECT_DOUBLE_EQ(440.0, cameraY());
    EXPECT_EQ(8000, restored->getMap(2)->getXrayTime());
    EXPECT_EQ(saved, saveGame(*restored, _window));

    // ...and into one that has been read and entered already: reading starts afresh.
    auto reread = load("level1-1.xml");
    reread->gotoMap(3, 300, 80, 0, 0, 0, 0, 0);
    std::istringstream again(saved);
    ASSERT_EQ(0, reread->readState(again));
    EXPECT_EQ(3u, reread->getMaps().size());
    EXPECT_EQ(saved, saveGame(*reread, _window));
}

TEST_F(LevelTest, TruncatedOrCorruptSavedStateFails)
{
    auto level = load("level1-1.xml");
    level->gotoMap(2, 700, 440, 0, 0, 0, 0, 0);
    const std::string saved = saveGame(*level, _window);
    const std::vector<std::string> tokens = leveltest::tokens(saved);
    ASSERT_GT(tokens.size(), 20u);

    // Cut after every token but the last: never restored as if complete.
    for (size_t n = 0; n < tokens.size(); ++n) {
        auto restored = newLevel();
        std::istringstream in(leveltest::prefix(tokens, n));
        EXPECT_NE(0, restored->readState(in)) << "cut after " << n << " of " << tokens.size() << " tokens";
    }
    auto whole = newLevel();
    std::istringstream in(leveltest::prefix(tokens, tokens.size()));
    EXPECT_EQ(0, whole->readState(in));

    // A current room the level file does not hold.
    std::vector<std::string> corrupt = tokens;
    corrupt[corrupt.size() - 3] = "7";
    const size_t mark = testsupport::logMessages().size();
    auto lost = newLevel();
    std::istringstream lostIn(leveltest::prefix(corrupt, corrupt.size()));
    EXPECT_EQ(-1, lost->readState(lostIn));
    EXPECT_TRUE(loggedSince(mark, "Failed to find map id: 7 on level level1-1.xml"));

    // A word where a number belongs, a level file that is not there.
    corrupt = tokens;
    corrupt[corrupt.size() - 2] = "left";
    auto word = newLevel();
    std::istringstream wordIn(leveltest::prefix(corrupt, corrupt.size()));
    EXPECT_NE(0, word->readState(wordIn));
    corrupt = tokens;
    corrupt[0] = "nosuchlevel.xml";
    auto missing = newLevel();
    std::istringstream missingIn(leveltest::prefix(corrupt, corrupt.size()));
    EXPECT_EQ(-1, missing->readState(missingIn));
}

// ------------------------------------------------------------------------------------------
// Level files that do not read

namespace {

// A small level touching every kind of field the level block and a room carry.
const char* const kSmallLevelBody =
    "<PLAYER_X> 100 </PLAYER_X> <PLAYER_Y> 40 </PLAYER_Y>\n"
    "<CAMERA_X> 0 </CAMERA_X> <CAMERA_Y> 0 </CAMERA_Y>\n"
    "<OBJECTIVE> objective1-1.pcx </OBJECTIVE>\n"
    "<ERASE_COLOR> 0 0 0.2 1 </ERASE_COLOR>\n"
    "<INITIAL_MAP> 1 </INITIAL_MAP>\n"
    "<MAP> <MAP_ID> 1 </MAP_ID> <MAP_WIDTH> 800 </MAP_WIDTH> <MAP_HEIGHT> 600 </MAP_HEIGHT>\n"
    "  <GRAVITY> 2000 </GRAVITY>\n"
    "  <IMAGE> 1 lvl_blue.bmp 0 </IMAGE>\n"
    "  <ANIMATION> 2 100 2 lvl_blue.bmp lvl_red.bmp </ANIMATION>\n"
    "  <LAYER4_OBJECT> 300 300 100 100 1 </LAYER4_OBJECT>\n"
    "  <EDGE_TILES> <TILE_LAYER> <ROWS> 2 </ROWS> <COLS> 3 </COLS>\n"
    "    <IMAGE> 1 lvl_blue.bmp 0 </IMAGE> <TILES> 1 1 1 0 1 0 </TILES> </TILE_LAYER> </EDGE_TILES>\n"
    "  <FLOOR> <BARRIER> <EDGES> 0 800 40 0 </EDGES> <OFFSET> 40 </OFFSET> </BARRIER> </FLOOR>\n"
    "  <CUTSCENE> <DIALOGUE> intro1-1_a.pcx 400 350 </DIALOGUE> </CUTSCENE>\n"
    "  <DOOR> 700 10 80 100 1 100 40 <ANIMATION> 2 </ANIMATION> <ID> 4 </ID> </DOOR>\n"
    "  <ITEM> 4 300 60 2 </ITEM>\n"
    "  <EXIT> 1 700 800 140 40 </EXIT>\n"
    "</MAP>\n"
    "<MUSIC> level1.ogg 0 </MUSIC>\n"
    "</LEVEL>\n";

class LevelFileTest : public LevelTest {
protected:
    void SetUp() override
    {
        LevelTest::SetUp();
        leveltest::writeBmp("lvl_red.bmp", 255, 0, 0);
        leveltest::writeBmp("lvl_blue.bmp", 0, 0, 255);
    }

    // Reads `body` behind a first line as a level file; the result of Level::read. Each
    // read must end quickly, whatever the text.
    int readText(const std::string& body, Level* into = nullptr)
    {
        testsupport::writeText("lvl_case.xml", "<LEVEL>\n" + body);
        std::unique_ptr<Level> fresh;
        if (!into) {
            fresh = newLevel();
            into = fresh.get();
        }
        const auto start = std::chrono::steady_clock::now();
        const int result = into->read("lvl_case.xml", true, false);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_LT(took, std::chrono::seconds(5)) << body;
        if (result != 0) {
            EXPECT_EQ(nullptr, into->getCurrentMap());
        }
        return result;
    }
};

}  // namespace

TEST_F(LevelFileTest, CutAtEveryTokenTheReadFails)
{
    const std::vector<std::string> tokens = leveltest::tokens(kSmallLevelBody);
    for (size_t n = 0; n < tokens.size(); ++n)
        EXPECT_EQ(-1, readText(leveltest::prefix(tokens, n))) << "cut after " << n << " tokens";
    auto level = newLevel();
    ASSERT_EQ(0, readText(kSmallLevelBody, level.get()));
    EXPECT_EQ(1, level->getCurrentMap()->getId());
    EXPECT_EQ(1, level->treasureCount());
}

TEST_F(LevelFileTest, MalformedSizesAndHugeCountsFail)
{
    const std::string head =
        "<MAP> <MAP_ID> 1 </MAP_ID> <MAP_WIDTH> 800 </MAP_WIDTH> <MAP_HEIGHT> 600 </MAP_HEIGHT>\n";
    const std::string tail = "</MAP> </LEVEL>\n";
    const char* const bodies[] = {
        // More tiles asked for than given: the closing tags are taken as tile ids.
        "<EDGE_TILES> <TILE_LAYER> <ROWS> 3 </ROWS> <COLS> 3 </COLS> <IMAGE> 1 lvl_blue.bmp 0 </IMAGE>"
        " <TILES> 1 1 1 0 1 0 </TILES> </TILE_LAYER> </EDGE_TILES>",
        // Tiles before their size: the ids are read as tags.
        "<EDGE_TILES> <TILE_LAYER> <TILES> 1 1 1 0 1 0 </TILES> <ROWS> 2 </ROWS> <COLS> 3 </COLS>"
        " </TILE_LAYER> </EDGE_TILES>",
        // A grid too large to hold.
        "<EDGE_TILES> <TILE_LAYER> <ROWS> 2000000000 </ROWS> <COLS> 2000000000 </COLS>"
        " <TILES> 1 </TILES> </TILE_LAYER> </EDGE_TILES>",
        // Frame and link counts far beyond anything a file holds.
        "<ANIMATION> 5 100 2000000000 lvl_blue.bmp lvl_red.bmp </ANIMATION>",
        "<CHARACTER> 20 100 40 1 1 a.pcx b.pcx c.pcx 2000000000 1 2 -1 </CHARACTER>",
        // A room's size written as a word, a width where the id belongs.
        "<MAP_ID> wide </MAP_ID>",
        "<FLOOR> <BARRIER> <EDGES> 0 800 forty 0 </EDGES> </BARRIER> </FLOOR>",
    };
    for (const char* body : bodies) EXPECT_EQ(-1, readText(head + body + "\n" + tail)) << body;

    // The level's own fields with values that do not parse.
    EXPECT_EQ(-1, readText("<CAMERA_X> left </CAMERA_X> " + head + tail));
    EXPECT_EQ(-1, readText("<INITIAL_MAP> 1.5 </INITIAL_MAP> " + head + tail));
    EXPECT_EQ(-1, readText("<ERASE_COLOR> 0 0 </ERASE_COLOR> " + head + tail));
    EXPECT_EQ(-1, readText("<MUSIC> level1.ogg loop </MUSIC> " + head + tail));
    EXPECT_EQ(0, readText(head + tail));
}

TEST_F(LevelFileTest, FailuresAreLoggedAndKeepWhatCameBefore)
{
    size_t mark = testsupport::logMessages().size();
    auto level = newLevel();
    EXPECT_EQ(-1, level->read("nosuchlevel.xml", true, true));
    EXPECT_TRUE(loggedSince(mark, "ERROR! Failed to open nosuchlevel.xml for read."));
    EXPECT_EQ("", level->getFileName());

    // An empty file, an unknown tag.
    mark = testsupport::logMessages().size();
    testsupport::writeText("lvl_empty.xml", "");
    EXPECT_EQ(-1, level->read("lvl_empty.xml", true, true));
    EXPECT_EQ(-1, readText("<MAP> <MAP_ID> 1 </MAP_ID> </MAP> <CAMERA_Z> 3 </CAMERA_Z> </LEVEL>"));
    EXPECT_TRUE(loggedSince(mark, "Unknown tag: <CAMERA_Z>"));

    // A room that fails: the rooms before it stay, none becomes current.
    mark = testsupport::logMessages().size();
    auto partial = newLevel();
    EXPECT_EQ(-1, readText("<MAP> <MAP_ID> 1 </MAP_ID> </MAP>\n"
                           "<MAP> <MAP_ID> 2 </MAP_ID> <MAP_DEPTH> 3 </MAP_DEPTH> </MAP>\n"
                           "<MAP> <MAP_ID> 3 </MAP_ID> </MAP> </LEVEL>",
                           partial.get()));
    EXPECT_TRUE(loggedSince(mark, "Failed to read level map"));
    ASSERT_EQ(1u, partial->getMaps().size());
    EXPECT_NE(nullptr, partial->getMap(1));

    // The initial room missing: the level would run blank and frozen, so it fails.
    mark = testsupport::logMessages().size();
    auto blank = newLevel();
    EXPECT_EQ(-1, readText("<INITIAL_MAP> 5 </INITIAL_MAP> <MAP> <MAP_ID> 1 </MAP_ID> </MAP> </LEVEL>",
                           blank.get()));
    EXPECT_TRUE(loggedSince(mark, "Failed to find initial map id: 5 on level lvl_case.xml"));
    EXPECT_EQ(1u, blank->getMaps().size());
    // Without "<INITIAL_MAP>" the level starts in room 1.
    EXPECT_EQ(-1, readText("<MAP> <MAP_ID> 2 </MAP_ID> </MAP> </LEVEL>"));
    auto first = newLevel();
    EXPECT_EQ(0, readText("<MAP> <MAP_ID> 2 </MAP_ID> </MAP> <MAP> <MAP_ID> 1 </MAP_ID> </MAP> </LEVEL>",
                          first.get()));
    EXPECT_EQ(1, first->getCurrentMap()->getId());
}

TEST_F(LevelFileTest, EveryFailureLogsOneLineNamingTheFileAndWhatWasWrong)
{
    const struct {
        const char* text;
        const char* what;
    } cases[] = {
        {"", "the file is empty"},
        {"<LEVEL>", "nothing follows the first line"},
        {"<LEVEL>\n", "nothing follows the first line"},
        {"<LEVEL>\n<CAMERA_X>", "no valid value for <CAMERA_X>"},
        {"<LEVEL>\n<CAMERA_X> </CAMERA_X> </LEVEL>", "no valid value for <CAMERA_X>"},
        {"<LEVEL>\n<CAMERA_Z> 3 </CAMERA_Z> </LEVEL>", "unknown tag <CAMERA_Z>"},
        {"<LEVEL>\n<MAP> <MAP_ID> 1 </MAP_ID> </MAP>\n", "it ends before </LEVEL>"},
        {"<LEVEL>\n<MAP> <MAP_ID> 1 </MAP_ID>", "Failed to read level map on level lvl_fail.xml"},
    };
    for (const auto& c : cases) {
        testsupport::writeText("lvl_fail.xml", c.text);
        const size_t mark = testsupport::logMessages().size();
        EXPECT_EQ(-1, newLevel()->read("lvl_fail.xml", true, false)) << c.text;
        std::vector<std::string> naming;
        for (const std::string& m : messagesSince(mark))
            if (m.find("lvl_fail.xml") != std::string::npos) naming.push_back(m);
        ASSERT_EQ(1u, naming.size()) << c.text;
        EXPECT_NE(std::string::npos, naming[0].find(c.what)) << naming[0];
    }
}

TEST_F(LevelFileTest, FirstLineAndRepeatedBlocks)
{
    // The first line is skipped when it is shorter than 200 characters.
    const std::string rest = "<MAP> <MAP_ID> 1 </MAP_ID> </MAP> </LEVEL>\n";
    testsupport::writeText("lvl_line.xml", "<LEVEL>" + std::string(192, ' ') + "\n" + rest);
    auto level = newLevel();
    EXPECT_EQ(0, level->read("lvl_line.xml", true, true));
    const size_t mark = testsupport::logMessages().size();
    testsupport::writeText("lvl_line.xml", "<LEVEL>" + std::string(192, '-') + "<X>\n" + rest);
    EXPECT_EQ(-1, level->read("lvl_line.xml", true, true));
    EXPECT_TRUE(loggedSince(mark, "Unknown tag: "));

    // Two rooms with one id: the first keeps it; a later music replaces the earlier one.
    auto twice = newLevel();
    ASSERT_EQ(0, readText("<MUSIC> level1.ogg 1 </MUSIC>\n"
                          "<MAP> <MAP_ID> 1 </MAP_ID> <MAP_WIDTH> 900 </MAP_WIDTH> </MAP>\n"
                          "<MAP> <MAP_ID> 1 </MAP_ID> <MAP_WIDTH> 1300 </MAP_WIDTH> </MAP>\n"
                          "<MUSIC> level1.ogg 0 </MUSIC> </LEVEL>",
                          twice.get()));
    ASSERT_EQ(1u, twice->getMaps().size());
    EXPECT_EQ(900, twice->getMap(1)->getWidth());
    ASSERT_NE(nullptr, twice->getMusic());
    EXPECT_FALSE(twice->getMusic()->isLooping());

    // Reading a level again starts from scratch.
    ASSERT_EQ(0, readText(kSmallLevelBody, twice.get()));
    EXPECT_EQ(800, twice->getMap(1)->getWidth());
    EXPECT_EQ(1u, twice->getMaps().size());
    ASSERT_EQ(0, readText("<INITIAL_MAP> 2 </INITIAL_MAP> <CAMERA_X> 900 </CAMERA_X>\n"
                          "<MAP> <MAP_ID> 2 </MAP_ID> </MAP> </LEVEL>",
                          twice.get()));
    ASSERT_EQ(0, readText("<MAP> <MAP_ID> 1 </MAP_ID> </MAP> <MAP> <MAP_ID> 2 </MAP_ID> </MAP> </LEVEL>",
                          twice.get()));
    EXPECT_EQ(1, twice->getCurrentMap()->getId());
    EXPECT_DOUBLE_EQ(0.0, twice->getCameraX());
    EXPECT_EQ(nullptr, twice->getMusic());
}

TEST_F(LevelFileTest, SpritesAreFoundInTheFirstRoomThatHasThem)
{
    auto level = newLevel();
    ASSERT_EQ(0, readText("<MAP> <MAP_ID> 1 </MAP_ID> <DOOR> 100 10 80 100 2 0 0 <ID> 7 </ID> </DOOR> </MAP>\n"
                          "<MAP> <MAP_ID> 2 </MAP_ID> <DOOR> 200 10 80 100 1 0 0 <ID> 7 </ID> </DOOR>\n"
                          "  <DOOR> 300 10 80 100 1 0 0 <ID> 9 </ID> </DOOR> </MAP>\n"
                          "<MAP> <MAP_ID> 3 </MAP_ID> <DOOR> 400 10 80 100 1 0 0 <ID> 9 </ID> </DOOR> </MAP>\n"
                          "</LEVEL>",
                          level.get()));
    std::list<Sprite*> found;
    level->findSpritesById(7, found);
    ASSERT_EQ(1u, found.size());
    EXPECT_DOUBLE_EQ(100.0, found.front()->getX());

    found.clear();
    level->findSpritesById(9, found);
    ASSERT_EQ(1u, found.size());
    EXPECT_DOUBLE_EQ(300.0, found.front()->getX());

    // A list that holds sprites already ends the search after the first room.
    Sprite* held = found.front();
    level->findSpritesById(9, found);
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(held, found.front());

    found.clear();
    level->findSpritesById(5, found);
    EXPECT_TRUE(found.empty());
}
