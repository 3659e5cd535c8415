#ifndef KOVO_BASE_GPH_GPHIMAGEPCX_H
#define KOVO_BASE_GPH_GPHIMAGEPCX_H

#include <string>

#include "Base/Gph/GphImage.h"

// 8-bit, one-plane palette PCX pictures with run-length coding. The header's Xmax is
// taken as the number of columns written and Ymax as the number of rows; the picture is
// as wide as a line of the file (bytes per line). Columns from Xmax on stay black.
class GphImagePcx : public GphImage {
public:
    using GphImage::load;

    GphImagePcx(const std::string& fileName, bool transparency);
    int load() override;
};

#endif
