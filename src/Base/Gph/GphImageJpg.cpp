#include "Base/Gph/GphImageJpg.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include <jpeglib.h>

#include "Base/App/Log.h"

namespace {

// libjpeg's standard error manager ends the program on a decoding error; this one
// jumps back into the loader instead, which then fails with -1.
struct ErrorManager {
    jpeg_error_mgr standard;
    jmp_buf returnPoint;
};

void logMessage(j_common_ptr info)
{
    char text[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, text);
    LOG(text);
}

[[noreturn]] void errorExit(j_common_ptr info)
{
    logMessage(info);
    longjmp(reinterpret_cast<ErrorManager*>(info->err)->returnPoint, 1);
}

// Everything the error path must undo lives here, outside the frame that setjmp saves.
struct Decoding {
    jpeg_decompress_struct info;
    ErrorManager errors;
    FILE* file = nullptr;
    unsigned char* scratch = nullptr;
    unsigned char* pixels = nullptr;

    ~Decoding()
    {
        jpeg_destroy_decompress(&info);
        if (file != nullptr) fclose(file);
        delete[] scratch;
        delete[] pixels;
    }
};

}  // namespace

GphImageJpg::GphImageJpg(const std::string& fileName, bool transparency) : GphImage(fileName, transparency) {}

int GphImageJpg::load()
{
    if (checkFileName() != 0) return -1;
    const std::string& name = getFileName();

    // The decoding state lives on the heap: what changes after setjmp must not be an
    // automatic variable of this frame, and no object with a destructor may be built
    // between setjmp and a longjmp. The destructor of `state` cleans up either way.
    const std::unique_ptr<Decoding> state = std::make_unique<Decoding>();
    Decoding& d = *state;
    d.info.err = jpeg_std_error(&d.errors.standard);
    d.errors.standard.error_exit = errorExit;
    d.errors.standard.output_message = logMessage;
    if (setjmp(d.errors.returnPoint) != 0) {
        LOG("ERROR! Failed to decode JPEG file " << name);
        return -1;
    }
    jpeg_create_decompress(&d.info);

    d.file = fopen(name.c_str(), "rb");
    if (d.file == nullptr) {
        LOG("ERROR! Failed to open file " << name);
        return -1;
    }

    jpeg_stdio_src(&d.info, d.file);
    jpeg_read_header(&d.info, TRUE);
    if (!checkSize(name, d.info.image_width, d.info.image_height)) return -1;
    jpeg_start_decompress(&d.info);

    const size_t width = d.info.output_width;
    const size_t height = d.info.output_height;
    const size_t rowStride = width * static_cast<size_t>(d.info.output_components);
    LOG("Image length: " << width);
    LOG("Image width: " << height);
    LOG("Bytes per row: " << rowStride);
    LOG("Bytes per pixel = " << rowStride / width);
    LOG("Bits per pixel = " << rowStride / width * 8);
    if (d.info.output_components != 3) {
        LOG("ERROR! " << name << " does not decode to 3 colour components but " << d.info.output_components);
        return -1;
    }

    JSAMPARRAY row = (*d.info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d.info), JPOOL_IMAGE,
                                                  static_cast<JDIMENSION>(rowStride), 1);
    d.scratch = new (std::nothrow) unsigned char[rowStride * height];
    if (d.scratch == nullptr) return -1;

    while (d.info.output_scanline < d.info.output_height) {
        const size_t line = d.info.output_scanline;
        jpeg_read_scanlines(&d.info, row, 1);
        std::memcpy(d.scratch + line * rowStride, row[0], rowStride);
    }
    jpeg_finish_decompress(&d.info);

    // The picture's bottom row goes first.
    d.pixels = allocatePixels(rowStride * height);
    for (size_t line = 0; line < height; ++line)
        std::memcpy(d.pixels + line * rowStride, d.scratch + (height - 1 - line) * rowStride, width * 3);

    setPixels(d.pixels);
    d.pixels = nullptr;
    setWidth(static_cast<uint32_t>(width));
    setHeight(static_cast<uint32_t>(height));
    setBitsPerPixel(24);
    return 0;
}
