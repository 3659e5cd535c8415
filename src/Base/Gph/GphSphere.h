#ifndef KOVO_BASE_GPH_GPHSPHERE_H
#define KOVO_BASE_GPH_GPHSPHERE_H

#include "Base/Gph/GphObject.h"

struct GLUquadric;

// A sphere around the position, drawn as a GLU sphere.
class GphSphere : public GphObject {
public:
    GphSphere();
    GphSphere(double radius, int slices, int stacks, const ShpCoord* coord,
              GphAnimatedTexture* texture);
    GphSphere(const GphSphere& other);
    GphSphere& operator=(const GphSphere& other);

    ~GphSphere() override;
    bool isVisible() override;
    int draw() override;
    // The "<SPHERE>" block; the caller has taken the opening tag.
    int read(std::istream& in) override;
    int write(std::ostream& out) override;

    void setRadius(double radius) { _radius = radius; }
    double getRadius() const { return _radius; }
    void setSlicesStacks(int slices, int stacks);
    void getSlicesStacks(int& slices, int& stacks) const;

private:
    GLUquadric* _quadric;
    double _radius;
    int _slices;
    int _stacks;
};

#endif
