#include "Base/Gph/GphCone.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "Base/App/TaggedText.h"
#include "Base/Gph/GphWindow.h"

GphCone::GphCone()
    : GphObject(GPH_CONE),
      _quadric(newQuadric()),
      _innerRadius(0.0),
      _outerRadius(0.0),
      _height(0.0),
      _slices(0),
      _stacks(0)
{
}

GphCone::GphCone(double innerRadius, double outerRadius, double height, int slices, int stacks,
                 const ShpCoord* coord, GphAnimatedTexture* texture)
    : GphObject(GPH_CONE, coord, texture),
      _quadric(newQuadric()),
      _innerRadius(innerRadius),
      _outerRadius(outerRadius),
      _height(height),
      _slices(slices),
      _stacks(stacks)
{
}

GphCone::GphCone(const GphCone& other) : GphCone()
{
    *this = other;
}

GphCone& GphCone::operator=(const GphCone& other)
{
    if (this == &other) return *this;
    // The quadric is this cone's own drawing state and stays.
    _innerRadius = other._innerRadius;
    _outerRadius = other._outerRadius;
    _height = other._height;
    _slices = other._slices;
    _stacks = other._stacks;
    GphObject::operator=(other);
    return *this;
}

GphCone::~GphCone()
{
    gluDeleteQuadric(_quadric);
}

void GphCone::setSlicesStacks(int slices, int stacks)
{
    _slices = slices;
    _stacks = stacks;
}

void GphCone::getSlicesStacks(int& slices, int& stacks) const
{
    slices = _slices;
    stacks = _stacks;
}

bool GphCone::isVisible()
{
    return isBoxVisible(_outerRadius, _outerRadius);
}

int GphCone::draw()
{
    GphWindow* window = GphWindow::getInstance();
    loadModelView(true);
    prepareQuadric(_quadric, window);
    const bool translucent = beginSolidDraw(window);

    // The base lies in the local plane z = 0, the top at the height.
    gluCylinder(_quadric, _outerRadius, _innerRadius, _height, _slices, _stacks);

    finishSolidDraw(window, translucent);
    return 0;
}

int GphCone::read(std::istream& in)
{
    return TaggedText::readBlock(in, "</CONE>", [&](const std::string& tag) {
        if (tag == "<INNER_RADIUS>") return TaggedText::readValue(in, _innerRadius);
        if (tag == "<OUTER_RADIUS>") return TaggedText::readValue(in, _outerRadius);
        if (tag == "<HEIGHT>") return TaggedText::readValue(in, _height);
        if (tag == "<SLICES>") return TaggedText::readValue(in, _slices);
        if (tag == "<STACKS>") return TaggedText::readValue(in, _stacks);
        if (tag == "<BASE_GRAPHIC>") return GphObject::read(in);
        return TaggedText::kUnknownTag;
    });
}

int GphCone::write(std::ostream& out)
{
    out << "<CONE>\n";
    TaggedText::writeField(out, "INNER_RADIUS", _innerRadius);
    TaggedText::writeField(out, "OUTER_RADIUS", _outerRadius);
    TaggedText::writeField(out, "HEIGHT", _height);
    TaggedText::writeField(out, "SLICES", _slices);
    TaggedText::writeField(out, "STACKS", _stacks);
    return writeBaseAndClose(out, "</CONE>\n");
}
