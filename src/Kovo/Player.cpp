#include "Kovo/Player.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Common/GameConstants.h"
#include "Kovo/ObjectPictures.h"

namespace {

const double heroSide = 100.0;
const int idlePictureCount = 15;
const int healthForLife = 100;
const double fallSoundSpeed = -640.0;
const int minimumGrenades = 5;
// The shot pose's recoil lasts while its frame is below the frame count minus this.
const int shotPoseTail = 4;

// A hand throw leaves at 210 across at least and builds up to 630 across and up.
const double minThrowSpeed = GameConstants::walkSpeed;
const double throwSpeedRange = GameConstants::projectileSpeed;
const double maxThrowSpeed = GameConstants::jumpSpeed;
// Standing still for longer than this starts the beep.
const int idleThreshold = 15000;
// The throw meter's inner bar, 92 units long, 10 below his feet.
const double meterLength = 92.0;
const double meterBelowFeet = 10.0;
// The idle bubble: 200 units square, its centre 105 above his head (or below his feet when
// its top, 100 above the centre, would leave the view, which reaches 300 above the camera).
const double bubbleSide = 200.0;
const double bubbleOffset = 105.0;
const double bubbleHalf = 100.0;
const double viewHalfHeight = 300.0;

// The run animations show the fifth stride picture at these frames and the tenth at the
// next pair; the matching jump poses show them at frames 0 and 1.
const unsigned runFifthPicture = 8;
const unsigned runTenthPicture = 18;
const unsigned runHalf = 10;

// Picture keys replaced by another while he carries the launcher.
int launcherVariant(int key)
{
    switch (key) {
    case CharacterStateStandLeft: return CharacterStateLauncherStandLeft;
    case CharacterStateStandRight: return CharacterStateLauncherStandRight;
    case CharacterStateMoveLeft: return CharacterStateLauncherRunLeft;
    case CharacterStateMoveRight: return CharacterStateLauncherRunRight;
    case CharacterStateJumpLeft: return CharacterStateLauncherJumpLeft;
    case CharacterStateJumpRight: return CharacterStateLauncherJumpRight;
    case CharacterStateFallLeft: return CharacterStateLauncherFallLeft;
    case CharacterStateFallRight: return CharacterStateLauncherFallRight;
    case CharacterStateLookUpLeft: return CharacterStateLauncherLookUpLeft;
    case CharacterStateLookUpRight: return CharacterStateLauncherLookUpRight;
    case CharacterStateLookDownLeft: return CharacterStateLauncherLookDownLeft;
    case CharacterStateLookDownRight: return CharacterStateLauncherLookDownRight;
    default: return key;
    }
}

// "kovo_runright1.pcx" ... "kovo_runright10.pcx", each picture twice: the run animations
// show every stride picture for two frames.
std::vector<std::string> doubledRun(const std::string& stem)
{
    std::vector<std::string> files;
    for (int i = 1; i <= 10; ++i) {
        const std::string file = stem + std::to_string(i) + ".pcx";
        files.push_back(file);
        files.push_back(file);
    }
    return files;
}

}  // namespace

Player::Player(AppBase* owner)
    : Sprite(),
      _owner(owner),
      _body(nullptr),
      _meter_frame(nullptr),
      _meter_fill(nullptr),
      _idle_bubble(nullptr),
      _score(0),
      _health(0),
      _lives(3),
      _grenades(5),
      _animations(),
      _state(CharacterStateStandRight),
      _facing_left(false),
      _vertical_speed(0),
      _saved_x(0),
      _saved_y(0),
      _airborne(false),
      _fall_sound_played(false),
      _projectile_released(false),
      _grenade_thrown(false),
      _throw_velocity_x(0),
      _throw_velocity_y(0),
      _velocity_x(0),
      _velocity_y(0),
      _idle_clock(0),
      _idle_pictures(),
      _left_held(false),
      _right_held(false),
      _up_held(false),
      _down_held(false),
      _charging(false),
      _jumping(false),
      _super_shoes(false),
      _launcher(false),
      _jump1_sound(nullptr),
      _jump2_sound(nullptr),
      _fall_sound(nullptr),
      _death_sound(nullptr),
      _throw_sound(nullptr),
      _launcher_sound(nullptr),
      _victory_sound(nullptr),
      _beep_sound(nullptr),
      _beep_played(false)
{
    setAnchor(8);
    loadAnimations();

    const ShpCoord origin(0.0, 0.0, GameConstants::zHero);
    auto standing = _animations.find(CharacterStateStandRight);
    _body = new GphRect(heroSide, heroSide, &origin,
                        standing == _animations.end() ? nullptr : standing->second, GPH_RECT);
    setGraphic(_body);
    _body->render();
    setPosition(0.0, 0.0, GameConstants::zHero);
    setSize(heroSide, heroSide);

    _meter_frame = new GphRect(100.0, 12.0, &origin, loadMeterPicture("throwmeter.pcx"), GPH_RECT);
    _meter_frame->render();
    _meter_fill = new GphRect(8.0, 8.0, &origin, loadMeterPicture("throwmetercolor.pcx"), GPH_RECT);
    _meter_fill->render();

    _jump1_sound = SndSoundEffect::create("jump1.wav");
    _jump2_sound = SndSoundEffect::create("jump2.wav");
    _fall_sound = SndSoundEffect::create("fall.wav");
    _death_sound = SndSoundEffect::create("death.wav");
    _throw_sound = SndSoundEffect::create("throw.wav");
    _launcher_sound = SndSoundEffect::create("grenadelaunchershoot.wav");
    _victory_sound = SndSoundEffect::create("victory.wav");
    _beep_sound = SndSoundEffect::create("beep.wav");

    resetIdle();
}

