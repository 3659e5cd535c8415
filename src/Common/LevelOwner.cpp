#include "Common/LevelOwner.h"

LevelOwner::~LevelOwner() = default;
