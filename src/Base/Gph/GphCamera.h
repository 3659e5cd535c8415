#ifndef KOVO_BASE_GPH_GPHCAMERA_H
#define KOVO_BASE_GPH_GPHCAMERA_H

class GphViewport;
class ShpCoord;

// The point of the world shown at the centre of the window. Screens and rooms place it,
// the room's frame step makes it follow the hero, and every drawable is drawn relative to
// it and tested for visibility against its viewport's world bounds.
//
// The window owns the one camera for the whole run; a change of video mode resets it
// rather than replacing it, so a pointer to it stays valid as long as the window lives.
class GphCamera {
public:
    GphCamera();
    virtual ~GphCamera();
    GphCamera(const GphCamera&) = delete;
    GphCamera& operator=(const GphCamera&) = delete;

    // Adds to the position, then brings the viewport's world bounds in step.
    void move(double dx, double dy, double dz);
    // Places the camera and drops the carried fraction of a unit; the follow speed stays.
    void setPosition(const ShpCoord& p);
    // One step of following the point (targetX, targetY): x closes in with a speed that
    // ramps up and down and moves by whole units only, y jumps to the target at once.
    // Called once per frame with the frame's elapsed seconds.
    void track(double targetX, double targetY, double seconds);
    // Back to the origin with every follow value 0, as a new camera would be.
    void reset();

    void setViewport(GphViewport* v) { _viewport = v; }
    GphViewport* getViewport() const { return _viewport; }

    // The position itself: the game reads and writes its x and y directly.
    ShpCoord* getPosition() const { return _position; }

    // What the last `track` call moved, for the room's parallax layers.
    double getLastMoveX() const { return _lastMoveX; }
    double getLastMoveY() const { return _lastMoveY; }
    double getLastTargetX() const { return _lastTargetX; }
    double getLastTargetY() const { return _lastTargetY; }
    // Horizontal follow speed in world units per `track` call, positive to the right.
    double getVelocity() const { return _velocity; }
    // The part of a unit of horizontal motion not yet applied, in (-1, 1).
    double getFraction() const { return _fraction; }

private:
    void updateViewportBounds();

    ShpCoord* _position;
    GphViewport* _viewport;
    double _lastTargetX;
    double _lastTargetY;
    double _lastMoveX;
    double _lastMoveY;
    double _velocity;
    double _fraction;
};

#endif
