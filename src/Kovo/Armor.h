#ifndef KOVO_KOVO_ARMOR_H
#define KOVO_KOVO_ARMOR_H

#include <string>

#include "Kovo/Item.h"

// Armor that turns knives and bullets (not bombs) while its time runs; drawn 50 x 50.
// The room reads the duration when the hero picks it up.
class Armor : public Item {
public:
    Armor(const std::string& image, const std::string& popupImage, const std::string& sound,
        int durationMs);
    ~Armor() override;

    void setDuration(int durationMs) { _duration = durationMs; }
    int getDuration() const { return _duration; }

private:
    int _duration;
};

#endif
