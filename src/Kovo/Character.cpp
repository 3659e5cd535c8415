#include "Kovo/Character.h"

#include <sstream>
#include <string>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Common/GameConstants.h"
#include "Common/Map.h"
#include "Kovo/ObjectPictures.h"
#include "Kovo/Player.h"

namespace {

// A sleeping actor makes a new Z picture every this many milliseconds.
const int kSleepZPeriod = 1000;

// The start states a reset turns to the actor's facing: each pair's left state, then its
// right one.
const CharacterState kStartPairs[][2] = {
    {CharacterStateStandLeft, CharacterStateStandRight},
    {CharacterStateSneakLeft, CharacterStateSneakRight},
    {CharacterStateMoveLeft, CharacterStateMoveRight},
    {CharacterStateJumpLeft, CharacterStateJumpRight},
    {CharacterStateShootLeft, CharacterStateShootRight},
    {CharacterStateFlyLeft, CharacterStateFlyRight},
};

}  // namespace

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
      _carried_item(-1),
      _vertical_speed(0),
      _hurt_sound_played(false),
      _knock_blocked(false),
      _sleep_z_list(),
      _sleep_z_timer(0),
      _traits(0),
      _contact(ContactHeroCentre)
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
    _sleep_z_list.clear();
    for (SndSoundEffect* sound : _sounds) SndSoundEffect::release(sound);
    _sounds.clear();
}

Reaction* Character::react()
{
    return nullptr;
}

void Character::think(unsigned, double) {}

bool Character::takeRequest(CharacterRequest&)
{
    return false;
}

void Character::setOff(bool) {}

void Character::setSwitch(Switch*) {}

void Character::setLinkedSprites(const std::list<Sprite*>&) {}

bool Character::isHintShown() const
{
    return true;
}

void Character::setHintShown(bool) {}

void Character::getHintTexts(std::string& above, std::string& below,
                             std::string& objective) const
{
    above.clear();
    below.clear();
    objective.clear();
}

void Character::knock(bool toRight)
{
    _state = toRight ? CharacterStateKnockedBackRight : CharacterStateKnockedBackLeft;
    _vertical_speed = GameConstants::jumpSpeed;
}

void Character::slamWall()
{
    enterState(_facing_left ? CharacterStateWallSlamLeft : CharacterStateWallSlamRight, true);
}

void Character::drawEffects()
{
    _sleep_z_list.draw();
}

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
    // A look without facing, or a state that only happens to an actor, is kept.
    for (const auto& pair : kStartPairs) {
        if (_start_state == pair[0] || _start_state == pair[1]) {
            _state = _facing_left ? pair[0] : pair[1];
            break;
        }
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
    showState(_state);
}

void Character::showState(CharacterState state)
{
    GphAnimatedTexture* animation = findAnimation(state);
    if (animation && _drawable) _drawable->setAnimatedTexture(animation);
}

bool Character::enterState(CharacterState state, bool rewind)
{
    GphAnimatedTexture* animation = findAnimation(state);
    if (!animation) return false;
    if (rewind) animation->setCurrentFrame(0);
    if (_drawable) _drawable->setAnimatedTexture(animation);
    _state = state;
    onEnterState(state);
    return true;
}

bool Character::turnTo(CharacterState state, bool faceLeft)
{
    if (!enterState(state, true)) return false;
    _facing_left = faceLeft;
    return true;
}

void Character::onEnterState(CharacterState) {}

bool Character::turnToAlarm(unsigned ms, int delay, int& timer,
                            const std::function<void()>& afterTurn)
{
    if (timer == 0) {
        bool found = false;
        if (_map && _map->findDownedCharacterAhead(getX(), getY(), _alarm_range, _facing_left,
                                                   &found) &&
            found) {
            timer += ms;
            return true;
        }
        return false;
    }
    if (timer > delay) {
        const bool left = _state == CharacterStateStandLeft;
        if (turnTo(left ? CharacterStateStandRight : CharacterStateStandLeft, !left)) {
            if (afterTurn) afterTurn();
            timer = 0;
        }
        return true;
    }
    timer += ms;
    return false;
}

// ---------------------------------------------------------------------------------------------
// The hero as the actor sees him

bool Character::heroOnLevel(double above) const
{
    return _player && _player->getTop() >= getBottom() && _player->getBottom() <= getTop() + above;
}

