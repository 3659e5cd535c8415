#include "Base/Snd/SndMusic.h"

#include <cstdlib>
#include <new>

#include "Base/App/Log.h"
#include "Base/App/Platform.h"
#include "Base/Snd/SndManager.h"
#include "Base/Snd/SndMusicCheck.h"

namespace {

constexpr int kReadBufferSize = 32768;
// Samples are asked of the decoder as signed 16-bit little-endian words.
constexpr int kBigEndian = 0;
constexpr int kWordSize = 2;
constexpr int kSigned = 1;

bool g_musicEnabled = true;

template <class T>
T* checked(T* allocated)
{
    if (!allocated) {
        KOVO_NEW_FAILED();
    }
    return allocated;
}

void clearAlErrors()
{
    alGetError();
}

}  // namespace

SndMusic::SndMusic(const std::string& fileName, bool streaming)
    : _fileName(fileName),
      _file(nullptr),
      _decoder(nullptr),
      _info(nullptr),
      _comment(nullptr),
      _looping(false),
      _pitch(1.0f),
      _buffers{0, 0},
      _source(0),
      _format(AL_FORMAT_STEREO16),
      _frequency(0),
      _streaming(streaming),
      _readBuffer(checked(new (std::nothrow) char[kReadBufferSize]))
{
    _file = std::fopen(fileName.c_str(), "rb");
    if (!_file) {
        LOG("Could not open Ogg music file: " << fileName);
        return;
    }
    const std::string fault = SndMusicCheck::check(fileName);
    if (!fault.empty()) {
        LOG("Failed to open Ogg stream");
        LOG("Music file " << fileName << " " << fault << "; it is not played");
        std::fclose(_file);
        _file = nullptr;
        return;
    }
    _decoder = checked(new (std::nothrow) OggVorbis_File());
    if (ov_open(_file, _decoder, nullptr, 0) < 0) {
        LOG("Failed to open Ogg stream");
        std::fclose(_file);
        _file = nullptr;
        delete _decoder;
        _decoder = nullptr;
        return;
    }
    // From here on the decoder owns the file and closes it when it is cleared.
    _file = nullptr;
    _info = ov_info(_decoder, -1);
    _comment = ov_comment(_decoder, -1);
    _format = (_info && _info->channels == 1) ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    _frequency = _info ? static_cast<int>(_info->rate) : 0;

    clearAlErrors();
    if (_streaming) {
        alGenBuffers(2, _buffers);
        alGenSources(1, &_source);
        setUpSource();
    } else {
        decodeWholeFile();
    }
    clearAlErrors();
}

SndMusic::~SndMusic()
{
    stop();
    if (_source != 0) {
        if (_streaming) {
            alSourceStop(_source);
            unqueueAll();
        }
        alDeleteSources(1, &_source);
    }
    if (_buffers[0] != 0) alDeleteBuffers(1, &_buffers[0]);
    if (_buffers[1] != 0) alDeleteBuffers(1, &_buffers[1]);
    clearAlErrors();
    clearDecoder();
    delete[] _readBuffer;
}

