#ifndef KOVO_BASE_GPH_GPHRECT_H
#define KOVO_BASE_GPH_GPHRECT_H

#include "Base/Gph/GphObject.h"

// The one flat quad with which sprites, controls, tiles and particles are drawn: a length
// along x and a width along y, centred on its coordinate, textured through its animated
// texture or filled with its own colour.
class GphRect : public GphObject {
public:
    explicit GphRect(int type = GPH_RECT);
    GphRect(double length, double width, const ShpCoord* coord, GphAnimatedTexture* texture,
            int type);
    GphRect(const GphRect& other);
    GphRect& operator=(const GphRect& other);

    ~GphRect() override;
    bool isVisible() override;
    int draw() override;
    // The "<RECT>" block; the caller has taken the opening tag.
    int read(std::istream& in) override;
    int write(std::ostream& out) override;
    void updateGeometry() override;

    void setLength(double length);
    double getLength() const { return _length; }
    void setWidth(double width);
    double getWidth() const { return _width; }
    double getHalfLength() const { return _halfLength; }
    double getHalfWidth() const { return _halfWidth; }
    void setColor(float red, float green, float blue);
    void getColor(float& red, float& green, float& blue) const;
    void getNormal(float& x, float& y, float& z) const;

    // Draws through the virtual table, so that a subclass's drawing runs.
    void render();

    // What the rectangles that reached OpenGL since the program started add up to: the
    // measure of a frame's drawing work that the benchmark reports and gives its floor.
    struct Tally {
        unsigned long rects = 0;
        // Those drawn with a picture and blending on.
        unsigned long blended = 0;
        // Window pixels covered, each rectangle cut to the view (rotations not counted).
        double pixels = 0;
    };
    static const Tally& getTally() { return s_tally; }

protected:
    double _length;
    double _width;
    double _halfLength;
    double _halfWidth;
    float _red;
    float _green;
    float _blue;
    float _normalX;
    float _normalY;
    float _normalZ;
    bool _normalOutdated;

private:
    // The rectangle's part in the tally; `blended`: drawn with blending on.
    void count(bool blended) const;

    static Tally s_tally;
};

#endif
