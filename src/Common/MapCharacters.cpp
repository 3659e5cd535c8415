// Characters in the frame step: their think, requests, pushes and touches, hints,
// reactions and the shots they fire.

#include "Common/Map.h"

#include <cstdlib>
#include <string>

#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphParticleSystem.h"
#include "Common/Barrier.h"
#include "Common/GameConstants.h"
#include "Common/ItemRecord.h"
#include "Common/Level.h"
#include "Common/MapFactory.h"
#include "Common/MapInternal.h"
#include "Kovo/Bomb.h"
#include "Kovo/Character.h"
#include "Kovo/Hint.h"
#include "Kovo/Item.h"
#include "Kovo/ItemType.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Player.h"
#include "Kovo/Projectile.h"
#include "Kovo/Reaction.h"
#include "Kovo/Smoke.h"
#include "Kovo/Sparks.h"

using namespace MapInternal;

namespace {

// Shots of guns are this big.
const double kBulletSize = 16.0;

// Two Thugs that meet head on are each thrown this far on.
const double kSlamShift = 20.0;

// Hints that characters give are all but invisible: only their panel shows.
const float kHintItemAlpha = 0.02f;

bool overlapsBox(const Sprite* a, double top, double bottom)
{
    return a->getTop() > bottom && a->getBottom() < top;
}

}  // namespace

void Map::updateCharacters(const HeroBox& hero, unsigned ms, double seconds)
{
    for (Character* character : _characters) {
        character->think(ms, seconds);
        if (Reaction* reaction = character->react()) _reactions.push_back(reaction);
        dropCarriedItem(character);
        takeRequests(character, ms);
        switch (character->getType()) {
        case CharacterTypeThug: slamThugs(character); break;
        case CharacterTypeDozer: shoveWithDozer(character, hero, seconds); break;
        case CharacterTypeCart: knockThugs(character); break;
        default: break;
        }
        if (character->isHarmful())
            touchHero(character, hero);
        else if (character->getType() == CharacterTypeAgent ||
                 character->getType() == CharacterTypeEgo2)
            showCharacterHint(character, hero);
    }
}

void Map::dropCarriedItem(Character* character)
{
    if (!character->isAsleep() || character->getCarriedItem() < 0) return;
    const int code = character->getCarriedItem();
    // Hints, code 8 and launchers are never dropped; the item is spent all the same.
    if (code != ItemTypeHint && code != ItemTypeNone && code < ItemTypeGrenadeLauncher) {
        ItemRecord record(code, 0, 0);
        record.colour = ItemRecord::kGemRed;
        if (Item* item = MapFactory::makeItem(record)) {
            item->setPosition(character->getX(), character->getY(), GameConstants::zItem);
            _uncollectedItems.push_back(item);
            _items.push_back(item);
        }
    }
    character->setCarriedItem(-1);
}

void Map::takeRequests(Character* c, unsigned ms)
{
    const bool left = c->isFacingLeft();
    const double speed = (left ? -1 : 1) * GameConstants::projectileSpeed;
    // A bomb's launch search replays its flight in steps of the frame's time; a frame of no
    // time still searches, in steps of a millisecond.
    const unsigned bombStep = ms > 0 ? ms : 1;
    Projectile* shot = nullptr;
    switch (c->getType()) {
    case CharacterTypeKnifeThrower:
        if (MapFactory::takeThrowRequest(c))
            shot = make<Projectile>(c->getX() + (left ? -40 : 40), c->getY() + 60, 40, 40, speed, 0,
                                  left ? 2000 : -2000, left ? "knifeleft.pcx" : "kniferight.pcx");
        break;
    case CharacterTypeTurret:
        if (MapFactory::takeFireRequest(c))
            shot = make<Projectile>(c->getX() + (left ? -25 : 30), c->getY(), kBulletSize,
                                  kBulletSize, speed, 0, 0, "bullet.pcx");
        break;
    case CharacterTypeBuzzooka:
        if (MapFactory::takeFireRequest(c))
            shot = make<Projectile>(left ? c->getLeft() : c->getRight(), c->getY() + 52,
                                  kBulletSize, kBulletSize, speed, 0, 0, "bullet.pcx");
        break;
    case CharacterTypeGunner:
    case CharacterTypeThief2:
    case CharacterTypeThief3:
        if (MapFactory::takeFireRequest(c))
            shot = make<Projectile>(left ? c->getLeft() : c->getRight(), c->getY() + 63,
                                  kBulletSize, kBulletSize, speed, 0, 0, "bullet.pcx");
        break;
    case CharacterTypeBombshelle:
        if (MapFactory::takeThrowRequest(c))
            shot = make<Bomb>(this, _player, c->getX() + (left ? -40 : 40), c->getY() + 110,
                            bombStep);
        break;
    case CharacterTypeCopter:
        if (MapFactory::takeFireRequest(c)) {
            double gx = c->getX() - 10, gy = c->getY() + 41;
            if (!left) MapFactory::getGunPoint(c, gx, gy);
            _enemyProjectiles.push_back(
                make<Projectile>(gx, gy, kBulletSize, kBulletSize, speed, 0, 0, "bullet.pcx"));
        }
        if (MapFactory::takeBombRequest(c)) {
            const int r = std::rand() % 200;
            Bomb* bomb = make<Bomb>(this, _player, c->getLeft() + 80 + r, c->getY() + 5, bombStep);
            // It drops straight down.
            bomb->setVelocityX(0);
            bomb->setVelocityY(0);
            shot = bomb;
        }
        break;
    case CharacterTypeThief1:
        if (MapFactory::takeDropRequest(c)) {
            Hint* hint = make<Hint>("folder.pcx", "folder.pcx", "t5-5_2.pcx", "", "");
            hint->setPosition(c->getX(), c->getY(), GameConstants::zItem);
            hint->collect(true, false);
            hint->setAlpha(kHintItemAlpha);
            showHint(hint, c->getLeft() - 240, c->getBottom() + 55);
            _transients.push_back(hint);
        }
        break;
    default: break;
    }
    if (shot) _enemyProjectiles.push_back(shot);
}

