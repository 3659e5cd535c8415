#ifndef KOVO_KOVO_HINT_H
#define KOVO_KOVO_HINT_H

#include <string>

#include "Kovo/Item.h"

class GphRect;
class ShpCoord;

// A folder with a message: picking it up shows a large panel (400 wide, 200 high, depth -10
// until it is placed) that the room keeps on screen, frozen, until a key is pressed, and may
// give the level a new objective picture. Cut-scenes and hint-giving characters make hints
// that are collected at once and all but invisible, only for their panel.
class Hint : public Item {
public:
    Hint(const std::string& image, const std::string& popupImage,
         const std::string& panelImage, const std::string& objectiveImage,
         const std::string& sound);
    ~Hint() override;

    // The panel while it is shown, then the item.
    void draw() override;

    // Centres the panel on the point and shows it.
    void show(const ShpCoord& at);
    void hide() { _shown = false; }
    bool isShown() const { return _shown; }
    // The objective picture's file name as given, possibly empty.
    const std::string& getObjectiveImage() const { return _objective_image; }
    GphRect* getPanel() const { return _panel; }

private:
    GphRect* _panel;
    bool _shown;
    std::string _objective_image;
};

#endif
