#ifndef KOVO_COMMON_MAPINTERNAL_H
#define KOVO_COMMON_MAPINTERNAL_H

// What the room's source files share and nobody else sees: tuning numbers read by more
// than one part of the frame step and small helpers over its lists and barriers.

#include <istream>
#include <list>
#include <new>
#include <string>
#include <utility>

#include "Base/App/Platform.h"
#include "Base/App/TaggedText.h"
#include "Common/Barrier.h"
#include "Kovo/Character.h"

namespace MapInternal {

// The view is 800 by 600 units; the camera centre keeps half of it inside the room.
const double kHalfViewWidth = 400.0;
const double kHalfViewHeight = 300.0;

// An obstacle stands with its bottom this far below the surface that holds it.
const double kObstacleFoot = 10.0;

// A hint panel stands this far above a head (or below the feet), and is this high by half.
const double kHintPanelLift = 105.0;
const double kHintPanelHalfHeight = 100.0;

// Allocation that takes the program's one fatal path when memory runs out.
template <class T, class... Args>
inline T* make(Args&&... args)
{
    T* made = new (std::nothrow) T(std::forward<Args>(args)...);
    if (!made) KOVO_NEW_FAILED();
    return made;
}

template <class T>
inline void deleteAll(std::list<T*>& list)
{
    for (T* object : list) delete object;
    list.clear();
}

inline bool readClosing(std::istream& in)
{
    std::string closing;
    return TaggedText::readToken(in, closing);
}

// Feet within the floor's band and p over its span.
inline bool standsIn(const Barrier* floor, double p, double bottom)
{
    return floor->getY2() <= bottom && bottom <= floor->getY1() && floor->getX1() <= p &&
           p <= floor->getX2();
}

// A box's height against a barrier's band, strictly.
inline bool overlapsVertically(const Barrier* b, double top, double bottom)
{
    return bottom < b->getY1() && b->getY2() < top;
}

inline bool isAwake(const Character* c)
{
    return !c->isIncapacitated() && !c->isAsleep();
}

}  // namespace MapInternal

#endif
