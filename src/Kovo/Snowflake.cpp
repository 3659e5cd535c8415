#include "Kovo/Snowflake.h"

#include "Base/Shp/ShpCoord.h"

Snowflake::Snowflake(const ShpCoord& at, double length, double width, double vx, double vy)
    : GphRect(length, width, &at, nullptr, GPH_RECT),
      _vx(vx),
      _vy(vy)
{
    setColor(1.0f, 1.0f, 1.0f);
    setAlpha(1.0f);
    render();
}

Snowflake::~Snowflake() {}

void Snowflake::update(double seconds)
{
    move(seconds * _vx, seconds * _vy, 0);
}

void Snowflake::setVelocity(double vx, double vy)
{
    _vx = vx;
    _vy = vy;
}
