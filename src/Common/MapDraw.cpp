// Drawing the room in depth order.

#include "Common/Map.h"

#include <GL/gl.h>
#include <list>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphParticleSystem.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphWindow.h"
#include "Common/GameConstants.h"
#include "Common/Layer.h"
#include "Common/MapInternal.h"
#include "Kovo/Character.h"
#include "Kovo/Door.h"
#include "Kovo/Grenade.h"
#include "Kovo/Hammer.h"
#include "Kovo/Hazard.h"
#include "Kovo/Item.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Platform.h"
#include "Kovo/Player.h"
#include "Kovo/Projectile.h"
#include "Kovo/Snow.h"
#include "Kovo/Switch.h"

using namespace MapInternal;

namespace {

template <class T>
void drawAll(const std::list<T*>& list)
{
    for (T* object : list) object->draw();
}

// The background objects drawn in the opaque pass are those showing a decal picture; those
// with another picture go in the transparent pass, those without one in neither.
bool isOpaquePicture(const GphRect* rect, bool& hasPicture)
{
    const GphAnimatedTexture* texture = rect->getAnimatedTexture();
    const GphTexture* frame = texture ? texture->getCurrentTexture() : nullptr;
    hasPicture = frame != nullptr;
    return frame && frame->getMode() == GL_DECAL;
}

}  // namespace

bool Map::drawnBehind(const Character* character)
{
    return character->isAsleep() || character->isIncapacitated() ||
           character->hasTrait(Character::TraitDrawnBehind);
}

void Map::insertSorted(std::list<Sprite*>& list, Sprite* sprite, bool keyIsBottom)
{
    const double key = keyIsBottom ? sprite->getBottom() : sprite->getY();
    for (auto it = list.begin(); it != list.end(); ++it) {
        const Sprite* other = *it;
        if (other->getBottom() >= sprite->getTop()) {
            // Wholly above the new sprite.
            list.insert(it, sprite);
            return;
        }
        if (other->getTop() <= sprite->getBottom()) continue;  // wholly below
        if (other->getLeft() >= sprite->getRight()) {
            list.insert(it, sprite);
            return;
        }
        if (other->getRight() <= sprite->getLeft()) continue;
        const double otherKey = keyIsBottom ? other->getBottom() : other->getY();
        if (otherKey > key || other->getX() > sprite->getX()) {
            list.insert(it, sprite);
            return;
        }
    }
    list.push_back(sprite);
}

void Map::drawSortedList()
{
    std::list<Sprite*> sorted;
    if (_player && !_player->isDying()) sorted.push_back(_player);
    for (Projectile* projectile : _enemyProjectiles) sorted.push_back(projectile);
    for (Obstacle* obstacle : _obstacles) insertSorted(sorted, obstacle, false);
    for (Character* character : _characters)
        if (!drawnBehind(character)) insertSorted(sorted, character, true);
    double z = GameConstants::zMapDraw;
    for (Sprite* sprite : sorted) {
        sprite->setZ(z);
        sprite->draw();
        z -= 1.0;
    }
}

void Map::draw()
{
    GphWindow* window = _owner ? _owner->getWindow() : nullptr;

    if (_player) _player->drawThrowMeter();
    if (_frontSnow) _frontSnow->draw();
    if (_intermediateSnow) _intermediateSnow->draw();
    // Solid foreground tiles go first and fill the depth buffer, hiding what lies behind.
    if (_xrayTime <= 0 && _foregroundLayer) _foregroundLayer->drawOpaque();
    for (GphRect* rect : _backgroundObjects) {
        bool hasPicture;
        if (isOpaquePicture(rect, hasPicture)) rect->draw();
    }
    drawAll(_switches);
    if (_edgeLayer) _edgeLayer->drawOpaque();
    if (_backgroundLayer) _backgroundLayer->drawOpaque();
    if (_backgroundSnow) _backgroundSnow->draw();
    if (_backdrop) _backdrop->draw();

    if (window) window->disableDepthWrite();
    for (int layer = 1; layer <= 7; ++layer)
        for (GphRect* rect : _layerObjects[layer - 1]) rect->draw();
    if (_backgroundLayer) _backgroundLayer->drawTransparent();
    for (Platform* platform : _platforms)
        if (platform->isBridge()) platform->draw();
    if (_edgeLayer) _edgeLayer->drawTransparent();
    drawAll(_doors);
    for (GphRect* rect : _backgroundObjects) {
        bool hasPicture;
        if (!isOpaquePicture(rect, hasPicture) && hasPicture) rect->draw();
    }
    for (Character* character : _characters)
        if (character->isAsleep() || character->hasTrait(Character::TraitDrawnBehind))
            character->draw();
    for (Platform* platform : _platforms)
        if (!platform->isBridge()) platform->draw();
    for (Character* character : _characters)
        if (character->isIncapacitated()) character->draw();
    drawAll(_hammers);
    drawAll(_hazards);
    for (Character* character : _characters) character->drawEffects();
    drawSortedList();
    drawAll(_uncollectedItems);
    drawAll(_grenades);
    drawAll(_effects);
    // While x-ray glasses make the foreground translucent it is drawn over the actors.
    if (_xrayTime > 0 && _foregroundLayer) _foregroundLayer->drawOpaque();
    if (_foregroundLayer) _foregroundLayer->drawTransparent();
    drawAll(_foregroundObjects);
    drawAll(_layerObjects[7]);
    drawAll(_layerObjects[8]);
    drawAll(_transients);
    drawAll(_reactions);
    if (_player) _player->drawIdleBubble();
    if (_player && _player->isDying()) _player->draw();
    if (window) window->enableDepthWrite();
    _inputEnabled = true;
}
