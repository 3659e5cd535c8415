#ifndef KOVO_TESTS_SUPPORT_PCXFILE_H
#define KOVO_TESTS_SUPPORT_PCXFILE_H

#include <array>
#include <functional>
#include <string>

namespace testsupport {

typedef std::array<unsigned char, 3> Rgb;

// Writes an 8-bit, one-plane PCX picture as the game reads it (Xmax and Ymax hold the width
// and height themselves; the first row is the top). `colourAt(x, y)` gives each pixel, y
// counted from the top; at most 192 different colours.
void writePcx(const std::string& name, int width, int height, const std::function<Rgb(int x, int y)>& colourAt);

// A picture of one colour.
void writeSolidPcx(const std::string& name, Rgb colour, int width = 16, int height = 16);

}  // namespace testsupport

#endif
