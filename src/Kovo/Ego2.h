#ifndef KOVO_KOVO_EGO2_H
#define KOVO_KOVO_EGO2_H

#include <istream>
#include <list>
#include <ostream>
#include <string>

#include "Kovo/Character.h"

struct CharacterRecord;

// The scientist on his chair. He carries the pictures of a hint panel (one for showing it
// above him, one for below) and an objective picture from the level file; the first time the
// hero touches him, the room shows that hint. From then on his chair takes off: it sinks a
// little, then climbs faster and faster until it is higher than 2400, and he is gone. Until
// the hint has been shown a list of the room's sprites is held invisible; from then on they
// are made visible. He is harmless, gas does not touch him, and he never follows the hero.
//
// 100 wide and 200 high with the bottom-middle anchor.
class Ego2 : public Character {
public:
    Ego2(Map* map, Player* player, double x, double y, double z, CharacterState state,
         bool facingLeft, const std::string& text1, const std::string& text2,
         const std::string& text3);
    // From a level-file record: the record's three names are the texts.
    static Character* build(Map* map, Player* player, const CharacterRecord& record);

    // Not drawn once gone.
    void draw() override;
    // "<EGO2>" the chair's speed, then the "<CHARACTER>" block and "</EGO2>". Entered after
    // the caller has taken "<EGO2>"; a block that ends early or holds a value that does not
    // parse fails with -1 and leaves him as it was. Whether the hint was shown, the texts and
    // the linked sprites are not saved.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    // The room's sprites held back until the hint was shown (they belong to the room).
    void setLinkedSprites(const std::list<Sprite*>& sprites) override;
    const std::list<Sprite*>& getLinkedSprites() const { return _linked_sprites; }

    // His hint: the panel shown above him, the one shown below him, the objective picture;
    // shown once.
    bool isHintShown() const override { return _shown; }
    void setHintShown(bool shown) override { _shown = shown; }
    void getHintTexts(std::string& above, std::string& below,
                      std::string& objective) const override;
    const std::string& getText1() const { return _text1; }
    const std::string& getText2() const { return _text2; }
    const std::string& getText3() const { return _text3; }

private:
    void fly(double seconds);

    std::list<Sprite*> _linked_sprites;
    std::string _text1;
    std::string _text2;
    std::string _text3;
    bool _shown;
};

#endif
