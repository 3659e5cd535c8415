#include "Base/Gph/GphViewport.h"

#include <GL/gl.h>

#include <cmath>

#include "Base/App/Log.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Shp/ShpCoord.h"

namespace {

GphCamera* g_viewportCamera = nullptr;

}  // namespace

GphViewport::GphViewport(int x, int y, int width, int height, double near, double far)
    : _left(0.0),
      _right(0.0),
      _top(0.0),
      _bottom(0.0),
      _aspect(0.0),
      _aspectInverse(0.0),
      _width(width),
      _height(height),
      _x(x),
      _y(y),
      _near(near),
      _far(far)
{
    LOG("Initializing base viewport");
    glViewport(x, y, width, height);
    computeAspect();
}

GphViewport::~GphViewport() = default;

void GphViewport::computeAspect()
{
    _aspect = _height != 0 ? static_cast<double>(_width) / _height : 0.0;
    _aspectInverse = _width != 0 ? static_cast<double>(_height) / _width : 0.0;
}

void GphViewport::setRect(int x, int y, int width, int height)
{
    _x = x;
    _y = y;
    _width = width;
    _height = height;
    // The pixels covered and the shape of the view both follow the new rectangle.
    glViewport(x, y, width, height);
    computeAspect();
    apply();
    updateBounds();
}

void GphViewport::getRect(int& x, int& y, int& width, int& height) const
{
    x = _x;
    y = _y;
    width = _width;
    height = _height;
}

void GphViewport::setNear(double near)
{
    _near = near;
    apply();
    updateBounds();
}

void GphViewport::setFar(double far)
{
    _far = far;
    apply();
    updateBounds();
}

void GphViewport::setCamera(GphCamera* camera)
{
    g_viewportCamera = camera;
}

GphCamera* GphViewport::getCamera()
{
    return g_viewportCamera;
}

void GphViewport::cameraCentre(double& cx, double& cy)
{
    cx = 0.0;
    cy = 0.0;
    if (g_viewportCamera == nullptr) return;
    const ShpCoord* p = g_viewportCamera->getPosition();
    cx = std::trunc(p->getX());
    cy = std::trunc(p->getY());
}

void GphViewport::setBoundsAround(double halfWidth, double halfHeight)
{
    double cx;
    double cy;
    cameraCentre(cx, cy);
    _left = cx - halfWidth;
    _right = cx + halfWidth;
    _top = cy + halfHeight;
    _bottom = cy - halfHeight;
}
