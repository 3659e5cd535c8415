#include "Common/Layer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "Base/App/AppBase.h"
#include "Base/App/Log.h"
#include "Base/App/TaggedText.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "Common/Map.h"

namespace {

// A world value truncated to a whole number, kept far inside the int range so that a
// camera or zoom gone wild cannot overflow the conversion.
int truncated(double value)
{
    if (std::isnan(value)) return 0;
    const double limit = 1e9;
    return static_cast<int>(std::max(-limit, std::min(limit, value)));
}

double depthOf(int kind)
{
    switch (kind) {
    case Layer::Background: return GameConstants::zBackgroundTiles;
    case Layer::Edge: return GameConstants::zEdgeTiles;
    case Layer::Foreground: return GameConstants::zForegroundTiles;
    default: return -10.0;
    }
}

}  // namespace

Layer::Layer(AppBase* owner, Map* map, int kind)
    : _owner(owner),
      _map(map),
      _kind(kind),
      _rows(0),
      _cols(0),
      _halfColumns(0),
      _halfRows(0),
      _gridRows(0),
      _gridCols(0),
      _tileQuad(nullptr)
{
    GphWindow* window = _owner ? _owner->getWindow() : nullptr;
    GphViewport* viewport = window ? window->getViewport() : nullptr;
    if (viewport) {
        auto* orthogonal = dynamic_cast<GphViewportOrthogonal*>(viewport);
        if (!orthogonal) {
            LOG("Unable to cast viewport into orthogonal viewport");
        } else {
            const double zoom = orthogonal->getZoom();
            const double ratio =
                viewport->getWidth() > 0 ? static_cast<double>(viewport->getHeight()) / viewport->getWidth() : 0.0;
            _halfColumns = std::max(0, truncated(zoom) / kTileSize);
            _halfRows = std::max(0, truncated(zoom * ratio) / kTileSize + 2);
        }
    }
    const ShpCoord at(0, 0, depthOf(kind));
    _tileQuad = new GphRect(kTileSize, kTileSize, &at, nullptr, GPH_RECT);
}

Layer::~Layer()
{
    _images.clear();
    _cells.clear();
    delete _tileQuad;
}

int Layer::read(std::istream& in)
{
    return TaggedText::readBlock(in, "</TILE_LAYER>", [&](const std::string& tag) {
        if (tag == "<ROWS>") return TaggedText::readValue(in, _rows);
        if (tag == "<COLS>") return TaggedText::readValue(in, _cols);
        if (tag == "<IMAGE>") {
            const bool first = _images.empty();
            GphAnimatedTexture* added = nullptr;
            if (_images.readImage(in, &added) != 0) return -1;
            // Drawing the first picture once puts its texture to work before the first frame.
            if (added && first && _kind != Foreground) {
                _tileQuad->setAnimatedTexture(added);
                _tileQuad->render();
            }
            return 0;
        }
        if (tag == "<TILES>") return readTiles(in);
        return TaggedText::kUnknownTag;
    });
}

int Layer::readTiles(std::istream& in)
{
    // A negative size is an empty layer.
    const int rows = std::max(_rows, 0);
    const int cols = std::max(_cols, 0);
    if (static_cast<long long>(rows) * cols > kMaxCells) {
        LOG("Tile layer too large: " << _rows << " x " << _cols);
        return -1;
    }
    std::vector<GphAnimatedTexture*> cells(static_cast<size_t>(rows) * cols, nullptr);
    // The file lists the rows as they appear on screen, the top row first.
    for (int row = rows - 1; row >= 0; --row) {
        for (int col = 0; col < cols; ++col) {
            int id;
            if (!(in >> id)) return -1;
            // 0 and ids without a picture are empty cells.
            if (id != 0) cells[static_cast<size_t>(row) * cols + col] = _images.find(id);
        }
    }
    std::string closing;
    if (!TaggedText::readToken(in, closing)) return -1;
    // The grid keeps the size it was made with, whatever "<ROWS>" or "<COLS>" say later.
    _cells.swap(cells);
    const bool empty = _cells.empty();
    _gridRows = empty ? 0 : rows;
    _gridCols = empty ? 0 : cols;
    return 0;
}

void Layer::setTranslucent(bool translucent)
{
    if (_tileQuad) _tileQuad->setAlpha(translucent ? 0.5f : 1.0f);
}

GphAnimatedTexture* Layer::getTile(int row, int col) const
{
    if (row < 0 || row >= _gridRows || col < 0 || col >= _gridCols) return nullptr;
    return _cells[static_cast<size_t>(row) * _gridCols + col];
}

bool Layer::isSolidTile(int row, int col) const
{
    GphAnimatedTexture* cell = getTile(row, col);
    if (!cell) return false;
    GphTexture* texture = cell->getCurrentTexture();
    if (texture && texture->getMode() != GL_DECAL) return false;
    return !_tileQuad || _tileQuad->getAlpha() == 1.0f;
}

void Layer::visibleWindow(int& firstRow, int& endRow, int& firstCol, int& endCol) const
{
    firstRow = endRow = firstCol = endCol = 0;
    GphWindow* window = _owner ? _owner->getWindow() : nullptr;
    GphCamera* camera = window ? window->getCamera() : nullptr;
    if (!camera) return;
    int cx = truncated(camera->getPosition()->getX()) / kTileSize;
    int cy = truncated(camera->getPosition()->getY()) / kTileSize;
    // The window never starts left of column 0 or below row 0.
    if (cx < _halfColumns) cx = _halfColumns;
    if (cy < _halfRows) cy = _halfRows;
    firstRow = cy - _halfRows;
    endRow = std::max(firstRow, std::min(cy + _halfRows, _gridRows));
    firstCol = cx - _halfColumns;
    endCol = std::max(firstCol, std::min(cx + _halfColumns + 1, _gridCols));
}

void Layer::drawOpaque()
{
    drawCells(Opaque);
}

void Layer::drawTransparent()
{
    drawCells(Transparent);
}

void Layer::drawCells(Pass pass)
{
    int firstRow, endRow, firstCol, endCol;
    visibleWindow(firstRow, endRow, firstCol, endCol);
    const double depth = _tileQuad->getCoord()->getZ();
    for (int row = firstRow; row < endRow; ++row) {
        for (int col = firstCol; col < endCol; ++col) {
            GphAnimatedTexture* cell = _cells[static_cast<size_t>(row) * _gridCols + col];
            if (!cell) continue;
            // Opaque tiles hidden behind a solid foreground tile are not worth drawing.
            if (pass == Opaque && _kind != Foreground && _map && _map->isTileAt(row, col)) continue;
            GphTexture* texture = cell->getCurrentTexture();
            if (!texture) continue;
            if ((texture->getMode() == GL_DECAL) != (pass == Opaque)) continue;
            _tileQuad->setCoord(ShpCoord(kTileSize * col + kTileSize / 2.0, kTileSize * row + kTileSize / 2.0, depth));
            _tileQuad->setAnimatedTexture(cell);
            _tileQuad->draw();
        }
    }
}
