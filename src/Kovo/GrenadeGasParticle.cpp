#include "Kovo/GrenadeGasParticle.h"

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "Common/Map.h"
#include "Kovo/ObjectPictures.h"

GrenadeGasParticle::GrenadeGasParticle(Map* map, const ShpCoord& at, double length,
                                       double width, double vx, double vy)
    : GphRect(length, width, &at, nullptr, GPH_RECT),
      _map(map),
      _alpha_rate(-GameConstants::puffFadeRate),
      _vx(vx),
      _vy(vy)
{
    setAnimatedTexture(ObjectPictures::loadAnimation({"smoke.pcx"}));
    setAlpha(0.5f);
}

GrenadeGasParticle::~GrenadeGasParticle()
{
    delete getAnimatedTexture();
    setAnimatedTexture(nullptr);
}

void GrenadeGasParticle::update(double seconds)
{
    double dx = seconds * _vx;
    double dy = seconds * _vy;
    if (_map) {
        const double x = _coord->getX(), y = _coord->getY();
        _map->testWallHit(x, y, x - _halfLength, x + _halfLength, y + _halfWidth,
                          y - _halfWidth, &dx, &dy);
    }
    move(dx, dy, 0);
    setAlpha(static_cast<float>(getAlpha() + seconds * _alpha_rate));
}
