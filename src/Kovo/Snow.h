#ifndef KOVO_KOVO_SNOW_H
#define KOVO_KOVO_SNOW_H

#include "Base/Gph/GphParticleSystem.h"

class GphCamera;
class Snowflake;

// A room's snowfall: 150 white flakes at one depth, kept inside a region around the camera
// twice the view's size each way ([cx - W, cx + W] x [cy - H, cy + H], W and H the viewport's
// width and height). A flake that leaves it comes back at an edge with a new speed; flakes
// are never removed and the snow never finishes.
class Snow : public GphParticleSystem {
public:
    Snow(GphCamera* camera, double z);
    ~Snow() override;

    void update(double seconds) override;
    GphCamera* getCamera() const { return _camera; }

private:
    Snow(const Snow&) = delete;
    Snow& operator=(const Snow&) = delete;

    // The camera's position and the region's half extents.
    void region(double& cx, double& cy, double& w, double& h) const;
    // A drifting, falling speed with a random sideways direction.
    static void drawVelocity(double& vx, double& vy);
    // Puts a flake that left the region back at one of its edges, with a new speed.
    void respawn(Snowflake* flake, double cx, double cy, double w, double h);

    GphCamera* _camera;
};

#endif
