#ifndef KOVO_KOVO_HEALTH_H
#define KOVO_KOVO_HEALTH_H

#include <string>

#include "Kovo/Item.h"

// An apple worth one health point.
class Health : public Item {
public:
    Health(const std::string& image, const std::string& popupImage, const std::string& sound);
    ~Health() override;
};

#endif
