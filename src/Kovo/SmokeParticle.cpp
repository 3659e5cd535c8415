#include "Kovo/SmokeParticle.h"

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "Kovo/ObjectPictures.h"

SmokeParticle::SmokeParticle(const ShpCoord& at, double length, double width, double vx,
                             double vy, const std::string& picture)
    : GphRect(length, width, &at, nullptr, GPH_RECT),
      _alpha_rate(-GameConstants::puffFadeRate),
      _vx(vx),
      _vy(vy)
{
    setAnimatedTexture(ObjectPictures::loadAnimation({picture}));
    setAlpha(0.5f);
}

SmokeParticle::~SmokeParticle()
{
    delete getAnimatedTexture();
    setAnimatedTexture(nullptr);
}

void SmokeParticle::update(double seconds)
{
    move(seconds * _vx, seconds * _vy, 0);
    setAlpha(static_cast<float>(getAlpha() + seconds * _alpha_rate));
}
