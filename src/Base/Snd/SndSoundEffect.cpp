#include "Base/Snd/SndSoundEffect.h"

#include <cstdlib>
#include <new>

#include <AL/al.h>

#include "Base/App/Globals.h"
#include "Base/App/Log.h"
#include "Base/App/Platform.h"
#include "Base/Snd/SndManager.h"
#include "Base/Snd/SndSound.h"

std::map<int, SndSoundEffect*>* SndSoundEffectRegistry = nullptr;
unsigned int* SndSourcePool = nullptr;

namespace {

int g_nextEffectId = 0;
bool g_effectsEnabled = true;

void clearAlErrors()
{
    alGetError();
}

void newFailed()
{
    KOVO_NEW_FAILED();
}

void buildSourcePool()
{
    SndSourcePool = new (std::nothrow) unsigned int[SndSourcePoolSize]();
    if (!SndSourcePool) newFailed();
    clearAlErrors();
    alGenSources(SndSourcePoolSize, SndSourcePool);
    ALenum error = alGetError();
    if (error != AL_NO_ERROR) LOG(SndManager::errorString(error));
    SndBusySources.clear();
    SndFreeSources.clear();
    for (int slot = 0; slot < SndSourcePoolSize; ++slot) SndFreeSources[slot] = SndSourcePool[slot];
}

void deleteSourcePool()
{
    clearAlErrors();
    alDeleteSources(SndSourcePoolSize, SndSourcePool);
    clearAlErrors();
    delete[] SndSourcePool;
    SndSourcePool = nullptr;
    SndBusySources.clear();
    SndFreeSources.clear();
}

}  // namespace

SndSoundEffect::SndSoundEffect(const std::string& fileName)
    : _id(g_nextEffectId++),
      _fileName(fileName),
      _sound(SndSound::create(fileName)),
      _position(0, 0, 0),
      _source(0),
      _pitch(1.0f),
      _looping(false),
      _holdingSource(false),
      _refCount(1)
{
}

SndSoundEffect::~SndSoundEffect()
{
    SndSound::release(_sound);
}

SndSoundEffect* SndSoundEffect::create(const std::string& fileName)
{
    if (!SndSoundEffectRegistry) {
        SndSoundEffectRegistry = new (std::nothrow) std::map<int, SndSoundEffect*>();
        if (!SndSoundEffectRegistry) newFailed();
    }
    if (!SndSourcePool) buildSourcePool();
    if (fileName.empty()) return nullptr;

    SndSound* probe = SndSound::create(fileName);
    if (!probe) {
        LOG("Failed to instantiate SndSound for: " << fileName);
        return nullptr;
    }
    SndSoundEffect* effect = new (std::nothrow) SndSoundEffect(fileName);
    if (!effect) newFailed();
    (*SndSoundEffectRegistry)[effect->_id] = effect;
    SndSound::release(probe);
    return effect;
}

void SndSoundEffect::release(SndSoundEffect*& effect)
{
    if (!effect) return;
    if (--effect->_refCount > 0) {
        effect = nullptr;
        return;
    }
    // A source still held would stay busy for good and keep the buffer attached, so
    // the effect gives it back before it goes.
    effect->stop();
    auto entry = SndSoundEffectRegistry ? SndSoundEffectRegistry->find(effect->_id)
                                        : std::map<int, SndSoundEffect*>::iterator();
    if (!SndSoundEffectRegistry || entry == SndSoundEffectRegistry->end() || entry->second != effect) {
        LOG("ERROR! Failed to find sound effect in map");
    } else {
        SndSoundEffectRegistry->erase(entry);
        if (SndSoundEffectRegistry->empty()) {
            delete SndSoundEffectRegistry;
            SndSoundEffectRegistry = nullptr;
            if (SndSourcePool) deleteSourcePool();
        }
    }
    delete effect;
    effect = nullptr;
}

void SndSoundEffect::updateAll()
{
    if (!SndSoundEffectRegistry) return;
    for (auto& entry : *SndSoundEffectRegistry) {
        SndSoundEffect* effect = entry.second;
        if (!effect->_holdingSource) continue;
        ALint state = 0;
        alGetSourcei(effect->_source, AL_SOURCE_STATE, &state);
        switch (state) {
        case AL_STOPPED:
            effect->stop();
            break;
        case AL_INITIAL:
        case AL_PLAYING:
        case AL_PAUSED:
            break;
        default:
            LOG("Sound state unknown");
            effect->stop();
            break;
        }
    }
}

void SndSoundEffect::setEnabled(bool on)
{
    g_effectsEnabled = on;
}

bool SndSoundEffect::isEnabled()
{
    return g_effectsEnabled;
}

void SndSoundEffect::playAt(SndSoundEffect* effect, const ShpCoord& where)
{
    if (!effect) return;
    effect->setPosition(where);
    effect->stop();
    effect->play();
}

void SndSoundEffect::play()
{
    if (!_sound || !g_effectsEnabled) return;
    if (!_holdingSource && !SndFreeSources.empty()) {
        auto slot = SndFreeSources.begin();
        _source = slot->second;
        SndBusySources[slot->first] = slot->second;
        SndFreeSources.erase(slot);
    }
    if (_source == 0) {
        LOG("Failed to obtain source ID to play sound effect.");
        return;
    }
    _sound->ensureLoaded();
    // A source that still plays cannot take a buffer; stopping it first makes the
    // restart clean.
    if (_holdingSource) alSourceStop(_source);
    alSourcei(_source, AL_BUFFER, static_cast<ALint>(_sound->getBufferId()));
    alSourcef(_source, AL_PITCH, _pitch);
    alSourcef(_source, AL_GAIN, 1.0f);
    alSource3f(_source, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    alSourcei(_source, AL_LOOPING, _looping ? AL_TRUE : AL_FALSE);
    alSourcePlay(_source);
    _holdingSource = true;
}

void SndSoundEffect::stop()
{
    if (!_holdingSource) return;
    alSourceStop(_source);
    alSourcei(_source, AL_BUFFER, 0);
    for (auto slot = SndBusySources.begin(); slot != SndBusySources.end(); ++slot) {
        if (slot->second == _source) {
            SndFreeSources[slot->first] = slot->second;
            SndBusySources.erase(slot);
            break;
        }
    }
    _source = 0;
    _holdingSource = false;
}

void SndSoundEffect::pause()
{
    if (!_sound || !g_effectsEnabled || !_holdingSource) return;
    alSourcePause(_source);
}

void SndSoundEffect::resume()
{
    if (!_sound || !g_effectsEnabled || !_holdingSource) return;
    alSourcePlay(_source);
}

void SndSoundEffect::setPitch(float pitch)
{
    _pitch = pitch;
    if (_holdingSource) {
        alSourcef(_source, AL_PITCH, _pitch);
        alSourcef(_source, AL_GAIN, 1.0f);
    }
}

void SndSoundEffect::setLooping(bool looping)
{
    _looping = looping;
    if (_holdingSource) alSourcei(_source, AL_LOOPING, _looping ? AL_TRUE : AL_FALSE);
}
