#include "Common/MapFactory.h"

#include <set>

#include "Base/App/Log.h"
#include "Kovo/Armor.h"
#include "Kovo/Character.h"
#include "Kovo/Diamond.h"
#include "Kovo/ExtraLife.h"
#include "Kovo/Grenade.h"
#include "Kovo/GrenadeLauncher.h"
#include "Kovo/Health.h"
#include "Kovo/Hint.h"
#include "Kovo/Phone.h"
#include "Kovo/Shoes.h"
#include "Kovo/Thug.h"
#include "Kovo/Treasure.h"
#include "Kovo/XRayGlasses.h"

void MapFactory::reportMissing(const std::string& what)
{
    static std::set<std::string> reported;
    if (reported.insert(what).second) LOG(what << " not available");
}

Item* MapFactory::makeItem(const ItemRecord& record)
{
    std::string image, popup, sound;
    int value = 0;
    if (!record.describe(image, popup, sound, value)) return nullptr;
    switch (record.type) {
    case 0: case 1: case 2: case 3: case 4: case 5:
        return new Treasure(record.type, image, popup, sound, value);
    case 6: return new Hint(image, popup, record.panelImage, record.objectiveImage, sound);
    case 7: return new Grenade(image, popup, sound);
    case 9: return new ExtraLife(image, popup, sound);
    case 10: return new Health(image, popup, sound);
    case 11: return new XRayGlasses(image, popup, sound, value);
    case 12: return new Armor(image, popup, sound, value);
    case 13: return new Diamond(image, popup, sound, value);
    case 14: return new Shoes(image, popup, sound, value);
    case 15: return new Phone(image, popup, sound, value);
    case 16: return new GrenadeLauncher(image, popup, sound, value);
    default: return nullptr;
    }
}

Character* MapFactory::makeCharacter(Map* map, Player* player, const CharacterRecord& record)
{
    if (!record.isKnownType()) return nullptr;
    const double x = record.x;
    const double y = record.y;
    const double z = record.depth();
    switch (record.type) {
    case CharacterTypeThug:
        return new Thug(map, player, x, y, z, record.a, record.b, record.state, record.facingLeft);
    default: break;
    }
    static const char* const names[CharacterRecord::kLastType + 1] = {
        "Wolf", "Thug", "Rat", "Agent", "KnifeThrower", "Robot", "Dozer", "Giant",
        "Goat", "Bird", "Cart", "Turret", "Buzzooka", "Icicle", "Gunner", "Drop",
        "Bombshelle", "Knight", "Thief1", "Ego1", "Ego2", "Copter", "Thief2", "Thief3"};
    // The actor classes are built here as they join the game; until then a record is
    // read and dropped.
    reportMissing(std::string("Character ") + names[record.type]);
    return nullptr;
}
