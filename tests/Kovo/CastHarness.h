#ifndef KOVO_TESTS_KOVO_CASTHARNESS_H
#define KOVO_TESTS_KOVO_CASTHARNESS_H

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Common/MapFrameSupport.h"
#include "Kovo/Projectile.h"
#include "PlayerHarness.h"

namespace kovotest {

using mapframe::floorAt;
using mapframe::wallAt;

// A character record: code, position, state, facing, the code's extras, nothing carried.
inline std::string actorAt(int type, double x, double y, int state, bool facingLeft,
                           const std::string& extras = "")
{
    std::ostringstream out;
    out << "<CHARACTER> " << type << ' ' << x << ' ' << y << ' ' << state << ' '
        << (facingLeft ? 1 : 0) << ' ' << extras << " -1 </CHARACTER>\n";
    return out.str();
}

// The actors in a real room read from level text (`width` by `height`, gravity 2000), with
// the real hero; thinks given fixed times.
class CastTest : public PlayerFixture {
protected:
    void TearDown() override
    {
        room.reset();
        hero.respawn();
        PlayerFixture::TearDown();
    }
    // The room of `body`; its actor at `index`, null when it has none there or of that class.
    template <class T = Character>
    T* makeRoom(const std::string& body, int width = 2000, int height = 1000, size_t index = 0)
    {
        room.reset(new Map(&app, nullptr, &hero));
        std::ostringstream text;
        text << "<MAP_WIDTH> " << width << " </MAP_WIDTH> <MAP_HEIGHT> " << height
             << " </MAP_HEIGHT> <GRAVITY> 2000 </GRAVITY>\n" << body << " </MAP>";
        std::istringstream in(text.str());
        EXPECT_EQ(0, room->read(in));
        return actor<T>(index);
    }
    template <class T = Character>
    T* actor(size_t index = 0) const
    {
        const auto& all = room->getCharacters();
        return index < all.size() ? dynamic_cast<T*>(*std::next(all.begin(), index)) : nullptr;
    }
    void placeHero(double x, double y) { hero.setPosition(x, y, GameConstants::zHero); }
    // A case of a table: the hero on his feet at (x, y), or dying there.
    void heroAt(double x, double y, bool dying)
    {
        hero.respawn();
        placeHero(x, y);
        if (dying) hero.die();
    }
    // The camera on (x, y), for what an actor does only on screen.
    static void lookAt(double x, double y = 300)
    {
        GphWindow::getInstance()->getCamera()->setPosition(ShpCoord(x, y, 0));
    }

    static void think(Character* c, unsigned ms, int n = 1)
    {
        for (int i = 0; i < n; ++i) c->think(ms, ms / 1000.0);
    }
    // Thinks until the test holds, at most 2000: how many, -1 when it never held.
    template <class Done>
    static int thinkUntil(Character* c, Done done, unsigned ms = 30)
    {
        for (int i = 1; i <= 2000; ++i) {
            think(c, ms);
            if (done()) return i;
        }
        return -1;
    }
    static int thinkUntilStateChanges(Character* c, unsigned ms = 30)
    {
        const CharacterState from = c->getState();
        return thinkUntil(c, [&] { return c->getState() != from; }, ms);
    }

    // Room frames until the test holds, at most `most`: how many, -1 when it never held.
    template <class Done>
    int updatesUntil(Done done, unsigned ms = 30, int most = 2000)
    {
        for (int i = 1; i <= most; ++i) {
            room->update(ms);
            if (done()) return i;
        }
        return -1;
    }
    // The shots and knives the room has made since the last look (the test's room wide
    // enough for them to live through it).
    std::vector<const Projectile*> newShots()
    {
        std::vector<const Projectile*> made;
        for (const Projectile* p : room->getEnemyProjectiles())
            if (seenShots.insert(p).second) made.push_back(p);
        return made;
    }

    static GphAnimatedTexture* shown(const Character* c)
    {
        return c->getDrawable()->getAnimatedTexture();
    }
    // Rectangles that reach OpenGL in one draw of the actor.
    static unsigned long rectsDrawn(Character* c)
    {
        const unsigned long before = GphRect::getTally().rects;
        c->draw();
        return GphRect::getTally().rects - before;
    }
    static GphAnimatedTexture* animation(const Character* c, CharacterState s)
    {
        return c->getAnimations().at(s);
    }

    std::unique_ptr<Map> room;
    std::set<const Projectile*> seenShots;
};

}  // namespace kovotest

#endif
