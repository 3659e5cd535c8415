#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphBillboard.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphCone.h"
#include "Base/Gph/GphDisk.h"
#include "Base/Gph/GphLight.h"
#include "Base/Gph/GphObject.h"
#include "Base/Gph/GphPoint.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphSphere.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Gph/GphViewportPerspective.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/Sprite.h"
#include "GphDrawTestSupport.h"
#include "support/Files.h"

namespace {

// A particle of the game's kind: a rectangle subclass without a code of its own.
class Flake : public GphRect {
public:
    Flake() : GphRect(4, 4, nullptr, nullptr, GPH_RECT) {}
};

std::string written(GphObject& object)
{
    std::ostringstream out;
    EXPECT_EQ(0, object.write(out));
    return out.str();
}

// Reads a block back after taking its opening tag, as a caller does.
int readBack(GphObject& object, std::istream& in, const std::string& opening)
{
    std::string tag;
    in >> tag;
    EXPECT_EQ(opening, tag);
    return object.read(in);
}

}  // namespace

TEST(GphObjectFields, AlphaIsClampedBySetterButNotByText)
{
    GphRect r;
    r.setAlpha(1.5f);
    EXPECT_EQ(1.0f, r.getAlpha());
    r.setAlpha(-0.2f);
    EXPECT_EQ(0.0f, r.getAlpha());
    r.setAlpha(0.25f);
    EXPECT_EQ(0.25f, r.getAlpha());
    std::istringstream in("<ALPHA> 1.5 </ALPHA> </BASE_GRAPHIC>");
    EXPECT_EQ(0, r.GphObject::read(in));
    EXPECT_EQ(1.5f, r.getAlpha());
}

TEST(GphObjectFields, RotationsAddUpAndCallTheGeometryHook)
{
    GphRect r(10, 20, nullptr, nullptr, GPH_RECT);
    r.setOrientation(30, 0, 0, 1);
    r.rotate(15);
    r.rotate(10);
    r.setRotationAxis(0, 1, 0);
    double angle, x, y, z;
    r.getOrientation(angle, x, y, z);
    EXPECT_EQ(30, angle);
    EXPECT_EQ(1, z);
    r.getRotation(angle, x, y, z);
    EXPECT_EQ(25, angle);
    EXPECT_EQ(1, y);
    float nx, ny, nz;
    r.getNormal(nx, ny, nz);
    EXPECT_EQ(1.0f, nz);
}

TEST(GphObjectText, RectangleRoundTripWithoutTexture)
{
    ShpCoord at(12.5, -40, -30);
    GphRect source(30, 60, &at, nullptr, GPH_RECT);
    source.setOrientation(45, 0, 0, 1);
    source.rotate(-90);
    source.setRotationAxis(1, 0, 0);
    source.setAlpha(0.75f);
    const std::string text = written(source);
    EXPECT_EQ(std::string::npos, text.find("<ANIMATED_TEXTURE>"));
    EXPECT_EQ(0u, text.find("<RECT>\n<LENGTH>\n30\n</LENGTH>\n<WIDTH>\n60\n</WIDTH>\n<BASE_GRAPHIC>\n"));
    EXPECT_NE(std::string::npos, text.find("<ALPHA>\n0.75\n</ALPHA>\n<COORD>\n"));
    EXPECT_EQ(text.size() - 24, text.rfind("</BASE_GRAPHIC>\n</RECT>\n"));

    std::istringstream in(text);
    GphRect copy;
    EXPECT_EQ(0, readBack(copy, in, "<RECT>"));
    EXPECT_EQ(30, copy.getLength());
    EXPECT_EQ(60, copy.getWidth());
    EXPECT_EQ(at, *copy.getCoord());
    EXPECT_EQ(0.75f, copy.getAlpha());
    double angle, x, y, z;
    copy.getOrientation(angle, x, y, z);
    EXPECT_EQ(45, angle);
    EXPECT_EQ(1, z);
    copy.getRotation(angle, x, y, z);
    EXPECT_EQ(-90, angle);
    EXPECT_EQ(1, x);
    EXPECT_EQ(written(source), written(copy));
}

TEST(GphObjectText, RectangleLengthSetsItsHalf)
{
    GphRect r;
    std::istringstream in("<LENGTH> 30 </LENGTH> </RECT>");
    EXPECT_EQ(0, r.read(in));
    EXPECT_EQ(30, r.getLength());
    EXPECT_EQ(15, r.getHalfLength());
    std::istringstream width("<WIDTH> 9 </WIDTH> </RECT>");
    EXPECT_EQ(0, r.read(width));
    EXPECT_EQ(4.5, r.getHalfWidth());
    r.setLength(8);
    EXPECT_EQ(4, r.getHalfLength());
}

