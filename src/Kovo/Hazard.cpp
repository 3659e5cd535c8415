#include "Kovo/Hazard.h"

#include <string>

#include "Base/App/Log.h"
#include "Base/App/TaggedText.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "Common/Map.h"

namespace {

// The picture's size until "<LOCATION>" gives the hazard's own.
constexpr double kDefaultSize = 100.0;

}  // namespace

Hazard::Hazard(Map* owner) : _owner(owner), _picture(nullptr), _rotation_speed(0.0f) {}

Hazard::~Hazard()
{
    if (!_picture) return;
    // The animation is the room's.
    _picture->setAnimatedTexture(nullptr);
    delete _picture;
}

int Hazard::read(std::istream& in)
{
    return TaggedText::readBlock(in, "</HAZARD>", [&](const std::string& tag) {
        if (tag == "<ANIMATION>") {
            int id = 0;
            if (TaggedText::readValue(in, id) != 0) return -1;
            GphAnimatedTexture* animation = _owner ? _owner->imageById(id) : nullptr;
            if (!animation) {
                LOG("Failed to retrieve animation");
                return -1;
            }
            if (_picture) {
                _picture->setAnimatedTexture(nullptr);
                delete _picture;
            }
            const ShpCoord centre(0, 0, GameConstants::zHazard);
            _picture = new GphRect(kDefaultSize, kDefaultSize, &centre, animation, GPH_RECT);
            _picture->setRotationAxis(0, 0, 1);
            setGraphic(_picture);
            setPosition(0, 0, GameConstants::zHazard);
            setSize(kDefaultSize, kDefaultSize);
            return 0;
        }
        if (tag == "<LOCATION>") {
            int x, y, width, height;
            std::string closing;
            if (!(in >> x >> y >> width >> height) || !TaggedText::readToken(in, closing))
                return -1;
            setPosition(x, y, GameConstants::zHazard);
            setSize(height, width);
            if (_picture) {
                _picture->setLength(width);
                _picture->setWidth(height);
            }
            return 0;
        }
        if (tag == "<ROTATION>") return TaggedText::readValue(in, _rotation_speed);
        return TaggedText::kUnknownTag;
    });
}

void Hazard::update(unsigned ms, double seconds)
{
    (void)ms;
    if (_rotation_speed != 0 && _picture) _picture->rotate(_rotation_speed * seconds);
}

int Hazard::readState(std::istream& in)
{
    const int result = Sprite::readState(in);
    if (result != 0) return result;
    // The sprite line squares the picture; the hazard is drawn at its own size.
    if (_picture) {
        _picture->setLength(_width);
        _picture->setWidth(_length);
    }
    return 0;
}
