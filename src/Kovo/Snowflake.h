#ifndef KOVO_KOVO_SNOWFLAKE_H
#define KOVO_KOVO_SNOWFLAKE_H

#include "Base/Gph/GphRect.h"

class ShpCoord;

// One snowflake: a small opaque white square that drifts at its own speed; its Snow system
// moves it and puts it back at an edge of the region when it leaves.
class Snowflake : public GphRect {
public:
    Snowflake(const ShpCoord& at, double length, double width, double vx, double vy);
    ~Snowflake() override;

    void update(double seconds);

    void setVelocity(double vx, double vy);
    double getVelocityX() const { return _vx; }
    double getVelocityY() const { return _vy; }

private:
    double _vx;
    double _vy;
};

#endif
