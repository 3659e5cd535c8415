#ifndef KOVO_BASE_GPH_GPHIMAGEJPG_H
#define KOVO_BASE_GPH_GPHIMAGEJPG_H

#include <string>

#include "Base/Gph/GphImage.h"

// JPEG pictures decoded by libjpeg to three colour components.
class GphImageJpg : public GphImage {
public:
    using GphImage::load;

    GphImageJpg(const std::string& fileName, bool transparency);
    int load() override;
};

#endif
