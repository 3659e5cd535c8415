#ifndef KOVO_KOVO_GRENADE_H
#define KOVO_KOVO_GRENADE_H

#include <istream>
#include <ostream>
#include <string>

#include "Kovo/Item.h"

// A gas grenade: lying in a room it is one more grenade for the hero; thrown or fired by him it
// is the flying grenade whose flight the room computes from the speeds kept here. A thrown one
// falls under gravity and bounces off walls, a launcher shot flies straight.
class Grenade : public Item {
public:
    Grenade(const std::string& image, const std::string& popupImage, const std::string& sound);
    ~Grenade() override;

    // Entered after the caller has taken "<GRENADE>". 0, or -1 for a block that ends early or
    // holds a value that does not parse. The falls flag is not saved: it comes back set.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;

    // Units per second, upward positive.
    void setVelocityX(double vx) { _vx = vx; }
    double getVelocityX() const { return _vx; }
    void setVelocityY(double vy) { _vy = vy; }
    void addVelocityY(double dvy) { _vy += dvy; }
    double getVelocityY() const { return _vy; }
    void setFalls(bool falls) { _falls = falls; }
    bool falls() const { return _falls; }

private:
    double _vx;
    double _vy;
    bool _falls;
};

#endif
