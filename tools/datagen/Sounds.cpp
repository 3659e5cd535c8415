#include "Sounds.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <vorbis/vorbisenc.h>

#include "Pictures.h"

namespace datagen {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kWavRate = 22050;
constexpr int kOggRate = 44100;
constexpr const char* kRecipeTag = "KOVO_DATAGEN";

// Gain 0 to 1 at sample i of n, rising and falling linearly over `fade` samples at each end.
double envelope(long i, long n, long fade)
{
    if (fade <= 0)
        return 1.0;
    double in = static_cast<double>(i) / fade;
    double out = static_cast<double>(n - 1 - i) / fade;
    return std::clamp(std::min(in, out), 0.0, 1.0);
}

void append(Bytes& out, const unsigned char* data, long size)
{
    out.insert(out.end(), data, data + size);
}

void appendPage(Bytes& out, const ogg_page& page)
{
    append(out, page.header, page.header_len);
    append(out, page.body, page.body_len);
}

void put16(Bytes& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void put32(Bytes& out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void putTag(Bytes& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

// The libvorbis and libogg states of one encoding, cleared on every way out.
class OggEncoder {
public:
    OggEncoder(int channels, const std::string& recipe, int serial)
    {
        vorbis_info_init(&info_);
        vorbis_comment_init(&comment_);
        if (vorbis_encode_init_vbr(&info_, channels, kOggRate, 0.2f) != 0) {
            vorbis_comment_clear(&comment_);
            vorbis_info_clear(&info_);
            throw std::runtime_error("the Vorbis encoder refused its settings");
        }
        vorbis_comment_add_tag(&comment_, "ENCODER", "kovo_datagen");
        vorbis_comment_add_tag(&comment_, kRecipeTag, recipe.c_str());
        vorbis_analysis_init(&dsp_, &info_);
        vorbis_block_init(&dsp_, &block_);
        ogg_stream_init(&stream_, serial);

        ogg_packet header;
        ogg_packet comments;
        ogg_packet codebooks;
        vorbis_analysis_headerout(&dsp_, &comment_, &header, &comments, &codebooks);
        ogg_stream_packetin(&stream_, &header);
        ogg_stream_packetin(&stream_, &comments);
        ogg_stream_packetin(&stream_, &codebooks);
        // The audio starts on a fresh page, as the format requires.
        ogg_page page;
        while (ogg_stream_flush(&stream_, &page) != 0)
            appendPage(out_, page);
    }

    ~OggEncoder()
    {
        ogg_stream_clear(&stream_);
        vorbis_block_clear(&block_);
        vorbis_dsp_clear(&dsp_);
        vorbis_comment_clear(&comment_);
        vorbis_info_clear(&info_);
    }

    OggEncoder(const OggEncoder&) = delete;
    OggEncoder& operator=(const OggEncoder&) = delete;

    float** buffer(int samples) { return vorbis_analysis_buffer(&dsp_, samples); }

    // Hands over the samples written to the buffer; 0 ends the stream.
    void wrote(int samples)
    {
        vorbis_analysis_wrote(&dsp_, samples);
        while (vorbis_analysis_blockout(&dsp_, &block_) == 1) {
            vorbis_analysis(&block_, nullptr);
            vorbis_bitrate_addblock(&block_);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp_, &packet) == 1) {
                ogg_stream_packetin(&stream_, &packet);
                ogg_page page;
                while (ogg_stream_pageout(&stream_, &page) != 0)
                    appendPage(out_, page);
            }
        }
    }

    Bytes finish()
    {
        wrote(0);
        ogg_page page;
        while (ogg_stream_flush(&stream_, &page) != 0)
            appendPage(out_, page);
        return std::move(out_);
    }

private:
    vorbis_info info_;
    vorbis_comment comment_;
    vorbis_dsp_state dsp_;
    vorbis_block block_;
    ogg_stream_state stream_;
    Bytes out_;
};

}  // namespace

double toneFrequency(const std::string& name)
{
    int semitone = static_cast<int>(nameHash(name) % 25);
    return 220.0 * std::pow(2.0, semitone / 12.0);
}

Bytes encodeWav(const std::string& name, int milliseconds)
{
    const long samples = static_cast<long>(milliseconds) * kWavRate / 1000;
    const long fade = std::min<long>(kWavRate / 100, samples / 4);  // 10 ms
    const double step = 2.0 * kPi * toneFrequency(name) / kWavRate;
    const std::uint32_t dataSize = static_cast<std::uint32_t>(samples * 2);

    Bytes out;
    out.reserve(44 + dataSize);
    putTag(out, "RIFF");
    put32(out, 36 + dataSize);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, kWavRate);
    put32(out, kWavRate * 2);  // bytes per second
    put16(out, 2);             // bytes per sample frame
    put16(out, 16);            // bits per sample
    putTag(out, "data");
    put32(out, dataSize);
    for (long i = 0; i < samples; ++i) {
        double v = 0.4 * envelope(i, samples, fade) * std::sin(step * static_cast<double>(i));
        auto sample = static_cast<std::int16_t>(std::lround(v * 32767.0));
        put16(out, static_cast<std::uint16_t>(sample));
    }
    return out;
}

Bytes encodeOgg(const std::string& name, double seconds, int channels, const std::string& recipe)
{
    const long samples = std::lround(seconds * kOggRate);
    const long fade = std::min<long>(kOggRate / 20, samples / 4);  // 50 ms
    const double frequency = toneFrequency(name);
    const double steps[2] = {2.0 * kPi * frequency / kOggRate, 2.0 * kPi * frequency * 1.01 / kOggRate};

    OggEncoder encoder(channels, recipe, static_cast<int>(nameHash(name) & 0x7FFFFFFF));
    constexpr long kChunk = 4096;
    for (long start = 0; start < samples; start += kChunk) {
        int count = static_cast<int>(std::min(kChunk, samples - start));
        float** buffer = encoder.buffer(count);
        for (int c = 0; c < channels; ++c) {
            for (int i = 0; i < count; ++i) {
                long at = start + i;
                buffer[c][i] = static_cast<float>(0.3 * envelope(at, samples, fade) *
                                                  std::sin(steps[c] * static_cast<double>(at)));
            }
        }
        encoder.wrote(count);
    }
    return encoder.finish();
}

bool oggMadeFrom(const std::string& path, const std::string& recipe)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    // The comment header is the second packet, well inside the first few kilobytes.
    std::string head(8192, '\0');
    in.read(&head[0], static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    std::string entry = std::string(kRecipeTag) + "=" + recipe;
    // Vorbis comments are length-prefixed, so the entry must match its whole recorded length.
    size_t at = head.find(entry);
    if (at == std::string::npos || at < 4)
        return false;
    std::uint32_t length = static_cast<std::uint8_t>(head[at - 4]) | (static_cast<std::uint8_t>(head[at - 3]) << 8) |
                           (static_cast<std::uint8_t>(head[at - 2]) << 16) |
                           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(head[at - 1])) << 24);
    return length == entry.size();
}

}  // namespace datagen
