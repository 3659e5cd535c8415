#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "DatagenRun.h"
#include "support/Files.h"

using datagentest::le16;
using datagentest::le32;
using Bytes = std::vector<unsigned char>;

namespace {

struct OggSummary {
    int pages = 0;
    bool endsWithEos = false;
    std::uint64_t lastGranule = 0;
    bool wholeFileIsPages = false;
};

// Walks the pages of an Ogg file: each begins with "OggS", its length follows from its segment
// table, and the last one carries the end-of-stream flag and the sample count.
OggSummary walkPages(const Bytes& file)
{
    OggSummary s;
    size_t at = 0;
    while (at + 27 <= file.size() && std::string(file.begin() + at, file.begin() + at + 4) == "OggS") {
        size_t segments = file[at + 26];
        size_t size = 27 + segments;
        for (size_t i = 0; i < segments; ++i)
            size += file.at(at + 27 + i);
        s.endsWithEos = (file[at + 5] & 4) != 0;
        s.lastGranule = le32(file, at + 6) | static_cast<std::uint64_t>(le32(file, at + 10)) << 32;
        ++s.pages;
        at += size;
    }
    s.wholeFileIsPages = at == file.size();
    return s;
}

class DatagenSounds : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = datagentest::freshFolder("sounds");
        result_ = datagentest::runGenerator(folder_, {"wav beep.wav 500\n"
                                                      "wav tick.wav 3\n"
                                                      "ogg tune.ogg 1.5 stereo\n"
                                                      "ogg hum.ogg 1 mono\n"});
    }

    void SetUp() override { ASSERT_EQ(0, result_.exitCode) << result_.err; }

    static Bytes file(const std::string& name) { return testsupport::readFile(folder_ + "/out/" + name); }

    static std::string folder_;
    static datagentest::RunResult result_;
};

std::string DatagenSounds::folder_;
datagentest::RunResult DatagenSounds::result_;

}  // namespace

TEST_F(DatagenSounds, WavIsMono16BitPcmOfTheGivenLength)
{
    Bytes wav = file("beep.wav");
    ASSERT_EQ(44u + 22050u, wav.size());  // 500 ms at 22050 Hz, 2 bytes a sample
    EXPECT_EQ("RIFF", std::string(wav.begin(), wav.begin() + 4));
    EXPECT_EQ(wav.size() - 8, le32(wav, 4));
    EXPECT_EQ("WAVEfmt ", std::string(wav.begin() + 8, wav.begin() + 16));
    EXPECT_EQ(16u, le32(wav, 16));
    EXPECT_EQ(1u, le16(wav, 20));  // PCM
    EXPECT_EQ(1u, le16(wav, 22));  // mono
    EXPECT_EQ(22050u, le32(wav, 24));
    EXPECT_EQ(44100u, le32(wav, 28));
    EXPECT_EQ(2u, le16(wav, 32));
    EXPECT_EQ(16u, le16(wav, 34));
    EXPECT_EQ("data", std::string(wav.begin() + 36, wav.begin() + 40));
    EXPECT_EQ(22050u, le32(wav, 40));

    // A tone that fades in from silence and is clearly audible in the middle.
    auto sample = [&](size_t i) { return static_cast<std::int16_t>(le16(wav, 44 + 2 * i)); };
    EXPECT_EQ(0, sample(0));
    int peak = 0;
    for (size_t i = 5000; i < 6000; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(sample(i))));
    EXPECT_GT(peak, 10000);
    EXPECT_LT(peak, 20000);

    EXPECT_EQ(44u + 2u * 66u, file("tick.wav").size());  // 3 ms: 66 samples
}

TEST_F(DatagenSounds, OggIsVorbisWithTheGivenChannelsAndLength)
{
    struct Case {
        const char* name;
        int channels;
        std::uint64_t samples;
    };
    for (const Case& c : {Case{"tune.ogg", 2, 66150}, Case{"hum.ogg", 1, 44100}}) {
        SCOPED_TRACE(c.name);
        Bytes ogg = file(c.name);
        ASSERT_GT(ogg.size(), 100u);
        // The first page holds only the identification header: "\x01vorbis", version,
        // channels, rate.
        ASSERT_EQ(1, ogg[26]);
        EXPECT_EQ(std::string("\x01vorbis"), std::string(ogg.begin() + 28, ogg.begin() + 35));
        EXPECT_EQ(c.channels, ogg[39]);
        EXPECT_EQ(44100u, le32(ogg, 40));

        OggSummary pages = walkPages(ogg);
        EXPECT_TRUE(pages.wholeFileIsPages);
        EXPECT_GE(pages.pages, 3);
        EXPECT_TRUE(pages.endsWithEos);
        EXPECT_EQ(c.samples, pages.lastGranule);
    }
}

TEST_F(DatagenSounds, SameLinesMakeTheSameBytes)
{
    std::string again = datagentest::freshFolder("sounds_again");
    datagentest::RunResult second = datagentest::runGenerator(again, {"wav beep.wav 500\nogg tune.ogg 1.5 stereo\n"});
    ASSERT_EQ(0, second.exitCode) << second.err;
    EXPECT_EQ(file("beep.wav"), testsupport::readFile(again + "/out/beep.wav"));
    EXPECT_EQ(file("tune.ogg"), testsupport::readFile(again + "/out/tune.ogg"));
}
