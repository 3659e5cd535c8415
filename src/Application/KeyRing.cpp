#include "Application/KeyRing.h"

KeyRing::~KeyRing() = default;
