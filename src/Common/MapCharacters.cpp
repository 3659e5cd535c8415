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

// Two brawlers that meet head on are each thrown this far on.
const double kSlamShift = 20.0;

// A falling icicle or drop must be this far inside the hero's sides to hit him.
const double kNarrowContact = 10.0;

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
        // A think of no time is the room entry's reset of an actor; a frame of no time (a
        // redraw) must not be taken for one, so it lasts a millisecond for the actors.
        character->think(ms > 0 ? ms : 1, ms > 0 ? seconds : 0.001);
        if (Reaction* reaction = character->react()) _reactions.push_back(reaction);
        dropCarriedItem(character);
        takeRequests(character, ms);
        if (character->hasTrait(Character::TraitBrawler)) slamBrawlers(character);
        if (character->hasTrait(Character::TraitPusher)) shoveObstacles(character, hero, seconds);
        if (character->hasTrait(Character::TraitKnocksAside)) knockBrawlers(character);
        if (character->isHarmful())
            touchHero(character, hero);
        else
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
    // A bomb's launch search replays its flight in steps of the frame's time; a frame of no
    // time still searches, in steps of a millisecond.
    const unsigned bombStep = ms > 0 ? ms : 1;
    CharacterRequest request;
    while (c->takeRequest(request)) {
        switch (request.kind) {
        case CharacterRequest::Shot:
            _enemyProjectiles.push_back(make<Projectile>(request.x, request.y, request.width,
                                                         request.height, request.speedX, 0,
                                                         request.spin, request.picture));
            break;
        case CharacterRequest::ThrownBomb:
        case CharacterRequest::DroppedBomb: {
            Bomb* bomb = make<Bomb>(this, _player, request.x, request.y, bombStep);
            if (request.kind == CharacterRequest::DroppedBomb) {
                bomb->setVelocityX(0);
                bomb->setVelocityY(0);
            }
            _enemyProjectiles.push_back(bomb);
            break;
        }
        case CharacterRequest::DroppedHint:
            showDroppedHint(c, request.picture, "", request.x, request.y);
            break;
        }
    }
}

void Map::showDroppedHint(Character* c, const std::string& panel, const std::string& objective,
                          double x, double y)
{
    Hint* hint = make<Hint>("folder.pcx", "folder.pcx", panel, objective, "");
    hint->setPosition(c->getX(), c->getY(), GameConstants::zItem);
    hint->collect(true, false);
    hint->setAlpha(kHintItemAlpha);
    showHint(hint, x, y);
    _transients.push_back(hint);
}

void Map::slamBrawlers(Character* a)
{
    for (Character* b : _characters) {
        if (b == a || !b->hasTrait(Character::TraitBrawler) || !isAwake(b)) continue;
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
        a->slamWall();
        b->slamWall();
        a->move(aMove, 0, 0);
        b->move(-aMove, 0, 0);
    }
}

void Map::knockBrawlers(Character* machine)
{
    for (Character* brawler : _characters) {
        if (brawler == machine || !brawler->hasTrait(Character::TraitBrawler) ||
            !isAwake(brawler))
            continue;
        if (brawler->getLeft() < machine->getX() && machine->getX() < brawler->getRight() &&
            machine->getBottom() < brawler->getTop() && machine->getTop() > brawler->getBottom())
            brawler->knock(!machine->isFacingLeft());
    }
}

void Map::shoveObstacles(Character* pusher, const HeroBox& hero, double seconds)
{
    double p = 0;
    if (pusher->getState() == CharacterStateMoveRight) p = pusher->getPushSpeed() * seconds;
    else if (pusher->getState() == CharacterStateMoveLeft) p = -pusher->getPushSpeed() * seconds;

    if (p != 0) {
        const double dxz = pusher->getX();
        for (Obstacle* obstacle : _obstacles) {
            Barrier* wall = obstacle->getWall();
            if (!wall) continue;
            const bool touches = wall->getX1() - 10 < dxz && dxz < wall->getX2() + 13 &&
                                 pusher->getBottom() < wall->getY1() &&
                                 pusher->getTop() > wall->getY2();
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
                if (c == pusher || !isAwake(c)) continue;
                if (c->getLeft() < n && n < c->getRight() &&
                    c->getTop() > obstacle->getBottom() + kObstacleFoot &&
                    c->getBottom() < obstacle->getTop())
                    blocked = true;
            }
            if (!blocked && !_player->isDying() && hero.left < n && n < hero.right &&
                obstacle->getBottom() + kObstacleFoot < hero.top && wall->getY1() > hero.bottom)
                blocked = true;
            if (blocked) {
                pusher->setState(pusher->getState() == CharacterStateMoveLeft
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
}

bool Map::meetsHero(const Character* c, const HeroBox& hero)
{
    const bool across = overlapsBox(c, hero.top, hero.bottom);
    switch (c->getContact()) {
    case Character::ContactCentreWellInside:
        return hero.left + kNarrowContact < c->getX() && c->getX() < hero.right - kNarrowContact &&
               across;
    case Character::ContactCentreInside:
        return hero.left < c->getX() && c->getX() < hero.right && across;
    case Character::ContactBoxes:
        return c->getRight() > hero.left && c->getLeft() < hero.right && across;
    case Character::ContactHeroCentre:
    default:
        return c->getLeft() < hero.x && hero.x < c->getRight() &&
               c->getCollisionTop() > hero.bottom && c->getBottom() < hero.top;
    }
}

void Map::touchHero(Character* c, const HeroBox& hero)
{
    if (_player->isDying() || !isAwake(c)) return;
    if (meetsHero(c, hero)) killHero();
}

void Map::showCharacterHint(Character* c, const HeroBox& hero)
{
    if (_player->isDying() || c->isHintShown()) return;
    if (!meetsHero(c, hero)) return;

    std::string above, below, objective;
    c->getHintTexts(above, below, objective);
    double py = c->getTop() + kHintPanelLift;
    std::string panel = above;
    GphCamera* cam = camera();
    // A panel that would stick out above the view goes below the character.
    if (cam && py + kHintPanelHalfHeight > cam->getPosition()->getY() + kHalfViewHeight) {
        py = c->getBottom() - kHintPanelLift;
        panel = below;
    }
    showDroppedHint(c, panel, objective, c->getX(), py);
    if (!objective.empty() && _level) _level->setObjective(objective);
    c->setHintShown(true);
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
        const bool bomb = p->explodes();
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
