#include <gtest/gtest.h>

#include <GL/gl.h>

#include "support/GlContext.h"

// Guards the test machinery itself: an OpenGL window opens under the test display and
// what is cleared into the back buffer reads back.
TEST(TestDisplay, OpensGlWindowAndReadsPixelsBack)
{
    testsupport::GlContext gl;
    ASSERT_TRUE(gl.ok());
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    auto p = testsupport::readPixel(10, 10);
    EXPECT_EQ(255, p[0]);
    EXPECT_EQ(0, p[1]);
    EXPECT_EQ(0, p[2]);
}
