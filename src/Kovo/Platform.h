#ifndef KOVO_KOVO_PLATFORM_H
#define KOVO_KOVO_PLATFORM_H

#include <istream>
#include <list>
#include <ostream>

#include "Base/Shp/ShpCoord.h"
#include "Common/Sprite.h"

class Barrier;
class GphRect;
class Map;

// A moving platform: a sprite that carries a floor barrier, a ceiling barrier or both along
// a route of waypoints at 105 units per second, first along x, then along y, never
// diagonally. The room files the barriers in its floors and ceilings and carries whoever
// stands on the floor by the barrier's recorded last move; the platform only moves itself
// and its barriers.
//
// At the end of its route a platform travels straight back to its first waypoint, a looping
// one jumps there at once, and a one-way one stops for good. A bridge is drawn further back
// (z -209 instead of -203); a one-way bridge extends while it is active and slides back to
// its first waypoint while it is not, which is how a switch opens and closes it. Any other
// inactive platform stands still and carries nothing.
//
// Active is the sprite's visible flag. The barriers belong to the room's lists once the
// platform has been read; its picture's animation belongs to the room's image table.
class Platform : public Sprite {
public:
    typedef std::list<ShpCoord> WaypointList;

    explicit Platform(Map* owner);
    // Deletes the picture (its animation is the room's); the barriers are the room's.
    ~Platform() override;
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;

    // The level-file body behind "<PLATFORM>", up to and including "</PLATFORM>". 0, or -1
    // after logging why: an unknown tag, an animation the room lacks, a barrier that fails to
    // read, a value that does not parse or a stream that ends inside the block. A platform
    // that failed to read holds no barriers: the ones it read are deleted with the failure.
    int read(std::istream& in);

    // Advances the picture's animation.
    void updateAnimation(unsigned ms);
    // One step of motion along the route.
    void update(double seconds);

    Barrier* getFloor() const { return _floor; }
    Barrier* getCeiling() const { return _ceiling; }
    void setFloor(Barrier* floor) { _floor = floor; }
    void setCeiling(Barrier* ceiling) { _ceiling = ceiling; }

    // Also puts the platform at z -209 for a bridge, -203 otherwise.
    void setBridge(bool bridge);
    bool isBridge() const { return _bridge; }
    bool isLooping() const { return _looping; }
    bool isOneWay() const { return _one_way; }

    // Replacing the list leaves no current waypoint; removing the current waypoint makes the
    // one after it current. Otherwise the current waypoint stays what it was.
    void setWaypoints(const WaypointList& waypoints);
    void addWaypoint(const ShpCoord& waypoint);
    // Erases the first waypoint equal to the point; nothing when none is.
    void removeWaypoint(const ShpCoord& waypoint);
    bool hasWaypoints() const { return !_waypoints.empty(); }
    const WaypointList& getWaypoints() const { return _waypoints; }
    // False when the platform heads for no waypoint (past the end of its route).
    bool hasCurrentWaypoint() const { return _current != _waypoints.end(); }
    // The waypoint it heads for; only meaningful while hasCurrentWaypoint().
    const ShpCoord& getCurrentWaypoint() const { return *_current; }

    GphRect* getPicture() const { return _picture; }

    // "<PLATFORM>", the current waypoint (1 and its "<COORD>" block, or 0), the sprite line,
    // "</PLATFORM>". Reading starts behind the opening tag; the picture keeps the platform's
    // own size. 0, or -1 when the block ends early or a value does not parse.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;

private:
    // Steps toward the current waypoint, x first; moves the sprite and both barriers and
    // gives the signed overshoot of a clamped step.
    void approach(double seconds, double& leftover);
    // Moves the sprite and both barriers, recording the move on the barriers.
    void shift(double dx, double dy);

    Map* _owner;
    Barrier* _floor;
    Barrier* _ceiling;
    GphRect* _picture;
    WaypointList _waypoints;
    WaypointList::iterator _current;
    bool _looping;
    bool _one_way;
    bool _bridge;
};

#endif
