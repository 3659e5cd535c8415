#include "Base/Gph/GphViewportPerspective.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "Base/App/Log.h"

GphViewportPerspective::GphViewportPerspective(int x, int y, int width, int height, double near,
                                               double far, double fovy)
    : GphViewport(x, y, width, height, near, far), _fovy(fovy)
{
    LOG("Initializing perspective viewport");
    apply();
    // The bounds are computed at the camera's first move.
}

GphViewportPerspective::~GphViewportPerspective() = default;

void GphViewportPerspective::apply()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(_fovy, static_cast<double>(_width) / _height, _near, _far);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void GphViewportPerspective::updateBounds()
{
    const double h = std::tan(_fovy * M_PI / 180.0 / 2.0) * _far;
    double cx;
    double cy;
    cameraCentre(cx, cy);
    if (_width > _height) {
        const double w = h * _width / _height;
        _left = cx - w;
        _right = cx + w;
        _top = cy + h;
        _bottom = cy - h;
    } else {
        const double v = h * _height / _width;
        _left = cx - h;
        _right = cx + h;
        _top = cy + v;
        _bottom = cy - v;
    }
}

double GphViewportPerspective::getAspect() const
{
    return static_cast<double>(_width) / _height;
}

void GphViewportPerspective::setFovy(double fovy)
{
    _fovy = fovy;
    apply();
    updateBounds();
}
