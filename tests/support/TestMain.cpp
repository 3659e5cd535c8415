#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include "support/GlContext.h"

namespace {

// Test programs run side by side on one display, each window at its top-left corner. The
// display's pointer is parked in the far corner, outside every window, so that a window
// appearing under it sends no pointer motion of its own into a test's pushed events.
void parkPointer()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    const int screen = DefaultScreen(display);
    XWarpPointer(display, None, RootWindow(display, screen), 0, 0, 0, 0,
                 DisplayWidth(display, screen) - 1, DisplayHeight(display, screen) - 1);
    XSync(display, False);
    XCloseDisplay(display);
}

}  // namespace

// The entry point of every test program.
int main(int argc, char** argv)
{
    testsupport::keepGlDriverLoaded();
    parkPointer();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
