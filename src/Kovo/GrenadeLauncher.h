#ifndef KOVO_KOVO_GRENADELAUNCHER_H
#define KOVO_KOVO_GRENADELAUNCHER_H

#include <string>

#include "Kovo/Item.h"

// A launcher that fires grenades straight instead of throwing them while its time runs;
// drawn 60 x 60.
// The room reads the duration when the hero picks it up.
class GrenadeLauncher : public Item {
public:
    GrenadeLauncher(const std::string& image, const std::string& popupImage, const std::string& sound,
        int durationMs);
    ~GrenadeLauncher() override;

    void setDuration(int durationMs) { _duration = durationMs; }
    int getDuration() const { return _duration; }

private:
    int _duration;
};

#endif
