#ifndef KOVO_BASE_GPH_GPHVIEWPORTPERSPECTIVE_H
#define KOVO_BASE_GPH_GPHVIEWPORTPERSPECTIVE_H

#include "Base/Gph/GphViewport.h"

// A perspective projection with a vertical field of view in degrees. Its world bounds
// are the extent of the view at the far plane.
class GphViewportPerspective : public GphViewport {
public:
    GphViewportPerspective(int x, int y, int width, int height, double near, double far, double fovy);
    ~GphViewportPerspective() override;

    void apply() override;
    void updateBounds() override;
    // Width over height.
    double getAspect() const override;

    void setFovy(double fovy);
    double getFovy() const { return _fovy; }

private:
    double _fovy;
};

#endif
