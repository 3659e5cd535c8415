#ifndef KOVO_COMMON_SPRITE_H
#define KOVO_COMMON_SPRITE_H

#include <iosfwd>
#include <istream>
#include <ostream>

class GphObject;

// Base of every game object and control: a position, a box of length (vertical) by width
// (horizontal) placed by an anchor code, a visible flag and a graphic that it keeps
// centred on the box. The graphic belongs to whoever made it; the sprite never deletes it.
//
// Anchor codes, the point of the box the position names: 0 top-left, 1 bottom-left,
// 2 bottom-right, 3 top-right, 4 centre, 5 middle of the left edge, 6 middle of the right
// edge, 7 middle of the top edge, 8 middle of the bottom edge.
class Sprite {
public:
    Sprite();
    virtual ~Sprite();
    virtual void draw();
    // The saved "<SPRITE>" line; the owner has taken the opening tag before reading.
    virtual int readState(std::istream& in);
    virtual int writeState(std::ostream& out);

    void setId(int id) { _id = id; }
    int getId() const { return _id; }

    void setPosition(double x, double y, double z);
    void setX(double x);
    void setY(double y);
    void setZ(double z);
    double getX() const { return _x; }
    double getY() const { return _y; }
    double getZ() const { return _z; }
    void getPosition(double& x, double& y, double& z) const;
    void move(double dx, double dy, double dz);
    void resetToStart();
    void getStartPosition(double& x, double& y, double& z) const;

    void setSize(double length, double width);
    void getSize(double& length, double& width) const;
    void getHalfSize(double& halfLength, double& halfWidth) const;
    double getHalfLength() const { return _halfLength; }
    double getHalfWidth() const { return _halfWidth; }

    void setAnchor(int code);
    int getAnchor() const { return _anchor; }

    double getLeft() const;
    double getRight() const;
    double getTop() const;
    double getBottom() const;

    void setVisible(bool visible) { _visible = visible; }
    void show() { _visible = true; }
    void hide() { _visible = false; }
    bool isVisible() const { return _visible; }

    void setGraphic(GphObject* graphic) { _graphic = graphic; }
    GphObject* getGraphic() const { return _graphic; }
    void placeGraphic();
    bool isOnScreen() const;

protected:
    // Tokens of the saved "<SPRITE>" line behind its tag: x, y, z, length, width, visible and
    // the closing tag.
    static constexpr int kStateLineTokens = 7;
    // For a subclass whose saved block ends right after the sprite line: takes the line's
    // fields (its tag already taken) and the block's closing tag ahead of reading them, so
    // that a block cut short anywhere is refused before anything of it is applied. `line`
    // then holds the fields for Sprite::readState. False when the stream ends first.
    static bool takeStateLine(std::istream& in, std::istringstream& line);

    int _id;
    double _x;
    double _y;
    double _z;
    double _length;
    double _width;
    double _halfLength;
    double _halfWidth;
    double _startX;
    double _startY;
    double _startZ;
    int _anchor;
    bool _visible;
    GphObject* _graphic;

private:
    // The box's horizontal and vertical offsets of the graphic's centre from the position,
    // false for a code outside 0 to 8.
    bool centreOffset(double& dx, double& dy) const;
    void applySize(double length, double width);
};

#endif
