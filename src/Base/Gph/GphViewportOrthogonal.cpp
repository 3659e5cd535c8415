#include "Base/Gph/GphViewportOrthogonal.h"

#include <GL/gl.h>

GphViewportOrthogonal::GphViewportOrthogonal(int x, int y, int width, int height, double near,
                                             double far, double zoom)
    : GphViewport(x, y, width, height, near, far), _zoom(zoom)
{
    apply();
    updateBounds();
}

GphViewportOrthogonal::~GphViewportOrthogonal() = default;

void GphViewportOrthogonal::halfExtents(double& halfWidth, double& halfHeight) const
{
    if (_width > _height) {
        halfWidth = _zoom;
        halfHeight = _zoom * _height / _width;
    } else {
        halfWidth = _zoom * _width / _height;
        halfHeight = _zoom;
    }
}

void GphViewportOrthogonal::apply()
{
    double w;
    double h;
    halfExtents(w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-w, w, -h, h, _near, _far);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void GphViewportOrthogonal::updateBounds()
{
    double w;
    double h;
    halfExtents(w, h);
    setBoundsAround(w, h);
}

double GphViewportOrthogonal::getAspect() const
{
    if (_width <= _height) return static_cast<double>(_width) / _height;
    return static_cast<double>(_height) / _width;
}

void GphViewportOrthogonal::setZoom(double zoom)
{
    _zoom = zoom;
    apply();
    updateBounds();
}
