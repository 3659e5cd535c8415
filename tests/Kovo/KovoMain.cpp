#include "KovoHarness.h"

static ::testing::Environment* const kovoEnvironment =
    ::testing::AddGlobalTestEnvironment(new kovotest::KovoEnvironment());
