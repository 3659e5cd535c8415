#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/Sprite.h"

namespace {

struct Box {
    double left, right, top, bottom, centreX, centreY;
};

// A sprite at (100, 0, -20), 80 high and 160 wide, drawn through a rectangle.
class SpriteBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        sprite.setGraphic(&rect);
        sprite.setSize(80, 160);
        sprite.setPosition(100, 0, -20);
    }

    Box box(int anchor)
    {
        sprite.setAnchor(anchor);
        const ShpCoord* c = rect.getCoord();
        return {sprite.getLeft(), sprite.getRight(), sprite.getTop(), sprite.getBottom(), c->getX(),
                c->getY()};
    }

    GphRect rect;
    Sprite sprite;
};

void expectBox(const Box& expected, const Box& actual, int anchor)
{
    SCOPED_TRACE("anchor " + std::to_string(anchor));
    EXPECT_DOUBLE_EQ(expected.left, actual.left);
    EXPECT_DOUBLE_EQ(expected.right, actual.right);
    EXPECT_DOUBLE_EQ(expected.top, actual.top);
    EXPECT_DOUBLE_EQ(expected.bottom, actual.bottom);
    EXPECT_DOUBLE_EQ(expected.centreX, actual.centreX);
    EXPECT_DOUBLE_EQ(expected.centreY, actual.centreY);
}

}  // namespace

TEST(Sprite, FreshSpriteIsVisibleCentredEmptyAtOrigin)
{
    Sprite s;
    EXPECT_TRUE(s.isVisible());
    EXPECT_EQ(4, s.getAnchor());
    EXPECT_EQ(0, s.getId());
    double l, w;
    s.getSize(l, w);
    EXPECT_EQ(0, l);
    EXPECT_EQ(0, w);
    EXPECT_EQ(0, s.getX());
    EXPECT_EQ(0, s.getY());
    EXPECT_EQ(0, s.getZ());
    EXPECT_EQ(nullptr, s.getGraphic());
    EXPECT_FALSE(s.isOnScreen());
    s.draw();  // nothing to draw, nothing to crash
}

TEST_F(SpriteBox, EveryAnchorPlacesTheBoxAndTheGraphicCentre)
{
    // x 100, y 0, width 160 (half 80), length 80 (half 40).
    const Box expected[9] = {
        {100, 260, 0, -80, 180, -40},   // 0 top-left
        {100, 260, 80, 0, 180, 40},     // 1 bottom-left
        {-60, 100, 80, 0, 20, 40},      // 2 bottom-right
        {-60, 100, 0, -80, 20, -40},    // 3 top-right
        {20, 180, 40, -40, 100, 0},     // 4 centre
        {100, 260, 40, -40, 180, 0},    // 5 middle of the left edge
        {-60, 100, 40, -40, 20, 0},     // 6 middle of the right edge
        {20, 180, 0, -80, 100, -40},    // 7 middle of the top edge
        {20, 180, 80, 0, 100, 40},      // 8 middle of the bottom edge
    };
    for (int anchor = 0; anchor < 9; ++anchor) {
        expectBox(expected[anchor], box(anchor), anchor);
        EXPECT_EQ(-20, rect.getCoord()->getZ());
    }
}

TEST_F(SpriteBox, AnchorOutsideTheTableLeavesTheGraphicWhereItWas)
{
    box(8);
    sprite.setAnchor(9);
    EXPECT_DOUBLE_EQ(100, rect.getCoord()->getX());
    EXPECT_DOUBLE_EQ(40, rect.getCoord()->getY());
    sprite.setPosition(500, 500, 0);
    EXPECT_DOUBLE_EQ(100, rect.getCoord()->getX());
}

TEST_F(SpriteBox, PictureIsASquareOfTheGreaterSide)
{
    EXPECT_DOUBLE_EQ(160, rect.getLength());
    EXPECT_DOUBLE_EQ(160, rect.getWidth());
    sprite.setSize(120, 60);
    EXPECT_DOUBLE_EQ(120, rect.getLength());
    EXPECT_DOUBLE_EQ(120, rect.getWidth());
    EXPECT_DOUBLE_EQ(60, sprite.getHalfLength());
    EXPECT_DOUBLE_EQ(30, sprite.getHalfWidth());
}

TEST_F(SpriteBox, MoveKeepsTheStartAndMovesTheGraphic)
{
    sprite.setAnchor(8);
    sprite.setPosition(10, 0, 0);
    sprite.move(5, 2, 0);
    EXPECT_DOUBLE_EQ(15, sprite.getX());
    EXPECT_DOUBLE_EQ(15, rect.getCoord()->getX());
    EXPECT_DOUBLE_EQ(42, rect.getCoord()->getY());
    double sx, sy, sz;
    sprite.getStartPosition(sx, sy, sz);
    EXPECT_DOUBLE_EQ(10, sx);
    sprite.resetToStart();
    EXPECT_DOUBLE_EQ(10, sprite.getX());
    EXPECT_DOUBLE_EQ(0, sprite.getY());
    EXPECT_DOUBLE_EQ(10, rect.getCoord()->getX());
}

