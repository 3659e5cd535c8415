#ifndef KOVO_COMMON_EXIT_H
#define KOVO_COMMON_EXIT_H

#include <istream>

// A box of a room that ends the level with its exit code when the hero stands in it.
// y1 is the upper edge and y2 the lower one (world y grows upward); the reader keeps the
// edges as the file gives them. Exits are not part of a room's saved state.
class Exit {
public:
    Exit();
    ~Exit();

    // "code x1 x2 y1 y2" and one closing token, after the caller has taken "<EXIT>".
    // 0, or -1 when the record is cut short or a value does not parse.
    int read(std::istream& in);

    // Shifts both x edges by dx and both y edges by dy.
    void move(double dx, double dy);

    void setCode(int code) { _code = code; }
    int getCode() const { return _code; }
    void setX1(double x1) { _x1 = x1; }
    double getX1() const { return _x1; }
    void setX2(double x2) { _x2 = x2; }
    double getX2() const { return _x2; }
    void setY1(double y1) { _y1 = y1; }
    double getY1() const { return _y1; }
    void setY2(double y2) { _y2 = y2; }
    double getY2() const { return _y2; }

private:
    int _code;
    double _x1;
    double _x2;
    double _y1;
    double _y2;
};

#endif
