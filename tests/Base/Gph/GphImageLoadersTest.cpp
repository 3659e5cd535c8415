#include <gtest/gtest.h>

#include <cstring>

#include "Base/App/Globals.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphImageBmp.h"
#include "Base/Gph/GphImageJpg.h"
#include "Base/Gph/GphImagePcx.h"
#include "ImageFiles.h"
#include "support/Files.h"

using namespace imagefiles;
using testsupport::logContains;
using testsupport::logMessages;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

std::vector<unsigned char> pixelsOf(GphImage& image)
{
    const size_t bytes = size_t(image.getWidth()) * image.getHeight() * image.getBitsPerPixel() / 8;
    const unsigned char* p = image.getPixels();
    return p == nullptr ? std::vector<unsigned char>() : std::vector<unsigned char>(p, p + bytes);
}

// Runs a loader directly and expects it to fail with -1, hold no pixels, and log `message`.
template <class Loader>
void expectFailure(const std::string& name, const std::vector<unsigned char>& bytes, const std::string& message)
{
    writeFile(name, bytes);
    const size_t before = logMessages().size();
    Loader image(name, false);
    EXPECT_EQ(image.load(), -1) << name;
    EXPECT_FALSE(image.hasPixels()) << name;
    const std::vector<std::string> log = logMessages();
    bool found = false;
    for (size_t i = before; i < log.size(); ++i) found = found || log[i].find(message) != std::string::npos;
    EXPECT_TRUE(found) << name << " should log " << message;
}

void setLe32(std::vector<unsigned char>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = static_cast<unsigned char>(value >> (8 * i));
}

void setLe16(std::vector<unsigned char>& bytes, size_t at, uint32_t value)
{
    bytes[at] = static_cast<unsigned char>(value);
    bytes[at + 1] = static_cast<unsigned char>(value >> 8);
}

}  // namespace

TEST(GphImageLoaders, EmptyFileNameIsInvalid)
{
    GphImageBmp bmp("", false);
    GphImagePcx pcx("", false);
    GphImageJpg jpg("", false);
    EXPECT_EQ(bmp.checkFileName(), -1);
    EXPECT_EQ(bmp.load(), -1);
    EXPECT_EQ(pcx.load(), -1);
    EXPECT_EQ(jpg.load(), -1);
    EXPECT_TRUE(logContains("ERROR! Invalid file name!"));
    GphImageBmp named("x.bmp", false);
    EXPECT_EQ(named.checkFileName(), 0);
}

// ---- BMP ----

TEST(GphImageBmpTest, FourByTwoSwapsRedAndBlueKeepingRowOrder)
{
    const Picture picture = distinctColours(4, 2);
    const std::vector<unsigned char> file = bmpBytes(picture);
    writeFile("imgtest_4x2.bmp", file);
    GphImageBmp image("imgtest_4x2.bmp", false);
    ASSERT_EQ(image.load(), 0);
    EXPECT_EQ(image.getWidth(), 4u);
    EXPECT_EQ(image.getHeight(), 2u);
    EXPECT_EQ(image.getBitsPerPixel(), 24u);
    std::vector<unsigned char> expected(file.begin() + 54, file.end());
    for (size_t i = 0; i < expected.size(); i += 3) std::swap(expected[i], expected[i + 2]);
    EXPECT_EQ(pixelsOf(image), expected);
    EXPECT_EQ(pixelsOf(image), bottomUpRgb(picture));
}

TEST(GphImageBmpTest, PaletteBeforeThePixelsIsSkipped)
{
    const Picture picture = distinctColours(4, 3);
    writeFile("imgtest_offset1078.bmp", bmpBytes(picture, 1024));
    GphImageBmp image("imgtest_offset1078.bmp", false);
    ASSERT_EQ(image.load(), 0);
    EXPECT_EQ(pixelsOf(image), bottomUpRgb(picture));
}

TEST(GphImageBmpTest, ImageSizeFieldZeroReadsPaddedRows)
{
    const Picture picture = distinctColours(3, 2);  // 9 bytes per row, padded to 12
    writeFile("imgtest_size0.bmp", bmpBytes(picture, 0, false));
    GphImageBmp image("imgtest_size0.bmp", false);
    ASSERT_EQ(image.load(), 0);
    EXPECT_EQ(pixelsOf(image), bottomUpRgb(picture));
}

