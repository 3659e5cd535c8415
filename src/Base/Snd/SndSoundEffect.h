#ifndef KOVO_BASE_SND_SNDSOUNDEFFECT_H
#define KOVO_BASE_SND_SNDSOUNDEFFECT_H

#include <map>
#include <string>

#include "Base/Shp/ShpCoord.h"

class SndSound;

// A playable instance of a WAV sound. While it plays it borrows one source of a pool of
// ten; updateAll, once per main-loop pass, takes back the sources of finished effects.
// Its position is data only: every effect plays at full gain.
class SndSoundEffect {
public:
    // A new effect of that WAV file, or null when the name is empty or the file does not
    // load. The first effect made builds the pool of sources.
    static SndSoundEffect* create(const std::string& fileName);
    // Gives back one reference and nulls the caller's pointer. The last one stops the
    // effect (its source goes back to the pool) and deletes it; when no effect is left
    // the pool is deleted too.
    static void release(SndSoundEffect*& effect);
    // Takes back the sources of effects whose sound has ended.
    static void updateAll();
    // The sound-effect switch; off, effects do not start, pause or resume.
    static void setEnabled(bool on);
    static bool isEnabled();

    // Plays the effect at a place, restarting it if it still plays: the position is
    // set, the effect stopped and played again. A null effect is skipped.
    static void playAt(SndSoundEffect* effect, const ShpCoord& where);

    virtual ~SndSoundEffect();

    // Plays from the start on a free source of the pool (or on the one it holds);
    // with no source free the request is logged and dropped.
    void play();
    // Stops and gives the source back to the pool.
    void stop();
    void pause();
    void resume();
    // True from a play until the source is given back.
    bool isPlaying() const { return _holdingSource; }

    void setPosition(const ShpCoord& position) { _position = position; }
    ShpCoord getPosition() const { return _position; }
    void setPitch(float pitch);
    float getPitch() const { return _pitch; }
    void setLooping(bool looping);
    bool isLooping() const { return _looping; }

    int getId() const { return _id; }
    unsigned int getSourceId() const { return _source; }
    const std::string& getFileName() const { return _fileName; }
    void addRef() { ++_refCount; }

private:
    explicit SndSoundEffect(const std::string& fileName);
    SndSoundEffect(const SndSoundEffect&) = delete;
    SndSoundEffect& operator=(const SndSoundEffect&) = delete;

    int _id;
    std::string _fileName;
    SndSound* _sound;
    ShpCoord _position;
    unsigned int _source;
    float _pitch;
    bool _looping;
    bool _holdingSource;
    int _refCount;
};

// Every effect by id; null while no effect exists.
extern std::map<int, SndSoundEffect*>* SndSoundEffectRegistry;
// The ten source names of the pool (slot order); null while no effect exists.
extern unsigned int* SndSourcePool;
constexpr int SndSourcePoolSize = 10;

#endif
