#ifndef KOVO_BASE_SND_SNDMANAGER_H
#define KOVO_BASE_SND_SNDMANAGER_H

#include <string>

class SndListener;

// Opens and closes the OpenAL device and context, hands out the one listener and
// carries the program-wide music and sound-effect switches. Without a sound device
// the game runs on silently: every later sound call is harmless.
class SndManager {
public:
    SndManager();
    // Deletes the listener made by getListener.
    virtual ~SndManager();

    // Opens the default device and makes a context current: 0, or -1 after logging why.
    int init();
    // Releases the current context and closes its device.
    void shutdown();

    // The one listener, made (at the origin, looking down -z) on first use.
    static SndListener* getListener();

    // The log text of an OpenAL or ALC error code.
    static std::string errorString(int code);

    // The switches: turning one off stops nothing that already plays.
    static void setMusicEnabled(bool on);
    static void setSoundEffectsEnabled(bool on);
};

#endif
