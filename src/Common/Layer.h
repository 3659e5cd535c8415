#ifndef KOVO_COMMON_LAYER_H
#define KOVO_COMMON_LAYER_H

#include <istream>
#include <vector>

#include "Common/MapImageTable.h"

class AppBase;
class GphAnimatedTexture;
class GphRect;
class Map;

// One grid of 40-unit square tiles of a room: the background, edge or foreground layer.
// It owns the pictures its cells show and draws the cells around the camera with one
// shared 40 x 40 rectangle moved from cell to cell. Row 0 is the bottom row: the cell at
// (row, col) covers x from 40 col to 40 col + 40 and y from 40 row to 40 row + 40.
//
// Tile layers take no part in collisions. Opaque (flag 0) tiles of the foreground layer
// hide the background and edge tiles behind them, unless the layer is translucent.
class Layer {
public:
    enum Kind { Background = 0, Edge = 1, Foreground = 2 };
    static constexpr int kTileSize = 40;
    // A grid with more cells than this is taken as a malformed block.
    static constexpr long kMaxCells = 1L << 20;

    // An empty layer of that kind. The number of columns and rows drawn around the
    // camera comes from the window's orthogonal viewport now and does not change later.
    Layer(AppBase* owner, Map* map, int kind);
    ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // The block behind the layer's opening token up to and including "</TILE_LAYER>":
    // "<ROWS>", "<COLS>", "<IMAGE> id file flag" and "<TILES>" with rows x cols ids, the
    // top row first. 0, or -1 after an unknown tag, a value that does not parse, a grid
    // above kMaxCells or a stream that ends inside the block.
    int read(std::istream& in);

    // Alpha 0.5 for true, 1.0 for false: a translucent foreground hides nothing.
    void setTranslucent(bool translucent);

    // True for a cell holding an opaque picture while the layer is opaque. Cells outside
    // the grid, empty cells and transparent pictures are never solid.
    bool isSolidTile(int row, int col) const;

    // The cells in view with opaque pictures, skipping those hidden by a solid tile of
    // the room's foreground layer (the foreground layer itself skips none).
    void drawOpaque();
    // The cells in view with transparent pictures.
    void drawTransparent();

    int getKind() const { return _kind; }
    // The size given by "<ROWS>" and "<COLS>".
    int getRows() const { return _rows; }
    int getCols() const { return _cols; }
    // The size of the grid "<TILES>" filled; 0 x 0 until then.
    int getGridRows() const { return _gridRows; }
    int getGridCols() const { return _gridCols; }
    int getHalfColumns() const { return _halfColumns; }
    int getHalfRows() const { return _halfRows; }
    // The cell's picture, null for an empty cell or one outside the grid.
    GphAnimatedTexture* getTile(int row, int col) const;
    const MapImageTable& getImages() const { return _images; }
    GphRect* getTileQuad() const { return _tileQuad; }

    // The first and one-past-last row and column of the cells in view; empty without a
    // camera. Cells are drawn row by row from the bottom, left to right.
    void visibleWindow(int& firstRow, int& endRow, int& firstCol, int& endCol) const;

private:
    enum Pass { Opaque, Transparent };
    void drawCells(Pass pass);
    int readTiles(std::istream& in);

    AppBase* _owner;
    Map* _map;
    int _kind;
    int _rows;
    int _cols;
    int _halfColumns;
    int _halfRows;
    // _gridRows x _gridCols cells, row 0 first; the size is the one allocated, whatever
    // "<ROWS>" or "<COLS>" say afterwards.
    std::vector<GphAnimatedTexture*> _cells;
    int _gridRows;
    int _gridCols;
    MapImageTable _images;
    GphRect* _tileQuad;
};

#endif