Player::~Player()
{
    SndSoundEffect::release(_beep_sound);
    SndSoundEffect::release(_victory_sound);
    SndSoundEffect::release(_launcher_sound);
    SndSoundEffect::release(_throw_sound);
    SndSoundEffect::release(_death_sound);
    SndSoundEffect::release(_fall_sound);
    SndSoundEffect::release(_jump2_sound);
    SndSoundEffect::release(_jump1_sound);

    ObjectPictures::deletePicture(_idle_bubble);
    ObjectPictures::deletePicture(_meter_fill);
    ObjectPictures::deletePicture(_meter_frame);

    // The body only borrows its animation from the map.
    _body->setAnimatedTexture(nullptr);
    delete _body;
    _body = nullptr;
    setGraphic(nullptr);

    for (auto& entry : _animations) delete entry.second;
    _animations.clear();
}

GphAnimatedTexture* Player::loadMeterPicture(const char* fileName)
{
    GphImage* image = GphImage::load(fileName, false);
    GphAnimatedTexture* animation = new GphAnimatedTexture();
    animation->addFrame(
        new GphTexture(image, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, GL_DECAL));
    return animation;
}

void Player::deleteIdleBubble()
{
    ObjectPictures::deletePicture(_idle_bubble);
}

void Player::loadAnimations()
{
    struct Row {
        int key;
        unsigned ms;
        std::vector<std::string> files;
    };
    const std::string three = "kovo_throwleft3.pcx";
    const std::string threeRight = "kovo_throwright3.pcx";
    const std::vector<Row> rows = {
        {CharacterStateStandRight, 0, {"kovo_faceright.pcx"}},
        {CharacterStateStandLeft, 0, {"kovo_faceleft.pcx"}},
        {CharacterStateMoveRight, 25, doubledRun("kovo_runright")},
        {CharacterStateMoveLeft, 25, doubledRun("kovo_runleft")},
        {CharacterStateJumpRight, 0, {"kovo_runright5.pcx", "kovo_runright10.pcx"}},
        {CharacterStateJumpLeft, 0, {"kovo_runleft5.pcx", "kovo_runleft10.pcx"}},
        {CharacterStateFallRight, 0, {"kovo_runright10.pcx"}},
        {CharacterStateFallLeft, 0, {"kovo_runleft10.pcx"}},
        {CharacterStateMoveBack, 100, {"kovo_moveback1.pcx", "kovo_moveback2.pcx"}},
        {CharacterStateDyingRight, 0, {"kovo_dyingright.pcx"}},
        {CharacterStateDyingLeft, 0, {"kovo_dyingleft.pcx"}},
        {CharacterStateThrowLeft, 50,
         {"kovo_throwleft1.pcx", "kovo_throwleft4.pcx", "kovo_throwleft5.pcx",
          "kovo_throwleft2.pcx", three, three}},
        {CharacterStateThrowRight, 50,
         {"kovo_throwright1.pcx", "kovo_throwright4.pcx", "kovo_throwright5.pcx",
          "kovo_throwright2.pcx", threeRight, threeRight}},
        {CharacterStateShootLeft, 250,
         {"kovo_shootingleft2.pcx", "kovo_shootingleft2.pcx", "kovo_shootingleft3.pcx",
          "kovo_shootingleft3.pcx", "kovo_shootingleft3.pcx", "kovo_shootingleft3.pcx"}},
        {CharacterStateShootRight, 250,
         {"kovo_shootingright2.pcx", "kovo_shootingright2.pcx", "kovo_shootingright3.pcx",
          "kovo_shootingright3.pcx", "kovo_shootingright3.pcx", "kovo_shootingright3.pcx"}},
        {CharacterStateLauncherStandLeft, 0, {"kovo_shootingleft1.pcx"}},
        {CharacterStateLauncherStandRight, 0, {"kovo_shootingright1.pcx"}},
        {CharacterStateLauncherRunRight, 25, doubledRun("kovo_shooting_runright")},
        {CharacterStateLauncherRunLeft, 25, doubledRun("kovo_shooting_runleft")},
        {CharacterStateLauncherJumpRight, 0,
         {"kovo_shooting_runright5.pcx", "kovo_shooting_runright10.pcx"}},
        {CharacterStateLauncherJumpLeft, 0,
         {"kovo_shooting_runleft5.pcx", "kovo_shooting_runleft10.pcx"}},
        {CharacterStateLauncherFallRight, 0, {"kovo_shooting_runright10.pcx"}},
        {CharacterStateLauncherFallLeft, 0, {"kovo_shooting_runleft10.pcx"}},
        {CharacterStateLauncherLookDownLeft, 0, {"kovo_shooting_lookdown_left.pcx"}},
        {CharacterStateLauncherLookDownRight, 0, {"kovo_shooting_lookdown_right.pcx"}},
        {CharacterStateLauncherLookUpLeft, 0, {"kovo_shooting_lookup_left.pcx"}},
        {CharacterStateLauncherLookUpRight, 0, {"kovo_shooting_lookup_right.pcx"}},
        {CharacterStateLookDownLeft, 0, {"kovo_lookdownleft.pcx"}},
        {CharacterStateLookDownRight, 0, {"kovo_lookdownright.pcx"}},
        {CharacterStateLookUpLeft, 0, {"kovo_lookupleft.pcx"}},
        {CharacterStateLookUpRight, 0, {"kovo_lookupright.pcx"}},
        {CharacterStateFlipSwitch, 250, {"kovo_flipswitch.pcx", "kovo_flipswitch.pcx"}},
        {CharacterStateBeepLeft, 250,
         {"kovo_beepleft.pcx", "kovo_faceleft.pcx", "kovo_beepleft.pcx", "kovo_faceleft.pcx",
          "kovo_faceleft.pcx"}},
        {CharacterStateBeepRight, 250,
         {"kovo_beepright.pcx", "kovo_faceright.pcx", "kovo_beepright.pcx",
          "kovo_faceright.pcx", "kovo_faceright.pcx"}},
        {CharacterStateIdleLeft, 12000, {"kovo_idleleft.pcx", "kovo_idleleft.pcx"}},
        {CharacterStateIdleRight, 12000, {"kovo_idleright.pcx", "kovo_idleright.pcx"}},
    };
    for (const Row& row : rows) {
        GphAnimatedTexture* animation = ObjectPictures::loadAnimation(row.files, row.ms);
        auto inserted = _animations.insert({row.key, animation});
        // Called once per hero; a second call replaces what the first one built.
        if (!inserted.second) {
            if (_body && _body->getAnimatedTexture() == inserted.first->second)
                _body->setAnimatedTexture(animation);
            delete inserted.first->second;
            inserted.first->second = animation;
        }
    }
}

