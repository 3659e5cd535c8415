#include "Kovo/Bombshelle.h"

#include <new>
#include <string>
#include <vector>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Common/CharacterRecord.h"
#include "Common/GameConstants.h"
#include "Common/GameRandom.h"
#include "Common/Map.h"
#include "Kovo/CharacterBlock.h"
#include "Kovo/Player.h"
#include "Kovo/Reaction.h"

namespace {

const double kSide = 120.0;
// Her picture is twice as tall as her box, its centre 120 above her feet.
const double kPictureHeight = 240.0;
const double kPictureLift = 120.0;
// Before her first draw the picture's centre sits 40 above her feet.
const double kFirstPictureLift = 40.0;
// Collisions take the middle 60 of her 120.
const double kHorizontalInset = 30.0;
const int kHitPoints = 1;
const double kAlarmRange = 250.0;
// She sees the hero as far as 300 below her feet and 100 above her head.
const double kSightDepth = 300.0;
const double kSightHeight = 100.0;
// After her first throw she looks further; while the hero dies, less far.
const double kThrowingSight = 700.0;
const double kDyingHeroSight = 350.0;
// A throw starts the clock toward the next at a fifth of the second it needs.
const int kThrowClockAfterThrow = GameConstants::characterTimerPeriod / 5;
// The picture of the throw at which the bomb leaves her hand.
const unsigned kReleaseFrame = 7;
// A random turn when idle: one chance in 50 a frame facing left, 100 facing right.
const int kTurnOddsLeft = 50;
const int kTurnOddsRight = 100;
// Where the bomb leaves her hand: before her and above her feet.
const double kHandReach = 40.0;
const double kHandHeight = 110.0;
// Her bubble stands 20 above her box.
const double kBubbleLift = 20.0;
const unsigned kThrowFrameTime = 50;
const unsigned kStunnedFrameTime = 150;
// Asleep, her Z pictures rise 30 beside her middle, 50 above her feet.
const double kSleepZSide = 30.0;
const double kSleepZHeight = 50.0;

std::vector<std::string> throwFrames(const char* way)
{
    const int order[] = {3, 2, 1, 1, 2, 3, 4, 5, 6, 6, 6, 6};
    std::vector<std::string> files;
    for (int picture : order)
        files.push_back(std::string("bombshelle_throw") + way + std::to_string(picture) + ".pcx");
    return files;
}

std::vector<std::string> stunnedFrames(const char* way)
{
    const int order[] = {1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 2, 2};
    std::vector<std::string> files;
    for (int picture : order)
        files.push_back(std::string("bombshelle_gassed") + way + std::to_string(picture) + ".pcx");
    return files;
}

}  // namespace

Bombshelle::Bombshelle(Map* map, Player* player, double x, double y, double z,
                       CharacterState state, int idleTurn, double sightRange, bool facingLeft)
    : Character(map, player, CharacterTypeBombshelle, kHorizontalInset, 0, 8, true, false,
                kHitPoints, GameConstants::walkSpeed, GameConstants::walkSpeed, kAlarmRange,
                sightRange, idleTurn, idleTurn, state, facingLeft, false),
      _throw_timer(0),
      _alert_timer(0),
      _throw_request(false),
      _thrown(false),
      _cough(nullptr),
      _throw_sound(nullptr),
      _idle_timer(0),
      _alerted(false)
{
    buildAnimations();
    makeDrawable(x, y, z, kSide, kSide);
    setSize(kSide, kSide);
    _drawable->setWidth(kPictureHeight);
    _drawable->setCoord(ShpCoord(x, y + kFirstPictureLift, z));
    _cough = loadSound("cough3.wav");
    _throw_sound = loadSound("throw.wav");
}

Character* Bombshelle::build(Map* map, Player* player, const CharacterRecord& record)
{
    return new Bombshelle(map, player, record.x, record.y, record.depth(), record.state,
                          record.n, record.range, record.facingLeft);
}

void Bombshelle::buildAnimations()
{
    addAnimation(CharacterStateStandRight, {"bombshelle_faceright.pcx"});
    addAnimation(CharacterStateStandLeft, {"bombshelle_faceleft.pcx"});
    addAnimation(CharacterStateShootRight, throwFrames("right"), kThrowFrameTime);
    addAnimation(CharacterStateShootLeft, throwFrames("left"), kThrowFrameTime);
    addAnimation(CharacterStateStunnedRight, stunnedFrames("right"), kStunnedFrameTime);
    addAnimation(CharacterStateStunnedLeft, stunnedFrames("left"), kStunnedFrameTime);
    addAnimation(CharacterStateAsleepRight, {"bombshelle_sleepright.pcx"});
    addAnimation(CharacterStateAsleepLeft, {"bombshelle_sleepleft.pcx"});
}

void Bombshelle::onEnterState(CharacterState state)
{
    switch (state) {
    case CharacterStateStandLeft:
    case CharacterStateStandRight:
        _idle_timer = 0;
        _thrown = false;
        break;
    case CharacterStateShootLeft:
    case CharacterStateShootRight:
        _idle_timer = 0;
        _throw_timer = kThrowClockAfterThrow;
        setSightRange(kThrowingSight);
        break;
    default: break;
    }
}

bool Bombshelle::takeThrowRequest()
{
    const bool request = _throw_request;
    _throw_request = false;
    return request;
}

