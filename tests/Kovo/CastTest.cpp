#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Base/App/Log.h"
#include "CastHarness.h"
#include "support/Files.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;
using kovotest::restore;
using kovotest::saved;

// One record of each class as a level file gives it, and its picture's shape.
struct Row {
    CharacterType type;
    std::string record;
    double pictureLength;  // along x
    double pictureWidth;   // along y
};

const std::vector<Row> kCast = {
    {CharacterTypeAgent, actorAt(3, 1000, 40, 1, true, "a.pcx b.pcx c.pcx"), 60, 120},
    {CharacterTypeEgo1, actorAt(19, 1000, 40, 2, false, "300 1700"), 140, 140},
    {CharacterTypeCart, actorAt(10, 1000, 40, 7, false, "300 1700 5"), 80, 80},
    {CharacterTypeDozer, actorAt(6, 1000, 40, 6, true, "300 1700 5"), 100, 100},
    {CharacterTypeBuzzooka, actorAt(12, 1000, 40, 6, true, "300 1700 5"), 120, 120},
    {CharacterTypeDrop, actorAt(15, 1000, 600, 0, true, "1000 600 1500"), 30, 30},
    {CharacterTypeBird, actorAt(9, 1000, 400, 22, true), 40, 40},
    {CharacterTypeBombshelle, actorAt(16, 1000, 40, 1, true, "1 400"), 120, 240},
    {CharacterTypeCopter, actorAt(21, 1000, 300, 2, false, "-1 1"), 400, 200},
    {CharacterTypeGoat, actorAt(8, 1000, 40, 1, true, "300 1700"), 100, 100},
    {CharacterTypeGiant, actorAt(7, 1000, 40, 1, true, "300 1700"), 200, 200},
    {CharacterTypeGunner, actorAt(14, 1000, 40, 1, true, "300 1700"), 120, 120},
    {CharacterTypeEgo2, actorAt(20, 1000, 40, 1, true, "a.pcx b.pcx c.pcx 0"), 100, 200},
    {CharacterTypeIcicle, actorAt(13, 1000, 400, 0, true), 40, 80},
    {CharacterTypeWolf, actorAt(0, 1000, 40, 1, true, "0 2000"), 160, 80},
    {CharacterTypeRat, actorAt(2, 1000, 40, 1, true, "900 1100"), 60, 30},
    {CharacterTypeKnifeThrower, actorAt(4, 1000, 40, 1, true, "1"), 120, 120},
    {CharacterTypeRobot, actorAt(5, 1000, 40, 6, true, "500 1500 3"), 100, 100},
    {CharacterTypeTurret, actorAt(11, 1000, 200, 14, true, "2500 4"), 60, 60},
    {CharacterTypeKnight, actorAt(17, 1000, 40, 0, true, "500 1500"), 120, 120},
    {CharacterTypeThief1, actorAt(18, 1000, 40, 1, true, "500 1500 -1"), 100, 100},
    {CharacterTypeThief2, actorAt(22, 1000, 40, 1, true, "500 1500 -1"), 100, 100},
    {CharacterTypeThief3, actorAt(23, 1000, 40, 1, true, "0 2000 -1"), 100, 100},
};

class CastTest : public kovotest::CastTest {};

}  // namespace

// Each class built from its record and run a while, saved, restored into a fresh one and
// saved again; every block cut short, or spoilt, fails and leaves the actor as it was.
TEST_F(CastTest, EachIsBuiltFromItsRecordAndItsSavedBlockRoundTripsWhileCutBlocksFail)
{
    for (const Row& row : kCast) {
        SCOPED_TRACE(row.record);
        makeRoom(floorAt(0, 2000, 40) + row.record);
        ASSERT_EQ(row.type, actor()->getType());
        placeHero(700, 40);
        think(actor(), 30, 40);
        const std::string block = saved(*actor());

        Character* fresh = makeRoom(floorAt(0, 2000, 40) + row.record);
        const std::string before = saved(*fresh);
        std::vector<std::string> spoilt = kovotest::truncations(block);
        spoilt.push_back(block);
        spoilt.back().replace(block.find("<SPRITE>") + 9, 1, "x");
        for (const std::string& text : spoilt) {
            EXPECT_EQ(-1, restore(*fresh, text)) << text;
            EXPECT_EQ(before, saved(*fresh)) << text;
        }
        ASSERT_EQ(0, restore(*fresh, block));
        EXPECT_EQ(block, saved(*fresh));
        EXPECT_DOUBLE_EQ(row.pictureLength, fresh->getDrawable()->getLength());
        EXPECT_DOUBLE_EQ(row.pictureWidth, fresh->getDrawable()->getWidth());
    }
    // The bird's pursuit flag and the goat's roused flag run straight into the character
    // block.
    EXPECT_EQ(0u, saved(*makeRoom(kCast[6].record)).find("<BIRD> -1 -1 0<CHARACTER> "));
    EXPECT_EQ(0u, saved(*makeRoom(kCast[9].record)).find("<GOAT> -1 -1 2 0<CHARACTER> "));
}

TEST_F(CastTest, AnActorInAStateWithoutPicturesThinksWithoutAnyToAdvance)
{
    for (const std::string& record : {actorAt(10, 1000, 40, 1, true, "300 1700 5"),
                                      actorAt(6, 1000, 40, 2, false, "300 1700 5"),
                                      actorAt(21, 1000, 300, 15, false, "-1 1"),
                                      actorAt(21, 1000, 300, 23, false, "-1 2")}) {
        EXPECT_EQ(nullptr, shown(makeRoom(floorAt(0, 2000, 40) + record))) << record;
        think(actor(), 30, 5);
        room->update(30);
    }
}

TEST_F(CastTest, AHelicopterRecordFacingLeftIsReadFacingRightWithALogLine)
{
    EXPECT_TRUE(makeRoom(actorAt(21, 1000, 300, 2, true, "-1 1"))->isFacingRight());
    g_log.flush();
    EXPECT_NE(std::string::npos, testsupport::readText("ktlog.txt")
                                     .find("Copter record faces left; read as facing right"));
}
