#include <gtest/gtest.h>

#include <GL/gl.h>

#include <sstream>
#include <string>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "GphDrawTestSupport.h"
#include "support/Files.h"

namespace {

// A frame without a picture: enough to count and step frames, no OpenGL involved.
GphTexture* blankFrame()
{
    return new GphTexture(nullptr, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, GL_MODULATE);
}

GphAnimatedTexture* blankAnimation(unsigned frames, unsigned period)
{
    GphAnimatedTexture* a = new GphAnimatedTexture();
    for (unsigned i = 0; i < frames; ++i) a->addFrame(blankFrame());
    a->setMillisecondsPerFrame(period);
    return a;
}

}  // namespace

TEST(GphAnimatedTextureAdvance, StepsOneFrameWhenThePeriodIsReached)
{
    GphAnimatedTexture* a = blankAnimation(3, 100);
    a->update(60);
    EXPECT_EQ(0u, a->getCurrentFrame());
    EXPECT_EQ(60u, a->getTick());
    a->update(60);
    EXPECT_EQ(1u, a->getCurrentFrame());
    EXPECT_EQ(20u, a->getTick());
    delete a;
}

TEST(GphAnimatedTextureAdvance, AtMostOneFramePerCallAndWrapsAtTheCount)
{
    GphAnimatedTexture* a = blankAnimation(3, 100);
    a->setCurrentFrame(2);
    a->update(250);
    EXPECT_EQ(0u, a->getCurrentFrame());
    EXPECT_EQ(150u, a->getTick());
    a->update(0);
    EXPECT_EQ(1u, a->getCurrentFrame());
    EXPECT_EQ(50u, a->getTick());
    a->update(0);
    EXPECT_EQ(1u, a->getCurrentFrame());
    delete a;
}

TEST(GphAnimatedTextureAdvance, PeriodOfOneStepsEveryMillisecond)
{
    GphAnimatedTexture* a = blankAnimation(4, 1);
    for (unsigned expected : {1u, 2u, 3u, 0u, 1u}) {
        a->update(1);
        EXPECT_EQ(expected, a->getCurrentFrame());
        EXPECT_EQ(0u, a->getTick());
    }
    delete a;
}

TEST(GphAnimatedTextureAdvance, DefaultIsOneMillisecondPerFrame)
{
    GphAnimatedTexture a;
    EXPECT_EQ(1u, a.getMillisecondsPerFrame());
    EXPECT_EQ(0u, a.getCurrentFrame());
    EXPECT_EQ(0u, a.getFrameCount());
    a.update(5);  // no frames: stays at 0
    EXPECT_EQ(0u, a.getCurrentFrame());
}

TEST(GphAnimatedTextureAdvance, MissingAnimationIsLeftAlone)
{
    GphAnimatedTexture::advance(nullptr, 100);
    GphAnimatedTexture* a = blankAnimation(2, 10);
    GphAnimatedTexture::advance(a, 10);
    EXPECT_EQ(1u, a->getCurrentFrame());
    delete a;
}

TEST(GphAnimatedTextureFrames, SelectingClampsToTheLastFrameAndRestartsTheTick)
{
    GphAnimatedTexture* a = blankAnimation(3, 100);
    a->update(50);
    a->setCurrentFrame(3);
    EXPECT_EQ(2u, a->getCurrentFrame());
    EXPECT_EQ(0u, a->getTick());
    a->update(50);
    a->setCurrentFrame(2);
    EXPECT_EQ(2u, a->getCurrentFrame());
    EXPECT_EQ(0u, a->getTick());
    a->setCurrentFrame(1);
    EXPECT_EQ(1u, a->getCurrentFrame());
    GphAnimatedTexture empty;
    empty.setCurrentFrame(4);
    EXPECT_EQ(0u, empty.getCurrentFrame());
    delete a;
}

TEST(GphAnimatedTextureFrames, SingleTextureOnlyWhileThereIsExactlyOneFrame)
{
    GphAnimatedTexture a;
    GphTexture* first = blankFrame();
    a.addFrame(first);
    a.setCurrentFrame(7);
    EXPECT_EQ(0u, a.getCurrentFrame());
    EXPECT_EQ(first, a.getCurrentTexture());
    GphTexture* second = blankFrame();
    a.addFrame(second);
    a.setCurrentFrame(1);
    EXPECT_EQ(second, a.getCurrentTexture());
    EXPECT_TRUE(a.containsFrame(first));
    EXPECT_EQ(2u, a.getFrames().size());
    a.clear();
    EXPECT_EQ(0u, a.getFrameCount());
    EXPECT_EQ(nullptr, a.getCurrentTexture());
}