bool Character::heroInFront(bool left) const
{
    if (!_player) return false;
    return left ? _player->getX() < getX() : _player->getX() > getX();
}

bool Character::heroWithinSight(bool left) const
{
    if (!heroInFront(left)) return false;
    const double heroX = _player->getX();
    return left ? heroX >= getLeft() - _sight_range : heroX <= getRight() + _sight_range;
}

bool Character::seesHero(bool left, double above) const
{
    return _player && !_player->isDying() && heroOnLevel(above) && heroWithinSight(left);
}

// ---------------------------------------------------------------------------------------------
// Steps along the ground

bool Character::stepAcross(bool left, Step step, double seconds, double* dx, double* dy)
{
    *dx = (left ? -1 : 1) * _speed * seconds;
    *dy = 0;
    // The room's wall test toward the hero is asked for every step; it only bears on a probe.
    return _map && _map->moveHorizontally(getX(), getY(), getLeft(), getRight(), getTop(),
                                          getBottom(), step != StepProbe, true,
                                          step == StepPush, dx, dy);
}

bool Character::stepAlongFloor(bool left, Step step, double seconds, double* dx, double* dy,
                               int* reason)
{
    *dx = (left ? -1 : 1) * _speed * seconds;
    *dy = 0;
    *reason = 0;
    return _map && _map->walkAlongFloor(getX(), getY(), getLeft(), getRight(), getTop(),
                                        getBottom(), step != StepProbe, true, step == StepPush,
                                        dx, dy, reason);
}

// ---------------------------------------------------------------------------------------------
// Requests

