#include <GL/gl.h>

#include "Base/Gph/GphWindow.h"
#include "Kovo/Door.h"
#include "PropHarness.h"
#include "support/Files.h"
#include "support/GlContext.h"

using namespace proptest;

namespace {

const char* const kBody =
    "512.5 100.25 80 100 2 120.5 80 <ANIMATION> 1 </ANIMATION> <LOCKED> 1 </LOCKED> "
    "<OPEN> 0 </OPEN> <CODE> 3 </CODE> </CODE> <ID> 4 </ID> </DOOR>";

int brightness(int x, int y)
{
    const auto p = testsupport::readPixel(x, y);
    return p[0] + p[1] + p[2];
}

class DoorTest : public ::testing::Test {
protected:
    void SetUp() override { room = makeRoom(); }

    std::unique_ptr<Door> build(const std::string& body)
    {
        std::unique_ptr<Door> door(new Door(room.get()));
        EXPECT_EQ(0, readBody(*door, body));
        return door;
    }

    std::unique_ptr<Map> room;
};

}  // namespace

TEST_F(DoorTest, ReadsPlaceTargetAndFields)
{
    auto door = build(kBody);
    EXPECT_DOUBLE_EQ(512.5, door->getX());
    EXPECT_DOUBLE_EQ(100.25, door->getY());
    EXPECT_DOUBLE_EQ(-206, door->getZ());
    EXPECT_DOUBLE_EQ(512.5 - 40, door->getLeft());
    EXPECT_DOUBLE_EQ(100.25 + 50, door->getTop());
    EXPECT_EQ(2, door->getTargetMapId());
    EXPECT_DOUBLE_EQ(120.5, door->getTargetX());
    EXPECT_DOUBLE_EQ(80, door->getTargetY());
    EXPECT_TRUE(door->isLocked());
    EXPECT_FALSE(door->isOpen());
    EXPECT_TRUE(door->isUsable());
    // The code's field takes one token more, so the id after it is still read.
    EXPECT_EQ(3, door->getCode());
    EXPECT_EQ(4, door->getId());
    // The picture stands 110 above the door, 80 wide and 160 high.
    expectPictureSize(door->getPicture(), 80, 160);
    EXPECT_EQ(ShpCoord(512.5, 210.25, -206), *door->getPicture()->getCoord());
    EXPECT_EQ(door->getPicture(), door->getGraphic());
}

TEST_F(DoorTest, PictureFollowsTheLockedFlag)
{
    auto door = build(kBody);
    GphAnimatedTexture* animation = door->getPicture()->getAnimatedTexture();
    animation->setCurrentFrame(1);
    door->updateGraphic();
    EXPECT_EQ(0u, animation->getCurrentFrame());
    EXPECT_EQ("door_locked.pcx", kovotest::frameFile(animation, 0));
    door->unlock();
    door->updateGraphic();
    EXPECT_EQ(1u, animation->getCurrentFrame());
    door->setLocked(true);
    door->updateGraphic();
    EXPECT_EQ(0u, animation->getCurrentFrame());

    // Without a picture the door still works.
    auto bare = build("1 2 3 4 5 6 7 <LOCKED> 1 </LOCKED> </DOOR>");
    EXPECT_EQ(nullptr, bare->getPicture());
    bare->updateGraphic();
    bare->draw();
    EXPECT_TRUE(bare->isLocked());
    EXPECT_EQ(5, bare->getTargetMapId());
}

TEST_F(DoorTest, DrawsItsPictureAboveTheDoorWhateverTheVisibleFlag)
{
    GphWindow* window = GphWindow::getInstance();
    ASSERT_NE(nullptr, window);
    // The picture's centre at the view's centre.
    auto door = build("0 -110 80 100 1 0 0 <ANIMATION> 1 </ANIMATION> </DOOR>");
    door->setVisible(false);
    glClearColor(0, 0, 0, 0);
    window->clear();
    door->draw();
    EXPECT_GT(brightness(400, 300), 0);
    EXPECT_GT(brightness(400 - 36, 300 + 76), 0);
    EXPECT_GT(brightness(400 + 36, 300 - 76), 0);
    EXPECT_EQ(0, brightness(400 + 44, 300));
    EXPECT_EQ(0, brightness(400, 300 + 84));
    EXPECT_EQ(0, brightness(400, 300 - 84));
}

TEST_F(DoorTest, ReadFailures)
{
    Door unknown(room.get());
    EXPECT_EQ(-1, readBody(unknown, "0 0 80 100 1 0 0 <KEY> 1 </KEY> </DOOR>"));
    EXPECT_TRUE(testsupport::logContains("Unknown tag: <KEY>"));

    Door missing(room.get());
    EXPECT_EQ(-1, readBody(missing, "0 0 80 100 1 0 0 <ANIMATION> 99 </ANIMATION> </DOOR>"));
    EXPECT_TRUE(testsupport::logContains("Failed to retrieve animation"));

    // A code without its extra token swallows the next tag.
    Door shortCode(room.get());
    EXPECT_EQ(-1, readBody(shortCode, "0 0 80 100 1 0 0 <CODE> 3 </CODE> <ID> 4 </ID> </DOOR>"));

    Door fraction(room.get());
    EXPECT_EQ(-1, readBody(fraction, "0 0 80 100 1.5 0 0 </DOOR>"));

    const std::string body = kBody;
    for (size_t n = 0; n < body.size(); ++n) {
        Door cut(room.get());
        EXPECT_EQ(-1, readBody(cut, body.substr(0, n))) << body.substr(0, n);
    }
}

TEST_F(DoorTest, SavedBlockRoundTrip)
{
    auto door = build(kBody);
    door->unlock();
    door->close();
    const std::string block = saved(*door);
    EXPECT_EQ("<DOOR> 0 0 <SPRITE> 512.5 100.25 -206 100 80 1 </SPRITE>\n</DOOR>\n", block);

    auto fresh = build(kBody);
    fresh->open();
    ASSERT_EQ(0, restore(*fresh, block));
    EXPECT_FALSE(fresh->isLocked());
    EXPECT_FALSE(fresh->isOpen());
    EXPECT_EQ(block, saved(*fresh));
    // Back above the door at its own size, showing the restored state.
    expectPictureSize(fresh->getPicture(), 80, 160);
    EXPECT_EQ(ShpCoord(512.5, 210.25, -206), *fresh->getPicture()->getCoord());
    EXPECT_EQ(1u, fresh->getPicture()->getAnimatedTexture()->getCurrentFrame());

    // A door at (500, 100) has its picture centred at (500, 210) after loading too.
    auto moved = build(kBody);
    ASSERT_EQ(0, restore(*moved, "<DOOR> 1 1 <SPRITE> 500 100 -206 100 80 1 </SPRITE> </DOOR>"));
    EXPECT_EQ(ShpCoord(500, 210, -206), *moved->getPicture()->getCoord());
    EXPECT_TRUE(moved->isLocked());
    EXPECT_EQ(0u, moved->getPicture()->getAnimatedTexture()->getCurrentFrame());

    for (const std::string& cut : kovotest::truncations(block)) {
        auto victim = build(kBody);
        EXPECT_EQ(-1, restore(*victim, cut)) << cut;
    }
}
