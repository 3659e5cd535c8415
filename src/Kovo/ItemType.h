#ifndef KOVO_KOVO_ITEMTYPE_H
#define KOVO_KOVO_ITEMTYPE_H

// The type code of a collectible; it is also the code of an item record in a map file and of
// the item a character carries. Code 8 names no class: a record of it builds nothing.
typedef int ItemType;
enum : ItemType {
    ItemTypeCoin = 0,
    ItemTypeMoney = 1,
    ItemTypeMoneyBag = 2,
    ItemTypeRing = 3,
    ItemTypeGem = 4,
    ItemTypeCreditCard = 5,
    ItemTypeHint = 6,
    ItemTypeGrenade = 7,
    ItemTypeNone = 8,
    ItemTypeExtraLife = 9,
    ItemTypeHealth = 10,
    ItemTypeXRayGlasses = 11,
    ItemTypeArmor = 12,
    ItemTypeDiamond = 13,
    ItemTypeShoes = 14,
    ItemTypePhone = 15,
    ItemTypeGrenadeLauncher = 16
};

#endif
