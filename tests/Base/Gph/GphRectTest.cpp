#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <string>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphBillboard.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Common/Sprite.h"
#include "GphDrawTestSupport.h"
#include "support/Files.h"
#include "support/GlContext.h"

namespace {

using Pixel = std::array<unsigned char, 3>;

bool near(const Pixel& p, int r, int g, int b, int tolerance = 12)
{
    return std::abs(p[0] - r) <= tolerance && std::abs(p[1] - g) <= tolerance && std::abs(p[2] - b) <= tolerance;
}

std::string show(const Pixel& p)
{
    return "(" + std::to_string(p[0]) + ", " + std::to_string(p[1]) + ", " + std::to_string(p[2]) + ")";
}

// Screen pixels: the camera's point is the window's centre (400, 300), one unit a pixel,
// y counted from the bottom as OpenGL reads them back.
#define EXPECT_PIXEL(x, y, r, g, b, ...)                                                 \
    do {                                                                                  \
        const Pixel p_ = testsupport::readPixel(x, y);                                    \
        EXPECT_TRUE(near(p_, r, g, b, ##__VA_ARGS__)) << "pixel (" << (x) << ", " << (y)  \
                                                      << ") is " << show(p_);             \
    } while (0)

// Every test draws on a green background into the back buffer of the game window.
class GphRectDraw : public ::testing::Test {
protected:
    static void TearDownTestSuite() { gphdraw::closeWindow(); }

    void SetUp() override
    {
        window = gphdraw::openWindow();
        ASSERT_NE(nullptr, window);
        window->disableBlending();
        window->setClearColor(0, 1, 0, 1);
        window->clear();
    }

    void TearDown() override
    {
        if (!window) return;
        window->setClearColor(0, 0, 0, 0);
        window->getCamera()->setPosition(ShpCoord(0, 0, 0));
        window->disableLighting();
        window->disableBlending();
    }

    static GphAnimatedTexture* look(const std::string& file, GLenum mode = GL_MODULATE)
    {
        GphAnimatedTexture* a = new GphAnimatedTexture();
        GphImage* image = GphImage::load(file, true);
        EXPECT_NE(nullptr, image) << file;
        if (image) a->addFrame(new GphTexture(image, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, mode));
        return a;
    }

    GphWindow* window = nullptr;
};

}  // namespace

TEST_F(GphRectDraw, LengthLiesAlongXAndWidthAlongY)
{
    ShpCoord at(0, 0, -10);
    GphRect r(200, 100, &at, nullptr, GPH_RECT);
    r.setColor(1, 0, 0);
    EXPECT_EQ(0, r.draw());
    EXPECT_PIXEL(400, 300, 255, 0, 0);
    EXPECT_PIXEL(400 + 95, 300, 255, 0, 0);
    EXPECT_PIXEL(400 + 105, 300, 0, 255, 0);
    EXPECT_PIXEL(400, 300 + 45, 255, 0, 0);
    EXPECT_PIXEL(400, 300 + 55, 0, 255, 0);
    EXPECT_PIXEL(400 - 95, 300 - 45, 255, 0, 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(GphRectDraw, DrawnRelativeToTheCamera)
{
    window->getCamera()->setPosition(ShpCoord(1000, 500, 0));
    ShpCoord at(1100, 450, -10);
    GphRect r(20, 20, &at, nullptr, GPH_RECT);
    r.setColor(0, 0, 1);
    r.render();
    EXPECT_PIXEL(500, 250, 0, 0, 255);
    EXPECT_PIXEL(400, 300, 0, 255, 0);
    // The model-view matrix holds the translation only: the default rotations change nothing.
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const GLfloat expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 100, -50, -10, 1};
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(expected[i], m[i]) << i;
}

TEST_F(GphRectDraw, RotationTurnsTheQuad)
{
    ShpCoord at(0, 0, -10);
    GphRect r(200, 40, &at, nullptr, GPH_RECT);
    r.setColor(1, 1, 1);
    r.setRotationAxis(0, 0, 1);
    r.rotate(90);
    r.draw();
    EXPECT_PIXEL(400, 300 + 90, 255, 255, 255);
    EXPECT_PIXEL(400 + 90, 300, 0, 255, 0);
}

TEST_F(GphRectDraw, FadedOutAndCulledRectanglesDrawNothing)
{
    ShpCoord at(0, 0, -10);
    GphRect r(50, 50, &at, nullptr, GPH_RECT);
    r.setColor(1, 0, 0);
    r.setAlpha(0.004f);
    r.draw();
    EXPECT_PIXEL(400, 300, 0, 255, 0);
    r.setAlpha(0.005f);  // stored a little below 0.005
    r.draw();
    EXPECT_PIXEL(400, 300, 0, 255, 0);
    r.setCoord(ShpCoord(426, 0, -10));  // left edge at 401: outside the 800-unit view
    r.setAlpha(1);
    window->getCamera()->setPosition(ShpCoord(-1, 0, 0));
    r.draw();
    EXPECT_PIXEL(799, 300, 0, 255, 0);
    // Blending stays off for an untextured rectangle: the faint one is drawn in full.
    r.setCoord(ShpCoord(0, 0, -10));
    r.setAlpha(0.006f);
    r.draw();
    EXPECT_PIXEL(401, 300, 255, 0, 0);
}

TEST_F(GphRectDraw, NormalIsSentOnlyWhileLightingIsOn)
{
    ShpCoord at(0, 0, -10);
    GphRect r(50, 50, &at, nullptr, GPH_RECT);
    GLfloat n[4];
    glNormal3f(1, 0, 0);
    r.draw();
    glGetFloatv(GL_CURRENT_NORMAL, n);
    EXPECT_EQ(1.0f, n[0]);
    window->enableLighting();
    r.draw();
    glGetFloatv(GL_CURRENT_NORMAL, n);
    EXPECT_EQ(0.0f, n[0]);
    EXPECT_EQ(1.0f, n[2]);
}

TEST_F(GphRectDraw, SpriteDrawsItsSquarePictureOnItsAnchor)
{
    GphRect picture;
    picture.setColor(1, 1, 0);
    Sprite s;
    s.setGraphic(&picture);
    s.setAnchor(8);
    s.setSize(40, 80);  // 40 high, 80 wide: an 80 x 80 picture over the box's centre
    s.setPosition(0, 0, -10);
    s.hide();           // the flag is for the callers; drawing ignores it
    s.draw();
    EXPECT_PIXEL(400, 300 + 55, 255, 255, 0);
    EXPECT_PIXEL(400, 300 + 65, 0, 255, 0);
    EXPECT_PIXEL(400, 300 - 15, 255, 255, 0);
    EXPECT_PIXEL(400, 300 - 25, 0, 255, 0);
    EXPECT_PIXEL(400 + 35, 300, 255, 255, 0);
}

TEST_F(GphRectDraw, BillboardKeepsItsPlaceOnTheScreen)
{
    GphBillboard b(-300, 250, 160, 80, -8, nullptr);
    b.setColor(1, 0, 0);
    for (const ShpCoord& camera : {ShpCoord(0, 0, 0), ShpCoord(1234, -567, 0)}) {
        window->clear();
        window->getCamera()->setPosition(camera);
        EXPECT_EQ(0, b.draw());
        EXPECT_DOUBLE_EQ(camera.getX() - 300, b.getCoord()->getX());
        EXPECT_DOUBLE_EQ(camera.getY() + 250, b.getCoord()->getY());
        EXPECT_DOUBLE_EQ(-8, b.getCoord()->getZ());
        EXPECT_PIXEL(100, 550, 255, 0, 0);
        EXPECT_PIXEL(100 + 75, 550 + 35, 255, 0, 0);
        EXPECT_PIXEL(100 + 85, 550, 0, 255, 0);
        EXPECT_PIXEL(100, 550 - 45, 0, 255, 0);
    }
    window->clear();
    b.hide();
    b.draw();
    EXPECT_PIXEL(100, 550, 0, 255, 0);
}

TEST_F(GphRectDraw, BlendingFollowsAlphaAndTextureMode)
{
    // Two files: textures of one picture share one OpenGL texture and its mode.
    gphdraw::writePicture("rect_modes.bmp", gphdraw::redTopBlueBottom());
    gphdraw::writePicture("rect_modes_decal.bmp", gphdraw::redTopBlueBottom());
    ShpCoord at(0, 0, -10);
    GphAnimatedTexture* modulate = look("rect_modes.bmp");
    GphAnimatedTexture* decal = look("rect_modes_decal.bmp", GL_DECAL);
    GphRect r(256, 256, &at, modulate, GPH_RECT);

    r.draw();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    // The black column is see-through: the background shows.
    EXPECT_PIXEL(300, 380, 0, 255, 0);

    r.setAnimatedTexture(decal);
    window->clear();
    r.draw();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    // A decal picture is opaque: its see-through texels take the quad's white.
    EXPECT_PIXEL(300, 380, 255, 255, 255);
    EXPECT_PIXEL(450, 380, 255, 0, 0);
    r.setAlpha(0.99f);
    r.draw();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));

    // A faded modulated picture mixes with what lies behind it.
    r.setAnimatedTexture(modulate);
    r.setAlpha(0.5f);
    window->clear();
    r.draw();
    EXPECT_PIXEL(450, 380, 128, 128, 0, 3);
    EXPECT_PIXEL(450, 220, 0, 128, 128, 3);

    // An untextured rectangle keeps the blending the previous draw left.
    GphRect fill(50, 50, &at, nullptr, GPH_RECT);
    fill.setAlpha(0.5f);
    fill.setColor(1, 0, 0);
    window->clear();
    fill.draw();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_PIXEL(400, 300, 128, 128, 0, 3);

    delete modulate;
    delete decal;
}

TEST_F(GphRectDraw, TallyCountsTheRectanglesAndPixelsThatReachTheWindow)
{
    gphdraw::writePicture("rect_tally.bmp", gphdraw::redTopBlueBottom());
    GphAnimatedTexture* picture = look("rect_tally.bmp");
    struct Case {
        const char* what;
        double x;
        double alpha;
        GphAnimatedTexture* texture;
        unsigned long rects, blended;
        double pixels;
    };
    const Case cases[] = {
        {"fill in view", 0, 1, nullptr, 1, 0, 200 * 100},
        {"half beyond the right edge", 400, 1, nullptr, 1, 0, 100 * 100},
        {"out of view", 600, 1, nullptr, 0, 0, 0},
        {"faded out", 0, 0, nullptr, 0, 0, 0},
        {"blended picture", 0, 1, picture, 1, 1, 200 * 100},
    };
    for (const Case& c : cases) {
        const ShpCoord at(c.x, 0, -10);
        GphRect r(200, 100, &at, c.texture, GPH_RECT);
        r.setAlpha(static_cast<float>(c.alpha));
        const GphRect::Tally before = GphRect::getTally();
        r.draw();
        const GphRect::Tally& after = GphRect::getTally();
        EXPECT_EQ(c.rects, after.rects - before.rects) << c.what;
        EXPECT_EQ(c.blended, after.blended - before.blended) << c.what;
        EXPECT_DOUBLE_EQ(c.pixels, after.pixels - before.pixels) << c.what;
    }
    delete picture;
}

TEST_F(GphRectDraw, TextureWithoutFramesStillDraws)
{
    GphAnimatedTexture empty;
    ShpCoord at(0, 0, -10);
    GphRect r(50, 50, &at, &empty, GPH_RECT);
    window->enableBlending();
    glBindTexture(GL_TEXTURE_2D, 0);
    r.draw();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(testsupport::logContains("ERROR! Failed to find current frame!"));
    r.setAlpha(0.5f);
    r.draw();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
}

// One picture, red above and blue below with a black band on the left, read from each
// format the game knows and drawn through a rectangle: it must come out the right way
// up, with its black see-through.
class GphRectPictureFormats : public GphRectDraw, public ::testing::WithParamInterface<const char*> {};

TEST_P(GphRectPictureFormats, RedAtTheTopBlueAtTheBottomBlackTransparent)
{
    const std::string file = GetParam();
    gphdraw::writePicture(file, gphdraw::redTopBlueBottom());
    GphAnimatedTexture* picture = look(file);
    ASSERT_EQ(1u, picture->getFrameCount());
    ASSERT_EQ(64u, picture->getCurrentFrameWidth());
    ASSERT_EQ(64u, picture->getCurrentFrameHeight());
    // 64 texels drawn over 256 units: screen x 272 to 528, y 172 to 428.
    ShpCoord at(0, 0, -10);
    GphRect r(256, 256, &at, picture, GPH_RECT);
    EXPECT_EQ(0, r.draw());
    EXPECT_PIXEL(450, 400, 255, 0, 0);
    EXPECT_PIXEL(500, 320, 255, 0, 0);
    EXPECT_PIXEL(450, 200, 0, 0, 255);
    EXPECT_PIXEL(500, 280, 0, 0, 255);
    EXPECT_PIXEL(300, 400, 0, 255, 0);
    EXPECT_PIXEL(300, 200, 0, 255, 0);
    EXPECT_PIXEL(540, 300, 0, 255, 0);
    delete picture;
}

INSTANTIATE_TEST_SUITE_P(Formats, GphRectPictureFormats,
                         ::testing::Values("rect_picture.bmp", "rect_picture.pcx", "rect_picture.jpg"));
