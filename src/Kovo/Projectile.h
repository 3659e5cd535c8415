#ifndef KOVO_KOVO_PROJECTILE_H
#define KOVO_KOVO_PROJECTILE_H

#include <istream>
#include <ostream>
#include <string>

#include "Common/Sprite.h"

class GphRect;

// A knife, a bullet or a bomb of the enemies: a picture at depth -41 that flies in a straight
// line and spins. It never tests collisions itself; the room does, and deletes it once it hit
// something or, after a rebound off the armoured hero, faded out.
class Projectile : public Sprite {
public:
    // At (x, y, -41) with a box length (vertical) x width (horizontal); the picture is drawn
    // width along x and length along y and spins about the z axis.
    Projectile(double x, double y, double length, double width, double vx, double vy,
               double spin, const std::string& picture);
    ~Projectile() override;

    // Entered after the caller has taken "<PROJECTILE>". 0, or -1 for a block that ends early
    // or holds a value that does not parse. Fading and alpha are not saved.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    // Moves, spins and, after a rebound, fades: whole milliseconds for the fade, seconds for
    // the motion.
    virtual void update(unsigned ms, double seconds);

    // Units per second, upward positive.
    void setVelocityX(double vx) { _vx = vx; }
    double getVelocityX() const { return _vx; }
    void setVelocityY(double vy) { _vy = vy; }
    void addVelocityY(double dvy) { _vy += dvy; }
    double getVelocityY() const { return _vy; }
    // Angle units per second.
    void setSpin(double spin) { _spin = spin; }
    double getSpin() const { return _spin; }

    // Turns back off the armour and starts fading: half the speed for a shot that does not
    // spin, a quarter of speed and spin for one that does.
    void rebound();
    bool isFading() const { return _fading; }
    // Faded out after a rebound (or, for a bomb, burst).
    bool isSpent() const { return _fading && _alpha <= 0; }
    // A bomb: it ends in smoke rather than sparks, and armour does not turn it back.
    virtual bool explodes() const { return false; }
    float getAlpha() const { return _alpha; }
    GphRect* getPicture() const { return _picture; }

protected:
    // Gives the picture the alpha as well.
    void setFadeAlpha(float alpha);
    void startFading() { _fading = true; }

private:
    Projectile(const Projectile&) = delete;
    Projectile& operator=(const Projectile&) = delete;

    GphRect* _picture;
    double _vx;
    double _vy;
    double _spin;
    bool _fading;
    float _alpha;
};

#endif