void Map::slamThugs(Character* a)
{
    for (Character* b : _characters) {
        if (b == a || b->getType() != CharacterTypeThug || !isAwake(b)) continue;
        const bool meets = a->getBottom() < b->getTop() && a->getTop() > b->getBottom();
        if (!meets) continue;
        double aMove = 0;
        if (a->getState() == CharacterStateMoveLeft && b->getState() == CharacterStateMoveRight &&
            b->getX() < a->getX() && a->getX() < b->getRight())
            aMove = -kSlamShift;
        else if (a->getState() == CharacterStateMoveRight &&
                 b->getState() == CharacterStateMoveLeft && b->getLeft() < a->getX() &&
                 a->getX() < b->getX())
            aMove = kSlamShift;
        if (aMove == 0) continue;
        MapFactory::slamWall(a);
        MapFactory::slamWall(b);
        a->move(aMove, 0, 0);
        b->move(-aMove, 0, 0);
    }
}

void Map::knockThugs(Character* machine)
{
    for (Character* thug : _characters) {
        if (thug == machine || thug->getType() != CharacterTypeThug || !isAwake(thug)) continue;
        if (thug->getLeft() < machine->getX() && machine->getX() < thug->getRight() &&
            machine->getBottom() < thug->getTop() && machine->getTop() > thug->getBottom())
            MapFactory::knock(thug, !machine->isFacingLeft());
    }
}

void Map::shoveWithDozer(Character* dozer, const HeroBox& hero, double seconds)
{
    double p = 0;
    if (dozer->getState() == CharacterStateMoveRight) p = dozer->getPushSpeed() * seconds;
    else if (dozer->getState() == CharacterStateMoveLeft) p = -dozer->getPushSpeed() * seconds;

    if (p != 0) {
        const double dxz = dozer->getX();
        for (Obstacle* obstacle : _obstacles) {
            Barrier* wall = obstacle->getWall();
            if (!wall) continue;
            const bool touches = wall->getX1() - 10 < dxz && dxz < wall->getX2() + 13 &&
                                 dozer->getBottom() < wall->getY1() &&
                                 dozer->getTop() > wall->getY2();
            const bool pushingSide =
                (dxz < wall->getX1() && p > 0) || (dxz > wall->getX2() + 3 && p < 0);
            if (!touches || !pushingSide) continue;
            // The first obstacle met decides, pushable or not.
            if (!obstacle->isPushable()) break;
            const double n = obstacle->getX() + p;
            bool blocked = false;
            for (const Barrier* other : _walls) {
                if (other->getX1() < n && n < other->getX2() &&
                    other->getY1() > obstacle->getBottom() + kObstacleFoot &&
                    other->getY2() < obstacle->getTop()) {
                    blocked = true;
                    break;
                }
            }
            for (const Character* c : _characters) {
                if (blocked) break;
                if (c == dozer || !isAwake(c)) continue;
                if (c->getLeft() < n && n < c->getRight() &&
                    c->getTop() > obstacle->getBottom() + kObstacleFoot &&
                    c->getBottom() < obstacle->getTop())
                    blocked = true;
            }
            if (!blocked && !_player->isDying() && hero.left < n && n < hero.right &&
                obstacle->getBottom() + kObstacleFoot < hero.top && wall->getY1() > hero.bottom)
                blocked = true;
            if (blocked) {
                dozer->setState(dozer->getState() == CharacterStateMoveLeft
                                    ? CharacterStateMoveRight
                                    : CharacterStateMoveLeft);
            } else {
                obstacle->setPushed(true);
                obstacle->move(p, 0, 0);
                if (Barrier* floor = obstacle->getFloor()) floor->move(p, 0);
                wall->move(p, 0);
            }
            break;
        }
    }
    knockThugs(dozer);
}

