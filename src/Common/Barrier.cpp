#include "Common/Barrier.h"

#include <string>

#include "Base/App/TaggedText.h"

Barrier::Barrier()
    : _x1(-1),
      _x2(-1),
      _y1(-1),
      _y2(-1),
      _dx(0),
      _dy(0),
      _slippery(false),
      _conveyor(false),
      _conveyorSpeed(0),
      _slope(0),
      _offset(0)
{
}

Barrier::~Barrier() {}

void Barrier::move(double dx, double dy)
{
    _x1 += dx;
    _x2 += dx;
    _y1 += dy;
    _y2 += dy;
    _dx = dx;
    _dy = dy;
}

double Barrier::surfaceAt(double x) const
{
    return _y2 + _offset + _slope * (x - _x1);
}

int Barrier::read(std::istream& in)
{
    return TaggedText::readBlock(in, "</BARRIER>", [&](const std::string& tag) {
        if (tag == "<EDGES>") {
            double x1, x2, y1, y2;
            std::string closing;
            if (!(in >> x1 >> x2 >> y1 >> y2) || !TaggedText::readToken(in, closing)) return -1;
            _x1 = x1;
            _x2 = x2;
            _y1 = y1;
            _y2 = y2;
            return 0;
        }
        if (tag == "<SLOPE>") return TaggedText::readValue(in, _slope);
        if (tag == "<OFFSET>") return TaggedText::readValue(in, _offset);
        if (tag == "<SLIPPERY>") return TaggedText::readValue(in, _slippery);
        if (tag == "<CONVEYOR>") {
            bool conveyor;
            double speed;
            std::string closing;
            if (!(in >> conveyor >> speed) || !TaggedText::readToken(in, closing)) return -1;
            _conveyor = conveyor;
            _conveyorSpeed = speed;
            return 0;
        }
        return TaggedText::kUnknownTag;
    });
}

int Barrier::write(std::ostream& out) const
{
    out << "<BARRIER>\n"
        << "<EDGES>\n" << _x1 << '\n' << _x2 << '\n' << _y1 << '\n' << _y2 << "\n</EDGES>\n"
        << "<SLIPPERY>\n" << (_slippery ? 1 : 0) << "\n</SLIPPERY>\n"
        << "<CONVEYOR>\n" << (_conveyor ? 1 : 0) << '\n' << _conveyorSpeed << "\n</CONVEYOR>\n"
        << "<SLOPE>\n" << _slope << "\n</SLOPE>\n"
        << "<OFFSET>\n" << _offset << "\n</OFFSET>\n"
        << "</BARRIER>\n";
    return 0;
}
