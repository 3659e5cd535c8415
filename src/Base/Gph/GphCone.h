#ifndef KOVO_BASE_GPH_GPHCONE_H
#define KOVO_BASE_GPH_GPHCONE_H

#include "Base/Gph/GphObject.h"

struct GLUquadric;

// A truncated cone along the local z axis, drawn as a GLU cylinder from the outer
// radius at its base to the inner radius at its top.
class GphCone : public GphObject {
public:
    GphCone();
    GphCone(double innerRadius, double outerRadius, double height, int slices, int stacks,
            const ShpCoord* coord, GphAnimatedTexture* texture);
    GphCone(const GphCone& other);
    GphCone& operator=(const GphCone& other);

    ~GphCone() override;
    bool isVisible() override;
    int draw() override;
    // The "<CONE>" block; the caller has taken the opening tag.
    int read(std::istream& in) override;
    int write(std::ostream& out) override;

    void setInnerRadius(double radius) { _innerRadius = radius; }
    double getInnerRadius() const { return _innerRadius; }
    void setOuterRadius(double radius) { _outerRadius = radius; }
    double getOuterRadius() const { return _outerRadius; }
    void setHeight(double height) { _height = height; }
    double getHeight() const { return _height; }
    void setSlicesStacks(int slices, int stacks);
    void getSlicesStacks(int& slices, int& stacks) const;

private:
    GLUquadric* _quadric;
    double _innerRadius;
    double _outerRadius;
    double _height;
    int _slices;
    int _stacks;
};

#endif
