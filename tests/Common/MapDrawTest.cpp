#include <gtest/gtest.h>

#include <array>
#include <string>

#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/Map.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Player.h"
#include "MapTestSupport.h"
#include "support/GlContext.h"

namespace {

using maptest::MapFixture;

typedef std::array<unsigned char, 3> Rgb;

// The colours of the test pictures, as far as a 16-bit window keeps them apart.
enum Colour { Red, Green, Blue, Yellow, Cyan, Magenta, Other };

Colour classify(const Rgb& p)
{
    const bool r = p[0] > 200, g = p[1] > 200, b = p[2] > 200;
    const bool nr = p[0] < 50, ng = p[1] < 50, nb = p[2] < 50;
    if (r && ng && nb) return Red;
    if (nr && g && nb) return Green;
    if (nr && ng && b) return Blue;
    if (r && g && nb) return Yellow;
    if (nr && g && b) return Cyan;
    if (r && ng && b) return Magenta;
    return Other;
}

const char* name(Colour c)
{
    static const char* const names[] = {"red", "green", "blue", "yellow", "cyan", "magenta",
                                        "other"};
    return names[c];
}

// A room 1600 wide: a red backdrop filling the first view, a green layer 1 square, a blue
// background tile inside it and another under a yellow foreground tile, a second yellow
// tile under a magenta foreground object with a cyan layer 9 square on it.
const std::string kRoom =
    "<MAP_WIDTH> 1600 </MAP_WIDTH> <MAP_HEIGHT> 600 </MAP_HEIGHT> "
    "<IMAGE> 1 map_red.bmp 0 </IMAGE> <IMAGE> 2 map_green.bmp 0 </IMAGE> "
    "<IMAGE> 3 map_magenta.bmp 0 </IMAGE> <IMAGE> 4 map_cyan.bmp 0 </IMAGE> "
    "<BACKDROP> 400 300 800 600 1 </BACKDROP> "
    "<LAYER1_OBJECT> 200 300 200 200 2 </LAYER1_OBJECT> "
    "<FOREGROUND_OBJECT> 500 100 100 100 3 </FOREGROUND_OBJECT> "
    "<LAYER9_OBJECT> 500 100 60 60 4 </LAYER9_OBJECT> "
    "<BACKGROUND_TILES> <TILE_LAYER> <ROWS> 8 </ROWS> <COLS> 16 </COLS> "
    "<IMAGE> 1 map_blue.bmp 0 </IMAGE> <TILES> "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "1 0 0 0 0 1 0 0 0 0 0 0 0 0 0 1 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 </TILES> </TILE_LAYER> </BACKGROUND_TILES> "
    "<FOREGROUND_TILES> <TILE_LAYER> <ROWS> 8 </ROWS> <COLS> 16 </COLS> "
    "<IMAGE> 1 map_yellow.bmp 0 </IMAGE> <TILES> "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 1 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 </TILES> </TILE_LAYER> </FOREGROUND_TILES> </MAP>";

class MapDrawTest : public MapFixture {
protected:
    // One frame as the game draws it: a cleared window with the depth test on and empty.
    void drawFrame(Map& map)
    {
        _window->clear();
        _window->disableDepthTest();
        _window->enableDepthTest();
        map.draw();
    }

    static Colour at(int x, int y) { return classify(testsupport::readPixel(x, y)); }

    void expectColour(Colour expected, int x, int y)
    {
        const Colour seen = at(x, y);
        EXPECT_EQ(expected, seen) << "at " << x << ", " << y << ": " << name(seen)
                                  << " instead of " << name(expected);
    }
};

}  // namespace

TEST_F(MapDrawTest, TilesAndDecorationInDepthOrder)
{
    std::unique_ptr<Map> map = readMap(kRoom);
    map->placeCamera(400, 300);
    EXPECT_FALSE(map->isInputEnabled());
    drawFrame(*map);
    EXPECT_TRUE(map->isInputEnabled());
    // The backdrop behind everything.
    expectColour(Red, 50, 550);
    // Layer 1 over the backdrop.
    expectColour(Green, 150, 380);
    // A background tile (row 6, column 5) in front of layer 1.
    expectColour(Blue, 220, 260);
    expectColour(Green, 260, 260);
    // A solid foreground tile (row 6, column 15) hides the background tile of its cell.
    expectColour(Yellow, 620, 260);
    // The foreground object over the foreground tile (row 2, column 12), layer 9 over both.
    expectColour(Cyan, 500, 100);
    expectColour(Magenta, 460, 60);
    expectColour(Red, 700, 100);
}

