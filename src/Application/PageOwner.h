#ifndef KOVO_APPLICATION_PAGEOWNER_H
#define KOVO_APPLICATION_PAGEOWNER_H

#include <string>

// What the chapter pages ask of the screen that owns them: the game screen implements it.
// A page's level buttons start levels, its page buttons turn the pages, and the summary
// page's end button ends the game.
class PageOwner {
public:
    virtual ~PageOwner();

    // Reads the level file and starts it.
    virtual void loadLevel(const std::string& fileName) = 0;
    // The page after the current one, or the one before it, is shown from now on.
    virtual void nextPage() = 0;
    virtual void previousPage() = 0;
    // Shows the picture as the current objective.
    virtual void setObjective(const std::string& imageFileName) = 0;
    // Outside a level this ends the game, whatever lives are left.
    virtual void onPlayerDied() = 0;
};

#endif
