#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <sstream>
#include <string>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/Layer.h"
#include "Common/Map.h"
#include "LevelTestWindow.h"
#include "support/Files.h"
#include "support/GlContext.h"

namespace {

using Pixel = std::array<unsigned char, 3>;

// Tiles: red and white opaque, blue see-through.
const char* const kImages =
    "\n<IMAGE> 1 layer_red.bmp 0 </IMAGE>\n"
    "<IMAGE> 2 layer_blue.bmp 1 </IMAGE>\n"
    "<IMAGE> 3 layer_white.bmp 0 </IMAGE>\n";

// 3 rows of 4: the first line is the top row (row 2), the last the bottom row (row 0).
const std::string kSmallLayer = std::string("<ROWS> 3 </ROWS> <COLS> 4 </COLS>") + kImages +
                                "<TILES>\n"
                                "1 0 2 9\n"
                                "0 3 0 0\n"
                                "2 1 0 3\n"
                                "</TILES>\n"
                                "</TILE_LAYER>";

class LayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        leveltest::writeBmp("layer_red.bmp", 255, 0, 0);
        leveltest::writeBmp("layer_blue.bmp", 0, 0, 255);
        leveltest::writeBmp("layer_white.bmp", 255, 255, 255);
    }

    void SetUp() override
    {
        window = leveltest::openWindow();
        ASSERT_NE(nullptr, window);
        owner = new leveltest::WindowOwner(window);
        window->disableBlending();
        window->setClearColor(0, 1, 0, 1);
        window->clear();
    }

    void TearDown() override
    {
        delete owner;
        if (!window) return;
        window->getCamera()->setPosition(ShpCoord(400, 300, 0));
        window->setClearColor(0, 0, 0, 0);
    }

    // A layer of the kind, read from the text; the read's result in `result`.
    Layer* readLayer(const std::string& text, int kind = Layer::Edge, int* result = nullptr)
    {
        Layer* layer = new Layer(owner, nullptr, kind);
        std::istringstream in(text);
        const int r = layer->read(in);
        if (result) *result = r;
        return layer;
    }

    static std::string fileOf(GphAnimatedTexture* a)
    {
        if (!a || !a->getCurrentTexture() || !a->getCurrentTexture()->getImage()) return "";
        return a->getCurrentTexture()->getImage()->getFileName();
    }

    GphWindow* window = nullptr;
    leveltest::WindowOwner* owner = nullptr;
};

bool near(const Pixel& p, int r, int g, int b)
{
    return std::abs(p[0] - r) <= 12 && std::abs(p[1] - g) <= 12 && std::abs(p[2] - b) <= 12;
}

std::string show(const Pixel& p)
{
    return "(" + std::to_string(p[0]) + ", " + std::to_string(p[1]) + ", " + std::to_string(p[2]) + ")";
}

// Window pixel (x, y) is the colour expected; with the camera at (400, 300) it shows world
// point (x, y), and cell (row, col) has its centre on pixel (40 col + 20, 40 row + 20).
#define EXPECT_PIXEL(x, y, r, g, b)                                                              \
    do {                                                                                         \
        const Pixel p_ = testsupport::readPixel(x, y);                                           \
        EXPECT_TRUE(near(p_, r, g, b)) << "pixel (" << (x) << ", " << (y) << ") is " << show(p_); \
    } while (0)
#define EXPECT_CELL_COLOUR(row, col, r, g, b) EXPECT_PIXEL(40 * (col) + 20, 40 * (row) + 20, r, g, b)

}  // namespace

TEST_F(LayerTest, NewLayerTakesItsViewFromTheWindowAndItsDepthFromItsKind)
{
    const double depths[] = {-210, -208, -19, -10};
    const int kinds[] = {Layer::Background, Layer::Edge, Layer::Foreground, 7};
    for (int i = 0; i < 4; ++i) {
        Layer layer(owner, nullptr, kinds[i]);
        EXPECT_EQ(10, layer.getHalfColumns());
        EXPECT_EQ(9, layer.getHalfRows());
        EXPECT_EQ(depths[i], layer.getTileQuad()->getCoord()->getZ()) << "kind " << kinds[i];
    }
}

