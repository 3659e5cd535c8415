#include "Base/Gph/GphImage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "Base/App/Globals.h"
#include "ImageFiles.h"
#include "support/Files.h"

using namespace imagefiles;
using testsupport::logContains;
using testsupport::logMessages;
using testsupport::writeFile;

namespace {

std::vector<unsigned char> pixelsOf(GphImage* image)
{
    const size_t bytes = size_t(image->getWidth()) * image->getHeight() * image->getBitsPerPixel() / 8;
    const unsigned char* p = image->getPixels();
    return p == nullptr ? std::vector<unsigned char>() : std::vector<unsigned char>(p, p + bytes);
}

// Loads a file that must fail: null, nothing cached, and a new log line containing `message`
// (or no new line at all when `message` is empty).
void expectLoadFails(const std::string& name, const std::string& message)
{
    const size_t before = logMessages().size();
    GphImage* image = GphImage::load(name, false);
    EXPECT_EQ(image, nullptr) << name;
    EXPECT_EQ(GphImageCache.count(name), 0u) << name;
    GphImage::release(image);
    const std::vector<std::string> log = logMessages();
    if (message.empty()) {
        EXPECT_EQ(log.size(), before) << name;
        return;
    }
    bool found = false;
    for (size_t i = before; i < log.size(); ++i) found = found || log[i].find(message) != std::string::npos;
    EXPECT_TRUE(found) << name << " should log " << message;
}

}  // namespace

// ---- choosing a loader and the cache ----

TEST(GphImageLoad, NamesThatPickNoLoader)
{
    expectLoadFails("", "");
    expectLoadFails("imgtest_noextension", "");
    expectLoadFails("imgtest_picture.png", "ERROR! Unsupported image file type!");
    expectLoadFails("imgtest_picture.Bmp", "ERROR! Unsupported image file type!");
    expectLoadFails("imgtest_picture.jpeg", "ERROR! Unsupported image file type!");
    expectLoadFails("old.set/tile", "ERROR! Unsupported image file type!");
}

TEST(GphImageLoad, MissingFilesFailAndAreNotCached)
{
    expectLoadFails("imgtest_missing.bmp", "ERROR! Failed to open file imgtest_missing.bmp");
    expectLoadFails("imgtest_missing.JPG", "ERROR! Failed to open file imgtest_missing.JPG");
    expectLoadFails("imgtest_missing.PCX", "ERROR! Failed to open file imgtest_missing.PCX");
}

TEST(GphImageLoad, UpperCaseExtensionsPickTheirLoaders)
{
    const Picture picture = distinctColours(2, 2);
    writeFile("imgtest_upper.BMP", bmpBytes(picture));
    writeFile("imgtest_upper.PCX", pcxBytes(picture));
    for (const char* name : {"imgtest_upper.BMP", "imgtest_upper.PCX"}) {
        GphImage* image = GphImage::load(name, false);
        ASSERT_NE(image, nullptr) << name;
        EXPECT_EQ(pixelsOf(image), bottomUpRgb(picture)) << name;
        GphImage::release(image);
    }
}

TEST(GphImageCacheTest, SharedByNameWithReferenceCount)
{
    writeFile("imgtest_shared.bmp", bmpBytes(distinctColours(3, 2)));
    GphImage* first = GphImage::load("imgtest_shared.bmp", false);
    GphImage* second = GphImage::load("imgtest_shared.bmp", true);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->getRefCount(), 2);
    // The second load's transparency is ignored.
    EXPECT_FALSE(first->isTransparent());
    EXPECT_EQ(first->getBitsPerPixel(), 24u);

    GphImage::release(second);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(first->getRefCount(), 1);
    ASSERT_EQ(GphImageCache.count("imgtest_shared.bmp"), 1u);

    GphImage::release(first);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(GphImageCache.count("imgtest_shared.bmp"), 0u);

    GphImage* none = nullptr;
    GphImage::release(none);
    EXPECT_EQ(none, nullptr);
}

TEST(GphImageCacheTest, TransparentFirstLoadWins)
{
    writeFile("imgtest_firstwins.bmp", bmpBytes(distinctColours(2, 2)));
    GphImage* transparent = GphImage::load("imgtest_firstwins.bmp", true);
    GphImage* opaque = GphImage::load("imgtest_firstwins.bmp", false);
    ASSERT_NE(opaque, nullptr);
    EXPECT_TRUE(opaque->isTransparent());
    EXPECT_EQ(opaque->getBitsPerPixel(), 32u);
    EXPECT_EQ(opaque->getFormat(), static_cast<GLenum>(GL_RGBA));
    GphImage::release(opaque);
    GphImage::release(transparent);
}

TEST(GphImageCacheTest, ReleaseOfAnUncachedImageLogsAndDeletesIt)
{
    writeFile("imgtest_uncached.bmp", bmpBytes(distinctColours(2, 2)));
    GphImage* image = GphImage::load("imgtest_uncached.bmp", false);
    ASSERT_NE(image, nullptr);
    GphImageCache.erase("imgtest_uncached.bmp");
    GphImage::release(image);  // the sanitizer build would report a leak if it were not deleted
    EXPECT_EQ(image, nullptr);
    EXPECT_TRUE(logContains("ERROR! Failed to find image in map"));
}

