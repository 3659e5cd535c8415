#include "PictureFormats.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>

#include <jpeglib.h>

namespace datagen {

namespace {

void put16(Bytes& out, size_t at, unsigned value)
{
    out[at] = static_cast<std::uint8_t>(value & 0xFF);
    out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void put32(Bytes& out, size_t at, std::uint32_t value)
{
    put16(out, at, value & 0xFFFF);
    put16(out, at + 2, value >> 16);
}

std::uint32_t packed(Rgb c)
{
    return (static_cast<std::uint32_t>(c.r) << 16) | (static_cast<std::uint32_t>(c.g) << 8) | c.b;
}

// Index bytes of 0xC0 and above would read as run counts, so they always go out as a run.
void putRun(Bytes& out, std::uint8_t index, int count)
{
    if (count == 1 && index < 0xC0) {
        out.push_back(index);
    } else {
        out.push_back(static_cast<std::uint8_t>(0xC0 | count));
        out.push_back(index);
    }
}

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onJpegError(j_common_ptr info)
{
    JpegError* error = reinterpret_cast<JpegError*>(info->err);
    (*info->err->format_message)(info, error->message);
    std::longjmp(error->jump, 1);
}

void silenceJpeg(j_common_ptr, int) {}

// Kept free of C++ objects with destructors, since libjpeg's errors leave it by longjmp.
bool compressJpeg(const std::uint8_t* rgb, int width, int height, int quality, unsigned char** out,
                  unsigned long* size, JpegError* error)
{
    jpeg_compress_struct info;
    info.err = jpeg_std_error(&error->manager);
    error->manager.error_exit = onJpegError;
    error->manager.emit_message = silenceJpeg;
    if (setjmp(error->jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + static_cast<size_t>(info.next_scanline) * width * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

Bytes encodePcx(const Canvas& canvas)
{
    const int width = canvas.width();
    const int height = canvas.height();

    // The palette holds each colour of the picture once; flat pictures have only a few.
    std::map<std::uint32_t, std::uint8_t> indexOf;
    Bytes palette(768, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb c = canvas.at(x, y);
            if (indexOf.count(packed(c)))
                continue;
            if (indexOf.size() == 256)
                throw std::runtime_error("more than 256 colours for a PCX palette");
            size_t index = indexOf.size();
            indexOf[packed(c)] = static_cast<std::uint8_t>(index);
            palette[index * 3] = c.r;
            palette[index * 3 + 1] = c.g;
            palette[index * 3 + 2] = c.b;
        }
    }

    Bytes out(128, 0);
    out[0] = 0x0A;  // manufacturer
    out[1] = 5;     // version with a 256-colour palette
    out[2] = 1;     // run-length coding
    out[3] = 8;     // bits per pixel
    put16(out, 8, static_cast<unsigned>(width));
    put16(out, 10, static_cast<unsigned>(height));
    put16(out, 12, 72);
    put16(out, 14, 72);
    out[65] = 1;  // planes
    put16(out, 66, static_cast<unsigned>(width));
    put16(out, 68, 1);  // colour palette

    // Runs stop at the end of each row, as common readers expect.
    for (int y = 0; y < height; ++y) {
        int x = 0;
        while (x < width) {
            std::uint8_t index = indexOf[packed(canvas.at(x, y))];
            int count = 1;
            while (x + count < width && count < 63 && indexOf[packed(canvas.at(x + count, y))] == index)
                ++count;
            putRun(out, index, count);
            x += count;
        }
    }
    out.push_back(0x0C);
    out.insert(out.end(), palette.begin(), palette.end());
    return out;
}

Bytes encodeBmp(const Canvas& canvas)
{
    const int width = canvas.width();
    const int height = canvas.height();
    const size_t rowSize = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    const size_t dataSize = rowSize * height;

    Bytes out(54 + dataSize, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<std::uint32_t>(out.size()));
    put32(out, 10, 54);  // pixel data offset
    put32(out, 14, 40);  // information header size
    put32(out, 18, static_cast<std::uint32_t>(width));
    put32(out, 22, static_cast<std::uint32_t>(height));  // positive: bottom row first
    put16(out, 26, 1);                                     // planes
    put16(out, 28, 24);                                    // bits per pixel
    put32(out, 30, 0);                                     // no compression
    put32(out, 34, static_cast<std::uint32_t>(dataSize));
    put32(out, 38, 2835);  // 72 dots per inch
    put32(out, 42, 2835);

    for (int y = 0; y < height; ++y) {
        size_t at = 54 + rowSize * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            Rgb c = canvas.at(x, y);
            out[at++] = c.b;
            out[at++] = c.g;
            out[at++] = c.r;
        }
    }
    return out;
}

Bytes encodeJpeg(const Canvas& canvas, int quality)
{
    Bytes rgb;
    rgb.reserve(static_cast<size_t>(canvas.width()) * canvas.height() * 3);
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            Rgb c = canvas.at(x, y);
            rgb.push_back(c.r);
            rgb.push_back(c.g);
            rgb.push_back(c.b);
        }
    }
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    JpegError error{};
    bool ok = compressJpeg(rgb.data(), canvas.width(), canvas.height(), quality, &buffer, &size, &error);
    Bytes out;
    if (ok)
        out.assign(buffer, buffer + size);
    std::free(buffer);
    if (!ok)
        throw std::runtime_error(std::string("libjpeg: ") + error.message);
    return out;
}

}  // namespace datagen
