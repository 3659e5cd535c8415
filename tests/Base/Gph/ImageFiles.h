#ifndef KOVO_TESTS_BASE_GPH_IMAGEFILES_H
#define KOVO_TESTS_BASE_GPH_IMAGEFILES_H

#include <cstdint>
#include <string>
#include <vector>

// Writers of small picture files for the loader, texture and drawing tests.
namespace imagefiles {

struct Rgb {
    unsigned char r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kWhite{255, 255, 255};

// A picture as it is seen: rows from the top, pixels from the left.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Picture(int w, int h, Rgb fill = kBlack) : width(w), height(h), pixels(static_cast<size_t>(w * h), fill) {}
    Rgb& at(int x, int yFromTop) { return pixels[static_cast<size_t>(yFromTop * width + x)]; }
    const Rgb& at(int x, int yFromTop) const { return pixels[static_cast<size_t>(yFromTop * width + x)]; }
};

// Red upper half, blue lower half.
Picture redOverBlue(int width, int height);
// Every pixel a different colour, so that a shear or swap shows.
Picture distinctColours(int width, int height);

// The pixel buffer the loaders should give: bottom row first, red green blue, no padding.
std::vector<unsigned char> bottomUpRgb(const Picture& picture);

// 24-bit BMP. `gapBytes` extra bytes between the headers and the pixels (data offset
// 54 + gap); `imageSizeField` 0 writes 0 there, otherwise the real size; `topDown` stores
// a negative height with the rows top first.
std::vector<unsigned char> bmpBytes(const Picture& picture, uint32_t gapBytes = 0, bool imageSizeField = true,
                                    bool topDown = false);

// A 128-byte PCX header with the given fields (manufacturer 10, version 5, encoding 1).
std::vector<unsigned char> pcxHeader(int bitsPerPixel, int planes, int xMax, int yMax, int bytesPerLine);
// 8-bit PCX of the picture: Xmax = width, Ymax = height, lines of `bytesPerLine` (at least the
// width; extra columns are index 0) run-length coded, then 0x0C and the 768-byte palette.
std::vector<unsigned char> pcxBytes(const Picture& picture, int bytesPerLine = 0);
// A palette whose entry i is (i, 255 - i, i / 2).
std::vector<unsigned char> rampPalette();

// Writes the picture as a JPEG (quality 100, no chroma subsampling); greyscale writes
// one component of the red channel.
void writeJpeg(const std::string& name, const Picture& picture, bool greyscale = false);

}  // namespace imagefiles

#endif
