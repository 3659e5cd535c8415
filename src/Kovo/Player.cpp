#include "Kovo/Player.h"

#include <GL/gl.h>

#include <string>
#include <vector>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Common/GameConstants.h"
#include "Kovo/ObjectPictures.h"

// The hero's construction, his pictures, his counters and the state the room sets.

namespace {

const double heroSide = 100.0;
const int healthForLife = 100;
const double fallSoundSpeed = -640.0;
const int minimumGrenades = 5;
// The shot pose's recoil lasts while its frame is below the frame count minus this.
const int shotPoseTail = 4;

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
