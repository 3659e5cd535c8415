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

void GphViewportOrthogonal::apply()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (_width > _height) {
        const double h = _zoom * _height / _width;
        glOrtho(-_zoom, _zoom, -h, h, _near, _far);
    } else {
        const double w = _zoom * _width / _height;
        glOrtho(-w, w, -_zoom, _zoom, _near, _far);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void GphViewportOrthogonal::updateBounds()
{
    double cx;
    double cy;
    cameraCentre(cx, cy);
    if (_width > _height) {
        const double h = _zoom * _height / _width;
        _left = cx - _zoom;
        _right = cx + _zoom;
        _top = cy + h;
        _bottom = cy - h;
    } else {
        const double w = _zoom * _width / _height;
        _left = cx - w;
        _right = cx + w;
        _top = cy + _zoom;
        _bottom = cy - _zoom;
    }
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
