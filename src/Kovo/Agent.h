#ifndef KOVO_KOVO_AGENT_H
#define KOVO_KOVO_AGENT_H

#include <string>

#include "Kovo/Character.h"

struct CharacterRecord;

// The informant. He stands still facing one way and carries three picture names: the hint
// panel shown above him, the one shown below him when there is no room above, and an
// objective. The first time the hero touches him the room shows his hint and, when the
// third name is not empty, makes it the level's objective; after that he has nothing more
// to say until the room is read again (a loaded game). Harmless, and grenades and gas pass
// him by. 60 wide and 120 tall with the bottom-middle anchor, drawn behind the other actors.
class Agent : public Character {
public:
    Agent(Map* map, Player* player, double x, double y, double z, CharacterState state,
          bool facingLeft, const std::string& text1, const std::string& text2,
          const std::string& text3);
    // From a level-file record: his three picture names.
    static Character* build(Map* map, Player* player, const CharacterRecord& record);

    void buildAnimations() override;

    // His hint: the panel shown above him, the one shown below him and the objective.
    bool isHintShown() const override { return _shown; }
    void setHintShown(bool shown) override { _shown = shown; }
    void getHintTexts(std::string& above, std::string& below,
                      std::string& objective) const override;

    const std::string& getText1() const { return _text1; }
    const std::string& getText2() const { return _text2; }
    const std::string& getText3() const { return _text3; }
    void setShown(bool shown) { _shown = shown; }
    bool isShown() const { return _shown; }

private:
    std::string _text1;
    std::string _text2;
    std::string _text3;
    bool _shown;
};

#endif
