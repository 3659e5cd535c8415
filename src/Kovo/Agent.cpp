#include "Kovo/Agent.h"

#include "Common/CharacterRecord.h"
#include "Common/GameConstants.h"

namespace {

// 120 tall, 60 wide.
const double kLength = 120.0;
const double kWidth = 60.0;
const int kHitPoints = 1;
// He neither walks nor pushes.
const double kSpeed = 0.0;
const double kAlarmRange = 250.0;
const double kSightRange = 250.0;
// Saved with the character block; the agent reads neither.
const int kIdleTurn = 4;
const int kReserved = 4;

}  // namespace

Agent::Agent(Map* map, Player* player, double x, double y, double z, CharacterState state,
             bool facingLeft, const std::string& text1, const std::string& text2,
             const std::string& text3)
    : Character(map, player, CharacterTypeAgent, 0, 0, 8, false, true, kHitPoints, kSpeed,
                kSpeed, kAlarmRange, kSightRange, kIdleTurn, kReserved, state, facingLeft,
                false),
      _text1(text1),
      _text2(text2),
      _text3(text3),
      _shown(false)
{
    // The hero meets him when his middle lies inside the hero; he stands behind the others.
    setContact(ContactCentreInside);
    addTraits(TraitDrawnBehind);
    buildAnimations();
    // Sized first: the picture keeps its own shape, narrower than it is tall.
    setSize(kLength, kWidth);
    makeDrawable(x, y, z, kLength, kWidth);
}

Character* Agent::build(Map* map, Player* player, const CharacterRecord& record)
{
    return new Agent(map, player, record.x, record.y, record.depth(), record.state,
                     record.facingLeft, record.text1, record.text2, record.text3);
}

void Agent::buildAnimations()
{
    addAnimation(CharacterStateStandRight, {"agentk_faceright.pcx"});
    addAnimation(CharacterStateStandLeft, {"agentk_faceleft.pcx"});
}

void Agent::getHintTexts(std::string& above, std::string& below, std::string& objective) const
{
    above = _text1;
    below = _text2;
    objective = _text3;
}
