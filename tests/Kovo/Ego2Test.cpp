#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "CastHarness.h"
#include "Common/Map.h"
#include "Kovo/Ego2.h"
#include "Kovo/Hint.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;

// His cart (id 21) and rocket robot (id 22), both on the move when shown.
const std::string kLinkedMachines =
    actorAt(CharacterTypeCart, 300, 40, 7, false, "100 500 21") +
    actorAt(CharacterTypeBuzzooka, 1800, 40, 7, false, "1500 1950 22");

std::string scientistAt(int x, const std::string& links)
{
    return actorAt(CharacterTypeEgo2, x, 40, CharacterStateStandLeft, true,
                   "t5-5_2.pcx objective1-1.pcx objective1-2.pcx " + links);
}

class Ego2Test : public kovotest::CastTest {};

}  // namespace

TEST_F(Ego2Test, GivesHisHintOnceFliesOffAndShowsHisLinkedSprites)
{
    makeRoom(floorAt(0, 2000, 40) + kLinkedMachines + scientistAt(1000, "2 21 22"));
    Character* cart = actor(0);
    Character* robot = actor(1);
    Ego2* scientist = actor<Ego2>(2);
    ASSERT_EQ(2u, scientist->getLinkedSprites().size());
    GphWindow::getInstance()->getCamera()->setPosition(ShpCoord(1000, 300, 0));
    placeHero(1300, 40);
    // Held back from his first think on, they stand still.
    room->update(20);
    const double cartX = cart->getX();
    for (int i = 0; i < 5; ++i) room->update(20);
    EXPECT_FALSE(cart->isVisible());
    EXPECT_FALSE(robot->isVisible());
    EXPECT_DOUBLE_EQ(cartX, cart->getX());
    EXPECT_FALSE(room->hasHint());

    // Their boxes meet: the panel shows above him.
    placeHero(1090, 40);
    room->update(20);
    ASSERT_TRUE(room->hasHint());
    GphAnimatedTexture* panel = room->getShownHint()->getPanel()->getAnimatedTexture();
    EXPECT_EQ("t5-5_2.pcx", kovotest::frameFile(panel, 0));
    EXPECT_EQ("objective1-2.pcx", room->getShownHint()->getObjectiveImage());
    room->onCharDown('h');
    room->update(20);
    EXPECT_FALSE(room->hasHint());
    EXPECT_EQ(CharacterStateFlyLeft, scientist->getState());
    room->update(20);
    EXPECT_TRUE(cart->isVisible());
    EXPECT_TRUE(robot->isVisible());
    EXPECT_GT(cart->getX(), cartX);

    // The chair sinks first, then climbs until he is gone above 2400.
    const double start = scientist->getY();
    think(scientist, 20, 5);
    EXPECT_LT(scientist->getY(), start);
    EXPECT_GT(thinkUntilStateChanges(scientist, 20), 0);
    EXPECT_EQ(CharacterStateAsleepRight, scientist->getState());
    EXPECT_GT(scientist->getY(), 2399);
    think(scientist, 20);
    EXPECT_EQ(nullptr, shown(scientist));
    EXPECT_TRUE(cart->isVisible());
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
