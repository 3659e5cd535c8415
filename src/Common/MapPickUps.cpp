// Pick-ups and power-ups: collecting items, the x-ray and phone effects, the transient
// sprites and the power-up count-downs.

#include "Common/Map.h"

#include <list>

#include "Base/Gph/GphRect.h"
#include "Common/Layer.h"
#include "Common/Level.h"
#include "Common/MapFactory.h"
#include "Common/MapInternal.h"
#include "Kovo/Armor.h"
#include "Kovo/Character.h"
#include "Kovo/Diamond.h"
#include "Kovo/GrenadeLauncher.h"
#include "Kovo/Hint.h"
#include "Kovo/Item.h"
#include "Kovo/ItemType.h"
#include "Kovo/Phone.h"
#include "Kovo/Player.h"
#include "Kovo/Shoes.h"
#include "Kovo/Treasure.h"
#include "Kovo/XRayGlasses.h"

using namespace MapInternal;

namespace {

// An item's centre must lie this far inside a standing or a moving hero's sides.
const double kStandingReach = 25.0;
const double kMovingReach = 10.0;

void setAlpha(std::list<GphRect*>& list, float alpha)
{
    for (GphRect* rect : list) rect->setAlpha(alpha);
}

}  // namespace

void Map::applyXray(bool on)
{
    if (_foregroundLayer) _foregroundLayer->setTranslucent(on);
    const float alpha = on ? 0.5f : 1.0f;
    setAlpha(_foregroundObjects, alpha);
    setAlpha(_layerObjects[7], alpha);
    setAlpha(_layerObjects[8], alpha);
}

void Map::setOffMachines(bool off)
{
    for (Character* character : _characters) character->setOff(off);
}

void Map::updateTransients(double seconds)
{
    for (Item* item : _transients) item->update(seconds);
}

void Map::pickUpItems(const HeroBox& hero, double seconds)
{
    if (_uncollectedItems.empty() || _player->isDying()) return;
    const int state = _player->getState();
    const double m = state == CharacterStateStandLeft || state == CharacterStateStandRight
                         ? kStandingReach
                         : kMovingReach;
    for (auto it = _uncollectedItems.begin(); it != _uncollectedItems.end();) {
        Item* item = *it;
        item->update(seconds);
        const double ix = item->getX();
        const double iy = item->getY();
        if (hero.left <= ix - m && ix + m <= hero.right && hero.bottom <= iy + 10 &&
            iy - 10 <= hero.top) {
            item->collect(true, true);
            applyPickUp(item, hero);
            _transients.push_back(item);
            it = _uncollectedItems.erase(it);
        } else {
            ++it;
        }
    }
}

void Map::applyPickUp(Item* item, const HeroBox& hero)
{
    const int type = item->getType();
    switch (type) {
    case 0: case 1: case 2: case 3: case 4: case 5:
        _player->addScore(static_cast<Treasure*>(item)->getPoints());
        if (_level) _level->objectiveFound();
        break;
    case ItemTypeHint: {
        Hint* hint = static_cast<Hint*>(item);
        showHint(hint, hero.x, hero.top + kHintPanelLift);
        if (!hint->getObjectiveImage().empty() && _level)
            _level->setObjective(hint->getObjectiveImage());
        break;
    }
    case ItemTypeGrenade: _player->addGrenades(1); break;
    case ItemTypeExtraLife: _player->incLives(); break;
    case ItemTypeHealth: _player->addHealth(1); break;
    case ItemTypeXRayGlasses:
        _xrayTime = static_cast<XRayGlasses*>(item)->getDuration();
        applyXray(true);
        break;
    case ItemTypeArmor: _armorTime = static_cast<Armor*>(item)->getDuration(); break;
    case ItemTypeDiamond:
        _player->addScore(static_cast<Diamond*>(item)->getValue());
        _player->clearInput();
        clearInput();
        _player->loseEquipment();
        if (_level) _level->stopMusic();
        _exitCode = 1;
        _exitTimer = 1;
        break;
    case ItemTypeShoes:
        _shoesTime = static_cast<Shoes*>(item)->getDuration();
        _player->setSuperShoes(true);
        break;
    case ItemTypePhone:
        _phoneTime = static_cast<Phone*>(item)->getDuration();
        setOffMachines(true);
        break;
    case ItemTypeGrenadeLauncher:
        _launcherTime = static_cast<GrenadeLauncher*>(item)->getDuration();
        _player->setLauncher(true);
        break;
    default: break;
    }
}

void Map::countDownPowerUps(unsigned ms)
{
    const int elapsed = static_cast<int>(ms);
    if (_shoesTime > 0 && (_shoesTime -= elapsed) <= 0) {
        _player->setSuperShoes(false);
        _shoesTime = 0;
        playSound(_xrayOffSound);
    }
    if (_phoneTime > 0 && (_phoneTime -= elapsed) <= 0) {
        setOffMachines(false);
        _phoneTime = 0;
        playSound(_robotOnSound);
    }
    if (_xrayTime > 0 && (_xrayTime -= elapsed) <= 0) {
        applyXray(false);
        _xrayTime = 0;
        playSound(_xrayOffSound);
    }
    if (_armorTime > 0 && (_armorTime -= elapsed) <= 0) playSound(_xrayOffSound);
    if (_launcherTime > 0 && (_launcherTime -= elapsed) <= 0) {
        _player->setLauncher(false);
        playSound(_xrayOffSound);
    }
}
