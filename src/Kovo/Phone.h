#ifndef KOVO_KOVO_PHONE_H
#define KOVO_KOVO_PHONE_H

#include <string>

#include "Kovo/Item.h"

// A phone that switches robots, dozers and buzzookas off while its time runs; drawn 50 x 50.
// The room reads the duration when the hero picks it up.
class Phone : public Item {
public:
    Phone(const std::string& image, const std::string& popupImage, const std::string& sound,
        int durationMs);
    ~Phone() override;

    void setDuration(int durationMs) { _duration = durationMs; }
    int getDuration() const { return _duration; }

private:
    int _duration;
};

#endif