void Player::playSound(SndSoundEffect* effect)
{
    SndSoundEffect::playAt(effect, ShpCoord(getX(), getY(), 0.0));
}

void Player::addHealth(int points)
{
    _health += points;
    if (_health >= healthForLife) {
        ++_lives;
        _health = 0;
        playSound(_victory_sound);
    }
}

void Player::setState(CharacterState state)
{
    _state = state;
    auto it = _animations.find(state);
    if (it != _animations.end()) _body->setAnimatedTexture(it->second);
}

void Player::setVerticalSpeed(double speed)
{
    _vertical_speed = speed;
    if (speed >= 0) {
        _airborne = false;
        _fall_sound_played = false;
    }
}

void Player::addVerticalSpeed(double delta)
{
    _vertical_speed += delta;
    if (_airborne && _vertical_speed <= fallSoundSpeed && !_fall_sound_played) {
        playSound(_fall_sound);
        _fall_sound_played = true;
    }
}

bool Player::land()
{
    _jumping = false;
    if (_state == CharacterStateFallLeft) _state = CharacterStateStandLeft;
    else if (_state == CharacterStateFallRight) _state = CharacterStateStandRight;
    _airborne = false;
    return false;
}

void Player::beginFall()
{
    _jumping = true;
    _airborne = true;
    if (_state == CharacterStateShootLeft || _state == CharacterStateShootRight) {
        _throw_velocity_x = 0;
        _throw_velocity_y = 0;
        _state = _state == CharacterStateShootLeft ? CharacterStateStandLeft
                                                   : CharacterStateStandRight;
    }
}

