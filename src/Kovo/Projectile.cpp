#include "Kovo/Projectile.h"

#include <sstream>

#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "Kovo/ObjectPictures.h"

namespace {

// Alpha lost per millisecond of a rebounded projectile is the fade rate over this many.
constexpr double kFadeDivisor = 250.0;

}  // namespace

Projectile::Projectile(double x, double y, double length, double width, double vx, double vy,
                       double spin, const std::string& picture)
    : Sprite(),
      _picture(nullptr),
      _vx(vx),
      _vy(vy),
      _spin(spin),
      _fading(false),
      _alpha(1.0f)
{
    const ShpCoord at(x, y, GameConstants::zProjectile);
    _picture = new GphRect(width, length, &at, ObjectPictures::loadAnimation({picture}),
                           GPH_RECT);
    _picture->setRotationAxis(0, 0, 1);
    setGraphic(_picture);
    setPosition(x, y, GameConstants::zProjectile);
    setSize(length, width);
    // The box follows setSize; the picture keeps the shape it was made with.
    _picture->setLength(width);
    _picture->setWidth(length);
}

Projectile::~Projectile()
{
    setGraphic(nullptr);
    ObjectPictures::deletePicture(_picture);
}

void Projectile::update(unsigned ms, double seconds)
{
    const double dx = seconds * _vx;
    const double dy = seconds * _vy;
    const double turn = seconds * _spin;
    move(dx, dy, 0);
    _picture->rotate(turn);
    if (_fading && _alpha > 0) {
        float alpha = static_cast<float>(_alpha - ms * GameConstants::fadeRate / kFadeDivisor);
        if (alpha < 0) alpha = 0;
        setFadeAlpha(alpha);
    }
}

void Projectile::rebound()
{
    _fading = true;
    if (_spin == 0) {
        _vx = -_vx / 2;
    } else {
        _vx = -_vx / 4;
        _spin = -_spin / 4;
    }
}

void Projectile::setFadeAlpha(float alpha)
{
    _alpha = alpha;
    _picture->setAlpha(alpha);
}

int Projectile::writeState(std::ostream& out)
{
    out << "<PROJECTILE> " << _vx << ' ' << _vy << ' ' << _spin << ' ';
    const int result = Sprite::writeState(out);
    if (result != 0) return result;
    out << "</PROJECTILE>\n";
    return 0;
}

int Projectile::readState(std::istream& in)
{
    // The whole block is taken before anything is applied: one that ends early or holds
    // garbage leaves the projectile as it was instead of restoring zeros.
    double vx, vy, spin;
    std::string spriteTag;
    if (!(in >> vx >> vy >> spin >> spriteTag)) return -1;
    std::istringstream spriteLine;
    if (!takeStateLine(in, spriteLine)) return -1;
    const double pictureX = _picture->getLength(), pictureY = _picture->getWidth();
    const int result = Sprite::readState(spriteLine);
    if (result != 0) return result;
    _picture->setLength(pictureX);
    _picture->setWidth(pictureY);
    _vx = vx;
    _vy = vy;
    _spin = spin;
    return 0;
}
