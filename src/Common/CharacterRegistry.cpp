#include "Common/CharacterRegistry.h"

#include "Kovo/Thug.h"

namespace {

constexpr CharacterClass kClasses[] = {
    {CharacterTypeWolf, "Wolf", nullptr},
    {CharacterTypeThug, "Thug", &Thug::build},
    {CharacterTypeRat, "Rat", nullptr},
    {CharacterTypeAgent, "Agent", nullptr},
    {CharacterTypeKnifeThrower, "KnifeThrower", nullptr},
    {CharacterTypeRobot, "Robot", nullptr},
    {CharacterTypeDozer, "Dozer", nullptr},
    {CharacterTypeGiant, "Giant", nullptr},
    {CharacterTypeGoat, "Goat", nullptr},
    {CharacterTypeBird, "Bird", nullptr},
    {CharacterTypeCart, "Cart", nullptr},
    {CharacterTypeTurret, "Turret", nullptr},
    {CharacterTypeBuzzooka, "Buzzooka", nullptr},
    {CharacterTypeIcicle, "Icicle", nullptr},
    {CharacterTypeGunner, "Gunner", nullptr},
    {CharacterTypeDrop, "Drop", nullptr},
    {CharacterTypeBombshelle, "Bombshelle", nullptr},
    {CharacterTypeKnight, "Knight", nullptr},
    {CharacterTypeThief1, "Thief1", nullptr},
    {CharacterTypeEgo1, "Ego1", nullptr},
    {CharacterTypeEgo2, "Ego2", nullptr},
    {CharacterTypeCopter, "Copter", nullptr},
    {CharacterTypeThief2, "Thief2", nullptr},
    {CharacterTypeThief3, "Thief3", nullptr},
};

constexpr int kClassCount = static_cast<int>(sizeof(kClasses) / sizeof(kClasses[0]));

// The table is indexed by type: row i must be type i.
constexpr bool inTypeOrder()
{
    for (int i = 0; i < kClassCount; ++i)
        if (kClasses[i].type != i) return false;
    return true;
}
static_assert(inTypeOrder(), "one row per CharacterType, in type order");
static_assert(kClassCount == CharacterTypeThief3 + 1, "a row for every CharacterType");

}  // namespace

const CharacterClass* CharacterRegistry::find(int type)
{
    if (type < 0 || type >= kClassCount) return nullptr;
    return &kClasses[type];
}