void Player::loseEquipment()
{
    _super_shoes = false;
    _launcher = false;
}

void Player::beginMoveBack()
{
    _state = CharacterStateMoveBack;
}

bool Player::isMovingBack() const
{
    return _state == CharacterStateMoveBack;
}

void Player::stop()
{
    _state = _facing_left ? CharacterStateStandLeft : CharacterStateStandRight;
    _left_held = _right_held = _up_held = _down_held = false;
}

void Player::flipSwitch()
{
    _state = CharacterStateFlipSwitch;
    _up_held = false;
}

bool Player::isFlippingSwitch() const
{
    return _state == CharacterStateFlipSwitch;
}

void Player::die()
{
    _state = _facing_left ? CharacterStateDyingLeft : CharacterStateDyingRight;
    _left_held = _right_held = _up_held = _down_held = false;
    _jumping = false;
    _super_shoes = false;
    _launcher = false;
    _saved_x = getX();
    _saved_y = getY();
    setZ(GameConstants::zDyingHero);
    _throw_velocity_x = 0;
    _throw_velocity_y = 0;
    _grenade_thrown = false;
    playSound(_death_sound);
    resetIdle();
}

bool Player::isDying() const
{
    return _state == CharacterStateDyingLeft || _state == CharacterStateDyingRight;
}

void Player::respawn()
{
    _state = _facing_left ? CharacterStateStandLeft : CharacterStateStandRight;
    _left_held = _right_held = _up_held = _down_held = false;
    setX(_saved_x);
    setY(_saved_y);
    setZ(GameConstants::zHero);
    // Stored directly: a respawn does not end the airborne flag.
    _vertical_speed = 0;
    _fall_sound_played = false;
    _grenade_thrown = false;
    if (_grenades < minimumGrenades) _grenades = minimumGrenades;
    // Shows the standing picture in place of the dying one.
    update(0, 0.0);
    resetIdle();
}

bool Player::isInShotPose() const
{
    if (_state != CharacterStateShootLeft && _state != CharacterStateShootRight) return false;
    const GphAnimatedTexture* animation = _body->getAnimatedTexture();
    if (!animation) return false;
    return static_cast<int>(animation->getCurrentFrame()) <
           static_cast<int>(animation->getFrameCount()) - shotPoseTail;
}

void Player::shortenShotPose()
{
    GphAnimatedTexture* animation = _body->getAnimatedTexture();
    if (!animation) return;
    const int frame = static_cast<int>(animation->getFrameCount()) - shotPoseTail;
    // A picture too short to have a recoil part has nothing to shorten.
    if (frame < 0) return;
    animation->setCurrentFrame(static_cast<unsigned>(frame));
}

bool Player::isThrowing() const
{
    return _charging || _state == CharacterStateThrowLeft || _state == CharacterStateThrowRight;
}

bool Player::takeProjectileReleased()
{
    const bool released = _projectile_released;
    _projectile_released = false;
    return released;
}

double Player::getThrowVelocityX()
{
    const double slowest = GameConstants::walkSpeed;
    if (_throw_velocity_x > 0 && _throw_velocity_x < slowest) _throw_velocity_x = slowest;
    else if (_throw_velocity_x < 0 && _throw_velocity_x > -slowest) _throw_velocity_x = -slowest;
    return _throw_velocity_x;
}

void Player::setVelocity(double x, double y)
{
    // A reversal is reported as one frame without motion along that axis.
    _velocity_x = (x > 0 && _velocity_x < 0) || (x < 0 && _velocity_x > 0) ? 0 : x;
    _velocity_y = (y > 0 && _velocity_y < 0) || (y < 0 && _velocity_y > 0) ? 0 : y;
}

void Player::clearInput()
{
    _left_held = _right_held = _up_held = _down_held = false;
    _charging = false;
}

void Player::resetIdle()
{
    _idle_pictures.clear();
    for (int i = 0; i < idlePictureCount; ++i) _idle_pictures[i] = true;
    deleteIdleBubble();
    _idle_clock = 0;
}

