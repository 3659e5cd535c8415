#include "Base/Gph/GphBillboard.h"

#include <string>

#include "Base/App/TaggedText.h"
#include "Base/Shp/ShpCoord.h"

GphBillboard::GphBillboard()
    : GphRect(0, 0, nullptr, nullptr, GPH_BILLBOARD),
      _shown(true),
      _offsetX(0),
      _offsetY(0),
      _distanceFromCamera(0)
{
}

GphBillboard::GphBillboard(double offsetX, double offsetY, double length, double width,
                           double distanceFromCamera, GphAnimatedTexture* texture)
    : GphRect(length, width, nullptr, texture, GPH_BILLBOARD),
      _shown(true),
      _offsetX(offsetX),
      _offsetY(offsetY),
      _distanceFromCamera(distanceFromCamera)
{
}

GphBillboard::GphBillboard(const GphBillboard& other)
    : GphRect(other),
      _shown(other._shown),
      _offsetX(other._offsetX),
      _offsetY(other._offsetY),
      _distanceFromCamera(other._distanceFromCamera)
{
}

GphBillboard& GphBillboard::operator=(const GphBillboard& other)
{
    if (this == &other) return *this;
    GphRect::operator=(other);
    _shown = other._shown;
    _offsetX = other._offsetX;
    _offsetY = other._offsetY;
    _distanceFromCamera = other._distanceFromCamera;
    return *this;
}

GphBillboard::~GphBillboard() {}

bool GphBillboard::isVisible()
{
    return _shown;
}

int GphBillboard::draw()
{
    if (!_shown) return 0;
    // Written straight into the position: the cached view extent is not needed, since a
    // shown billboard is always visible.
    double camX, camY, camZ;
    getCameraPosition(camX, camY, camZ);
    _coord->set(camX + _offsetX, camY + _offsetY, camZ + _distanceFromCamera);
    return GphRect::draw();
}

void GphBillboard::setOffset(double x, double y)
{
    _offsetX = x;
    _offsetY = y;
}

void GphBillboard::getOffset(double& x, double& y) const
{
    x = _offsetX;
    y = _offsetY;
}

int GphBillboard::read(std::istream& in)
{
    return TaggedText::readBlock(in, "</BILLBOARD>", [&](const std::string& tag) {
        if (tag == "<SHOWN>") return TaggedText::readValue(in, _shown);
        if (tag == "<DISTANCE_FROM_CAMERA>") return TaggedText::readValue(in, _distanceFromCamera);
        if (tag == "<RECT>") return GphRect::read(in);
        return TaggedText::kUnknownTag;
    });
}

int GphBillboard::write(std::ostream& out)
{
    out << "<BILLBOARD>\n";
    TaggedText::writeField(out, "SHOWN", _shown ? 1 : 0);
    TaggedText::writeField(out, "DISTANCE_FROM_CAMERA", _distanceFromCamera);
    const int result = GphRect::write(out);
    if (result == 0) out << "</BILLBOARD>\n";
    out.flush();
    return result;
}
