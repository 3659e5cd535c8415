#include "Common/Exit.h"

#include <string>

#include "Base/App/TaggedText.h"

Exit::Exit() : _code(0), _x1(-1), _x2(-1), _y1(-1), _y2(-1) {}

Exit::~Exit() {}

int Exit::read(std::istream& in)
{
    int code;
    double x1, x2, y1, y2;
    std::string closing;
    // A record cut short must fail the room rather than leave a half-read exit behind.
    if (!(in >> code >> x1 >> x2 >> y1 >> y2) || !TaggedText::readToken(in, closing)) return -1;
    _code = code;
    _x1 = x1;
    _x2 = x2;
    _y1 = y1;
    _y2 = y2;
    return 0;
}

void Exit::move(double dx, double dy)
{
    _x1 += dx;
    _x2 += dx;
    _y1 += dy;
    _y2 += dy;
}
