#ifndef KOVO_TESTS_COMMON_ROUTEPILOT_H
#define KOVO_TESTS_COMMON_ROUTEPILOT_H

// A player at the keys, for the tests that play the levels' routes. Each move names a room
// and a point of it: the hero is walked there, the arrow toward it held until he has passed
// it, and then does what the move says. Jumps, doors and levers start from the ground; a jump
// keeps Ctrl held until he has landed, a door keeps Up held until he is in the next room, a
// lever is one press of Up, a throw faces the way first and keeps the space bar held until
// the charge is full, and a wait lets game time go by with no key held. Hint panels are sent
// away with a key as they come. Every span is milliseconds of game time, so a route means the
// same at any frame time; the keys go wherever the test sends them (SDL events into the main
// loop, or straight to the level).
//
// The routes are data, in tests/Application/WholeGame/routes.txt.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Common/GameConstants.h"
#include "Common/Level.h"
#include "Common/Map.h"
#include "Kovo/Grenade.h"
#include "Kovo/Player.h"

namespace routetest {

struct Move {
    enum Action { Walk, JumpLeft, JumpUp, JumpRight, Door, Use, ThrowLeft, ThrowRight, Wait };
    int map;
    double x;
    Action action;
    // Wait: the milliseconds to let go by; Use: those after the press (300 when 0).
    int ms = 0;
    bool isJump() const { return action == JumpLeft || action == JumpUp || action == JumpRight; }
};

// One level's route: "level FILE SLOT EXIT", then one move a line, "ROOM X ACTION [MS]", and
// "check NAME" lines that the whole-game run acts on before the next move.
struct Route {
    std::string file;
    int slot;  // 1 to 6, the page button that starts it
    int exitCode;
    std::vector<Move> moves;
    // The run's checks, each with the index of the move it comes before.
    std::vector<std::pair<size_t, std::string>> checks;
};

inline std::vector<Route> readRoutes()
{
    static const std::map<std::string, Move::Action> actions = {
        {"walk", Move::Walk}, {"jump>", Move::JumpRight}, {"jump<", Move::JumpLeft}, {"jump^", Move::JumpUp},
        {"door", Move::Door}, {"use", Move::Use},          {"throw>", Move::ThrowRight},
        {"throw<", Move::ThrowLeft}, {"wait", Move::Wait}};
    std::vector<Route> routes;
    // In the source tree, which holds the build folders.
    const std::filesystem::path here =
        std::filesystem::path(__FILE__).parent_path().parent_path() / "Application" / "WholeGame" / "routes.txt";
    std::filesystem::path dir = std::filesystem::current_path();
    while (dir.has_relative_path() && !std::filesystem::exists(dir / here)) dir = dir.parent_path();
    std::ifstream in(dir / here);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string first, action;
        Move move{};
        if (!(words >> first)) continue;
        if (first == "level") {
            routes.push_back({});
            words >> routes.back().file >> routes.back().slot >> routes.back().exitCode;
        } else if (!routes.empty() && first == "check" && (words >> action)) {
            routes.back().checks.push_back({routes.back().moves.size(), action});
        } else if (!routes.empty() && (words >> move.x >> action) && actions.count(action)) {
            move.map = std::stoi(first);
            move.action = actions.at(action);
            words >> move.ms;
            routes.back().moves.push_back(move);
        } else {
            ADD_FAILURE() << "unreadable route line: " << line;
        }
    }
    return routes;
}

class Pilot {
public:
    // The keys a player uses, pressed (true) or let go.
    enum Key { Left, Right, Up, Jump, Throw, Dismiss };
    typedef std::function<void(Key, bool)> Keys;
    // A move not done in this much game time fails the test.
    static constexpr int kMoveMs = 45000;
    // Standing this long against a wall, the arrow held, he is stuck.
    static constexpr int kStuckMs = 150;