TEST_F(LayerTest, TilesFillFromTheTopRowDownWithEmptyCellsForZeroAndUnknownIds)
{
    int result = -2;
    const size_t logged = testsupport::logMessages().size();
    Layer* layer = readLayer(kSmallLayer + " <NEXT>", Layer::Edge, &result);
    ASSERT_EQ(0, result);
    EXPECT_EQ(logged, testsupport::logMessages().size());  // unknown ids are empty cells, not errors
    EXPECT_EQ(3, layer->getGridRows());
    EXPECT_EQ(4, layer->getGridCols());
    EXPECT_EQ("layer_red.bmp", fileOf(layer->getTile(2, 0)));
    EXPECT_EQ(nullptr, layer->getTile(2, 1));
    EXPECT_EQ("layer_blue.bmp", fileOf(layer->getTile(2, 2)));
    EXPECT_EQ(nullptr, layer->getTile(2, 3));  // id 9 has no picture
    EXPECT_EQ("layer_white.bmp", fileOf(layer->getTile(1, 1)));
    EXPECT_EQ("layer_blue.bmp", fileOf(layer->getTile(0, 0)));
    EXPECT_EQ("layer_white.bmp", fileOf(layer->getTile(0, 3)));
    // The first picture of a background or edge layer goes on the tile quad at once.
    EXPECT_EQ(layer->getImages().find(1), layer->getTileQuad()->getAnimatedTexture());
    delete layer;

    Layer* foreground = readLayer(kSmallLayer, Layer::Foreground, &result);
    EXPECT_EQ(nullptr, foreground->getTileQuad()->getAnimatedTexture());
    delete foreground;

    // An id keeps its first picture; a picture that does not load leaves its cells empty.
    Layer* twice = readLayer(
        "<ROWS> 1 </ROWS> <COLS> 2 </COLS> <IMAGE> 1 layer_red.bmp 0 </IMAGE> <IMAGE> 1 layer_blue.bmp 1 </IMAGE>"
        " <IMAGE> 2 layer_missing.bmp 0 </IMAGE> <TILES> 1 2 </TILES> </TILE_LAYER>",
        Layer::Background, &result);
    EXPECT_EQ(0, result);
    EXPECT_EQ("layer_red.bmp", fileOf(twice->getTile(0, 0)));
    EXPECT_EQ(nullptr, twice->getTile(0, 1));
    EXPECT_TRUE(testsupport::logContains("Failed to load image file: layer_missing.bmp"));
    delete twice;
}

TEST_F(LayerTest, OnlyOpaqueCellsInsideTheGridOfAnOpaqueLayerAreSolid)
{
    Layer* layer = readLayer(kSmallLayer, Layer::Foreground);
    EXPECT_TRUE(layer->isSolidTile(2, 0));   // red, opaque, top left corner
    EXPECT_TRUE(layer->isSolidTile(0, 3));   // white, opaque, bottom right corner
    EXPECT_FALSE(layer->isSolidTile(2, 2));  // blue, see-through
    EXPECT_FALSE(layer->isSolidTile(2, 1));  // empty
    EXPECT_FALSE(layer->isSolidTile(2, 3));  // unknown id
    for (auto cell : {std::make_pair(-1, 0), std::make_pair(0, -1), std::make_pair(3, 0), std::make_pair(0, 4),
                      std::make_pair(-1000000, 2000000000)})
        EXPECT_FALSE(layer->isSolidTile(cell.first, cell.second)) << cell.first << ", " << cell.second;

    layer->setTranslucent(true);
    EXPECT_EQ(0.5f, layer->getTileQuad()->getAlpha());
    EXPECT_FALSE(layer->isSolidTile(2, 0));
    layer->setTranslucent(false);
    EXPECT_TRUE(layer->isSolidTile(2, 0));
    delete layer;
}

