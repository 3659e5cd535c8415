#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "KovoHarness.h"
#include "Kovo/Character.h"

namespace {

// A small actor as the concrete ones are built: base constructor, its own anchor, its
// animations, its drawable; its picture is wider than high, set after sizing the sprite.
// Pictures for standing, moving and stunned; none for the other states.
class TestActor : public Character {
public:
    TestActor(CharacterState state, bool facingLeft, double x = 100, double y = 40)
        : Character(nullptr, nullptr, CharacterTypeGoat, 10, 15, 4, true, false, 3, 210, 105,
                    300, 400, 1, 7, state, facingLeft, true)
    {
        setAnchor(8);
        buildAnimations();
        makeDrawable(x, y, GameConstants::zCharacter, 120, 60);
        setSize(120, 60);
        _drawable->setLength(160);
        _drawable->setWidth(120);
    }

    void buildAnimations() override
    {
        addAnimation(CharacterStateStandLeft, {"kovo_faceleft.pcx"});
        addAnimation(CharacterStateStandRight, {"kovo_faceright.pcx"});
        addAnimation(CharacterStateMoveLeft, {"kovo_runleft1.pcx", "kovo_runleft2.pcx"}, 40);
        addAnimation(CharacterStateMoveRight, {"kovo_runright1.pcx", "kovo_runright2.pcx"}, 40);
        addAnimation(CharacterStateStunnedLeft, {"kovo_dyingleft.pcx"});
        addAnimation(CharacterStateStunnedRight, {"kovo_dyingright.pcx"});
    }

    GphAnimatedTexture* animationOf(CharacterState state) const { return findAnimation(state); }
    GphAnimatedTexture* shown() const { return _drawable->getAnimatedTexture(); }
    void show() { showStateAnimation(); }

    // A second asleep facing left (41) or right (42) with Z pictures placed from an edge
    // (0 left, 1 centre, 2 right) and `across`, 50 up: the new picture's centre.
    ShpCoord sleepZ(bool left, int from, double across)
    {
        _state = left ? CharacterStateAsleepLeft : CharacterStateAsleepRight;
        sleep(1000, {static_cast<SleepZSpot::From>(from), across, 50});
        return *getSleepZList().getPictures().back()->getCoord();
    }
};

using kovotest::restore;
using kovotest::saved;

}  // namespace

TEST(Character, ConstructorStoresItsArgumentsAndCarriesNothing)
{
    TestActor actor(CharacterStateMoveRight, false);
    EXPECT_EQ(CharacterTypeGoat, actor.getType());
    EXPECT_EQ(nullptr, actor.getMap());
    EXPECT_EQ(nullptr, actor.getPlayer());
    EXPECT_TRUE(actor.isHarmful());
    EXPECT_FALSE(actor.isGasImmune());
    EXPECT_TRUE(actor.ignoresGasCloud());
    EXPECT_EQ(3, actor.getHitPoints());
    EXPECT_DOUBLE_EQ(210, actor.getPushSpeed());
    EXPECT_DOUBLE_EQ(105, actor.getSpeed());
    EXPECT_DOUBLE_EQ(300, actor.getAlarmRange());
    EXPECT_DOUBLE_EQ(400, actor.getSightRange());
    EXPECT_EQ(1, actor.getIdleTurn());
    EXPECT_EQ(7, actor.getReserved());
    EXPECT_EQ(7, actor.getState());
    EXPECT_EQ(7, actor.getStartState());
    EXPECT_TRUE(actor.isFacingRight());
    EXPECT_EQ(-1, actor.getCarriedItem());
    EXPECT_TRUE(actor.isVisible());

    // Drawn from its start state's animation, placed by its bottom-middle anchor.
    GphRect* drawable = actor.getDrawable();
    ASSERT_NE(nullptr, drawable);
    EXPECT_EQ(drawable, actor.getGraphic());
    EXPECT_EQ(actor.animationOf(7), drawable->getAnimatedTexture());
    EXPECT_EQ(8, actor.getAnchor());
    EXPECT_DOUBLE_EQ(100, drawable->getCoord()->getX());
    EXPECT_DOUBLE_EQ(100, drawable->getCoord()->getY());
    EXPECT_DOUBLE_EQ(GameConstants::zCharacter, drawable->getCoord()->getZ());
    double sx, sy, sz;
    actor.getStartPosition(sx, sy, sz);
    EXPECT_DOUBLE_EQ(100, sx);
    EXPECT_DOUBLE_EQ(40, sy);
}

