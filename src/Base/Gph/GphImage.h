#ifndef KOVO_BASE_GPH_GPHIMAGE_H
#define KOVO_BASE_GPH_GPHIMAGE_H

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

#include "Base/Shp/ShpRect.h"

// The decoded pixels of one picture file, shared through the global image cache
// (GphImageCache) by file name with a hand-kept reference count.
//
// Pixel buffer: one byte per channel, red, green, blue (and alpha at 32 bits per pixel),
// rows tightly packed (no padding), the bottom row of the picture first, as OpenGL wants it.
class GphImage {
public:
    // Largest picture any loader accepts, in pixels. A header asking for more is taken
    // as malformed rather than as a reason to allocate gigabytes.
    static constexpr uint64_t kMaxPixels = 4096ull * 4096ull;

    // The cached or newly loaded image for `fileName`, with one more reference for the
    // caller; null when it cannot be had. The extension picks the loader (bmp/BMP,
    // jpg/JPG, pcx/PCX). A cached image keeps the transparency it was first loaded with.
    static GphImage* load(const std::string& fileName, bool transparency);
    // Gives back one reference and sets `image` to null; the last one uncaches and deletes it.
    static void release(GphImage*& image);
    // Reads the rest of an "<IMAGE>" block (opening tag already taken) and loads that image.
    static GphImage* readTagged(std::istream& in);

    GphImage(const std::string& fileName, bool transparency);
    GphImage(const GphImage&) = delete;
    GphImage& operator=(const GphImage&) = delete;

    // Virtual operations in this order: load, checkFileName, write, destructor.
    // Reads the file named by the file name into pixels, width, height and bits per pixel.
    // 0, or -1 after logging why; on failure no pixels are held.
    virtual int load() = 0;
    // An empty name logs "ERROR! Invalid file name!" and gives -1, any other gives 0.
    virtual int checkFileName();
    // "<IMAGE>" block with the file name and the transparency flag; 0.
    virtual int write(std::ostream& out);
    virtual ~GphImage();

    // The pixels, read again from the file first when they are not held; null on failure.
    unsigned char* getPixels();
    // Drops the pixels from memory; size and format stay.
    void freePixels();
    bool hasPixels() const { return _pixels != nullptr; }

    // GL_RGBA when transparent or at 32 bits per pixel, else GL_RGB.
    GLenum getFormat() const;
    GLenum getType() const { return GL_UNSIGNED_BYTE; }

    uint32_t getWidth() const { return _width; }
    uint32_t getHeight() const { return _height; }
    uint32_t getBitsPerPixel() const { return _bitsPerPixel; }
    const std::string& getFileName() const { return _fileName; }
    bool isTransparent() const { return _transparent; }
    void setWidth(uint32_t width) { _width = width; }
    void setHeight(uint32_t height) { _height = height; }
    void setBitsPerPixel(uint32_t bitsPerPixel) { _bitsPerPixel = bitsPerPixel; }

    void addRef() { ++_refCount; }
    void decRef() { --_refCount; }
    int getRefCount() const { return _refCount; }

    // With `on`, black pixels become fully transparent and the pixels next to them
    // partly so (2+ black neighbours 127, one 191, none 255); 24-bit pixels widen to 32.
    void setTransparency(bool on);

    // Draws the `source` part of the pixels scaled into `destination` with glDrawPixels.
    void draw(const ShpRect& source, const ShpRect& destination);

protected:
    // Takes ownership of a buffer from allocatePixels, freeing any held before.
    void setPixels(unsigned char* pixels);
    // A buffer for `bytes` bytes (zeroed); logs "New failed" and ends the program when
    // it cannot be had.
    static unsigned char* allocatePixels(size_t bytes);
    // True when width x height is a picture the loaders accept (both above 0, at most
    // kMaxPixels); otherwise logs why for `fileName`.
    static bool checkSize(const std::string& fileName, int64_t width, int64_t height);

private:
    unsigned char* _pixels;
    std::string _fileName;
    uint32_t _width;
    uint32_t _height;
    uint32_t _bitsPerPixel;
    bool _transparent;
    int32_t _refCount;
};

#endif
