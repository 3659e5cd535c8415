#include "Common/MapFactory.h"

#include <set>

#include "Base/App/Log.h"
#include "Common/CharacterRegistry.h"
#include "Kovo/Armor.h"
#include "Kovo/Diamond.h"
#include "Kovo/ExtraLife.h"
#include "Kovo/Grenade.h"
#include "Kovo/GrenadeLauncher.h"
#include "Kovo/Health.h"
#include "Kovo/Hint.h"
#include "Kovo/Phone.h"
#include "Kovo/Shoes.h"
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
    const CharacterClass* actorClass = CharacterRegistry::find(record.type);
    if (!actorClass) return nullptr;
    // The actor classes are built as they join the game; until then a record is read and
    // dropped.
    if (!actorClass->build) {
        reportMissing(std::string("Character ") + actorClass->name);
        return nullptr;
    }
    return actorClass->build(map, player, record);
}
