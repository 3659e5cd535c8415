#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Base/App/Log.h"
#include "CastHarness.h"
#include "Kovo/Copter.h"
#include "support/Files.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;

// One record of each class, as a level file gives it, and the shape of its picture.
struct Row {
    const char* name;
    std::string record;
    double pictureLength;  // along x
    double pictureWidth;   // along y
};

std::vector<Row> cast()
{
    return {
        {"Agent", actorAt(3, 1000, 40, 1, true, "above.pcx below.pcx goal.pcx"), 60, 120},
        {"Ego1", actorAt(19, 1000, 40, 2, false, "300 1700"), 140, 140},
        {"Cart", actorAt(10, 1000, 40, 7, false, "300 1700 5"), 80, 80},
        {"Dozer", actorAt(6, 1000, 40, 6, true, "300 1700 5"), 100, 100},
        {"Buzzooka", actorAt(12, 1000, 40, 6, true, "300 1700 5"), 120, 120},
        {"Drop", actorAt(15, 1000, 600, 0, true, "1000 600 1500"), 30, 30},
        {"Bird", actorAt(9, 1000, 400, 22, true), 40, 40},
        {"Bombshelle", actorAt(16, 1000, 40, 1, true, "1 400"), 120, 240},
        {"Copter", actorAt(21, 1000, 300, 2, false, "-1 1"), 400, 200},
    };
}

class CastTest : public kovotest::CastTest {};

}  // namespace

TEST_F(CastTest, TheRoomBuildsEveryOneOfTheseCharactersFromItsRecord)
{
    const CharacterType types[] = {CharacterTypeAgent,    CharacterTypeEgo1, CharacterTypeCart,
                                   CharacterTypeDozer,    CharacterTypeBuzzooka,
                                   CharacterTypeDrop,     CharacterTypeBird,
                                   CharacterTypeBombshelle, CharacterTypeCopter};
    size_t i = 0;
    for (const Row& row : cast()) {
        SCOPED_TRACE(row.name);
        makeRoom(floorAt(0, 2000, 40) + row.record);
        Character* c = actor();
        ASSERT_NE(nullptr, c);
        EXPECT_EQ(types[i++], c->getType());
        ASSERT_NE(nullptr, c->getDrawable());
        EXPECT_DOUBLE_EQ(row.pictureLength, c->getDrawable()->getLength());
        EXPECT_DOUBLE_EQ(row.pictureWidth, c->getDrawable()->getWidth());
    }
}

// Each class mid-way through what it does, saved, restored into a fresh one and saved
// again; every block cut short fails and leaves the actor it was read into as it was.
TEST_F(CastTest, SavedBlocksRoundTripByteForByteAndCutBlocksFail)
{
    for (const Row& row : cast()) {
        SCOPED_TRACE(row.name);
        makeRoom(floorAt(0, 2000, 40) + row.record);
        placeHero(700, 40);
        think(actor(), 30, 40);
        const std::string block = saved(*actor());

        makeRoom(floorAt(0, 2000, 40) + row.record);
        Character* fresh = actor();
        const std::string before = saved(*fresh);
        for (const std::string& cut : kovotest::truncations(block)) {
            EXPECT_EQ(-1, restore(*fresh, cut)) << cut;
            EXPECT_EQ(before, saved(*fresh)) << cut;
        }
        std::string corrupt = block;
        corrupt.replace(corrupt.find("<SPRITE>") + 9, 1, "x");
        EXPECT_EQ(-1, restore(*fresh, corrupt));
        EXPECT_EQ(before, saved(*fresh));

        ASSERT_EQ(0, restore(*fresh, block));
        EXPECT_EQ(block, saved(*fresh));
        EXPECT_DOUBLE_EQ(row.pictureLength, fresh->getDrawable()->getLength());
        EXPECT_DOUBLE_EQ(row.pictureWidth, fresh->getDrawable()->getWidth());
    }
}

TEST_F(CastTest, TheBirdsPursuitFlagRunsStraightIntoTheCharacterBlock)
{
    makeRoom(floorAt(0, 2000, 40) + actorAt(9, 1000, 400, 22, true));
    EXPECT_EQ(0u, saved(*actor()).find("<BIRD> -1 -1 0<CHARACTER> "));
}

TEST_F(CastTest, AnActorInAStateWithoutPicturesThinksWithoutAnyToAdvance)
{
    const std::string records[] = {actorAt(10, 1000, 40, 1, true, "300 1700 5"),
                                   actorAt(6, 1000, 40, 2, false, "300 1700 5"),
                                   actorAt(21, 1000, 300, 15, false, "-1 1"),
                                   actorAt(21, 1000, 300, 23, false, "-1 2"),
                                   actorAt(9, 1000, 300, 1, true)};
    for (const std::string& record : records) {
        SCOPED_TRACE(record);
        makeRoom(floorAt(0, 2000, 40) + record);
        EXPECT_EQ(nullptr, shown(actor()));
        think(actor(), 30, 5);
        room->update(30);
    }
}

TEST_F(CastTest, AHelicopterRecordFacingLeftIsReadFacingRightWithALogLine)
{
    makeRoom(floorAt(0, 2000, 40) + actorAt(21, 1000, 300, 2, true, "-1 1"));
    EXPECT_TRUE(actor()->isFacingRight());
    g_log.flush();
    EXPECT_NE(std::string::npos, testsupport::readText("ktlog.txt")
                                     .find("Copter record faces left; read as facing right"));
}
