#include "Canvas.h"

namespace datagen {

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill)
{
}

void Canvas::set(int x, int y, Rgb c)
{
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
        pixels_[static_cast<std::size_t>(y) * width_ + x] = c;
}

void Canvas::fillRect(int x, int y, int w, int h, Rgb c)
{
    for (int row = y; row < y + h; ++row)
        for (int col = x; col < x + w; ++col)
            set(col, row, c);
}

}  // namespace datagen
