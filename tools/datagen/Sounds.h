#ifndef KOVO_TOOLS_DATAGEN_SOUNDS_H
#define KOVO_TOOLS_DATAGEN_SOUNDS_H

#include <string>

#include "PictureFormats.h"

namespace datagen {

// The pitch of the tone made for a name: one of the semitones from 220 Hz to 880 Hz.
double toneFrequency(const std::string& name);

// RIFF WAV, 16-bit PCM, mono, 22050 Hz: the name's tone for the given time with a short fade in
// and out.
Bytes encodeWav(const std::string& name, int milliseconds);

// Ogg Vorbis at 44100 Hz with one or two channels: the name's tone for the given time, the right
// channel a little higher than the left. `recipe` goes into the comment header under the tag
// "KOVO_DATAGEN", so that a later run can tell the file is already what it would make.
// Throws std::runtime_error when the encoder refuses.
Bytes encodeOgg(const std::string& name, double seconds, int channels, const std::string& recipe);

// Whether the Ogg file at `path` was made from `recipe` (looks at its comment header).
bool oggMadeFrom(const std::string& path, const std::string& recipe);

}  // namespace datagen

#endif
