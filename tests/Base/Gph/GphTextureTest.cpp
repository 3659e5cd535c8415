#include "Base/Gph/GphTexture.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <array>
#include <cstdio>
#include <memory>
#include <sstream>

#include "Base/App/Globals.h"
#include "Base/Gph/GphImage.h"
#include "ImageFiles.h"
#include "support/Files.h"
#include "support/GlContext.h"

using namespace imagefiles;
using testsupport::logContains;
using testsupport::logMessages;
using testsupport::writeFile;

namespace {

class GphTextureGl : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Mesa's EGL vendor library goes with SDL's video and comes back with the next
        // context; kept mapped, the leak checker can name its allocations.
        dlopen("libEGL_mesa.so.0", RTLD_LAZY | RTLD_NODELETE);
    }
    void SetUp() override { ASSERT_TRUE(context.ok()); }
    void TearDown() override
    {
        EXPECT_TRUE(GphTextureIdMap.empty());
        EXPECT_TRUE(GphTextureRefCounts.empty());
        EXPECT_TRUE(GphTextureList.empty());
        EXPECT_TRUE(GphImageCache.empty());
    }
    testsupport::GlContext context;
};

std::unique_ptr<GphTexture> texture(const std::string& name, bool transparency = false,
                                    GLenum filter = GL_LINEAR, GLenum mode = GL_MODULATE)
{
    return std::make_unique<GphTexture>(GphImage::load(name, transparency), filter, filter, GL_REPEAT, GL_REPEAT,
                                        mode);
}

GLint boundTexture()
{
    GLint id = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &id);
    return id;
}

// The texture's level 0 as OpenGL holds it, rows tight; the binding is left as it was.
std::vector<unsigned char> readBack(GLuint id, GLenum format)
{
    const GLint previous = boundTexture();
    glBindTexture(GL_TEXTURE_2D, id);
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<unsigned char> pixels(size_t(width) * size_t(height) * (format == GL_RGBA ? 4 : 3));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!pixels.empty()) glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    return pixels;
}

size_t countLog(const std::string& text)
{
    size_t n = 0;
    for (const std::string& m : logMessages()) n += m.find(text) != std::string::npos;
    return n;
}

// Every listed texture's id is its image's id, and each id's count is its number of textures.
void expectMapsConsistent()
{
    std::map<GLuint, int> holders;
    for (GphTexture* t : GphTextureList) {
        if (t->getImage() == nullptr) continue;
        ASSERT_EQ(GphTextureIdMap.count(t->getImage()), 1u);
        EXPECT_EQ(GphTextureIdMap[t->getImage()], t->getId());
        ++holders[t->getId()];
    }
    EXPECT_EQ(GphTextureRefCounts.size(), holders.size());
    for (const auto& h : holders) EXPECT_EQ(GphTextureRefCounts[h.first], h.second) << "id " << h.first;
}

}  // namespace

TEST_F(GphTextureGl, TexturesOfOneImageShareOneUploadedId)
{
    const Picture picture = distinctColours(4, 4);
    writeFile("textest_shared.pcx", pcxBytes(picture));
    GphImage* image = GphImage::load("textest_shared.pcx", false);  // the test's own reference
    ASSERT_NE(image, nullptr);

    auto first = texture("textest_shared.pcx");
    const GLuint id = first->getId();
    ASSERT_NE(id, 0u);
    EXPECT_TRUE(glIsTexture(id));
    EXPECT_FALSE(image->hasPixels());  // dropped from memory once uploaded
    // Later textures of the image neither read the file nor upload again.
    std::remove("textest_shared.pcx");
    auto second = texture("textest_shared.pcx");
    auto third = texture("textest_shared.pcx");
    EXPECT_EQ(second->getId(), id);
    EXPECT_EQ(third->getId(), id);
    EXPECT_FALSE(image->hasPixels());
    EXPECT_EQ(GphTextureRefCounts[id], 3);
    EXPECT_EQ(GphTextureIdMap[image], id);
    EXPECT_EQ(image->getRefCount(), 4);
    EXPECT_EQ(first->getWidth(), 4u);
    EXPECT_EQ(first->getHeight(), 4u);
    EXPECT_EQ(readBack(id, GL_RGB), bottomUpRgb(picture));

    first.reset();
    second.reset();
    EXPECT_EQ(GphTextureRefCounts[id], 1);
    EXPECT_TRUE(glIsTexture(id));
    EXPECT_EQ(image->getRefCount(), 2);
    third.reset();
    EXPECT_EQ(GphTextureRefCounts.count(id), 0u);
    EXPECT_EQ(GphTextureIdMap.count(image), 0u);
    EXPECT_FALSE(glIsTexture(id));
    EXPECT_EQ(image->getRefCount(), 1);
    GphImage::release(image);
}

