#include "Base/Gph/GphDisk.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "Base/App/TaggedText.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphWindow.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

double radians(double degrees)
{
    return degrees * kPi / 180.0;
}

}  // namespace

GphDisk::GphDisk()
    : GphObject(GPH_DISK),
      _quadric(newQuadric()),
      _outerRadius(0.0),
      _innerRadius(0.0),
      _slices(0),
      _loops(0),
      _startAngle(0.0),
      _sweepAngle(0.0),
      _normalX(0.0f),
      _normalY(0.0f),
      _normalZ(0.0f),
      _normalOutdated(true)
{
}

GphDisk::GphDisk(double outerRadius, double innerRadius, int slices, int loops,
                 double startAngle, double sweepAngle, const ShpCoord* coord,
                 GphAnimatedTexture* texture)
    : GphObject(GPH_DISK, coord, texture),
      _quadric(newQuadric()),
      _outerRadius(outerRadius),
      _innerRadius(innerRadius),
      _slices(slices),
      _loops(loops),
      _startAngle(startAngle),
      _sweepAngle(sweepAngle),
      _normalX(0.0f),
      _normalY(0.0f),
      _normalZ(0.0f),
      _normalOutdated(true)
{
}

GphDisk::GphDisk(const GphDisk& other) : GphDisk()
{
    *this = other;
}

GphDisk& GphDisk::operator=(const GphDisk& other)
{
    if (this == &other) return *this;
    // The quadric is this disk's own and stays.
    _outerRadius = other._outerRadius;
    _innerRadius = other._innerRadius;
    _slices = other._slices;
    _loops = other._loops;
    _startAngle = other._startAngle;
    _sweepAngle = other._sweepAngle;
    _normalX = other._normalX;
    _normalY = other._normalY;
    _normalZ = other._normalZ;
    _normalOutdated = other._normalOutdated;
    GphObject::operator=(other);
    return *this;
}

GphDisk::~GphDisk()
{
    gluDeleteQuadric(_quadric);
}

void GphDisk::getNormal(float& x, float& y, float& z) const
{
    x = _normalX;
    y = _normalY;
    z = _normalZ;
}

bool GphDisk::isVisible()
{
    return isBoxVisible(_outerRadius, _outerRadius);
}

void GphDisk::updateGeometry()
{
    const double a0 = radians(_startAngle);
    const double a1 = radians(_startAngle + _sweepAngle);
    // Without slices there is no segment; the normal is then the zero vector.
    const double step = _slices > 0 ? (a1 - a0) / _slices : 0.0;
    const double p1x = _innerRadius * std::cos(a0);
    const double p1y = _innerRadius * std::sin(a0);
    const double p2x = _innerRadius * std::cos(a0 + step);
    const double p2y = _innerRadius * std::sin(a0 + step);
    const double p3x = _outerRadius * std::cos(a1);
    const double p3y = _outerRadius * std::sin(a1);
    // (P1 - P2) x (P2 - P3); both lie in the plane z = 0.
    const double ux = p1x - p2x, uy = p1y - p2y;
    const double vx = p2x - p3x, vy = p2y - p3y;
    const double nx = 0.0, ny = 0.0, nz = ux * vy - uy * vx;
    double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (length == 0.0) length = 1.0;
    _normalX = static_cast<float>(nx / length);
    _normalY = static_cast<float>(ny / length);
    _normalZ = static_cast<float>(nz / length);
}

int GphDisk::draw()
{
    GphWindow* window = GphWindow::getInstance();
    loadModelView(true);

    glFrontFace(GL_CCW);
    const bool textured = _animatedTexture != nullptr;
    if (textured) {
        window->enableTexturing();
        _animatedTexture->bind();
    }
    const bool translucent = beginSolidDraw(window);

    if (_normalOutdated) {
        updateGeometry();
        _normalOutdated = false;
    }

    const double a0 = radians(_startAngle);
    const double a1 = radians(_startAngle + _sweepAngle);
    glBegin(GL_TRIANGLES);
    // No slices, or no positive sweep, leaves nothing to draw (and a count of segments
    // keeps a negative or vanishing step from running forever).
    if (_slices > 0 && a1 > a0) {
        const double step = (a1 - a0) / _slices;
        const float ri = static_cast<float>(_innerRadius);
        const float ro = static_cast<float>(_outerRadius);
        auto vertex = [textured](float s, float t, float r, double angle) {
            if (textured) glTexCoord2f(s, t);
            glVertex3f(r * static_cast<float>(std::cos(angle)),
                       r * static_cast<float>(std::sin(angle)), 0.0f);
        };
        for (int i = 0; i < _slices; ++i) {
            const double a = a0 + i * step;
            const double b = a + step;
            // Each of the two triangles of the segment in both windings.
            glNormal3f(_normalX, _normalY, _normalZ);
            vertex(1.0f, 0.0f, ri, a);
            vertex(0.0f, 1.0f, ro, b);
            vertex(0.0f, 0.0f, ri, b);
            glNormal3f(_normalX, _normalY, _normalZ);
            vertex(1.0f, 0.0f, ri, a);
            vertex(1.0f, 1.0f, ro, a);
            vertex(0.0f, 1.0f, ro, b);
            glNormal3f(_normalX, _normalY, _normalZ);
            vertex(1.0f, 0.0f, ri, a);
            vertex(0.0f, 0.0f, ri, b);
            vertex(0.0f, 1.0f, ro, b);
            glNormal3f(_normalX, _normalY, _normalZ);
            vertex(1.0f, 0.0f, ri, a);
            vertex(0.0f, 1.0f, ro, b);
            vertex(1.0f, 1.0f, ro, a);
        }
    }
    glEnd();

    finishSolidDraw(window, translucent);
    return 0;
}

int GphDisk::read(std::istream& in)
{
    return TaggedText::readBlock(in, "</DISK>", [&](const std::string& tag) {
        if (tag == "<OUTER_RADIUS>") return TaggedText::readValue(in, _outerRadius);
        if (tag == "<INNER_RADIUS>") return TaggedText::readValue(in, _innerRadius);
        if (tag == "<SLICES>") return TaggedText::readValue(in, _slices);
        if (tag == "<LOOPS>") return TaggedText::readValue(in, _loops);
        if (tag == "<START_ANGLE>") return TaggedText::readValue(in, _startAngle);
        if (tag == "<SWEEP_ANGLE>") return TaggedText::readValue(in, _sweepAngle);
        if (tag == "<BASE_GRAPHIC>") return GphObject::read(in);
        return TaggedText::kUnknownTag;
    });
}

int GphDisk::write(std::ostream& out)
{
    out << "<DISK>\n";
    TaggedText::writeField(out, "OUTER_RADIUS", _outerRadius);
    TaggedText::writeField(out, "INNER_RADIUS", _innerRadius);
    TaggedText::writeField(out, "SLICES", _slices);
    TaggedText::writeField(out, "LOOPS", _loops);
    TaggedText::writeField(out, "START_ANGLE", _startAngle);
    TaggedText::writeField(out, "SWEEP_ANGLE", _sweepAngle);
    return writeBaseAndClose(out, "</DISK>\n");
}
