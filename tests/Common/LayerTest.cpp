#include <gtest/gtest.h>

#include <GL/gl.h>

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
const std::string kSmallLayer = std::string("<ROWS> 3 </ROWS> <COLS> 4 </COLS>\n") + kImages +
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
    }

    void TearDown() override
    {
        delete owner;
        if (window) window->getCamera()->setPosition(ShpCoord(400, 300, 0));
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

// The camera at (400, 300) puts world point (x, y) on window pixel (x, y).
#define EXPECT_CELL_COLOUR(row, col, r, g, b)                                                          \
    do {                                                                                               \
        const Pixel p_ = testsupport::readPixel(40 * (col) + 20, 40 * (row) + 20);                     \
        EXPECT_TRUE(near(p_, r, g, b)) << "cell (" << (row) << ", " << (col) << ") is " << show(p_); \
    } while (0)

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
        EXPECT_EQ(40, layer.getTileQuad()->getLength());
        EXPECT_EQ(40, layer.getTileQuad()->getWidth());
        EXPECT_EQ(nullptr, layer.getTileQuad()->getAnimatedTexture());
        EXPECT_EQ(0, layer.getRows());
        EXPECT_EQ(0, layer.getGridRows());
    }
    // Without a window there is nothing to see through: the layer draws no cell.
    Layer blind(nullptr, nullptr, Layer::Edge);
    EXPECT_EQ(0, blind.getHalfColumns());
    EXPECT_EQ(0, blind.getHalfRows());
}

TEST_F(LayerTest, TilesFillFromTheTopRowDownWithEmptyCellsForZeroAndUnknownIds)
{
    int result = -2;
    const size_t logged = testsupport::logMessages().size();
    Layer* layer = readLayer(kSmallLayer + " <NEXT>", Layer::Edge, &result);
    ASSERT_EQ(0, result);
    // Unknown ids are left empty without a word.
    EXPECT_EQ(logged, testsupport::logMessages().size());
    EXPECT_EQ(3, layer->getRows());
    EXPECT_EQ(4, layer->getCols());
    EXPECT_EQ(3, layer->getGridRows());
    EXPECT_EQ(4, layer->getGridCols());
    EXPECT_EQ("layer_red.bmp", fileOf(layer->getTile(2, 0)));
    EXPECT_EQ(nullptr, layer->getTile(2, 1));
    EXPECT_EQ("layer_blue.bmp", fileOf(layer->getTile(2, 2)));
    EXPECT_EQ(nullptr, layer->getTile(2, 3));  // id 9 has no picture
    EXPECT_EQ("layer_white.bmp", fileOf(layer->getTile(1, 1)));
    EXPECT_EQ("layer_blue.bmp", fileOf(layer->getTile(0, 0)));
    EXPECT_EQ("layer_red.bmp", fileOf(layer->getTile(0, 1)));
    EXPECT_EQ("layer_white.bmp", fileOf(layer->getTile(0, 3)));
    EXPECT_EQ(nullptr, layer->getTile(-1, 0));
    EXPECT_EQ(nullptr, layer->getTile(3, 0));
    EXPECT_EQ(nullptr, layer->getTile(0, 4));
    // The first picture of a background or edge layer is put on the tile quad; cells share
    // the table's entries.
    EXPECT_EQ(layer->getImages().find(1), layer->getTileQuad()->getAnimatedTexture());
    EXPECT_EQ(layer->getImages().find(3), layer->getTile(1, 1));
    delete layer;

    Layer* foreground = readLayer(kSmallLayer, Layer::Foreground, &result);
    ASSERT_EQ(0, result);
    EXPECT_EQ(nullptr, foreground->getTileQuad()->getAnimatedTexture());
    delete foreground;
}

TEST_F(LayerTest, TheFirstEntryOfAnIdWinsAndMissingPicturesLeaveEmptyCells)
{
    int result = -2;
    Layer* layer = readLayer(
        "<ROWS> 1 </ROWS> <COLS> 2 </COLS> <IMAGE> 1 layer_red.bmp 0 </IMAGE> <IMAGE> 1 layer_blue.bmp 1 </IMAGE>"
        " <IMAGE> 2 layer_missing.bmp 0 </IMAGE> <TILES> 1 2 </TILES> </TILE_LAYER>",
        Layer::Background, &result);
    EXPECT_EQ(0, result);
    EXPECT_EQ("layer_red.bmp", fileOf(layer->getTile(0, 0)));
    EXPECT_EQ(nullptr, layer->getTile(0, 1));
    EXPECT_TRUE(testsupport::logContains("Failed to load image file: layer_missing.bmp"));
    delete layer;
}