TEST_F(GphTextureGl, RebuiltAfterTheLastTextureWentItUploadsAgain)
{
    writeFile("textest_again.bmp", bmpBytes(redOverBlue(2, 2)));
    texture("textest_again.bmp").reset();
    EXPECT_TRUE(GphImageCache.empty());
    const Picture changed = distinctColours(2, 2);
    writeFile("textest_again.bmp", bmpBytes(changed));
    auto again = texture("textest_again.bmp");
    EXPECT_EQ(GphTextureRefCounts[again->getId()], 1);
    EXPECT_EQ(readBack(again->getId(), GL_RGB), bottomUpRgb(changed));
}

TEST_F(GphTextureGl, BindIssuesItsCallsOnlyForANewId)
{
    writeFile("textest_bind_a.bmp", bmpBytes(distinctColours(2, 2)));
    writeFile("textest_bind_b.bmp", bmpBytes(redOverBlue(2, 2)));
    auto a = texture("textest_bind_a.bmp", false, GL_LINEAR);
    auto sameImage = texture("textest_bind_a.bmp", false, GL_NEAREST);
    auto other = texture("textest_bind_b.bmp");

    a->bind();
    EXPECT_EQ(boundTexture(), GLint(a->getId()));
    glBindTexture(GL_TEXTURE_2D, 0);
    a->bind();  // same id as last time: nothing happens
    EXPECT_EQ(boundTexture(), 0);
    glBindTexture(GL_TEXTURE_2D, a->getId());

    GLint filter = 0;
    sameImage->bind();  // shares the id: its own filters are not applied
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);

    other->bind();
    EXPECT_EQ(boundTexture(), GLint(other->getId()));
    sameImage->bind();
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_NEAREST);
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_MODULATE);
}

TEST_F(GphTextureGl, BlendColourIsSetOnlyInBlendMode)
{
    writeFile("textest_blend.bmp", bmpBytes(distinctColours(2, 2)));
    const float colour[4] = {0.5f, 0.25f, 1.0f, 0.75f};
    GphTexture blend(GphImage::load("textest_blend.bmp", false), GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT,
                     GL_BLEND, colour);
    ASSERT_NE(blend.getBlendColour(), nullptr);
    EXPECT_NE(blend.getBlendColour(), colour);
    blend.bind();
    GLfloat set[4] = {};
    glGetTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, set);
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(set[i], colour[i]);
    blend.setBlendColour(nullptr);
    EXPECT_EQ(blend.getBlendColour(), nullptr);
}

TEST_F(GphTextureGl, DeletedIdIsForgottenAsTheLastBound)
{
    // OpenGL hands out freed names again: a new texture may get the name just deleted and
    // must still be bound for its upload and its first bind.
    writeFile("textest_stale_a.bmp", bmpBytes(redOverBlue(3, 2)));
    const Picture picture = distinctColours(3, 2);
    writeFile("textest_stale_b.bmp", bmpBytes(picture));
    auto a = texture("textest_stale_a.bmp");
    a->bind();
    a.reset();
    glBindTexture(GL_TEXTURE_2D, 0);
    auto b = texture("textest_stale_b.bmp");
    EXPECT_EQ(boundTexture(), GLint(b->getId()));
    EXPECT_EQ(readBack(b->getId(), GL_RGB), bottomUpRgb(picture));
}

