#ifndef KOVO_TOOLS_DATAGEN_CANVAS_H
#define KOVO_TOOLS_DATAGEN_CANVAS_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace datagen {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

inline bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline bool operator!=(Rgb a, Rgb b) { return !(a == b); }

// Pure black is the see-through colour of the game's pictures.
constexpr Rgb kTransparent{0, 0, 0};

// The darkest opaque colour: anything meant to show as black uses it instead of pure black.
inline Rgb opaque(Rgb c) { return c == kTransparent ? Rgb{1, 1, 1} : c; }

// An RGB picture held top row first, as the picture formats are written from it.
class Canvas {
public:
    Canvas(int width, int height, Rgb fill = kTransparent);

    int width() const { return width_; }
    int height() const { return height_; }

    Rgb at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    // Points outside the picture are ignored, so drawing may overhang the edges.
    void set(int x, int y, Rgb c);
    void fillRect(int x, int y, int w, int h, Rgb c);

private:
    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

}  // namespace datagen

#endif
