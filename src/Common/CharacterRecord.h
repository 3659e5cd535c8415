#ifndef KOVO_COMMON_CHARACTERRECORD_H
#define KOVO_COMMON_CHARACTERRECORD_H

#include <istream>
#include <string>
#include <vector>

// One "<CHARACTER>" record of a room block: type code, position, start state, facing, the
// extra operands of the type and the item the character carries. A record is always read
// whole, whatever its code, so that the stream stays in step; MapFactory builds the character
// from it.
//
// Extras by type code (numbers are ints unless noted):
//   0 Wolf, 1 Thug, 2 Rat, 7 Giant, 8 Goat, 14 Gunner, 17 Knight, 19 Ego1: a b
//   5 Robot, 6 Dozer, 10 Cart, 12 Buzzooka, 18 Thief1, 22 Thief2, 23 Thief3: a b id
//   3 Agent: three names; 20 Ego2: three names, a count and that many ids
//   4 KnifeThrower: n; 11 Turret: n id; 16 Bombshelle: n and a double range
//   15 Drop: a b c; 21 Copter: link id, n (the look variant); 9 Bird, 13 Icicle: none
// Any other code reads no extras, builds nothing and ignores its carried item.
struct CharacterRecord {
    static constexpr int kFirstType = 0;
    static constexpr int kLastType = 23;
    // An Ego2 record naming more linked ids than this is taken as malformed.
    static constexpr int kMaxLinkIds = 1024;

    int type;
    int x;
    int y;
    int state;
    bool facingLeft;
    // Two numbers (limits of a walk, two x positions) and, for a Drop, a third: start x,
    // start y and first wait. Constructors take them as doubles.
    int a;
    int b;
    int c;
    // The int extra: a KnifeThrower's or Bombshelle's idle turn, a Turret's first fire
    // timer, a Copter's look variant.
    int n;
    // A Bombshelle's sight range.
    double range;
    // The sprite id of the types that carry one (see hasId).
    int id;
    // A Copter's link id.
    int linkId;
    // Agent and Ego2: the panel shown above, the panel shown below, the objective picture.
    std::string text1;
    std::string text2;
    std::string text3;
    // Ego2: the ids of the sprites it keeps hidden until its hint has shown.
    std::vector<int> linkIds;
    // An ItemType dropped when the character falls asleep; -1 for none.
    int carriedItem;

    CharacterRecord();

    // Everything between "<CHARACTER>" and the closing token, carried item included; the
    // closing token is left to the caller. 0, or -1 when the stream ends, a value does not
    // parse or an Ego2 names a negative or excessive count of ids.
    int read(std::istream& in);

    // True for the codes that have a class.
    bool isKnownType() const { return type >= kFirstType && type <= kLastType; }
    // True for the types whose record carries a sprite id (5, 6, 10, 11, 12, 18, 22, 23).
    bool hasId() const;
    // Draw depth: Agents and Turrets stand behind the other actors.
    double depth() const;
    // The ids of the sprites the record links its character to: an Ego2's list, a
    // Copter's link id; none for the others.
    std::vector<int> linkedSpriteIds() const;
    // An Ego2 joins the room's actors before its linked sprites are gathered, the others
    // after.
    bool joinsBeforeLinking() const;
};

#endif
