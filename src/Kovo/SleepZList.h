#ifndef KOVO_KOVO_SLEEPZLIST_H
#define KOVO_KOVO_SLEEPZLIST_H

#include <list>

class GphRect;

// The "Z" pictures that rise from a sleeping actor's head: each a 30 by 30 rectangle with a
// one-frame animation of its own, made opaque at the actor's depth, rising 35 units and
// fading 0.35 of its opacity per second until it would turn see-through. The actor decides
// when and where a new one appears; its think advances them and its drawEffects draws them.
// Never saved.
class SleepZList {
public:
    SleepZList();
    // Deletes every picture with its animation.
    ~SleepZList();

    // A new picture centred at (x, y), appended.
    void add(double x, double y);
    // Advances every picture by the frame's seconds: one already see-through, or whose
    // opacity would fall below 0 in this frame, is deleted; the others fade and rise.
    void update(double seconds);
    // Draws every picture in order.
    void draw();
    void clear();

    bool empty() const { return _pictures.empty(); }
    unsigned size() const { return static_cast<unsigned>(_pictures.size()); }
    const std::list<GphRect*>& getPictures() const { return _pictures; }

private:
    SleepZList(const SleepZList&) = delete;
    SleepZList& operator=(const SleepZList&) = delete;
    static void destroy(GphRect* picture);

    std::list<GphRect*> _pictures;
};

#endif
