#include "Kovo/Platform.h"

#include <string>

#include "Base/App/TaggedText.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Common/Barrier.h"
#include "Common/GameConstants.h"
#include "Kovo/PropFields.h"

namespace {

// Waypoints lie at this depth; only their x and y steer the platform.
constexpr double kWaypointZ = -10.0;

// One step of `step` units along one axis from `from` toward `to`: false, with nothing set,
// when the two are equal. A step that would pass `to` is cut to end there; it is then
// `clamped`, and `leftover` is its signed overshoot.
bool stepAlong(double from, double to, double step, double& delta, double& leftover,
               bool& clamped)
{
    if (from < to) {
        delta = step;
        if (from + step > to) {
            leftover = step - (to - from);
            delta = to - from;
            clamped = true;
        }
    } else if (from > to) {
        delta = -step;
        if (from - step < to) {
            leftover = -step - (to - from);
            delta = to - from;
            clamped = true;
        }
    } else {
        return false;
    }
    return true;
}

}  // namespace

Platform::Platform(Map* owner)
    : _owner(owner),
      _floor(nullptr),
      _ceiling(nullptr),
      _picture(nullptr),
      _current(_waypoints.end()),
      _looping(false),
      _one_way(false),
      _bridge(false)
{
}

Platform::~Platform()
{
    PropFields::deletePicture(*this, _picture);
}

int Platform::read(std::istream& in)
{
    const int result = TaggedText::readBlock(in, "</PLATFORM>", [&](const std::string& tag) {
        if (tag == "<ANIMATION>") {
            GphAnimatedTexture* animation = nullptr;
            if (PropFields::readAnimation(in, _owner, animation) != 0) return -1;
            animation->setMillisecondsPerFrame(GameConstants::platformFrameTime);
            PropFields::replacePicture(*this, _picture, animation, GameConstants::zPlatform, true);
            return 0;
        }
        if (tag == "<LOCATION>") {
            const double z = _bridge ? GameConstants::zBridge : GameConstants::zPlatform;
            return PropFields::readLocation(in, *this, _picture, z);
        }
        if (tag == "<ACTIVE>") {
            bool active = _visible;
            if (TaggedText::readValue(in, active) != 0) return -1;
            setVisible(active);
            return 0;
        }
        if (tag == "<BRIDGE>") {
            bool bridge = _bridge;
            if (TaggedText::readValue(in, bridge) != 0) return -1;
            setBridge(bridge);
            return 0;
        }
        if (tag == "<LOOPING>") return TaggedText::readValue(in, _looping);
        if (tag == "<ONE_WAY>") return TaggedText::readValue(in, _one_way);
        if (tag == "<VELOCITY>") {
            // The speed is the same for every platform.
            int ignored = 0;
            return TaggedText::readValue(in, ignored);
        }
        if (tag == "<FLOOR>") return PropFields::readBarrier(in, _floor);
        if (tag == "<CEILING>") return PropFields::readBarrier(in, _ceiling);
        if (tag == "<WAYPOINTS>") {
            int count = 0;
            if (!(in >> count)) return -1;
            for (int i = 0; i < count; ++i) {
                int x, y;
                if (!(in >> x >> y)) return -1;
                _waypoints.push_back(ShpCoord(x, y, kWaypointZ));
            }
            _current = _waypoints.begin();
            std::string closing;
            return TaggedText::readToken(in, closing) ? 0 : -1;
        }
        if (tag == "<INIT2>") {
            int second = 0;
            if (TaggedText::readValue(in, second) != 0) return -1;
            if (second != 0 && _waypoints.size() > 1) _current = std::next(_waypoints.begin());
            return 0;
        }
        if (tag == "<ID>") return PropFields::readId(in, *this);
        return TaggedText::kUnknownTag;
    });
    if (result != 0) {
        // The room keeps nothing of a platform that failed, and the platform never deletes
        // barriers that the room has filed: the ones read here go now.
        delete _floor;
        _floor = nullptr;
        delete _ceiling;
        _ceiling = nullptr;
    }
    return result;
}

void Platform::updateAnimation(unsigned ms)
{
    GphAnimatedTexture::advance(_picture ? _picture->getAnimatedTexture() : nullptr, ms);
}