TEST_F(LayerTest, SizeGivenAfterTheTilesDoesNotReachPastTheGrid)
{
    int result = -2;
    Layer* layer = readLayer(std::string("<ROWS> 2 </ROWS> <COLS> 2 </COLS>") + kImages +
                                 "<TILES> 1 1 3 3 </TILES> <ROWS> 500 </ROWS> <COLS> 900 </COLS> </TILE_LAYER>",
                             Layer::Foreground, &result);
    ASSERT_EQ(0, result);
    EXPECT_EQ(500, layer->getRows());
    EXPECT_EQ(900, layer->getCols());
    EXPECT_EQ(2, layer->getGridRows());
    EXPECT_EQ(2, layer->getGridCols());
    EXPECT_TRUE(layer->isSolidTile(1, 1));
    EXPECT_FALSE(layer->isSolidTile(1, 2));
    EXPECT_FALSE(layer->isSolidTile(499, 899));
    // Drawing with the camera far out in the stated size touches no cell beyond the grid.
    window->getCamera()->setPosition(ShpCoord(4000, 4000, 0));
    layer->drawOpaque();
    layer->drawTransparent();
    delete layer;

    // A second "<TILES>" makes a new grid of the size known by then.
    Layer* again = readLayer(std::string("<ROWS> 1 </ROWS> <COLS> 1 </COLS>") + kImages +
                                 "<TILES> 1 </TILES> <COLS> 3 </COLS> <TILES> 2 0 3 </TILES> </TILE_LAYER>",
                             Layer::Edge, &result);
    ASSERT_EQ(0, result);
    EXPECT_EQ(3, again->getGridCols());
    EXPECT_EQ("layer_blue.bmp", fileOf(again->getTile(0, 0)));
    EXPECT_EQ("layer_white.bmp", fileOf(again->getTile(0, 2)));
    delete again;
}

TEST_F(LayerTest, NegativeMissingAndHugeSizesGiveNoGrid)
{
    int result = -2;
    for (const char* block : {"<ROWS> -3 </ROWS> <COLS> 4 </COLS> <TILES> </TILES>",
                              "<ROWS> -2 </ROWS> <COLS> -2 </COLS> <TILES> </TILES>",
                              "<COLS> 4 </COLS> <TILES> </TILES>",
                              "<ROWS> 2000000000 </ROWS> <COLS> 0 </COLS> <TILES> </TILES>",
                              "<ROWS> 3 </ROWS> <COLS> 4 </COLS>"}) {
        Layer* layer = readLayer(std::string(block) + kImages + "</TILE_LAYER>", Layer::Foreground, &result);
        EXPECT_EQ(0, result) << block;
        EXPECT_EQ(0, layer->getGridRows()) << block;
        EXPECT_EQ(0, layer->getGridCols()) << block;
        EXPECT_FALSE(layer->isSolidTile(0, 0)) << block;
        int firstRow, endRow, firstCol, endCol;
        layer->visibleWindow(firstRow, endRow, firstCol, endCol);
        EXPECT_EQ(firstRow, endRow) << block;
        delete layer;
    }

    // Too many cells to be a room: refused before anything is allocated or read.
    for (const char* size : {"<ROWS> 2000000000 </ROWS> <COLS> 2000000000 </COLS>",
                             "<ROWS> 1025 </ROWS> <COLS> 1024 </COLS>"}) {
        Layer* layer = readLayer(std::string(size) + kImages + "<TILES> 1 1 1 </TILES> </TILE_LAYER>",
                                 Layer::Edge, &result);
        EXPECT_EQ(-1, result) << size;
        EXPECT_EQ(0, layer->getGridRows());
        delete layer;
    }
    EXPECT_TRUE(testsupport::logContains("Tile layer too large: 2000000000 x 2000000000"));

    // The largest grid allowed is read in full.
    std::string tiles = "1 ";
    for (int i = 1; i < 1024 * 1024; ++i) tiles += "0 ";
    Layer* large = readLayer("<ROWS> 1024 </ROWS> <COLS> 1024 </COLS> <IMAGE> 1 layer_red.bmp 0 </IMAGE> <TILES> " +
                                 tiles + "</TILES> </TILE_LAYER>",
                             Layer::Foreground, &result);
    EXPECT_EQ(0, result);
    EXPECT_TRUE(large->isSolidTile(1023, 0));
    EXPECT_FALSE(large->isSolidTile(0, 0));
    delete large;
}