TEST(GphImageBmpTest, OddWidthsGiveTightRows)
{
    for (int width : {1, 2, 3, 5, 7}) {
        const Picture picture = distinctColours(width, 3);
        writeFile("imgtest_odd.bmp", bmpBytes(picture));
        GphImageBmp image("imgtest_odd.bmp", false);
        ASSERT_EQ(image.load(), 0) << width;
        EXPECT_EQ(image.getWidth(), unsigned(width));
        EXPECT_EQ(pixelsOf(image), bottomUpRgb(picture)) << width;
    }
}

TEST(GphImageBmpTest, TopDownRowsAreTurnedBottomUp)
{
    const Picture picture = distinctColours(3, 4);
    writeFile("imgtest_topdown.bmp", bmpBytes(picture, 0, true, true));
    GphImageBmp image("imgtest_topdown.bmp", false);
    ASSERT_EQ(image.load(), 0);
    EXPECT_EQ(image.getHeight(), 4u);
    EXPECT_EQ(pixelsOf(image), bottomUpRgb(picture));
}

TEST(GphImageBmpTest, MalformedFilesFailWithoutOverrun)
{
    const std::vector<unsigned char> good = bmpBytes(distinctColours(4, 4));

    std::vector<unsigned char> notBmp = good;
    notBmp[0] = 'X';
    expectFailure<GphImageBmp>("imgtest_bad_magic.bmp", notBmp, "ERROR! imgtest_bad_magic.bmp is not a BMP file!");
    expectFailure<GphImageBmp>("imgtest_empty.bmp", {}, "is not a BMP file!");

    const std::vector<unsigned char> headerCut(good.begin(), good.begin() + 30);
    expectFailure<GphImageBmp>("imgtest_header_cut.bmp", headerCut,
                               "ERROR! Failed to read bitmap header of imgtest_header_cut.bmp");
    std::vector<unsigned char> farOffset = good;
    setLe32(farOffset, 10, 100000);
    expectFailure<GphImageBmp>("imgtest_far_offset.bmp", farOffset, "ERROR! Failed to read bitmap header of");
    std::vector<unsigned char> shortOffset = good;
    setLe32(shortOffset, 10, 20);
    expectFailure<GphImageBmp>("imgtest_short_offset.bmp", shortOffset, "ERROR! Failed to read bitmap header of");

    const std::vector<unsigned char> dataCut(good.begin(), good.end() - 5);
    expectFailure<GphImageBmp>("imgtest_data_cut.bmp", dataCut,
                               "ERROR! Failed to read pixel data for imgtest_data_cut.bmp");
    // Dimensions that lie: a plausible size larger than the data, and an absurd one.
    std::vector<unsigned char> taller = good;
    setLe32(taller, 22, 40);
    expectFailure<GphImageBmp>("imgtest_taller.bmp", taller, "ERROR! Failed to read pixel data for");
    std::vector<unsigned char> huge = good;
    setLe32(huge, 18, 1000000);
    setLe32(huge, 22, 1000000);
    expectFailure<GphImageBmp>("imgtest_huge.bmp", huge, "ERROR! Unsupported image size");
    std::vector<unsigned char> hugeNegative = good;
    setLe32(hugeNegative, 22, 0x80000000u);
    expectFailure<GphImageBmp>("imgtest_huge_negative.bmp", hugeNegative, "ERROR! Unsupported image size");
    std::vector<unsigned char> zeroWidth = good;
    setLe32(zeroWidth, 18, 0);
    expectFailure<GphImageBmp>("imgtest_zero_width.bmp", zeroWidth, "ERROR! Unsupported image size");

    // Only uncompressed 24-bit pictures are supported.
    std::vector<unsigned char> eightBit = good;
    setLe16(eightBit, 28, 8);
    expectFailure<GphImageBmp>("imgtest_8bit.bmp", eightBit, "is not an uncompressed 24-bit BMP file");
    std::vector<unsigned char> compressed = good;
    setLe32(compressed, 30, 1);
    expectFailure<GphImageBmp>("imgtest_rle.bmp", compressed, "is not an uncompressed 24-bit BMP file");
}

// ---- PCX ----

