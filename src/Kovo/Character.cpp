#include "Kovo/Character.h"

#include <string>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "Kovo/ObjectPictures.h"

Character::Character(Map* map, Player* player, CharacterType type, double horizontalInset,
                     double topInset, int anchor, bool harmful, bool gasImmune, int hitPoints,
                     double pushSpeed, double speed, double alarmRange, double sightRange,
                     int idleTurn, int reserved, CharacterState state, bool facingLeft,
                     bool ignoresGasCloud)
    : Sprite(),
      _map(map),
      _player(player),
      _drawable(nullptr),
      _type(type),
      _animations(),
      _harmful(harmful),
      _gas_immune(gasImmune),
      _hit_points(hitPoints),
      _push_speed(pushSpeed),
      _speed(speed),
      _alarm_range(alarmRange),
      _sight_range(sightRange),
      _horizontal_inset(horizontalInset),
      _top_inset(topInset),
      _idle_turn(idleTurn),
      _reserved(reserved),
      _state(state),
      _start_state(state),
      _facing_left(facingLeft),
      _ignores_gas_cloud(ignoresGasCloud),
      _carried_item(-1)
{
    setAnchor(anchor);
}

Character::~Character()
{
    if (_drawable) {
        _drawable->setAnimatedTexture(nullptr);
        delete _drawable;
        _drawable = nullptr;
        setGraphic(nullptr);
    }
    for (auto& entry : _animations) delete entry.second;
    _animations.clear();
}

Reaction* Character::react()
{
    return nullptr;
}

void Character::think(unsigned, double) {}

void Character::drawEffects() {}

double Character::getCollisionLeft() const
{
    return getLeft() + _horizontal_inset;
}

double Character::getCollisionRight() const
{
    return getRight() - _horizontal_inset;
}

double Character::getCollisionTop() const
{
    return getTop() - _top_inset;
}

void Character::stun()
{
    _state = _facing_left ? CharacterStateStunnedLeft : CharacterStateStunnedRight;
}

void Character::bonk()
{
    _state = _facing_left ? CharacterStateBonkedLeft : CharacterStateBonkedRight;
}

bool Character::isIncapacitated() const
{
    switch (_state) {
    case CharacterStateFallLeft:
    case CharacterStateFallRight:
    case CharacterStateBonkedLeft:
    case CharacterStateBonkedRight:
    case CharacterStateStunnedLeft:
    case CharacterStateStunnedRight:
    case CharacterStateWallSlamLeft:
    case CharacterStateWallSlamRight:
    case CharacterStateKnockedBackLeft:
    case CharacterStateKnockedBackRight:
        return true;
    default:
        return false;
    }
}

bool Character::isAsleep() const
{
    return _state == CharacterStateAsleepLeft || _state == CharacterStateAsleepRight;
}

void Character::fallAsleep()
{
    switch (_state) {
    case CharacterStateStunnedLeft:
    case CharacterStateBonkedLeft:
    case CharacterStateWallSlamLeft:
    case CharacterStateKnockedBackLeft:
    case CharacterStateFallLeft:
        _state = CharacterStateAsleepLeft;
        break;
    default:
        _state = CharacterStateAsleepRight;
        break;
    }
    setZ(GameConstants::zBackCharacter);
    move(0.0, -1.0, 0.0);
    _hit_points = 0;
}

void Character::resetState()
{
    switch (_start_state) {
    case CharacterStateStandLeft:
    case CharacterStateStandRight:
        _state = _facing_left ? CharacterStateStandLeft : CharacterStateStandRight;
        break;
    case CharacterStateSneakLeft:
    case CharacterStateSneakRight:
        _state = _facing_left ? CharacterStateSneakLeft : CharacterStateSneakRight;
        break;
    case CharacterStateMoveLeft:
    case CharacterStateMoveRight:
        _state = _facing_left ? CharacterStateMoveLeft : CharacterStateMoveRight;
        break;
    case CharacterStateJumpLeft:
    case CharacterStateJumpRight:
        _state = _facing_left ? CharacterStateJumpLeft : CharacterStateJumpRight;
        break;
    case CharacterStateShootLeft:
    case CharacterStateShootRight:
        _state = _facing_left ? CharacterStateShootLeft : CharacterStateShootRight;
        break;
    case CharacterStateFlyLeft:
    case CharacterStateFlyRight:
        _state = _facing_left ? CharacterStateFlyLeft : CharacterStateFlyRight;
        break;
    default:
        // A look without facing, or a state that only happens to an actor, is kept.
        break;
    }
    showStateAnimation();
}

GphAnimatedTexture* Character::findAnimation(CharacterState state) const
{
    auto it = _animations.find(state);
    return it == _animations.end() ? nullptr : it->second;
}

void Character::showStateAnimation()
{
    GphAnimatedTexture* animation = findAnimation(_state);
    if (animation && _drawable) _drawable->setAnimatedTexture(animation);
}

void Character::addAnimation(CharacterState state, const std::vector<std::string>& fileNames,
                             unsigned msPerFrame)
{
    GphAnimatedTexture* animation = ObjectPictures::loadAnimation(fileNames, msPerFrame);
    auto it = _animations.find(state);
    if (it != _animations.end()) {
        if (_drawable && _drawable->getAnimatedTexture() == it->second)
            _drawable->setAnimatedTexture(animation);
        delete it->second;
        it->second = animation;
    } else {
        _animations[state] = animation;
    }
}

void Character::makeDrawable(double x, double y, double z, double length, double width)
{
    const ShpCoord at(x, y, z);
    _drawable = new GphRect(width, length, &at, findAnimation(_start_state), GPH_RECT);
    setGraphic(_drawable);
    _drawable->render();
    setPosition(x, y, z);
}

int Character::writeState(std::ostream& out)
{
    out << "<CHARACTER> " << _hit_points << ' ' << _idle_turn << ' ' << _reserved << ' '
        << _state << ' ' << (_facing_left ? 1 : 0) << ' ';
    const int result = Sprite::writeState(out);
    if (result == 0) out << "</CHARACTER>\n";
    return result;
}

int Character::readState(std::istream& in)
{
    // Everything is read into locals first: a block that ends early or holds garbage must
    // not leave the actor with zeros in place of its values.
    int hitPoints, idleTurn, reserved, state;
    bool facingLeft;
    std::string spriteTag;
    if (!(in >> hitPoints >> idleTurn >> reserved >> state >> facingLeft >> spriteTag))
        return -1;

    // The sprite line makes the picture a square; this actor's picture keeps its own shape.
    double pictureLength = 0, pictureWidth = 0;
    if (_drawable) {
        pictureLength = _drawable->getLength();
        pictureWidth = _drawable->getWidth();
    }
    const int result = Sprite::readState(in);
    if (result != 0) return result;
    if (_drawable) {
        _drawable->setLength(pictureLength);
        _drawable->setWidth(pictureWidth);
    }

    _hit_points = hitPoints;
    _idle_turn = idleTurn;
    _reserved = reserved;
    _state = state;
    _facing_left = facingLeft;
    showStateAnimation();

    std::string closing;
    if (!(in >> closing)) return -1;
    return 0;
}
