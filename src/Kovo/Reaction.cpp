#include "Kovo/Reaction.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "Kovo/Character.h"
#include "Kovo/ObjectPictures.h"
#include "Kovo/Player.h"

namespace {

const double bubbleLength = 40.0;  // vertical extent
const double bubbleWidth = 80.0;   // horizontal extent
// A maker's bubble pops up this far above its head.
const double kAboveHead = 20.0;

std::string numbered(int number)
{
    char name[32];
    std::snprintf(name, sizeof name, "reaction%02d.pcx", number);
    return name;
}

}  // namespace

Reaction* Reaction::onNotice(Character* owner, const Player* hero, int alertTimer, bool& shown)
{
    if (shown || alertTimer < GameConstants::characterReactThreshold) return nullptr;
    shown = true;
    return new (std::nothrow)
        Reaction(owner, GameConstants::characterTimerPeriod - alertTimer, owner->getX(),
                 owner->getTop() + kAboveHead, hero && hero->isAirborne());
}

std::string Reaction::pictureFor(bool wolf, bool heroAirborne, int draw)
{
    if (wolf) {
        // Draws 1 to 9 give 30 to 38, a draw of 0 the last picture.
        const int n = draw % 10;
        return numbered(n == 0 ? 39 : 29 + n);
    }
    if (heroAirborne) {
        static const int airborne[4] = {12, 6, 7, 11};
        return numbered(airborne[draw % 4]);
    }
    const int n = draw % 10;
    return numbered(n == 0 ? 10 : n);
}

Reaction::Reaction(Character* owner, int duration, double x, double y, bool heroAirborne)
    : Sprite(), _owner(owner), _picture(nullptr), _remaining(duration)
{
    // Exactly one draw per bubble, whichever set it comes from.
    const int draw = std::rand();
    const bool wolf = owner && owner->getType() == CharacterTypeWolf;
    const std::string file = pictureFor(wolf, heroAirborne, draw);

    setPosition(x, y, GameConstants::zBubble);
    setSize(bubbleLength, bubbleWidth);

    GphAnimatedTexture* animation = ObjectPictures::loadAnimation({file});
    const ShpCoord at(x, y, GameConstants::zBubble);
    _picture = new GphRect(bubbleWidth, bubbleLength, &at, animation, GPH_RECT);
    setGraphic(_picture);
    _picture->render();
}

Reaction::~Reaction()
{
    if (_picture) {
        GphAnimatedTexture* animation = _picture->getAnimatedTexture();
        _picture->setAnimatedTexture(nullptr);
        delete animation;
        delete _picture;
        _picture = nullptr;
        setGraphic(nullptr);
    }
}

void Reaction::consumeTime(unsigned ms)
{
    if (_remaining < 1) return;
    // Compared in a wider type: a long frame must not wrap the remaining time around.
    const long long left = static_cast<long long>(_remaining) - ms;
    _remaining = left < 0 ? 0 : static_cast<int>(left);
}

void Reaction::update(unsigned ms)
{
    consumeTime(ms);
}