int Player::writeState(std::ostream& out)
{
    out << "<PLAYER> " << _score << ' ' << _health << ' ' << _lives << ' ' << _grenades << ' '
        << _state << ' ' << (_facing_left ? 1 : 0) << ' ' << _vertical_speed << ' ' << _saved_x
        << ' ' << _saved_y << ' ' << (_airborne ? 1 : 0) << ' ' << (_fall_sound_played ? 1 : 0)
        << ' ' << (_jumping ? 1 : 0) << ' ' << (_super_shoes ? 1 : 0) << ' '
        << (_launcher ? 1 : 0) << ' ';
    const int result = Sprite::writeState(out);
    if (result == 0) out << "</PLAYER>\n";
    return result;
}

int Player::readState(std::istream& in)
{
    // Everything is read into locals first: a block that ends early or holds garbage must
    // not leave the hero with zeros in place of his counters.
    int score, health, lives, grenades, state;
    bool facingLeft, airborne, fallSoundPlayed, jumping, superShoes, launcher;
    double verticalSpeed, savedX, savedY;
    std::string spriteTag;
    if (!(in >> score >> health >> lives >> grenades >> state >> facingLeft >> verticalSpeed >>
          savedX >> savedY >> airborne >> fallSoundPlayed >> jumping >> superShoes >> launcher >>
          spriteTag))
        return -1;

    // The sprite line makes the picture a square of the box; the hero's picture keeps its own.
    const double pictureLength = _body->getLength();
    const double pictureWidth = _body->getWidth();
    const int result = Sprite::readState(in);
    if (result != 0) return result;
    _body->setLength(pictureLength);
    _body->setWidth(pictureWidth);

    _score = score;
    _health = health;
    _lives = lives;
    _grenades = grenades;
    _facing_left = facingLeft;
    _vertical_speed = verticalSpeed;
    _saved_x = savedX;
    _saved_y = savedY;
    _airborne = airborne;
    _fall_sound_played = fallSoundPlayed;
    _jumping = jumping;
    _super_shoes = superShoes;
    _launcher = launcher;
    _state = state;

    std::string closing;
    if (!(in >> closing)) return -1;
    return 0;
}

GphAnimatedTexture* Player::findAnimation(int key) const
{
    auto it = _animations.find(key);
    return it == _animations.end() ? nullptr : it->second;
}

int Player::pictureKey(int key) const
{
    return _launcher ? launcherVariant(key) : key;
}

GphAnimatedTexture* Player::show(int key)
{
    GphAnimatedTexture* animation = findAnimation(pictureKey(key));
    if (animation) _body->setAnimatedTexture(animation);
    return animation;
}

GphAnimatedTexture* Player::showState(int key, CharacterState state)
{
    GphAnimatedTexture* animation = show(key);
    if (animation) _state = state;
    return animation;
}

bool Player::isHandThrow() const
{
    return _state == CharacterStateThrowLeft || _state == CharacterStateThrowRight;
}

void Player::update(unsigned ms, double seconds)
{
    if (_state == CharacterStateMoveBack) {
        show(CharacterStateMoveBack);
        _idle_clock = 0;
    } else if (_state == CharacterStateFlipSwitch) {
        updateSwitchFlip();
        _idle_clock = 0;
    } else if (_state == CharacterStateShootLeft || _state == CharacterStateShootRight) {
        updateShotPose();
        _idle_clock = 0;
    } else if (isDying()) {
        show(_state);
        _idle_clock = 0;
    } else if (isHandThrow()) {
        updateHandThrow();
        _idle_clock = 0;
    } else if (_charging) {
        updateCharge(seconds);
        _idle_clock = 0;
    } else if (!_jumping && _up_held) {
        updateLook(CharacterStateLookUpLeft);
    } else if (!_jumping && _down_held) {
        updateLook(CharacterStateLookDownLeft);
    } else if (!_left_held && !_right_held) {
        updateStill(ms);
    } else {
        updateRun(_left_held);
        _idle_clock = 0;
    }

    // The jump pose holds the frame chosen above, and a charge holds the throw picture on
    // its first frame.
    const bool jumpPose = _state == CharacterStateJumpLeft || _state == CharacterStateJumpRight;
    if (!jumpPose && (!_charging || isHandThrow()))
        GphAnimatedTexture::advance(_body->getAnimatedTexture(), ms);
}