TEST(GphObjectText, BillboardRoundTrip)
{
    GphBillboard source(-300, 250, 160, 80, -8, nullptr);
    source.hide();
    const std::string text = written(source);
    EXPECT_EQ(0u, text.find("<BILLBOARD>\n<SHOWN>\n0\n</SHOWN>\n<DISTANCE_FROM_CAMERA>\n-8\n"
                            "</DISTANCE_FROM_CAMERA>\n<RECT>\n"));
    std::istringstream in(text);
    GphBillboard copy;
    EXPECT_EQ(0, readBack(copy, in, "<BILLBOARD>"));
    EXPECT_FALSE(copy.isShown());
    EXPECT_EQ(-8, copy.getDistanceFromCamera());
    EXPECT_EQ(160, copy.getLength());
    EXPECT_EQ(80, copy.getWidth());
    EXPECT_EQ(GPH_BILLBOARD, copy.getType());
}

TEST(GphObjectText, UnknownTagFailsAfterTakingOneMoreToken)
{
    GphRect r;
    std::istringstream in("<ANGLE> 5 </ANGLE> <SIZE> 7 </SIZE> <ALPHA> 0.5 </ALPHA> </BASE_GRAPHIC> after");
    EXPECT_EQ(-1, r.GphObject::read(in));
    EXPECT_TRUE(testsupport::logContains("Unknown tag: <SIZE>"));
    double angle, x, y, z;
    r.getRotation(angle, x, y, z);
    EXPECT_EQ(5, angle);  // read before the failure: kept
    EXPECT_EQ(1.0f, r.getAlpha());
    std::string next;
    in >> next;
    EXPECT_EQ("</SIZE>", next);

    std::istringstream nested("<LENGTH> 4 </LENGTH> <BASE_GRAPHIC> <COORD> <W> 1 </W> </COORD> </BASE_GRAPHIC> </RECT>");
    EXPECT_EQ(-1, r.read(nested));
    EXPECT_TRUE(testsupport::logContains("Unknown tag: <W>"));
}

TEST(GphObjectText, StreamEndingBeforeTheClosingTagFails)
{
    const char* texts[] = {
        "",
        "<ALPHA> 0.5 </ALPHA>",
        "<ANGLE> 5",
        "<ANGLE>",
        "<ORIENT_X> x </ORIENT_X> </BASE_GRAPHIC>",
        "<COORD> <X> 1 </X>",
        "<ANIMATED_TEXTURE> <CURRENT_FRAME> 1 </CURRENT_FRAME>",
    };
    for (const char* text : texts) {
        GphRect r;
        std::istringstream in(text);
        EXPECT_EQ(-1, r.GphObject::read(in)) << text;
    }
    for (const char* text : {"<LENGTH> 3 </LENGTH>", "<WIDTH>", "<BASE_GRAPHIC> </BASE_GRAPHIC>"}) {
        GphRect r;
        std::istringstream in(text);
        EXPECT_EQ(-1, r.read(in)) << text;
    }
    for (const char* text : {"<SHOWN> 1 </SHOWN>", "<RECT> </RECT>", "<DISTANCE_FROM_CAMERA> 3"}) {
        GphBillboard b;
        std::istringstream in(text);
        EXPECT_EQ(-1, b.read(in)) << text;
    }
}

TEST(GphObjectText, TextureBlockWithoutATextureIsPassedOver)
{
    GphRect r;
    std::istringstream in(
        "<ANIMATED_TEXTURE> <CURRENT_FRAME> 1 </CURRENT_FRAME> <FRAME> <TEXTURE> <MODE> 8449 </MODE> "
        "</TEXTURE> </FRAME> </ANIMATED_TEXTURE> <ALPHA> 0.5 </ALPHA> </BASE_GRAPHIC>");
    EXPECT_EQ(0, r.GphObject::read(in));
    EXPECT_EQ(nullptr, r.getAnimatedTexture());
    EXPECT_EQ(0.5f, r.getAlpha());
}

TEST(GphObjectText, TextureBlockGoesToTheObjectsTexture)
{
    GphAnimatedTexture look;
    GphRect r(1, 1, nullptr, &look, GPH_RECT);
    std::istringstream in(
        "<ANIMATED_TEXTURE> <MILLISECONDS_PER_FRAME> 40 </MILLISECONDS_PER_FRAME> </ANIMATED_TEXTURE> "
        "</BASE_GRAPHIC>");
    EXPECT_EQ(0, r.GphObject::read(in));
    EXPECT_EQ(40u, look.getMillisecondsPerFrame());
    // A texture without frames is written as its block.
    EXPECT_NE(std::string::npos, written(r).find("<ANIMATED_TEXTURE>\n<CURRENT_FRAME>\n0\n"));
}