bool Character::takeBullet(bool& fireRequest, double height, CharacterRequest& request)
{
    if (!fireRequest) return false;
    fireRequest = false;
    request = CharacterRequest::bullet(_facing_left ? getLeft() : getRight(), getY() + height,
                                       _facing_left);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Pictures and sounds

void Character::advanceAnimation(unsigned ms)
{
    GphAnimatedTexture::advance(_drawable ? _drawable->getAnimatedTexture() : nullptr, ms);
}

bool Character::showsFrame(CharacterState state, unsigned frame) const
{
    const GphAnimatedTexture* animation = findAnimation(state);
    if (!animation) return false;
    if (frame == kLastFrame) {
        if (animation->getFrameCount() == 0) return false;
        frame = animation->getFrameCount() - 1;
    }
    return animation->getCurrentFrame() == frame;
}

SndSoundEffect* Character::loadSound(const char* fileName)
{
    SndSoundEffect* sound = SndSoundEffect::create(fileName);
    if (sound) _sounds.push_back(sound);
    return sound;
}

void Character::playSound(SndSoundEffect* sound)
{
    SndSoundEffect::playAt(sound, ShpCoord(getX(), getY(), 0));
}

// ---------------------------------------------------------------------------------------------
// Falling and the knock-out tail

void Character::accelerateDown(double seconds)
{
    if (_vertical_speed > -GameConstants::maxFallSpeed)
        _vertical_speed -= (_map ? _map->getGravity() : 0.0) * seconds;
}

bool Character::landsOnFloor(double* dx, double* dy) const
{
    return _map && _map->landOnFloor(getX(), getY(), getBottom(), dx, dy);
}

bool Character::thinkKnockedOut(unsigned ms, double seconds, const KnockOutLook& look)
{
    switch (_state) {
    case CharacterStateFallLeft:
    case CharacterStateFallRight: fallOffLedge(seconds, look.fallSound, look.slamSound); break;
    case CharacterStateBonkedLeft:
    case CharacterStateBonkedRight:
        if (knockOutRunsOut(look.bonkSound, look.outFrame)) fallAsleep();
        break;
    case CharacterStateStunnedLeft:
    case CharacterStateStunnedRight:
        if (knockOutRunsOut(look.gasSound, look.outFrame)) fallAsleep();
        break;
    case CharacterStateWallSlamLeft:
    case CharacterStateWallSlamRight: slammed(look.slamSound, look.slamRebound); break;
    case CharacterStateKnockedBackLeft:
    case CharacterStateKnockedBackRight: knockedAway(seconds, look.knockSound); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight: sleep(ms, look.sleepZ); break;
    default: return false;
    }
    return true;
}

bool Character::knockOutRunsOut(SndSoundEffect* sound, unsigned outFrame)
{
    showStateAnimation();
    if (!_hurt_sound_played) {
        playSound(sound);
        _hurt_sound_played = true;
        return false;
    }
    return showsFrame(_state, outFrame);
}

void Character::slammed(SndSoundEffect* sound, double rebound)
{
    const bool slammedLeft = _state == CharacterStateWallSlamLeft;
    if (!knockOutRunsOut(sound, kLastFrame)) return;
    fallAsleep();
    move(slammedLeft ? rebound : -rebound, 0, 0);
}

void Character::fallOffLedge(double seconds, SndSoundEffect* fallSound,
                             SndSoundEffect* landSound)
{
    showStateAnimation();
    // The fall pictures run first; the drop starts once they reach their last frame, which
    // each think then holds afresh.
    if (!showsFrame(_state, kLastFrame)) return;
    findAnimation(_state)->setCurrentFrame(kLastFrame);
    if (!_hurt_sound_played) {
        playSound(fallSound);
        _hurt_sound_played = true;
        return;
    }
    double dx = 0;
    double dy = seconds * _vertical_speed;
    if (landsOnFloor(&dx, &dy)) {
        fallAsleep();
        if (fallSound) fallSound->stop();
        playSound(landSound);
        return;
    }
    accelerateDown(seconds);
    move(dx, dy, 0);
}

void Character::knockedAway(double seconds, SndSoundEffect* sound)
{
    showState(_facing_left ? CharacterStateStunnedLeft : CharacterStateStunnedRight);
    if (!_hurt_sound_played) {
        playSound(sound);
        _hurt_sound_played = true;
        return;
    }
    if (!_knock_blocked) {
        double dx = 2 * _speed * seconds * (_state == CharacterStateKnockedBackLeft ? -1 : 1);
        double dy = seconds * _vertical_speed;
        if (landsOnFloor(&dx, &dy)) {
            fallAsleep();
            return;
        }
        if (_map && _map->moveVertically(getX(), getY(), getLeft(), getRight(), getTop(),
                                         getBottom(), false, &dx, &dy)) {
            move(dx, dy, 0);
        } else {
            // A wall: the flight goes on straight down.
            move(0, dy, 0);
            _knock_blocked = true;
        }
        accelerateDown(seconds);
        return;
    }
    double dx = 0;
    double dy = seconds * _vertical_speed;
    if (landsOnFloor(&dx, &dy)) {
        fallAsleep();
        return;
    }
    accelerateDown(seconds);
    move(0, dy, 0);
}

void Character::sleep(unsigned ms, const SleepZSpot& spot)
{
    showStateAnimation();
    _sleep_z_timer += ms;
    if (_sleep_z_timer < kSleepZPeriod) return;
    _sleep_z_timer = 0;
    const bool left = _state == CharacterStateAsleepLeft;
    double x = getX();
    if (spot.from == SleepZSpot::LeftEdge) x = left ? getLeft() : getRight();
    else if (spot.from == SleepZSpot::RightEdge) x = left ? getRight() : getLeft();
    x += left ? spot.across : -spot.across;
    _sleep_z_list.add(x, getY() + spot.up);
}

void Character::updateSleepZ(double seconds)
{
    _sleep_z_list.update(seconds);
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

std::vector<std::string> Character::runFramesTwice(const std::string& prefix, const char* way,
                                              int count)
{
    std::vector<std::string> files;
    for (int i = 1; i <= count; ++i) {
        const std::string file = prefix + "run" + way + std::to_string(i) + ".pcx";
        files.push_back(file);
        files.push_back(file);
    }
    return files;
}

std::vector<std::string> Character::coughFrames(const std::string& first,
                                                const std::string& second)
{
    return {first, second, first, second, first, second, second, second};
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
    // Everything is read into locals first, the sprite line and the closing tag included: a
    // block that ends early or holds garbage must leave the actor as it was.
    int hitPoints, idleTurn, reserved, state;
    bool facingLeft;
    std::string spriteTag;
    std::istringstream spriteLine;
    if (!(in >> hitPoints >> idleTurn >> reserved >> state >> facingLeft >> spriteTag) ||
        !takeStateLine(in, spriteLine))
        return -1;

    // The sprite line makes the picture a square; this actor's picture keeps its own shape.
    double pictureLength = 0, pictureWidth = 0;
    if (_drawable) {
        pictureLength = _drawable->getLength();
        pictureWidth = _drawable->getWidth();
    }
    const int result = Sprite::readState(spriteLine);
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
    return 0;
}