    // `takeOffShift` moves every jump's take-off point along the way he goes: negative is
    // earlier, positive later. `hesitateMs`: how long he stands before each action.
    Pilot(std::function<Level*()> level, Keys keys, double takeOffShift = 0, int hesitateMs = 0)
        : _level(std::move(level)), _keys(std::move(keys)), _shift(takeOffShift), _hesitateMs(hesitateMs)
    {
    }

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
    // From the route's first move again, every key let go: the level has been restarted. The
    // rooms are as he left them, so a lever already pulled is not pulled back.
    void again()
    {
        releaseAll();
        _at = 0;
        startMove();
    }
    // Called once a frame of `ms` has been played: the keys for the next one. True once the
    // last move is done (or the level ended during it: an exit) and every key let go.
    bool frame(unsigned ms)
    {
        Level* level = _level();
        Player* hero = level ? level->getPlayer() : nullptr;
        if (_at >= _moves.size() || !level || !level->getCurrentMap() || !hero) {
            if (_at + 1 < _moves.size()) ADD_FAILURE() << "the level ended before move " << _at;
            return abandon();
        }
        if (level->hasHint()) {
            releaseAll();
            _keys(Dismiss, true);
            _keys(Dismiss, false);
            return false;
        }
        const Move& move = _moves[_at];
        const int room = level->getCurrentMap()->getId();
        _moveMs += static_cast<int>(ms);
        if (_moveMs > kMoveMs) {
            ADD_FAILURE() << "move " << _at << " (room " << move.map << ", x " << move.x << ") not done: hero in room "
                          << room << " at " << hero->getX() << ", " << hero->getY() << " in state "
                          << hero->getState();
            return abandon();
        }
        switch (_phase) {
        case Approach: {
            // Walking through a door, he is not in the room of the move yet.
            if (room != move.map) return false;
            if (_pulled.count(_at)) {
                next();
                return false;
            }
            if (move.action == Move::Wait) {
                releaseAll();
                wait(move.ms);
                return false;
            }
            if (_direction == 0) _direction = target(move, hero->getX()) >= hero->getX() ? 1 : -1;
            const double x = target(move, hero->getX());
            // A jump whose point lies beyond a wall he walks into is taken where he stands, as
            // a person would take it.
            // A hero held by his own throw (one let fly as a restart let its key go) is not
            // against a wall.
            _stuckMs = hero->getX() == _lastX && onGround(hero) && !hero->isThrowing() ? _stuckMs + static_cast<int>(ms) : 0;
            _lastX = hero->getX();
            const bool blocked = move.isJump() && _stuckMs >= kStuckMs;
            if (!blocked && (_direction > 0 ? hero->getX() < x : hero->getX() > x)) {
                hold(_direction > 0 ? Right : Left);
                return false;
            }
            return act(move, hero);
        }
        case TakingOff:
            if (hero->isJumping()) _phase = Flying;
            return false;
        case Flying:
            if (onGround(hero)) {
                release(Jump);
                next();
            }
            return false;
        case Entering:
            if (room != move.map) {
                release(Up);
                next();
            }
            return false;
        case Pressed:
            release(Up);
            wait(move.ms > 0 ? move.ms : 300);
            return false;
        case Turning: {
            // He faces the way of the throw first, and throws standing on the ground.
            const bool left = move.action == Move::ThrowLeft;
            if (hero->isFacingLeft() != left) {
                hold(left ? Left : Right);
                return false;
            }
            release(Left);
            release(Right);
            if (!onGround(hero)) return false;
            press(Throw);
            _phase = Charging;
            return false;
        }
        case Charging:
            // The upward speed fills last.
            if (hero->getThrowVelocityY() >= GameConstants::jumpSpeed) {
                release(Throw);
                _phase = Throwing;
            }
            return false;
        case Throwing:
            for (const Grenade* g : level->getCurrentMap()->getGrenades()) grenadeSeen = g->getX();
            if (!hero->isThrowing()) next();
            return false;
        case Waiting:
            _waiting -= static_cast<int>(ms);
            if (_waiting <= 0) next();
            return false;
        case Hesitating:
            _waiting -= static_cast<int>(ms);
            if (_waiting <= 0) _phase = Approach;
            return false;
        }
        return false;
    }

private:
    enum Phase { Approach, TakingOff, Flying, Entering, Pressed, Turning, Charging, Throwing, Waiting, Hesitating };

