#include "Base/Gph/GphRect.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "Base/App/TaggedText.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"

GphRect::Tally GphRect::s_tally;

GphRect::GphRect(int type) : GphRect(0, 0, nullptr, nullptr, type) {}

GphRect::GphRect(double length, double width, const ShpCoord* coord, GphAnimatedTexture* texture,
                 int type)
    : GphObject(type, coord, texture),
      _length(length),
      _width(width),
      _halfLength(length / 2),
      _halfWidth(width / 2),
      _red(1),
      _green(1),
      _blue(1),
      _normalX(0),
      _normalY(0),
      _normalZ(0),
      _normalOutdated(true)
{
    updateGeometry();
}

GphRect::GphRect(const GphRect& other) : GphRect(other._type)
{
    *this = other;
}

GphRect& GphRect::operator=(const GphRect& other)
{
    if (this == &other) return *this;
    _length = other._length;
    _width = other._width;
    _halfLength = other._halfLength;
    _halfWidth = other._halfWidth;
    _red = other._red;
    _green = other._green;
    _blue = other._blue;
    _normalX = other._normalX;
    _normalY = other._normalY;
    _normalZ = other._normalZ;
    _normalOutdated = other._normalOutdated;
    GphObject::operator=(other);
    return *this;
}

GphRect::~GphRect() {}

void GphRect::setLength(double length)
{
    _length = length;
    _halfLength = length / 2;
}

void GphRect::setWidth(double width)
{
    _width = width;
    _halfWidth = width / 2;
}

void GphRect::setColor(float red, float green, float blue)
{
    _red = red;
    _green = green;
    _blue = blue;
}

void GphRect::getColor(float& red, float& green, float& blue) const
{
    red = _red;
    green = _green;
    blue = _blue;
}

void GphRect::getNormal(float& x, float& y, float& z) const
{
    x = _normalX;
    y = _normalY;
    z = _normalZ;
}

void GphRect::render()
{
    draw();
}

bool GphRect::isVisible()
{
    return isBoxVisible(_halfLength, _halfWidth);
}

void GphRect::updateGeometry()
{
    // Cross product of two edges of the unrotated rectangle.
    const double x = _coord->getX();
    const double y = _coord->getY();
    const double ax = (x - _halfLength) - (x + _halfLength), ay = 0.0, az = 0.0;
    const double bx = 0.0, by = (y - _halfWidth) - (y + _halfWidth), bz = 0.0;
    double nx = ay * bz - az * by;
    double ny = az * bx - ax * bz;
    double nz = ax * by - ay * bx;
    double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (length == 0) length = 1;
    _normalX = static_cast<float>(nx / length);
    _normalY = static_cast<float>(ny / length);
    _normalZ = static_cast<float>(nz / length);
    _normalOutdated = false;
}

namespace {

// The window's cached switches; drawing without a window (no game window yet) talks to
// OpenGL directly.
void setTexturing(GphWindow* window, bool on)
{
    if (window) {
        on ? window->enableTexturing() : window->disableTexturing();
    } else {
        on ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
    }
}

void setBlending(GphWindow* window, bool on)
{
    if (window) {
        on ? window->enableBlending() : window->disableBlending();
    } else if (on) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else {
        glDisable(GL_BLEND);
    }
}

}  // namespace

void GphRect::count(bool blended) const
{
    ++s_tally.rects;
    if (blended) ++s_tally.blended;
    const GphWindow* window = GphWindow::getInstance();
    if (!window || _viewWidth <= 0 || _viewHeight <= 0) return;
    double camX, camY, camZ;
    getCameraPosition(camX, camY, camZ);
    const double x = _coord->getX();
    const double y = _coord->getY();
    const double across = std::min(x + _halfLength, camX + _halfViewWidth) - std::max(x - _halfLength, camX - _halfViewWidth);
    const double up = std::min(y + _halfWidth, camY + _halfViewHeight) - std::max(y - _halfWidth, camY - _halfViewHeight);
    if (across <= 0 || up <= 0) return;
    s_tally.pixels += across * window->getWidth() / _viewWidth * up * window->getHeight() / _viewHeight;
}

int GphRect::draw()
{
    if (!isVisible() || _alpha < 0.005) return 0;
    GphWindow* window = GphWindow::getInstance();
    const bool lighting = window && window->isLightingEnabled();
    loadModelView();
    if (_normalOutdated) updateGeometry();

    const float x1 = static_cast<float>(-_halfLength);
    const float x2 = static_cast<float>(-_halfLength + _length);
    const float y1 = static_cast<float>(-_halfWidth);
    const float y2 = static_cast<float>(-_halfWidth + _width);

    if (_animatedTexture) {
        setTexturing(window, true);
        _animatedTexture->bind();
        GphTexture* texture = _animatedTexture->getCurrentTexture();
        // A decal picture is opaque: it needs blending only to fade.
        const bool blend = _alpha < 0.995 || (texture && texture->getMode() != GL_DECAL);
        setBlending(window, blend);
        count(blend);
        glBegin(GL_TRIANGLES);
        glColor4f(1.0f, 1.0f, 1.0f, _alpha);
        if (lighting) glNormal3f(_normalX, _normalY, _normalZ);
        glTexCoord2f(0, 0);
        glVertex3f(x1, y1, 0);
        glTexCoord2f(1, 1);
        glVertex3f(x2, y2, 0);
        glTexCoord2f(0, 1);
        glVertex3f(x1, y2, 0);
        if (lighting) glNormal3f(_normalX, _normalY, _normalZ);
        glTexCoord2f(0, 0);
        glVertex3f(x1, y1, 0);
        glTexCoord2f(1, 0);
        glVertex3f(x2, y1, 0);
        glTexCoord2f(1, 1);
        glVertex3f(x2, y2, 0);
        glEnd();
    } else {
        // The fill keeps whatever blending the previous draw left.
        setTexturing(window, false);
        count(false);
        glBegin(GL_TRIANGLES);
        glColor4f(_red, _green, _blue, _alpha);
        if (lighting) glNormal3f(_normalX, _normalY, _normalZ);
        glVertex3f(x1, y1, 0);
        glVertex3f(x2, y2, 0);
        glVertex3f(x1, y2, 0);
        if (lighting) glNormal3f(_normalX, _normalY, _normalZ);
        glVertex3f(x1, y1, 0);
        glVertex3f(x2, y1, 0);
        glVertex3f(x2, y2, 0);
        glEnd();
    }
    // No flush: hundreds of rectangles make a frame, and the buffer swap finishes it once.
    return 0;
}

int GphRect::read(std::istream& in)
{
    return TaggedText::readBlock(in, "</RECT>", [&](const std::string& tag) {
        if (tag == "<LENGTH>") {
            const int result = TaggedText::readValue(in, _length);
            _halfLength = _length / 2;
            return result;
        }
        if (tag == "<WIDTH>") {
            const int result = TaggedText::readValue(in, _width);
            _halfWidth = _width / 2;
            return result;
        }
        if (tag == "<BASE_GRAPHIC>") return GphObject::read(in);
        return TaggedText::kUnknownTag;
    });
}

int GphRect::write(std::ostream& out)
{
    out << "<RECT>\n";
    TaggedText::writeField(out, "LENGTH", _length);
    TaggedText::writeField(out, "WIDTH", _width);
    return writeBaseAndClose(out, "</RECT>\n");
}
