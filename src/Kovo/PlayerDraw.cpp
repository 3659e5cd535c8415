#include "Kovo/Player.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "Kovo/ObjectPictures.h"
#include "Kovo/PlayerInternal.h"

// What the hero puts up beside his body: the throw meter and the idle pictures.

using namespace PlayerInternal;

namespace {

const int idlePictureCount = 15;
// The throw meter's inner bar, 92 units long, 10 below his feet.
const double meterLength = 92.0;
const double meterBelowFeet = 10.0;
// The idle bubble: 200 units square, its centre 105 above his head (or below his feet when
// its top, 100 above the centre, would leave the view, which reaches 300 above the camera).
const double bubbleSide = 200.0;
const double bubbleOffset = 105.0;
const double bubbleHalf = 100.0;
const double viewHalfHeight = 300.0;

}  // namespace

void Player::deleteIdleBubble()
{
    ObjectPictures::deletePicture(_idle_bubble);
}

void Player::resetIdle()
{
    _idle_pictures.clear();
    for (int i = 0; i < idlePictureCount; ++i) _idle_pictures[i] = true;
    deleteIdleBubble();
    _idle_clock = 0;
}

void Player::drawThrowMeter()
{
    if (_launcher || _state == CharacterStateShootLeft || _state == CharacterStateShootRight ||
        _throw_velocity_x == 0 || _grenades <= 0)
        return;
    const double y = getY() - meterBelowFeet;
    _meter_frame->setCoord(ShpCoord(getX(), y, GameConstants::zThrowMeter));
    _meter_frame->render();

    // The fill grows from the left end of the frame's inner bar as the charge rises.
    const double length =
        (std::fabs(_throw_velocity_x) - minThrowSpeed) / throwSpeedRange * meterLength;
    _meter_fill->setCoord(ShpCoord(getX() - meterLength / 2 + length / 2, y,
                                   GameConstants::zThrowMeterFill));
    _meter_fill->setLength(length);
    _meter_fill->render();
}

void Player::drawIdleBubble()
{
    if (_idle_bubble) _idle_bubble->render();
}

void Player::showIdlePicture()
{
    if (_idle_pictures.empty()) resetIdle();
    int key = 0;
    for (;;) {
        const int candidate = _idle_pictures.size() == static_cast<size_t>(idlePictureCount)
                                  ? 0
                                  : std::rand() % idlePictureCount;
        if (_idle_pictures.count(candidate)) {
            key = candidate;
            break;
        }
    }

    double centreY = getTop() + bubbleOffset;
    bool below = false;
    GphWindow* window = _owner ? _owner->getWindow() : nullptr;
    GphCamera* camera = window ? window->getCamera() : nullptr;
    if (camera && camera->getPosition() &&
        centreY + bubbleHalf > camera->getPosition()->getY() + viewHalfHeight) {
        centreY = getBottom() - bubbleOffset;
        below = true;
    }
    char fileName[32];
    std::snprintf(fileName, sizeof fileName, below ? "idle%02d_2.pcx" : "idle%02d.pcx", key + 1);

    _idle_pictures.erase(key);
    if (_idle_pictures.empty()) resetIdle();

    deleteIdleBubble();
    const ShpCoord centre(getX(), centreY, GameConstants::zBubble);
    _idle_bubble = new GphRect(bubbleSide, bubbleSide, &centre,
                               ObjectPictures::loadAnimation({fileName}), GPH_RECT);
}
