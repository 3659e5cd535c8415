#include "Base/App/Platform.h"

#include <cstdlib>
#include <iostream>

#include "Base/App/Log.h"

namespace {

// SDL 1.2 reads this when it opens its window: "x,y" places the window there.
const char* const kWindowPositionVariable = "SDL_VIDEO_WINDOW_POS";

// What the variable held before placeNextWindowTopLeft, to be put back afterwards.
bool g_placing = false;
bool g_hadPlacement = false;
std::string g_previousPlacement;

}  // namespace

namespace AppPlatform {

void showMessage(const std::string& text, const std::string& caption)
{
    // The log keeps one message per line, so the text's own line breaks become blanks.
    std::string oneLine = text;
    for (char& c : oneLine) {
        if (c == '\n') c = ' ';
    }
    LOG(caption << ": " << oneLine);
    std::cerr << caption << ": " << text << std::endl;
}

void exitFatal(const std::string& message)
{
    std::cerr << message << std::endl;
    g_log.flush();
    std::exit(kFatalExitCode);
}

void placeNextWindowTopLeft()
{
    if (!g_placing) {
        const char* previous = std::getenv(kWindowPositionVariable);
        g_hadPlacement = previous != nullptr;
        g_previousPlacement = previous != nullptr ? previous : "";
        g_placing = true;
    }
    setenv(kWindowPositionVariable, "0,0", 1);
}

void forgetWindowPlacement()
{
    if (!g_placing) return;
    if (g_hadPlacement) {
        setenv(kWindowPositionVariable, g_previousPlacement.c_str(), 1);
    } else {
        unsetenv(kWindowPositionVariable);
    }
    g_placing = false;
}

}  // namespace AppPlatform
