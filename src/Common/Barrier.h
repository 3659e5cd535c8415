#ifndef KOVO_COMMON_BARRIER_H
#define KOVO_COMMON_BARRIER_H

#include <istream>
#include <ostream>

// The one collision shape of the level world: an axis-aligned box that a room lists as a
// wall, a floor or a ceiling, and that platforms and obstacles own and move.
//
// World y grows upward, so y1 is the upper edge and y2 the lower one. A floor's band is
// [y2, y1]; its walking surface at x is y2 + offset + slope * (x - x1), so a flat floor
// with offset 0 is walked on at its lower edge. The last move carries whatever stands on
// a moving floor; it changes only through move(). The conveyor flag and speed are kept
// and saved but take no part in motion.
class Barrier {
public:
    Barrier();
    ~Barrier();

    // Shifts both x edges by dx and both y edges by dy and records (dx, dy) as the last move.
    void move(double dx, double dy);

    // Height of the walking surface at x: y2 + offset + slope * (x - x1).
    double surfaceAt(double x) const;

    void setX1(double x1) { _x1 = x1; }
    double getX1() const { return _x1; }
    void setX2(double x2) { _x2 = x2; }
    double getX2() const { return _x2; }
    void setY1(double y1) { _y1 = y1; }
    double getY1() const { return _y1; }
    void setY2(double y2) { _y2 = y2; }
    double getY2() const { return _y2; }
    void setSlippery(bool slippery) { _slippery = slippery; }
    bool isSlippery() const { return _slippery; }
    void setConveyor(bool conveyor) { _conveyor = conveyor; }
    bool isConveyor() const { return _conveyor; }
    void setConveyorSpeed(double speed) { _conveyorSpeed = speed; }
    double getConveyorSpeed() const { return _conveyorSpeed; }
    void setSlope(double slope) { _slope = slope; }
    double getSlope() const { return _slope; }
    void setOffset(double offset) { _offset = offset; }
    double getOffset() const { return _offset; }

    // The last move, read by the room to carry what stands on the barrier.
    double getLastMoveX() const { return _dx; }
    double getLastMoveY() const { return _dy; }

    // The body of a "<BARRIER>" block whose opening tag the caller has taken, up to and
    // including "</BARRIER>". 0, or -1 after an unknown tag, a value that does not parse
    // or a stream that ends inside the block. Fields may come in any order and repeat.
    int read(std::istream& in);
    // The whole block, opening tag included, one token per line; always 0.
    int write(std::ostream& out) const;
    // The saved form of a barrier is its level-file block.
    int readState(std::istream& in) { return read(in); }
    int writeState(std::ostream& out) const { return write(out); }

private:
    double _x1;
    double _x2;
    double _y1;
    double _y2;
    double _dx;
    double _dy;
    bool _slippery;
    bool _conveyor;
    double _conveyorSpeed;
    double _slope;
    double _offset;
};

#endif
