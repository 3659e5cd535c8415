#include "Base/Shp/ShpRect.h"

ShpRect::ShpRect() : left(0), top(0), right(0), bottom(0) {}

ShpRect::ShpRect(int32_t l, int32_t t, int32_t r, int32_t b) : left(l), top(t), right(r), bottom(b) {}

ShpRect::ShpRect(const ShpRect& other) = default;

ShpRect::~ShpRect() {}

ShpRect& ShpRect::operator=(const ShpRect& other)
{
    left = other.left;
    top = other.top;
    right = other.right;
    bottom = other.bottom;
    return *this;
}
