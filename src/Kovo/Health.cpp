#include "Kovo/Health.h"

Health::Health(const std::string& image, const std::string& popupImage, const std::string& sound)
    : Item(ItemTypeHealth, image, popupImage, sound)
{
}

Health::~Health() {}
