#include "Kovo/Diamond.h"

Diamond::Diamond(const std::string& image, const std::string& popupImage,
                 const std::string& sound, int value)
    : Item(ItemTypeDiamond, image, popupImage, sound),
      _value(value)
{
}

Diamond::~Diamond() {}
