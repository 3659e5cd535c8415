#ifndef KOVO_BASE_GPH_GPHCURSOR_H
#define KOVO_BASE_GPH_GPHCURSOR_H

#include <SDL/SDL.h>

class GphImage;

// A mouse cursor: the picture it was made from, its hot spot, and the SDL cursor that
// shows it once one has been handed over. The SDL cursor is owned and freed with it;
// the picture is not.
class GphCursor {
public:
    GphCursor();
    GphCursor(GphImage* image, int hotSpotX, int hotSpotY);
    virtual ~GphCursor();
    GphCursor(const GphCursor&) = delete;
    GphCursor& operator=(const GphCursor&) = delete;

    GphImage* getImage() const { return _image; }
    int getHotSpotX() const { return _hotSpotX; }
    int getHotSpotY() const { return _hotSpotY; }

    // Takes over an SDL cursor, freeing the one held before; null just frees that one.
    void setSdlCursor(SDL_Cursor* cursor);
    SDL_Cursor* getSdlCursor() const { return _sdlCursor; }

private:
    SDL_Cursor* _sdlCursor;
    GphImage* _image;
    int _hotSpotX;
    int _hotSpotY;
};

#endif
