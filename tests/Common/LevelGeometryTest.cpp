#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/Barrier.h"
#include "Common/Layer.h"
#include "Common/Level.h"
#include "Common/LevelOwner.h"
#include "Common/Map.h"
#include "Kovo/Character.h"
#include "Kovo/CharacterType.h"
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
        for (const auto* list : {&map->getBackgroundObjects(), &map->getForegroundObjects()})
            for (const GphRect* rect : *list) {
                const double x = rect->getCoord()->getX(), y = rect->getCoord()->getY();
                const Box box{x - rect->getHalfLength(), x + rect->getHalfLength(), y - rect->getHalfWidth(),
                              y + rect->getHalfWidth()};
                // A picture clear of every barrier is a building or a distant wall, not ground.
                if (!overBarrier(box)) continue;
                const GphTexture* t = rect->getAnimatedTexture()->getCurrentTexture();
                (t && t->getMode() == GL_DECAL ? pictures : dressing).push_back(box);
            }
        dressing.insert(dressing.end(), pictures.begin(), pictures.end());
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
};

// Rule for drawn ground: every point of a floor's body (its rectangle up to its surface) and
// of a wall's is covered by an opaque ground picture, and every point of such a picture lies
// in a floor or wall, or is buried under a floor with nothing to stand on below it. Both are
// sampled 5 units inside the edges, which is the slack the eye allows.
class LevelGeometryTest : public leveltest::LevelFixture {
protected:
    QuietOwner _owner;
};

TEST_F(LevelGeometryTest, GroundIsDrawnExactlyWhereItIsSolid)
{
    const std::vector<std::string> files = levelFiles();
    EXPECT_EQ(30u, files.size());
    for (const std::string& file : files) {
        Level level(_app.get(), &_owner, _player.get());
        ASSERT_EQ(0, level.read(file, true, false)) << file;
        for (const auto& entry : level.getMaps()) {
            const Map* map = entry.second;
            const Ground ground(map);
            const std::string where = file + " room " + std::to_string(entry.first) + ": ";
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
                            ADD_FAILURE() << where << describe("picture", p) << " shows ground at (" << x << ", "
                                          << y << ") where none is solid";
                            reported = true;
                        }
            }
        }
    }
}


// Where an actor goes: the boxes it fills on the way, one every few units. A walker patrols
// between its limits with its feet on the floor it walks, up and down a ramp or a step as it
// does in the game (it keeps to the floor nearest its feet); the room stops it with its centre
// on the edge of a wall across its path, as it stops the hero, while a cart and the scientist
// roll and walk on through walls to their limits. A drop starts every fall from its own
// point; every other actor stands, hangs or hovers where it is put.
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
    const bool throughWalls = c->getType() == CharacterTypeCart || c->getType() == CharacterTypeEgo1;
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
            if (nearest < 1e9) feet = nearest;
            const Spot spot{at, {at - half, at + half, feet, feet + height}};
            bool stopped = false;
            for (const Barrier* w : ground.walls)
                stopped = stopped || (!throughWalls && w->getX1() < at && at < w->getX2() &&
                                      w->getY2() < spot.box.top && spot.box.bottom < w->getY1());
            if (stopped) break;
            path.push_back(spot);
        }
    }
    return path;
}

TEST_F(LevelGeometryTest, ActorsStandClearOfFloorsAndWalls)
{
    for (const std::string& file : levelFiles()) {
        Level level(_app.get(), &_owner, _player.get());
        ASSERT_EQ(0, level.read(file, true, false)) << file;
        for (const auto& entry : level.getMaps()) {
            const Ground ground(entry.second);
            for (const Character* c : entry.second->getCharacters()) {
                // One report an actor: the first spot of its path that is inside the ground.
                std::string fault;
                for (const Spot& at : pathOf(c, ground)) {
                    for (const Barrier* w : ground.walls)
                        if (fault.empty() && w->getX1() < at.x && at.x < w->getX2() &&
                            w->getY2() + 1 < at.box.top && at.box.bottom + 1 < w->getY1())
                            fault = describe(" filling", at.box) + describe(", inside wall", Ground::body(w));
                    for (const Barrier* f : ground.floors) {
                        // The top of a block belongs to its wall; a slope is met at its low end.
                        bool block = false;
                        for (const Barrier* w : ground.walls)
                            block = block || (w->getX1() <= f->getX1() && f->getX2() <= w->getX2() &&
                                              Ground::body(w).holds(f->getX1(), f->getY1()));
                        const Box under{f->getX1(), f->getX2(), f->getY2(),
                                        std::min(f->getY1(), std::min(f->surfaceAt(std::max(f->getX1(), at.box.left)),
                                                                      f->surfaceAt(std::min(f->getX2(), at.box.right))))};
                        // A floor a step above its feet is one it walks onto, up a ramp or a step.
                        const bool walked = std::max(f->surfaceAt(std::max(f->getX1(), at.box.left)),
                                                     f->surfaceAt(std::min(f->getX2(), at.box.right))) <=
                                            at.box.bottom + kStepUp;
                        if (fault.empty() && !block && !walked && at.box.overlaps(under))
                            fault = describe(" filling", at.box) + describe(", inside floor", Ground::body(f));
                    }
                }
                EXPECT_EQ("", fault) << file << " room " << entry.first << ": actor " << c->getType();
            }
        }
    }
}

}  // namespace
