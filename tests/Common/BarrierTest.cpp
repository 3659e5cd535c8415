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

TEST(Barrier, ReadsEveryFieldInAnyOrderTheLastOneWinning)
{
    Barrier b;
    std::istringstream in("<OFFSET> 5 </X> <EDGES> 10 410 140.5 -20 </EDGES> <SLOPE> 0.25 </SLOPE>\n"
                          "<SLIPPERY> 0 </SLIPPERY> <CONVEYOR> 1 -35.5 </CONVEYOR> <OFFSET> 40 whatever\n"
                          "<SLIPPERY> 1 </SLIPPERY> </BARRIER> <NEXT>");
    ASSERT_EQ(0, b.read(in));
    EXPECT_EQ(10, b.getX1());
    EXPECT_EQ(410, b.getX2());
    EXPECT_EQ(140.5, b.getY1());
    EXPECT_EQ(-20, b.getY2());
    EXPECT_EQ(0.25, b.getSlope());
    EXPECT_EQ(40, b.getOffset());
    EXPECT_TRUE(b.isSlippery());
    EXPECT_TRUE(b.isConveyor());
    EXPECT_EQ(-35.5, b.getConveyorSpeed());
    // The reader stops right behind its closing tag.
    std::string next;
    in >> next;
    EXPECT_EQ("<NEXT>", next);
}

TEST(Barrier, SurfaceIsTheLowerEdgePlusOffsetAndSlopeFromTheLeftEdge)
{
    // Edges only: a flat floor walked on at its lower edge, nothing else set.
    Barrier flat;
    ASSERT_EQ(0, readBody(flat, "<EDGES> 0 800 40 0 </EDGES> </BARRIER>"));
    EXPECT_EQ(0, flat.surfaceAt(0));
    EXPECT_EQ(0, flat.surfaceAt(800));
    EXPECT_FALSE(flat.isSlippery());
    EXPECT_FALSE(flat.isConveyor());
    EXPECT_EQ(0, flat.getConveyorSpeed());

    Barrier b;
    ASSERT_EQ(0, readBody(b, "<EDGES> 0 200 300 100 </EDGES> <OFFSET> 20 </OFFSET> <SLOPE> 0.5 </SLOPE> </BARRIER>"));
    EXPECT_DOUBLE_EQ(120, b.surfaceAt(0));
    EXPECT_DOUBLE_EQ(170, b.surfaceAt(100));

    // A ramp that does not start at 0 rises or falls from its own left edge.
    Barrier down;
    ASSERT_EQ(0, readBody(down, "<EDGES> 1000 1200 100 0 </EDGES> <SLOPE> -0.5 </SLOPE> <OFFSET> 100 </OFFSET> </BARRIER>"));
    EXPECT_DOUBLE_EQ(100, down.surfaceAt(1000));
    EXPECT_DOUBLE_EQ(50, down.surfaceAt(1100));
}

TEST(Barrier, MoveShiftsTheEdgesAndTheSurfaceAndRecordsTheLastMove)
{
    Barrier b;
    ASSERT_EQ(0, readBody(b, "<EDGES> 0 40 20 0 </EDGES> <OFFSET> 20 </OFFSET> <SLOPE> 0.5 </SLOPE> </BARRIER>"));
    EXPECT_EQ(0, b.getLastMoveX());
    const double before = b.surfaceAt(10);
    b.move(5, -3);
    EXPECT_EQ(5, b.getX1());
    EXPECT_EQ(45, b.getX2());
    EXPECT_EQ(17, b.getY1());
    EXPECT_EQ(-3, b.getY2());
    EXPECT_EQ(5, b.getLastMoveX());
    EXPECT_EQ(-3, b.getLastMoveY());
    EXPECT_DOUBLE_EQ(before - 3, b.surfaceAt(15));
    b.move(0, 0);
    EXPECT_EQ(5, b.getX1());
    EXPECT_EQ(0, b.getLastMoveX());
    EXPECT_EQ(0, b.getLastMoveY());
}

TEST(Barrier, SavedFormIsOneTokenPerLineAndReadsBack)
{
    Barrier b;
    ASSERT_EQ(0, readBody(b, "<EDGES> 0 1600 40 0.5 </EDGES> <SLIPPERY> 1 </SLIPPERY> <CONVEYOR> 0 123456.75 "
                             "</CONVEYOR> <SLOPE> -0.25 </SLOPE> <OFFSET> 40 </OFFSET> </BARRIER>"));
    std::stringstream saved;
    EXPECT_EQ(0, b.writeState(saved));
    EXPECT_EQ("<BARRIER>\n<EDGES>\n0\n1600\n40\n0.5\n</EDGES>\n<SLIPPERY>\n1\n</SLIPPERY>\n"
              "<CONVEYOR>\n0\n123457\n</CONVEYOR>\n<SLOPE>\n-0.25\n</SLOPE>\n<OFFSET>\n40\n</OFFSET>\n"
              "</BARRIER>\n",
              saved.str());

    std::string tag;
    saved >> tag;
    Barrier copy;
    ASSERT_EQ(0, copy.readState(saved));
    std::ostringstream again;
    copy.write(again);
    EXPECT_EQ(saved.str(), again.str());
}

TEST(Barrier, UnknownTagsBadValuesAndCutShortBlocksFail)
{
    Barrier unknown;
    EXPECT_EQ(-1, readBody(unknown, "<EDGES> 0 40 20 0 </EDGES> <BOUNCY> 1 </BOUNCY> </BARRIER>"));
    EXPECT_TRUE(testsupport::logContains("Unknown tag: <BOUNCY>"));

    for (const char* body : {"<EDGES> 0 40 twenty 0 </EDGES> </BARRIER>", "<SLOPE> steep </SLOPE> </BARRIER>",
                             "<SLIPPERY> 2 </SLIPPERY> </BARRIER>", "<CONVEYOR> 1 fast </CONVEYOR> </BARRIER>"}) {
        Barrier b;
        EXPECT_EQ(-1, readBody(b, body)) << body;
    }

    const auto all = leveltest::tokens("<EDGES> 0 40 20 0 </EDGES> <SLOPE> 1 </SLOPE> <OFFSET> 2 </OFFSET> "
                                       "<SLIPPERY> 1 </SLIPPERY> <CONVEYOR> 1 3 </CONVEYOR> </BARRIER>");
    for (size_t n = 0; n < all.size(); ++n) {
        Barrier b;
        EXPECT_EQ(-1, readBody(b, leveltest::prefix(all, n))) << "after " << n << " tokens";
    }
}