TEST(Character, AnchorArgumentIsAppliedByTheBase)
{
    class Bare : public Character {
    public:
        Bare()
            : Character(nullptr, nullptr, CharacterTypeBird, 0, 0, 4, false, false, 1, 0, 0, 0, 0,
                        0, 0, CharacterStateFlyLeft, true, false)
        {
        }
        void buildAnimations() override {}
    } bare;
    EXPECT_EQ(4, bare.getAnchor());
    EXPECT_EQ(nullptr, bare.getDrawable());
    bare.resetState();  // no drawable, no animation: only the state changes
    EXPECT_EQ(22, bare.getState());
    EXPECT_EQ(nullptr, bare.react());
    bare.think(16, 0.016);
    bare.drawEffects();
}

TEST(Character, StartStateWithoutAPictureLeavesTheDrawableBlank)
{
    TestActor actor(CharacterStateSneakLeft, true);
    EXPECT_EQ(nullptr, actor.getDrawable()->getAnimatedTexture());
}

TEST(Character, CollisionBoxIsTheSpriteBoxNarrowedByTheInsets)
{
    TestActor actor(CharacterStateStandLeft, true);  // at (100, 40), 120 high, 60 wide
    EXPECT_DOUBLE_EQ(70 + 10, actor.getCollisionLeft());
    EXPECT_DOUBLE_EQ(130 - 10, actor.getCollisionRight());
    EXPECT_DOUBLE_EQ(160 - 15, actor.getCollisionTop());
    EXPECT_DOUBLE_EQ(40, actor.getBottom());
}

TEST(Character, StunAndBonkFollowTheFacingAndLeaveThePicture)
{
    TestActor actor(CharacterStateStandLeft, true);
    GphAnimatedTexture* before = actor.shown();
    actor.stun();
    EXPECT_EQ(39, actor.getState());
    EXPECT_EQ(before, actor.shown());
    actor.faceRight();
    actor.stun();
    EXPECT_EQ(40, actor.getState());
    actor.bonk();
    EXPECT_EQ(33, actor.getState());
    actor.faceLeft();
    actor.bonk();
    EXPECT_EQ(32, actor.getState());
    EXPECT_EQ(before, actor.shown());
}

TEST(Character, IncapacitatedAndAsleepStates)
{
    TestActor actor(CharacterStateStandLeft, true);
    const std::vector<int> incapacitated = {12, 13, 32, 33, 39, 40, 55, 56, 57, 58};
    for (int state = 0; state <= 64; ++state) {
        actor.setState(state);
        bool expected = false;
        for (int s : incapacitated) expected = expected || s == state;
        EXPECT_EQ(expected, actor.isIncapacitated()) << state;
        EXPECT_EQ(state == 41 || state == 42, actor.isAsleep()) << state;
    }
}

TEST(Character, FallingAsleepTurnsByTheKnockOutAndSinksBehind)
{
    const std::vector<std::pair<int, int>> cases = {
        {39, 41}, {32, 41}, {55, 41}, {57, 41}, {12, 41},
        {40, 42}, {33, 42}, {56, 42}, {58, 42}, {13, 42}, {1, 42}, {6, 42}, {0, 42}};
    for (const auto& c : cases) {
        TestActor actor(CharacterStateStandLeft, true);
        actor.setState(c.first);
        GphAnimatedTexture* before = actor.shown();
        actor.fallAsleep();
        EXPECT_EQ(c.second, actor.getState()) << "from " << c.first;
        EXPECT_EQ(0, actor.getHitPoints());
        EXPECT_DOUBLE_EQ(39, actor.getY());
        EXPECT_DOUBLE_EQ(GameConstants::zBackCharacter, actor.getZ());
        EXPECT_DOUBLE_EQ(GameConstants::zBackCharacter, actor.getDrawable()->getCoord()->getZ());
        EXPECT_DOUBLE_EQ(99, actor.getDrawable()->getCoord()->getY());
        EXPECT_EQ(before, actor.shown()) << "the think shows the sleep picture";
        EXPECT_TRUE(actor.isAsleep());
        EXPECT_FALSE(actor.isIncapacitated());
    }
}

