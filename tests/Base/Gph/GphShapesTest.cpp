#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL/SDL.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphCone.h"
#include "Base/Gph/GphDisk.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphLight.h"
#include "Base/Gph/GphPoint.h"
#include "Base/Gph/GphSphere.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "support/Files.h"
#include "support/GlContext.h"

namespace {

std::string written(GphObject& object)
{
    std::ostringstream out;
    EXPECT_EQ(0, object.write(out));
    return out.str();
}

std::vector<std::string> tokens(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> result;
    std::string token;
    while (in >> token) result.push_back(token);
    return result;
}

// Reads `text` into `object` the way a caller does: the opening tag is taken first.
int readBack(GphObject& object, const std::string& text)
{
    std::istringstream in(text);
    std::string opening;
    in >> opening;
    return object.read(in);
}

// Every shape's block must end with -1, and end at all, wherever its text is cut off.
void expectEveryTruncationFails(const std::string& text,
                                const std::function<std::unique_ptr<GphObject>()>& make)
{
    const std::vector<std::string> all = tokens(text);
    ASSERT_GT(all.size(), 2u);
    for (size_t kept = 1; kept < all.size(); ++kept) {
        std::string cut;
        for (size_t i = 0; i < kept; ++i) cut += all[i] + "\n";
        std::unique_ptr<GphObject> object = make();
        EXPECT_EQ(-1, readBack(*object, cut)) << "cut after " << kept << " tokens";
    }
}

void expectUnknownTagFails(const std::string& opening, const std::string& closing,
                           GphObject& object)
{
    const std::string text = opening + "\n<BOGUS_FIELD>\n1\n</BOGUS_FIELD>\n" + closing + "\n";
    EXPECT_EQ(-1, readBack(object, text));
    EXPECT_TRUE(testsupport::logContains("Unknown tag: <BOGUS_FIELD>"));
}

// Opens the game's window, which each test closes again, with one world unit per pixel and the camera at the origin.
GphWindow* openWindow()
{
    testsupport::keepGlDriverLoaded();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
    GphWindow* window =
        GphWindow::create(800, 600, 16, false, true, 1.0, 10000.0, 45.0, 400.0, nullptr);
    if (window == nullptr) return nullptr;
    dynamic_cast<GphViewportOrthogonal*>(window->getViewport())->setZoom(400.0);
    window->getCamera()->setPosition(ShpCoord(0.0, 0.0, 0.0));
    window->disableLighting();
    window->disableBlending();
    window->disableTexturing();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    while (glGetError() != GL_NO_ERROR) {
    }
    return window;
}

struct Feedback {
    // Each polygon's vertices in window coordinates (x, y, z).
    std::vector<std::vector<std::array<float, 3>>> polygons;
};

Feedback feedbackOf(GphObject& object)
{
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    EXPECT_EQ(0, object.draw());
    const GLint count = glRenderMode(GL_RENDER);
    Feedback result;
    for (GLint i = 0; i < count;) {
        const GLint token = static_cast<GLint>(buffer[i++]);
        if (token == GL_POLYGON_TOKEN) {
            const GLint vertices = static_cast<GLint>(buffer[i++]);
            std::vector<std::array<float, 3>> polygon;
            for (GLint v = 0; v < vertices; ++v, i += 3) {
                polygon.push_back({buffer[i], buffer[i + 1], buffer[i + 2]});
            }
            result.polygons.push_back(polygon);
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            ++i;
        } else {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
    }
    return result;
}

// The pixel from the buffer being drawn into: the window's visual under the test display
// may have no back buffer, and asking to read one would leave an OpenGL error behind.
std::array<unsigned char, 3> pixelAt(int x, int y)
{
    GLint drawBuffer = GL_BACK;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
    glReadBuffer(static_cast<GLenum>(drawBuffer));
    std::array<unsigned char, 3> rgb{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

bool isLit(const std::array<unsigned char, 3>& pixel)
{
    return pixel[0] > 40 || pixel[1] > 40 || pixel[2] > 40;
}

const float kRed[3] = {1.0f, 0.0f, 0.0f};

}  // namespace

// ---------------------------------------------------------------------------------------
// Tagged forms

TEST(GphShapesText, PointRoundTripsItsColourAndBase)
{
    ShpCoord at(12.5, -3, -40);
    const float color[3] = {0.25f, 0.5f, 0.75f};
    GphPoint point(&at, color, nullptr);
    point.setAlpha(0.5f);
    point.setOrientation(30, 0, 0, 1);
    const std::string text = written(point);
    EXPECT_EQ(0u, text.find("<POINT>\n<COLOR>\n0.25\n0.5\n0.75\n</COLOR>\n<BASE_GRAPHIC>\n"));
    EXPECT_EQ(text.size() - 9, text.rfind("</POINT>\n"));

    GphPoint copy;
    ASSERT_EQ(0, readBack(copy, text));
    EXPECT_FLOAT_EQ(0.75f, copy.getColor()[2]);
    EXPECT_DOUBLE_EQ(12.5, copy.getCoord()->getX());
    EXPECT_FLOAT_EQ(0.5f, copy.getAlpha());
    EXPECT_EQ(text, written(copy));
}

TEST(GphShapesText, ConeWritesItsFieldsInOrderAndRoundTrips)
{
    ShpCoord at(1, 2, -3);
    GphCone cone(5, 20.5, 40, 12, 3, &at, nullptr);
    const std::string text = written(cone);
    const std::vector<std::string> all = tokens(text);
    const std::vector<std::string> head = {
        "<CONE>",   "<INNER_RADIUS>", "5",         "</INNER_RADIUS>", "<OUTER_RADIUS>",
        "20.5",     "</OUTER_RADIUS>", "<HEIGHT>", "40",              "</HEIGHT>",
        "<SLICES>", "12",             "</SLICES>", "<STACKS>",        "3",
        "</STACKS>", "<BASE_GRAPHIC>"};
    ASSERT_GE(all.size(), head.size());
    EXPECT_EQ(head, std::vector<std::string>(all.begin(), all.begin() + head.size()));
    EXPECT_EQ("</CONE>", all.back());

    GphCone copy;
    ASSERT_EQ(0, readBack(copy, text));
    int slices = 0, stacks = 0;
    copy.getSlicesStacks(slices, stacks);
    EXPECT_EQ(12, slices);
    EXPECT_EQ(3, stacks);
    EXPECT_DOUBLE_EQ(20.5, copy.getOuterRadius());
    EXPECT_EQ(text, written(copy));
}

TEST(GphShapesText, DiskWritesItsFieldsInOrderAndRoundTrips)
{
    ShpCoord at(0, 0, -9);
    GphDisk disk(30, 10, 8, 2, 45, 270, &at, nullptr);
    const std::string text = written(disk);
    const std::vector<std::string> all = tokens(text);
    const std::vector<std::string> head = {
        "<DISK>",        "<OUTER_RADIUS>", "30",          "</OUTER_RADIUS>", "<INNER_RADIUS>",
        "10",            "</INNER_RADIUS>", "<SLICES>",   "8",               "</SLICES>",
        "<LOOPS>",       "2",              "</LOOPS>",    "<START_ANGLE>",   "45",
        "</START_ANGLE>", "<SWEEP_ANGLE>",  "270",        "</SWEEP_ANGLE>",  "<BASE_GRAPHIC>"};
    ASSERT_GE(all.size(), head.size());
    EXPECT_EQ(head, std::vector<std::string>(all.begin(), all.begin() + head.size()));
    EXPECT_EQ("</DISK>", all.back());

    GphDisk copy;
    ASSERT_EQ(0, readBack(copy, text));
    EXPECT_EQ(2, copy.getLoops());
    EXPECT_DOUBLE_EQ(270, copy.getSweepAngle());
    EXPECT_EQ(text, written(copy));
}

TEST(GphShapesText, SphereRoundTrips)
{
    ShpCoord at(-7, 8, -100);
    GphSphere sphere(15.25, 16, 8, &at, nullptr);
    const std::string text = written(sphere);
    EXPECT_EQ(0u, text.find("<SPHERE>\n<RADIUS>\n15.25\n</RADIUS>\n<SLICES>\n16\n</SLICES>\n"
                            "<STACKS>\n8\n</STACKS>\n<BASE_GRAPHIC>\n"));
    GphSphere copy;
    ASSERT_EQ(0, readBack(copy, text));
    EXPECT_DOUBLE_EQ(15.25, copy.getRadius());
    EXPECT_DOUBLE_EQ(-100, copy.getCoord()->getZ());
    EXPECT_EQ(text, written(copy));
}

TEST(GphShapesText, LightRoundTripsEveryArrayItHas)
{
    ShpCoord at(3, 4, -5);
    const float position[4] = {0, 0, 1, 0};
    const float ambient[4] = {0.1f, 0.2f, 0.3f, 1};
    const float diffuse[4] = {0.5f, 0.5f, 0.5f, 1};
    const float specular[4] = {1, 1, 1, 1};
    const float direction[3] = {0, 0, -1};
    GphLight light(&at, GL_LIGHT2, position, ambient, diffuse, specular, direction, 2.5f, 30);
    light.deactivate();
    const std::string text = written(light);
    EXPECT_EQ(0u, text.find("<LIGHT>\n<ACTIVE>\n0\n</ACTIVE>\n<ID>\n" +
                            std::to_string(GL_LIGHT2) + "\n</ID>\n<POSITION>\n0\n0\n1\n0\n"
                            "</POSITION>\n<AMBIENT_COLOR>\n0.1\n0.2\n0.3\n1\n</AMBIENT_COLOR>\n"
                            "<DIFFUSE_COLOR>\n"));
    EXPECT_NE(std::string::npos, text.find("<SPOT_DIRECTION>\n0\n0\n-1\n</SPOT_DIRECTION>\n"
                                           "<SPOT_EXPONENT>\n2.5\n</SPOT_EXPONENT>\n"
                                           "<SPOT_ANGLE>\n30\n</SPOT_ANGLE>\n<BASE_GRAPHIC>\n"));

    // A default light has no arrays; reading allocates those the text holds.
    GphLight copy;
    ASSERT_EQ(nullptr, copy.getAmbient());
    ASSERT_EQ(0, readBack(copy, text));
    EXPECT_FALSE(copy.isActive());
    EXPECT_EQ(GL_LIGHT2, copy.getId());
    ASSERT_NE(nullptr, copy.getAmbient());
    EXPECT_FLOAT_EQ(0.3f, copy.getAmbient()[2]);
    ASSERT_NE(nullptr, copy.getSpotDirection());
    EXPECT_FLOAT_EQ(-1.0f, copy.getSpotDirection()[2]);
    EXPECT_EQ(text, written(copy));
}

TEST(GphShapesText, LightWithoutPositionStaysWithoutOne)
{
    const float diffuse[4] = {1, 1, 1, 1};
    GphLight light(nullptr, GL_LIGHT0, nullptr, nullptr, diffuse, nullptr, nullptr, -1, -1);
    const std::string text = written(light);
    EXPECT_EQ(std::string::npos, text.find("<POSITION>"));
    EXPECT_EQ(std::string::npos, text.find("<SPOT_DIRECTION>"));
    EXPECT_NE(std::string::npos, text.find("<DIFFUSE_COLOR>"));

    GphLight copy;
    ASSERT_EQ(0, readBack(copy, text));
    EXPECT_EQ(nullptr, copy.getAmbient());
    EXPECT_EQ(text, written(copy));
}

TEST(GphShapesText, EveryShapeFailsOnTruncatedText)
{
    ShpCoord at(1, 2, -3);
    GphPoint point(&at, kRed, nullptr);
    expectEveryTruncationFails(written(point), [] { return std::make_unique<GphPoint>(); });
    GphCone cone(1, 2, 3, 4, 5, &at, nullptr);
    expectEveryTruncationFails(written(cone), [] { return std::make_unique<GphCone>(); });
    GphDisk disk(2, 1, 4, 1, 0, 90, &at, nullptr);
    expectEveryTruncationFails(written(disk), [] { return std::make_unique<GphDisk>(); });
    GphSphere sphere(2, 4, 4, &at, nullptr);
    expectEveryTruncationFails(written(sphere), [] { return std::make_unique<GphSphere>(); });
    const float four[4] = {1, 2, 3, 4};
    const float three[3] = {1, 2, 3};
    GphLight light(&at, GL_LIGHT1, four, four, four, four, three, 1, 2);
    expectEveryTruncationFails(written(light), [] { return std::make_unique<GphLight>(); });
}

TEST(GphShapesText, EveryShapeFailsOnAnUnknownTag)
{
    GphPoint point;
    expectUnknownTagFails("<POINT>", "</POINT>", point);
    GphCone cone;
    expectUnknownTagFails("<CONE>", "</CONE>", cone);
    GphDisk disk;
    expectUnknownTagFails("<DISK>", "</DISK>", disk);
    GphSphere sphere;
    expectUnknownTagFails("<SPHERE>", "</SPHERE>", sphere);
    GphLight light;
    expectUnknownTagFails("<LIGHT>", "</LIGHT>", light);
}

TEST(GphShapesText, ValuesThatDoNotParseFail)
{
    GphCone cone;
    cone.setHeight(7);
    EXPECT_EQ(-1, readBack(cone, "<CONE>\n<HEIGHT>\ntall\n</HEIGHT>\n</CONE>\n"));
    EXPECT_DOUBLE_EQ(7, cone.getHeight());
    GphLight light;
    EXPECT_EQ(-1, readBack(light, "<LIGHT>\n<AMBIENT_COLOR>\n1\n2\nx\n4\n</AMBIENT_COLOR>\n"
                                  "</LIGHT>\n"));
    EXPECT_EQ(nullptr, light.getAmbient());
}

// ---------------------------------------------------------------------------------------
// Copies and owned parts

TEST(GphShapesCopy, CopiesOwnTheirArraysAndKeepTheirValues)
{
    ShpCoord at(5, 6, -7);
    const float ambient[4] = {0.1f, 0.2f, 0.3f, 0.4f};
    GphLight light(&at, GL_LIGHT3, nullptr, ambient, nullptr, nullptr, nullptr, 4, 5);
    std::unique_ptr<GphObject> cloned(light.clone());
    GphLight* copy = dynamic_cast<GphLight*>(cloned.get());
    ASSERT_NE(nullptr, copy);
    ASSERT_NE(nullptr, copy->getAmbient());
    EXPECT_NE(light.getAmbient(), copy->getAmbient());
    EXPECT_FLOAT_EQ(0.4f, copy->getAmbient()[3]);
    EXPECT_EQ(nullptr, copy->getDiffuse());
    EXPECT_EQ(GL_LIGHT3, copy->getId());
    EXPECT_EQ(written(light), written(*copy));

    GphPoint point(&at, kRed, nullptr);
    GphPoint pointCopy(point);
    EXPECT_NE(point.getColor(), pointCopy.getColor());
    point.setColor(nullptr);
    EXPECT_FLOAT_EQ(0.0f, pointCopy.getColor()[1]);
    EXPECT_FLOAT_EQ(1.0f, point.getColor()[1]);

    // Assignment replaces the arrays the target held.
    GphLight other;
    float* own = new float[4]{1, 1, 1, 1};
    other.setDiffuse(own);
    other = light;
    EXPECT_EQ(nullptr, other.getDiffuse());
    EXPECT_FLOAT_EQ(0.2f, other.getAmbient()[1]);
}

TEST(GphShapesCopy, TheFactoryCopiesEveryShapeAsItsOwnClass)
{
    ShpCoord at(1, 1, -1);
    GphCone cone(1, 2, 3, 4, 5, &at, nullptr);
    GphDisk disk(2, 1, 4, 1, 0, 90, &at, nullptr);
    GphSphere sphere(2, 4, 4, &at, nullptr);
    GphPoint point(&at, kRed, nullptr);
    for (GphObject* source : std::vector<GphObject*>{&cone, &disk, &sphere, &point}) {
        std::unique_ptr<GphObject> copy(source->clone());
        ASSERT_NE(nullptr, copy);
        EXPECT_EQ(source->getType(), copy->getType());
        EXPECT_EQ(written(*source), written(*copy));
    }
}

TEST(GphShapesCopy, LightSettersTakeOverTheirArrays)
{
    // Run under the leak checker: the replaced array must not be lost.
    GphLight light;
    light.setAmbient(new float[4]{1, 0, 0, 1});
    light.setAmbient(new float[4]{0, 1, 0, 1});
    EXPECT_FLOAT_EQ(1.0f, light.getAmbient()[1]);
    float* same = light.getAmbient();
    light.setAmbient(same);
    EXPECT_EQ(same, light.getAmbient());
    light.setSpotDirection(new float[3]{0, 0, -1});
    light.setSpotDirection(nullptr);
    EXPECT_EQ(nullptr, light.getSpotDirection());
}

TEST(GphShapesGeometry, DiskNormal)
{
    float x, y, z;
    // Without an inner edge the three points degenerate: the zero normal.
    GphDisk pie(10, 0, 8, 1, 0, 360, nullptr, nullptr);
    pie.updateGeometry();
    pie.getNormal(x, y, z);
    EXPECT_EQ(0.0f, x);
    EXPECT_EQ(0.0f, y);
    EXPECT_EQ(0.0f, z);

    GphDisk ring(10, 5, 8, 1, 0, 360, nullptr, nullptr);
    ring.updateGeometry();
    ring.getNormal(x, y, z);
    EXPECT_EQ(0.0f, x);
    EXPECT_EQ(0.0f, y);
    EXPECT_FLOAT_EQ(1.0f, std::fabs(z));

    // No slices: no segment, and no division by zero turning the normal into NaN.
    GphDisk empty(10, 5, 0, 1, 0, 360, nullptr, nullptr);
    empty.updateGeometry();
    empty.getNormal(x, y, z);
    EXPECT_FALSE(std::isnan(z));
    EXPECT_EQ(0.0f, z);
}

// ---------------------------------------------------------------------------------------
// Visibility and drawing in the game's window (800 x 600 world units in view)

class GphShapesDraw : public ::testing::Test {
protected:
    void SetUp() override
    {
        _window = openWindow();
        ASSERT_NE(nullptr, _window);
    }

    void TearDown() override
    {
        if (_window == nullptr) return;
        EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
        delete _window;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    // A white light shining along -z, and lighting on.
    void lightFromFront()
    {
        const float position[4] = {0, 0, 1, 0};
        const float diffuse[4] = {1, 1, 1, 1};
        GphLight light(nullptr, GL_LIGHT0, position, nullptr, diffuse, nullptr, nullptr, -1, -1);
        ASSERT_EQ(0, light.draw());
        _window->enableLighting();
    }

    GphWindow* _window = nullptr;
};

TEST_F(GphShapesDraw, VisibilityTouchingTheViewEdgeCounts)
{
    // The view box is x in [-400, 400], y in [-300, 300].
    ShpCoord edge(400, 0, -10);
    ShpCoord beyond(400.5, 0, -10);
    EXPECT_TRUE(GphPoint(&edge, nullptr, nullptr).isVisible());
    EXPECT_FALSE(GphPoint(&beyond, nullptr, nullptr).isVisible());

    ShpCoord touching(450, -350, -10);
    ShpCoord apart(450.5, 0, -10);
    EXPECT_TRUE(GphCone(1, 50, 10, 8, 1, &touching, nullptr).isVisible());
    EXPECT_FALSE(GphCone(1, 50, 10, 8, 1, &apart, nullptr).isVisible());
    EXPECT_TRUE(GphDisk(50, 1, 8, 1, 0, 360, &touching, nullptr).isVisible());
    EXPECT_FALSE(GphDisk(50, 1, 8, 1, 0, 360, &apart, nullptr).isVisible());
    EXPECT_TRUE(GphSphere(50, 8, 8, &touching, nullptr).isVisible());
    EXPECT_FALSE(GphSphere(50, 8, 8, &apart, nullptr).isVisible());

    // Visibility follows the camera.
    _window->getCamera()->setPosition(ShpCoord(100, 0, 0));
    EXPECT_TRUE(GphSphere(50, 8, 8, &apart, nullptr).isVisible());

    GphLight light;
    EXPECT_TRUE(light.isVisible());
    light.deactivate();
    EXPECT_FALSE(light.isVisible());
}

TEST_F(GphShapesDraw, LitSphereCoversTheCentre)
{
    lightFromFront();
    ShpCoord at(0, 0, -500);
    GphSphere sphere(100, 24, 12, &at, nullptr);
    EXPECT_FALSE(isLit(pixelAt(400, 300)));
    EXPECT_EQ(0, sphere.draw());
    EXPECT_TRUE(isLit(pixelAt(400, 300)));
    EXPECT_TRUE(isLit(pixelAt(400 + 90, 300)));
    EXPECT_FALSE(isLit(pixelAt(400 + 110, 300)));

    // Translucent: blended while drawn, blending off again afterwards.
    glClear(GL_COLOR_BUFFER_BIT);
    sphere.setAlpha(0.5f);
    EXPECT_EQ(0, sphere.draw());
    EXPECT_TRUE(isLit(pixelAt(400, 300)));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(GphShapesDraw, LitConeSeenFromItsTip)
{
    lightFromFront();
    // Along the local z axis: seen from the camera, a disc with the tip in the middle.
    ShpCoord at(0, 0, -500);
    GphCone cone(0, 80, 60, 24, 4, &at, nullptr);
    EXPECT_EQ(0, cone.draw());
    EXPECT_TRUE(isLit(pixelAt(400, 300)));
    EXPECT_TRUE(isLit(pixelAt(400 - 70, 300)));
    EXPECT_FALSE(isLit(pixelAt(400 - 90, 300)));
}

TEST_F(GphShapesDraw, ConeTurnedOnItsSideShowsItsOrientation)
{
    lightFromFront();
    // Turned about x by -90 degrees its axis points up the screen: base at y 0, tip at 100.
    ShpCoord at(0, 0, -500);
    GphCone cone(0, 40, 100, 24, 4, &at, nullptr);
    cone.setOrientation(-90, 1, 0, 0);
    EXPECT_EQ(0, cone.draw());
    EXPECT_TRUE(isLit(pixelAt(400, 300 + 20)));
    EXPECT_FALSE(isLit(pixelAt(400, 300 - 20)));
}

TEST_F(GphShapesDraw, LitRingLeavesItsHoleAndShowsFromBothSides)
{
    lightFromFront();
    glColor4f(1, 1, 1, 1);
    ShpCoord at(0, 0, -500);
    GphDisk ring(100, 30, 32, 1, 0, 360, &at, nullptr);
    EXPECT_EQ(0, ring.draw());
    EXPECT_FALSE(isLit(pixelAt(400, 300)));
    EXPECT_TRUE(isLit(pixelAt(400 + 60, 300 + 10)));
    EXPECT_TRUE(isLit(pixelAt(400 - 60, 300 - 10)));
    EXPECT_FALSE(isLit(pixelAt(400 + 110, 300)));

    // Turned away from the camera it still shows (back faces are culled in the window).
    glClear(GL_COLOR_BUFFER_BIT);
    ring.setOrientation(180, 0, 1, 0);
    EXPECT_EQ(0, ring.draw());
    EXPECT_TRUE(isLit(pixelAt(400 + 60, 300 + 10)));
}

TEST_F(GphShapesDraw, HalfDiskCoversOnlyItsSweep)
{
    ShpCoord at(0, 0, -500);
    GphDisk half(100, 0, 16, 1, 0, 180, &at, nullptr);
    glColor4f(1, 1, 1, 1);
    EXPECT_EQ(0, half.draw());
    EXPECT_TRUE(isLit(pixelAt(400, 300 + 60)));
    EXPECT_FALSE(isLit(pixelAt(400, 300 - 60)));
}

TEST_F(GphShapesDraw, DiskSendsEachSegmentInBothWindings)
{
    ShpCoord at(0, 0, -500);
    GphDisk ring(100, 30, 6, 1, 0, 360, &at, nullptr);
    // With culling each pair of windings leaves one triangle, without it both arrive.
    EXPECT_EQ(2u * 6u, feedbackOf(ring).polygons.size());
    glDisable(GL_CULL_FACE);
    EXPECT_EQ(4u * 6u, feedbackOf(ring).polygons.size());
    glEnable(GL_CULL_FACE);
}

TEST_F(GphShapesDraw, DiskWithoutSlicesOrSweepDrawsNothingAndEnds)
{
    ShpCoord at(0, 0, -500);
    glDisable(GL_CULL_FACE);
    // {slices, sweep}: a negative count of slices used to make the segment loop endless.
    const int cases[][2] = {{0, 360}, {-3, 360}, {8, 0}, {8, -90}, {-8, -90}, {0, -90}};
    for (const auto& c : cases) {
        GphDisk disk(100, 30, c[0], 1, 0, c[1], &at, nullptr);
        EXPECT_EQ(0u, feedbackOf(disk).polygons.size()) << c[0] << " " << c[1];
    }
    glEnable(GL_CULL_FACE);
}

TEST_F(GphShapesDraw, PointIsASquareBelowAndLeftOfItsPosition)
{
    // 3000 units from the camera a plain point is 6 units (pixels here) on a side.
    ShpCoord at(0, 0, -3000);
    GphPoint point(&at, kRed, nullptr);
    EXPECT_EQ(0, point.draw());
    const auto inside = pixelAt(400 - 3, 300 - 3);
    EXPECT_GT(inside[0], 200);
    EXPECT_LT(inside[1], 50);
    EXPECT_FALSE(isLit(pixelAt(400 + 3, 300 + 3)));
    EXPECT_FALSE(isLit(pixelAt(400 - 9, 300 - 3)));
    // It switches lighting on when done, whatever it was before.
    EXPECT_TRUE(_window->isLightingEnabled());
}

TEST_F(GphShapesDraw, PointSizeGrowsWithDistanceAndTexture)
{
    GphAnimatedTexture texture;
    GphImage* image = GphImage::load("shapes_texture.bmp", false);
    ASSERT_NE(nullptr, image);
    texture.addFrame(new GphTexture(image, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT,
                                    GL_MODULATE));
    ShpCoord at(0, 0, -300);
    for (bool textured : {true, false}) {
        GphPoint point(&at, nullptr, textured ? &texture : nullptr);
        const Feedback drawn = feedbackOf(point);
        ASSERT_EQ(2u, drawn.polygons.size());
        float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
        for (const auto& polygon : drawn.polygons) {
            for (const auto& v : polygon) {
                minX = std::min(minX, v[0]);
                maxX = std::max(maxX, v[0]);
                minY = std::min(minY, v[1]);
                maxY = std::max(maxY, v[1]);
            }
        }
        const float side = textured ? 2.0f : 0.6f;
        EXPECT_NEAR(side, maxX - minX, 1e-3) << textured;
        EXPECT_NEAR(side, maxY - minY, 1e-3) << textured;
        EXPECT_NEAR(400.0f, maxX, 1e-3);
        EXPECT_NEAR(300.0f, maxY, 1e-3);
    }
}

TEST_F(GphShapesDraw, TexturedShapesDrawTheirPicture)
{
    lightFromFront();
    GphAnimatedTexture texture;
    GphImage* image = GphImage::load("shapes_texture.bmp", false);
    ASSERT_NE(nullptr, image);
    texture.addFrame(new GphTexture(image, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT,
                                    GL_MODULATE));
    ShpCoord at(0, 0, -500);
    GphSphere sphere(100, 16, 8, &at, &texture);
    EXPECT_EQ(0, sphere.draw());
    EXPECT_TRUE(isLit(pixelAt(400, 300)));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    // The ring's normal points away from the camera, so it shows its picture unlit.
    glClear(GL_COLOR_BUFFER_BIT);
    _window->disableLighting();
    GphDisk disk(100, 20, 16, 1, 0, 360, &at, &texture);
    EXPECT_EQ(0, disk.draw());
    int shown = 0;
    for (int i = 0; i < 8; ++i) {
        const double a = i * 3.14159265 / 4;
        const auto p = pixelAt(400 + static_cast<int>(60 * std::cos(a)),
                               300 + static_cast<int>(60 * std::sin(a)));
        if (p[0] + p[1] + p[2] > 0) ++shown;
    }
    EXPECT_GE(shown, 6);
    _window->enableLighting();

    glClear(GL_COLOR_BUFFER_BIT);
    GphCone cone(0, 100, 50, 16, 2, &at, &texture);
    EXPECT_EQ(0, cone.draw());
    EXPECT_TRUE(isLit(pixelAt(400 + 20, 300 + 5)));
}

TEST_F(GphShapesDraw, LightSetsItsPropertiesRelativeToItsPlace)
{
    ShpCoord at(10, 20, -30);
    const float position[4] = {1, 0, 0, 1};
    const float ambient[4] = {0.25f, 0.5f, 0.75f, 1};
    GphLight light(&at, GL_LIGHT1, position, ambient, nullptr, nullptr, nullptr, 3, 45);
    EXPECT_EQ(0, light.draw());
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    GLfloat value[4];
    glGetLightfv(GL_LIGHT1, GL_POSITION, value);
    EXPECT_FLOAT_EQ(11, value[0]);
    EXPECT_FLOAT_EQ(20, value[1]);
    EXPECT_FLOAT_EQ(-30, value[2]);
    glGetLightfv(GL_LIGHT1, GL_AMBIENT, value);
    EXPECT_FLOAT_EQ(0.5f, value[1]);
    glGetLightfv(GL_LIGHT1, GL_SPOT_CUTOFF, value);
    EXPECT_FLOAT_EQ(45, value[0]);
    glGetLightfv(GL_LIGHT1, GL_SPOT_EXPONENT, value);
    EXPECT_FLOAT_EQ(3, value[0]);

    // The camera's place is taken off.
    _window->getCamera()->setPosition(ShpCoord(5, 0, 0));
    EXPECT_EQ(0, light.draw());
    glGetLightfv(GL_LIGHT1, GL_POSITION, value);
    EXPECT_FLOAT_EQ(6, value[0]);
}

TEST_F(GphShapesDraw, LightSpotValuesBelowZeroLeaveOpenGlAlone)
{
    glLightf(GL_LIGHT1, GL_SPOT_CUTOFF, 60);
    glLightf(GL_LIGHT1, GL_SPOT_EXPONENT, 7);
    GphLight light(nullptr, GL_LIGHT1, nullptr, nullptr, nullptr, nullptr, nullptr, -1, -1);
    EXPECT_EQ(0, light.draw());
    GLfloat value[4];
    glGetLightfv(GL_LIGHT1, GL_SPOT_CUTOFF, value);
    EXPECT_FLOAT_EQ(60, value[0]);
    glGetLightfv(GL_LIGHT1, GL_SPOT_EXPONENT, value);
    EXPECT_FLOAT_EQ(7, value[0]);

    light.setSpotAngle(0);
    light.setSpotExponent(0);
    EXPECT_EQ(0, light.draw());
    glGetLightfv(GL_LIGHT1, GL_SPOT_CUTOFF, value);
    EXPECT_FLOAT_EQ(0, value[0]);
}

TEST_F(GphShapesDraw, InactiveLightIsSwitchedOff)
{
    GphLight light(nullptr, GL_LIGHT2, nullptr, nullptr, nullptr, nullptr, nullptr, -1, -1);
    EXPECT_EQ(0, light.draw());
    EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
    light.deactivate();
    EXPECT_EQ(0, light.draw());
    EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
}

TEST_F(GphShapesDraw, LightWithAnIdThatNamesNoLightFails)
{
    // The default id, 0, names no OpenGL light.
    GphLight light;
    EXPECT_EQ(-1, light.draw());
    EXPECT_TRUE(testsupport::logContains("ERROR! No OpenGL light has the id 0"));
    GLint lights = 0;
    glGetIntegerv(GL_MAX_LIGHTS, &lights);
    light.setId(GL_LIGHT0 + lights);
    EXPECT_EQ(-1, light.draw());
    light.deactivate();
    EXPECT_EQ(-1, light.draw());
}