TEST(GphAnimatedTextureFrames, RemovingKeepsTheNumberingWhole)
{
    GphAnimatedTexture a;
    GphTexture* f0 = blankFrame();
    GphTexture* f1 = blankFrame();
    GphTexture* f2 = blankFrame();
    a.addFrame(f0);
    a.addFrame(f1);
    a.addFrame(f2);
    a.removeFrame(f1);
    EXPECT_FALSE(a.containsFrame(f1));
    EXPECT_EQ(2u, a.getFrameCount());
    // The next frame must not take the place of a frame still there.
    GphTexture* f3 = blankFrame();
    a.addFrame(f3);
    EXPECT_EQ(f0, a.getFrames().at(0));
    EXPECT_EQ(f2, a.getFrames().at(1));
    EXPECT_EQ(f3, a.getFrames().at(2));
    a.removeFrame(f0);
    a.removeFrame(f3);
    // One frame left: it is shown whatever the frame number.
    a.setCurrentFrame(0);
    EXPECT_EQ(f2, a.getCurrentTexture());
    GphTexture* stranger = blankFrame();
    a.removeFrame(stranger);  // not a frame: nothing happens
    EXPECT_EQ(1u, a.getFrameCount());
    delete stranger;
}

TEST(GphAnimatedTextureFrames, WithoutFramesNothingIsFoundAndTheMissIsLogged)
{
    GphAnimatedTexture a;
    EXPECT_EQ(nullptr, a.getCurrentTexture());
    EXPECT_EQ(0u, a.getCurrentFrameWidth());
    EXPECT_TRUE(testsupport::logContains("ERROR!  Failed to find current frame!"));
    EXPECT_EQ(0u, a.getCurrentFrameHeight());
    a.bind();
    EXPECT_TRUE(testsupport::logContains("ERROR! Failed to find current frame!"));
}

TEST(GphAnimatedTextureText, UnknownTagAndEarlyEndFail)
{
    GphAnimatedTexture a;
    std::istringstream unknown("<CURRENT_FRAME> 2 </CURRENT_FRAME> <BOGUS> 1 </ANIMATED_TEXTURE>");
    EXPECT_EQ(-1, a.read(unknown));
    EXPECT_EQ(2u, a.getCurrentFrame());
    EXPECT_TRUE(testsupport::logContains("Unknown tag: <BOGUS>"));

    for (const char* text : {"", "<CURRENT_TICK> 5 </CURRENT_TICK>", "<MILLISECONDS_PER_FRAME> 40",
                             "<CURRENT_TICK>", "<MILLISECONDS_PER_FRAME> x </MILLISECONDS_PER_FRAME>"}) {
        GphAnimatedTexture b;
        std::istringstream in(text);
        EXPECT_EQ(-1, b.read(in)) << text;
    }
}

TEST(GphAnimatedTextureText, FailingFrameWriteCutsTheFramesButClosesTheBlock)
{
    // A frame without a picture cannot write its texture.
    GphAnimatedTexture* a = blankAnimation(2, 10);
    std::ostringstream out;
    EXPECT_EQ(-1, a->write(out));
    const std::string text = out.str();
    // The first frame is opened, fails, and nothing of the second follows.
    const size_t first = text.find("<FRAME>");
    ASSERT_NE(std::string::npos, first);
    EXPECT_EQ(std::string::npos, text.find("<FRAME>", first + 1));
    EXPECT_EQ(std::string::npos, text.find("</FRAME>"));
    EXPECT_EQ(text.size() - 20, text.rfind("</ANIMATED_TEXTURE>\n"));

    // The failure reaches the drawable that holds the look: its block stays open.
    GphRect r(1, 1, nullptr, a, GPH_RECT);
    std::ostringstream rect;
    EXPECT_EQ(-1, r.write(rect));
    EXPECT_EQ(std::string::npos, rect.str().find("</BASE_GRAPHIC>"));
    EXPECT_EQ(std::string::npos, rect.str().find("</RECT>"));
    delete a;
}

TEST(GphAnimatedTextureText, FrameNumberIsReadWithoutTheClamp)
{
    GphAnimatedTexture a;
    std::istringstream in(
        "<CURRENT_FRAME>\n5\n</CURRENT_FRAME>\n<MILLISECONDS_PER_FRAME>\n70\n</MILLISECONDS_PER_FRAME>\n"
        "<CURRENT_TICK>\n9\n</CURRENT_TICK>\n</ANIMATED_TEXTURE>\n");
    EXPECT_EQ(0, a.read(in));
    EXPECT_EQ(5u, a.getCurrentFrame());
    EXPECT_EQ(70u, a.getMillisecondsPerFrame());
    EXPECT_EQ(9u, a.getTick());
}

// Frames with pictures need the window's OpenGL context.
class GphAnimatedTextureGl : public ::testing::Test {
protected:
    static void TearDownTestSuite() { gphdraw::closeWindow(); }

    static void SetUpTestSuite()
    {
        gphdraw::writePicture("anim_frame_a.bmp", gphdraw::redTopBlueBottom());
        gphdraw::writePicture("anim_frame_b.bmp", imagefiles::Picture(32, 32, imagefiles::kBlue));
    }

    void SetUp() override
    {
        window = gphdraw::openWindow();
        ASSERT_NE(nullptr, window);
    }

    static GphTexture* frame(const char* name, GLenum mode = GL_MODULATE)
    {
        return new GphTexture(GphImage::load(name, true), GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, mode);
    }

    static GLint boundTexture()
    {
        GLint id = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &id);
        return id;
    }

    GphWindow* window = nullptr;
};