TEST(Character, ResetStateTurnsTheStartPairToTheFacing)
{
    const std::vector<std::pair<int, int>> pairs = {{1, 2}, {3, 4}, {6, 7}, {10, 11}, {14, 15},
                                                    {22, 23}};
    for (const auto& pair : pairs) {
        for (int start : {pair.first, pair.second}) {
            TestActor actor(start, false);
            actor.setState(40);
            actor.faceLeft();
            actor.resetState();
            EXPECT_EQ(pair.first, actor.getState()) << "start " << start;
            actor.faceRight();
            actor.resetState();
            EXPECT_EQ(pair.second, actor.getState()) << "start " << start;
        }
    }
}

TEST(Character, ResetStateShowsTheStateItReaches)
{
    TestActor actor(CharacterStateStandRight, false);
    actor.stun();
    actor.show();
    EXPECT_EQ(actor.animationOf(40), actor.shown());
    actor.faceLeft();
    actor.resetState();
    EXPECT_EQ(1, actor.getState());
    EXPECT_EQ(actor.animationOf(1), actor.shown());
}

TEST(Character, ResetStateKeepsTheStateForStartsOutsideThePairs)
{
    for (int start : {0, 12, 39}) {
        TestActor actor(start, true);
        actor.setState(CharacterStateMoveLeft);
        actor.resetState();
        EXPECT_EQ(6, actor.getState()) << "start " << start;
        EXPECT_EQ(actor.animationOf(6), actor.shown()) << "the kept state is shown";
    }
}

TEST(Character, ShowingAStateWithoutAPictureKeepsTheCurrentOneAndItsFrame)
{
    TestActor actor(CharacterStateMoveLeft, true);
    GphAnimatedTexture* run = actor.animationOf(6);
    run->setCurrentFrame(1);
    actor.setState(CharacterStateAsleepLeft);
    actor.show();
    EXPECT_EQ(run, actor.shown());
    actor.setState(CharacterStateMoveLeft);
    actor.show();
    EXPECT_EQ(1u, run->getCurrentFrame()) << "showing does not restart";
}



TEST(Character, HitPointsAndCarriedItem)
{
    TestActor actor(CharacterStateStandLeft, true);
    actor.addHitPoints(-1);
    actor.addHitPoints(-1);
    EXPECT_EQ(1, actor.getHitPoints());
    actor.addHitPoints(-2);
    EXPECT_EQ(-1, actor.getHitPoints());
    actor.setHitPoints(4);
    EXPECT_EQ(4, actor.getHitPoints());
    actor.setCarriedItem(7);
    EXPECT_EQ(7, actor.getCarriedItem());

    actor.setHarmful(false);
    actor.setGasImmune(true);
    actor.setSightRange(50);
    actor.setAlarmRange(60);
    actor.setSpeed(70);
    actor.setPushSpeed(80);
    EXPECT_FALSE(actor.isHarmful());
    EXPECT_TRUE(actor.isGasImmune());
    EXPECT_DOUBLE_EQ(50, actor.getSightRange());
    EXPECT_DOUBLE_EQ(60, actor.getAlarmRange());
    EXPECT_DOUBLE_EQ(70, actor.getSpeed());
    EXPECT_DOUBLE_EQ(80, actor.getPushSpeed());
}

