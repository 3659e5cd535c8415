#include "Base/Snd/SndMusicCheck.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <map>
#include <tuple>

#include <vorbis/vorbisfile.h>

namespace {

// What the child reports through its exit status.
enum Verdict {
    kPlayable = 0,
    kNotVorbis = 10,
    kUnsupportedLayout = 11,
    kDecodingFailed = 12,
};

// OpenAL plays 16-bit mono or stereo; below this rate nothing is music, above it no device
// plays it.
constexpr long kMinRate = 1000;
constexpr long kMaxRate = 192000;
// Block sizes the format allows.
constexpr int kMinBlock = 64;
constexpr int kMaxBlock = 8192;
constexpr int kReadSize = 32768;
// How often the parent looks whether the child is done.
constexpr long kPollNs = 1000000;

bool layoutIsPlayable(OggVorbis_File* decoder)
{
    const vorbis_info* first = ov_info(decoder, 0);
    if (!first) return false;
    const long links = ov_streams(decoder);
    for (long link = 0; link < links; ++link) {
        vorbis_info* info = ov_info(decoder, static_cast<int>(link));
        if (!info || (info->channels != 1 && info->channels != 2) || info->channels != first->channels ||
            info->rate < kMinRate || info->rate > kMaxRate || info->rate != first->rate) {
            return false;
        }
        for (int which = 0; which < 2; ++which) {
            const int block = vorbis_info_blocksize(info, which);
            if (block < kMinBlock || block > kMaxBlock || (block & (block - 1)) != 0) return false;
        }
    }
    return true;
}

// Decodes as the music does: to the first end or error.
void decodeToEnd(OggVorbis_File* decoder, char* buffer)
{
    int section = 0;
    while (ov_read(decoder, buffer, kReadSize, 0, 2, 1, &section) > 0) {
    }
}

// The child's whole work; it leaves only through _exit, so nothing of the game runs in it.
[[noreturn]] void checkInChild(const std::string& fileName)
{
    OggVorbis_File decoder;
    if (ov_fopen(fileName.c_str(), &decoder) != 0) _exit(kNotVorbis);
    if (!layoutIsPlayable(&decoder)) _exit(kUnsupportedLayout);
    static char buffer[kReadSize];
    decodeToEnd(&decoder, buffer);
    if (ov_seekable(&decoder) && ov_pcm_seek(&decoder, 0) != 0) _exit(kDecodingFailed);
    decodeToEnd(&decoder, buffer);
    _exit(kPlayable);
}

std::string explain(int status)
{
    if (WIFSIGNALED(status)) return "makes the decoder fail (signal " + std::to_string(WTERMSIG(status)) + ")";
    switch (WEXITSTATUS(status)) {
    case kPlayable: return "";
    case kNotVorbis: return "is not an Ogg Vorbis file";
    case kUnsupportedLayout: return "has channels, a rate or block sizes the game cannot play";
    case kDecodingFailed: return "cannot be rewound";
    default: return "could not be checked";
    }
}

}  // namespace

std::string SndMusicCheck::check(const std::string& fileName)
{
    struct stat info;
    if (stat(fileName.c_str(), &info) != 0) return "cannot be opened";
    // The last version of each file name that passed; a changed file is checked again.
    typedef std::tuple<off_t, time_t, long> Version;
    static auto* passed = new std::map<std::string, Version>();
    const Version version(info.st_size, info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
    auto known = passed->find(fileName);
    if (known != passed->end() && known->second == version) return "";

    const pid_t child = fork();
    if (child < 0) return "could not be checked (no process)";
    if (child == 0) checkInChild(fileName);

    int status = 0;
    const timespec pause{0, kPollNs};
    for (long waited = 0;; waited += kPollNs) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) break;
        if (done < 0) return "could not be checked";
        if (waited / 1000000 >= kTimeLimitMs) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return "takes too long to decode";
        }
        nanosleep(&pause, nullptr);
    }
    const std::string fault = explain(status);
    if (fault.empty()) (*passed)[fileName] = version;
    return fault;
}
