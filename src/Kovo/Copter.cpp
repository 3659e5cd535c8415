#include "Kovo/Copter.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "Base/App/Log.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Common/CharacterRecord.h"
#include "Common/GameConstants.h"
#include "Common/GameRandom.h"
#include "Common/Map.h"
#include "Kovo/CharacterBlock.h"
#include "Kovo/ObjectPictures.h"
#include "Kovo/Player.h"

namespace {

const double kLength = 200.0;
const double kWidth = 400.0;
const int kHitPoints = 1;
const double kAlarmRange = 800.0;
const double kSightRange = 800.0;
// Saved with the character block; the helicopter reads neither.
const int kIdleTurn = 2;
const int kReserved = 2;
const unsigned kFrameTime = 30;

// The blades turn 50 below its top and the windshield sits 100 below it, just in front.
const double kBladesLength = 100.0;
const double kBladesDrop = 50.0;
const double kWindshieldDrop = 100.0;
const float kWindshieldAlpha = 0.4f;

// Half a second of sight before it acts.
const int kHoverDelay = GameConstants::characterTimerPeriod / 2;
// Bursts of four shots, a tenth of a second apart.
const int kBurst = 4;
const int kGunPeriod = 100;
// Its gun line lies 50 above its skids; a hero no more than 20 below it is level with it.
const double kGunLine = 50.0;
const double kLevelBand = 20.0;
// The two muzzles: across from its x and up from its skids.
const double kMuzzle0X = 77.0;
const double kMuzzle0Y = 51.0;
const double kMuzzle1X = 10.0;
const double kMuzzle1Y = 41.0;
// The engine's sound restarts every 200 ms.
const double kEnginePeriod = 200.0;

// The wreck asks for six bombs; the waits after each request but the last.
const int kWreckBombs = 6;
const double kBombDelays[kWreckBombs - 1] = {500, 500, 300, 200, 300};
// A smoke puff every 50 ms from three points in turn, 110 above the skids, behind the body.
const int kPuffPeriod = 50;
const double kPuffX[3] = {10, -30, 40};
const double kPuffLift = 110.0;
const double kPuffDepth = -200.0;
const float kPuffAlpha = 0.9f;
const double kPuffFade = GameConstants::puffFadeRate;
// The wreck's bombs drop from a random point this far in from its left edge, plus up to 199,
// 5 above its skids.
const double kBombInset = 80.0;
const int kBombSpread = 200;
const double kBombHeight = 5.0;

std::vector<std::string> bodyFrames(int variant, int first)
{
    const std::string prefix = variant == 1 ? "copter_flyright" : "copter2_flyright";
    std::vector<std::string> files;
    for (int i = first; i < first + 4; ++i) files.push_back(prefix + std::to_string(i) + ".pcx");
    return files;
}

}  // namespace

Copter::Copter(Map* map, Player* player, double x, double y, double z, int variant,
               CharacterState state, bool facingLeft)
    : Character(map, player, CharacterTypeCopter, 0, 0, 8, true, true, kHitPoints,
                GameConstants::walkSpeed, GameConstants::walkSpeed, kAlarmRange, kSightRange,
                kIdleTurn, kReserved, state, false, false),
      _linked_sprites(),
      _reserved1(-1.0),
      _reserved2(-1.0),
      _blades(nullptr),
      _windshield(nullptr),
      _glass_sound(nullptr),
      _gun_sound(nullptr),
      _engine_sound(nullptr),
      _engine_timer(0),
      _hover_timer(0),
      _glass_played(false),
      _fire_request(false),
      _gun_timer(kGunPeriod),
      _shots(0),
      _gun_side(0),
      _puffs(),
      _puff_timer(0),
      _puff_index(0),
      _bomb_request(false),
      _bomb_timer(0),
      _bomb_delay(0),
      _bombs_requested(0),
      _variant(variant)
{
    // Facing left, no grenade could reach its cockpit and it would freeze after the room is
    // entered again.
    if (facingLeft) LOG("Copter record faces left; read as facing right");
    addTraits(TraitCockpit);
    buildAnimations();
    setSize(kLength, kWidth);
    makeDrawable(x, y, z, kLength, kWidth);
    _glass_sound = loadSound("glass.wav");
    _gun_sound = loadSound("gun.wav");
    _engine_sound = loadSound("copter.wav");

    const ShpCoord bladesAt(x, getTop() - kBladesDrop, z + 2);
    const std::vector<std::string> blades = {"copter_blades1.pcx", "copter_blades2.pcx",
                                             "copter_blades3.pcx", "copter_blades4.pcx"};
    _blades = new GphRect(kWidth, kBladesLength, &bladesAt,
                          ObjectPictures::loadAnimation(blades, kFrameTime), GPH_RECT);
    const ShpCoord windshieldAt(x, getTop() - kWindshieldDrop, z + 1);
    _windshield = new GphRect(
        kWidth, kLength, &windshieldAt,
        ObjectPictures::loadAnimation({"copter_windshield.pcx", "copter_windshield2.pcx"}),
        GPH_RECT);
    _windshield->setAlpha(kWindshieldAlpha);
}

