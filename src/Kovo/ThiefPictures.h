#ifndef KOVO_KOVO_THIEFPICTURES_H
#define KOVO_KOVO_THIEFPICTURES_H

#include <string>
#include <vector>

// The run the three kinds of thief share.
namespace ThiefPictures {

// Milliseconds per frame of the run.
constexpr unsigned kRunFrameMs = 25;
// A gun held at chest height: where the armed thieves' bullets leave, above their feet.
constexpr double kGunHeight = 63.0;

// "thief_run<way>01.pcx" to "...10.pcx", each picture twice in a row: 20 frames.
std::vector<std::string> run(const char* way);

}  // namespace ThiefPictures

#endif
