#include "Kovo/Armor.h"

Armor::Armor(const std::string& image, const std::string& popupImage, const std::string& sound,
        int durationMs)
    : Item(ItemTypeArmor, image, popupImage, sound, 50, 50, 50, 50),
      _duration(durationMs)
{
}

Armor::~Armor() {}
