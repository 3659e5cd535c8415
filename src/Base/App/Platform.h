#ifndef KOVO_BASE_APP_PLATFORM_H
#define KOVO_BASE_APP_PLATFORM_H

#include <string>

#include "Base/App/Log.h"

// What the game asks of the desktop beyond SDL: telling the player about a problem,
// ending after a fatal one, and where the window first appears. (Named apart from the
// game's moving platforms.)
namespace AppPlatform {

// The status with which the program ends when it cannot go on.
constexpr int kFatalExitCode = 1;

// Tells the player: one log line and the caption and text on standard error. It never
// waits for anyone, so a game started without a terminal or a desktop does not hang.
void showMessage(const std::string& text, const std::string& caption);

// Ends the program at once with kFatalExitCode after writing `message` to standard error
// and flushing the log. The caller logs its own message first.
[[noreturn]] void exitFatal(const std::string& message);

// A failed allocation: the one log line, then the fatal end. A macro so that the log line
// names the place that failed.
#define KOVO_NEW_FAILED()                    \
    do {                                     \
        LOG("New failed");                   \
        AppPlatform::exitFatal("New failed");   \
    } while (0)

// Makes the next window that SDL opens appear at the top-left corner of the screen.
// SDL reads the request when the video mode is set; undo it with forgetWindowPlacement
// once the window is open, so that later mode changes leave the window where it is.
void placeNextWindowTopLeft();
void forgetWindowPlacement();

}  // namespace AppPlatform

#endif