TEST_F(MapDrawTest, ParallaxAfterTheCameraMoved)
{
    std::unique_ptr<Map> map = readMap(kRoom);
    map->placeCamera(800, 300);
    drawFrame(*map);
    // The backdrop moves with the camera and still fills the view.
    expectColour(Red, 790, 590);
    expectColour(Red, 10, 10);
    // Layer 1 moved 350 of the camera's 400: on screen it slid 50 to the left, from
    // x 100..300 to 50..250.
    expectColour(Red, 40, 250);
    expectColour(Green, 60, 250);
    expectColour(Green, 240, 250);
    expectColour(Red, 260, 250);
    // The tiles slid the full 400: the background tile of column 5 is off screen and the
    // one of column 15 (x 600) is now at x 200, hidden by its foreground tile.
    expectColour(Yellow, 220, 260);
    // Layer 9 moves against the camera (-100), the foreground object not at all.
    // on screen the square spans x -30..30 and the object 50..150.
    expectColour(Cyan, 10, 100);
    expectColour(Red, 40, 100);
    expectColour(Magenta, 60, 100);
    expectColour(Magenta, 140, 100);
    expectColour(Red, 160, 100);
}

TEST_F(MapDrawTest, XrayShowsWhatTheForegroundHides)
{
    Player player(_owner.get());
    std::unique_ptr<Map> map = readMap(kRoom, &player);
    map->enter(100, 300, 8000, 0, 0, 0, 0);
    drawFrame(*map);
    // The foreground tile is drawn half see-through over the background tile it hid.
    const Rgb mixed = testsupport::readPixel(620, 260);
    EXPECT_GT(mixed[2], 60) << "blue shows through";
    EXPECT_GT(mixed[0], 60) << "yellow still drawn";
    EXPECT_EQ(Other, classify(mixed));
    map->enter(100, 300, 0, 0, 0, 0, 0);
    drawFrame(*map);
    expectColour(Yellow, 620, 260);
}

TEST_F(MapDrawTest, TheDrawListStacksByHeightAndPosition)
{
    Player player(_owner.get());
    player.setPosition(100, 40, -41);
    // Obstacles in file order: a high one, a low one, one overlapping the low one.
    const std::string obstacle =
        "<OBSTACLE> <ANIMATION> 5 </ANIMATION> <LOCATION> %X %Y 80 80 </LOCATION> "
        "<FLOOR> <BARRIER> <EDGES> 0 1 2 3 </EDGES> </BARRIER> </FLOOR> "
        "<WALL> <BARRIER> <EDGES> 0 1 2 3 </EDGES> </BARRIER> </WALL> </OBSTACLE> ";
    auto place = [&](int x, int y) {
        std::string text = obstacle;
        text.replace(text.find("%X"), 2, std::to_string(x));
        text.replace(text.find("%Y"), 2, std::to_string(y));
        return text;
    };
    std::unique_ptr<Map> map = readMap("<ANIMATION> 5 100 1 map_grey.bmp </ANIMATION> " +
                                           place(300, 400) + place(720, 70) + place(700, 60) +
                                           "</MAP>",
                                       &player);
    ASSERT_EQ(3u, map->getObstacles().size());
    drawFrame(*map);
    auto it = map->getObstacles().begin();
    const Obstacle* high = *it++;
    const Obstacle* right = *it++;
    const Obstacle* left = *it++;
    // The hero first, then the lower obstacles (the one further down, then the one further
    // left), the high one last.
    EXPECT_EQ(-42.0, player.getZ());
    EXPECT_EQ(-43.0, left->getZ());
    EXPECT_EQ(-44.0, right->getZ());
    EXPECT_EQ(-45.0, high->getZ());

    // A dying hero is left out of the list and keeps his own depth.
    player.die();
    drawFrame(*map);
    EXPECT_EQ(-10.0, player.getZ());
    EXPECT_EQ(-42.0, left->getZ());
    EXPECT_EQ(-43.0, right->getZ());
    EXPECT_EQ(-44.0, high->getZ());
}
