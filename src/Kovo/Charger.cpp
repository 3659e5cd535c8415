#include "Kovo/Charger.h"

#include "Common/Map.h"
#include "Kovo/CharacterBlock.h"
#include "Kovo/Player.h"

void Charger::setRunPoints(bool left, double overshoot)
{
    const double x = getX();
    if (left) {
        _turnaround_x = x - overshoot < 0 ? 0 : x - overshoot;
        _return_to_x = x < 0 ? 0 : x;
    } else {
        const double width = _map ? _map->getWidth() : x + overshoot;
        _turnaround_x = x + overshoot > width ? width : x + overshoot;
        _return_to_x = x > width ? width : x;
    }
}

bool Charger::atTurnaround(bool left) const
{
    return _turnaround_x != -1 &&
           (left ? getLeft() <= _turnaround_x : getRight() >= _turnaround_x);
}

bool Charger::shortOfTurnaround(bool left) const
{
    return _turnaround_x != -1 && (left ? getLeft() > _turnaround_x : getRight() < _turnaround_x);
}

bool Charger::backAtReturnPoint(bool left) const
{
    return _turnaround_x == -1 && _return_to_x != -1 &&
           (left ? getX() <= _return_to_x : getX() >= _return_to_x);
}

bool Charger::turnBack(bool left)
{
    if (!turnTo(left ? CharacterStateMoveRight : CharacterStateMoveLeft, !left)) return false;
    _turnaround_x = -1;
    return true;
}

bool Charger::heroAheadWithin(bool left, double belowFeet, double aboveHead) const
{
    if (!_player) return false;
    const double heroX = _player->getX();
    return getBottom() < _player->getTop() + belowFeet &&
           getTop() > _player->getBottom() - aboveHead &&
           (left ? getLeft() > heroX : getRight() < heroX);
}

void Charger::standIfHeroDyingBehind(bool left)
{
    if (!_player || !_player->isDying()) return;
    const double heroX = _player->getX();
    if (left ? heroX < getX() : heroX > getX()) return;
    // A turn of this frame is undone: standing, it faces the way its state says.
    if (enterState(left ? CharacterStateStandLeft : CharacterStateStandRight, false))
        _facing_left = left;
    _turnaround_x = -1;
    _return_to_x = -1;
}

int Charger::writeRunState(std::ostream& out, const char* tag, int number, bool flag)
{
    return CharacterBlock::write(out, tag, *this, [&](std::ostream& s) {
        s << _turnaround_x << ' ' << _return_to_x << ' ' << number << ' ' << (flag ? 1 : 0)
          << ' ';
    });
}

int Charger::readRunState(std::istream& in, int& number, bool& flag)
{
    double turnaroundX = 0, returnToX = 0;
    int readNumber = 0;
    bool readFlag = false;
    return CharacterBlock::read(
        in, *this,
        [&](std::istream& s) {
            return static_cast<bool>(s >> turnaroundX >> returnToX >> readNumber >> readFlag);
        },
        [&] {
            _turnaround_x = turnaroundX;
            _return_to_x = returnToX;
            number = readNumber;
            flag = readFlag;
        });
}
