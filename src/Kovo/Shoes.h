#ifndef KOVO_KOVO_SHOES_H
#define KOVO_KOVO_SHOES_H

#include <string>

#include "Kovo/Item.h"

// Super shoes for higher jumps while their time runs.
// The room reads the duration when the hero picks it up.
class Shoes : public Item {
public:
    Shoes(const std::string& image, const std::string& popupImage, const std::string& sound,
        int durationMs);
    ~Shoes() override;

    void setDuration(int durationMs) { _duration = durationMs; }
    int getDuration() const { return _duration; }

private:
    int _duration;
};

#endif
