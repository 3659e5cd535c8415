#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "CastHarness.h"
#include "Common/Map.h"
#include "Kovo/Door.h"
#include "Kovo/Ego2.h"
#include "Kovo/Hint.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;

// A door with id 7 for him to hold back.
const char* const kLinkedDoor =
    "<ANIMATION> 9 100 2 spike2.pcx spike3.pcx </ANIMATION>\n"
    "<DOOR> 300 50 80 100 1 0 0 <ANIMATION> 9 </ANIMATION> <ID> 7 </ID> </DOOR>\n";

std::string scientistAt(int x, const std::string& links)
{
    return actorAt(CharacterTypeEgo2, x, 40, CharacterStateStandLeft, true,
                   "t5-5_2.pcx objective1-1.pcx objective1-2.pcx " + links);
}

class Ego2Test : public kovotest::CastTest {};

}  // namespace

TEST_F(Ego2Test, GivesHisHintOnceFliesOffAndShowsHisLinkedSprites)
{
    makeRoom(floorAt(0, 2000, 40) + kLinkedDoor + scientistAt(1000, "1 7"));
    Ego2* scientist = actor<Ego2>();
    ASSERT_EQ(1u, scientist->getLinkedSprites().size());
    Door* door = room->getDoors().front();
    GphWindow::getInstance()->getCamera()->setPosition(ShpCoord(1000, 300, 0));
    placeHero(1500, 40);
    room->update(20);
    EXPECT_FALSE(door->isVisible());
    EXPECT_FALSE(room->hasHint());

    // Their boxes meet: the panel shows above him.
    placeHero(1090, 40);
    room->update(20);
    ASSERT_TRUE(room->hasHint());
    EXPECT_EQ("t5-5_2.pcx", kovotest::frameFile(room->getShownHint()->getPanel()->getAnimatedTexture(), 0));
    EXPECT_EQ("objective1-2.pcx", room->getShownHint()->getObjectiveImage());
    room->onCharDown('h');
    room->update(20);
    EXPECT_FALSE(room->hasHint());
    EXPECT_EQ(CharacterStateFlyLeft, scientist->getState());
    EXPECT_TRUE(door->isVisible());

    // The chair sinks first, then climbs until he is gone above 2400.
    const double start = scientist->getY();
    think(scientist, 20, 5);
    EXPECT_LT(scientist->getY(), start);
    EXPECT_GT(thinkUntilStateChanges(scientist, 20), 0);
    EXPECT_EQ(CharacterStateAsleepRight, scientist->getState());
    EXPECT_GT(scientist->getY(), 2399);
    think(scientist, 20);
    EXPECT_EQ(nullptr, shown(scientist));
    EXPECT_TRUE(door->isVisible());
    EXPECT_FALSE(room->hasHint());
}

TEST_F(Ego2Test, ARecordWithAnImpossibleOrMissingListOfIdsFailsTheRoom)
{
    for (const char* links : {"-1", "5000 1 2", "3 1 2"}) {
        SCOPED_TRACE(links);
        Map map(&app, nullptr, &hero);
        std::istringstream in(scientistAt(1000, links));
        EXPECT_EQ(-1, map.read(in));
        EXPECT_TRUE(map.getCharacters().empty());
    }
}
