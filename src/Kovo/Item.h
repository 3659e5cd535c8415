#ifndef KOVO_KOVO_ITEM_H
#define KOVO_KOVO_ITEM_H

#include <istream>
#include <ostream>
#include <string>

#include "Common/Sprite.h"
#include "Kovo/ItemType.h"

class GphRect;
class SndSoundEffect;

// A collectible lying in a room. It shows its picture until it is collected; then a pop-up
// picture takes its place, rises and fades while the pick-up sound plays. The item knows
// nothing of the hero: the room tests it against him, collects it and applies what its type
// and value say.
//
// Lying: the picture at depth -40. Collected: the pop-up at depth -13, rising at 35 units per
// second while its alpha falls by 0.35 per second. Faded: alpha -1, nothing drawn.
class Item : public Sprite {
public:
    // Tokens of the saved block after its opening tag, the closing tag included.
    static constexpr int kStateTokens = 11;

    // A 40 x 40 item at (0, 0, -40); its picture is drawn once right away.
    Item(ItemType type, const std::string& image, const std::string& popupImage,
         const std::string& sound);
    // The same with the picture length x width and the pop-up popupLength x popupWidth
    // (length vertical, width horizontal); nothing is drawn yet.
    Item(ItemType type, const std::string& image, const std::string& popupImage,
         const std::string& sound, double length, double width, double popupLength,
         double popupWidth);
    ~Item() override;

    // Nothing once the pop-up has faded out.
    void draw() override;
    // Entered after the caller has taken the opening tag. 0, or -1 for a block that ends
    // early or holds a value that does not parse. A collected item comes back faded out and
    // silent.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    // Rises and fades the pop-up of a collected item.
    virtual void update(double seconds);

    ItemType getType() const { return _type; }
    // Stores the flag; collected shows the pop-up in the item's place and, when asked,
    // restarts the pick-up sound there.
    void collect(bool collected, bool playSound);
    bool isCollected() const { return _collected; }
    // The pop-up's fade value; 0 or less hides the pop-up for good (stored as -1).
    void setAlpha(float alpha);
    float getAlpha() const { return _alpha; }

    GphRect* getPicture() const { return _picture; }
    GphRect* getPopup() const { return _popup; }
    SndSoundEffect* getSound() const { return _sound; }
    double getPopupLength() const { return _popup_length; }
    double getPopupWidth() const { return _popup_width; }

protected:
    // A rectangle of the picture file, width along x and length along y, at (0, 0, z),
    // with an animation of its own that the caller deletes with it
    // (ObjectPictures::deletePicture).
    static GphRect* makePicture(const std::string& image, double length, double width,
                                double z);

private:
    Item(const Item&) = delete;
    Item& operator=(const Item&) = delete;

    void build(const std::string& image, const std::string& popupImage,
               const std::string& sound, double length, double width);
    // Sizes the box; the sprite's sizing would make the shown picture square, but both
    // pictures keep the shape they were made with.
    void resizeBox(double length, double width);

    ItemType _type;
    GphRect* _picture;
    GphRect* _popup;
    SndSoundEffect* _sound;
    bool _collected;
    float _alpha;
    double _popup_length;
    double _popup_width;
};

#endif
