#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Base/App/AppClock.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/Barrier.h"
#include "Common/CharacterRegistry.h"
#include "Common/GameConstants.h"
#include "Common/Layer.h"
#include "Common/Level.h"
#include "Common/LevelOwner.h"
#include "Common/Map.h"
#include "Kovo/Character.h"
#include "Kovo/Door.h"
#include "Kovo/Drop.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Platform.h"
#include "Kovo/Walker.h"
#include "LevelTestWindow.h"

// What the player sees as ground must be where the ground is solid, and no actor may stand,
// walk or fall inside it: a floor drawn above its surface lets the hero stand in the air, one
// drawn short lets him walk on nothing, and an actor whose box is inside a ledge shows its
// head through the stone.
namespace {

// How far a picture may miss the solid ground before the eye sees it.
constexpr double kSlack = 5.0;
constexpr double kStep = 5.0;
// How far a walker steps up or down from one floor to the next, as the room lets it.
constexpr double kStepUp = 50.0;

struct Box {
    double left, right, bottom, top;
    bool holds(double x, double y) const { return left <= x && x <= right && bottom <= y && y <= top; }
    // Overlap by more than a unit: touching a surface is standing on it.
    bool overlaps(const Box& o) const
    {
        return std::min(right, o.right) - std::max(left, o.left) > 1.0 &&
               std::min(top, o.top) - std::max(bottom, o.bottom) > 1.0;
    }
};

std::string describe(const char* kind, const Box& b)
{
    std::ostringstream out;
    out << kind << " " << b.left << ".." << b.right << " x " << b.bottom << ".." << b.top;
    return out.str();
}

class QuietOwner : public LevelOwner {
public:
    void setObjective(const std::string&) override {}
    void onObjectiveFound() override {}
    void onPlayerDied() override {}
    void onLevelFinished(const std::string&, int) override {}
};

std::vector<std::string> levelFiles()
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        if (entry.path().filename().string().rfind("level", 0) == 0 && entry.path().extension() == ".xml")
            files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    return files;
}

// The room's own floors, walls and ceilings (the floors of lifts and crates are drawn by their
// sprites) and the pictures that draw them.
struct Ground {
    std::vector<const Barrier*> floors;
    std::vector<const Barrier*> walls;
    // Opaque tiles, and opaque decoration laid over a barrier: what shows ground.
    std::vector<Box> pictures;
    // Those and the see-through pictures that finish a barrier's drawing: grass on earth, a
    // shelf's own picture. They may draw a floor's top but never show ground on their own.
    std::vector<Box> dressing;

    explicit Ground(const Map* map)
    {
        std::vector<const Barrier*> carried;
        for (const Platform* p : map->getPlatforms()) carried.push_back(p->getFloor());
        for (const Obstacle* o : map->getObstacles()) carried.push_back(o->getFloor());
        for (const Barrier* f : map->getFloors())
            if (std::find(carried.begin(), carried.end(), f) == carried.end()) floors.push_back(f);
        walls.assign(map->getWalls().begin(), map->getWalls().end());
        walls.insert(walls.end(), map->getCeilings().begin(), map->getCeilings().end());
        for (const Layer* layer : {map->getEdgeLayer(), map->getForegroundLayer()}) {
            if (!layer) continue;
            for (int row = 0; row < layer->getGridRows(); ++row)
                for (int col = 0; col < layer->getGridCols(); ++col) {
                    const Box cell{40.0 * col, 40.0 * col + 40, 40.0 * row, 40.0 * row + 40};
                    if (layer->isSolidTile(row, col)) pictures.push_back(cell);
                    else if (layer->getTile(row, col) && layer->isSolidTile(row - 1, col)) dressing.push_back(cell);
                }
        }
        // What ground looks like in this room: the opaque pictures its tiles are cut from and
        // those laid over a barrier.
        std::set<std::string> looks;
        for (const Layer* layer : {map->getEdgeLayer(), map->getForegroundLayer()})
            if (layer)
                for (const auto& image : layer->getImages().entries()) looks.insert(look(image.second));
        std::vector<std::pair<Box, std::string>> decoration;
        for (const auto* list : {&map->getBackgroundObjects(), &map->getForegroundObjects()})
            for (const GphRect* rect : *list) {
                const double x = rect->getCoord()->getX(), y = rect->getCoord()->getY();
                const Box box{x - rect->getHalfLength(), x + rect->getHalfLength(), y - rect->getHalfWidth(),
                              y + rect->getHalfWidth()};
                decoration.emplace_back(box, look(rect->getAnimatedTexture()));
                if (overBarrier(box)) looks.insert(decoration.back().second);
            }
        looks.erase("");
        // An opaque picture in the ground's own look is ground wherever it stands, a block on
        // the floor or a ledge in the air; any other picture clear of every barrier is a building
        // or a distant wall.
        for (const auto& [box, seen] : decoration)
            if (looks.count(seen)) pictures.push_back(box);
            else if (overBarrier(box)) dressing.push_back(box);
        dressing.insert(dressing.end(), pictures.begin(), pictures.end());
    }

