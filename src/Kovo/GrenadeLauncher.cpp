#include "Kovo/GrenadeLauncher.h"

GrenadeLauncher::GrenadeLauncher(const std::string& image, const std::string& popupImage, const std::string& sound,
        int durationMs)
    : Item(ItemTypeGrenadeLauncher, image, popupImage, sound, 60, 60, 60, 60),
      _duration(durationMs)
{
}

GrenadeLauncher::~GrenadeLauncher() {}
