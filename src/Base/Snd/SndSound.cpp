#include "Base/Snd/SndSound.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <new>

#include <AL/al.h>
#include <AL/alut.h>

#include "Base/App/Log.h"
#include "Base/App/Platform.h"
#include "Base/App/TaggedText.h"
#include "Base/Snd/SndManager.h"

std::map<std::string, SndSound*>* SndSoundRegistry = nullptr;

namespace {

// OpenAL keeps an error until it is read, so an earlier harmless failure (a delete, a
// call without a device) must not be blamed on the step that is checked next.
void clearAlErrors()
{
    alGetError();
}

uint32_t littleEndian32(const unsigned char* bytes)
{
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

uint16_t littleEndian16(const unsigned char* bytes)
{
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

// ALUT's loader allocates whatever a chunk's size asks for before it reads a byte (a chunk it
// skips, too), so a damaged size can ask for gigabytes. Its walk is followed here first: every
// chunk up to the samples must lie inside the file, and the format before them must be PCM
// that OpenAL plays (8 or 16 bits, mono or stereo, a rate). Empty when the file may go on to
// the loader, else why not.
std::string checkWavFile(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return "cannot be opened";
    in.seekg(0, std::ios::end);
    const uint64_t length = static_cast<uint64_t>(in.tellg());
    in.seekg(0);
    unsigned char riff[12];
    if (!in.read(reinterpret_cast<char*>(riff), sizeof riff)) return "is too short for a WAV header";
    if (std::string(reinterpret_cast<char*>(riff), 4) != "RIFF" ||
        std::string(reinterpret_cast<char*>(riff) + 8, 4) != "WAVE") {
        return "is not a RIFF WAVE file";
    }
    if (uint64_t{littleEndian32(riff + 4)} + 8 > length) return "is shorter than its RIFF header says";

    bool haveFormat = false;
    uint64_t at = sizeof riff;
    for (;;) {
        unsigned char chunk[8];
        if (!in.read(reinterpret_cast<char*>(chunk), sizeof chunk)) return "ends before its samples";
        at += sizeof chunk;
        const std::string id(reinterpret_cast<char*>(chunk), 4);
        const uint64_t size = littleEndian32(chunk + 4);
        if (size > length - at) return "has a \"" + id + "\" chunk longer than the file";
        if (id == "data") return haveFormat ? "" : "has samples before their format";
        if (id == "fmt ") {
            unsigned char format[16];
            if (size < sizeof format || !in.read(reinterpret_cast<char*>(format), sizeof format))
                return "has a short format chunk";
            const uint16_t encoding = littleEndian16(format);
            const uint16_t channels = littleEndian16(format + 2);
            const uint32_t rate = littleEndian32(format + 4);
            const uint16_t bits = littleEndian16(format + 14);
            if (encoding != 1 || (channels != 1 && channels != 2) || (bits != 8 && bits != 16) || rate == 0)
                return "is in a format other than 8- or 16-bit PCM, mono or stereo";
            haveFormat = true;
        }
        // Chunks of odd size are padded to an even one.
        at += size + (size & 1);
        if (at > length) return "ends inside a chunk";
        in.seekg(static_cast<std::streamoff>(at));
    }
}

// ALUT's WAV loader is the one the sound files are written for; freealut marks it
// deprecated, so the warning is silenced for these two calls only.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
void loadWavFile(const std::string& fileName, ALenum* format, ALvoid** data, ALsizei* size, ALsizei* frequency)
{
    ALboolean loop = AL_FALSE;
    alutLoadWAVFile(reinterpret_cast<ALbyte*>(const_cast<char*>(fileName.c_str())), format, data, size,
                    frequency, &loop);
}

void unloadWav(ALenum format, ALvoid* data, ALsizei size, ALsizei frequency)
{
    alutUnloadWAV(format, data, size, frequency);
}
#pragma GCC diagnostic pop

}  // namespace

SndSound::SndSound(const std::string& fileName) : _buffer(0), _fileName(fileName), _refCount(1) {}

SndSound::~SndSound()
{
    if (_buffer != 0 && alIsBuffer(_buffer)) {
        alDeleteBuffers(1, &_buffer);
        // A buffer still attached somewhere cannot go; its error must not linger.
        clearAlErrors();
    }
}

SndSound* SndSound::create(const std::string& fileName)
{
    if (fileName.empty()) return nullptr;
    if (SndSoundRegistry) {
        auto found = SndSoundRegistry->find(fileName);
        if (found != SndSoundRegistry->end()) {
            found->second->addRef();
            return found->second;
        }
    }
    SndSound* sound = new (std::nothrow) SndSound(fileName);
    if (!sound) {
        KOVO_NEW_FAILED();
    }
    if (sound->load() != 0) {
        LOG("Failed to read sound: " << fileName);
        delete sound;
        return nullptr;
    }
    if (!SndSoundRegistry) {
        SndSoundRegistry = new (std::nothrow) std::map<std::string, SndSound*>();
        if (!SndSoundRegistry) {
            KOVO_NEW_FAILED();
        }
    }
    (*SndSoundRegistry)[fileName] = sound;
    return sound;
}

void SndSound::release(SndSound*& sound)
{
    if (!sound) return;
    if (--sound->_refCount > 0) {
        sound = nullptr;
        return;
    }
    bool found = false;
    if (SndSoundRegistry) {
        auto entry = SndSoundRegistry->find(sound->_fileName);
        if (entry != SndSoundRegistry->end() && entry->second == sound) {
            SndSoundRegistry->erase(entry);
            found = true;
            if (SndSoundRegistry->empty()) {
                delete SndSoundRegistry;
                SndSoundRegistry = nullptr;
            }
        }
    }
    if (!found) LOG("ERROR! Failed to find sound in map");
    delete sound;
    sound = nullptr;
}

int SndSound::load()
{
    clearAlErrors();
    if (_buffer == 0 || !alIsBuffer(_buffer)) {
        _buffer = 0;
        alGenBuffers(1, &_buffer);
        ALenum error = alGetError();
        if (error != AL_NO_ERROR || _buffer == 0) {
            LOG(SndManager::errorString(error));
            return -1;
        }
    }

    const std::string fault = checkWavFile(_fileName);
    if (!fault.empty()) {
        LOG("Sound file " << _fileName << " " << fault);
        LOG("Problem file = " << _fileName);
        return -1;
    }

    ALenum format = AL_FORMAT_STEREO16;
    ALvoid* data = nullptr;
    ALsizei size = 0;
    ALsizei frequency = 0;
    clearAlErrors();
    loadWavFile(_fileName, &format, &data, &size, &frequency);
    // The loader reports a missing or unreadable file only by leaving the data null.
    ALenum error = alGetError();
    if (error != AL_NO_ERROR || !data) {
        LOG(SndManager::errorString(error));
        LOG("Problem file = " << _fileName);
        if (data) unloadWav(format, data, size, frequency);
        return -1;
    }

    clearAlErrors();
    alBufferData(_buffer, format, data, size, frequency);
    error = alGetError();
    unloadWav(format, data, size, frequency);
    if (error == AL_NO_ERROR) error = alGetError();
    if (error != AL_NO_ERROR) {
        LOG(SndManager::errorString(error));
        LOG("Problem file = " << _fileName);
        return -1;
    }
    return 0;
}

void SndSound::ensureLoaded()
{
    if (_buffer == 0 || !alIsBuffer(_buffer)) load();
}

int SndSound::write(std::ostream& out)
{
    out << "<SOUND>\n";
    TaggedText::writeField(out, "FILENAME", _fileName);
    out << "</SOUND>\n";
    return 0;
}

SndSound* SndSound::read(std::istream& in)
{
    SndSound* sound = nullptr;
    int result = TaggedText::readBlock(in, "</SOUND>", [&](const std::string& tag) {
        if (tag == "<FILENAME>") {
            std::string fileName;
            if (TaggedText::readValue(in, fileName) != 0) return -1;
            release(sound);
            sound = create(fileName);
            return 0;
        }
        return TaggedText::kUnknownTag;
    });
    if (result != 0) release(sound);
    return sound;
}