namespace {

std::vector<unsigned char> pcxFile(const std::vector<unsigned char>& header, const std::vector<unsigned char>& data)
{
    std::vector<unsigned char> file = header;
    file.insert(file.end(), data.begin(), data.end());
    file.push_back(0x0C);
    const std::vector<unsigned char> palette = rampPalette();
    file.insert(file.end(), palette.begin(), palette.end());
    return file;
}

// The ramp palette's colour of index i.
std::vector<unsigned char> ramp(unsigned i)
{
    return {static_cast<unsigned char>(i), static_cast<unsigned char>(255 - i), static_cast<unsigned char>(i / 2)};
}

}  // namespace

TEST(GphImagePcxTest, RunLengthCodes)
{
    // 0xC0 is a single index; 0xC1 0x05 is one 5; 0xFF 0x07 is 63 sevens: 65 indices.
    writeFile("imgtest_codes.pcx", pcxFile(pcxHeader(8, 1, 65, 1, 65), {0xC0, 0xC1, 0x05, 0xFF, 0x07}));
    GphImagePcx image("imgtest_codes.pcx", false);
    ASSERT_EQ(image.load(), 0);
    EXPECT_EQ(image.getWidth(), 65u);
    EXPECT_EQ(image.getHeight(), 1u);
    EXPECT_EQ(image.getBitsPerPixel(), 24u);
    std::vector<unsigned char> expected = ramp(0xC0);
    const std::vector<unsigned char> five = ramp(5);
    expected.insert(expected.end(), five.begin(), five.end());
    for (int i = 0; i < 63; ++i) {
        const std::vector<unsigned char> seven = ramp(7);
        expected.insert(expected.end(), seven.begin(), seven.end());
    }
    EXPECT_EQ(pixelsOf(image), expected);
}

TEST(GphImagePcxTest, LastFileRowBecomesFirstBufferRow)
{
    const Picture picture = redOverBlue(64, 32);
    writeFile("imgtest_64x32.pcx", pcxBytes(picture));
    GphImagePcx image("imgtest_64x32.pcx", false);
    ASSERT_EQ(image.load(), 0);
    EXPECT_EQ(image.getWidth(), 64u);
    EXPECT_EQ(image.getHeight(), 32u);
    const std::vector<unsigned char> pixels = pixelsOf(image);
    EXPECT_EQ(pixels, bottomUpRgb(picture));
    EXPECT_EQ(pixels[2], 255);                // bottom row blue
    EXPECT_EQ(pixels[31 * 64 * 3], 255);      // top row red
}

TEST(GphImagePcxTest, OddWidthAndColumnsBeyondXmax)
{
    const Picture picture = distinctColours(3, 2);
    writeFile("imgtest_odd.pcx", pcxBytes(picture));
    GphImagePcx odd("imgtest_odd.pcx", false);
    ASSERT_EQ(odd.load(), 0);
    EXPECT_EQ(pixelsOf(odd), bottomUpRgb(picture));

    // Lines of 6 bytes of which Xmax = 3 are used: the picture is 6 wide, the rest black.
    std::vector<unsigned char> lines = {0x01, 0x02, 0x03, 0xC3, 0x09, 0x04, 0x05, 0x06, 0xC3, 0x09};
    writeFile("imgtest_wide_lines.pcx", pcxFile(pcxHeader(8, 1, 3, 2, 6), lines));
    GphImagePcx wide("imgtest_wide_lines.pcx", false);
    ASSERT_EQ(wide.load(), 0);
    EXPECT_EQ(wide.getWidth(), 6u);
    std::vector<unsigned char> expected;
    for (unsigned i : {4u, 5u, 6u}) {
        const std::vector<unsigned char> c = ramp(i);
        expected.insert(expected.end(), c.begin(), c.end());
    }
    expected.resize(18, 0);
    for (unsigned i : {1u, 2u, 3u}) {
        const std::vector<unsigned char> c = ramp(i);
        expected.insert(expected.end(), c.begin(), c.end());
    }
    expected.resize(36, 0);
    EXPECT_EQ(pixelsOf(wide), expected);
}

