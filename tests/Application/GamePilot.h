#ifndef KOVO_TESTS_APPLICATION_GAMEPILOT_H
#define KOVO_TESTS_APPLICATION_GAMEPILOT_H

// A player at the keys, for the tests that play levels through the game's main loop. Each
// move names a room and a point of it: the hero is walked there, the arrow toward it held
// until he has passed it, and then does what the move says. Jumps, doors and levers start
// from the ground; a jump keeps Ctrl held until he has landed, a door keeps Up held until he
// is in the next room, a lever is one press of Up, a throw faces the way first and keeps the
// space bar held until the charge is full, and a wait lets frames go by with no key held.
// Hint panels are sent away with a key as they come. Everything goes in as SDL key events
// through the main loop, which runs on game time: a route is the same on any machine.

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "Application/GameScreen.h"
#include "Base/Ui/UiHarness.h"
#include "Common/GameConstants.h"
#include "Common/Level.h"
#include "Common/Map.h"
#include "Kovo/Grenade.h"
#include "Kovo/Player.h"

namespace gametest {

struct Move {
    enum Action { Walk, JumpLeft, JumpUp, JumpRight, Door, Use, ThrowLeft, ThrowRight, Wait };
    int map;
    double x;
    Action action;
    // Wait: the frames to let go by; Use: those after the press (10 when 0).
    int frames = 0;
};

class Pilot {
public:
    // A move not done in this many frames fails the test.
    static constexpr int kMoveFrames = 1500;

    explicit Pilot(GameScreen* game) : _game(game) {}

    // Where a thrown grenade was last seen in flight, for the report of a throw that missed.
    double grenadeSeen = -1;
    // The move under way; the number of moves once the last is done.
    size_t at() const { return _at; }

    void fly(std::vector<Move> moves)
    {
        _moves = std::move(moves);
        _at = 0;
        startMove();
    }
    // Called once a frame has been shown: the keys for the next one. True once the last move
    // is done (or the level ended during it: an exit) and every key let go.
    bool frame()
    {
        Level* level = _game->getLevel();
        Player* hero = _game->getPlayer();
        if (_at >= _moves.size() || !level || !level->getCurrentMap() || !hero) {
            if (_at + 1 < _moves.size()) ADD_FAILURE() << "the level ended before move " << _at;
            return abandon();
        }
        if (level->hasHint()) {
            releaseAll();
            uitest::typeKey(SDLK_x);
            return false;
        }
        const Move& move = _moves[_at];
        const int room = level->getCurrentMap()->getId();
        if (++_moveFrames > kMoveFrames) {
            ADD_FAILURE() << "move " << _at << " (room " << move.map << ", x " << move.x << ") not done: hero in room "
                          << room << " at " << hero->getX() << ", " << hero->getY() << " in state "
                          << hero->getState();
            return abandon();
        }
        switch (_phase) {
        case Approach:
            // Walking through a door, he is not in the room of the move yet.
            if (room != move.map) return false;
            if (move.action == Move::Wait) {
                releaseAll();
                wait(move.frames);
                return false;
            }
            if (_direction == 0) _direction = move.x >= hero->getX() ? 1 : -1;
            if (_direction > 0 ? hero->getX() < move.x : hero->getX() > move.x) {
                hold(_direction > 0 ? SDLK_RIGHT : SDLK_LEFT);
                return false;
            }
            return act(move, hero);
        case TakingOff:
            if (hero->isJumping()) _phase = Flying;
            return false;
        case Flying:
            if (onGround(hero)) {
                release(SDLK_LCTRL);
                next();
            }
            return false;
        case Entering:
            if (room != move.map) {
                release(SDLK_UP);
                next();
            }
            return false;
        case Pressed:
            release(SDLK_UP);
            wait(move.frames > 0 ? move.frames : 10);
            return false;
        case Turning: {
            // He faces the way of the throw first, and throws standing on the ground.
            const bool left = move.action == Move::ThrowLeft;
            if (hero->isFacingLeft() != left) {
                hold(left ? SDLK_LEFT : SDLK_RIGHT);
                return false;
            }
            release(SDLK_LEFT);
            release(SDLK_RIGHT);
            if (!onGround(hero)) return false;
            press(SDLK_SPACE);
            _phase = Charging;
            return false;
        }
        case Charging:
            // The upward speed fills last.
            if (hero->getThrowVelocityY() >= GameConstants::jumpSpeed) {
                release(SDLK_SPACE);
                _phase = Throwing;
            }
            return false;
        case Throwing:
            for (const Grenade* g : level->getCurrentMap()->getGrenades()) grenadeSeen = g->getX();
            if (!hero->isThrowing()) next();
            return false;
        case Waiting:
            if (--_waiting <= 0) next();
            return false;
        }
        return false;
    }

private:
    enum Phase { Approach, TakingOff, Flying, Entering, Pressed, Turning, Charging, Throwing, Waiting };

    // At the move's point: its action starts.
    bool act(const Move& move, const Player* hero)
    {
        if (move.action == Move::Walk) {
            // The arrow stays held: the next move may go on the same way.
            next();
            return false;
        }
        if (move.action == Move::ThrowLeft || move.action == Move::ThrowRight) {
            _phase = Turning;
            return false;
        }
        if (move.action == Move::JumpLeft || move.action == Move::JumpRight) {
            hold(move.action == Move::JumpLeft ? SDLK_LEFT : SDLK_RIGHT);
        } else {
            release(SDLK_LEFT);
            release(SDLK_RIGHT);
        }
        if (!onGround(hero)) return false;
        const bool up = move.action == Move::Door || move.action == Move::Use;
        press(up ? SDLK_UP : SDLK_LCTRL);
        _phase = move.action == Move::Door ? Entering : move.action == Move::Use ? Pressed : TakingOff;
        return false;
    }
    void wait(int frames)
    {
        _waiting = frames;
        _phase = Waiting;
    }
    static bool onGround(const Player* hero)
    {
        return !hero->isJumping() && !hero->isAirborne() && hero->getVerticalSpeed() == 0;
    }
    void press(SDLKey key)
    {
        if (_held.insert(key).second) uitest::pushKey(key, true);
    }
    void release(SDLKey key)
    {
        if (_held.erase(key)) uitest::pushKey(key, false);
    }
    // One arrow at a time: the other is let go first.
    void hold(SDLKey arrow)
    {
        release(arrow == SDLK_RIGHT ? SDLK_LEFT : SDLK_RIGHT);
        press(arrow);
    }
    void releaseAll()
    {
        while (!_held.empty()) release(*_held.begin());
    }
    void startMove()
    {
        _phase = Approach;
        _direction = 0;
        _moveFrames = 0;
    }
    void next()
    {
        ++_at;
        startMove();
    }
    bool abandon()
    {
        releaseAll();
        _at = _moves.size();
        return true;
    }

    GameScreen* _game;
    std::vector<Move> _moves;
    size_t _at = 0;
    Phase _phase = Approach;
    int _direction = 0;
    int _moveFrames = 0;
    int _waiting = 0;
    std::set<SDLKey> _held;
};

}  // namespace gametest

#endif
