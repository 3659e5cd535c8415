#include "Base/Shp/ShpCoord.h"

#include <cmath>

#include "Base/App/TaggedText.h"

ShpCoord::ShpCoord() : _x(0), _y(0), _z(0) {}

ShpCoord::ShpCoord(double x, double y, double z) : _x(x), _y(y), _z(z) {}

ShpCoord::ShpCoord(const ShpCoord& other) : _x(other._x), _y(other._y), _z(other._z) {}

ShpCoord::~ShpCoord() {}

ShpCoord& ShpCoord::operator=(const ShpCoord& other)
{
    _x = other._x;
    _y = other._y;
    _z = other._z;
    return *this;
}

bool ShpCoord::operator==(const ShpCoord& other) const
{
    return _x == other._x && _y == other._y && _z == other._z;
}

void ShpCoord::translate(double dx, double dy, double dz)
{
    _x += dx;
    _y += dy;
    _z += dz;
}

double ShpCoord::distance(const ShpCoord& other) const
{
    const double dx = _x - other._x;
    const double dy = _y - other._y;
    const double dz = _z - other._z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void ShpCoord::rotate(const ShpCoord& other, double angle)
{
    const double d = distance(other);
    const double a = std::asin(_y / d) + angle;
    _x = d * std::cos(a);
    _y = d * std::sin(a);
}

void ShpCoord::set(double x, double y, double z)
{
    _x = x;
    _y = y;
    _z = z;
}

void ShpCoord::get(double& x, double& y, double& z) const
{
    x = _x;
    y = _y;
    z = _z;
}

int ShpCoord::read(std::istream& in)
{
    return TaggedText::readBlock(in, "</COORD>", [&](const std::string& tag) {
        if (tag == "<X>") return TaggedText::readValue(in, _x);
        if (tag == "<Y>") return TaggedText::readValue(in, _y);
        if (tag == "<Z>") return TaggedText::readValue(in, _z);
        return TaggedText::kUnknownTag;
    });
}

int ShpCoord::write(std::ostream& out)
{
    out << "<COORD>\n";
    TaggedText::writeField(out, "X", _x);
    TaggedText::writeField(out, "Y", _y);
    TaggedText::writeField(out, "Z", _z);
    out << "</COORD>\n";
    return 0;
}
