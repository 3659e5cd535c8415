#ifndef KOVO_TESTS_KOVO_PROPHARNESS_H
#define KOVO_TESTS_KOVO_PROPHARNESS_H

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Common/Barrier.h"
#include "Common/Map.h"
#include "KovoHarness.h"

// A room with the props' pictures in its image table, for building props as the room's
// reader does.
namespace proptest {

enum AnimationId {
    kDoorAnimation = 1,      // door_locked.pcx, door_open.pcx
    kPlatformAnimation = 2,  // platform.pcx, crate.pcx (two frames, to see it advance)
    kCrateAnimation = 3,     // crate.pcx
    kHammerAnimation = 4,    // hammer_head.pcx
    kSpikesAnimation = 5,    // spikes.pcx
    kMissingAnimation = 99
};

inline std::unique_ptr<Map> makeRoom(double gravity = 2000.0)
{
    std::unique_ptr<Map> room(new Map(nullptr, nullptr, nullptr));
    std::istringstream in("<GRAVITY> " + std::to_string(gravity) +
                          " </GRAVITY>"
                          " <ANIMATION> 1 100 2 door_locked.pcx door_open.pcx </ANIMATION>"
                          " <ANIMATION> 2 500 2 platform.pcx crate.pcx </ANIMATION>"
                          " <ANIMATION> 3 100 1 crate.pcx </ANIMATION>"
                          " <ANIMATION> 4 100 1 hammer_head.pcx </ANIMATION>"
                          " <ANIMATION> 5 100 1 spikes.pcx </ANIMATION>"
                          " </MAP>");
    EXPECT_EQ(0, room->read(in));
    return room;
}

// Reads a prop's level-file body into the prop with its own reader.
template <class Prop>
int readBody(Prop& prop, const std::string& body)
{
    std::istringstream in(body);
    return prop.read(in);
}

using kovotest::restore;
using kovotest::saved;

// "<FLOOR> <BARRIER> ... </BARRIER> </FLOOR>" style field around a barrier's edges.
inline std::string barrierField(const char* tag, double x1, double x2, double y1, double y2)
{
    std::ostringstream out;
    out << "<" << tag << "> <BARRIER> <EDGES> " << x1 << ' ' << x2 << ' ' << y1 << ' ' << y2
        << " </EDGES> </BARRIER> </" << tag << "> ";
    return out.str();
}

inline void expectPictureSize(const GphRect* picture, double alongX, double alongY)
{
    ASSERT_NE(nullptr, picture);
    EXPECT_DOUBLE_EQ(alongX, picture->getLength());
    EXPECT_DOUBLE_EQ(alongY, picture->getWidth());
}

}  // namespace proptest

#endif