TEST_F(GphAnimatedTextureGl, SingleFrameIsBoundWhateverTheFrameNumber)
{
    GphAnimatedTexture a;
    GphTexture* t = frame("anim_frame_a.bmp");
    ASSERT_NE(0u, t->getId());
    a.addFrame(t);
    a.setCurrentFrame(7);
    EXPECT_EQ(0u, a.getCurrentFrame());
    GphAnimatedTexture other;
    other.addFrame(frame("anim_frame_b.bmp"));
    other.bind();
    ASSERT_NE(static_cast<GLint>(t->getId()), boundTexture());
    a.bind();
    EXPECT_EQ(static_cast<GLint>(t->getId()), boundTexture());
    EXPECT_EQ(64u, a.getCurrentFrameWidth());
    EXPECT_EQ(64u, a.getCurrentFrameHeight());
}

TEST_F(GphAnimatedTextureGl, BindsTheCurrentFrame)
{
    GphAnimatedTexture a;
    GphTexture* ta = frame("anim_frame_a.bmp");
    GphTexture* tb = frame("anim_frame_b.bmp");
    a.addFrame(ta);
    a.addFrame(tb);
    a.setMillisecondsPerFrame(30);
    a.bind();
    EXPECT_EQ(static_cast<GLint>(ta->getId()), boundTexture());
    a.update(30);
    a.bind();
    EXPECT_EQ(static_cast<GLint>(tb->getId()), boundTexture());
}

TEST_F(GphAnimatedTextureGl, WritesAndReadsBackItsFrames)
{
    GphAnimatedTexture a;
    a.addFrame(frame("anim_frame_a.bmp"));
    a.addFrame(frame("anim_frame_b.bmp", GL_DECAL));
    a.setMillisecondsPerFrame(120);
    a.update(130);
    std::stringstream text;
    EXPECT_EQ(0, a.write(text));
    std::string tag;
    text >> tag;
    ASSERT_EQ("<ANIMATED_TEXTURE>", tag);

    GphAnimatedTexture b;
    EXPECT_EQ(0, b.read(text));
    EXPECT_EQ(1u, b.getCurrentFrame());
    EXPECT_EQ(120u, b.getMillisecondsPerFrame());
    EXPECT_EQ(10u, b.getTick());
    ASSERT_EQ(2u, b.getFrameCount());
    GphTexture* fa = b.getFrames().at(0);
    GphTexture* fb = b.getFrames().at(1);
    EXPECT_EQ("anim_frame_a.bmp", fa->getImage()->getFileName());
    EXPECT_EQ("anim_frame_b.bmp", fb->getImage()->getFileName());
    EXPECT_EQ(static_cast<GLenum>(GL_DECAL), fb->getMode());
    EXPECT_EQ(a.getFrames().at(0)->getId(), fa->getId());
}

TEST_F(GphAnimatedTextureGl, FramesReadAfterThoseHeldAndAFailingFrameEndsTheRead)
{
    GphAnimatedTexture held;
    held.addFrame(frame("anim_frame_a.bmp"));
    std::stringstream text;
    held.write(text);
    std::string tag;
    text >> tag;
    GphAnimatedTexture b;
    b.addFrame(frame("anim_frame_b.bmp"));
    EXPECT_EQ(0, b.read(text));
    ASSERT_EQ(2u, b.getFrameCount());
    EXPECT_EQ("anim_frame_b.bmp", b.getFrames().at(0)->getImage()->getFileName());
    EXPECT_EQ("anim_frame_a.bmp", b.getFrames().at(1)->getImage()->getFileName());

    // A frame whose picture cannot be loaded is kept but fails the read.
    std::istringstream missing(
        "<FRAME> <TEXTURE> <MODE> 8448 </MODE> <IMAGE> <FILENAME> anim_missing.bmp </FILENAME> "
        "<TRANSPARENCY> 1 </TRANSPARENCY> </IMAGE> </TEXTURE> </FRAME> </ANIMATED_TEXTURE>");
    GphAnimatedTexture c;
    EXPECT_EQ(-1, c.read(missing));
    EXPECT_EQ(1u, c.getFrameCount());
}

TEST_F(GphAnimatedTextureGl, CopyHasItsOwnFramesOfTheSamePictures)
{
    GphAnimatedTexture* a = new GphAnimatedTexture();
    a->addFrame(frame("anim_frame_a.bmp"));
    a->addFrame(frame("anim_frame_b.bmp"));
    a->setMillisecondsPerFrame(25);
    a->setCurrentFrame(1);
    GphAnimatedTexture copy(*a);
    EXPECT_EQ(2u, copy.getFrameCount());
    EXPECT_EQ(1u, copy.getCurrentFrame());
    EXPECT_EQ(25u, copy.getMillisecondsPerFrame());
    EXPECT_NE(a->getFrames().at(0), copy.getFrames().at(0));
    EXPECT_EQ(a->getFrames().at(0)->getId(), copy.getFrames().at(0)->getId());
    const GLuint id = copy.getFrames().at(1)->getId();
    delete a;
    // The shared OpenGL texture lives on with the copy.
    EXPECT_TRUE(glIsTexture(id));
}
