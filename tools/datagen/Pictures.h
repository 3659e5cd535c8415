#ifndef KOVO_TOOLS_DATAGEN_PICTURES_H
#define KOVO_TOOLS_DATAGEN_PICTURES_H

#include <cstdint>
#include <string>

#include "Canvas.h"

namespace datagen {

// FNV-1a of the text: the seed of every colour and tone made for a file name.
std::uint32_t nameHash(const std::string& text);

// The flat colour of a picture: mid-bright, never near black, fixed by the name.
Rgb colourFromName(const std::string& name);

// A flat-colour picture with a darker border and its name lettered on it where it fits.
Canvas makeImage(const std::string& name, int width, int height);

// The same as a rounded shape inside a surround of pure black, which the game makes see-through.
Canvas makeSprite(const std::string& name, int width, int height);

// One character lettered large in near-white on black, for the text boxes' bitmap font.
Canvas makeGlyph(int width, int height, char character);

}  // namespace datagen

#endif
