#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "DatagenRun.h"
#include "support/Files.h"

using datagentest::le16;
using datagentest::le32;
using Bytes = std::vector<unsigned char>;
using Rgb = std::array<unsigned char, 3>;

namespace {

// A PCX as written by the generator: header fields, decoded pixels (top row first) and where the
// coded data ended.
struct Pcx {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
    size_t dataEnd = 0;
    Rgb at(int x, int y) const { return pixels.at(static_cast<size_t>(y) * width + x); }
};

// Decodes strictly: 0xC0 would mean one thing to the game and another to other readers, so it
// must not occur as a literal index; runs must stop at the end of a row.
Pcx decodePcx(const Bytes& file)
{
    Pcx pcx;
    pcx.width = static_cast<int>(le16(file, 66));
    pcx.height = static_cast<int>(le16(file, 10));
    std::vector<unsigned char> indices;
    const size_t total = static_cast<size_t>(pcx.width) * pcx.height;
    size_t at = 128;
    while (indices.size() < total && at < file.size()) {
        unsigned char b = file[at++];
        size_t count = 1;
        if (b >= 0xC1) {
            count = b - 0xC0u;
            b = file.at(at++);
            size_t column = indices.size() % static_cast<size_t>(pcx.width);
            EXPECT_LE(column + count, static_cast<size_t>(pcx.width)) << "run crosses a row end";
        } else {
            EXPECT_NE(0xC0, b) << "literal 0xC0";
        }
        indices.insert(indices.end(), count, b);
    }
    EXPECT_EQ(total, indices.size());
    pcx.dataEnd = at;
    const size_t palette = file.size() - 768;
    for (unsigned char index : indices) {
        size_t entry = palette + index * 3u;
        pcx.pixels.push_back(Rgb{file[entry], file[entry + 1], file[entry + 2]});
    }
    return pcx;
}

const Rgb kBlack{0, 0, 0};

// Pixel (x, y) of a 24-bit bottom-up BMP, y counted from the top of the picture.
Rgb bmpPixel(const Bytes& file, int x, int y)
{
    int width = static_cast<int>(le32(file, 18));
    int height = static_cast<int>(le32(file, 22));
    size_t row = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    size_t at = le32(file, 10) + row * static_cast<size_t>(height - 1 - y) + static_cast<size_t>(x) * 3;
    return Rgb{file.at(at + 2), file.at(at + 1), file.at(at)};
}

class DatagenPictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = datagentest::freshFolder("pictures");
        result_ = datagentest::runGenerator(folder_, {
                                                         "image label.pcx 64 32\n"
                                                         "sprite ball.pcx 32 32\n"
                                                         "image pad.bmp 10 4\n"
                                                         "image photo.jpg 64 32\n"
                                                         "glyph a.bmp 32 32 A\n"
                                                         "glyph lower.bmp 32 32 a\n"
                                                         "glyph code.bmp 32 32 65\n"
                                                         "glyph space.bmp 32 32 space\n"
                                                         "glyph pound.bmp 32 32 35\n",
                                                     });
        ASSERT_EQ(0, result_.exitCode) << result_.err;
    }

    Bytes file(const std::string& name) const { return testsupport::readFile(folder_ + "/out/" + name); }

    std::string folder_;
    datagentest::RunResult result_;
};

}  // namespace

TEST_F(DatagenPictures, PcxHeaderHoldsSizeAsCountsAndPaletteAtTheEnd)
{
    Bytes pcx = file("label.pcx");
    ASSERT_GT(pcx.size(), 128u + 769u);
    EXPECT_EQ(0x0A, pcx[0]);
    EXPECT_EQ(1, pcx[2]);  // run-length coded
    EXPECT_EQ(8, pcx[3]);  // bits per pixel
    EXPECT_EQ(0u, le16(pcx, 4));
    EXPECT_EQ(0u, le16(pcx, 6));
    EXPECT_EQ(64u, le16(pcx, 8));   // Xmax = width
    EXPECT_EQ(32u, le16(pcx, 10));  // Ymax = height
    EXPECT_EQ(1, pcx[65]);          // one plane
    EXPECT_EQ(64u, le16(pcx, 66));  // bytes per line

    Pcx decoded = decodePcx(pcx);
    EXPECT_EQ(pcx.size() - 769, decoded.dataEnd) << "coded data must end right at the palette marker";
    EXPECT_EQ(0x0C, pcx[pcx.size() - 769]);
}