TEST_F(LayerTest, OnlyOpaqueCellsOfAnOpaqueLayerAreSolid)
{
    Layer* layer = readLayer(kSmallLayer, Layer::Foreground);
    EXPECT_TRUE(layer->isSolidTile(2, 0));   // red, opaque
    EXPECT_FALSE(layer->isSolidTile(2, 2));  // blue, see-through
    EXPECT_FALSE(layer->isSolidTile(2, 1));  // empty
    EXPECT_FALSE(layer->isSolidTile(2, 3));  // unknown id
    EXPECT_TRUE(layer->isSolidTile(0, 3));   // the corner cells
    EXPECT_FALSE(layer->isSolidTile(0, 0));
    // Outside the grid on every side.
    for (auto cell : {std::make_pair(-1, 0), std::make_pair(0, -1), std::make_pair(3, 0), std::make_pair(0, 4),
                      std::make_pair(3, 4), std::make_pair(-1000000, 2000000000)})
        EXPECT_FALSE(layer->isSolidTile(cell.first, cell.second)) << cell.first << ", " << cell.second;

    layer->setTranslucent(true);
    EXPECT_EQ(0.5f, layer->getTileQuad()->getAlpha());
    EXPECT_FALSE(layer->isSolidTile(2, 0));
    EXPECT_FALSE(layer->isSolidTile(0, 3));
    layer->setTranslucent(false);
    EXPECT_EQ(1.0f, layer->getTileQuad()->getAlpha());
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
    int firstRow, endRow, firstCol, endCol;
    window->getCamera()->setPosition(ShpCoord(4000, 4000, 0));
    layer->visibleWindow(firstRow, endRow, firstCol, endCol);
    EXPECT_LE(endRow - firstRow, 0);
    // Drawing far out in the stated size touches no cell beyond the grid.
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
    for (const char* size : {"<ROWS> -3 </ROWS> <COLS> 4 </COLS>", "<ROWS> 3 </ROWS> <COLS> -1 </COLS>",
                             "<ROWS> -2 </ROWS> <COLS> -2 </COLS>", "<COLS> 4 </COLS>",
                             "<ROWS> 2000000000 </ROWS> <COLS> 0 </COLS>"}) {
        Layer* layer = readLayer(std::string(size) + kImages + "<TILES> </TILES> </TILE_LAYER>", Layer::Foreground,
                                 &result);
        EXPECT_EQ(0, result) << size;
        EXPECT_EQ(0, layer->getGridRows()) << size;
        EXPECT_EQ(0, layer->getGridCols()) << size;
        EXPECT_FALSE(layer->isSolidTile(0, 0)) << size;
        layer->drawOpaque();
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
    const int rows = 1024, cols = 1024;
    std::string tiles;
    tiles.reserve(static_cast<size_t>(rows) * cols * 2 + 100);
    for (int i = 0; i < rows * cols; ++i) tiles += i == 0 ? "1 " : "0 ";
    Layer* large = readLayer("<ROWS> 1024 </ROWS> <COLS> 1024 </COLS> <IMAGE> 1 layer_red.bmp 0 </IMAGE> <TILES> " +
                                 tiles + "</TILES> </TILE_LAYER>",
                             Layer::Foreground, &result);
    EXPECT_EQ(0, result);
    EXPECT_TRUE(large->isSolidTile(rows - 1, 0));
    EXPECT_FALSE(large->isSolidTile(0, 0));
    delete large;
}

TEST_F(LayerTest, WithoutTilesNothingIsSolidOrDrawn)
{
    int result = -2;
    Layer* layer = readLayer(std::string("<ROWS> 3 </ROWS> <COLS> 4 </COLS>") + kImages + "</TILE_LAYER>",
                             Layer::Foreground, &result);
    EXPECT_EQ(0, result);
    EXPECT_FALSE(layer->isSolidTile(0, 0));
    int firstRow, endRow, firstCol, endCol;
    layer->visibleWindow(firstRow, endRow, firstCol, endCol);
    EXPECT_LE(endRow - firstRow, 0);
    EXPECT_LE(endCol - firstCol, 0);
    delete layer;
}

TEST_F(LayerTest, UnknownTagFailsAndIsLogged)
{
    int result = 0;
    Layer* layer = readLayer("<ROWS> 1 </ROWS> <DEPTH> 3 </DEPTH> <COLS> 1 </COLS> </TILE_LAYER>", Layer::Edge,
                             &result);
    EXPECT_EQ(-1, result);
    EXPECT_TRUE(testsupport::logContains("Unknown tag: <DEPTH>"));
    // The read stopped at the bad tag.
    EXPECT_EQ(0, layer->getCols());
    delete layer;
}

TEST_F(LayerTest, BlockCutShortAtAnyTokenFailsWithoutHanging)
{
    const std::string block = "<ROWS> 2 </ROWS> <COLS> 2 </COLS> <IMAGE> 1 layer_red.bmp 0 </IMAGE> "
                              "<TILES> 1 0 0 1 </TILES> </TILE_LAYER>";
    const auto all = leveltest::tokens(block);
    for (size_t n = 0; n < all.size(); ++n) {
        int result = 0;
        Layer* layer = readLayer(leveltest::prefix(all, n), Layer::Foreground, &result);
        EXPECT_EQ(-1, result) << "after " << n << " tokens";
        delete layer;
    }
    int result = -2;
    Layer* whole = readLayer(block, Layer::Foreground, &result);
    EXPECT_EQ(0, result);
    delete whole;

    // A tile value that is not a number is a failure too.
    Layer* bad = readLayer("<ROWS> 1 </ROWS> <COLS> 2 </COLS> <TILES> 1 x </TILES> </TILE_LAYER>", Layer::Edge,
                           &result);
    EXPECT_EQ(-1, result);
    delete bad;
}

TEST_F(LayerTest, VisibleWindowFollowsTheCameraAndStaysInsideTheGrid)
{
    std::ostringstream text;
    text << "<ROWS> 40 </ROWS> <COLS> 100 </COLS> <TILES> ";
    for (int i = 0; i < 4000; ++i) text << "0 ";
    text << "</TILES> </TILE_LAYER>";
    Layer* layer = readLayer(text.str());
    int firstRow, endRow, firstCol, endCol;

    window->getCamera()->setPosition(ShpCoord(400, 300, 0));
    layer->visibleWindow(firstRow, endRow, firstCol, endCol);
    EXPECT_EQ(0, firstRow);
    EXPECT_EQ(18, endRow);
    EXPECT_EQ(0, firstCol);
    EXPECT_EQ(21, endCol);

    // Left of and below the room the window stays at column 0 and row 0.
    window->getCamera()->setPosition(ShpCoord(-5000, -300, 0));
    layer->visibleWindow(firstRow, endRow, firstCol, endCol);
    EXPECT_EQ(0, firstRow);
    EXPECT_EQ(18, endRow);
    EXPECT_EQ(0, firstCol);
    EXPECT_EQ(21, endCol);

    // Camera cell (50, 25): columns 40 to 60, rows 16 to 33.
    window->getCamera()->setPosition(ShpCoord(2019, 1039, 0));
    layer->visibleWindow(firstRow, endRow, firstCol, endCol);
    EXPECT_EQ(16, firstRow);
    EXPECT_EQ(34, endRow);
    EXPECT_EQ(40, firstCol);
    EXPECT_EQ(61, endCol);

    // Near the top right corner the window is cut at the grid's size.
    window->getCamera()->setPosition(ShpCoord(3900, 1500, 0));
    layer->visibleWindow(firstRow, endRow, firstCol, endCol);
    EXPECT_EQ(28, firstRow);
    EXPECT_EQ(40, endRow);
    EXPECT_EQ(87, firstCol);
    EXPECT_EQ(100, endCol);
    delete layer;

    Layer blind(nullptr, nullptr, Layer::Edge);
    blind.visibleWindow(firstRow, endRow, firstCol, endCol);
    EXPECT_EQ(0, endRow - firstRow);
    EXPECT_EQ(0, endCol - firstCol);
}

TEST_F(LayerTest, DrawsOpaqueAndTransparentCellsInTheirOwnPasses)
{
    Layer* layer = readLayer(kSmallLayer, Layer::Edge);
    window->getCamera()->setPosition(ShpCoord(400, 300, 0));
    window->disableBlending();
    window->setClearColor(0, 1, 0, 1);
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
    // Nothing beyond the grid.
    EXPECT_CELL_COLOUR(3, 0, 0, 255, 0);
    EXPECT_CELL_COLOUR(0, 4, 0, 255, 0);

    window->clear();
    layer->drawTransparent();
    EXPECT_CELL_COLOUR(2, 2, 0, 0, 255);
    EXPECT_CELL_COLOUR(0, 0, 0, 0, 255);
    EXPECT_CELL_COLOUR(2, 0, 0, 255, 0);
    EXPECT_CELL_COLOUR(1, 1, 0, 255, 0);

    // A tile fills its whole 40-unit cell and no more.
    window->clear();
    layer->drawOpaque();
    EXPECT_TRUE(near(testsupport::readPixel(40 + 1, 1), 255, 0, 0));
    EXPECT_TRUE(near(testsupport::readPixel(80 - 2, 40 - 2), 255, 0, 0));
    EXPECT_TRUE(near(testsupport::readPixel(40 + 20, 40 + 20 + 40), 0, 255, 0));
    delete layer;
    window->setClearColor(0, 0, 0, 0);
}

TEST_F(LayerTest, OnlyTheCellsInViewAreDrawnWhereverTheCameraIs)
{
    // 30 rows of 60 columns of red with a white column at 50 and a white row at 25.
    std::ostringstream text;
    text << "<ROWS> 30 </ROWS> <COLS> 60 </COLS> <IMAGE> 1 layer_red.bmp 0 </IMAGE> "
            "<IMAGE> 3 layer_white.bmp 0 </IMAGE> <TILES> ";
    for (int row = 29; row >= 0; --row)
        for (int col = 0; col < 60; ++col) text << (col == 50 || row == 25 ? 3 : 1) << ' ';
    text << "</TILES> </TILE_LAYER>";
    Layer* layer = readLayer(text.str(), Layer::Background);
    window->disableBlending();
    window->setClearColor(0, 1, 0, 1);
    window->clear();

    // Camera centre (2020, 1020): window pixel (x, y) shows world point (x + 1620, y + 720), and
    // cell (25, 50) lands on the window's centre.
    window->getCamera()->setPosition(ShpCoord(2020, 1020, 0));
    layer->drawOpaque();
    EXPECT_TRUE(near(testsupport::readPixel(400, 300), 255, 255, 255));  // cell (25, 50)
    EXPECT_TRUE(near(testsupport::readPixel(600, 300), 255, 255, 255));  // cell (25, 55)
    EXPECT_TRUE(near(testsupport::readPixel(400, 100), 255, 255, 255));  // cell (20, 50)
    EXPECT_TRUE(near(testsupport::readPixel(5, 300), 255, 255, 255));    // cell (25, 40), left edge of the window
    EXPECT_TRUE(near(testsupport::readPixel(100, 100), 255, 0, 0));      // cell (20, 43)
    EXPECT_TRUE(near(testsupport::readPixel(360, 340), 255, 0, 0));      // cell (26, 49)
    EXPECT_TRUE(near(testsupport::readPixel(300, 2), 255, 0, 0));        // cell (18, 47), bottom of the window
    // Row 30 and column 60 are past the grid's top and right sides.
    EXPECT_TRUE(near(testsupport::readPixel(300, 500), 0, 255, 0));
    EXPECT_TRUE(near(testsupport::readPixel(795, 100), 0, 255, 0));
    delete layer;
    window->setClearColor(0, 0, 0, 0);
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
    EXPECT_TRUE(map.isTileAt(0, 0));
    EXPECT_FALSE(map.isTileAt(0, 1));
    EXPECT_FALSE(map.isTileAt(0, 2));
    EXPECT_FALSE(map.isTileAt(1, 0));

    window->getCamera()->setPosition(ShpCoord(400, 300, 0));
    window->disableBlending();
    window->setClearColor(0, 1, 0, 1);
    window->clear();
    edge->drawOpaque();
    EXPECT_CELL_COLOUR(0, 0, 0, 255, 0);    // behind the opaque foreground tile
    EXPECT_CELL_COLOUR(0, 1, 255, 0, 0);    // behind a see-through one
    EXPECT_CELL_COLOUR(0, 2, 0, 255, 0);    // its own tile is see-through
    EXPECT_CELL_COLOUR(0, 3, 255, 0, 0);    // beyond the foreground's grid
    EXPECT_CELL_COLOUR(1, 0, 255, 0, 0);

    // The foreground layer itself hides nothing of its own.
    window->clear();
    foreground->drawOpaque();
    EXPECT_CELL_COLOUR(0, 0, 255, 255, 255);

    // With x-ray glasses the foreground is translucent and hides nothing.
    foreground->setTranslucent(true);
    EXPECT_FALSE(map.isTileAt(0, 0));
    window->clear();
    edge->drawOpaque();
    EXPECT_CELL_COLOUR(0, 0, 255, 0, 0);
    window->setClearColor(0, 0, 0, 0);
}
