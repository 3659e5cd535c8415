#include "Kovo/Grenade.h"

#include <sstream>

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
    // The whole block is taken before anything is applied, so that one cut short anywhere
    // leaves the grenade as it was.
    double vx, vy;
    std::string itemTag;
    if (!(in >> vx >> vy >> itemTag)) return -1;
    std::string itemBlock, token;
    for (int i = 0; i < kStateTokens; ++i) {
        if (!(in >> token)) return -1;
        itemBlock += token + ' ';
    }
    std::string closing;
    if (!(in >> closing)) return -1;

    std::istringstream item(itemBlock);
    const int result = Item::readState(item);
    if (result != 0) return result;
    _vx = vx;
    _vy = vy;
    return 0;
}
