#ifndef KOVO_KOVO_PLAYERINTERNAL_H
#define KOVO_KOVO_PLAYERINTERNAL_H

// What the hero's source files share and nobody else sees: the throw speeds, read by the
// charge, the launcher press and the throw meter.

#include "Common/GameConstants.h"

namespace PlayerInternal {

// A hand throw leaves at 210 across at least and builds up to 630 across and up.
const double minThrowSpeed = GameConstants::walkSpeed;
const double throwSpeedRange = GameConstants::projectileSpeed;
const double maxThrowSpeed = GameConstants::jumpSpeed;

}  // namespace PlayerInternal

#endif
