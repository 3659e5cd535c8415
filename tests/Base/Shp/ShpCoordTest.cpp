#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "Base/Shp/ShpCoord.h"

TEST(ShpCoord, ReadsFieldsInAnyOrderAndKeepsMissingOnes)
{
    ShpCoord c(7, 8, 9);
    std::istringstream in("<Z> 3 </Z> <X> 1 </X> </COORD> rest");
    EXPECT_EQ(0, c.read(in));
    EXPECT_EQ(ShpCoord(1, 8, 3), c);
    std::string next;
    in >> next;
    EXPECT_EQ("rest", next);
}

TEST(ShpCoord, FieldClosingTagIsNotCompared)
{
    ShpCoord c;
    std::istringstream in("<X> 4.5 </Y> <X> 6 </X> </COORD>");
    EXPECT_EQ(0, c.read(in));
    EXPECT_DOUBLE_EQ(6, c.getX());
}

TEST(ShpCoord, UnknownTagFails)
{
    ShpCoord c;
    std::istringstream in("<X> 1 </X> <W> 2 </W> </COORD>");
    EXPECT_EQ(-1, c.read(in));
}

TEST(ShpCoord, TruncatedStreamEndsWithFailure)
{
    for (const char* text : {"<X>", "<X> 1", "<X> 1 </X>", "<X> abc </X> </COORD>", ""}) {
        ShpCoord c(1, 2, 3);
        std::istringstream in(text);
        EXPECT_EQ(-1, c.read(in)) << text;
    }
}

TEST(ShpCoord, WritesElevenLines)
{
    std::ostringstream out;
    EXPECT_EQ(0, ShpCoord(1.5, -2, 0).write(out));
    EXPECT_EQ("<COORD>\n<X>\n1.5\n</X>\n<Y>\n-2\n</Y>\n<Z>\n0\n</Z>\n</COORD>\n", out.str());
    std::ostringstream big;
    ShpCoord(123456.75, 400, 0.5).write(big);
    EXPECT_NE(std::string::npos, big.str().find("\n123457\n"));
}

TEST(ShpCoord, WrittenFormReadsBack)
{
    std::stringstream s;
    ShpCoord(-3.25, 1e-5, 42).write(s);
    std::string open;
    s >> open;
    ShpCoord c;
    EXPECT_EQ(0, c.read(s));
    EXPECT_EQ(ShpCoord(-3.25, 1e-5, 42), c);
}

TEST(ShpCoord, EqualityAndGeometry)
{
    ShpCoord a(1, 2, 3);
    ShpCoord copy(a);
    EXPECT_TRUE(a == copy);
    EXPECT_FALSE(a == ShpCoord(1, 2, 4));
    EXPECT_FALSE(ShpCoord(NAN, 0, 0) == ShpCoord(NAN, 0, 0));
    EXPECT_DOUBLE_EQ(5, ShpCoord(0, 0, 0).distance(ShpCoord(3, 4, 0)));
    a.translate(1, -2, 0.5);
    EXPECT_EQ(ShpCoord(2, 0, 3.5), a);

    // A point at distance 1 on the x axis turned by a quarter turn about the origin.
    ShpCoord p(1, 0, 5);
    p.rotate(ShpCoord(0, 0, 5), M_PI / 2);
    EXPECT_NEAR(0, p.getX(), 1e-12);
    EXPECT_NEAR(1, p.getY(), 1e-12);
    EXPECT_DOUBLE_EQ(5, p.getZ());
}

#include "support/Files.h"

TEST(ShpCoord, UnknownTagIsLoggedWithProjectRelativePath)
{
    ShpCoord c;
    std::istringstream in("<Q> 1 </Q> </COORD>");
    EXPECT_EQ(-1, c.read(in));
    EXPECT_TRUE(testsupport::logContains("Unknown tag: <Q>"));
    const std::string log = testsupport::readText("ktlog.txt");
    EXPECT_EQ(0u, log.find("src/Base/App/TaggedText.cpp : ")) << log;
}
