#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Common/CutScene.h"
#include "Kovo/Hint.h"
#include "LevelTestWindow.h"
#include "support/Files.h"

namespace {

int readBody(CutScene& scene, const std::string& body)
{
    std::istringstream in(body);
    return scene.read(in);
}

const char* const kThreePanels =
    "<DIALOGUE> intro1.pcx 400 350 </DIALOGUE>\n"
    "<DIALOGUE> intro2.pcx -20 1000 </DIALOGUE>\n"
    "<DIALOGUE> intro3.pcx 0 0 </DIALOGUE>\n"
    "</CUTSCENE>";

}  // namespace

TEST(CutScene, EntriesComeOneByOneInFileOrderThenDone)
{
    CutScene scene;
    std::istringstream in(std::string(kThreePanels) + " <NEXT>");
    ASSERT_EQ(0, scene.read(in));
    std::string next;
    in >> next;
    EXPECT_EQ("<NEXT>", next);

    std::string text;
    int x = 0, y = 0;
    ASSERT_TRUE(scene.takeNext(text, x, y));
    EXPECT_EQ("intro1.pcx", text);
    EXPECT_EQ(400, x);
    EXPECT_EQ(350, y);
    ASSERT_TRUE(scene.takeNext(text, x, y));
    EXPECT_EQ("intro2.pcx", text);
    EXPECT_EQ(-20, x);
    EXPECT_EQ(1000, y);
    ASSERT_TRUE(scene.takeNext(text, x, y));
    EXPECT_EQ("intro3.pcx", text);
    // Taking the last entry does not end the scene yet: the next ask does, for good.
    EXPECT_FALSE(scene.isDone());
    EXPECT_FALSE(scene.takeNext(text, x, y));
    EXPECT_TRUE(scene.isDone());
    EXPECT_FALSE(scene.takeNext(text, x, y));

    // Without dialogues the first ask ends it.
    CutScene empty;
    ASSERT_EQ(0, readBody(empty, "</CUTSCENE>"));
    EXPECT_FALSE(empty.takeNext(text, x, y));
    EXPECT_TRUE(empty.isDone());
}

TEST(CutScene, SavedDoneFlagIsOneLineAndARestoredDoneSceneDropsItsEntries)
{
    CutScene scene;
    std::ostringstream fresh;
    EXPECT_EQ(0, scene.writeState(fresh));
    EXPECT_EQ("<CUTSCENE> 0 </CUTSCENE>\n", fresh.str());

    std::string text;
    int x, y;
    scene.takeNext(text, x, y);
    std::stringstream saved;
    scene.writeState(saved);
    EXPECT_EQ("<CUTSCENE> 1 </CUTSCENE>\n", saved.str());

    std::string tag;
    saved >> tag;
    CutScene seen;
    ASSERT_EQ(0, readBody(seen, kThreePanels));
    ASSERT_EQ(0, seen.readState(saved));
    EXPECT_TRUE(seen.isDone());
    EXPECT_EQ(0u, seen.getEntryCount());

    // Not done: the whole scene plays again from its first entry.
    CutScene unseen;
    ASSERT_EQ(0, readBody(unseen, kThreePanels));
    std::istringstream openState("0 </CUTSCENE>");
    ASSERT_EQ(0, unseen.readState(openState));
    EXPECT_FALSE(unseen.isDone());
    ASSERT_TRUE(unseen.takeNext(text, x, y));
    EXPECT_EQ("intro1.pcx", text);
}

TEST(CutScene, UnknownTagsBadValuesAndCutShortBlocksFail)
{
    CutScene unknown;
    EXPECT_EQ(-1, readBody(unknown, "<DIALOGUE> a.pcx 1 2 </DIALOGUE> <MONOLOGUE> b.pcx 1 2 </MONOLOGUE> </CUTSCENE>"));
    EXPECT_TRUE(testsupport::logContains("Unknown tag: <MONOLOGUE>"));
    CutScene badX;
    EXPECT_EQ(-1, readBody(badX, "<DIALOGUE> a.pcx left 2 </DIALOGUE> </CUTSCENE>"));

    const auto all = leveltest::tokens(kThreePanels);
    for (size_t n = 0; n < all.size(); ++n) {
        CutScene scene;
        EXPECT_EQ(-1, readBody(scene, leveltest::prefix(all, n))) << "after " << n << " tokens";
    }

    for (const char* state : {"", "1", "yes </CUTSCENE>"}) {
        CutScene scene;
        std::istringstream in(state);
        EXPECT_EQ(-1, scene.readState(in)) << state;
        EXPECT_FALSE(scene.isDone());
    }
}

TEST(CutScene, EachAskYieldsTheNextPanelAsACollectedAllButInvisibleHint)
{
    ASSERT_NE(nullptr, leveltest::openWindow());
    leveltest::writeBmp("cutscene_panel1.bmp", 255, 0, 0);
    leveltest::writeBmp("cutscene_panel2.bmp", 0, 0, 255);
    auto panelFile = [](Hint* hint) -> std::string {
        GphAnimatedTexture* a = hint->getPanel() ? hint->getPanel()->getAnimatedTexture() : nullptr;
        GphTexture* t = a ? a->getCurrentTexture() : nullptr;
        return t && t->getImage() ? t->getImage()->getFileName() : "";
    };

    CutScene scene;
    ASSERT_EQ(0, readBody(scene, "<DIALOGUE> cutscene_panel1.bmp 400 350 </DIALOGUE> "
                                 "<DIALOGUE> cutscene_panel2.bmp 120 -40 </DIALOGUE> </CUTSCENE>"));
    int x = 0, y = 0;
    Hint* first = scene.next(x, y);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(400, x);
    EXPECT_EQ(350, y);
    EXPECT_EQ(ItemTypeHint, first->getType());
    EXPECT_EQ("cutscene_panel1.bmp", panelFile(first));
    EXPECT_EQ("", first->getObjectiveImage());
    EXPECT_EQ(400, first->getX());
    EXPECT_EQ(350, first->getY());
    EXPECT_TRUE(first->isCollected());
    EXPECT_FLOAT_EQ(0.02f, first->getAlpha());
    EXPECT_FALSE(first->isShown());
    EXPECT_EQ(nullptr, first->getSound());

    Hint* second = scene.next(x, y);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(120, x);
    EXPECT_EQ(-40, y);
    EXPECT_EQ("cutscene_panel2.bmp", panelFile(second));
    EXPECT_FALSE(scene.isDone());

    EXPECT_EQ(nullptr, scene.next(x, y));
    EXPECT_TRUE(scene.isDone());
    delete first;
    delete second;
}
