#ifndef KOVO_COMMON_MAPFACTORY_H
#define KOVO_COMMON_MAPFACTORY_H

#include <istream>
#include <list>
#include <string>

#include "Common/CharacterRecord.h"
#include "Common/ItemRecord.h"

class Character;
class Item;
class Map;
class Player;
class Sprite;
class Switch;

// The one place where the room reader turns item and character records into the game's
// objects, and through which the room reaches what only a particular actor class does.
// Whatever the record, the reader has read it whole before it comes here; a code whose class
// the game does not have builds nothing, and the first such record of a code in a run logs
// that it is not available.
class MapFactory {
public:
    // The item of the record, placed at nothing yet (the room places it); null for a code
    // that builds nothing.
    static Item* makeItem(const ItemRecord& record);

    // The character of the record; null for a code outside the table or without a class.
    // Every actor is built with (map, player, x, y, record.depth()) and then, by code:
    //   0, 1, 2, 5, 6, 7, 8, 10, 12, 14, 17, 18, 19, 22, 23: a, b, state, facingLeft
    //   3, 20: state, facingLeft, text1, text2, text3
    //   4: state, n, facingLeft;  11: n, state, facingLeft;  16: state, n, range, facingLeft
    //   9: state, facingLeft;  13: nothing more;  15: a, b, c;  21: n, state, facingLeft
    // (a, b and c passed as doubles). The reader gives it its id, links and carried item.
    static Character* makeCharacter(Map* map, Player* player, const CharacterRecord& record);

    // What only some actor classes do.
    // The off switch of robots, dozers and buzzookas (phone time); others have none.
    static void setOff(Character* character, bool off);
    // The switch a Thief1 toggles when it runs away; other characters take none.
    static void setSwitch(Character* character, Switch* toggled);
    // The sprites an Ego2 or a Copter holds back; other characters take none.
    static void setLinkedSprites(Character* character, const std::list<Sprite*>& sprites);

    // The one-shot requests an actor raises in its think, each answered once and cleared:
    // the throw of a KnifeThrower or a Bombshelle; the shot of a Turret, Buzzooka, Gunner,
    // Copter, Thief2 or Thief3; a Copter's bomb; a Thief1's dropped folder. False for actors
    // that raise no such request.
    static bool takeThrowRequest(Character* character);
    static bool takeFireRequest(Character* character);
    static bool takeBombRequest(Character* character);
    static bool takeDropRequest(Character* character);
    // A Copter's gun muzzle; other actors answer their own position.
    static void getGunPoint(const Character* character, double& x, double& y);
    // A Thug's head-on slam and its knock by a machine (toRight: the way it flies); nothing
    // for other actors.
    static void slamWall(Character* character);
    static void knock(Character* character, bool toRight);
    // The hint of an Agent or an Ego2: the panel shown above, the one shown below and the
    // objective picture; false for actors without a hint.
    static bool getHintTexts(const Character* character, std::string& above, std::string& below,
                             std::string& objective);
    // Whether the hint of an Agent or an Ego2 has been shown; true for every other actor.
    static bool isHintShown(const Character* character);
    static void setHintShown(Character* character, bool shown);

    // Logs "<what> not available" the first time in the run that `what` is asked for.
    static void reportMissing(const std::string& what);
};

#endif
