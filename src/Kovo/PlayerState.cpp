#include "Kovo/Player.h"

#include <string>

#include "Base/Gph/GphRect.h"

// The hero's saved block.

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