TEST_F(GphTextureGl, OddWidthsUploadUnsheared)
{
    for (int width : {1, 3, 5, 7}) {
        const Picture picture = distinctColours(width, 3);
        const std::string name = "textest_odd" + std::to_string(width) + ".bmp";
        writeFile(name, bmpBytes(picture));
        auto t = texture(name);
        EXPECT_EQ(readBack(t->getId(), GL_RGB), bottomUpRgb(picture)) << width;
    }
    const Picture pcx = distinctColours(3, 4);
    writeFile("textest_odd.pcx", pcxBytes(pcx));
    auto p = texture("textest_odd.pcx");
    EXPECT_EQ(readBack(p->getId(), GL_RGB), bottomUpRgb(pcx));

    // A transparent picture of odd width: colours and alphas in place.
    Picture holes = distinctColours(5, 3);
    holes.at(2, 1) = kBlack;
    writeFile("textest_odd_alpha.bmp", bmpBytes(holes));
    auto t = texture("textest_odd_alpha.bmp", true);
    const std::vector<unsigned char> rgba = readBack(t->getId(), GL_RGBA);
    const unsigned char* expected = t->getImage()->getPixels();  // read again from the file
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(rgba, std::vector<unsigned char>(expected, expected + 5 * 3 * 4));
    EXPECT_EQ(rgba[size_t(4 * (1 * 5 + 2) + 3)], 0);
    EXPECT_EQ(rgba[size_t(4 * (1 * 5 + 1) + 3)], 191);
    t->getImage()->freePixels();

    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);  // left as it was found
}

TEST_F(GphTextureGl, DeleteAllAndReloadAllKeepTexturesUsable)
{
    writeJpeg("textest_reload.jpg", redOverBlue(16, 8));
    Picture holes = distinctColours(5, 3);
    holes.at(0, 0) = kBlack;
    writeFile("textest_reload.pcx", pcxBytes(holes));
    auto j1 = texture("textest_reload.jpg");
    auto j2 = texture("textest_reload.jpg");
    auto p = texture("textest_reload.pcx", true);
    const std::vector<unsigned char> jpegBefore = readBack(j1->getId(), GL_RGB);
    const std::vector<unsigned char> pcxBefore = readBack(p->getId(), GL_RGBA);
    const GLuint oldJ = j1->getId();
    j1->bind();

    GphTexture::deleteAll();
    EXPECT_FALSE(glIsTexture(oldJ));
    EXPECT_FALSE(glIsTexture(p->getId()));
    EXPECT_EQ(j1->getId(), oldJ);
    EXPECT_EQ(GphTextureRefCounts[oldJ], 2);

    const size_t readsBefore = countLog("Image length: ");
    GphTexture::reloadAll();
    EXPECT_EQ(countLog("Image length: "), readsBefore + 1);  // the JPEG file read once
    EXPECT_NE(j1->getId(), 0u);
    EXPECT_EQ(j1->getId(), j2->getId());
    EXPECT_TRUE(glIsTexture(j1->getId()));
    EXPECT_TRUE(glIsTexture(p->getId()));
    EXPECT_NE(j1->getId(), p->getId());
    EXPECT_EQ(GphTextureRefCounts[j1->getId()], 2);
    EXPECT_EQ(GphTextureRefCounts[p->getId()], 1);
    expectMapsConsistent();
    EXPECT_EQ(readBack(j1->getId(), GL_RGB), jpegBefore);
    EXPECT_EQ(readBack(p->getId(), GL_RGBA), pcxBefore);
    EXPECT_FALSE(p->getImage()->hasPixels());

    // The last bound id was forgotten: binding works whatever names came back.
    glBindTexture(GL_TEXTURE_2D, 0);
    j1->bind();
    EXPECT_EQ(boundTexture(), GLint(j1->getId()));
}

TEST_F(GphTextureGl, ReloadKeepsCountsWhenNewNamesMeetOldOnes)
{
    // List order B, C with B holding a higher name than C: reloading B may be handed C's old
    // name, which must not mix up the two pictures' counts.
    const Picture pictureB = redOverBlue(2, 2);
    const Picture pictureC = distinctColours(2, 2);
    writeFile("textest_names_a.bmp", bmpBytes(distinctColours(3, 3)));
    writeFile("textest_names_b.bmp", bmpBytes(pictureB));
    writeFile("textest_names_c.bmp", bmpBytes(pictureC));
    auto a = texture("textest_names_a.bmp");
    auto b1 = texture("textest_names_b.bmp");
    a.reset();
    auto c = texture("textest_names_c.bmp");
    auto b2 = texture("textest_names_b.bmp");
    const GLuint oldC = c->getId();

    GphTexture::deleteAll();
    GphTexture::reloadAll();
    expectMapsConsistent();
    EXPECT_EQ(GphTextureRefCounts[b1->getId()], 2);
    EXPECT_EQ(GphTextureRefCounts[c->getId()], 1);
    EXPECT_EQ(b1->getId(), b2->getId());
    EXPECT_EQ(readBack(b1->getId(), GL_RGB), bottomUpRgb(pictureB));
    EXPECT_EQ(readBack(c->getId(), GL_RGB), bottomUpRgb(pictureC));
    (void)oldC;
}

