#ifndef KOVO_KOVO_PROPFIELDS_H
#define KOVO_KOVO_PROPFIELDS_H

#include <istream>
#include <string>

#include "Base/App/TaggedText.h"

class Barrier;
class GphAnimatedTexture;
class GphRect;
class Map;
class Sprite;

// What the props of a room (obstacles, platforms, hammers, hazards, doors) share: reading the
// level-file fields they have in common, and their picture, a rectangle showing one of the
// room's animations. The animation stays in the room's image table; the prop deletes only the
// rectangle.
class PropFields {
public:
    // The value of an "<ID>" field and its closing token into the sprite's id.
    static int readId(std::istream& in, Sprite& sprite);

    // The room's animation of the id of an "<ANIMATION>" field (its value and closing token).
    // -1 when the value does not read, or after logging "Failed to retrieve animation" when
    // the room (or a missing room) has none of that id.
    static int readAnimation(std::istream& in, Map* owner, GphAnimatedTexture*& animation);

    // Replaces the picture by a 100 x 100 rectangle of the animation at (0, 0, z) and hands
    // it to the sprite, draws it once when asked, then places the sprite at (0, 0, z) and
    // sizes it 100 x 100 until its "<LOCATION>" gives its own box.
    static void replacePicture(Sprite& sprite, GphRect*& picture, GphAnimatedTexture* animation,
                               double z, bool drawOnce);
    // Deletes the rectangle but not its animation, takes it from the sprite when the sprite
    // shows it, and empties the slot.
    static void deletePicture(Sprite& sprite, GphRect*& picture);
    // The sprite's sizing makes its picture square; this gives the picture (when there is one)
    // the sprite's own box again, its width along x and its length along y.
    static void fitPicture(GphRect* picture, const Sprite& sprite);

    // A "<LOCATION>" field: x, y, width and height (whole numbers), then one value into each
    // of `extra`, then the closing token. Once all of it has read, the sprite stands at
    // (x, y, z) with a box of that height (length) and width, and its picture takes the
    // box's shape. -1, with nothing changed, when a value does not parse or the stream ends.
    template <class... Extra>
    static int readLocation(std::istream& in, Sprite& sprite, GphRect* picture, double z,
                            Extra&... extra)
    {
        int x, y, width, height;
        if (!(in >> x >> y >> width >> height)) return -1;
        if (!(in >> ... >> extra)) return -1;
        std::string closing;
        if (!TaggedText::readToken(in, closing)) return -1;
        place(sprite, picture, x, y, width, height, z);
        return 0;
    }

    // The barrier block behind a "<FLOOR>", "<WALL>" or "<CEILING>" tag (its opening tag, its
    // body, the field's closing token) into the slot, whose earlier barrier is deleted. A
    // barrier that fails to read is logged ("Failed to read barrier") and deleted, and the
    // slot is left empty.
    static int readBarrier(std::istream& in, Barrier*& slot);

private:
    static void place(Sprite& sprite, GphRect* picture, int x, int y, int width, int height,
                      double z);
};

#endif