TEST(GphImagePcxTest, RunsCrossLinesButStopAtTheEnd)
{
    // One run of 5 fills the first line of 4 and starts the second; the last run of 63
    // would go far past the last line and is cut there.
    writeFile("imgtest_runs.pcx", pcxFile(pcxHeader(8, 1, 4, 3, 4), {0xC5, 0x02, 0xC2, 0x03, 0xFF, 0x04}));
    GphImagePcx image("imgtest_runs.pcx", false);
    ASSERT_EQ(image.load(), 0);
    const std::vector<unsigned char> pixels = pixelsOf(image);
    // File rows: 2 2 2 2 / 2 3 3 4 / 4 4 4 4; the buffer holds them bottom first.
    const unsigned expected[3][4] = {{4, 4, 4, 4}, {2, 3, 3, 4}, {2, 2, 2, 2}};
    for (int row = 0; row < 3; ++row)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(pixels[size_t(3 * (row * 4 + x))], expected[row][x]) << row << "," << x;
}

TEST(GphImagePcxTest, MalformedFilesFail)
{
    const std::vector<unsigned char> good = pcxBytes(distinctColours(4, 4));

    expectFailure<GphImagePcx>("imgtest_header_cut.pcx", std::vector<unsigned char>(good.begin(), good.begin() + 60),
                               "ERROR! Failed to read PCX header of imgtest_header_cut.pcx");
    expectFailure<GphImagePcx>("imgtest_4bit.pcx", pcxFile(pcxHeader(4, 1, 4, 4, 4), std::vector<unsigned char>(16)),
                               "ERROR! Unsupported PCX format");
    expectFailure<GphImagePcx>("imgtest_3planes.pcx", pcxFile(pcxHeader(8, 3, 4, 4, 4), std::vector<unsigned char>(48)),
                               "ERROR! Unsupported PCX format");
    expectFailure<GphImagePcx>("imgtest_xmax0.pcx", pcxFile(pcxHeader(8, 1, 0, 4, 4), std::vector<unsigned char>(16)),
                               "ERROR! Unsupported PCX format");
    // Xmax beyond the line would read indices of the next line and write past the row.
    expectFailure<GphImagePcx>("imgtest_xmax_wide.pcx", pcxFile(pcxHeader(8, 1, 9, 4, 4), std::vector<unsigned char>(16)),
                               "ERROR! Unsupported PCX format");
    expectFailure<GphImagePcx>("imgtest_ymax_neg.pcx", pcxFile(pcxHeader(8, 1, 4, -4, 4), std::vector<unsigned char>(16)),
                               "ERROR! Unsupported image size");
    expectFailure<GphImagePcx>("imgtest_ymax0.pcx", pcxFile(pcxHeader(8, 1, 4, 0, 4), {}),
                               "ERROR! Unsupported image size");
    expectFailure<GphImagePcx>("imgtest_huge.pcx", pcxFile(pcxHeader(8, 1, 30000, 30000, 30000), {0xFF, 0x01}),
                               "ERROR! Unsupported image size");

    // Rows promised by the header but missing from the file: the palette is not pixel data.
    std::vector<unsigned char> tall = good;
    tall[10] = 40;
    expectFailure<GphImagePcx>("imgtest_tall.pcx", tall, "ERROR! Failed to read pixel data for imgtest_tall.pcx");
    std::vector<unsigned char> runCut = pcxHeader(8, 1, 4, 1, 4);
    runCut.push_back(0xC4);  // a run whose value byte is missing: the palette follows
    const std::vector<unsigned char> palette = rampPalette();
    runCut.insert(runCut.end(), palette.begin(), palette.end());
    expectFailure<GphImagePcx>("imgtest_run_cut.pcx", runCut, "ERROR! Failed to read pixel data for");
    // Too short to hold a palette at all.
    std::vector<unsigned char> noPalette(good.begin(), good.begin() + 128 + 16);
    expectFailure<GphImagePcx>("imgtest_no_palette.pcx", noPalette, "is too short for its palette");
}

// ---- JPEG ----

