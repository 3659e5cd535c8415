#include "Kovo/SparkParticle.h"

#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"

SparkParticle::SparkParticle(const ShpCoord& at, double length, double width, double vx,
                             double vy)
    : GphRect(length, width, &at, nullptr, GPH_RECT),
      _alpha_rate(-GameConstants::sparkFadeRate),
      _vx(vx),
      _vy(vy)
{
    setColor(1.0f, 0.8f, 0.0f);
    setAlpha(1.0f);
    render();
}

SparkParticle::~SparkParticle() {}

void SparkParticle::update(double seconds)
{
    move(seconds * _vx, seconds * _vy, 0);
    setAlpha(static_cast<float>(getAlpha() + seconds * _alpha_rate));
}
