#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Gph/GphViewportPerspective.h"
#include "Base/Shp/ShpCoord.h"
#include "support/GlContext.h"

namespace {

// A plain GL window with a camera that the viewports follow.
class ViewportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gl.ok());
        GphViewport::setCamera(&camera);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glDisable(GL_TEXTURE_2D);
        glClearColor(0, 0, 0, 1);
    }
    void TearDown() override { GphViewport::setCamera(nullptr); }

    // Draws a white square of 2 by 2 world units centred on (wx, wy) at depth z, placed
    // the way every drawable places itself: relative to the camera.
    void drawMarker(double wx, double wy, double z)
    {
        const ShpCoord* c = camera.getPosition();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(static_cast<float>(wx - c->getX()), static_cast<float>(wy - c->getY()),
                     static_cast<float>(z - c->getZ()));
        glColor3f(1, 1, 1);
        glBegin(GL_QUADS);
        glVertex3f(-1, -1, 0);
        glVertex3f(1, -1, 0);
        glVertex3f(1, 1, 0);
        glVertex3f(-1, 1, 0);
        glEnd();
    }

    static bool lit(int px, int py) { return testsupport::readPixel(px, py)[0] > 200; }

    testsupport::GlContext gl;
    GphCamera camera;
};

}  // namespace

TEST_F(ViewportTest, GameZoomShowsOneWorldUnitPerPixel)
{
    GphViewportOrthogonal viewport(0, 0, 800, 600, 1, 10000, 400);
    camera.setViewport(&viewport);
    EXPECT_EQ(-400.0, viewport.getLeft());
    EXPECT_EQ(400.0, viewport.getRight());
    EXPECT_EQ(300.0, viewport.getTop());
    EXPECT_EQ(-300.0, viewport.getBottom());

    glClear(GL_COLOR_BUFFER_BIT);
    drawMarker(100, 50, -41);
    EXPECT_TRUE(lit(500, 350));
    EXPECT_FALSE(lit(504, 350));
    EXPECT_FALSE(lit(500, 354));

    // The same world point seen from a camera moved to (200, -100) lands 200 pixels
    // further left and 100 higher.
    camera.setPosition(ShpCoord(200, -100, 0));
    glClear(GL_COLOR_BUFFER_BIT);
    drawMarker(100, 50, -41);
    EXPECT_TRUE(lit(300, 450));
    EXPECT_FALSE(lit(500, 350));

    // Depths between the near and the far plane are drawn, beyond them not.
    camera.setPosition(ShpCoord(0, 0, 0));
    glClear(GL_COLOR_BUFFER_BIT);
    drawMarker(0, 0, -9999);
    EXPECT_TRUE(lit(400, 300));
    glClear(GL_COLOR_BUFFER_BIT);
    drawMarker(0, 0, -10001);
    EXPECT_FALSE(lit(400, 300));
    glClear(GL_COLOR_BUFFER_BIT);
    drawMarker(0, 0, -0.5);
    EXPECT_FALSE(lit(400, 300));
    camera.setViewport(nullptr);
}

TEST_F(ViewportTest, MenuZoomShows1024By768Units)
{
    GphViewportOrthogonal viewport(0, 0, 800, 600, 1, 10000, 512);
    camera.setViewport(&viewport);
    EXPECT_EQ(1024.0, viewport.getRight() - viewport.getLeft());
    EXPECT_EQ(768.0, viewport.getTop() - viewport.getBottom());

    // 512 units to the window's edge: (256, 192) is a quarter of the window from the centre.
    glClear(GL_COLOR_BUFFER_BIT);
    drawMarker(256, 192, -10);
    drawMarker(-512 + 4, -384 + 4, -10);
    EXPECT_TRUE(lit(600, 450));
    EXPECT_TRUE(lit(3, 3));

    // The projection itself: x scaled by 1 / 512, y by 1 / 384.
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(1.0 / 512, m[0], 1e-9);
    EXPECT_NEAR(1.0 / 384, m[5], 1e-9);

    // Switching to the game's zoom re-applies the projection and the bounds at once.
    viewport.setZoom(400);
    EXPECT_EQ(400.0, viewport.getZoom());
    EXPECT_EQ(-300.0, viewport.getBottom());
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(1.0 / 400, m[0], 1e-9);
    camera.setViewport(nullptr);
}

TEST_F(ViewportTest, OrthogonalShapeFollowsTheLongerSide)
{
    // A tall window: the zoom spans the height, the width gets its share.
    GphViewportOrthogonal tall(0, 0, 300, 600, 1, 100, 200);
    EXPECT_EQ(-100.0, tall.getLeft());
    EXPECT_EQ(100.0, tall.getRight());
    EXPECT_EQ(200.0, tall.getTop());
    EXPECT_EQ(-200.0, tall.getBottom());
    EXPECT_DOUBLE_EQ(0.5, tall.getAspect());

    GphViewportOrthogonal wide(0, 0, 800, 600, 1, 100, 400);
    EXPECT_DOUBLE_EQ(0.75, wide.getAspect());

    // A new rectangle changes the pixels covered and the shape of the view.
    wide.setRect(0, 0, 600, 800);
    int x, y, w, h;
    wide.getRect(x, y, w, h);
    EXPECT_EQ(600, w);
    EXPECT_EQ(800, h);
    EXPECT_EQ(400.0, wide.getTop());
    EXPECT_EQ(-300.0, wide.getLeft());
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(600, vp[2]);
    EXPECT_EQ(800, vp[3]);

    wide.setNear(2);
    wide.setFar(50);
    EXPECT_EQ(2.0, wide.getNear());
    EXPECT_EQ(50.0, wide.getFar());
}

TEST_F(ViewportTest, PerspectiveProjectsAndBoundsTheFarPlane)
{
    GphViewportPerspective viewport(0, 0, 800, 600, 1, 10000, 45);
    camera.setViewport(&viewport);
    // Bounds come with the camera's first move.
    EXPECT_EQ(0.0, viewport.getLeft());
    camera.move(10.9, -3.5, 0);
    const double h = std::tan(45.0 * M_PI / 360.0) * 10000;
    EXPECT_DOUBLE_EQ(10 + h * 800 / 600, viewport.getRight());
    EXPECT_DOUBLE_EQ(-3 - h, viewport.getBottom());
    EXPECT_DOUBLE_EQ(800.0 / 600, viewport.getAspect());

    // A point on the upper edge of the field of view at depth 100 lands on the window's
    // top row; the view's centre on the centre.
    camera.setPosition(ShpCoord(0, 0, 0));
    const double edge = std::tan(45.0 * M_PI / 360.0) * 100;
    glClear(GL_COLOR_BUFFER_BIT);
    drawMarker(0, 0, -100);
    drawMarker(0, edge - 0.5, -100);
    EXPECT_TRUE(lit(400, 300));
    EXPECT_TRUE(lit(400, 598));

    viewport.setFovy(90);
    EXPECT_EQ(90.0, viewport.getFovy());
    EXPECT_NEAR(10000.0, viewport.getTop(), 1e-6);
    camera.setViewport(nullptr);
}
