#include "Kovo/KnifeThrower.h"

#include <string>
#include <vector>

#include "Base/Snd/SndSoundEffect.h"
#include "Common/CharacterRecord.h"
#include "Common/GameRandom.h"
#include "Common/GameConstants.h"
#include "Common/Map.h"
#include "Kovo/CharacterBlock.h"
#include "Kovo/Player.h"
#include "Kovo/Reaction.h"

namespace {

const double kSide = 120.0;
// Its collision box: 30 in from each side, 15 below its top.
const double kHorizontalInset = 30.0;
const double kTopInset = 15.0;
const int kHitPoints = 1;
const double kAlarmRange = 310.0;
const double kSightRange = 310.0;
const unsigned kThrowFrameMs = 50;
const unsigned kGassedFrameMs = 150;
// The picture of the throw at which the knife leaves the hand: 350 ms in.
const unsigned kKnifeFrame = 7;
// The knife leaves its hand this far ahead and above its feet, 40 across, spinning so many
// degrees a second (backwards over the way it flies).
const double kKnifeReach = 40.0;
const double kKnifeHeight = 60.0;
const double kKnifeSize = 40.0;
const double kKnifeSpin = 2000.0;
// Time after finding an alarm before it turns to look.
const int kAlarmDelay = 500;
// Idle, once the idle time has passed, one draw in this many a frame turns it round; facing
// right it turns back half as readily.
const int kTurnOddsLeft = 50;
const int kTurnOddsRight = 100;
// Its Z pictures rise 30 to the side of its middle, 50 above its feet.
const double kSleepZAcross = 30.0;
const double kSleepZHeight = 50.0;

std::vector<std::string> throwFrames(const char* way)
{
    const std::string name = std::string("knifethrower_throw") + way;
    auto frame = [&](int n) { return name + std::to_string(n) + ".pcx"; };
    return {frame(3), frame(2), frame(1), frame(1), frame(2),
            frame(3), frame(4), frame(4), frame(4), frame(4)};
}

}  // namespace

KnifeThrower::KnifeThrower(Map* map, Player* player, double x, double y, double z,
                           CharacterState state, int idleTurn, bool facingLeft)
    : Character(map, player, CharacterTypeKnifeThrower, kHorizontalInset, kTopInset, 8, true,
                false, kHitPoints, GameConstants::walkSpeed, GameConstants::walkSpeed,
                kAlarmRange, kSightRange, idleTurn, idleTurn, state, facingLeft, false),
      _throw_timer(0),
      _alert_timer(0),
      _throw_request(false),
      _knife_thrown(false),
      _cough_sound(nullptr),
      _throw_sound(nullptr),
      _idle_timer(0),
      _cough_played(false),
      _reaction_shown(false),
      _turn_timer(0)
{
    buildAnimations();
    makeDrawable(x, y, z, kSide, kSide);
    setSize(kSide, kSide);
    _cough_sound = loadSound("cough.wav");
    _throw_sound = loadSound("knifethrower.wav");
}

Character* KnifeThrower::build(Map* map, Player* player, const CharacterRecord& record)
{
    return new KnifeThrower(map, player, record.x, record.y, record.depth(), record.state, record.n, record.facingLeft);
}

void KnifeThrower::buildAnimations()
{
    addAnimation(CharacterStateStandLeft, {"knifethrower_faceleft.pcx"});
    addAnimation(CharacterStateStandRight, {"knifethrower_faceright.pcx"});
    addAnimation(CharacterStateShootLeft, throwFrames("left"), kThrowFrameMs);
    addAnimation(CharacterStateShootRight, throwFrames("right"), kThrowFrameMs);
    // The first gassed picture has no number.
    addAnimation(CharacterStateStunnedLeft,
                 coughFrames("knifethrower_gassedleft.pcx", "knifethrower_gassedleft2.pcx"),
                 kGassedFrameMs);
    addAnimation(CharacterStateStunnedRight,
                 coughFrames("knifethrower_gassedright.pcx", "knifethrower_gassedright2.pcx"),
                 kGassedFrameMs);
    addAnimation(CharacterStateAsleepLeft, {"knifethrower_sleepleft.pcx"});
    addAnimation(CharacterStateAsleepRight, {"knifethrower_sleepright.pcx"});
}

void KnifeThrower::think(unsigned ms, double seconds)
{
    updateSleepZ(seconds);
    switch (_state) {
    case CharacterStateStandLeft: stand(true, ms, seconds); break;
    case CharacterStateStandRight: stand(false, ms, seconds); break;
    case CharacterStateShootLeft: throwKnife(true); break;
    case CharacterStateShootRight: throwKnife(false); break;
    case CharacterStateStunnedLeft:
    case CharacterStateStunnedRight: gassed(); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight:
        sleep(ms, {SleepZSpot::Centre, -kSleepZAcross, kSleepZHeight});
        break;
    default: break;
    }
    advanceAnimation(ms);
}

