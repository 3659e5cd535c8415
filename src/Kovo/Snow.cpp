#include "Kovo/Snow.h"

#include <cstdlib>

#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphViewport.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "Kovo/Snowflake.h"

namespace {

constexpr int kFlakes = 150;
// Spans of the random placement across and up; fixed, whatever the view's size.
constexpr int kSpanX = 1600;
constexpr int kSpanY = 1200;
// Used when there is no camera or viewport to measure.
constexpr double kDefaultWidth = 800;
constexpr double kDefaultHeight = 600;

}  // namespace

Snow::Snow(GphCamera* camera, double z) : GphParticleSystem(), _camera(camera)
{
    double cx, cy, w, h;
    region(cx, cy, w, h);
    for (int i = 0; i < kFlakes; ++i) {
        const double x = std::rand() % kSpanX + cx - w;
        const double y = std::rand() % kSpanY + cy - h;
        double vx = (std::rand() % 15 + 5) * GameConstants::slowSpeed / 20;
        const double vy = -((std::rand() % 20 + 20) * GameConstants::walkSpeed / 40);
        const double side = std::rand() % 3 + 2;
        if (std::rand() % 2 == 0) vx = -vx;
        add(new Snowflake(ShpCoord(x, y, z), side, side, vx, vy));
    }
}

Snow::~Snow() {}

void Snow::region(double& cx, double& cy, double& w, double& h) const
{
    cx = cy = 0;
    w = kDefaultWidth;
    h = kDefaultHeight;
    if (!_camera) return;
    if (const ShpCoord* position = _camera->getPosition()) {
        cx = position->getX();
        cy = position->getY();
    }
    if (const GphViewport* viewport = _camera->getViewport()) {
        w = viewport->getWidth();
        h = viewport->getHeight();
    }
}

void Snow::drawVelocity(double& vx, double& vy)
{
    vx = (std::rand() % 15 + 5) * GameConstants::slowSpeed / 20;
    vy = -((std::rand() % 20 + 20) * GameConstants::walkSpeed / 40);
    if (std::rand() % 2 == 0) vx = -vx;
}

void Snow::respawn(Snowflake* flake, double cx, double cy, double w, double h)
{
    const int edge = std::rand() % 20;
    double x, y;
    if (edge <= 6) {
        x = std::rand() % kSpanX + cx - w;
        y = cy + h - 1;
    } else if (edge <= 10) {
        x = cx - w;
        y = std::rand() % kSpanY + cy - h;
    } else if (edge <= 14) {
        x = cx + w - 1;
        y = std::rand() % kSpanY + cy - h;
    } else {
        x = std::rand() % kSpanX + cx - w;
        y = cy - h + 10;
    }
    flake->setCoord(ShpCoord(x, y, flake->getCoord()->getZ()));
    double vx, vy;
    drawVelocity(vx, vy);
    flake->setVelocity(vx, vy);
}

void Snow::update(double seconds)
{
    double cx, cy, w, h;
    region(cx, cy, w, h);
    for (GphObject* particle : _particles) {
        Snowflake* flake = dynamic_cast<Snowflake*>(particle);
        if (!flake) continue;
        flake->update(seconds);
        const double x = flake->getCoord()->getX();
        const double y = flake->getCoord()->getY();
        if (x < cx - w || x > cx + w || y < cy - h || y > cy + h) respawn(flake, cx, cy, w, h);
    }
}
