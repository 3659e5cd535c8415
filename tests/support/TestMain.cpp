#include <gtest/gtest.h>

#include "support/GlContext.h"

// The entry point of every test program.
int main(int argc, char** argv)
{
    testsupport::keepGlDriverLoaded();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
