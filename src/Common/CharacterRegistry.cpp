#include "Common/CharacterRegistry.h"

#include "Kovo/Agent.h"
#include "Kovo/Bird.h"
#include "Kovo/Bombshelle.h"
#include "Kovo/Buzzooka.h"
#include "Kovo/Cart.h"
#include "Kovo/Copter.h"
#include "Kovo/Dozer.h"
#include "Kovo/Drop.h"
#include "Kovo/Ego1.h"
#include "Kovo/Ego2.h"
#include "Kovo/Giant.h"
#include "Kovo/Goat.h"
#include "Kovo/Gunner.h"
#include "Kovo/Icicle.h"
#include "Kovo/KnifeThrower.h"
#include "Kovo/Knight.h"
#include "Kovo/Rat.h"
#include "Kovo/Robot.h"
#include "Kovo/Thief1.h"
#include "Kovo/Thief2.h"
#include "Kovo/Thief3.h"
#include "Kovo/Thug.h"
#include "Kovo/Turret.h"
#include "Kovo/Wolf.h"

namespace {

constexpr CharacterClass kClasses[] = {
    {CharacterTypeWolf, "Wolf", &Walker::build<Wolf>},
    {CharacterTypeThug, "Thug", &Walker::build<Thug>},
    {CharacterTypeRat, "Rat", &Walker::build<Rat>},
    {CharacterTypeAgent, "Agent", &Agent::build},
    {CharacterTypeKnifeThrower, "KnifeThrower", &KnifeThrower::build},
    {CharacterTypeRobot, "Robot", &Walker::build<Robot>},
    {CharacterTypeDozer, "Dozer", &Walker::build<Dozer>},
    {CharacterTypeGiant, "Giant", &Walker::build<Giant>},
    {CharacterTypeGoat, "Goat", &Walker::build<Goat>},
    {CharacterTypeBird, "Bird", &Bird::build},
    {CharacterTypeCart, "Cart", &Walker::build<Cart>},
    {CharacterTypeTurret, "Turret", &Turret::build},
    {CharacterTypeBuzzooka, "Buzzooka", &Walker::build<Buzzooka>},
    {CharacterTypeIcicle, "Icicle", &Icicle::build},
    {CharacterTypeGunner, "Gunner", &Walker::build<Gunner>},
    {CharacterTypeDrop, "Drop", &Drop::build},
    {CharacterTypeBombshelle, "Bombshelle", &Bombshelle::build},
    {CharacterTypeKnight, "Knight", &Walker::build<Knight>},
    {CharacterTypeThief1, "Thief1", &Walker::build<Thief1>},
    {CharacterTypeEgo1, "Ego1", &Walker::build<Ego1>},
    {CharacterTypeEgo2, "Ego2", &Ego2::build},
    {CharacterTypeCopter, "Copter", &Copter::build},
    {CharacterTypeThief2, "Thief2", &Walker::build<Thief2>},
    {CharacterTypeThief3, "Thief3", &Walker::build<Thief3>},
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