TEST(GphObjectCopy, FactoryBuildsTheClassOfTheCode)
{
    GphAnimatedTexture look;
    ShpCoord at(3, 4, -5);
    GphRect rect(20, 10, &at, &look, GPH_RECT);
    rect.setColor(0.5f, 0.25f, 1);
    GphObject* copy = rect.clone();
    ASSERT_NE(nullptr, copy);
    GphRect* asRect = dynamic_cast<GphRect*>(copy);
    ASSERT_NE(nullptr, asRect);
    EXPECT_EQ(nullptr, dynamic_cast<GphBillboard*>(copy));
    EXPECT_EQ(&look, copy->getAnimatedTexture());
    EXPECT_EQ(20, asRect->getLength());
    EXPECT_EQ(at, *copy->getCoord());
    EXPECT_NE(rect.getCoord(), copy->getCoord());
    float red, green, blue;
    asRect->getColor(red, green, blue);
    EXPECT_EQ(0.25f, green);
    delete copy;

    GphBillboard board(1, 2, 3, 4, 5, nullptr);
    GphObject* boardCopy = board.clone();
    GphBillboard* asBoard = dynamic_cast<GphBillboard*>(boardCopy);
    ASSERT_NE(nullptr, asBoard);
    double ox, oy;
    asBoard->getOffset(ox, oy);
    EXPECT_EQ(2, oy);
    EXPECT_EQ(5, asBoard->getDistanceFromCamera());
    delete boardCopy;

    // A particle comes back as a plain rectangle.
    Flake flake;
    GphObject* flakeCopy = flake.clone();
    EXPECT_EQ(nullptr, dynamic_cast<Flake*>(flakeCopy));
    EXPECT_NE(nullptr, dynamic_cast<GphRect*>(flakeCopy));
    delete flakeCopy;
}

TEST(GphObjectCopy, FactoryKnowsTheLatentShapes)
{
    GphPoint point;
    GphCone cone;
    GphDisk disk;
    GphSphere sphere;
    GphLight light;
    GphObject* copies[] = {point.clone(), cone.clone(), disk.clone(), sphere.clone(), light.clone()};
    EXPECT_NE(nullptr, dynamic_cast<GphPoint*>(copies[0]));
    EXPECT_NE(nullptr, dynamic_cast<GphCone*>(copies[1]));
    EXPECT_NE(nullptr, dynamic_cast<GphDisk*>(copies[2]));
    EXPECT_NE(nullptr, dynamic_cast<GphSphere*>(copies[3]));
    EXPECT_NE(nullptr, dynamic_cast<GphLight*>(copies[4]));
    for (GphObject* copy : copies) delete copy;
}

TEST(GphObjectCopy, CodesWithoutAClassGiveNull)
{
    const size_t before = testsupport::logMessages().size();
    GphRect reserved(GPH_RESERVED);
    EXPECT_EQ(nullptr, reserved.clone());
    EXPECT_EQ(before, testsupport::logMessages().size());

    GphRect none(GPH_NO_TYPE);
    EXPECT_EQ(nullptr, none.clone());
    EXPECT_TRUE(testsupport::logContains("ERROR! Unsupported object type!"));
    GphRect high(9);
    EXPECT_EQ(nullptr, high.clone());

    // A rectangle carrying the billboard's code is no billboard: it is not copied as one.
    GphRect misnamed(1, 1, nullptr, nullptr, GPH_BILLBOARD);
    const size_t beforeMisnamed = testsupport::logMessages().size();
    EXPECT_EQ(nullptr, misnamed.clone());
    EXPECT_EQ(beforeMisnamed + 1, testsupport::logMessages().size());
}

TEST(GphObjectCopy, CopySharesTheAnimation)
{
    GphAnimatedTexture look;
    look.addFrame(new GphTexture(nullptr, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, GL_MODULATE));
    look.addFrame(new GphTexture(nullptr, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, GL_MODULATE));
    look.setMillisecondsPerFrame(10);
    GphRect a(1, 1, nullptr, &look, GPH_RECT);
    GphRect b(a);
    GphAnimatedTexture::advance(b.getAnimatedTexture(), 10);
    EXPECT_EQ(1u, a.getAnimatedTexture()->getCurrentFrame());
    GphRect c;
    c = a;
    EXPECT_EQ(&look, c.getAnimatedTexture());
    EXPECT_EQ(GPH_RECT, c.getType());
}

// Visibility runs against the window's camera and its view.
class GphObjectVisibility : public ::testing::Test {
protected:
    static void TearDownTestSuite() { gphdraw::closeWindow(); }

    void SetUp() override
    {
        window = gphdraw::openWindow();
        ASSERT_NE(nullptr, window);
        ASSERT_EQ(window->getCamera(), GphObject::getCamera());
        viewport = dynamic_cast<GphViewportOrthogonal*>(window->getViewport());
        ASSERT_NE(nullptr, viewport);
    }

