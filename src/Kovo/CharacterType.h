#ifndef KOVO_KOVO_CHARACTERTYPE_H
#define KOVO_KOVO_CHARACTERTYPE_H

// The type code of a character, one class each; it is also the code of a character record in
// a map file, and every class's constructor hands its own code to the Character base.
typedef int CharacterType;
enum : CharacterType {
    CharacterTypeWolf = 0,
    CharacterTypeThug = 1,
    CharacterTypeRat = 2,
    CharacterTypeAgent = 3,
    CharacterTypeKnifeThrower = 4,
    CharacterTypeRobot = 5,
    CharacterTypeDozer = 6,
    CharacterTypeGiant = 7,
    CharacterTypeGoat = 8,
    CharacterTypeBird = 9,
    CharacterTypeCart = 10,
    CharacterTypeTurret = 11,
    CharacterTypeBuzzooka = 12,
    CharacterTypeIcicle = 13,
    CharacterTypeGunner = 14,
    CharacterTypeDrop = 15,
    CharacterTypeBombshelle = 16,
    CharacterTypeKnight = 17,
    CharacterTypeThief1 = 18,
    CharacterTypeEgo1 = 19,
    CharacterTypeEgo2 = 20,
    CharacterTypeCopter = 21,
    CharacterTypeThief2 = 22,
    CharacterTypeThief3 = 23
};

#endif