TEST_F(DatagenPictures, ImageIsOpaqueWithBorderAndLettering)
{
    Pcx image = decodePcx(file("label.pcx"));
    std::vector<Rgb> colours;
    for (const Rgb& c : image.pixels) {
        EXPECT_NE(kBlack, c) << "pure black would turn see-through";
        if (std::find(colours.begin(), colours.end(), c) == colours.end())
            colours.push_back(c);
    }
    EXPECT_EQ(3u, colours.size()) << "fill, border and lettering";
    Rgb border = image.at(0, 0);
    EXPECT_EQ(border, image.at(1, 1));
    EXPECT_EQ(border, image.at(63, 31));
    EXPECT_EQ(border, image.at(62, 30));
    EXPECT_NE(border, image.at(2, 2));
}

TEST_F(DatagenPictures, SpriteKeepsBlackSurroundAroundItsOutline)
{
    Pcx sprite = decodePcx(file("ball.pcx"));
    EXPECT_EQ(kBlack, sprite.at(0, 0));
    EXPECT_EQ(kBlack, sprite.at(31, 31));
    EXPECT_EQ(kBlack, sprite.at(3, 16));
    // A 32-pixel sprite has a 4-pixel surround and a 2-pixel border.
    Rgb border = sprite.at(4, 16);
    EXPECT_NE(kBlack, border);
    EXPECT_EQ(border, sprite.at(5, 16));
    EXPECT_EQ(border, sprite.at(27, 16));
    EXPECT_NE(border, sprite.at(6, 16));
    EXPECT_NE(kBlack, sprite.at(6, 16));
}

TEST_F(DatagenPictures, BmpIs24BitBottomUpWithPaddedRows)
{
    Bytes bmp = file("pad.bmp");
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ('B', bmp[0]);
    EXPECT_EQ('M', bmp[1]);
    EXPECT_EQ(54u + 32u * 4u, bmp.size());  // 10 pixels = 30 bytes, padded to 32
    EXPECT_EQ(bmp.size(), le32(bmp, 2));
    EXPECT_EQ(54u, le32(bmp, 10));
    EXPECT_EQ(40u, le32(bmp, 14));
    EXPECT_EQ(10u, le32(bmp, 18));
    EXPECT_EQ(4u, le32(bmp, 22));
    EXPECT_EQ(1u, le16(bmp, 26));
    EXPECT_EQ(24u, le16(bmp, 28));
    EXPECT_EQ(0u, le32(bmp, 30));
    EXPECT_EQ(128u, le32(bmp, 34));
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(0, bmp[54 + row * 32 + 30]);
        EXPECT_EQ(0, bmp[54 + row * 32 + 31]);
    }
    EXPECT_NE(std::string::npos, result_.err.find("pad.bmp has a width of 10, not a multiple of 4"));
}

TEST_F(DatagenPictures, GlyphsShowTheirCharacterUprightOnBlack)
{
    Bytes a = file("a.bmp");
    ASSERT_EQ(54u + 32u * 32u * 3u, a.size());
    // An 'A' scaled by 4 stands in rows 2 to 29 from column 6: its top row is open at the left,
    // its bottom row closed.
    EXPECT_EQ(kBlack, bmpPixel(a, 0, 0));
    EXPECT_EQ(kBlack, bmpPixel(a, 7, 3));
    EXPECT_NE(kBlack, bmpPixel(a, 7, 28));
    EXPECT_NE(kBlack, bmpPixel(a, 12, 3));

    EXPECT_EQ(a, file("lower.bmp")) << "lower case is drawn as the capital";
    EXPECT_EQ(a, file("code.bmp")) << "65 is the code of 'A'";

    Bytes space = file("space.bmp");
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(kBlack, bmpPixel(space, x, y));

    Bytes pound = file("pound.bmp");
    EXPECT_NE(kBlack, bmpPixel(pound, 10, 2)) << "the '#' glyph has its left upright here";
    EXPECT_NE(pound, a);
}

TEST_F(DatagenPictures, JpegIsBaselineRgbOfTheGivenSize)
{
    Bytes jpg = file("photo.jpg");
    ASSERT_GT(jpg.size(), 4u);
    EXPECT_EQ(0xFF, jpg[0]);
    EXPECT_EQ(0xD8, jpg[1]);
    EXPECT_EQ(0xFF, jpg[jpg.size() - 2]);
    EXPECT_EQ(0xD9, jpg[jpg.size() - 1]);
    // Walk the marker segments up to the frame header.
    size_t at = 2;
    while (at + 4 < jpg.size() && jpg[at] == 0xFF && jpg[at + 1] != 0xC0)
        at += 2 + (static_cast<size_t>(jpg[at + 2]) << 8 | jpg[at + 3]);
    ASSERT_LT(at + 10, jpg.size());
    ASSERT_EQ(0xC0, jpg[at + 1]) << "baseline frame";
    EXPECT_EQ(8, jpg[at + 4]);
    EXPECT_EQ(32, (jpg[at + 5] << 8) | jpg[at + 6]);
    EXPECT_EQ(64, (jpg[at + 7] << 8) | jpg[at + 8]);
    EXPECT_EQ(3, jpg[at + 9]);
}
