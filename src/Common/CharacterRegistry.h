#ifndef KOVO_COMMON_CHARACTERREGISTRY_H
#define KOVO_COMMON_CHARACTERREGISTRY_H

#include "Kovo/CharacterType.h"

class Character;
class Map;
class Player;
struct CharacterRecord;

// One actor class of the game: its type, its name (written nowhere else) and how it is built
// from its level-file record; no builder while the class is not in the game yet.
struct CharacterClass {
    CharacterType type;
    const char* name;
    Character* (*build)(Map* map, Player* player, const CharacterRecord& record);
};

// Every actor class, one row per CharacterType in type order. The room reader builds an
// actor through its row (MapFactory::makeCharacter); a type without a builder has its
// records read and dropped, and the first one in a run logs "Character <name> not available".
//
// Adding a class: its file pair in src/Kovo (see Character.h for what to write), with
//     static Character* build(Map* map, Player* player, const CharacterRecord& record);
// constructing it with (map, player, record.x, record.y, record.depth()) and the record's
// extras its constructor takes (CharacterRecord says which extras each type code carries),
// and its builder put in its row of CharacterRegistry.cpp; a Walker's builder is
// Walker::build of its class. Nothing else names the class.
class CharacterRegistry {
public:
    // The row of a type code; null outside the table.
    static const CharacterClass* find(int type);
};

#endif