Copter::~Copter()
{
    for (Puff& puff : _puffs) ObjectPictures::deletePicture(puff.picture);
    _puffs.clear();
    ObjectPictures::deletePicture(_windshield);
    ObjectPictures::deletePicture(_blades);
}

Character* Copter::build(Map* map, Player* player, const CharacterRecord& record)
{
    return new Copter(map, player, record.x, record.y, record.depth(), record.n, record.state,
                      record.facingLeft);
}

void Copter::buildAnimations()
{
    // Hovering and hit share the flight pictures, each with an animation of its own; shooting
    // and climbing keep whatever shows.
    addAnimation(CharacterStateStandRight, bodyFrames(_variant, 1), kFrameTime);
    addAnimation(CharacterStateStunnedRight, bodyFrames(_variant, 1), kFrameTime);
    addAnimation(CharacterStateAsleepRight, bodyFrames(_variant, 5), kFrameTime);
}

void Copter::setLinkedSprites(const std::list<Sprite*>& sprites)
{
    _linked_sprites = sprites;
    for (Sprite* sprite : _linked_sprites) sprite->setVisible(false);
}

bool Copter::takeFireRequest()
{
    const bool request = _fire_request;
    _fire_request = false;
    return request;
}

bool Copter::takeBombRequest()
{
    const bool request = _bomb_request;
    _bomb_request = false;
    return request;
}

bool Copter::takeRequest(CharacterRequest& request)
{
    if (takeFireRequest()) {
        request = CharacterRequest::bullet(getGunX(), getGunY(), false);
        return true;
    }
    if (!takeBombRequest()) return false;
    const int r = GameRandom::draw() % kBombSpread;
    request = CharacterRequest::droppedBomb(getLeft() + kBombInset + r, getY() + kBombHeight);
    return true;
}

double Copter::getGunX() const
{
    return getX() + (_gun_side == 1 ? kMuzzle1X : kMuzzle0X);
}

double Copter::getGunY() const
{
    return getBottom() + (_gun_side == 1 ? kMuzzle1Y : kMuzzle0Y);
}

bool Copter::heroDying() const
{
    return _player && _player->isDying();
}

void Copter::think(unsigned ms, double seconds)
{
    updatePuffs(seconds);

    switch (_state) {
    case CharacterStateStandRight: hover(ms); break;
    case CharacterStateShootRight: shoot(ms); break;
    case CharacterStateFlyRight: chase(seconds); break;
    case CharacterStateStunnedRight: fall(seconds); break;
    case CharacterStateAsleepRight: wreck(ms); break;
    default: break;
    }

    _engine_timer += ms;
    if (_engine_timer > kEnginePeriod) {
        _engine_timer = 0;
        playSound(_engine_sound);
    }

    advanceAnimation(ms);
    GphAnimatedTexture::advance(_blades ? _blades->getAnimatedTexture() : nullptr, ms);
}

void Copter::hover(unsigned ms)
{
    if (!_player) return;
    // Its first look needs the hero ahead of it and not below its skids; once it has seen
    // him, the clock runs on regardless and never starts over.
    if (_hover_timer <= 0) {
        const bool seen =
            !heroDying() && getBottom() <= _player->getTop() && heroWithinSight(false);
        if (!seen) return;
    }
    if (_hover_timer > kHoverDelay) {
        // Shooting and climbing have no pictures of their own: the hover keeps showing.
        const bool heroAbove = getTop() < _player->getBottom();
        _state = heroAbove ? CharacterStateFlyRight : CharacterStateShootRight;
    } else {
        _hover_timer += ms;
    }
}

void Copter::shoot(unsigned ms)
{
    if (!_player) return;
    if (_shots >= kBurst) {
        if (heroDying()) {
            _state = CharacterStateStandRight;
            return;
        }
        const double gunLine = getBottom() + kGunLine;
        if (!(_player->getBottom() <= gunLine && gunLine <= _player->getTop())) {
            _state = CharacterStateFlyRight;
            _shots = 0;
            return;
        }
    }
    if (_gun_timer < kGunPeriod) {
        _gun_timer += ms;
        return;
    }
    _fire_request = true;
    playSound(_gun_sound);
    _gun_timer = 0;
    ++_shots;
    _gun_side = _gun_side == 0 ? 1 : 0;
}