TEST_F(GphTextureGl, ReloadWithoutCountLogsAndLeavesTheTexture)
{
    writeFile("textest_nocount.bmp", bmpBytes(distinctColours(2, 2)));
    auto t = texture("textest_nocount.bmp");
    const GLuint id = t->getId();
    const int count = GphTextureRefCounts[id];
    GphTextureRefCounts.erase(id);
    GphTexture::deleteAll();
    GphTexture::reloadAll();
    EXPECT_TRUE(logContains("Failed to find reference count for texture id"));
    EXPECT_EQ(t->getId(), id);
    GphTextureRefCounts[id] = count;
}

TEST_F(GphTextureGl, CopySharesTheIdWithItsOwnImageReference)
{
    writeFile("textest_copy.pcx", pcxBytes(distinctColours(2, 2)));
    const float colour[4] = {1, 0, 0, 1};
    GphTexture original(GphImage::load("textest_copy.pcx", true), GL_NEAREST, GL_LINEAR, GL_CLAMP, GL_REPEAT,
                        GL_DECAL, colour);
    {
        GphTexture copy(original);
        EXPECT_EQ(copy.getId(), original.getId());
        EXPECT_EQ(copy.getImage(), original.getImage());
        EXPECT_EQ(original.getImage()->getRefCount(), 2);
        EXPECT_EQ(GphTextureRefCounts[original.getId()], 2);
        EXPECT_EQ(copy.getMinFilter(), GLenum(GL_NEAREST));
        EXPECT_EQ(copy.getMagFilter(), GLenum(GL_LINEAR));
        EXPECT_EQ(copy.getSWrap(), GLenum(GL_CLAMP));
        EXPECT_EQ(copy.getMode(), GLenum(GL_DECAL));
        ASSERT_NE(copy.getBlendColour(), nullptr);
        EXPECT_NE(copy.getBlendColour(), original.getBlendColour());
        EXPECT_EQ(copy.getBlendColour()[0], 1.0f);
        EXPECT_EQ(GphTextureList.size(), 2u);
    }
    EXPECT_EQ(GphTextureList.size(), 1u);
    EXPECT_EQ(GphTextureRefCounts[original.getId()], 1);
}

TEST_F(GphTextureGl, OnlyTexturesThatCanHaveAnImageAreListed)
{
    {
        GphTexture none(nullptr, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, GL_MODULATE);
        EXPECT_EQ(none.getId(), 0u);
        EXPECT_TRUE(GphTextureList.empty());
        GphTexture blank;
        EXPECT_EQ(GphTextureList.size(), 1u);
        EXPECT_EQ(blank.getMode(), 0u);
        GphTexture::deleteAll();  // image-less textures are passed over
        GphTexture::reloadAll();
    }
    EXPECT_TRUE(GphTextureList.empty());
}

