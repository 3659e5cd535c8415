#ifndef KOVO_COMMON_ITEMRECORD_H
#define KOVO_COMMON_ITEMRECORD_H

#include <istream>
#include <string>

// One "<ITEM>" record of a room block: the item's type code, the point its centre stands on
// and the extra operands its type carries. A record is always read whole, whatever its code,
// so that the stream stays in step; MapFactory builds the item from it.
//
// The same record describes an item that a character drops: that one is red when it is a gem
// (colour 3) and never a hint.
struct ItemRecord {
    // Type codes with a row in the item table; any other code builds nothing and reads no
    // extra operand.
    static constexpr int kFirstType = 0;
    static constexpr int kLastType = 16;
    // The colours of a gem (type 4); any other value is yellow.
    static constexpr int kGemRed = 3;

    int type;
    int x;
    int y;
    // Type 4: 1 blue, 2 green, 3 red, 4 violet, 5 white, any other value yellow.
    int colour;
    // Type 6: the hint's panel picture and the objective picture it sets.
    std::string panelImage;
    std::string objectiveImage;

    ItemRecord();
    ItemRecord(int type, int x, int y);

    // Type, x, y and the extras of the type, after the caller has taken "<ITEM>"; the closing
    // token is left to the caller. 0, or -1 when the stream ends or a value does not parse.
    int read(std::istream& in);

    // What the type is built from: the item's picture, its pop-up picture, its pick-up sound
    // and its value (points of a treasure, milliseconds of a power-up, 0 otherwise). False for
    // a code that builds nothing (8 and every code outside the table).
    bool describe(std::string& image, std::string& popupImage, std::string& sound,
                  int& value) const;
    // The picture of a gem of that colour.
    static const char* gemImage(int colour);
};

#endif
