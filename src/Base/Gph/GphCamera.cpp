#include "Base/Gph/GphCamera.h"

#include <cmath>
#include <new>

#include "Base/App/Log.h"
#include "Base/App/Platform.h"
#include "Base/Gph/GphViewport.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"

namespace {

// How far a camera moving at `speed` units per call still goes while it slows down by
// `step` per call: the sum of the speeds left after each slowing, down to the first one
// at or below 0. A step that is not positive (a frame of no time) never slows the camera
// down, so the sum has no end; the caller does not brake then.
double brakingDistance(double speed, double step)
{
    constexpr double kLongestLoop = 100000.0;
    if (speed / step <= kLongestLoop) {
        double t = speed;
        double d = 0.0;
        while (t > 0.0) {
            t -= step;
            d += t;
        }
        return d;
    }
    // Extremely short frames: the same sum in closed form rather than term by term.
    const double n = std::ceil(speed / step);
    return n * speed - step * n * (n + 1.0) / 2.0;
}

}  // namespace

GphCamera::GphCamera()
    : _position(new (std::nothrow) ShpCoord(0.0, 0.0, 0.0)),
      _viewport(nullptr),
      _lastTargetX(0.0),
      _lastTargetY(0.0),
      _lastMoveX(0.0),
      _lastMoveY(0.0),
      _velocity(0.0),
      _fraction(0.0)
{
    if (_position == nullptr) {
        KOVO_NEW_FAILED();
    }
}

GphCamera::~GphCamera()
{
    delete _position;
}

void GphCamera::updateViewportBounds()
{
    if (_viewport != nullptr) _viewport->updateBounds();
}

void GphCamera::move(double dx, double dy, double dz)
{
    _position->translate(dx, dy, dz);
    updateViewportBounds();
}

void GphCamera::setPosition(const ShpCoord& p)
{
    *_position = p;
    _fraction = 0.0;
    updateViewportBounds();
}

void GphCamera::reset()
{
    _position->set(0.0, 0.0, 0.0);
    _lastTargetX = 0.0;
    _lastTargetY = 0.0;
    _lastMoveX = 0.0;
    _lastMoveY = 0.0;
    _velocity = 0.0;
    _fraction = 0.0;
    updateViewportBounds();
}

void GphCamera::track(double targetX, double targetY, double seconds)
{
    // A frame of no time (or a nonsensical one) neither ramps nor brakes: the speed is kept.
    const double step = seconds > 0.0 ? GameConstants::trackRamp * seconds : 0.0;
    const bool canBrake = step > 0.0;

    const double targetMove = targetX - _lastTargetX;
    _lastTargetX = targetX;
    _lastTargetY = targetY;

    const double px = _position->getX();
    const double py = _position->getY();
    double& v = _velocity;
    double& f = _fraction;

    if (px < targetX) {
        const double c = px + f;
        if (v < 0.0) v = 0.0;
        if (v < targetMove) {
            v += step;
            if (v > targetMove) v = targetMove;
        } else if (v > targetMove && canBrake) {
            if (targetX - c < brakingDistance(v, step)) {
                v -= step;
                if (v < step) v = step;
            }
        }
        if (c + v > targetX) v = targetX - c;
    } else if (px > targetX) {
        const double c = px + f;
        if (v > 0.0) v = 0.0;
        if (v > targetMove) {
            v -= step;
            if (v < targetMove) v = targetMove;
        } else if (v < targetMove && canBrake) {
            if (c - targetX < brakingDistance(-v, step)) {
                v += step;
                if (v > -step) v = -step;
            }
        }
        if (c + v < targetX) v = targetX - c;
    } else {
        v = 0.0;
        f = 0.0;
    }

    const double dy = _lastTargetY - py;

    // Whole units move now, the rest is carried to the next call. Taking the integer
    // part at once gives exactly what taking off one unit at a time would.
    const double m = v + f;
    const double whole = std::trunc(m);
    f = m - whole;

    _lastMoveX = whole;
    _lastMoveY = dy;
    move(whole, dy, 0.0);
}