TEST(GphImageCacheTest, PixelsComeBackFromTheFileAfterFreePixels)
{
    Picture picture = distinctColours(5, 3);
    picture.at(2, 1) = kBlack;
    writeFile("imgtest_reread.bmp", bmpBytes(picture));
    GphImage* image = GphImage::load("imgtest_reread.bmp", true);
    ASSERT_NE(image, nullptr);
    const std::vector<unsigned char> first = pixelsOf(image);
    image->freePixels();
    EXPECT_FALSE(image->hasPixels());
    EXPECT_EQ(image->getWidth(), 5u);
    EXPECT_EQ(image->getBitsPerPixel(), 32u);
    EXPECT_EQ(pixelsOf(image), first);  // alphas included

    image->freePixels();
    std::remove("imgtest_reread.bmp");
    EXPECT_EQ(image->getPixels(), nullptr);
    EXPECT_TRUE(logContains("Failed to re-read image file!"));
    EXPECT_EQ(GphImageCache.count("imgtest_reread.bmp"), 1u);
    GphImage::release(image);
}

TEST(GphImageTagged, WriteAndReadBack)
{
    writeFile("imgtest_tagged.pcx", pcxBytes(distinctColours(4, 2)));
    GphImage* image = GphImage::load("imgtest_tagged.pcx", true);
    ASSERT_NE(image, nullptr);
    std::ostringstream out;
    EXPECT_EQ(image->write(out), 0);
    EXPECT_EQ(out.str(),
              "<IMAGE>\n<FILENAME>\nimgtest_tagged.pcx\n</FILENAME>\n<TRANSPARENCY>\n1\n</TRANSPARENCY>\n</IMAGE>\n");

    std::istringstream in(out.str());
    std::string opening;
    in >> opening;
    GphImage* read = GphImage::readTagged(in);
    EXPECT_EQ(read, image);
    EXPECT_EQ(image->getRefCount(), 2);
    GphImage::release(read);

    // The tags are taken by position, not compared; a stream that ends early gives null.
    std::istringstream renamed("<A> imgtest_tagged.pcx <B> <C> 1 <D> <E>");
    read = GphImage::readTagged(renamed);
    EXPECT_EQ(read, image);
    GphImage::release(read);
    std::istringstream truncated("<FILENAME> imgtest_tagged.pcx </FILENAME> <TRANSPARENCY>");
    EXPECT_EQ(GphImage::readTagged(truncated), nullptr);
    GphImage::release(image);
}

// ---- the transparency rule ----

TEST(GphImageTransparency, AlphaFromBlackNeighbours)
{
    // Seen from the top:   row 0: K W K W W
    //                      row 1: W W W W K
    //                      row 2: W W W W W
    Picture picture(5, 3, kWhite);
    picture.at(0, 0) = kBlack;
    picture.at(2, 0) = kBlack;
    picture.at(4, 1) = kBlack;
    writeFile("imgtest_alpha.bmp", bmpBytes(picture));
    GphImage* image = GphImage::load("imgtest_alpha.bmp", true);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->getBitsPerPixel(), 32u);
    const std::vector<unsigned char> pixels = pixelsOf(image);
    auto alpha = [&](int x, int yFromTop) { return pixels[size_t(4 * ((2 - yFromTop) * 5 + x) + 3)]; };
    EXPECT_EQ(alpha(0, 0), 0);    // black
    EXPECT_EQ(alpha(1, 0), 127);  // black left and right
    EXPECT_EQ(alpha(3, 0), 191);  // black left only
    EXPECT_EQ(alpha(4, 0), 191);  // corner: black below it
    EXPECT_EQ(alpha(0, 1), 191);  // black above it
    EXPECT_EQ(alpha(3, 1), 191);  // black right of it, on an odd-width row
    EXPECT_EQ(alpha(4, 2), 191);  // corner: black above it
    EXPECT_EQ(alpha(1, 2), 255);
    EXPECT_EQ(pixels[size_t(4 * (2 * 5 + 1))], 255);  // colours kept
    GphImage::release(image);
}

TEST(GphImageTransparency, PictureWithoutBlackWidensWithFullAlpha)
{
    writeFile("imgtest_noblack.pcx", pcxBytes(distinctColours(3, 3)));
    GphImage* image = GphImage::load("imgtest_noblack.pcx", true);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getBitsPerPixel(), 32u);
    const std::vector<unsigned char> pixels = pixelsOf(image);
    const std::vector<unsigned char> rgb = bottomUpRgb(distinctColours(3, 3));
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(pixels[4 * i + 3], 255);
        EXPECT_EQ(pixels[4 * i], rgb[3 * i]);
    }
    // Applying the rule again at 32 bits keeps the alphas of black and non-black pixels.
    image->setTransparency(true);
    EXPECT_EQ(pixelsOf(image), pixels);
    GphImage::release(image);
}

TEST(GphImageTransparency, FormatFollowsFlagAndDepth)
{
    writeFile("imgtest_format.bmp", bmpBytes(distinctColours(2, 2)));
    GphImage* image = GphImage::load("imgtest_format.bmp", false);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getFormat(), static_cast<GLenum>(GL_RGB));
    EXPECT_EQ(image->getType(), static_cast<GLenum>(GL_UNSIGNED_BYTE));
    image->setBitsPerPixel(16);
    EXPECT_EQ(image->getFormat(), static_cast<GLenum>(GL_RGB));
    EXPECT_TRUE(logContains("ERROR! Unsupported color depth!"));
    image->setBitsPerPixel(24);
    GphImage::release(image);
}