TEST_F(LayerTest, UnknownTagsBadValuesAndCutShortBlocksFail)
{
    int result = 0;
    Layer* unknown = readLayer("<ROWS> 1 </ROWS> <DEPTH> 3 </DEPTH> <COLS> 1 </COLS> </TILE_LAYER>", Layer::Edge,
                               &result);
    EXPECT_EQ(-1, result);
    EXPECT_TRUE(testsupport::logContains("Unknown tag: <DEPTH>"));
    EXPECT_EQ(0, unknown->getCols());  // the read stopped at the bad tag
    delete unknown;

    Layer* bad = readLayer("<ROWS> 1 </ROWS> <COLS> 2 </COLS> <TILES> 1 x </TILES> </TILE_LAYER>", Layer::Edge,
                           &result);
    EXPECT_EQ(-1, result);
    delete bad;

    const auto all = leveltest::tokens("<ROWS> 2 </ROWS> <COLS> 2 </COLS> <IMAGE> 1 layer_red.bmp 0 </IMAGE> "
                                       "<TILES> 1 0 0 1 </TILES> </TILE_LAYER>");
    for (size_t n = 0; n <= all.size(); ++n) {
        Layer* layer = readLayer(leveltest::prefix(all, n), Layer::Foreground, &result);
        EXPECT_EQ(n == all.size() ? 0 : -1, result) << "after " << n << " tokens";
        delete layer;
    }
}

TEST_F(LayerTest, VisibleWindowFollowsTheCameraAndStaysInsideTheGrid)
{
    std::string tiles;
    for (int i = 0; i < 40 * 100; ++i) tiles += "0 ";
    Layer* layer = readLayer("<ROWS> 40 </ROWS> <COLS> 100 </COLS> <TILES> " + tiles + "</TILES> </TILE_LAYER>");
    struct Case {
        double x, y;
        int firstRow, endRow, firstCol, endCol;
    };
    const Case cases[] = {
        {400, 300, 0, 18, 0, 21},       // the room's first view: columns 0 to 20, rows 0 to 17
        {-5000, -300, 0, 18, 0, 21},    // never left of column 0 or below row 0
        {2019, 1039, 16, 34, 40, 61},   // camera cell (row 25, column 50)
        {3900, 1500, 28, 40, 87, 100},  // cut at the grid's top and right sides
    };
    for (const Case& c : cases) {
        window->getCamera()->setPosition(ShpCoord(c.x, c.y, 0));
        int firstRow, endRow, firstCol, endCol;
        layer->visibleWindow(firstRow, endRow, firstCol, endCol);
        EXPECT_EQ(c.firstRow, firstRow) << c.x << ", " << c.y;
        EXPECT_EQ(c.endRow, endRow) << c.x << ", " << c.y;
        EXPECT_EQ(c.firstCol, firstCol) << c.x << ", " << c.y;
        EXPECT_EQ(c.endCol, endCol) << c.x << ", " << c.y;
    }
    delete layer;

    // Without a window there is no view and no cell is drawn.
    Layer blind(nullptr, nullptr, Layer::Edge);
    EXPECT_EQ(0, blind.getHalfColumns());
    int firstRow, endRow, firstCol, endCol;
    blind.visibleWindow(firstRow, endRow, firstCol, endCol);
    EXPECT_EQ(firstRow, endRow);
    EXPECT_EQ(firstCol, endCol);
}

TEST_F(LayerTest, DrawsOpaqueAndTransparentCellsInTheirOwnPasses)
{
    Layer* layer = readLayer(kSmallLayer, Layer::Edge);
    window->clear();
    layer->drawOpaque();
    EXPECT_CELL_COLOUR(2, 0, 255, 0, 0);
    EXPECT_CELL_COLOUR(1, 1, 255, 255, 255);
    EXPECT_CELL_COLOUR(0, 1, 255, 0, 0);
    EXPECT_CELL_COLOUR(0, 3, 255, 255, 255);
    // See-through and empty cells are left for the other pass or not drawn at all.
    EXPECT_CELL_COLOUR(2, 2, 0, 255, 0);
    EXPECT_CELL_COLOUR(0, 0, 0, 255, 0);
    EXPECT_CELL_COLOUR(2, 1, 0, 255, 0);
    EXPECT_CELL_COLOUR(2, 3, 0, 255, 0);
    // Nothing beyond the grid; a tile fills its 40-unit cell and no more.
    EXPECT_CELL_COLOUR(3, 0, 0, 255, 0);
    EXPECT_CELL_COLOUR(0, 4, 0, 255, 0);
    EXPECT_PIXEL(40 + 1, 1, 255, 0, 0);
    EXPECT_PIXEL(80 - 2, 40 - 2, 255, 0, 0);

    window->clear();
    layer->drawTransparent();
    EXPECT_CELL_COLOUR(2, 2, 0, 0, 255);
    EXPECT_CELL_COLOUR(0, 0, 0, 0, 255);
    EXPECT_CELL_COLOUR(2, 0, 0, 255, 0);
    EXPECT_CELL_COLOUR(1, 1, 0, 255, 0);
    delete layer;
}