TEST_F(GphTextureGl, WriteAndReadBack)
{
    writeFile("textest_tagged.bmp", bmpBytes(distinctColours(2, 2)));
    auto t = texture("textest_tagged.bmp", true, GL_NEAREST, GL_DECAL);
    std::ostringstream out;
    EXPECT_EQ(t->write(out), 0);
    std::vector<std::string> lines;
    std::istringstream split(out.str());
    for (std::string line; std::getline(split, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines[0], "<TEXTURE>");
    EXPECT_EQ(lines[1], "<MIN_FILTER>");
    EXPECT_EQ(lines[2], std::to_string(GL_NEAREST));
    EXPECT_EQ(lines[13], "<MODE>");
    EXPECT_EQ(lines[14], std::to_string(GL_DECAL));
    EXPECT_EQ(lines[16], "<IMAGE>");
    EXPECT_EQ(lines[24], "</TEXTURE>");
    EXPECT_EQ(out.str().find("<BLEND_COLOR>"), std::string::npos);

    std::istringstream in(out.str());
    std::string opening;
    in >> opening;
    GphTexture read;
    EXPECT_EQ(read.read(in), 0);
    EXPECT_EQ(read.getImage(), t->getImage());
    EXPECT_EQ(read.getId(), t->getId());
    EXPECT_EQ(GphTextureRefCounts[t->getId()], 2);
    EXPECT_EQ(read.getMinFilter(), GLenum(GL_NEAREST));
    EXPECT_EQ(read.getMagFilter(), GLenum(GL_NEAREST));
    EXPECT_EQ(read.getSWrap(), GLenum(GL_REPEAT));
    EXPECT_EQ(read.getTWrap(), GLenum(GL_REPEAT));
    EXPECT_EQ(read.getMode(), GLenum(GL_DECAL));
    EXPECT_EQ(GphTextureList.size(), 2u);

    const float colour[4] = {0.5f, 0.25f, 1.0f, 0.75f};
    t->setBlendColour(colour);
    std::ostringstream withColour;
    EXPECT_EQ(t->write(withColour), 0);
    EXPECT_NE(withColour.str().find("<BLEND_COLOR>\n0.5 0.25 1 0.75\n</BLEND_COLOR>\n"), std::string::npos);
    std::istringstream colourIn(withColour.str());
    colourIn >> opening;
    GphTexture coloured;
    EXPECT_EQ(coloured.read(colourIn), 0);
    ASSERT_NE(coloured.getBlendColour(), nullptr);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(coloured.getBlendColour()[i], colour[i]);
}

TEST_F(GphTextureGl, FailedReadsEndWithMinusOneAndMakeNoTexture)
{
    writeFile("textest_readfail.bmp", bmpBytes(distinctColours(2, 2)));
    const std::string image =
        " <IMAGE> <FILENAME> textest_readfail.bmp </FILENAME> <TRANSPARENCY> 0 </TRANSPARENCY> </IMAGE> ";
    const std::vector<std::string> broken = {
        "<MODE> 8448 </MODE> <BOGUS> 1 </BOGUS>" + image + "</TEXTURE>",
        image + "<MODE> 8448 </MODE>",  // the stream ends before </TEXTURE>
        image + "<MIN_FILTER>",
        image + "<MIN_FILTER> linear </MIN_FILTER> </TEXTURE>",
        "<BLEND_COLOR> 1 0 </BLEND_COLOR> </TEXTURE>",
        "<IMAGE> <FILENAME> textest_absent.bmp </FILENAME> <TRANSPARENCY> 0 </TRANSPARENCY> </IMAGE> </TEXTURE>",
        "",
    };
    for (const std::string& text : broken) {
        std::istringstream in(text);
        GphTexture t;
        EXPECT_EQ(t.read(in), -1) << text;
        EXPECT_EQ(t.getId(), 0u) << text;
    }
    EXPECT_TRUE(logContains("Unknown tag: <BOGUS>"));
    EXPECT_TRUE(GphTextureRefCounts.empty());

    // A texture without an image has no block to write.
    GphTexture blank;
    std::ostringstream out;
    EXPECT_EQ(blank.write(out), -1);
    EXPECT_EQ(out.str().find("</TEXTURE>"), std::string::npos);
}

using GphImageDraw = GphTextureGl;

TEST_F(GphImageDraw, DrawsTheSourceRectangleScaledIntoTheDestination)
{
    const Picture picture = distinctColours(5, 4);  // odd width: rows are tight
    writeFile("textest_draw.bmp", bmpBytes(picture));
    GphImage* image = GphImage::load("textest_draw.bmp", false);
    ASSERT_NE(image, nullptr);
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 800, 0, 600, -10, 10);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    // Columns 1 to 3 of buffer rows 1 to 2, four times as large, at (100, 200).
    image->draw(ShpRect(1, 1, 4, 3), ShpRect(100, 200, 112, 208));
    const std::vector<unsigned char> rgb = bottomUpRgb(picture);
    auto source = [&](int x, int row) {
        const size_t at = size_t(3 * (row * 5 + x));
        return std::array<unsigned char, 3>{rgb[at], rgb[at + 1], rgb[at + 2]};
    };
    EXPECT_EQ(testsupport::readPixel(101, 201), source(1, 1));
    EXPECT_EQ(testsupport::readPixel(106, 202), source(2, 1));
    EXPECT_EQ(testsupport::readPixel(111, 207), source(3, 2));
    EXPECT_EQ(testsupport::readPixel(113, 201), (std::array<unsigned char, 3>{0, 0, 0}));
    EXPECT_EQ(testsupport::readPixel(101, 209), (std::array<unsigned char, 3>{0, 0, 0}));

    GLint rowLength = -1;
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
    EXPECT_EQ(rowLength, 0);
    GphImage::release(image);
}
