#include "Kovo/Shoes.h"

Shoes::Shoes(const std::string& image, const std::string& popupImage, const std::string& sound,
        int durationMs)
    : Item(ItemTypeShoes, image, popupImage, sound),
      _duration(durationMs)
{
}

Shoes::~Shoes() {}