void Player::updateSwitchFlip()
{
    GphAnimatedTexture* flip = findAnimation(CharacterStateFlipSwitch);
    if (!flip) return;
    if (flip->getCurrentFrame() != 1) {
        show(CharacterStateFlipSwitch);
        return;
    }
    flip->setCurrentFrame(0);
    _state = byFacing(_launcher ? CharacterStateLauncherStandLeft : CharacterStateStandLeft);
    show(_state);
}

void Player::updateShotPose()
{
    const bool left = _state == CharacterStateShootLeft;
    GphAnimatedTexture* shot = show(_state);
    if (!shot) return;
    if (static_cast<int>(shot->getCurrentFrame()) < static_cast<int>(shot->getFrameCount()) - 1)
        return;
    const CharacterState stand = left ? CharacterStateStandLeft : CharacterStateStandRight;
    _throw_velocity_x = 0;
    _throw_velocity_y = 0;
    showState(stand, stand);
}

void Player::updateHandThrow()
{
    GphAnimatedTexture* animation = findAnimation(_state);
    if (!animation) return;
    // A press and release handled before any frame leave the body on another picture: the
    // throw starts from its first frame, so that it runs, lets its grenade go and ends.
    if (_body->getAnimatedTexture() != animation) {
        animation->setCurrentFrame(0);
        _body->setAnimatedTexture(animation);
    }

    const int frame = static_cast<int>(animation->getCurrentFrame());
    const int last = static_cast<int>(animation->getFrameCount()) - 1;
    if (frame < last) {
        if (frame == 1 && !_grenade_thrown && _grenades > 0) {
            _projectile_released = true;
            _grenade_thrown = true;
            playSound(_throw_sound);
            --_grenades;
        }
        return;
    }

    // The last frame: he turns toward a direction still held.
    const bool endLeft = _state == CharacterStateThrowLeft ? !_right_held : _left_held;
    const CharacterState stand = endLeft ? CharacterStateStandLeft : CharacterStateStandRight;
    if (!_charging) {
        showState(stand, stand);
    } else {
        // A new charge has begun: the throw picture stays, back on its first frame.
        animation->setCurrentFrame(0);
        _state = stand;
    }
    _facing_left = endLeft;
    _throw_velocity_x = 0;
    _throw_velocity_y = 0;
    _grenade_thrown = false;
}

void Player::updateCharge(double seconds)
{
    if (_launcher) {
        fireLauncher();
        return;
    }
    const double across = (maxThrowSpeed + minThrowSpeed) * seconds;
    if (_facing_left) {
        if (_throw_velocity_x > -maxThrowSpeed) _throw_velocity_x -= across;
    } else {
        if (_throw_velocity_x < maxThrowSpeed) _throw_velocity_x += across;
    }
    if (_throw_velocity_y < maxThrowSpeed)
        _throw_velocity_y += (maxThrowSpeed + throwSpeedRange) * seconds;
    if (_facing_left) {
        if (_throw_velocity_x > -minThrowSpeed) _throw_velocity_x = -minThrowSpeed;
    } else {
        if (_throw_velocity_x < minThrowSpeed) _throw_velocity_x = minThrowSpeed;
    }

    GphAnimatedTexture* animation = findAnimation(byFacing(CharacterStateThrowLeft));
    if (animation) {
        animation->setCurrentFrame(0);
        _body->setAnimatedTexture(animation);
    }
}

bool Player::fireLauncher()
{
    if (!_launcher || _grenades <= 0) return false;
    const CharacterState pose = byFacing(CharacterStateShootLeft);
    GphAnimatedTexture* shot = findAnimation(pose);
    if (shot) {
        shot->setCurrentFrame(0);
        _body->setAnimatedTexture(shot);
        _state = pose;
    }
    playSound(_launcher_sound);
    _charging = false;
    --_grenades;
    return true;
}

void Player::updateLook(int leftKey)
{
    show(byFacing(leftKey));
    if (_state == CharacterStateIdleLeft) _state = CharacterStateStandLeft;
    else if (_state == CharacterStateIdleRight) _state = CharacterStateStandRight;
    _idle_clock = 0;
}

