#ifndef KOVO_BASE_SHP_SHPCOORD_H
#define KOVO_BASE_SHP_SHPCOORD_H

#include <istream>
#include <ostream>

// A point of three doubles, passed by value everywhere.
class ShpCoord {
public:
    ShpCoord();
    ShpCoord(double x, double y, double z);
    ShpCoord(const ShpCoord& other);
    virtual ~ShpCoord();

    ShpCoord& operator=(const ShpCoord& other);
    bool operator==(const ShpCoord& other) const;

    void translate(double dx, double dy, double dz);
    double distance(const ShpCoord& other) const;
    void rotate(const ShpCoord& other, double angle);

    void set(double x, double y, double z);
    void get(double& x, double& y, double& z) const;
    void setX(double x) { _x = x; }
    void setY(double y) { _y = y; }
    void setZ(double z) { _z = z; }
    double getX() const { return _x; }
    double getY() const { return _y; }
    double getZ() const { return _z; }

    // The "<COORD>" block; the caller has taken the opening tag.
    virtual int read(std::istream& in);
    virtual int write(std::ostream& out);

private:
    double _x;
    double _y;
    double _z;
};

#endif