void SndMusic::setUpSource()
{
    // The music sounds at the listener at full gain, wherever the listener is.
    alSource3f(_source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSource3f(_source, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    alSource3f(_source, AL_DIRECTION, 0.0f, 0.0f, 0.0f);
    alSourcef(_source, AL_ROLLOFF_FACTOR, 0.0f);
    alSourcei(_source, AL_SOURCE_RELATIVE, AL_TRUE);
}

void SndMusic::decodeWholeFile()
{
    int section = 0;
    for (;;) {
        long got = ov_read(_decoder, _readBuffer, kReadBufferSize, kBigEndian, kWordSize, kSigned, &section);
        if (got <= 0) break;  // end of stream, or damaged data: keep what was decoded so far
        _samples.insert(_samples.end(), _readBuffer, _readBuffer + got);
    }
    clearDecoder();
    delete[] _readBuffer;
    _readBuffer = nullptr;

    alGenBuffers(1, &_buffers[0]);
    alBufferData(_buffers[0], _format, _samples.empty() ? nullptr : _samples.data(),
                 static_cast<ALsizei>(_samples.size()), _frequency);
    std::vector<char>().swap(_samples);
    alGenSources(1, &_source);
    setUpSource();
    alSourcei(_source, AL_BUFFER, static_cast<ALint>(_buffers[0]));
}

void SndMusic::clearDecoder()
{
    if (!_decoder) return;
    ov_clear(_decoder);
    delete _decoder;
    _decoder = nullptr;
    _info = nullptr;
    _comment = nullptr;
}

void SndMusic::unqueueAll()
{
    ALint queued = 0;
    alGetSourcei(_source, AL_BUFFERS_QUEUED, &queued);
    while (queued-- > 0) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(_source, 1, &buffer);
    }
}

void SndMusic::play()
{
    if (!g_musicEnabled || isPlaying() || _source == 0) return;
    ALint state = 0;
    alGetSourcei(_source, AL_SOURCE_STATE, &state);
    if (_streaming && state != AL_PAUSED) {
        if (!_decoder) return;
        // Start over from a clean queue: buffers left from an earlier run are spent.
        alSourceStop(_source);
        unqueueAll();
        for (ALuint buffer : _buffers) {
            if (fillBuffer(buffer) == 1) alSourceQueueBuffers(_source, 1, &buffer);
        }
    }
    alSourcePlay(_source);
}

void SndMusic::pause()
{
    if (!g_musicEnabled || _source == 0) return;
    alSourcePause(_source);
}

void SndMusic::resume()
{
    if (!g_musicEnabled || _source == 0) return;
    alSourcePlay(_source);
}

void SndMusic::stop()
{
    if (!g_musicEnabled || _source == 0) return;
    alSourceStop(_source);
    if (_streaming && _decoder) {
        unqueueAll();
        ov_pcm_seek(_decoder, 0);
    }
}

int SndMusic::update()
{
    if (!_streaming || !_decoder || !g_musicEnabled || _source == 0) return 0;
    clearAlErrors();
    ALint processed = 0;
    alGetSourcei(_source, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(_source, 1, &buffer);
        ALenum error = alGetError();
        if (error != AL_NO_ERROR) {
            LOG(SndManager::errorString(error));
            return -1;
        }
        if (fillBuffer(buffer) != 1) continue;
        alSourceQueueBuffers(_source, 1, &buffer);
        error = alGetError();
        if (error != AL_NO_ERROR) {
            LOG(SndManager::errorString(error));
            return -1;
        }
    }
    return 0;
}

int SndMusic::fillBuffer(ALuint buffer)
{
    int gathered = 0;
    int result = 1;
    bool rewoundSinceData = false;
    int section = 0;
    while (gathered < kReadBufferSize) {
        long got = ov_read(_decoder, _readBuffer + gathered, kReadBufferSize - gathered, kBigEndian, kWordSize,
                           kSigned, &section);
        if (got > 0) {
            gathered += static_cast<int>(got);
            rewoundSinceData = false;
        } else if (got == 0) {
            // A stream without samples would rewind for ever.
            if (!_looping || rewoundSinceData) break;
            ov_pcm_seek(_decoder, 0);
            rewoundSinceData = true;
        } else {
            LOG("Failed to read Ogg file!");
            result = -1;
            break;
        }
    }
    if (gathered == 0) return result == -1 ? -1 : 0;
    clearAlErrors();
    alBufferData(buffer, _format, _readBuffer, gathered, _frequency);
    ALenum error = alGetError();
    if (error != AL_NO_ERROR) {
        LOG(SndManager::errorString(error));
        result = -1;
    }
    return result;
}

bool SndMusic::isPlaying() const
{
    if (!g_musicEnabled || _source == 0) return false;
    ALint state = 0;
    alGetSourcei(_source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void SndMusic::setLooping(bool looping)
{
    _looping = looping;
    if (_source == 0) return;
    // A streamed music loops by rewinding its decoder as it refills.
    alSourcei(_source, AL_LOOPING, (!_streaming && _looping) ? AL_TRUE : AL_FALSE);
}

void SndMusic::setPitch(float pitch)
{
    _pitch = pitch;
    if (!g_musicEnabled || _source == 0) return;
    alSourcef(_source, AL_PITCH, _pitch);
    alSourcef(_source, AL_GAIN, 1.0f);
}

void SndMusic::setEnabled(bool on)
{
    g_musicEnabled = on;
}

bool SndMusic::isEnabled()
{
    return g_musicEnabled;
}