bool Bombshelle::takeRequest(CharacterRequest& request)
{
    if (!takeThrowRequest()) return false;
    request = CharacterRequest::thrownBomb(getX() + (_facing_left ? -kHandReach : kHandReach),
                                           getY() + kHandHeight);
    return true;
}

Reaction* Bombshelle::react()
{
    if (_alerted || _alert_timer < GameConstants::characterReactThreshold) return nullptr;
    _alerted = true;
    return new (std::nothrow)
        Reaction(this, GameConstants::characterTimerPeriod - _alert_timer, getX(),
                 getY() + _length + kBubbleLift, _player && _player->isAirborne());
}

void Bombshelle::think(unsigned ms, double seconds)
{
    updateSleepZ(seconds);
    if (_player && _player->isDying()) {
        // His death calms her: a shorter look and a bubble to come again.
        setSightRange(kDyingHeroSight);
        _alert_timer = 0;
        _alerted = false;
    }

    switch (_state) {
    case CharacterStateStandLeft: stand(ms, true); break;
    case CharacterStateStandRight: stand(ms, false); break;
    case CharacterStateShootLeft: throwBomb(true); break;
    case CharacterStateShootRight: throwBomb(false); break;
    case CharacterStateStunnedLeft:
    case CharacterStateStunnedRight: stunned(); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight:
        rideFloor();
        sleep(ms, {SleepZSpot::Centre, -kSleepZSide, kSleepZHeight});
        break;
    default: break;
    }
    advanceAnimation(ms);
}

bool Bombshelle::heroInView(bool left) const
{
    if (!_player || _player->isDying()) return false;
    if (_player->getTop() < getBottom() - kSightDepth) return false;
    if (_player->getBottom() > getTop() + kSightHeight) return false;
    return heroWithinSight(left);
}

void Bombshelle::stand(unsigned ms, bool left)
{
    if (heroInView(left)) {
        // Behind a wall or a ceiling he goes unseen: nothing counts.
        if (_map && _map->isSightClear(getX(), getY(), getLeft(), getRight(), getTop(),
                                       getBottom())) {
            if (_throw_timer > GameConstants::characterTimerPeriod) {
                enterState(left ? CharacterStateShootLeft : CharacterStateShootRight, true);
            } else {
                _throw_timer += ms;
                _alert_timer += ms;
            }
        }
    } else {
        const bool heroBehind =
            _player && (left ? getX() < _player->getX() : getX() > _player->getX());
        const CharacterState turned = left ? CharacterStateStandRight : CharacterStateStandLeft;
        if (_alerted && _player && !_player->isDying() && heroBehind) {
            turnTo(turned, !left);
        } else if (_idle_turn != 0) {
            if (_idle_timer >= GameConstants::characterIdleTime &&
                GameRandom::draw() % (left ? kTurnOddsLeft : kTurnOddsRight) == 1) {
                turnTo(turned, !left);
            } else {
                _idle_timer += ms;
            }
        }
    }
    rideFloor();
}

void Bombshelle::throwBomb(bool left)
{
    const CharacterState throwing = left ? CharacterStateShootLeft : CharacterStateShootRight;
    if (findAnimation(throwing)) {
        if (showsFrame(throwing, kLastFrame)) {
            if (enterState(left ? CharacterStateStandLeft : CharacterStateStandRight, false))
                _facing_left = left;
        } else if (showsFrame(throwing, kReleaseFrame) && !_thrown && _player &&
                   !_player->isDying()) {
            _throw_request = true;
            _thrown = true;
            playSound(_throw_sound);
        }
    }
    rideFloor();
}

void Bombshelle::stunned()
{
    showStateAnimation();
    if (!_hurt_sound_played) {
        if (_throw_sound) _throw_sound->stop();
        playSound(_cough);
        _hurt_sound_played = true;
    } else if (showsFrame(_state, kLastFrame)) {
        fallAsleep();
    }
    rideFloor();
    _alert_timer = 0;
    _alerted = false;
}

void Bombshelle::rideFloor()
{
    if (!_map) return;
    double dx = 0, dy = 0;
    _map->moveHorizontally(getX(), getY(), getLeft(), getRight(), getTop(), getBottom(), false,
                           true, false, &dx, &dy);
    if (dx != 0 || dy != 0) move(dx, dy, 0);
}

void Bombshelle::draw()
{
    if (_drawable) {
        ShpCoord at = *_drawable->getCoord();
        at.setY(getY() + kPictureLift);
        _drawable->setCoord(at);
    }
    Character::draw();
}

int Bombshelle::writeState(std::ostream& out)
{
    return CharacterBlock::write(out, "BOMBSHELLE", *this, [this](std::ostream& s) {
        s << _throw_timer << ' ' << (_throw_request ? 1 : 0) << ' ' << (_thrown ? 1 : 0) << ' '
          << _idle_timer << ' ' << (_hurt_sound_played ? 1 : 0) << ' ';
    });
}

int Bombshelle::readState(std::istream& in)
{
    int throwTimer = 0, idleTimer = 0;
    bool throwRequest = false, thrown = false, coughed = false;
    return CharacterBlock::read(
        in, *this,
        [&](std::istream& s) {
            return static_cast<bool>(s >> throwTimer >> throwRequest >> thrown >> idleTimer >>
                                     coughed);
        },
        [&] {
            _throw_timer = throwTimer;
            _throw_request = throwRequest;
            _thrown = thrown;
            _idle_timer = idleTimer;
            _hurt_sound_played = coughed;
        });
}
