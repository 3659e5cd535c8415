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
        leveltest::writeBmp("table_frame2.bmp", 0, 255, 0);
    }

    void SetUp() override { ASSERT_NE(nullptr, leveltest::openWindow()); }

    static std::string fileOf(GphAnimatedTexture* animation, unsigned frame = 0)
    {
        auto it = animation->getFrames().find(frame);
        if (it == animation->getFrames().end() || !it->second->getImage()) return "";
        return it->second->getImage()->getFileName();
    }
};

}  // namespace

TEST_F(MapImageTableTest, ImageRecordsMakeOneFrameTexturesByTransparency)
{
    MapImageTable table;
    std::istringstream in("1 table_red.bmp 0 </IMAGE> 2 table_blue.bmp 1 </IMAGE> <NEXT>");
    GphAnimatedTexture* added = nullptr;
    ASSERT_EQ(0, table.readImage(in, &added));
    ASSERT_NE(nullptr, added);
    EXPECT_EQ(added, table.find(1));
    ASSERT_EQ(0, table.readImage(in));
    std::string next;
    in >> next;
    EXPECT_EQ("<NEXT>", next);

    GphAnimatedTexture* opaque = table.find(1);
    GphAnimatedTexture* transparent = table.find(2);
    ASSERT_NE(nullptr, opaque);
    ASSERT_NE(nullptr, transparent);
    EXPECT_EQ(1u, opaque->getFrameCount());
    GphTexture* t = opaque->getCurrentTexture();
    EXPECT_EQ(static_cast<GLenum>(GL_DECAL), t->getMode());
    EXPECT_EQ(static_cast<GLenum>(GL_LINEAR), t->getMinFilter());
    EXPECT_EQ(static_cast<GLenum>(GL_LINEAR), t->getMagFilter());
    EXPECT_EQ(static_cast<GLenum>(GL_REPEAT), t->getSWrap());
    EXPECT_EQ(static_cast<GLenum>(GL_REPEAT), t->getTWrap());
    EXPECT_EQ(nullptr, t->getBlendColour());
    EXPECT_EQ(static_cast<GLenum>(GL_MODULATE), transparent->getCurrentTexture()->getMode());
    EXPECT_EQ(nullptr, table.find(3));
}

TEST_F(MapImageTableTest, AnIdKeepsItsFirstEntry)
{
    MapImageTable table;
    std::istringstream in("5 table_red.bmp 0 </IMAGE> 5 table_blue.bmp 1 </IMAGE>");
    ASSERT_EQ(0, table.readImage(in));
    GphAnimatedTexture* added = reinterpret_cast<GphAnimatedTexture*>(1);
    ASSERT_EQ(0, table.readImage(in, &added));
    EXPECT_EQ(nullptr, added);
    EXPECT_EQ(1u, table.size());
    EXPECT_EQ("table_red.bmp", fileOf(table.find(5)));
}

TEST_F(MapImageTableTest, MissingPictureIsLoggedAndLeftOut)
{
    MapImageTable table;
    std::istringstream in("4 no_such_tile.bmp 1 </IMAGE> <NEXT>");
    EXPECT_EQ(0, table.readImage(in));
    EXPECT_TRUE(table.empty());
    EXPECT_TRUE(testsupport::logContains("Failed to load image file: no_such_tile.bmp"));
    std::string next;
    in >> next;
    EXPECT_EQ("<NEXT>", next);
}

TEST_F(MapImageTableTest, AnimationRecordsKeepFrameOrderAndTiming)
{
    MapImageTable table;
    std::istringstream in("3 100 2 table_red.bmp table_frame2.bmp </ANIMATION> <NEXT>");
    ASSERT_EQ(0, table.readAnimation(in));
    GphAnimatedTexture* a = table.find(3);
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(2u, a->getFrameCount());
    EXPECT_EQ(100u, a->getMillisecondsPerFrame());
    EXPECT_EQ("table_red.bmp", fileOf(a, 0));
    EXPECT_EQ("table_frame2.bmp", fileOf(a, 1));
    // Every frame is see-through.
    for (const auto& frame : a->getFrames()) EXPECT_EQ(static_cast<GLenum>(GL_MODULATE), frame.second->getMode());
    std::string next;
    in >> next;
    EXPECT_EQ("<NEXT>", next);
}

TEST_F(MapImageTableTest, AnimationWithAMissingFrameFailsAfterReadingAllItsNames)
{
    MapImageTable table;
    std::istringstream in("3 100 3 table_red.bmp gone.bmp table_blue.bmp </ANIMATION> <NEXT>");
    EXPECT_EQ(-1, table.readAnimation(in));
    EXPECT_EQ(nullptr, table.find(3));
    EXPECT_TRUE(testsupport::logContains("Failed to load image file: gone.bmp"));
    std::string next;
    in >> next;
    EXPECT_EQ("<NEXT>", next);
}

TEST_F(MapImageTableTest, AbsurdFrameCountsFailAtOnce)
{
    for (const char* record : {"3 100 -1 </ANIMATION>", "3 100 2000000000 table_red.bmp </ANIMATION>"}) {
        MapImageTable table;
        std::istringstream in(record);
        EXPECT_EQ(-1, table.readAnimation(in)) << record;
        EXPECT_TRUE(table.empty());
    }
    // A count as large as allowed stops at the end of the stream.
    MapImageTable table;
    std::istringstream in("3 100 " + std::to_string(MapImageTable::kMaxFrames) + " table_red.bmp table_blue.bmp");
    EXPECT_EQ(-1, table.readAnimation(in));
    EXPECT_TRUE(table.empty());
}

TEST_F(MapImageTableTest, RecordsCutShortFail)
{
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

TEST_F(MapImageTableTest, ClearDeletesEveryEntryAndInsertTakesOwnership)
{
    MapImageTable table;
    EXPECT_TRUE(table.insert(1, new GphAnimatedTexture()));
    EXPECT_FALSE(table.insert(1, new GphAnimatedTexture()));
    EXPECT_TRUE(table.insert(-7, new GphAnimatedTexture()));
    EXPECT_EQ(2u, table.size());
    table.clear();
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(nullptr, table.find(1));
}
