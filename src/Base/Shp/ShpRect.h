#ifndef KOVO_BASE_SHP_SHPRECT_H
#define KOVO_BASE_SHP_SHPRECT_H

#include <cstdint>

// A rectangle of four 32-bit values: left, top, right, bottom.
class ShpRect {
public:
    ShpRect();
    ShpRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    ShpRect(const ShpRect& other);
    virtual ~ShpRect();
    ShpRect& operator=(const ShpRect& other);

    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

#endif
