#include "Base/Gph/GphCursor.h"

GphCursor::GphCursor() : _sdlCursor(nullptr), _image(nullptr), _hotSpotX(0), _hotSpotY(0) {}

GphCursor::GphCursor(GphImage* image, int hotSpotX, int hotSpotY)
    : _sdlCursor(nullptr), _image(image), _hotSpotX(hotSpotX), _hotSpotY(hotSpotY)
{
}

GphCursor::~GphCursor()
{
    if (_sdlCursor != nullptr) SDL_FreeCursor(_sdlCursor);
}

void GphCursor::setSdlCursor(SDL_Cursor* cursor)
{
    if (_sdlCursor != nullptr && _sdlCursor != cursor) SDL_FreeCursor(_sdlCursor);
    _sdlCursor = cursor;
}
