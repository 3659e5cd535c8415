#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "Common/Barrier.h"
#include "LevelTestWindow.h"
#include "support/Files.h"

namespace {

// Reads a barrier body the way the room reader hands it over: opening tag already taken.
int readBody(Barrier& barrier, const std::string& body)
{
    std::istringstream in(body);
    return barrier.read(in);
}

}  // namespace

TEST(Barrier, FreshBarrierHasItsDefaults)
{
    Barrier b;
    EXPECT_EQ(-1, b.getX1());
    EXPECT_EQ(-1, b.getX2());
    EXPECT_EQ(-1, b.getY1());
    EXPECT_EQ(-1, b.getY2());
    EXPECT_FALSE(b.isSlippery());
    EXPECT_FALSE(b.isConveyor());
    EXPECT_EQ(0, b.getConveyorSpeed());
    EXPECT_EQ(0, b.getSlope());
    EXPECT_EQ(0, b.getOffset());
    EXPECT_EQ(0, b.getLastMoveX());
    EXPECT_EQ(0, b.getLastMoveY());
}

TEST(Barrier, ReadsEveryField)
{
    Barrier b;
    ASSERT_EQ(0, readBody(b, "<EDGES> 10 410 140.5 -20 </EDGES>\n"
                             "<SLOPE> 0.25 </SLOPE> <OFFSET> 40 </OFFSET>\n"
                             "<SLIPPERY> 1 </SLIPPERY> <CONVEYOR> 1 -35.5 </CONVEYOR>\n"
                             "</BARRIER> <NEXT>"));
    EXPECT_EQ(10, b.getX1());
    EXPECT_EQ(410, b.getX2());
    EXPECT_EQ(140.5, b.getY1());
    EXPECT_EQ(-20, b.getY2());
    EXPECT_EQ(0.25, b.getSlope());
    EXPECT_EQ(40, b.getOffset());
    EXPECT_TRUE(b.isSlippery());
    EXPECT_TRUE(b.isConveyor());
    EXPECT_EQ(-35.5, b.getConveyorSpeed());
}

TEST(Barrier, FieldsComeInAnyOrderRepeatAndCloseWithAnyToken)
{
    Barrier b;
    std::istringstream in("<OFFSET> 5 </X> <EDGES> 0 40 20 0 </EDGES> <OFFSET> 7 whatever "
                          "<SLIPPERY> 1 </SLIPPERY> <SLIPPERY> 0 </SLIPPERY> </BARRIER> <NEXT>");
    ASSERT_EQ(0, b.read(in));
    EXPECT_EQ(7, b.getOffset());
    EXPECT_FALSE(b.isSlippery());
    EXPECT_EQ(40, b.getX2());
    // The reader stops right behind its closing tag.
    std::string next;
    in >> next;
    EXPECT_EQ("<NEXT>", next);
}

TEST(Barrier, EdgesOnlyWalksOnTheLowerEdgeEverywhere)
{
    Barrier b;
    ASSERT_EQ(0, readBody(b, "<EDGES> 0 800 40 0 </EDGES> </BARRIER>"));
    EXPECT_EQ(0, b.surfaceAt(0));
    EXPECT_EQ(0, b.surfaceAt(400));
    EXPECT_EQ(0, b.surfaceAt(800));
    EXPECT_FALSE(b.isSlippery());
    EXPECT_FALSE(b.isConveyor());
}

TEST(Barrier, SurfaceFollowsOffsetAndSlopeFromTheLeftEdge)
{
    Barrier b;
    ASSERT_EQ(0, readBody(b, "<EDGES> 0 200 300 100 </EDGES> <OFFSET> 20 </OFFSET> <SLOPE> 0.5 </SLOPE> </BARRIER>"));
    EXPECT_DOUBLE_EQ(120, b.surfaceAt(0));
    EXPECT_DOUBLE_EQ(170, b.surfaceAt(100));

    // A ramp from 40 to 140 over 400 units, its surface at the top of its band at the right end.
    Barrier ramp;
    ASSERT_EQ(0, readBody(ramp, "<EDGES> 0 400 140 0 </EDGES> <SLOPE> 0.25 </SLOPE> <OFFSET> 40 </OFFSET> </BARRIER>"));
    EXPECT_DOUBLE_EQ(40, ramp.surfaceAt(0));
    EXPECT_DOUBLE_EQ(90, ramp.surfaceAt(200));
    EXPECT_DOUBLE_EQ(140, ramp.surfaceAt(400));

    // The slope counts from x1, so a floor that does not start at 0 rises from its own left edge;
    // a falling slope goes down from there.
    Barrier down;
    ASSERT_EQ(0, readBody(down, "<EDGES> 1000 1200 100 0 </EDGES> <SLOPE> -0.5 </SLOPE> <OFFSET> 100 </OFFSET> </BARRIER>"));
    EXPECT_DOUBLE_EQ(100, down.surfaceAt(1000));
    EXPECT_DOUBLE_EQ(50, down.surfaceAt(1100));
}