void Map::touchHero(Character* c, const HeroBox& hero)
{
    if (_player->isDying() || !isAwake(c)) return;
    bool hit;
    if (c->getType() == CharacterTypeIcicle || c->getType() == CharacterTypeDrop)
        hit = hero.left + 10 < c->getX() && c->getX() < hero.right - 10 &&
              overlapsBox(c, hero.top, hero.bottom);
    else
        hit = c->getLeft() < hero.x && hero.x < c->getRight() &&
              c->getCollisionTop() > hero.bottom && c->getBottom() < hero.top;
    if (hit) killHero();
}

void Map::showCharacterHint(Character* c, const HeroBox& hero)
{
    if (_player->isDying() || MapFactory::isHintShown(c)) return;
    bool trigger;
    if (c->getType() == CharacterTypeAgent)
        trigger = hero.left < c->getX() && c->getX() < hero.right &&
                  overlapsBox(c, hero.top, hero.bottom);
    else
        trigger = c->getRight() > hero.left && c->getLeft() < hero.right &&
                  overlapsBox(c, hero.top, hero.bottom);
    if (!trigger) return;

    std::string above, below, objective;
    MapFactory::getHintTexts(c, above, below, objective);
    double px = c->getX();
    double py = c->getTop() + kHintPanelLift;
    std::string panel = above;
    GphCamera* cam = camera();
    // A panel that would stick out above the view goes below the character.
    if (cam && py + kHintPanelHalfHeight > cam->getPosition()->getY() + kHalfViewHeight) {
        py = c->getBottom() - kHintPanelLift;
        panel = below;
    }
    Hint* hint = make<Hint>("folder.pcx", "folder.pcx", panel, objective, "");
    hint->setPosition(c->getX(), c->getY(), GameConstants::zItem);
    hint->collect(true, false);
    hint->setAlpha(kHintItemAlpha);
    showHint(hint, px, py);
    _transients.push_back(hint);
    if (!objective.empty() && _level) _level->setObjective(objective);
    MapFactory::setHintShown(c, true);
}

void Map::updateReactions(unsigned ms)
{
    for (auto it = _reactions.begin(); it != _reactions.end();) {
        Reaction* reaction = static_cast<Reaction*>(*it);
        reaction->update(ms);
        if (reaction->isExpired()) {
            delete reaction;
            it = _reactions.erase(it);
        } else {
            ++it;
        }
    }
}

void Map::stunCharacter(Character* character)
{
    character->stun();
    for (auto it = _reactions.begin(); it != _reactions.end();) {
        if (static_cast<Reaction*>(*it)->getOwner() == character) {
            delete *it;
            it = _reactions.erase(it);
        } else {
            ++it;
        }
    }
}

void Map::updateEnemyProjectiles(const HeroBox& hero, unsigned ms, double seconds)
{
    for (auto it = _enemyProjectiles.begin(); it != _enemyProjectiles.end();) {
        Projectile* p = *it;
        p->update(ms, seconds);
        Bomb* bomb = dynamic_cast<Bomb*>(p);
        bool ends = false;
        GphParticleSystem* effect = nullptr;

        if (p->isSpent()) {
            ends = true;
            if (bomb) effect = make<Smoke>(p);
        }
        if (!ends && !_player->isDying() && !p->isFading() && hero.left + 20 < p->getX() &&
            p->getX() < hero.right - 20 && hero.bottom <= p->getY() &&
            p->getY() <= hero.top + 10) {
            if (_armorTime > 0 && !bomb) {
                playSound(p->getSpin() != 0 ? _knifeDeflectionSound : _bulletSound);
                p->rebound();
            } else {
                killHero();
                if (bomb) effect = make<Smoke>(p);
                ends = true;
            }
        }
        if (!ends) {
            for (const Barrier* wall : _walls) {
                if (wall->getX1() < p->getX() && p->getX() < wall->getX2() - 10 &&
                    p->getBottom() < wall->getY1() && p->getTop() > wall->getY2()) {
                    ends = true;
                    break;
                }
            }
            if (!ends) {
                for (const Obstacle* obstacle : _obstacles) {
                    const Barrier* wall = obstacle->getWall();
                    if (wall && wall->getX1() < p->getX() && p->getX() < wall->getX2() &&
                        p->getBottom() < wall->getY1() && p->getTop() > wall->getY2()) {
                        ends = true;
                        break;
                    }
                }
            }
            if (ends) {
                if (bomb) effect = make<Smoke>(p);
                else effect = make<Sparks>(p);
            } else if (p->getX() < 40 || p->getX() > _width + 40) {
                ends = true;
            }
        }
        if (effect) appendEffect(effect);
        if (ends) {
            delete p;
            it = _enemyProjectiles.erase(it);
        } else {
            ++it;
        }
    }
}
