#include "Kovo/Hammer.h"

#include <string>

#include "Base/App/Log.h"
#include "Base/App/TaggedText.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Common/GameConstants.h"
#include "Common/Map.h"
#include "Kovo/Hazard.h"
#include "Kovo/PropFields.h"

Hammer::Hammer(Map* owner)
    : _owner(owner),
      _hazard(nullptr),
      _picture(nullptr),
      _sound(SndSoundEffect::create("crash.wav")),
      _bottom(0.0),
      _top(0.0),
      _vertical_speed(0.0),
      _bounced(false),
      _rising(false)
{
}

Hammer::~Hammer()
{
    SndSoundEffect::release(_sound);
    PropFields::deletePicture(*this, _picture);
}

int Hammer::read(std::istream& in)
{
    int result = TaggedText::readBlock(in, "</HAMMER>", [&](const std::string& tag) {
        if (tag == "<ANIMATION>") {
            GphAnimatedTexture* animation = nullptr;
            if (PropFields::readAnimation(in, _owner, animation) != 0) return -1;
            PropFields::replacePicture(*this, _picture, animation, GameConstants::zHammer, true);
            return 0;
        }
        if (tag == "<LOCATION>") {
            // The box, then the top and bottom lines of its travel.
            double top, bottom;
            if (PropFields::readLocation(in, *this, _picture, GameConstants::zHammer, top,
                                         bottom) != 0)
                return -1;
            _top = top;
            _bottom = bottom;
            return 0;
        }
        if (tag == "<HAZARD>") {
            // Not filed in the room yet, so an earlier hazard of this block is still ours.
            delete _hazard;
            _hazard = new Hazard(_owner);
            if (_hazard->read(in) != 0) {
                LOG("Failed to read hazard");
                delete _hazard;
                _hazard = nullptr;
                return -1;
            }
            return 0;
        }
        if (tag == "<ID>") return PropFields::readId(in, *this);
        return TaggedText::kUnknownTag;
    });
    // The hammer harms only through its hazard, and the saved form has a place for it.
    if (result == 0 && !_hazard) {
        LOG("Failed to read hammer: it needs a hazard");
        result = -1;
    }
    if (result != 0) {
        // The room keeps nothing of a hammer that failed, and the hazard is not ours to
        // delete once the room has filed it: it goes now.
        delete _hazard;
        _hazard = nullptr;
    }
    return result;
}

void Hammer::update(unsigned ms, double seconds)
{
    (void)ms;
    const double gravity = _owner ? _owner->getGravity() : 0.0;
    double dy = 0;
    // Where a clamped step must end; y + (line - y) can miss the line by a rounding error.
    const double* line = nullptr;
    if (!_rising) {
        if ((_y >= _bottom && (_visible || _vertical_speed < 0)) || _bounced) {
            if (_vertical_speed > -GameConstants::maxFallSpeed)
                _vertical_speed -= gravity * seconds;
            dy = _vertical_speed * seconds;
            if (_y + dy <= _bottom) {
                dy = _bottom - _y;
                line = &_bottom;
                if (!_bounced) {
                    _vertical_speed = GameConstants::walkSpeed;
                    _bounced = true;
                    if (isOnScreen()) SndSoundEffect::playAt(_sound, ShpCoord(_x, _y, 0));
                } else {
                    _rising = true;
                    _bounced = false;
                }
            }
        }
    }
    if (_rising && _y <= _top) {
        dy = GameConstants::slowSpeed * seconds;
        line = nullptr;
        if (_y + dy >= _top) {
            dy = _top - _y;
            line = &_top;
            _vertical_speed = 0;
            _rising = false;
        }
    }
    const double before = _y;
    move(0, dy, 0);
    if (line) {
        _y = *line;
        placeGraphic();
    }
    if (_hazard) _hazard->move(0, _y - before, 0);
}

int Hammer::writeState(std::ostream& out)
{
    if (!_hazard) {
        LOG("Failed to write hammer: it needs a hazard");
        return -1;
    }
    out << "<HAMMER> " << _vertical_speed << ' ' << (_bounced ? 1 : 0) << ' '
        << (_rising ? 1 : 0) << ' ';
    int result = _hazard->writeState(out);
    if (result == 0) result = Sprite::writeState(out);
    if (result == 0) out << "</HAMMER>\n";
    return result;
}

int Hammer::readState(std::istream& in)
{
    if (!_hazard) {
        LOG("Failed to read hammer: it needs a hazard");
        return -1;
    }
    double speed;
    bool bounced, rising;
    if (!(in >> speed >> bounced >> rising)) return -1;
    _vertical_speed = speed;
    _bounced = bounced;
    _rising = rising;
    std::string token;
    if (!TaggedText::readToken(in, token)) return -1;
    int result = _hazard->readState(in);
    if (result != 0) return result;
    if (!TaggedText::readToken(in, token)) return -1;
    result = Sprite::readState(in);
    if (result != 0) return result;
    // The sprite line squares the picture; the hammer is drawn at its own size.
    PropFields::fitPicture(_picture, *this);
    return TaggedText::readToken(in, token) ? 0 : -1;
}
