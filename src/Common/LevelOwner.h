#ifndef KOVO_COMMON_LEVELOWNER_H
#define KOVO_COMMON_LEVELOWNER_H

#include <string>

// What a running level tells the screen that runs it: the game screen implements it. The
// calls come from inside the level's update; the owner must not delete the level while
// one of them runs, only after the update has returned.
class LevelOwner {
public:
    virtual ~LevelOwner();

    // Shows the picture as the current objective.
    virtual void setObjective(const std::string& imageFileName) = 0;
    // One more objective treasure has been found.
    virtual void onObjectiveFound() = 0;
    // The hero has died: the owner restarts the level while lives remain, else ends the game.
    virtual void onPlayerDied() = 0;
    // The hero has left the level through an exit with that code.
    virtual void onLevelFinished(const std::string& levelFileName, int exitCode) = 0;
};

#endif
