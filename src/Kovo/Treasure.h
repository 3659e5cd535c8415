#ifndef KOVO_KOVO_TREASURE_H
#define KOVO_KOVO_TREASURE_H

#include <string>

#include "Kovo/Item.h"

// Coins, money, a money bag, a ring, a gem or a credit card (item types 0 to 5): points for
// the score, counted in the level's treasure.
class Treasure : public Item {
public:
    Treasure(ItemType type, const std::string& image, const std::string& popupImage,
             const std::string& sound, int points);
    ~Treasure() override;

    void setPoints(int points) { _points = points; }
    int getPoints() const { return _points; }

private:
    int _points;
};

#endif
