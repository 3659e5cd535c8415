#ifndef KOVO_KOVO_THIEF3_H
#define KOVO_KOVO_THIEF3_H

#include <istream>
#include <ostream>

#include "Kovo/Charger.h"

class SndSoundEffect;

// The armed thief. It lies dormant, not drawn and out of reach, until the level shows it.
// Then it watches for the hero and, a second after it has noticed him (no wall between),
// fires bullets in pairs 100 ms apart the way it faces. After a volley it runs on, past the
// hero to a turning point 200 beyond, back to where it passed him, and fires again once it
// has run 200 and sees him; a wall, a ledge or its limit makes it stand and watch further
// (500). When the hero is dying it runs off to a spot drawn at random. Touching it kills
// the hero. It takes three grenades: each hit leaves it coughing for a moment, the first
// two end with it shooting at the hero, the third puts it to sleep for good.
//
// 100 by 100 with the bottom-middle anchor; a run keeps its left edge above the left limit
// and its right edge below the right limit.
class Thief3 : public Charger {
public:
    Thief3(Map* map, Player* player, double x, double y, double z, double leftLimit,
           double rightLimit, CharacterState state, bool facingLeft);

    // Drawn, with its Z pictures, only while shown.
    void draw() override;
    void drawEffects() override;
    // "<THIEF3>" turning point, return point, idle clock and cough played, then the
    // "<CHARACTER>" block and "</THIEF3>". Entered after the caller has taken "<THIEF3>".
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    // A bullet once for each shot: from its front edge at chest height, the way it faces.
    bool takeRequest(CharacterRequest& request) override;

    double getRunDistance() const { return _run_distance; }
    int getAlertTimer() const { return _alert_timer; }
    int getShotCount() const { return _shot_count; }
    bool isActivationPending() const { return _activation_pending; }

private:
    Thief3(const Thief3&) = delete;
    Thief3& operator=(const Thief3&) = delete;

    void stand(bool left, unsigned ms, double seconds);
    void shoot(bool left, unsigned ms, double seconds);
    void run(bool left, double seconds);
    void gassed();

    // Shows a state's pictures from the first frame and sets a state, which may be another
    // with the same look (standing pictures for shooting).
    bool showFromStart(CharacterState shown, CharacterState state);
    // Off to the left, to stop at a spot drawn at random.
    void runToRandomSpot();
    // Standing after a blocked run or volley, watching further.
    void standWatching(CharacterState state);

    // The hero about level with it, at most 400 beyond its front edge.
    bool heroNearAhead(bool left) const;

    bool _activation_pending;
    int _alert_timer;
    SndSoundEffect* _cough_sound;
    SndSoundEffect* _gun_sound;
    bool _fire_request;
    int _shot_timer;
    int _shot_count;
    int _idle_timer;
    bool _cough_played;
    int _hit_points_seen;
    double _run_distance;
};

#endif
