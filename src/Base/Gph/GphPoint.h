#ifndef KOVO_BASE_GPH_GPHPOINT_H
#define KOVO_BASE_GPH_GPHPOINT_H

#include "Base/Gph/GphObject.h"

// A coloured point, drawn as a small square whose top-right corner lies on the position
// and whose size grows with the distance from the camera. It never rotates.
class GphPoint : public GphObject {
public:
    GphPoint();
    // A null colour means white.
    GphPoint(const ShpCoord* coord, const float* color, GphAnimatedTexture* texture);
    GphPoint(const GphPoint& other);
    GphPoint& operator=(const GphPoint& other);

    ~GphPoint() override;
    bool isVisible() override;
    int draw() override;
    // The "<POINT>" block; the caller has taken the opening tag.
    int read(std::istream& in) override;
    int write(std::ostream& out) override;

    // Copies red, green and blue; null sets white.
    void setColor(const float* color);
    const float* getColor() const { return _color; }

private:
    float* _color;
};

#endif
