#include "Kovo/Treasure.h"

Treasure::Treasure(ItemType type, const std::string& image, const std::string& popupImage,
                   const std::string& sound, int points)
    : Item(type, image, popupImage, sound),
      _points(points)
{
}

Treasure::~Treasure() {}