    // The file an opaque picture shows; empty for a see-through or missing one.
    static std::string look(const GphAnimatedTexture* a)
    {
        const GphTexture* t = a ? a->getCurrentTexture() : nullptr;
        return t && t->getMode() == GL_DECAL && t->getImage() ? t->getImage()->getFileName() : "";
    }

    // A floor's surface over the width of a tile about x: a 40-unit tile can draw a slope
    // no closer than that.
    static double surface(const Barrier* f, double x, bool high)
    {
        const double a = f->surfaceAt(std::max(x - 20, f->getX1())), b = f->surfaceAt(std::min(x + 20, f->getX2()));
        return std::clamp(high ? std::max(a, b) : std::min(a, b), f->getY2(), f->getY1());
    }
    static Box body(const Barrier* b) { return {b->getX1(), b->getX2(), b->getY2(), b->getY1()}; }
    bool overBarrier(const Box& box) const
    {
        for (const auto* list : {&floors, &walls})
            for (const Barrier* b : *list)
                if (box.overlaps(body(b))) return true;
        return false;
    }
    static bool drawn(const std::vector<Box>& boxes, double x, double y)
    {
        for (const Box& p : boxes)
            if (p.holds(x, y)) return true;
        return false;
    }
    bool solid(double x, double y) const
    {
        for (const Barrier* f : floors)
            if (f->getX1() <= x && x <= f->getX2() && f->getY2() <= y && y <= surface(f, x, true)) return true;
        for (const Barrier* w : walls)
            if (body(w).holds(x, y)) return true;
        return false;
    }
    // Earth under a floor with nothing to stand on beneath it: no one ever sees it from close.
    bool buried(double x, double y) const
    {
        bool under = false;
        for (const Barrier* f : floors) {
            if (f->getX1() > x || x > f->getX2()) continue;
            if (f->surfaceAt(x) <= y) return false;
            under = under || f->getY2() >= y;
        }
        return under;
    }
    // Someone lands on a floor when he can fall onto it: somewhere along it, inside the room,
    // the point just above its surface is in no other floor's body and no wall's. A floor
    // buried that way holds no one; the top of a block does, since walls stop no fall.
    bool landable(const Barrier* f, double width) const
    {
        for (double x = std::max(f->getX1(), 0.0); x <= std::min(f->getX2(), width); x += kStep) {
            const double y = f->surfaceAt(x) + 1;
            bool covered = false;
            for (const Barrier* g : floors)
                covered = covered || (g != f && g->getX1() <= x && x <= g->getX2() && g->getY2() <= y &&
                                      y <= std::min(g->getY1(), g->surfaceAt(x)));
            for (const Barrier* w : walls) covered = covered || body(w).holds(x, y);
            if (!covered) return true;
        }
        return false;
    }
};