TEST(GphImageJpgTest, ColourPictureDecodesBottomRowFirst)
{
    const size_t before = logMessages().size();
    writeJpeg("imgtest_320x200.jpg", redOverBlue(320, 200));
    GphImageJpg image("imgtest_320x200.jpg", false);
    ASSERT_EQ(image.load(), 0);
    EXPECT_EQ(image.getWidth(), 320u);
    EXPECT_EQ(image.getHeight(), 200u);
    EXPECT_EQ(image.getBitsPerPixel(), 24u);
    const std::vector<std::string> log = logMessages();
    const std::vector<std::string> lines(log.begin() + long(before), log.end());
    const std::vector<std::string> expected = {"Image length: 320", "Image width: 200", "Bytes per row: 960",
                                               "Bytes per pixel = 3", "Bits per pixel = 24"};
    EXPECT_EQ(lines, expected);

    const std::vector<unsigned char> pixels = pixelsOf(image);
    auto near = [](unsigned char v, int want) { return std::abs(int(v) - want) < 8; };
    const unsigned char* bottom = pixels.data() + 3 * 160;
    const unsigned char* top = pixels.data() + 3 * (199 * 320 + 160);
    EXPECT_TRUE(near(bottom[0], 0) && near(bottom[1], 0) && near(bottom[2], 255));
    EXPECT_TRUE(near(top[0], 255) && near(top[1], 0) && near(top[2], 0));
}

TEST(GphImageJpgTest, OddWidthComesOutTight)
{
    writeJpeg("imgtest_odd.jpg", redOverBlue(5, 4));
    GphImageJpg image("imgtest_odd.jpg", false);
    ASSERT_EQ(image.load(), 0);
    EXPECT_EQ(image.getWidth(), 5u);
    const std::vector<unsigned char> pixels = pixelsOf(image);
    ASSERT_EQ(pixels.size(), 60u);
    EXPECT_GT(pixels[3 * 4 + 2], 200);          // bottom row, last pixel blue
    EXPECT_GT(pixels[3 * (3 * 5 + 4)], 200);    // top row, last pixel red
}

TEST(GphImageJpgTest, GreyscaleIsRejected)
{
    writeJpeg("imgtest_grey.jpg", redOverBlue(8, 8), true);
    GphImageJpg image("imgtest_grey.jpg", false);
    EXPECT_EQ(image.load(), -1);
    EXPECT_FALSE(image.hasPixels());
    EXPECT_TRUE(logContains("imgtest_grey.jpg does not decode to 3 colour components but 1"));
}

TEST(GphImageJpgTest, CorruptFilesFailInsteadOfEndingTheProgram)
{
    writeJpeg("imgtest_source.jpg", distinctColours(16, 16));
    const std::vector<unsigned char> good = readFile("imgtest_source.jpg");
    ASSERT_GT(good.size(), 200u);

    std::vector<unsigned char> garbage(300);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<unsigned char>(i * 37 + 11);
    expectFailure<GphImageJpg>("imgtest_garbage.jpg", garbage, "ERROR! Failed to decode JPEG file imgtest_garbage.jpg");
    expectFailure<GphImageJpg>("imgtest_empty.jpg", {}, "ERROR! Failed to decode JPEG file");
    expectFailure<GphImageJpg>("imgtest_header_cut.jpg", std::vector<unsigned char>(good.begin(), good.begin() + 100),
                               "ERROR! Failed to decode JPEG file");

    // A frame header claiming 60000 x 60000 pixels.
    std::vector<unsigned char> huge = good;
    size_t sof = 2;
    while (sof + 9 < huge.size() && !(huge[sof] == 0xFF && huge[sof + 1] == 0xC0)) ++sof;
    ASSERT_LT(sof + 9, huge.size());
    huge[sof + 5] = 0xEA;  // height 0xEA60
    huge[sof + 6] = 0x60;
    huge[sof + 7] = 0xEA;  // width
    huge[sof + 8] = 0x60;
    expectFailure<GphImageJpg>("imgtest_huge.jpg", huge, "ERROR! Unsupported image size");

    // Scrambled entropy-coded data after intact headers.
    std::vector<unsigned char> scrambled = good;
    size_t sos = 2;
    while (sos + 1 < scrambled.size() && !(scrambled[sos] == 0xFF && scrambled[sos + 1] == 0xDA)) ++sos;
    for (size_t i = sos + 14; i + 2 < scrambled.size(); ++i) scrambled[i] = 0xFF;
    writeFile("imgtest_scrambled.jpg", scrambled);
    GphImageJpg image("imgtest_scrambled.jpg", false);
    const int result = image.load();  // libjpeg may recover with a warning; either way no exit
    EXPECT_EQ(result == 0, image.hasPixels());
}
