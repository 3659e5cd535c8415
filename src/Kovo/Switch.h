#ifndef KOVO_KOVO_SWITCH_H
#define KOVO_KOVO_SWITCH_H

#include <istream>
#include <list>
#include <ostream>

#include "Common/Sprite.h"

class GphRect;
class SndSoundEffect;

// A two-state lever over a list of target sprites found by id when the room was read.
// Switching it on locks the target doors and shows (activates) every other target; off
// unlocks the doors and hides (stops) the rest. A shown switch draws a lever in its off or
// on position, the second pair of lever pictures when it has four targets or more; a hidden
// switch draws nothing and works all the same. Every change plays "switch.wav".
//
// The targets belong to the rooms; the switch never touches them except through setOn.
class Switch : public Sprite {
public:
    // A switch at (0, 0, -207), 40 by 40 until the room places and sizes it. It stores `on`
    // and shows it, but leaves the targets as they are.
    Switch(const std::list<Sprite*>& targets, bool on, bool hidden);
    ~Switch() override;
    Switch(const Switch&) = delete;
    Switch& operator=(const Switch&) = delete;

    // Stores the state, applies it to every target in order, restarts the sound at the
    // switch and shows the lever's position.
    void setOn(bool on);
    void toggle() { setOn(!_on); }
    bool isOn() const { return _on; }

    GphRect* getPicture() const { return _picture; }
    SndSoundEffect* getSound() const { return _sound; }

    // "<SWITCH>", on, the sprite line, "</SWITCH>". Reading starts behind the opening tag and
    // shows the lever's position; the targets restore their own state. 0, or -1 when the
    // block ends early or a value does not parse.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;

private:
    void showState();

    std::list<Sprite*> _targets;
    GphRect* _picture;
    bool _on;
    SndSoundEffect* _sound;
};

#endif
