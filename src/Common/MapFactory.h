#ifndef KOVO_COMMON_MAPFACTORY_H
#define KOVO_COMMON_MAPFACTORY_H

#include <string>

#include "Common/CharacterRecord.h"
#include "Common/ItemRecord.h"

class Character;
class Item;
class Map;
class Player;

// The one place where the room reader turns item and character records into the game's
// objects.
// Whatever the record, the reader has read it whole before it comes here; a code whose class
// the game does not have builds nothing, and the first such record of a code in a run logs
// that it is not available.
class MapFactory {
public:
    // The item of the record, placed at nothing yet (the room places it); null for a code
    // that builds nothing.
    static Item* makeItem(const ItemRecord& record);

    // The character of the record, built by its class's row of CharacterRegistry; null for
    // a code outside the table or without a class. Every actor is built with (map, player,
    // x, y, record.depth()) and then, by code:
    //   0, 1, 2, 5, 6, 7, 8, 10, 12, 14, 17, 18, 19, 22, 23: a, b, state, facingLeft
    //   3, 20: state, facingLeft, text1, text2, text3
    //   4: state, n, facingLeft;  11: n, state, facingLeft;  16: state, n, range, facingLeft
    //   9: state, facingLeft;  13: nothing more;  15: a, b, c;  21: n, state, facingLeft
    // (a, b and c passed as doubles). The reader gives it its id, links and carried item.
    static Character* makeCharacter(Map* map, Player* player, const CharacterRecord& record);

    // Logs "<what> not available" the first time in the run that `what` is asked for.
    static void reportMissing(const std::string& what);
};

#endif
