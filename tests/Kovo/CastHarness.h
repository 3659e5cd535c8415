#ifndef KOVO_TESTS_KOVO_CASTHARNESS_H
#define KOVO_TESTS_KOVO_CASTHARNESS_H

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Common/GameConstants.h"
#include "Common/Map.h"
#include "Common/MapFrameSupport.h"
#include "Kovo/Character.h"
#include "PlayerHarness.h"

namespace kovotest {

using mapframe::ceilingAt;
using mapframe::floorAt;
using mapframe::wallAt;

// A character record of the level file: code, position, state, facing, the code's extras as
// they stand in the file, nothing carried.
inline std::string actorAt(int type, double x, double y, int state, bool facingLeft,
                           const std::string& extras = "")
{
    std::ostringstream out;
    out << "<CHARACTER> " << type << ' ' << x << ' ' << y << ' ' << state << ' '
        << (facingLeft ? 1 : 0) << ' ' << extras << " -1 </CHARACTER>\n";
    return out.str();
}

// The actors of this game in a real room read from level text, with the real hero.
class CastTest : public PlayerFixture {
protected:
    void TearDown() override
    {
        room.reset();
        hero.respawn();
        PlayerFixture::TearDown();
    }

    // A room `width` wide and 1000 high with gravity 2000.
    void makeRoom(const std::string& body, int width = 2000)
    {
        room.reset(new Map(&app, nullptr, &hero));
        std::istringstream in("<MAP_WIDTH> " + std::to_string(width) +
                              " </MAP_WIDTH> <MAP_HEIGHT> 1000 </MAP_HEIGHT> <GRAVITY> 2000 "
                              "</GRAVITY>\n" +
                              body + " </MAP>");
        ASSERT_EQ(0, room->read(in));
    }

    template <class T = Character>
    T* actor(size_t index = 0) const
    {
        size_t i = 0;
        for (Character* c : room->getCharacters())
            if (i++ == index) return dynamic_cast<T*>(c);
        return nullptr;
    }

    void placeHero(double x, double y) { hero.setPosition(x, y, GameConstants::zHero); }

    // n thinks of ms each, as the room gives them.
    static void think(Character* c, unsigned ms, int n = 1)
    {
        for (int i = 0; i < n; ++i) c->think(ms, ms / 1000.0);
    }

    // Thinks until the state changes, at most n; the number of thinks, -1 when it never did.
    static int thinkUntilStateChanges(Character* c, unsigned ms, int n = 2000)
    {
        const CharacterState from = c->getState();
        for (int i = 1; i <= n; ++i) {
            think(c, ms);
            if (c->getState() != from) return i;
        }
        return -1;
    }

    static GphAnimatedTexture* shown(const Character* c)
    {
        return c->getDrawable()->getAnimatedTexture();
    }
    static GphAnimatedTexture* animation(const Character* c, CharacterState s)
    {
        auto it = c->getAnimations().find(s);
        return it == c->getAnimations().end() ? nullptr : it->second;
    }

    static std::string saved(Character& c)
    {
        std::ostringstream out;
        EXPECT_EQ(0, c.writeState(out));
        return out.str();
    }

    // Reads a block whose opening tag it takes first, as the room does.
    static int restore(Character& c, const std::string& text)
    {
        std::istringstream in(text);
        std::string tag;
        in >> tag;
        return c.readState(in);
    }

    std::unique_ptr<Map> room;
};

}  // namespace kovotest

#endif
