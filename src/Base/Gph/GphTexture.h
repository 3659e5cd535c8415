#ifndef KOVO_BASE_GPH_GPHTEXTURE_H
#define KOVO_BASE_GPH_GPHTEXTURE_H

#include <GL/gl.h>

#include <cstdint>
#include <istream>
#include <ostream>

class GphImage;

// An OpenGL texture made from a GphImage. Textures of one image share one OpenGL id,
// uploaded once and deleted with the last texture of that image (GphTextureIdMap and
// GphTextureRefCounts); every texture with an image is listed in GphTextureList so that
// the window can delete and upload them all around a video mode change.
class GphTexture {
public:
    // No image, id 0, every parameter 0; listed. Used before read.
    GphTexture();
    // Takes over one reference of `image` (from GphImage::load). `blendColour`, four floats
    // (red, green, blue, alpha) or null, is copied. A null image makes an unlisted texture
    // that does nothing.
    GphTexture(GphImage* image, GLenum minFilter, GLenum magFilter, GLenum sWrap, GLenum tWrap,
               GLenum mode, const float* blendColour = nullptr);
    // Same parameters, its own reference of the source's image, the shared id.
    GphTexture(const GphTexture& other);
    GphTexture& operator=(const GphTexture&) = delete;

    // Virtual operations in this order: destructor, read, write.
    virtual ~GphTexture();
    // Reads the rest of a "<TEXTURE>" block (opening tag already taken) and then gets the
    // texture's id; 0, or -1 (unknown tag, failed stream, image that cannot be loaded).
    virtual int read(std::istream& in);
    // The "<TEXTURE>" block; the image block's result (-1 without an image).
    virtual int write(std::ostream& out);

    // Makes the texture current; nothing happens when its id was the last one bound.
    void bind();

    // Before a video mode change: deletes every OpenGL texture, keeping ids and counts.
    static void deleteAll();
    // After it: makes and uploads a new OpenGL texture per image, reading the files again.
    static void reloadAll();

    GphImage* getImage() const { return _image; }
    uint32_t getWidth() const;
    uint32_t getHeight() const;
    GLuint getId() const { return _id; }
    const float* getBlendColour() const { return _blendColour; }
    // Copies four floats, or frees the colour when given null.
    void setBlendColour(const float* colour);

    GLenum getMinFilter() const { return _minFilter; }
    GLenum getMagFilter() const { return _magFilter; }
    GLenum getSWrap() const { return _sWrap; }
    GLenum getTWrap() const { return _tWrap; }
    GLenum getMode() const { return _mode; }
    void setMinFilter(GLenum value) { _minFilter = value; }
    void setMagFilter(GLenum value) { _magFilter = value; }
    void setSWrap(GLenum value) { _sWrap = value; }
    void setTWrap(GLenum value) { _tWrap = value; }
    void setMode(GLenum value) { _mode = value; }

private:
    // Takes the image's shared id, or makes, binds and uploads a new one.
    void acquireId();
    // Gives up the id; the last texture of an image deletes its OpenGL texture.
    void releaseId();
    // glTexImage2D of the image's pixels into the bound texture, then frees the pixels.
    static void upload(GphImage* image);
    void enlist();

    GphImage* _image;
    GLuint _id;
    GLenum _minFilter;
    GLenum _magFilter;
    GLenum _sWrap;
    GLenum _tWrap;
    GLenum _mode;
    float* _blendColour;

    // The id bound by the last bind that issued OpenGL calls; 0 when unknown.
    static GLuint s_lastBoundId;
};

#endif
