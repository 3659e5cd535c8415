#include "Kovo/ExtraLife.h"

ExtraLife::ExtraLife(const std::string& image, const std::string& popupImage, const std::string& sound)
    : Item(ItemTypeExtraLife, image, popupImage, sound, 80, 80, 40, 40)
{
}

ExtraLife::~ExtraLife() {}
