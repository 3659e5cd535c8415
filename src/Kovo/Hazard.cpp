#include "Kovo/Hazard.h"

#include <string>

#include "Base/App/TaggedText.h"
#include "Base/Gph/GphRect.h"
#include "Common/GameConstants.h"
#include "Kovo/PropFields.h"

Hazard::Hazard(Map* owner) : _owner(owner), _picture(nullptr), _rotation_speed(0.0f) {}

Hazard::~Hazard()
{
    PropFields::deletePicture(*this, _picture);
}

int Hazard::read(std::istream& in)
{
    return TaggedText::readBlock(in, "</HAZARD>", [&](const std::string& tag) {
        if (tag == "<ANIMATION>") {
            GphAnimatedTexture* animation = nullptr;
            if (PropFields::readAnimation(in, _owner, animation) != 0) return -1;
            // Not drawn yet; it turns about its centre.
            PropFields::replacePicture(*this, _picture, animation, GameConstants::zHazard, false);
            _picture->setRotationAxis(0, 0, 1);
            return 0;
        }
        if (tag == "<LOCATION>")
            return PropFields::readLocation(in, *this, _picture, GameConstants::zHazard);
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
    PropFields::fitPicture(_picture, *this);
    return 0;
}
