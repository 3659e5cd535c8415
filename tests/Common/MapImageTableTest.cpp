#include <gtest/gtest.h>

#include <GL/gl.h>

#include <sstream>
#include <string>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphTexture.h"
#include "Common/MapImageTable.h"
#include "LevelTestWindow.h"
#include "support/Files.h"

namespace {

class MapImageTableTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        leveltest::writeBmp("table_red.bmp", 255, 0, 0);
        leveltest::writeBmp("table_blue.bmp", 0, 0, 255);
    }

    void SetUp() override { ASSERT_NE(nullptr, leveltest::openWindow()); }

    static std::string fileOf(GphAnimatedTexture* animation, unsigned frame = 0)
    {
        auto it = animation->getFrames().find(frame);
        if (it == animation->getFrames().end() || !it->second->getImage()) return "";
        return it->second->getImage()->getFileName();
    }

    static std::string nextToken(std::istream& in)
    {
        std::string token;
        in >> token;
        return token;
    }
};

}  // namespace

TEST_F(MapImageTableTest, ImagesBecomeOneFrameTexturesAndAnIdKeepsItsFirstEntry)
{
    MapImageTable table;
    std::istringstream in("1 table_red.bmp 0 </IMAGE> 2 table_blue.bmp 1 </IMAGE> 1 table_blue.bmp 1 </IMAGE> "
                          "4 no_such_tile.bmp 1 </IMAGE> <NEXT>");
    GphAnimatedTexture* added = nullptr;
    ASSERT_EQ(0, table.readImage(in, &added));
    EXPECT_EQ(added, table.find(1));
    ASSERT_EQ(0, table.readImage(in));
    ASSERT_EQ(0, table.readImage(in, &added));
    EXPECT_EQ(nullptr, added);
    // A missing picture is logged and left out; the record is still read to its end.
    EXPECT_EQ(0, table.readImage(in, &added));
    EXPECT_EQ(nullptr, added);
    EXPECT_TRUE(testsupport::logContains("Failed to load image file: no_such_tile.bmp"));
    EXPECT_EQ("<NEXT>", nextToken(in));

    EXPECT_EQ(2u, table.size());
    EXPECT_EQ("table_red.bmp", fileOf(table.find(1)));
    GphTexture* opaque = table.find(1)->getCurrentTexture();
    EXPECT_EQ(1u, table.find(1)->getFrameCount());
    EXPECT_EQ(static_cast<GLenum>(GL_DECAL), opaque->getMode());
    EXPECT_EQ(static_cast<GLenum>(GL_LINEAR), opaque->getMinFilter());
    EXPECT_EQ(static_cast<GLenum>(GL_LINEAR), opaque->getMagFilter());
    EXPECT_EQ(static_cast<GLenum>(GL_REPEAT), opaque->getSWrap());
    EXPECT_EQ(static_cast<GLenum>(GL_REPEAT), opaque->getTWrap());
    EXPECT_EQ(nullptr, opaque->getBlendColour());
    EXPECT_EQ(static_cast<GLenum>(GL_MODULATE), table.find(2)->getCurrentTexture()->getMode());
    EXPECT_EQ(nullptr, table.find(4));
}

TEST_F(MapImageTableTest, AnimationsKeepFrameOrderAndTimingAndFailOnAMissingFrame)
{
    MapImageTable table;
    std::istringstream in("3 100 2 table_red.bmp table_blue.bmp </ANIMATION> "
                          "5 100 3 table_red.bmp gone.bmp table_blue.bmp </ANIMATION> <NEXT>");
    ASSERT_EQ(0, table.readAnimation(in));
    GphAnimatedTexture* a = table.find(3);
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(2u, a->getFrameCount());
    EXPECT_EQ(100u, a->getMillisecondsPerFrame());
    EXPECT_EQ("table_red.bmp", fileOf(a, 0));
    EXPECT_EQ("table_blue.bmp", fileOf(a, 1));
    for (const auto& frame : a->getFrames()) EXPECT_EQ(static_cast<GLenum>(GL_MODULATE), frame.second->getMode());

    // Every name is still read, so the stream stays in step, but nothing is added.
    EXPECT_EQ(-1, table.readAnimation(in));
    EXPECT_EQ(nullptr, table.find(5));
    EXPECT_TRUE(testsupport::logContains("Failed to load image file: gone.bmp"));
    EXPECT_EQ("<NEXT>", nextToken(in));
}

TEST_F(MapImageTableTest, AbsurdCountsAndCutShortRecordsFail)
{
    const std::string atLimit =
        "3 100 " + std::to_string(MapImageTable::kMaxFrames) + " table_red.bmp table_blue.bmp";
    for (const std::string& record : {std::string("3 100 -1 </ANIMATION>"),
                                      std::string("3 100 2000000000 table_red.bmp </ANIMATION>"), atLimit}) {
        MapImageTable table;
        std::istringstream in(record);
        EXPECT_EQ(-1, table.readAnimation(in)) << record;
        EXPECT_TRUE(table.empty());
    }

    const auto image = leveltest::tokens("1 table_red.bmp 0 </IMAGE>");
    for (size_t n = 0; n < image.size(); ++n) {
        MapImageTable table;
        std::istringstream in(leveltest::prefix(image, n));
        EXPECT_EQ(-1, table.readImage(in)) << "image after " << n << " tokens";
    }
    const auto animation = leveltest::tokens("3 100 2 table_red.bmp table_blue.bmp </ANIMATION>");
    for (size_t n = 0; n < animation.size(); ++n) {
        MapImageTable table;
        std::istringstream in(leveltest::prefix(animation, n));
        EXPECT_EQ(-1, table.readAnimation(in)) << "animation after " << n << " tokens";
        EXPECT_TRUE(table.empty());
    }
    MapImageTable table;
    std::istringstream flag("1 table_red.bmp maybe </IMAGE>");
    EXPECT_EQ(-1, table.readImage(flag));
}
