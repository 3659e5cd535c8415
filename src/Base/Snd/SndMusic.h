#ifndef KOVO_BASE_SND_SNDMUSIC_H
#define KOVO_BASE_SND_SNDMUSIC_H

#include <cstdio>
#include <string>
#include <vector>

#include <AL/al.h>
#include <vorbis/vorbisfile.h>

// One Ogg Vorbis file on its own OpenAL source, at full gain. Decoded whole into one
// buffer at construction, or streamed through two buffers that update() refills.
class SndMusic {
public:
    SndMusic(const std::string& fileName, bool streaming);
    virtual ~SndMusic();

    // Starts (or resumes a paused music); nothing while it plays or the switch is off.
    void play();
    void pause();
    void resume();
    // Stops; a streamed music also rewinds to its start.
    void stop();
    // Refills a streamed music's played buffers: 0, or -1 after an OpenAL error.
    int update();
    // False while the switch is off.
    bool isPlaying() const;

    void setLooping(bool looping);
    bool isLooping() const { return _looping; }
    void setPitch(float pitch);
    float getPitch() const { return _pitch; }

    // The OpenAL source the music plays on, 0 when the file did not open.
    ALuint getSourceId() const { return _source; }

    // The music switch; off, music does not start, pause, resume or stop.
    static void setEnabled(bool on);
    static bool isEnabled();

private:
    SndMusic(const SndMusic&) = delete;
    SndMusic& operator=(const SndMusic&) = delete;

    void setUpSource();
    void decodeWholeFile();
    // Fills a streaming buffer from the decoder: 1 when it holds samples, 0 at the end of
    // a music that does not loop, -1 on a decoding or OpenAL error.
    int fillBuffer(ALuint buffer);
    void unqueueAll();
    void clearDecoder();

    std::string _fileName;
    FILE* _file;
    OggVorbis_File* _decoder;
    vorbis_info* _info;
    vorbis_comment* _comment;
    bool _looping;
    float _pitch;
    ALuint _buffers[2];
    ALuint _source;
    ALenum _format;
    int _frequency;
    bool _streaming;
    std::vector<char> _samples;
    char* _readBuffer;
};

#endif