void Copter::chase(double seconds)
{
    if (!_player || !_map) return;
    double dx = 0;
    double dy = seconds * _speed;
    if (getBottom() + kGunLine > _player->getTop()) dy = -dy;
    if (!_map->moveVertically(getX(), getY(), getLeft(), getRight(), getTop(), getBottom(), false,
                              &dx, &dy))
        return;
    LOG("Copter is allowed to move - pursuing player right");
    move(dx, dy, 0);
    if (!heroDying() && getBottom() + kGunLine <= _player->getTop() &&
        _player->getBottom() <= getBottom() + kLevelBand)
        _state = CharacterStateShootRight;
}

void Copter::fall(double seconds)
{
    if (_windshield && _windshield->getAnimatedTexture())
        _windshield->getAnimatedTexture()->setCurrentFrame(1);
    if (!_glass_played) {
        playSound(_glass_sound);
        _glass_played = true;
    }
    double dx = 0;
    double dy = seconds * _vertical_speed;
    if (!_map || !_map->moveVertically(getX(), getY(), getLeft(), getRight(), getTop(), getBottom(),
                                       true, &dx, &dy)) {
        // Landed: what it held back comes into play.
        for (Sprite* sprite : _linked_sprites) sprite->setVisible(true);
        fallAsleep();
        return;
    }
    accelerateDown(seconds);
    move(dx, dy, 0);
}

void Copter::wreck(unsigned ms)
{
    showStateAnimation();
    if (_bombs_requested < kWreckBombs) {
        _bomb_timer += ms;
        if (_bomb_timer > _bomb_delay) {
            if (_bombs_requested < kWreckBombs - 1) _bomb_delay = kBombDelays[_bombs_requested];
            ++_bombs_requested;
            _bomb_timer = 0;
            _bomb_request = true;
        }
    }
    _puff_timer += ms;
    if (_puff_timer >= kPuffPeriod) {
        _puff_timer = 0;
        addPuff();
    }
}

void Copter::addPuff()
{
    // The looks' own draws, in this order: across, up, size, then the sign of across.
    double vx = (std::rand() % 20) * GameConstants::slowSpeed / 40 * GameConstants::emitScale;
    const double vy = (std::rand() % 20) * GameConstants::walkSpeed / 20 * GameConstants::emitScale;
    const double side = std::rand() % 25 + 20;
    if (std::rand() % 2 == 0) vx = -vx;
    const ShpCoord at(getX() + kPuffX[_puff_index], getY() + kPuffLift, kPuffDepth);
    _puff_index = (_puff_index + 1) % 3;
    GphRect* picture = new GphRect(side, side, &at, ObjectPictures::loadAnimation({"smoke2.pcx"}),
                                   GPH_RECT);
    picture->setAlpha(kPuffAlpha);
    _puffs.push_back({picture, vx, vy});
}

void Copter::updatePuffs(double seconds)
{
    const double step = kPuffFade * seconds;
    for (auto it = _puffs.begin(); it != _puffs.end();) {
        GphRect* picture = it->picture;
        const double alpha = picture->getAlpha() - step;
        // Gone once see-through, or when this frame would take it below.
        if (picture->getAlpha() <= 0 || alpha < 0) {
            ObjectPictures::deletePicture(it->picture);
            it = _puffs.erase(it);
            continue;
        }
        picture->setAlpha(static_cast<float>(alpha));
        picture->move(seconds * it->vx, seconds * it->vy, 0);
        ++it;
    }
}

void Copter::draw()
{
    for (Puff& puff : _puffs) puff.picture->draw();
    Character::draw();
    // Blades and windshield follow the body, each at its own depth.
    if (_windshield) {
        ShpCoord at = *_windshield->getCoord();
        _windshield->setCoord(ShpCoord(getX(), getTop() - kWindshieldDrop, at.getZ()));
        _windshield->draw();
    }
    if (_blades) {
        ShpCoord at = *_blades->getCoord();
        _blades->setCoord(ShpCoord(getX(), getTop() - kBladesDrop, at.getZ()));
        _blades->draw();
    }
}

int Copter::writeState(std::ostream& out)
{
    return CharacterBlock::write(out, "COPTER", *this, [this](std::ostream& s) {
        s << _reserved1 << ' ' << _reserved2 << ' ';
    });
}

int Copter::readState(std::istream& in)
{
    double reserved1 = 0, reserved2 = 0;
    return CharacterBlock::read(
        in, *this,
        [&](std::istream& s) { return static_cast<bool>(s >> reserved1 >> reserved2); },
        [&] {
            _reserved1 = reserved1;
            _reserved2 = reserved2;
        });
}
