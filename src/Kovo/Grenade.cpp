#include "Kovo/Grenade.h"

Grenade::Grenade(const std::string& image, const std::string& popupImage,
                 const std::string& sound)
    : Item(ItemTypeGrenade, image, popupImage, sound),
      _vx(0),
      _vy(0),
      _falls(true)
{
}

Grenade::~Grenade() {}

int Grenade::writeState(std::ostream& out)
{
    out << "<GRENADE> " << _vx << ' ' << _vy << ' ';
    const int result = Item::writeState(out);
    if (result != 0) return result;
    out << "</GRENADE>\n";
    return 0;
}

int Grenade::readState(std::istream& in)
{
    double vx, vy;
    std::string itemTag;
    if (!(in >> vx >> vy >> itemTag)) return -1;
    const int result = Item::readState(in);
    if (result != 0) return result;
    _vx = vx;
    _vy = vy;
    std::string closing;
    if (!(in >> closing)) return -1;
    return 0;
}