void KnifeThrower::turnAround(bool left)
{
    if (turnTo(left ? CharacterStateStandRight : CharacterStateStandLeft, !left)) _idle_timer = 0;
}

void KnifeThrower::stand(bool left, unsigned ms, double seconds)
{
    // A downed colleague behind it, or one turned its way with a bubble up.
    if (_turn_timer == 0) {
        bool found = false;
        const bool answer =
            _map && _map->findDownedCharacterAhead(getX(), getY(), _alarm_range, left, &found);
        if (answer && found) {
            _turn_timer += ms;
            return;
        }
    } else if (_turn_timer > kAlarmDelay) {
        turnAround(left);
        _turn_timer = 0;
        return;
    } else {
        _turn_timer += ms;
    }

    if (seesHero(left)) {
        // Behind a wall, or with no floor a step towards him, the hero is out of reach.
        double dx, dy;
        if (!stepAcross(left, StepProbe, seconds, &dx, &dy)) return;
        if (_throw_timer > GameConstants::characterTimerPeriod) {
            if (enterState(left ? CharacterStateShootLeft : CharacterStateShootRight, true)) {
                _idle_timer = 0;
                _throw_timer = 0;
                // A throw cut short by the hero's return leaves the flag up; each throw
                // releases its own knife.
                _knife_thrown = false;
                playSound(_throw_sound);
            }
        } else {
            _throw_timer += ms;
            _alert_timer += ms;
        }
        return;
    }

    if (_idle_turn != 0) {
        if (_idle_timer >= GameConstants::characterIdleTime &&
            GameRandom::draw() % (left ? kTurnOddsLeft : kTurnOddsRight) == 1) {
            turnAround(left);
        } else {
            _idle_timer += ms;
        }
    }
    // A hero who jumps out of sight is still the same sighting.
    if (_player && !_player->isJumping()) {
        _alert_timer = 0;
        _reaction_shown = false;
    }
}

void KnifeThrower::throwKnife(bool left)
{
    const CharacterState throwing = left ? CharacterStateShootLeft : CharacterStateShootRight;
    if (showsFrame(throwing, kLastFrame)) {
        enterState(left ? CharacterStateStandLeft : CharacterStateStandRight, false);
        _facing_left = left;
        _knife_thrown = false;
    } else if (showsFrame(throwing, kKnifeFrame) && !_knife_thrown && _player &&
               !_player->isDying()) {
        _throw_request = true;
        _knife_thrown = true;
    }
}

void KnifeThrower::gassed()
{
    showStateAnimation();
    if (!_cough_played) {
        if (_throw_sound) _throw_sound->stop();
        playSound(_cough_sound);
        _cough_played = true;
    } else if (showsFrame(_state, kLastFrame)) {
        fallAsleep();
    }
    _alert_timer = 0;
    _reaction_shown = false;
}

bool KnifeThrower::takeRequest(CharacterRequest& request)
{
    if (!_throw_request) return false;
    _throw_request = false;
    const double way = _facing_left ? -1 : 1;
    request = CharacterRequest::shot(getX() + way * kKnifeReach, getY() + kKnifeHeight, kKnifeSize,
                                     kKnifeSize, way * GameConstants::projectileSpeed,
                                     -way * kKnifeSpin, _facing_left ? "knifeleft.pcx" : "kniferight.pcx");
    return true;
}

Reaction* KnifeThrower::react()
{
    return Reaction::onNotice(this, _player, _alert_timer, _reaction_shown);
}

int KnifeThrower::writeState(std::ostream& out)
{
    return CharacterBlock::write(out, "KNIFETHROWER", *this, [this](std::ostream& s) {
        s << _throw_timer << ' ' << (_throw_request ? 1 : 0) << ' ' << (_knife_thrown ? 1 : 0)
          << ' ' << _idle_timer << ' ' << (_cough_played ? 1 : 0) << ' ';
    });
}

int KnifeThrower::readState(std::istream& in)
{
    int throwTimer = 0, idleTimer = 0;
    bool throwRequest = false, knifeThrown = false, coughPlayed = false;
    return CharacterBlock::read(
        in, *this, [&](std::istream& s) { return static_cast<bool>(s >> throwTimer >> throwRequest >> knifeThrown >> idleTimer >>
                                                  coughPlayed); },
        [&] {
            _throw_timer = throwTimer;
            _throw_request = throwRequest;
            _knife_thrown = knifeThrown;
            _idle_timer = idleTimer;
            _cough_played = coughPlayed;
        });
}
