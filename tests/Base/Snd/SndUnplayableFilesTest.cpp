// Damaged sound files: each is refused with a log line before the libraries it would reach
// allocate what its header asks for or decode it, and the game goes on with its other sounds.

#include "SndFixture.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "support/Files.h"

using testsupport::logContains;

namespace {

typedef std::vector<unsigned char> Bytes;

void put32(Bytes& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// The page checksum of the Ogg format (polynomial 0x04c11db7, no reflection).
uint32_t oggCrc(const unsigned char* data, size_t size)
{
    uint32_t crc = 0;
    for (size_t i = 0; i < size; ++i) {
        crc ^= static_cast<uint32_t>(data[i]) << 24;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04c11db7u : crc << 1;
    }
    return crc;
}

// The first page of an Ogg Vorbis file holds only the identification header: the change is
// made there and the page's checksum made right again, so the damage reaches the decoder.
Bytes withIdentification(Bytes ogg, const std::function<void(unsigned char*)>& change)
{
    const size_t headerSize = 27 + ogg[26];
    const size_t pageSize = headerSize + ogg[27];
    change(ogg.data() + headerSize);
    put32(ogg, 22, 0);
    put32(ogg, 22, oggCrc(ogg.data(), pageSize));
    return ogg;
}

}  // namespace

TEST_F(SndTest, WavFilesWhoseHeaderSizesPassTheirLengthOrFormatIsUnplayableAreRefused)
{
    const Bytes wav = testsupport::readFile("test_short.wav");
    // The generator's canonical layout: "fmt " at 12, "data" at 36.
    ASSERT_EQ(0, std::memcmp(wav.data() + 36, "data", 4));
    // A chunk the loader skips, inserted before the samples, claiming nearly 4 GiB.
    Bytes skipped(wav.begin(), wav.begin() + 36);
    for (char c : std::string("LIST\0\0\0\0", 8)) skipped.push_back(static_cast<unsigned char>(c));
    put32(skipped, 40, 0xFFFFFF00u);
    skipped.insert(skipped.end(), wav.begin() + 36, wav.end());
    put32(skipped, 4, static_cast<uint32_t>(skipped.size() - 8));

    struct Case {
        const char* what;
        std::function<void(Bytes&)> damage;
    };
    const Case cases[] = {
        {"samples past the end", [](Bytes& b) { put32(b, 40, 0xFFFFFFF0u); }},
        {"skipped chunk past the end", [&](Bytes& b) { b = skipped; }},
        {"format chunk past the end", [](Bytes& b) { put32(b, 16, 0x7FFFFFF0u); }},
        {"RIFF size past the end", [](Bytes& b) { put32(b, 4, static_cast<uint32_t>(b.size() + 100)); }},
        {"no format before the samples", [](Bytes& b) { std::memcpy(b.data() + 12, "junk", 4); }},
        {"not PCM", [](Bytes& b) { b[20] = 7; }},
        {"three channels", [](Bytes& b) { b[22] = 3; }},
        {"rate 0", [](Bytes& b) { put32(b, 24, 0); }},
        {"cut short", [](Bytes& b) { b.resize(b.size() / 2); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes damaged = wav;
        c.damage(damaged);
        testsupport::writeFile("damaged.wav", damaged);
        EXPECT_EQ(nullptr, SndSoundEffect::create("damaged.wav"));
        EXPECT_TRUE(logContains("Sound file damaged.wav "));
        EXPECT_EQ(nullptr, SndSoundRegistry);
    }

    SndSoundEffect* intact = SndSoundEffect::create("test_short.wav");
    ASSERT_NE(nullptr, intact);
    intact->play();
    EXPECT_TRUE(intact->isPlaying());
    SndSoundEffect::release(intact);
}

TEST_F(SndTest, OggFilesWithUnplayableStreamInformationAreNotPlayedAndTheGameGoesOn)
{
    const Bytes ogg = testsupport::readFile("test_mono.ogg");
    // Identification header: type, "vorbis", version (4), channels at 11, rate at 12.
    struct Case {
        const char* what;
        std::function<void(unsigned char*)> damage;
        const char* why;
    };
    const Case cases[] = {
        {"three channels", [](unsigned char* id) { id[11] = 3; }, "has channels, a rate or block sizes"},
        {"rate 500", [](unsigned char* id) { id[12] = 0xF4, id[13] = 1, id[14] = id[15] = 0; },
         "has channels, a rate or block sizes"},
        {"rate 0", [](unsigned char* id) { id[12] = id[13] = id[14] = id[15] = 0; }, "is not an Ogg Vorbis file"},
        {"not Vorbis", [](unsigned char* id) { id[1] = 'W'; }, "is not an Ogg Vorbis file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::writeFile("damaged.ogg", withIdentification(ogg, c.damage));
        for (bool streaming : {false, true}) {
            SndMusic music("damaged.ogg", streaming);
            EXPECT_EQ(0u, music.getSourceId());
            music.setLooping(true);
            music.play();
            EXPECT_EQ(0, music.update());
            EXPECT_FALSE(music.isPlaying());
        }
        EXPECT_TRUE(logContains(std::string("Music file damaged.ogg ") + c.why));
    }

    SndMusic intact("test_mono.ogg", true);
    intact.setLooping(true);
    intact.play();
    EXPECT_TRUE(intact.isPlaying());
}