TEST_F(SpriteBox, SingleCoordinateSettersMoveTheStartToo)
{
    sprite.move(7, 7, 7);
    sprite.setX(1);
    sprite.setY(2);
    sprite.setZ(-3);
    sprite.move(10, 10, 10);
    sprite.resetToStart();
    EXPECT_DOUBLE_EQ(1, sprite.getX());
    EXPECT_DOUBLE_EQ(2, sprite.getY());
    EXPECT_DOUBLE_EQ(-3, sprite.getZ());
}

TEST(SpriteState, WritesOneLine)
{
    Sprite s;
    s.setSize(100, 100);
    s.setPosition(120, 40, -20);
    std::ostringstream out;
    EXPECT_EQ(0, s.writeState(out));
    EXPECT_EQ("<SPRITE> 120 40 -20 100 100 1 </SPRITE>\n", out.str());
    s.hide();
    s.setPosition(0.5, 123456.75, 0);
    std::ostringstream hidden;
    s.writeState(hidden);
    EXPECT_EQ("<SPRITE> 0.5 123457 0 100 100 0 </SPRITE>\n", hidden.str());
}

TEST(SpriteState, RoundTripThroughTheLine)
{
    GphRect rect;
    Sprite source;
    source.setGraphic(&rect);
    source.setAnchor(8);
    source.setSize(90, 180);
    source.setPosition(-35.25, 410, -41);
    source.hide();
    std::stringstream line;
    source.writeState(line);

    GphRect otherRect;
    Sprite target;
    target.setGraphic(&otherRect);
    target.setAnchor(8);
    target.setSize(120, 120);
    target.move(3, 3, 3);
    std::string tag;
    line >> tag;  // the owner takes the opening tag
    ASSERT_EQ("<SPRITE>", tag);
    EXPECT_EQ(0, target.readState(line));
    EXPECT_FALSE(target.isVisible());
    EXPECT_DOUBLE_EQ(-35.25, target.getX());
    EXPECT_DOUBLE_EQ(410, target.getY());
    EXPECT_DOUBLE_EQ(-41, target.getZ());
    EXPECT_DOUBLE_EQ(-35.25 - 90, target.getLeft());
    EXPECT_DOUBLE_EQ(410 + 90, target.getTop());
    EXPECT_DOUBLE_EQ(180, otherRect.getLength());
    EXPECT_DOUBLE_EQ(455, otherRect.getCoord()->getY());
    double sx, sy, sz;
    target.getStartPosition(sx, sy, sz);
    EXPECT_DOUBLE_EQ(-35.25, sx);
    // The closing tag was taken: the stream is at the end of the line.
    std::string rest;
    EXPECT_FALSE(line >> rest);
}

TEST(SpriteState, VisibleOnlyForExactlyOne)
{
    for (const char* flag : {"1", "2", "0", "-1"}) {
        Sprite s;
        std::istringstream in(std::string("1 2 3 4 5 ") + flag + " </SPRITE>");
        EXPECT_EQ(0, s.readState(in));
        EXPECT_EQ(std::string(flag) == "1", s.isVisible()) << flag;
    }
}

TEST(SpriteState, TruncatedLineKeepsTheSpriteAndFails)
{
    const char* truncated[] = {"", "10", "10 20 30", "10 20 30 40 50", "10 20 30 40 50 0",
                               "10 20 x 40 50 0 </SPRITE>"};
    for (const char* text : truncated) {
        GphRect rect;
        Sprite s;
        s.setGraphic(&rect);
        s.setSize(8, 6);
        s.setPosition(1, 2, 3);
        std::istringstream in(text);
        EXPECT_EQ(-1, s.readState(in)) << text;
        EXPECT_DOUBLE_EQ(1, s.getX()) << text;
        EXPECT_DOUBLE_EQ(2, s.getY()) << text;
        EXPECT_DOUBLE_EQ(3, s.getZ()) << text;
        EXPECT_DOUBLE_EQ(4, s.getHalfLength()) << text;
        EXPECT_DOUBLE_EQ(3, s.getHalfWidth()) << text;
        EXPECT_TRUE(s.isVisible()) << text;
        EXPECT_DOUBLE_EQ(8, rect.getLength()) << text;
    }
}

TEST(SpriteState, SpriteNeverDeletesItsGraphic)
{
    GphRect* rect = new GphRect();
    {
        Sprite s;
        s.setGraphic(rect);
        s.setPosition(5, 5, 5);
    }
    // Still ours to use and delete; a double delete would show under the sanitizer.
    EXPECT_DOUBLE_EQ(5, rect->getCoord()->getX());
    delete rect;
}
