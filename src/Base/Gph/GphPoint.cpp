#include "Base/Gph/GphPoint.h"

#include <GL/gl.h>

#include <cmath>
#include <new>

#include "Base/App/Log.h"
#include "Base/App/Platform.h"
#include "Base/App/TaggedText.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"

namespace {

float* newColor()
{
    float* color = new (std::nothrow) float[3];
    if (color == nullptr) {
        KOVO_NEW_FAILED();
    }
    color[0] = color[1] = color[2] = 1.0f;
    return color;
}

// A textured point is drawn larger than a plain one at the same distance.
constexpr double kTexturedSizeDivisor = 150.0;
constexpr double kPlainSizeDivisor = 500.0;

}  // namespace

GphPoint::GphPoint() : GphObject(GPH_POINT), _color(newColor()) {}

GphPoint::GphPoint(const ShpCoord* coord, const float* color, GphAnimatedTexture* texture)
    : GphObject(GPH_POINT, coord, texture), _color(newColor())
{
    setColor(color);
}

GphPoint::GphPoint(const GphPoint& other) : GphObject(GPH_POINT), _color(newColor())
{
    *this = other;
}

GphPoint& GphPoint::operator=(const GphPoint& other)
{
    if (this == &other) return *this;
    setColor(other._color);
    GphObject::operator=(other);
    return *this;
}

GphPoint::~GphPoint()
{
    delete[] _color;
}

void GphPoint::setColor(const float* color)
{
    for (int i = 0; i < 3; ++i) _color[i] = color != nullptr ? color[i] : 1.0f;
}

bool GphPoint::isVisible()
{
    double camX, camY, camZ;
    getCameraPosition(camX, camY, camZ);
    const double x = _coord->getX();
    const double y = _coord->getY();
    return camX - _halfViewWidth <= x && x <= camX + _halfViewWidth &&
           camY - _halfViewHeight <= y && y <= camY + _halfViewHeight;
}

int GphPoint::draw()
{
    GphWindow* window = GphWindow::getInstance();
    double camX, camY, camZ;
    getCameraPosition(camX, camY, camZ);
    loadModelView(false);

    const bool translucent = _alpha < 1.0f;
    if (translucent) {
        window->enableBlending();
        glColor4f(_color[0], _color[1], _color[2], _alpha);
    } else {
        glColor4f(_color[0], _color[1], _color[2], 1.0f);
    }

    glFrontFace(GL_CCW);
    const bool textured = _animatedTexture != nullptr;
    if (textured) {
        window->enableTexturing();
        _animatedTexture->bind();
    } else {
        // A plain point must not pick up the texture of the previous draw.
        window->disableTexturing();
    }
    window->disableLighting();

    // The side of the square; its top-right corner lies on the point.
    const float s = static_cast<float>(
        std::fabs(_coord->getZ() - camZ) / (textured ? kTexturedSizeDivisor : kPlainSizeDivisor));
    glBegin(GL_TRIANGLES);
    if (textured) glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-s, -s, 0.0f);
    if (textured) glTexCoord2f(1.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    if (textured) glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-s, 0.0f, 0.0f);

    if (textured) glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-s, -s, 0.0f);
    if (textured) glTexCoord2f(1.0f, 0.0f);
    glVertex3f(0.0f, -s, 0.0f);
    if (textured) glTexCoord2f(1.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glEnd();

    if (translucent) window->disableBlending();
    window->enableLighting();
    glFlush();
    return 0;
}

int GphPoint::read(std::istream& in)
{
    return TaggedText::readBlock(in, "</POINT>", [&](const std::string& tag) {
        if (tag == "<COLOR>") {
            float read[3];
            std::string closing;
            if (!(in >> read[0] >> read[1] >> read[2])) return -1;
            if (!TaggedText::readToken(in, closing)) return -1;
            if (_color == nullptr) _color = newColor();
            setColor(read);
            return 0;
        }
        if (tag == "<BASE_GRAPHIC>") return GphObject::read(in);
        return TaggedText::kUnknownTag;
    });
}

int GphPoint::write(std::ostream& out)
{
    out << "<POINT>\n";
    out << "<COLOR>\n" << _color[0] << '\n' << _color[1] << '\n' << _color[2] << "\n</COLOR>\n";
    const int result = GphObject::write(out);
    if (result == 0) out << "</POINT>\n";
    out << std::flush;
    return result;
}
