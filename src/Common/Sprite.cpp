#include "Common/Sprite.h"

#include <sstream>
#include <string>

#include "Base/Gph/GphObject.h"
#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"

Sprite::Sprite()
    : _id(0),
      _x(0),
      _y(0),
      _z(0),
      _length(0),
      _width(0),
      _halfLength(0),
      _halfWidth(0),
      _startX(0),
      _startY(0),
      _startZ(0),
      _anchor(4),
      _visible(true),
      _graphic(nullptr)
{
}

// The graphic belongs to the class that made it.
Sprite::~Sprite() {}

void Sprite::draw()
{
    if (_graphic) _graphic->draw();
}

void Sprite::setPosition(double x, double y, double z)
{
    _x = _startX = x;
    _y = _startY = y;
    _z = _startZ = z;
    placeGraphic();
}

void Sprite::setX(double x)
{
    _x = _startX = x;
    placeGraphic();
}

void Sprite::setY(double y)
{
    _y = _startY = y;
    placeGraphic();
}

void Sprite::setZ(double z)
{
    _z = _startZ = z;
    placeGraphic();
}

void Sprite::getPosition(double& x, double& y, double& z) const
{
    x = _x;
    y = _y;
    z = _z;
}

void Sprite::move(double dx, double dy, double dz)
{
    _x += dx;
    _y += dy;
    _z += dz;
    if (_graphic) _graphic->move(dx, dy, dz);
}

void Sprite::resetToStart()
{
    setPosition(_startX, _startY, _startZ);
}

void Sprite::getStartPosition(double& x, double& y, double& z) const
{
    x = _startX;
    y = _startY;
    z = _startZ;
}

void Sprite::applySize(double length, double width)
{
    _length = length;
    _width = width;
    _halfLength = length / 2;
    _halfWidth = width / 2;
}

void Sprite::setSize(double length, double width)
{
    applySize(length, width);
    if (!_graphic) return;
    // The picture is square and centred on the box; collisions use the box itself.
    if (GphRect* rect = dynamic_cast<GphRect*>(_graphic)) {
        const double side = length > width ? length : width;
        rect->setLength(side);
        rect->setWidth(side);
    }
    placeGraphic();
}

void Sprite::getSize(double& length, double& width) const
{
    length = _length;
    width = _width;
}

void Sprite::getHalfSize(double& halfLength, double& halfWidth) const
{
    halfLength = _halfLength;
    halfWidth = _halfWidth;
}

void Sprite::setAnchor(int code)
{
    _anchor = code;
    placeGraphic();
}

bool Sprite::centreOffset(double& dx, double& dy) const
{
    switch (_anchor) {
    case 0: dx = _halfWidth;  dy = -_halfLength; return true;
    case 1: dx = _halfWidth;  dy = _halfLength;  return true;
    case 2: dx = -_halfWidth; dy = _halfLength;  return true;
    case 3: dx = -_halfWidth; dy = -_halfLength; return true;
    case 4: dx = 0;           dy = 0;            return true;
    case 5: dx = _halfWidth;  dy = 0;            return true;
    case 6: dx = -_halfWidth; dy = 0;            return true;
    case 7: dx = 0;           dy = -_halfLength; return true;
    case 8: dx = 0;           dy = _halfLength;  return true;
    default: dx = 0;          dy = 0;            return false;
    }
}

// The edges follow from the box's centre; a code outside 0 to 8 counts as the centre.
double Sprite::getLeft() const
{
    double dx, dy;
    centreOffset(dx, dy);
    return _x + dx - _halfWidth;
}

double Sprite::getRight() const
{
    double dx, dy;
    centreOffset(dx, dy);
    return _x + dx + _halfWidth;
}

double Sprite::getTop() const
{
    double dx, dy;
    centreOffset(dx, dy);
    return _y + dy + _halfLength;
}

double Sprite::getBottom() const
{
    double dx, dy;
    centreOffset(dx, dy);
    return _y + dy - _halfLength;
}

void Sprite::placeGraphic()
{
    if (!_graphic) return;
    double dx, dy;
    if (!centreOffset(dx, dy)) return;
    _graphic->setCoord(ShpCoord(_x + dx, _y + dy, _z));
}

bool Sprite::isOnScreen() const
{
    return _graphic && _graphic->isVisible();
}

int Sprite::writeState(std::ostream& out)
{
    out << "<SPRITE> " << _x << ' ' << _y << ' ' << _z << ' ' << _length << ' ' << _width
        << ' ' << (_visible ? 1 : 0) << " </SPRITE>\n";
    return 0;
}

int Sprite::readState(std::istream& in)
{
    // A line that ends early leaves the sprite as it was.
    double x, y, z, length, width;
    int visible;
    std::string closing;
    if (!(in >> x >> y >> z >> length >> width >> visible >> closing)) return -1;
    _visible = visible == 1;
    setSize(length, width);
    setPosition(x, y, z);
    return 0;
}

bool Sprite::takeStateLine(std::istream& in, std::istringstream& line)
{
    std::string fields, token;
    for (int i = 0; i < kStateLineTokens; ++i) {
        if (!(in >> token)) return false;
        fields += token + ' ';
    }
    std::string closing;
    if (!(in >> closing)) return false;
    line.str(fields);
    return true;
}
