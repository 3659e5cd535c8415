#include "Application/PageOwner.h"

PageOwner::~PageOwner() = default;
