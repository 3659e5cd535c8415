#ifndef KOVO_KOVO_XRAYGLASSES_H
#define KOVO_KOVO_XRAYGLASSES_H

#include <string>

#include "Kovo/Item.h"

// Glasses that let the hero see through what stands in front of him while their time runs.
// The room reads the duration when the hero picks it up.
class XRayGlasses : public Item {
public:
    XRayGlasses(const std::string& image, const std::string& popupImage, const std::string& sound,
        int durationMs);
    ~XRayGlasses() override;

    void setDuration(int durationMs) { _duration = durationMs; }
    int getDuration() const { return _duration; }

private:
    int _duration;
};

#endif