void Platform::shift(double dx, double dy)
{
    move(dx, dy, 0);
    if (_floor) _floor->move(dx, dy);
    if (_ceiling) _ceiling->move(dx, dy);
}

void Platform::approach(double seconds, double& leftover)
{
    const double step = GameConstants::platformSpeed * seconds;
    const double tx = _current->getX();
    const double ty = _current->getY();
    double dx = 0;
    double dy = 0;
    leftover = 0;
    bool clampedX = false;
    bool clampedY = false;
    // Never diagonally: y only once x is reached.
    if (!stepAlong(_x, tx, step, dx, leftover, clampedX))
        stepAlong(_y, ty, step, dy, leftover, clampedY);
    shift(dx, dy);
    // A clamped step ends exactly on the waypoint, whatever the rounding of x + (tx - x):
    // arrival is tested for equality.
    if (clampedX) _x = tx;
    if (clampedY) _y = ty;
    if (clampedX || clampedY) placeGraphic();
}

void Platform::update(double seconds)
{
    if (!_visible) {
        // An inactive one-way bridge retracts to its first waypoint and rests there.
        if (_one_way && _bridge && !_waypoints.empty()) {
            _current = _waypoints.begin();
            double leftover;
            approach(seconds, leftover);
            return;
        }
        // A switched-off platform stands still, so it carries nothing: the move its barriers
        // recorded last would otherwise slide whoever stands on it along every frame.
        shift(0, 0);
        return;
    }
    if (_current == _waypoints.end()) {
        // Nothing is carried by a platform at rest.
        shift(0, 0);
        return;
    }
    double leftover = 0;
    approach(seconds, leftover);
    if (_x != _current->getX() || _y != _current->getY()) return;

    ++_current;
    if (_current != _waypoints.end() || _one_way) return;
    _current = _waypoints.begin();
    if (_looping) {
        double dx = _current->getX() - _x;
        double dy = _current->getY() - _y;
        if (dx != 0)
            dx += leftover;
        else if (dy != 0)
            dy += leftover;
        shift(dx, dy);
        ++_current;
    }
}

void Platform::setBridge(bool bridge)
{
    _bridge = bridge;
    setZ(bridge ? GameConstants::zBridge : GameConstants::zPlatform);
}

void Platform::setWaypoints(const WaypointList& waypoints)
{
    _waypoints = waypoints;
    _current = _waypoints.end();
}

void Platform::addWaypoint(const ShpCoord& waypoint)
{
    _waypoints.push_back(waypoint);
}

void Platform::removeWaypoint(const ShpCoord& waypoint)
{
    for (WaypointList::iterator it = _waypoints.begin(); it != _waypoints.end(); ++it) {
        if (*it == waypoint) {
            const bool wasCurrent = _current == it;
            WaypointList::iterator next = _waypoints.erase(it);
            if (wasCurrent) _current = next;
            return;
        }
    }
}

int Platform::writeState(std::ostream& out)
{
    out << "<PLATFORM> ";
    if (_current != _waypoints.end()) {
        out << "1 ";
        ShpCoord current = *_current;
        current.write(out);
    } else {
        out << "0 ";
    }
    const int result = Sprite::writeState(out);
    if (result == 0) out << "</PLATFORM>\n";
    return result;
}

int Platform::readState(std::istream& in)
{
    bool heading = false;
    if (!(in >> heading)) return -1;
    WaypointList::iterator current = _waypoints.end();
    if (heading) {
        std::string opening;
        if (!TaggedText::readToken(in, opening)) return -1;
        ShpCoord saved;
        if (saved.read(in) != 0) return -1;
        for (WaypointList::iterator it = _waypoints.begin(); it != _waypoints.end(); ++it) {
            if (*it == saved) {
                current = it;
                break;
            }
        }
    }
    std::string token;
    if (!TaggedText::readToken(in, token)) return -1;
    const int result = Sprite::readState(in);
    if (result != 0) return result;
    _current = current;
    // The sprite line squares the picture; the platform is drawn at its own size.
    PropFields::fitPicture(_picture, *this);
    return TaggedText::readToken(in, token) ? 0 : -1;
}