void Player::updateStill(unsigned ms)
{
    const CharacterState jump = byFacing(CharacterStateJumpLeft);
    const CharacterState fall = byFacing(CharacterStateFallLeft);
    const CharacterState beep = byFacing(CharacterStateBeepLeft);
    const CharacterState idle = byFacing(CharacterStateIdleLeft);
    const CharacterState stand = byFacing(CharacterStateStandLeft);

    if (_jumping) {
        GphAnimatedTexture* pose = show(jump);
        if (pose) {
            pose->setCurrentFrame(1);
            _state = jump;
        }
        _idle_clock = 0;
        return;
    }
    if (_state == fall) {
        show(fall);
        _idle_clock = 0;
        return;
    }
    if (_launcher) {
        // Ready to fire: he neither beeps nor dreams.
        show(byFacing(CharacterStateLauncherStandLeft));
        _idle_clock = 0;
        return;
    }
    if (_state == beep) {
        GphAnimatedTexture* animation = showState(beep, beep);
        if (!animation) return;
        if (animation->getCurrentFrame() == 2) {
            if (_beep_sound && !_beep_played) {
                playSound(_beep_sound);
                _beep_played = true;
            }
        } else if (animation->getCurrentFrame() == 4) {
            animation->setCurrentFrame(0);
            showState(idle, idle);
            showIdlePicture();
        }
        return;
    }
    if (_state == idle) {
        GphAnimatedTexture* animation = showState(idle, idle);
        if (animation && animation->getCurrentFrame() == 1) {
            animation->setCurrentFrame(0);
            showState(stand, stand);
            deleteIdleBubble();
            _idle_clock = 0;
        }
        return;
    }

    showState(stand, stand);
    if (_velocity_x == 0 && _velocity_y == 0) _idle_clock += static_cast<int>(ms);
    else _idle_clock = 0;
    if (_idle_clock > idleThreshold) {
        showState(beep, beep);
        playSound(_beep_sound);
        _beep_played = false;
    }
}

void Player::updateRun(bool left)
{
    const CharacterState run = left ? CharacterStateMoveLeft : CharacterStateMoveRight;
    const CharacterState jump = left ? CharacterStateJumpLeft : CharacterStateJumpRight;
    const CharacterState fall = left ? CharacterStateFallLeft : CharacterStateFallRight;

    if (!_jumping) {
        if (_state == CharacterStateFallLeft || _state == CharacterStateFallRight) {
            showState(fall, fall);
            return;
        }
        GphAnimatedTexture* animation = findAnimation(pictureKey(run));
        if (!animation) return;
        if (_state != run) animation->setCurrentFrame(0);
        _body->setAnimatedTexture(animation);
        _state = run;
        return;
    }
    if (_state == CharacterStateJumpLeft || _state == CharacterStateJumpRight) {
        showState(jump, jump);
        return;
    }

    // A running jump: the stride goes on until the legs reach one of the jump pose's two
    // pictures, and the run picks up at the other half after landing.
    GphAnimatedTexture* stride = findAnimation(pictureKey(run));
    if (!stride) return;
    const unsigned frame = stride->getCurrentFrame();
    if (frame == runFifthPicture || frame == runFifthPicture + 1) {
        GphAnimatedTexture* pose = showState(jump, jump);
        if (pose) pose->setCurrentFrame(0);
        stride->setCurrentFrame(runHalf);
    } else if (frame == runTenthPicture || frame == runTenthPicture + 1) {
        GphAnimatedTexture* pose = showState(jump, jump);
        if (pose) pose->setCurrentFrame(1);
        stride->setCurrentFrame(0);
    } else {
        _body->setAnimatedTexture(stride);
        _state = run;
    }
}

void Player::drawThrowMeter()
{
    if (_launcher || _state == CharacterStateShootLeft || _state == CharacterStateShootRight ||
        _throw_velocity_x == 0 || _grenades <= 0)
        return;
    const double y = getY() - meterBelowFeet;
    _meter_frame->setCoord(ShpCoord(getX(), y, GameConstants::zThrowMeter));
    _meter_frame->render();

    // The fill grows from the left end of the frame's inner bar as the charge rises.
    const double length =
        (std::fabs(_throw_velocity_x) - minThrowSpeed) / throwSpeedRange * meterLength;
    _meter_fill->setCoord(ShpCoord(getX() - meterLength / 2 + length / 2, y,
                                   GameConstants::zThrowMeterFill));
    _meter_fill->setLength(length);
    _meter_fill->render();
}

void Player::drawIdleBubble()
{
    if (_idle_bubble) _idle_bubble->render();
}

