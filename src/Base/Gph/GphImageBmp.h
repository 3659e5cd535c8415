#ifndef KOVO_BASE_GPH_GPHIMAGEBMP_H
#define KOVO_BASE_GPH_GPHIMAGEBMP_H

#include <string>

#include "Base/Gph/GphImage.h"

// Uncompressed 24-bit Windows bitmaps.
class GphImageBmp : public GphImage {
public:
    using GphImage::load;

    GphImageBmp(const std::string& fileName, bool transparency);
    int load() override;
};

#endif