    void TearDown() override
    {
        if (viewport) viewport->setZoom(400);
        if (window) window->getCamera()->setPosition(ShpCoord(0, 0, 0));
    }

    GphWindow* window = nullptr;
    GphViewportOrthogonal* viewport = nullptr;
};

TEST_F(GphObjectVisibility, ViewExtentComesFromTheZoom)
{
    ShpCoord at(0, 0, -10);
    GphRect r(10, 10, &at, nullptr, GPH_RECT);
    EXPECT_EQ(800, r.getViewWidth());
    EXPECT_EQ(600, r.getViewHeight());
    EXPECT_EQ(300, r.getHalfViewHeight());
    viewport->setZoom(512);
    // Cached: only the recomputing operations see the new zoom.
    EXPECT_EQ(800, r.getViewWidth());
    r.move(5, 5, 0);
    r.move(0, 0, -1);
    EXPECT_EQ(800, r.getViewWidth());
    r.move(0, 0, 1);
    EXPECT_EQ(1024, r.getViewWidth());
    EXPECT_EQ(768, r.getViewHeight());
    viewport->setZoom(400);
    r.setCoord(ShpCoord(0, 0, -10));
    EXPECT_EQ(800, r.getViewWidth());
}

TEST_F(GphObjectVisibility, PerspectiveViewExtentGrowsWithTheDistance)
{
    GphCamera camera;
    GphViewportPerspective perspective(0, 0, 800, 600, 1, 10000, 90);
    camera.setViewport(&perspective);
    camera.getPosition()->setZ(50);
    GphObject::setCamera(&camera);
    ShpCoord at(0, 0, -50);
    GphRect r(10, 10, &at, nullptr, GPH_RECT);
    // 100 units in front of a camera with a 90 degree field of view: 200 high, 4:3 wide.
    EXPECT_NEAR(200, r.getViewHeight(), 1e-9);
    EXPECT_NEAR(800.0 / 3.0, r.getViewWidth(), 1e-9);
    r.move(0, 0, 50);
    EXPECT_NEAR(100, r.getViewHeight(), 1e-9);
    GphObject::setCamera(window->getCamera());
    window->getViewport()->apply();
}

TEST_F(GphObjectVisibility, RectangleTouchingTheViewEdgeIsVisible)
{
    ShpCoord at(450, 0, -10);
    GphRect r(100, 40, &at, nullptr, GPH_RECT);  // left edge at 400, the view's right edge
    EXPECT_TRUE(r.isVisible());
    r.move(0.01, 0, 0);
    EXPECT_FALSE(r.isVisible());
    r.setCoord(ShpCoord(0, -320, -10));  // top edge at -300, the view's bottom edge
    EXPECT_TRUE(r.isVisible());
    r.move(0, -0.01, 0);
    EXPECT_FALSE(r.isVisible());
    // The camera moves, the view follows it.
    window->getCamera()->move(0, -100, 0);
    EXPECT_TRUE(r.isVisible());
    window->getCamera()->setPosition(ShpCoord(-1000, 0, 0));
    r.setCoord(ShpCoord(-1000, 0, -500));
    EXPECT_TRUE(r.isVisible());
}

TEST_F(GphObjectVisibility, ObjectWithoutCoordinateSeesOnlyTheCameraPoint)
{
    GphRect r(100, 100, nullptr, nullptr, GPH_RECT);
    EXPECT_EQ(0, r.getViewWidth());
    EXPECT_TRUE(r.isVisible());  // the camera at the origin lies in the box
    window->getCamera()->setPosition(ShpCoord(50, 50, 0));
    EXPECT_TRUE(r.isVisible());  // on the corner
    window->getCamera()->setPosition(ShpCoord(51, 0, 0));
    EXPECT_FALSE(r.isVisible());
}

TEST_F(GphObjectVisibility, BillboardIsVisibleWhileShown)
{
    GphBillboard b(-300, 250, 160, 80, -8, nullptr);
    window->getCamera()->setPosition(ShpCoord(99999, -5000, 0));
    EXPECT_TRUE(b.isVisible());
    b.hide();
    EXPECT_FALSE(b.isVisible());
    b.show();
    EXPECT_TRUE(b.isVisible());
}

TEST_F(GphObjectVisibility, SpriteIsOnScreenThroughItsGraphic)
{
    GphRect rect;
    Sprite s;
    EXPECT_FALSE(s.isOnScreen());
    s.setGraphic(&rect);
    s.setAnchor(8);
    s.setSize(40, 40);
    s.setPosition(0, 300, -10);  // the box stands on the view's top edge
    EXPECT_TRUE(s.isOnScreen());
    s.move(0, 1, 0);
    EXPECT_FALSE(s.isOnScreen());
}