TEST_F(LayerTest, DrawsTheCellsInViewWhereverTheCameraIs)
{
    // 30 rows of 60 columns of red with a white column 50 and a white row 25.
    std::ostringstream text;
    text << "<ROWS> 30 </ROWS> <COLS> 60 </COLS> <IMAGE> 1 layer_red.bmp 0 </IMAGE> "
            "<IMAGE> 3 layer_white.bmp 0 </IMAGE> <TILES> ";
    for (int row = 29; row >= 0; --row)
        for (int col = 0; col < 60; ++col) text << (col == 50 || row == 25 ? 3 : 1) << ' ';
    text << "</TILES> </TILE_LAYER>";
    Layer* layer = readLayer(text.str(), Layer::Background);

    // Camera centre (2020, 1020): pixel (x, y) shows world point (x + 1620, y + 720).
    window->getCamera()->setPosition(ShpCoord(2020, 1020, 0));
    window->clear();
    layer->drawOpaque();
    EXPECT_PIXEL(400, 300, 255, 255, 255);  // cell (25, 50)
    EXPECT_PIXEL(600, 300, 255, 255, 255);  // cell (25, 55)
    EXPECT_PIXEL(400, 100, 255, 255, 255);  // cell (20, 50)
    EXPECT_PIXEL(5, 300, 255, 255, 255);    // cell (25, 40), the window's left edge
    EXPECT_PIXEL(360, 340, 255, 0, 0);      // cell (26, 49)
    EXPECT_PIXEL(300, 2, 255, 0, 0);        // cell (18, 47), the window's bottom edge
    EXPECT_PIXEL(300, 500, 0, 255, 0);      // row 30 is past the grid's top
    EXPECT_PIXEL(795, 100, 0, 255, 0);      // column 60 is past its right side
    delete layer;
}

TEST_F(LayerTest, SolidForegroundTilesHideTheOpaqueTilesBehindThemUnlessTranslucent)
{
    // Edge layer: 2 rows of 4 red cells, a see-through blue one at (0, 2). Foreground: 1 row of 2,
    // white opaque over column 0, blue see-through over column 1; columns 2 and 3 lie outside it.
    Map map(owner, nullptr, nullptr);
    std::istringstream in(
        "<EDGE_TILES> <TILE_LAYER> <ROWS> 2 </ROWS> <COLS> 4 </COLS>"
        " <IMAGE> 1 layer_red.bmp 0 </IMAGE> <IMAGE> 2 layer_blue.bmp 1 </IMAGE>"
        " <TILES> 1 1 1 1  1 1 2 1 </TILES> </TILE_LAYER> </EDGE_TILES>"
        " <FOREGROUND_TILES> <TILE_LAYER> <ROWS> 1 </ROWS> <COLS> 2 </COLS>"
        " <IMAGE> 3 layer_white.bmp 0 </IMAGE> <IMAGE> 2 layer_blue.bmp 1 </IMAGE>"
        " <TILES> 3 2 </TILES> </TILE_LAYER> </FOREGROUND_TILES> </MAP>");
    ASSERT_EQ(0, map.read(in));
    Layer* edge = map.getEdgeLayer();
    Layer* foreground = map.getForegroundLayer();
    ASSERT_NE(nullptr, edge);
    ASSERT_NE(nullptr, foreground);

    window->clear();
    edge->drawOpaque();
    EXPECT_CELL_COLOUR(0, 0, 0, 255, 0);  // behind the opaque foreground tile
    EXPECT_CELL_COLOUR(0, 1, 255, 0, 0);  // behind a see-through one
    EXPECT_CELL_COLOUR(0, 2, 0, 255, 0);  // its own tile is see-through
    EXPECT_CELL_COLOUR(0, 3, 255, 0, 0);  // beyond the foreground's grid
    EXPECT_CELL_COLOUR(1, 0, 255, 0, 0);

    // The foreground layer itself hides nothing of its own.
    window->clear();
    foreground->drawOpaque();
    EXPECT_CELL_COLOUR(0, 0, 255, 255, 255);

    // With x-ray glasses the foreground is translucent and hides nothing.
    foreground->setTranslucent(true);
    window->clear();
    edge->drawOpaque();
    EXPECT_CELL_COLOUR(0, 0, 255, 0, 0);
}
