#include "Kovo/XRayGlasses.h"

XRayGlasses::XRayGlasses(const std::string& image, const std::string& popupImage, const std::string& sound,
        int durationMs)
    : Item(ItemTypeXRayGlasses, image, popupImage, sound),
      _duration(durationMs)
{
}

XRayGlasses::~XRayGlasses() {}
