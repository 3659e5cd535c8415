#ifndef KOVO_TOOLS_DATAGEN_OUTPUT_H
#define KOVO_TOOLS_DATAGEN_OUTPUT_H

#include <string>

#include "PictureFormats.h"

namespace datagen {

// Writes bytes to path unless the file already holds exactly them, so that an unchanged file
// keeps its time stamp. The new content goes to a temporary file renamed over the old one,
// so no reader ever sees a half-written file. Returns whether it wrote; throws
// std::runtime_error when it cannot.
bool writeIfChanged(const std::string& path, const Bytes& bytes);

}  // namespace datagen

#endif
