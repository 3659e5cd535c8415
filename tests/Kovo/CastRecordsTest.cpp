#include <functional>
#include <string>

#include "CastHarness.h"
#include "Common/CharacterRecord.h"
#include "Kovo/Cart.h"
#include "Kovo/Copter.h"
#include "Kovo/Dozer.h"
#include "Kovo/Drop.h"
#include "Kovo/Giant.h"
#include "Kovo/Goat.h"
#include "Kovo/Gunner.h"
#include "Kovo/Knight.h"
#include "Kovo/Rat.h"
#include "Kovo/Robot.h"
#include "Kovo/Thief1.h"
#include "Kovo/Thief2.h"
#include "Kovo/Thief3.h"
#include "Kovo/Thug.h"
#include "Kovo/Turret.h"
#include "Kovo/Wolf.h"
#include "support/Files.h"

namespace {

typedef std::function<bool(const Character*)> Keeps;

// The two limits of a record, as its actor keeps them.
template <class T>
Keeps limits(double left, double right)
{
    return [=](const Character* c) {
        const T* actor = dynamic_cast<const T*>(c);
        return actor && actor->getLeftLimit() == left && actor->getRightLimit() == right;
    };
}

// A bystander's three pictures.
Keeps texts(const std::string& above, const std::string& below, const std::string& objective)
{
    return [=](const Character* c) {
        std::string a, b, o;
        c->getHintTexts(a, b, o);
        return a == above && b == below && o == objective;
    };
}

class CastRecordsTest : public kovotest::CastTest {};

TEST_F(CastRecordsTest, EveryCharacterCodeBuildsItsActorWithItsRecordsValues)
{
    // One record a code, each at its own x, carrying the item of its code; the values its
    // actor must show.
    const struct {
        int state;
        bool facingLeft;
        const char* values;
        int id;
        Keeps keeps;
    } codes[] = {
        {1, true, "100 900", 0, limits<Wolf>(100, 900)},
        {2, false, "110 910", 0, limits<Thug>(110, 910)},
        {1, true, "120 920", 0, limits<Rat>(120, 920)},
        {1, true, "a.pcx b.pcx c.pcx", 0, texts("a.pcx", "b.pcx", "c.pcx")},
        {2, false, "1", 0, [](const Character* c) { return c->getIdleTurn() == 1; }},
        {6, true, "150 950 31", 31, limits<Robot>(150, 950)},
        {7, false, "160 960 32", 32, limits<Dozer>(160, 960)},
        {1, true, "170 970", 0, limits<Giant>(170, 970)},
        {2, false, "180 980", 0, limits<Goat>(180, 980)},
        {22, true, "", 0, nullptr},
        {7, false, "200 1000 33", 33, limits<Cart>(200, 1000)},
        {15, false, "2700 41", 41, [](const Character* c) {
             return dynamic_cast<const Turret*>(c)->getFireTimer() == 2700;
         }},
        {6, true, "220 1020 42", 42, nullptr},
        {0, true, "", 0, nullptr},
        {1, true, "240 1040", 0, limits<Gunner>(240, 1040)},
        {0, true, "1550 640 900", 0, [](const Character* c) {
             const Drop* drop = dynamic_cast<const Drop*>(c);
             return drop->getStartX() == 1550 && drop->getStartY() == 640 && drop->getWaitTimer() == 900;
         }},
        {1, true, "1 400", 0, [](const Character* c) {
             return c->getIdleTurn() == 1 && c->getSightRange() == 400;
         }},
        {0, true, "270 1070", 0, limits<Knight>(270, 1070)},
        {1, true, "280 1080 48", 48, limits<Thief1>(280, 1080)},
        {2, false, "290 1090", 0, nullptr},
        {1, true, "d.pcx e.pcx f.pcx 0", 0, texts("d.pcx", "e.pcx", "f.pcx")},
        {2, false, "-1 1", 0, [](const Character* c) {
             return dynamic_cast<const Copter*>(c)->getVariant() == 1;
         }},
        {2, false, "320 1120 52", 52, limits<Thief2>(320, 1120)},
        {1, true, "330 1130 53", 53, limits<Thief3>(330, 1130)},
    };
    std::string body = kovotest::floorAt(0, 3000, 40);
    for (int type = 0; type <= CharacterTypeThief3; ++type) {
        body += "<CHARACTER> " + std::to_string(type) + ' ' + std::to_string(100 * type + 50) +
                " 40 " + std::to_string(codes[type].state) + ' ' +
                (codes[type].facingLeft ? "1 " : "0 ") + codes[type].values + ' ' +
                std::to_string(type % 16) + " </CHARACTER>\n";
    }
    const size_t mark = testsupport::logMessages().size();
    makeRoom(body, 3000);
    const std::vector<std::string> messages = testsupport::logMessages();
    for (size_t i = mark; i < messages.size(); ++i)
        EXPECT_EQ(std::string::npos, messages[i].find("not available")) << messages[i];

    ASSERT_EQ(static_cast<size_t>(CharacterTypeThief3 + 1), room->getCharacters().size());
    for (int type = 0; type <= CharacterTypeThief3; ++type) {
        SCOPED_TRACE(type);
        const Character* c = actor(type);
        CharacterRecord record;
        record.type = type;
        EXPECT_EQ(type, c->getType());
        EXPECT_DOUBLE_EQ(100 * type + 50, c->getX());
        EXPECT_DOUBLE_EQ(40, c->getY());
        EXPECT_DOUBLE_EQ(record.depth(), c->getZ());
        EXPECT_EQ(codes[type].state, c->getStartState());
        EXPECT_EQ(codes[type].facingLeft, c->isFacingLeft());
        EXPECT_EQ(type % 16, c->getCarriedItem());
        EXPECT_EQ(codes[type].id, c->getId());
        EXPECT_TRUE(!codes[type].keeps || codes[type].keeps(c));
    }
}

}  // namespace
