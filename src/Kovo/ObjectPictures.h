#ifndef KOVO_KOVO_OBJECTPICTURES_H
#define KOVO_KOVO_OBJECTPICTURES_H

#include <string>
#include <vector>

class GphAnimatedTexture;
class GphRect;
class GphTexture;

// How every game object makes its pictures: each file comes from the image cache with black
// see-through, gets a texture of its own (linear filters, repeat wrapping, modulate), and the
// textures become the frames of an animation, in order. A file named twice gives two frames.
class ObjectPictures {
public:
    // One frame texture of the file. A file that cannot be loaded gives a texture that draws
    // nothing, so that an animation keeps its frame numbering.
    static GphTexture* loadFrame(const std::string& fileName);
    // A new animation of the files in order; a period of 0 keeps the animation's default.
    static GphAnimatedTexture* loadAnimation(const std::vector<std::string>& fileNames,
                                             unsigned msPerFrame = 0);
    // Deletes a rectangle together with the animation it shows, which was made for it alone,
    // and empties the slot. An empty slot is left as it is.
    static void deletePicture(GphRect*& picture);
};

#endif
