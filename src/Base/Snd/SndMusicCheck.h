#ifndef KOVO_BASE_SND_SNDMUSICCHECK_H
#define KOVO_BASE_SND_SNDMUSICCHECK_H

#include <string>

// Whether an Ogg Vorbis file can be handed to the decoding library. The library trusts what a
// damaged stream says far enough to divide by zero, loop for ever or fault in its residue
// decoding, and such a fault ends the whole game. So the file is first opened and decoded in
// a child process, the way the music plays it: its stream information checked (one or two
// channels, a usable rate and block sizes, the same in every chained part), then decoded to
// its end, rewound to the start as a looping music is and decoded to its end again. Only a
// child that comes back whole and in time passes the file. A file is checked once per
// process while its size and time of change stay the same.
class SndMusicCheck {
public:
    // Empty when the file may be played, else why not (for the log).
    static std::string check(const std::string& fileName);

    // The longest a check may take before the file is refused: far beyond the decoding time of
    // the longest music the game ships, short of a hang that looks like a frozen game.
    static constexpr int kTimeLimitMs = 60000;
};

#endif
