#ifndef KOVO_BASE_GPH_GPHVIEWPORTORTHOGONAL_H
#define KOVO_BASE_GPH_GPHVIEWPORTORTHOGONAL_H

#include "Base/Gph/GphViewport.h"

// A parallel projection centred on the origin. The zoom is half the extent of the view,
// in world units, along the window's longer axis: on an 800 by 600 window a zoom of 400
// shows one unit per pixel, the menus' 512 shows 1024 by 768 units.
class GphViewportOrthogonal : public GphViewport {
public:
    GphViewportOrthogonal(int x, int y, int width, int height, double near, double far, double zoom);
    ~GphViewportOrthogonal() override;

    void apply() override;
    void updateBounds() override;
    // The shorter side over the longer one.
    double getAspect() const override;

    void setZoom(double zoom);
    double getZoom() const { return _zoom; }

private:
    // The zoom along the longer axis, the same share of it along the shorter one.
    void halfExtents(double& halfWidth, double& halfHeight) const;

    double _zoom;
};

#endif