TEST(Barrier, MoveShiftsTheEdgesAndRecordsTheLastMove)
{
    Barrier b;
    b.setX1(0);
    b.setX2(40);
    b.setY1(20);
    b.setY2(0);
    b.setOffset(20);
    b.setSlope(0.5);
    const double before = b.surfaceAt(10);
    b.move(5, -3);
    EXPECT_EQ(5, b.getX1());
    EXPECT_EQ(45, b.getX2());
    EXPECT_EQ(17, b.getY1());
    EXPECT_EQ(-3, b.getY2());
    EXPECT_EQ(5, b.getLastMoveX());
    EXPECT_EQ(-3, b.getLastMoveY());
    // The surface moves with the barrier.
    EXPECT_DOUBLE_EQ(before - 3, b.surfaceAt(15));
    b.move(0, 0);
    EXPECT_EQ(5, b.getX1());
    EXPECT_EQ(0, b.getLastMoveX());
    EXPECT_EQ(0, b.getLastMoveY());
}

TEST(Barrier, WritesOneTokenPerLineInFieldOrder)
{
    Barrier b;
    b.setX1(0);
    b.setX2(1600);
    b.setY1(40);
    b.setY2(0.5);
    b.setSlippery(true);
    b.setConveyorSpeed(123456.75);
    b.setSlope(-0.25);
    b.setOffset(40);
    std::ostringstream out;
    EXPECT_EQ(0, b.write(out));
    EXPECT_EQ("<BARRIER>\n<EDGES>\n0\n1600\n40\n0.5\n</EDGES>\n<SLIPPERY>\n1\n</SLIPPERY>\n"
              "<CONVEYOR>\n0\n123457\n</CONVEYOR>\n<SLOPE>\n-0.25\n</SLOPE>\n<OFFSET>\n40\n</OFFSET>\n"
              "</BARRIER>\n",
              out.str());
}

TEST(Barrier, SavedStateReadsBackTheSameFields)
{
    Barrier b;
    b.setX1(-12.5);
    b.setX2(300);
    b.setY1(99.25);
    b.setY2(60);
    b.setConveyor(true);
    b.setConveyorSpeed(-42);
    b.setSlope(0.125);
    b.setOffset(30);
    b.setSlippery(true);
    std::stringstream saved;
    ASSERT_EQ(0, b.writeState(saved));
    saved << "<AFTER>\n";

    std::string tag;
    saved >> tag;
    ASSERT_EQ("<BARRIER>", tag);
    Barrier copy;
    ASSERT_EQ(0, copy.readState(saved));
    EXPECT_EQ(b.getX1(), copy.getX1());
    EXPECT_EQ(b.getX2(), copy.getX2());
    EXPECT_EQ(b.getY1(), copy.getY1());
    EXPECT_EQ(b.getY2(), copy.getY2());
    EXPECT_EQ(b.isConveyor(), copy.isConveyor());
    EXPECT_EQ(b.getConveyorSpeed(), copy.getConveyorSpeed());
    EXPECT_EQ(b.getSlope(), copy.getSlope());
    EXPECT_EQ(b.getOffset(), copy.getOffset());
    EXPECT_EQ(b.isSlippery(), copy.isSlippery());
    saved >> tag;
    EXPECT_EQ("<AFTER>", tag);
}

TEST(Barrier, UnknownTagFailsAndIsLogged)
{
    Barrier b;
    EXPECT_EQ(-1, readBody(b, "<EDGES> 0 40 20 0 </EDGES> <BOUNCY> 1 </BOUNCY> </BARRIER>"));
    EXPECT_TRUE(testsupport::logContains("Unknown tag: <BOUNCY>"));
}

TEST(Barrier, ValuesThatDoNotParseFail)
{
    for (const char* body : {"<EDGES> 0 40 twenty 0 </EDGES> </BARRIER>", "<SLOPE> steep </SLOPE> </BARRIER>",
                             "<SLIPPERY> 2 </SLIPPERY> </BARRIER>", "<CONVEYOR> 1 fast </CONVEYOR> </BARRIER>"}) {
        Barrier b;
        EXPECT_EQ(-1, readBody(b, body)) << body;
    }
}

TEST(Barrier, RecordCutShortAtAnyTokenFailsWithoutHanging)
{
    const auto all = leveltest::tokens(
        "<EDGES> 0 40 20 0 </EDGES> <SLOPE> 1 </SLOPE> <OFFSET> 2 </OFFSET> <SLIPPERY> 1 </SLIPPERY> "
        "<CONVEYOR> 1 3 </CONVEYOR> </BARRIER>");
    for (size_t n = 0; n < all.size(); ++n) {
        Barrier b;
        EXPECT_EQ(-1, readBody(b, leveltest::prefix(all, n))) << "after " << n << " tokens";
    }
    Barrier whole;
    EXPECT_EQ(0, readBody(whole, leveltest::prefix(all, all.size())));
}
