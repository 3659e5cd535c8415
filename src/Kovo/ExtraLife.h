#ifndef KOVO_KOVO_EXTRALIFE_H
#define KOVO_KOVO_EXTRALIFE_H

#include <string>

#include "Kovo/Item.h"

// A bag of apples worth one more life: it lies as an 80 x 80 picture and pops up 40 x 40.
class ExtraLife : public Item {
public:
    ExtraLife(const std::string& image, const std::string& popupImage, const std::string& sound);
    ~ExtraLife() override;
};

#endif