void Player::showIdlePicture()
{
    if (_idle_pictures.empty()) resetIdle();
    int key = 0;
    for (;;) {
        const int candidate = _idle_pictures.size() == static_cast<size_t>(idlePictureCount)
                                  ? 0
                                  : std::rand() % idlePictureCount;
        if (_idle_pictures.count(candidate)) {
            key = candidate;
            break;
        }
    }

    double centreY = getTop() + bubbleOffset;
    bool below = false;
    GphWindow* window = _owner ? _owner->getWindow() : nullptr;
    GphCamera* camera = window ? window->getCamera() : nullptr;
    if (camera && camera->getPosition() &&
        centreY + bubbleHalf > camera->getPosition()->getY() + viewHalfHeight) {
        centreY = getBottom() - bubbleOffset;
        below = true;
    }
    char fileName[32];
    std::snprintf(fileName, sizeof fileName, below ? "idle%02d_2.pcx" : "idle%02d.pcx", key + 1);

    _idle_pictures.erase(key);
    if (_idle_pictures.empty()) resetIdle();

    deleteIdleBubble();
    const ShpCoord centre(getX(), centreY, GameConstants::zBubble);
    _idle_bubble = new GphRect(bubbleSide, bubbleSide, &centre,
                               ObjectPictures::loadAnimation({fileName}), GPH_RECT);
}

void Player::leaveShotPose()
{
    if (_state != CharacterStateShootLeft && _state != CharacterStateShootRight) return;
    _state = _state == CharacterStateShootLeft ? CharacterStateStandLeft
                                               : CharacterStateStandRight;
    _throw_velocity_x = 0;
    _throw_velocity_y = 0;
}

void Player::onCharDown(unsigned char c)
{
    resetIdle();
    // A charge starts only on something solid, and not while another move holds him.
    if (isMovingBack() || isDying() || isInShotPose() || c != ' ' || _jumping ||
        _vertical_speed != 0)
        return;
    if (_state == CharacterStateShootLeft) _state = CharacterStateStandLeft;
    else if (_state == CharacterStateShootRight) _state = CharacterStateStandRight;
    _charging = true;
    _throw_velocity_x = 0;
    _throw_velocity_y = 0;
    if (_launcher && _grenades > 0) {
        // The room makes the launcher grenade from the flag; the next frame shows the shot.
        _throw_velocity_x = _facing_left ? -maxThrowSpeed : maxThrowSpeed;
        _throw_velocity_y = 0;
        _projectile_released = true;
    }
}

void Player::onCharUp(unsigned char c)
{
    if (c != ' ' || !_charging) return;
    if (isMovingBack() || isDying()) {
        _charging = false;
        return;
    }
    // Released before any frame has shown the launcher shot that the press fired: the
    // shot completes now instead of a hand throw following it.
    if (fireLauncher()) return;
    _charging = false;
    _state = byFacing(CharacterStateThrowLeft);
}

void Player::onKeyDown(AppKey key)
{
    resetIdle();
    if (isMovingBack() || isDying() || isInShotPose()) return;

    switch (key) {
    case AppKeyCtrl:
        if (isThrowing()) break;
        leaveShotPose();
        if (_vertical_speed == 0) {
            // The room gives the jump its speed on the same key.
            _jumping = true;
            _up_held = _down_held = false;
            _fall_sound_played = false;
            playSound(_super_shoes ? _jump2_sound : _jump1_sound);
        }
        break;
    case AppKeyAlt:
        onCharDown(' ');
        break;
    case AppKeyTab:
        if (!_charging) break;
        _charging = false;
        _throw_velocity_x = 0;
        _throw_velocity_y = 0;
        show(byFacing(CharacterStateStandLeft));
        _state = byFacing(CharacterStateStandLeft);
        _grenade_thrown = false;
        break;
    case AppKeyLeft:
    case AppKeyRight: {
        const bool left = key == AppKeyLeft;
        _left_held = left;
        _right_held = !left;
        _up_held = _down_held = false;
        // A throw keeps its direction; its end turns him toward the held key.
        if (!isThrowing()) _facing_left = left;
        leaveShotPose();
        break;
    }
    case AppKeyUp:
    case AppKeyDown:
        if (!isThrowing() && !_jumping && _vertical_speed == 0) {
            _up_held = key == AppKeyUp;
            _down_held = key == AppKeyDown;
            _left_held = _right_held = false;
        }
        leaveShotPose();
        break;
    default:
        break;
    }
}

void Player::onKeyUp(AppKey key)
{
    // A release still counts in the shot pose.
    if (isMovingBack() || isDying()) return;
    switch (key) {
    case AppKeyAlt: onCharUp(' '); break;
    case AppKeyLeft: _left_held = false; break;
    case AppKeyRight: _right_held = false; break;
    case AppKeyUp: _up_held = false; break;
    case AppKeyDown: _down_held = false; break;
    default: break;
    }
}
