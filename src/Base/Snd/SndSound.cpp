#include "Base/Snd/SndSound.h"

#include <cstdlib>
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