// Rule for drawn ground: every point of a floor's body (its rectangle up to its surface) and
// of a wall's is covered by an opaque ground picture, and every point of such a picture lies
// in a floor or wall, or is buried under a floor with nothing to stand on below it. Both are
// sampled 5 units inside the edges, which is the slack the eye allows.
class LevelGeometryTest : public leveltest::LevelFixture {
protected:
    // Every room of the 30 levels, with where it is for the messages.
    void eachRoom(const std::function<void(const std::string&, const Map*, const Ground&)>& check)
    {
        const std::vector<std::string> files = levelFiles();
        EXPECT_EQ(30u, files.size());
        for (const std::string& file : files) {
            Level level(_app.get(), &_owner, _player.get());
            ASSERT_EQ(0, level.read(file, true, false)) << file;
            for (const auto& entry : level.getMaps())
                check(file + " room " + std::to_string(entry.first) + ": ", entry.second, Ground(entry.second));
        }
    }
    QuietOwner _owner;
};

TEST_F(LevelGeometryTest, GroundIsDrawnExactlyWhereItIsSolid)
{
    eachRoom([](const std::string& where, const Map* map, const Ground& ground) {
        const Box room{0, double(map->getWidth()), 0, double(map->getHeight())};
        auto uncovered = [&](const Barrier* b, bool floor, const char* kind) {
            for (double x = std::max(b->getX1(), room.left) + kSlack; x <= std::min(b->getX2(), room.right) - kSlack; x += kStep)
                for (double y = std::max(b->getY2(), room.bottom) + kSlack; y <= (floor ? Ground::surface(b, x, false) : b->getY1()) - kSlack; y += kStep)
                    if (!Ground::drawn(ground.dressing, x, y)) {
                        ADD_FAILURE() << where << describe(kind, {b->getX1(), b->getX2(), b->getY2(), b->getY1()})
                                      << " is not drawn at (" << x << ", " << y << ")";
                        return;
                    }
        };
        for (const Barrier* f : ground.floors) uncovered(f, true, "floor");
        for (const Barrier* w : ground.walls) uncovered(w, false, "wall or ceiling");
        for (const Box& p : ground.pictures) {
            bool reported = false;
            for (double x = p.left + kSlack; x <= p.right - kSlack && !reported; x += kStep)
                for (double y = p.bottom + kSlack; y <= p.top - kSlack && !reported; y += kStep)
                    if (!ground.solid(x, y) && !ground.buried(x, y)) {
                        ADD_FAILURE() << where << describe("picture", p) << " shows ground at (" << x << ", " << y
                                      << ") where none is solid";
                        reported = true;
                    }
        }
    });
}

// A fall lands where the feet end a frame inside a floor's band below its surface, so the
// band must be deeper than one frame's fall. Gravity is added while a fall is slower than the
// limit, which lets the last addition take it one step past: a frame of the longest length
// falls less than (840 + g x 0.03) x 0.03 units, 27 at g = 2000. Lifts and crates count too:
// the hero lands on them.
TEST_F(LevelGeometryTest, EveryFloorCatchesAFallAtTheLongestFrame)
{
    const double frame = AppClock::maxStepMs / 1000.0;
    eachRoom([&](const std::string& where, const Map* map, const Ground& ground) {
        const double fall = frame * (GameConstants::maxFallSpeed + map->getGravity() * frame);
        for (const Barrier* f : map->getFloors()) {
            const double depth =
                std::min({f->getY1(), f->surfaceAt(f->getX1()), f->surfaceAt(f->getX2())}) - f->getY2();
            if (depth < fall - 1e-9 && ground.landable(f, map->getWidth()))
                ADD_FAILURE() << where << describe("floor", Ground::body(f)) << " is " << depth
                              << " deep below its surface; a frame's fall reaches " << fall;
        }
    });
}

// A door's picture stands on the floor under its middle: its foot, 30 above the door's
// position, on that floor's surface.
TEST_F(LevelGeometryTest, DoorsStandOnTheFloor)
{
    eachRoom([](const std::string& where, const Map* map, const Ground& ground) {
        for (const Door* d : map->getDoors()) {
            const double foot = d->getY() + Door::kPictureRise - Door::kPictureWidth / 2;
            bool stands = false;
            for (const Barrier* f : ground.floors)
                stands = stands || (f->getX1() <= d->getX() && d->getX() <= f->getX2() &&
                                    std::fabs(f->surfaceAt(d->getX()) - foot) <= kSlack);
            if (!stands)
                ADD_FAILURE() << where << "door at (" << d->getX() << ", " << d->getY() << ") has its foot at "
                              << foot << ", on no floor's surface";
        }
    });
}