    // The move's point, a jump's moved by the shift along the way he jumps (a jump straight
    // up: the way he walks to it).
    double target(const Move& move, double heroX) const
    {
        if (!move.isJump() || _shift == 0) return move.x;
        int way = move.action == Move::JumpRight ? 1 : move.action == Move::JumpLeft ? -1 : _direction;
        if (way == 0) way = move.x >= heroX ? 1 : -1;
        return move.x + way * _shift;
    }
    // At the move's point: its action starts.
    bool act(const Move& move, const Player* hero)
    {
        if (move.action == Move::Walk) {
            // The arrow stays held: the next move may go on the same way.
            next();
            return false;
        }
        if (_hesitateMs > 0 && !_hesitated) {
            releaseAll();
            _hesitated = true;
            _waiting = _hesitateMs;
            _phase = Hesitating;
            return false;
        }
        if (move.action == Move::ThrowLeft || move.action == Move::ThrowRight) {
            _phase = Turning;
            return false;
        }
        if (move.action == Move::JumpLeft || move.action == Move::JumpRight) {
            hold(move.action == Move::JumpLeft ? Left : Right);
        } else {
            release(Left);
            release(Right);
        }
        // Nor does a throw under way take the jump key.
        if (!onGround(hero) || hero->isThrowing()) return false;
        const bool up = move.action == Move::Door || move.action == Move::Use;
        press(up ? Up : Jump);
        if (move.action == Move::Use) _pulled.insert(_at);
        _phase = move.action == Move::Door ? Entering : move.action == Move::Use ? Pressed : TakingOff;
        return false;
    }
    void wait(int ms)
    {
        _waiting = ms;
        _phase = Waiting;
    }
    static bool onGround(const Player* hero)
    {
        return !hero->isJumping() && !hero->isAirborne() && hero->getVerticalSpeed() == 0;
    }
    void press(Key key)
    {
        if (_held.insert(key).second) _keys(key, true);
    }
    void release(Key key)
    {
        if (_held.erase(key)) _keys(key, false);
    }
    // One arrow at a time: the other is let go first.
    void hold(Key arrow)
    {
        release(arrow == Right ? Left : Right);
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
        _moveMs = 0;
        _stuckMs = 0;
        _lastX = -1;
        _hesitated = false;
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

    std::function<Level*()> _level;
    Keys _keys;
    double _shift;
    int _hesitateMs;
    bool _hesitated = false;
    std::vector<Move> _moves;
    size_t _at = 0;
    Phase _phase = Approach;
    int _direction = 0;
    int _moveMs = 0;
    int _stuckMs = 0;
    double _lastX = -1;
    int _waiting = 0;
    std::set<Key> _held;
    // The levers pulled so far, by move: a replay passes them over.
    std::set<size_t> _pulled;
};

// The keys as the game screen hands them on to the level it runs.
inline Pilot::Keys levelKeys(Level& level)
{
    return [&level](Pilot::Key key, bool down) {
        static const AppKey arrows[] = {AppKeyLeft, AppKeyRight, AppKeyUp, AppKeyCtrl};
        static const char chars[] = {' ', 'x'};
        if (key < Pilot::Throw)
            down ? level.onKeyDown(arrows[key]) : level.onKeyUp(arrows[key]);
        else
            down ? level.onCharDown(chars[key - Pilot::Throw]) : level.onCharUp(chars[key - Pilot::Throw]);
    };
}

}  // namespace routetest

#endif
