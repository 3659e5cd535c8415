#ifndef KOVO_KOVO_THIEF1_H
#define KOVO_KOVO_THIEF1_H

#include <istream>
#include <ostream>

#include "Kovo/Walker.h"

class Switch;

// The harmless thief who leaves a clue. It stands until it has been on screen a little over
// half a second; then, when the level linked it to a switch, it asks the room to drop a
// hint folder, whose panel holds the room still until the player closes it. The next frame
// on screen it turns and runs away from the way it faced, toggling its switch as it starts.
// Whatever stops the run (its limit, a wall, the end of the floor) makes it vanish for
// good: it is no longer drawn and does nothing more. Touch and gas leave it be.
//
// 100 by 100 with the bottom-middle anchor. Its saved block is "<THIEF1>" around the
// character block.
class Thief1 : public Walker {
public:
    Thief1(Map* map, Player* player, double x, double y, double z, double leftLimit,
           double rightLimit, CharacterState state, bool facingLeft);

    void draw() override;
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    // The switch toggled as the run starts (not owned); without one no folder is dropped.
    void setSwitch(Switch* toggled) override { _switch = toggled; }
    Switch* getSwitch() const { return _switch; }
    // The folder, once: its panel shows beside the thief and holds the room still.
    bool takeRequest(CharacterRequest& request) override;

    int getSeenTimer() const { return _seen_timer; }

private:
    Thief1(const Thief1&) = delete;
    Thief1& operator=(const Thief1&) = delete;

    void stand(unsigned ms);

    Switch* _switch;
    int _seen_timer;
    bool _drop_request;
};

#endif
