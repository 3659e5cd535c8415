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
    // The view's half height at the far plane spans the shorter axis.
    const double h = std::tan(_fovy * M_PI / 180.0 / 2.0) * _far;
    if (_width > _height) {
        setBoundsAround(h * _width / _height, h);
    } else {
        setBoundsAround(h, h * _height / _width);
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
