#include "Application/ScreenHost.h"

ScreenHost::~ScreenHost() = default;