// Where an actor goes: the boxes it fills on the way, one every few units. A walker patrols
// between its limits with its feet on the floor it walks, up and down a ramp or a step as it
// does in the game (it keeps to the floor nearest its feet). The room would stop it only once
// its centre met a wall, half its box inside, and a cart and the scientist pass through walls:
// so every path runs on to its limits. A drop starts every fall from its own point; every
// other actor stands, hangs or hovers where it is put.
struct Spot {
    double x;
    Box box;
};
std::vector<Spot> pathOf(const Character* c, const Ground& ground)
{
    const double half = (c->getRight() - c->getLeft()) / 2, height = c->getTop() - c->getBottom();
    double x = c->getX(), bottom = c->getBottom();
    if (const auto* drop = dynamic_cast<const Drop*>(c)) {
        x = drop->getStartX();
        bottom = drop->getStartY();
    }
    const auto* walker = dynamic_cast<const Walker*>(c);
    if (!walker) return {{x, {x - half, x + half, bottom, bottom + height}}};
    std::vector<Spot> path;
    for (const double way : {-1.0, 1.0}) {
        const double end = way < 0 ? walker->getLeftLimit() + half : walker->getRightLimit() - half;
        double feet = bottom;
        for (double at = x; (at - end) * way <= 0; at += way * kStep) {
            double nearest = 1e9;
            for (const Barrier* f : ground.floors)
                if (f->getX1() <= at && at <= f->getX2() && std::fabs(f->surfaceAt(at) - feet) <= kStepUp &&
                    std::fabs(f->surfaceAt(at) - feet) < std::fabs(nearest - feet))
                    nearest = f->surfaceAt(at);
            // It starts where it is put, however deep; a step takes it onto a floor.
            if (at != x && nearest < 1e9) feet = nearest;
            path.push_back({at, {at - half, at + half, feet, feet + height}});
        }
    }
    return path;
}

// No actor's box enters a wall, from the side or from above, anywhere on its way. Its feet
// stand on the floor under its centre, a few units deep at most; a floor beside it may reach
// into its box only as a ramp or a step it walks up, no higher than a step above its feet.
TEST_F(LevelGeometryTest, ActorsStandClearOfFloorsAndWalls)
{
    eachRoom([](const std::string& where, const Map* map, const Ground& ground) {
        for (const Character* c : map->getCharacters()) {
            // One report an actor: the first spot of its path that is inside the ground.
            std::string fault;
            for (const Spot& at : pathOf(c, ground)) {
                for (const Barrier* w : ground.walls)
                    if (fault.empty() && at.box.overlaps(Ground::body(w)))
                        fault = describe(" filling", at.box) + describe(", inside wall", Ground::body(w));
                for (const Barrier* f : ground.floors) {
                    // The floor's body up to its lower surface at the box's sides: a ramp met at
                    // its foot rises into the box of whoever stands on it.
                    const double left = f->surfaceAt(std::max(f->getX1(), at.box.left)),
                                 right = f->surfaceAt(std::min(f->getX2(), at.box.right));
                    const Box under{f->getX1(), f->getX2(), f->getY2(), std::min({f->getY1(), left, right})};
                    const bool centred = f->getX1() <= at.x && at.x <= f->getX2();
                    const double rise = (centred ? f->surfaceAt(at.x) : std::max(left, right)) - at.box.bottom;
                    if (fault.empty() && at.box.overlaps(under) && rise > (centred ? kSlack : kStepUp))
                        fault = describe(" filling", at.box) + describe(", inside floor", Ground::body(f));
                }
            }
            if (!fault.empty()) ADD_FAILURE() << where << CharacterRegistry::find(c->getType())->name << fault;
        }
    });
}

}  // namespace
