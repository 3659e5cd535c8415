#ifndef KOVO_KOVO_DIAMOND_H
#define KOVO_KOVO_DIAMOND_H

#include <string>

#include "Kovo/Item.h"

// The level's goal: picking it up ends the level. Its value goes to the score (0 for a
// diamond of a map file).
class Diamond : public Item {
public:
    Diamond(const std::string& image, const std::string& popupImage, const std::string& sound,
            int value);
    ~Diamond() override;

    void setValue(int value) { _value = value; }
    int getValue() const { return _value; }

private:
    int _value;
};

#endif
