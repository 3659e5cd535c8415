#ifndef KOVO_KOVO_THIEF2_H
#define KOVO_KOVO_THIEF2_H

#include <istream>
#include <ostream>

#include "Kovo/Walker.h"

class SndSoundEffect;

// The thief who fires once and flees. Once it has stood on screen a little over half a
// second with the hero not above it, it fires two shots 100 ms apart the way it faces,
// then turns and runs the other way, and vanishes for good where the run ends (its limit, a
// wall, the end of its floor). If the hero is dying when the two shots are out it stands
// instead, and its next volley is over before it starts. It never hurts by touch, gas
// leaves it be, and it goes about its business hidden or shown; hidden, it is not drawn.
//
// 100 by 100 with the bottom-middle anchor. Its saved block is "<THIEF2>" around the
// character block: a restored volley starts over.
class Thief2 : public Walker {
public:
    Thief2(Map* map, Player* player, double x, double y, double z, double leftLimit,
           double rightLimit, CharacterState state, bool facingLeft);

    void draw() override;
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    // A bullet once for each shot: from its front edge at chest height, the way it faces.
    bool takeRequest(CharacterRequest& request) override;

    int getAlertTimer() const { return _alert_timer; }
    int getShotCount() const { return _shot_count; }

private:
    Thief2(const Thief2&) = delete;
    Thief2& operator=(const Thief2&) = delete;

    void stand(unsigned ms);
    void shoot(unsigned ms);

    int _alert_timer;
    SndSoundEffect* _gun_sound;
    bool _fire_request;
    int _shot_timer;
    int _shot_count;
};

#endif
