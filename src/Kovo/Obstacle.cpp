#include "Kovo/Obstacle.h"

#include <string>

#include "Base/App/Log.h"
#include "Base/App/TaggedText.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Common/Barrier.h"
#include "Kovo/PropFields.h"

namespace {

// Obstacles stand in front of the walking characters.
constexpr double kDepth = -10.0;

}  // namespace

Obstacle::Obstacle(Map* owner)
    : _owner(owner),
      _floor(nullptr),
      _wall(nullptr),
      _picture(nullptr),
      _pushable(false),
      _second_property(false),
      _third_property(0),
      _fourth_property(false),
      _pushed(false),
      _spare(0),
      _vertical_speed(0.0),
      _push_sound(nullptr),
      _crash_sound(nullptr),
      _fall_sound(nullptr)
{
}

Obstacle::~Obstacle()
{
    SndSoundEffect::release(_fall_sound);
    SndSoundEffect::release(_crash_sound);
    SndSoundEffect::release(_push_sound);
    PropFields::deletePicture(*this, _picture);
    delete _wall;
}

void Obstacle::setWall(Barrier* wall)
{
    if (wall != _wall) delete _wall;
    _wall = wall;
}

int Obstacle::readSound(std::istream& in, SndSoundEffect*& slot)
{
    std::string fileName;
    if (TaggedText::readValue(in, fileName) != 0) return -1;
    SndSoundEffect::release(slot);
    slot = SndSoundEffect::create(fileName);
    return 0;
}

int Obstacle::read(std::istream& in)
{
    int result = TaggedText::readBlock(in, "</OBSTACLE>", [&](const std::string& tag) {
        if (tag == "<ANIMATION>") {
            GphAnimatedTexture* animation = nullptr;
            if (PropFields::readAnimation(in, _owner, animation) != 0) return -1;
            PropFields::replacePicture(*this, _picture, animation, kDepth, true);
            return 0;
        }
        if (tag == "<FALL_SOUND>") return readSound(in, _fall_sound);
        if (tag == "<CRASH_SOUND>") return readSound(in, _crash_sound);
        if (tag == "<PUSH_SOUND>") {
            if (readSound(in, _push_sound) != 0) return -1;
            if (_push_sound) _push_sound->setLooping(true);
            return 0;
        }
        if (tag == "<LOCATION>") return PropFields::readLocation(in, *this, _picture, kDepth);
        if (tag == "<PROPERTIES>") {
            bool pushable, second, fourth;
            int third;
            std::string closing;
            if (!(in >> pushable >> second >> third >> fourth) ||
                !TaggedText::readToken(in, closing))
                return -1;
            _pushable = pushable;
            _second_property = second;
            _third_property = third;
            _fourth_property = fourth;
            return 0;
        }
        if (tag == "<FLOOR>") return PropFields::readBarrier(in, _floor);
        if (tag == "<WALL>") return PropFields::readBarrier(in, _wall);
        return TaggedText::kUnknownTag;
    });
    // The room's collision rules and the saved form both need the two barriers.
    if (result == 0 && (!_floor || !_wall)) {
        LOG("Failed to read obstacle: it needs both a floor and a wall barrier");
        result = -1;
    }
    if (result != 0) {
        // The room keeps nothing of an obstacle that failed, and the floor is not ours to
        // delete once the room has filed it: it goes now.
        delete _floor;
        _floor = nullptr;
    }
    return result;
}

void Obstacle::playFallSound()
{
    SndSoundEffect::playAt(_fall_sound, ShpCoord(_x, _y, 0));
}

void Obstacle::stopFallSound()
{
    if (_fall_sound) _fall_sound->stop();
}

void Obstacle::playCrashSound()
{
    if (!_crash_sound) return;
    stopFallSound();
    SndSoundEffect::playAt(_crash_sound, ShpCoord(_x, _y, 0));
}

void Obstacle::updatePushSound()
{
    if (_push_sound) {
        if (_pushed) {
            const bool onScreen = isOnScreen();
            if (!_push_sound->isPlaying() && onScreen)
                SndSoundEffect::playAt(_push_sound, ShpCoord(_x, _y, 0));
            else if (_push_sound->isPlaying() && !onScreen)
                _push_sound->stop();
        } else if (_push_sound->isPlaying()) {
            _push_sound->stop();
        }
    }
    if (_fall_sound) _fall_sound->setPosition(ShpCoord(_x, _y, 0));
}

int Obstacle::writeState(std::ostream& out)
{
    if (!_floor || !_wall) {
        LOG("Failed to write obstacle: it needs both a floor and a wall barrier");
        return -1;
    }
    out << "<OBSTACLE> " << _third_property << ' ' << _vertical_speed << ' ';
    int result = _floor->writeState(out);
    if (result == 0) result = _wall->writeState(out);
    if (result == 0) result = Sprite::writeState(out);
    if (result == 0) out << "</OBSTACLE>\n";
    return result;
}

int Obstacle::readState(std::istream& in)
{
    if (!_floor || !_wall) {
        LOG("Failed to read obstacle: it needs both a floor and a wall barrier");
        return -1;
    }
    int third;
    double speed;
    if (!(in >> third >> speed)) return -1;
    _third_property = third;
    _vertical_speed = speed;
    std::string token;
    if (!TaggedText::readToken(in, token)) return -1;
    int result = _floor->readState(in);
    if (result != 0) return result;
    if (!TaggedText::readToken(in, token)) return -1;
    result = _wall->readState(in);
    if (result != 0) return result;
    if (!TaggedText::readToken(in, token)) return -1;
    result = Sprite::readState(in);
    if (result != 0) return result;
    // The sprite line squares the picture; the obstacle is drawn at its own size.
    PropFields::fitPicture(_picture, *this);
    return TaggedText::readToken(in, token) ? 0 : -1;
}
