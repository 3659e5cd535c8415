#include "Kovo/Door.h"

#include <string>

#include "Base/App/TaggedText.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "Kovo/PropFields.h"

Door::Door(Map* owner)
    : _owner(owner),
      _picture(nullptr),
      _code(0),
      _locked(false),
      _open(true),
      _usable(true),
      _target_map_id(0),
      _target_x(0.0),
      _target_y(0.0)
{
}

Door::~Door()
{
    PropFields::deletePicture(*this, _picture);
}

void Door::placePicture()
{
    if (_picture) _picture->setCoord(ShpCoord(_x, _y + kPictureRise, GameConstants::zDoor));
}

int Door::read(std::istream& in)
{
    double x, y, width, length, targetX, targetY;
    int targetMapId;
    if (!(in >> x >> y >> width >> length >> targetMapId >> targetX >> targetY)) return -1;
    _target_map_id = targetMapId;
    _target_x = targetX;
    _target_y = targetY;
    setPosition(x, y, GameConstants::zDoor);
    setSize(length, width);

    return TaggedText::readBlock(in, "</DOOR>", [&](const std::string& tag) {
        if (tag == "<ANIMATION>") {
            GphAnimatedTexture* animation = nullptr;
            if (PropFields::readAnimation(in, _owner, animation) != 0) return -1;
            PropFields::deletePicture(*this, _picture);
            const ShpCoord centre(_x, _y + kPictureRise, GameConstants::zDoor);
            _picture = new GphRect(kPictureLength, kPictureWidth, &centre, animation, GPH_RECT);
            setGraphic(_picture);
            _picture->render();
            return 0;
        }
        if (tag == "<LOCKED>") return TaggedText::readValue(in, _locked);
        if (tag == "<OPEN>") return TaggedText::readValue(in, _open);
        if (tag == "<CODE>") {
            // The code's field is followed by one token more than the others.
            int code = 0;
            if (TaggedText::readValue(in, code) != 0) return -1;
            _code = code;
            std::string extra;
            return TaggedText::readToken(in, extra) ? 0 : -1;
        }
        if (tag == "<ID>") return PropFields::readId(in, *this);
        return TaggedText::kUnknownTag;
    });
}

void Door::updateGraphic()
{
    if (!_picture || !_picture->getAnimatedTexture()) return;
    _picture->getAnimatedTexture()->setCurrentFrame(_locked ? 0 : 1);
}

int Door::writeState(std::ostream& out)
{
    out << "<DOOR> " << (_locked ? 1 : 0) << ' ' << (_open ? 1 : 0) << ' ';
    const int result = Sprite::writeState(out);
    if (result == 0) out << "</DOOR>\n";
    return result;
}

int Door::readState(std::istream& in)
{
    bool locked, open;
    std::string token;
    if (!(in >> locked >> open) || !TaggedText::readToken(in, token)) return -1;
    const int result = Sprite::readState(in);
    if (result != 0) return result;
    _locked = locked;
    _open = open;
    // The sprite line has put the picture on the door's box as a square.
    if (_picture) {
        _picture->setLength(kPictureLength);
        _picture->setWidth(kPictureWidth);
    }
    placePicture();
    updateGraphic();
    return TaggedText::readToken(in, token) ? 0 : -1;
}
