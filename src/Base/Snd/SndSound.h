#ifndef KOVO_BASE_SND_SNDSOUND_H
#define KOVO_BASE_SND_SNDSOUND_H

#include <istream>
#include <map>
#include <ostream>
#include <string>

// One WAV file in one OpenAL buffer, shared by file name with a reference count.
class SndSound {
public:
    // The sound of that file with one more reference, loading it on first use; null for
    // an empty name or a file that does not load.
    static SndSound* create(const std::string& fileName);
    // Gives back one reference and nulls the caller's pointer; the last one deletes the sound.
    static void release(SndSound*& sound);
    // The sound named by a "<SOUND>" block whose opening tag the caller has taken, or null.
    static SndSound* read(std::istream& in);

    virtual int write(std::ostream& out);
    virtual ~SndSound();

    // Loads the file into the buffer: 0, or -1 after logging why.
    int load();
    // Loads again when OpenAL no longer knows the buffer.
    void ensureLoaded();

    unsigned int getBufferId() const { return _buffer; }
    const std::string& getFileName() const { return _fileName; }
    void addRef() { ++_refCount; }

private:
    explicit SndSound(const std::string& fileName);
    SndSound(const SndSound&) = delete;
    SndSound& operator=(const SndSound&) = delete;

    unsigned int _buffer;
    std::string _fileName;
    int _refCount;
};

// Every loaded sound by file name; null while no sound exists.
extern std::map<std::string, SndSound*>* SndSoundRegistry;

#endif
