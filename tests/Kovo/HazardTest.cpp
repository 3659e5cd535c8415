#include "Kovo/Hazard.h"
#include "PropHarness.h"
#include "support/Files.h"

using namespace proptest;

namespace {

double rotation(const Hazard& hazard, double* axisZ = nullptr)
{
    double angle, x, y, z;
    hazard.getPicture()->getRotation(angle, x, y, z);
    if (axisZ) *axisZ = z;
    return angle;
}

}  // namespace

TEST(HazardTest, ReadsItsBlockAndTurnsAtItsRotationSpeed)
{
    auto room = makeRoom();
    Hazard saw(room.get());
    ASSERT_EQ(0, readBody(saw, "<ANIMATION> 5 </ANIMATION> <LOCATION> 40 -30 60 20 </LOCATION> "
                               "<ROTATION> 90 </ROTATION> </HAZARD>"));
    EXPECT_DOUBLE_EQ(40, saw.getX());
    EXPECT_DOUBLE_EQ(-201, saw.getZ());
    EXPECT_DOUBLE_EQ(-20, saw.getTop());
    EXPECT_FLOAT_EQ(90, saw.getRotationSpeed());
    expectPictureSize(saw.getPicture(), 60, 20);
    EXPECT_EQ(saw.getPicture(), saw.getGraphic());

    double axisZ = 0;
    for (int i = 0; i < 50; ++i) saw.update(20, 0.02);
    EXPECT_NEAR(90, rotation(saw, &axisZ), 1e-6);
    EXPECT_EQ(1, axisZ);
    // The sprite itself stays where it is.
    EXPECT_DOUBLE_EQ(40, saw.getX());
    EXPECT_DOUBLE_EQ(-30, saw.getY());

    Hazard spikes(room.get());
    ASSERT_EQ(0, readBody(spikes, "<ANIMATION> 5 </ANIMATION> </HAZARD>"));
    spikes.update(1000, 1.0);
    EXPECT_EQ(0, rotation(spikes));

    Hazard bare(room.get());
    ASSERT_EQ(0, readBody(bare, "<ROTATION> 45 </ROTATION> </HAZARD>"));
    bare.update(1000, 1.0);
    EXPECT_EQ(nullptr, bare.getGraphic());
}

TEST(HazardTest, ReadFailuresAndTheRestoredPictureSize)
{
    auto room = makeRoom();
    Hazard unknown(room.get());
    EXPECT_EQ(-1, readBody(unknown, "<ID> 1 </ID> </HAZARD>"));
    EXPECT_TRUE(testsupport::logContains("Unknown tag: <ID>"));
    Hazard missing(room.get());
    EXPECT_EQ(-1, readBody(missing, "<ANIMATION> 99 </ANIMATION> </HAZARD>"));
    EXPECT_TRUE(testsupport::logContains("Failed to retrieve animation"));

    const std::string body =
        "<ANIMATION> 5 </ANIMATION> <LOCATION> 40 -30 60 20 </LOCATION> <ROTATION> 9.5 </ROTATION> "
        "</HAZARD>";
    for (size_t n = 0; n < body.size(); ++n) {
        Hazard cut(room.get());
        EXPECT_EQ(-1, readBody(cut, body.substr(0, n))) << body.substr(0, n);
    }

    Hazard saw(room.get());
    ASSERT_EQ(0, readBody(saw, body));
    ASSERT_EQ(0, restore(saw, "<SPRITE> 10 20 -201 20 60 1 </SPRITE>"));
    EXPECT_EQ(ShpCoord(10, 20, -201), *saw.getPicture()->getCoord());
    expectPictureSize(saw.getPicture(), 60, 20);
    EXPECT_EQ(-1, restore(saw, "<SPRITE> 10 20 -201 20 60"));
}
