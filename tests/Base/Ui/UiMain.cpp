#include "UiHarness.h"

// The controls with a sound device (OpenAL's silent one under the test runner).
static ::testing::Environment* const uiEnvironment =
    ::testing::AddGlobalTestEnvironment(new uitest::UiEnvironment(true));
