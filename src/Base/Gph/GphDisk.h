#ifndef KOVO_BASE_GPH_GPHDISK_H
#define KOVO_BASE_GPH_GPHDISK_H

#include "Base/Gph/GphObject.h"

struct GLUquadric;

// A flat ring (or a part of one) in the local plane z = 0 around the position, drawn as
// its own triangles in both windings so that it shows from either side. Every segment
// carries the whole texture.
class GphDisk : public GphObject {
public:
    GphDisk();
    GphDisk(double outerRadius, double innerRadius, int slices, int loops, double startAngle,
            double sweepAngle, const ShpCoord* coord, GphAnimatedTexture* texture);
    GphDisk(const GphDisk& other);
    GphDisk& operator=(const GphDisk& other);

    ~GphDisk() override;
    bool isVisible() override;
    int draw() override;
    // The "<DISK>" block; the caller has taken the opening tag.
    int read(std::istream& in) override;
    int write(std::ostream& out) override;
    // Recomputes the normal from the inner edge and the outer end of the sweep.
    void updateGeometry() override;

    // Changing the shape leaves the normal as it was.
    void setOuterRadius(double radius) { _outerRadius = radius; }
    double getOuterRadius() const { return _outerRadius; }
    void setInnerRadius(double radius) { _innerRadius = radius; }
    double getInnerRadius() const { return _innerRadius; }
    void setSlices(int slices) { _slices = slices; }
    int getSlices() const { return _slices; }
    void setLoops(int loops) { _loops = loops; }
    int getLoops() const { return _loops; }
    void setStartAngle(double degrees) { _startAngle = degrees; }
    double getStartAngle() const { return _startAngle; }
    void setSweepAngle(double degrees) { _sweepAngle = degrees; }
    double getSweepAngle() const { return _sweepAngle; }
    void getNormal(float& x, float& y, float& z) const;

private:
    GLUquadric* _quadric;
    double _outerRadius;
    double _innerRadius;
    int _slices;
    int _loops;
    double _startAngle;
    double _sweepAngle;
    float _normalX;
    float _normalY;
    float _normalZ;
    bool _normalOutdated;
};

#endif
