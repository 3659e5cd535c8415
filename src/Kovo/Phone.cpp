#include "Kovo/Phone.h"

Phone::Phone(const std::string& image, const std::string& popupImage, const std::string& sound,
        int durationMs)
    : Item(ItemTypePhone, image, popupImage, sound, 50, 50, 50, 50),
      _duration(durationMs)
{
}

Phone::~Phone() {}
