#ifndef KOVO_TOOLS_DATAGEN_FONT_H
#define KOVO_TOOLS_DATAGEN_FONT_H

#include <string>
#include <vector>

#include "Canvas.h"

namespace datagen {

// A 5 x 7 bitmap font covering the printable ASCII characters; lower-case letters are drawn
// as their capitals and anything else as '?'.
constexpr int kFontWidth = 5;
constexpr int kFontHeight = 7;

// True when pixel (column, row) of character c is set; row 0 is the top.
bool fontPixel(char c, int column, int row);

// Draws text starting at (x, y), its top-left corner, each font pixel a scale x scale block,
// one blank font column between characters.
void drawText(Canvas& canvas, int x, int y, const std::string& text, int scale, Rgb colour);

// Width in pixels of n characters at the given scale.
int textWidth(int characters, int scale);

// Breaks text into lines of at most `columns` characters, preferring to break after '_', '-',
// '.' or a blank. With `wholeWords` it breaks only there, and gives an empty result when some
// part between such breaks is longer than a line. Empty as well when columns < 1.
std::vector<std::string> wrapText(const std::string& text, int columns, bool wholeWords = false);

}  // namespace datagen

#endif
