#ifndef KOVO_TOOLS_DATAGEN_PICTUREFORMATS_H
#define KOVO_TOOLS_DATAGEN_PICTUREFORMATS_H

#include <cstdint>
#include <vector>

#include "Canvas.h"

namespace datagen {

using Bytes = std::vector<std::uint8_t>;

// 8-bit one-plane PCX, run-length coded, 256-colour palette after a 0x0C byte at the end.
// The header's Xmax and Ymax hold the width and height themselves (with Xmin = Ymin = 0): the
// game reads them as counts of columns and rows. Bytes per line equal the width.
// Throws std::runtime_error for a picture of more than 256 colours.
Bytes encodePcx(const Canvas& canvas);

// 24-bit uncompressed Windows bitmap, bottom row first, rows padded to 4 bytes.
Bytes encodeBmp(const Canvas& canvas);

// Baseline RGB JPEG. Throws std::runtime_error with libjpeg's message when it fails.
Bytes encodeJpeg(const Canvas& canvas, int quality);

}  // namespace datagen

#endif
