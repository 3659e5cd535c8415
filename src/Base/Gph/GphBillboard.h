#ifndef KOVO_BASE_GPH_GPHBILLBOARD_H
#define KOVO_BASE_GPH_GPHBILLBOARD_H

#include "Base/Gph/GphRect.h"

// A rectangle pinned to the camera: each draw places it at a fixed offset from the
// camera's position, so it keeps its place on the screen (the score box is one). It is
// visible exactly while it is shown.
class GphBillboard : public GphRect {
public:
    GphBillboard();
    GphBillboard(double offsetX, double offsetY, double length, double width,
                 double distanceFromCamera, GphAnimatedTexture* texture);
    GphBillboard(const GphBillboard& other);
    GphBillboard& operator=(const GphBillboard& other);

    ~GphBillboard() override;
    bool isVisible() override;
    int draw() override;
    // The "<BILLBOARD>" block; the caller has taken the opening tag.
    int read(std::istream& in) override;
    int write(std::ostream& out) override;

    void show() { _shown = true; }
    void hide() { _shown = false; }
    bool isShown() const { return _shown; }
    void setOffset(double x, double y);
    void getOffset(double& x, double& y) const;
    void setDistanceFromCamera(double distance) { _distanceFromCamera = distance; }
    double getDistanceFromCamera() const { return _distanceFromCamera; }

private:
    bool _shown;
    double _offsetX;
    double _offsetY;
    double _distanceFromCamera;
};

#endif
