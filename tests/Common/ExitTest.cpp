#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "Common/Exit.h"
#include "LevelTestWindow.h"

TEST(Exit, ReadsCodeAndEdgesAsGivenAndOneClosingToken)
{
    Exit e;
    std::istringstream in("2 100 200 80 0 </EXIT> <NEXT>");
    ASSERT_EQ(0, e.read(in));
    EXPECT_EQ(2, e.getCode());
    EXPECT_EQ(100, e.getX1());
    EXPECT_EQ(200, e.getX2());
    EXPECT_EQ(80, e.getY1());
    EXPECT_EQ(0, e.getY2());
    std::string next;
    in >> next;
    EXPECT_EQ("<NEXT>", next);

    // Edges are kept in the order written, even the wrong way round.
    Exit reversed;
    std::istringstream back("1 800.5 700 40 140 </EXIT>");
    ASSERT_EQ(0, reversed.read(back));
    EXPECT_EQ(800.5, reversed.getX1());
    EXPECT_EQ(700, reversed.getX2());
    EXPECT_EQ(40, reversed.getY1());
    EXPECT_EQ(140, reversed.getY2());
}

TEST(Exit, RecordCutShortOrMalformedFailsAndLeavesTheExitAlone)
{
    const auto all = leveltest::tokens("3 700 800 140 40 </EXIT>");
    for (size_t n = 0; n < all.size(); ++n) {
        Exit e;
        std::istringstream in(leveltest::prefix(all, n));
        EXPECT_EQ(-1, e.read(in)) << "after " << n << " tokens";
        EXPECT_EQ(0, e.getCode());
        EXPECT_EQ(-1, e.getX1());
    }
    Exit e;
    std::istringstream edge("1 700 far 140 40 </EXIT>");
    EXPECT_EQ(-1, e.read(edge));
}