TEST(Character, SavedBlockReadsBackAndWritesTheSameText)
{
    TestActor actor(CharacterStateMoveRight, false);
    actor.move(25.5, 0, 0);
    actor.faceLeft();
    actor.stun();
    actor.addHitPoints(-3);
    actor.hide();
    const std::string text = saved(actor);
    EXPECT_EQ("<CHARACTER> 0 1 7 39 1 <SPRITE> 125.5 40 -41 120 60 0 </SPRITE>\n</CHARACTER>\n",
              text);

    TestActor copy(CharacterStateStandRight, false, 0, 0);
    std::istringstream in(text + "</GOAT>");
    std::string tag;
    in >> tag;
    ASSERT_EQ(0, copy.readState(in));
    in >> tag;
    EXPECT_EQ("</GOAT>", tag) << "the block is read up to its closing tag";
    EXPECT_EQ(text, saved(copy));
    EXPECT_EQ(39, copy.getState());
    EXPECT_EQ(2, copy.getStartState()) << "the start state is the constructor's";
    EXPECT_TRUE(copy.isFacingLeft());
    EXPECT_EQ(0, copy.getHitPoints());
    EXPECT_FALSE(copy.isVisible());
    EXPECT_DOUBLE_EQ(125.5, copy.getX());
    EXPECT_EQ(copy.animationOf(39), copy.shown()) << "the state read is shown";
    // The picture keeps its own shape; the base read alone would make it 120 square.
    EXPECT_DOUBLE_EQ(160, copy.getDrawable()->getLength());
    EXPECT_DOUBLE_EQ(120, copy.getDrawable()->getWidth());
    EXPECT_DOUBLE_EQ(125.5, copy.getDrawable()->getCoord()->getX());
    EXPECT_DOUBLE_EQ(100, copy.getDrawable()->getCoord()->getY());
}


TEST(Character, EveryTruncatedBlockFailsAndLeavesTheActorAsItWas)
{
    TestActor actor(CharacterStateMoveRight, false, 640, 80);
    actor.stun();
    actor.addHitPoints(-1);
    const std::string text = saved(actor);
    const size_t spriteLineEnd = text.find("</SPRITE>");
    for (const std::string& cut : kovotest::truncations(text)) {
        TestActor copy(CharacterStateStandLeft, true);
        EXPECT_NE(0, restore(copy, cut)) << '"' << cut << '"';
        if (cut.size() <= spriteLineEnd) {
            EXPECT_EQ(3, copy.getHitPoints()) << cut;
            EXPECT_EQ(1, copy.getState()) << cut;
            EXPECT_TRUE(copy.isFacingLeft()) << cut;
            EXPECT_EQ(1, copy.getIdleTurn()) << cut;
            EXPECT_EQ(7, copy.getReserved()) << cut;
            EXPECT_DOUBLE_EQ(100, copy.getX()) << cut;
            EXPECT_EQ(copy.animationOf(1), copy.shown()) << cut;
            EXPECT_DOUBLE_EQ(160, copy.getDrawable()->getLength()) << cut;
        }
    }
}

TEST(Character, CorruptValuesFail)
{
    for (const std::string bad :
         {"<CHARACTER> x 1 7 39 1 <SPRITE> 1 2 -41 120 60 1 </SPRITE>\n</CHARACTER>\n",
          "<CHARACTER> 3 1 7 39 2 <SPRITE> 1 2 -41 120 60 1 </SPRITE>\n</CHARACTER>\n",
          "<CHARACTER> 3 1 7 39 1 <SPRITE> 1 2 -41 high 60 1 </SPRITE>\n</CHARACTER>\n"}) {
        TestActor copy(CharacterStateStandLeft, true);
        EXPECT_EQ(-1, restore(copy, bad)) << bad;
        EXPECT_EQ(3, copy.getHitPoints());
        EXPECT_EQ(1, copy.getState());
        EXPECT_DOUBLE_EQ(100, copy.getX());
    }
}

TEST(Character, SleepZPicturesAppearBesideTheHeadMirroredForEachFacing)
{
    // At x 100 and 60 wide: edges 70 and 130.
    const struct {
        int from;
        double across;
        double left;
        double right;
    } cases[] = {{0, -20, 50, 150}, {1, -30, 70, 130}, {2, -25, 105, 95}};
    for (const auto& c : cases) {
        TestActor actor(CharacterStateStandLeft, true);
        EXPECT_EQ(ShpCoord(c.left, 90, GameConstants::zCharacterEffect),
                  actor.sleepZ(true, c.from, c.across))
            << c.from;
        EXPECT_EQ(ShpCoord(c.right, 90, GameConstants::zCharacterEffect),
                  actor.sleepZ(false, c.from, c.across))
            << c.from;
        EXPECT_EQ(2u, actor.getSleepZList().size());
    }
}
