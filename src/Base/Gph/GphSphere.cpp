#include "Base/Gph/GphSphere.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "Base/App/TaggedText.h"
#include "Base/Gph/GphWindow.h"

GphSphere::GphSphere()
    : GphObject(GPH_SPHERE), _quadric(newQuadric()), _radius(0.0), _slices(0), _stacks(0)
{
}

GphSphere::GphSphere(double radius, int slices, int stacks, const ShpCoord* coord,
                     GphAnimatedTexture* texture)
    : GphObject(GPH_SPHERE, coord, texture),
      _quadric(newQuadric()),
      _radius(radius),
      _slices(slices),
      _stacks(stacks)
{
}

GphSphere::GphSphere(const GphSphere& other) : GphSphere()
{
    *this = other;
}

GphSphere& GphSphere::operator=(const GphSphere& other)
{
    if (this == &other) return *this;
    // The quadric is this sphere's own drawing state and stays.
    _radius = other._radius;
    _slices = other._slices;
    _stacks = other._stacks;
    GphObject::operator=(other);
    return *this;
}

GphSphere::~GphSphere()
{
    gluDeleteQuadric(_quadric);
}

void GphSphere::setSlicesStacks(int slices, int stacks)
{
    _slices = slices;
    _stacks = stacks;
}

void GphSphere::getSlicesStacks(int& slices, int& stacks) const
{
    slices = _slices;
    stacks = _stacks;
}

bool GphSphere::isVisible()
{
    return isBoxVisible(_radius, _radius);
}

int GphSphere::draw()
{
    GphWindow* window = GphWindow::getInstance();
    loadModelView(true);
    prepareQuadric(_quadric, window);
    const bool translucent = beginSolidDraw(window);
    gluSphere(_quadric, _radius, _slices, _stacks);
    finishSolidDraw(window, translucent);
    return 0;
}

int GphSphere::read(std::istream& in)
{
    return TaggedText::readBlock(in, "</SPHERE>", [&](const std::string& tag) {
        if (tag == "<RADIUS>") return TaggedText::readValue(in, _radius);
        if (tag == "<SLICES>") return TaggedText::readValue(in, _slices);
        if (tag == "<STACKS>") return TaggedText::readValue(in, _stacks);
        if (tag == "<BASE_GRAPHIC>") return GphObject::read(in);
        return TaggedText::kUnknownTag;
    });
}

int GphSphere::write(std::ostream& out)
{
    out << "<SPHERE>\n";
    TaggedText::writeField(out, "RADIUS", _radius);
    TaggedText::writeField(out, "SLICES", _slices);
    TaggedText::writeField(out, "STACKS", _stacks);
    return writeBaseAndClose(out, "</SPHERE>\n");
}
