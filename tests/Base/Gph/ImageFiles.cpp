#include "ImageFiles.h"

#include <cstdio>
#include <map>
#include <stdexcept>

#include <jpeglib.h>

namespace imagefiles {

namespace {

void put16(std::vector<unsigned char>& out, uint32_t v)
{
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

void put32(std::vector<unsigned char>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

Picture redOverBlue(int width, int height)
{
    Picture p(width, height, kBlue);
    for (int y = 0; y < height / 2; ++y)
        for (int x = 0; x < width; ++x) p.at(x, y) = kRed;
    return p;
}

Picture distinctColours(int width, int height)
{
    Picture p(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.at(x, y) = Rgb{static_cast<unsigned char>(10 + 20 * x), static_cast<unsigned char>(10 + 30 * y),
                             static_cast<unsigned char>(200 - x - y)};
    return p;
}

std::vector<unsigned char> bottomUpRgb(const Picture& picture)
{
    std::vector<unsigned char> out;
    for (int y = picture.height - 1; y >= 0; --y)
        for (int x = 0; x < picture.width; ++x) {
            const Rgb& c = picture.at(x, y);
            out.insert(out.end(), {c.r, c.g, c.b});
        }
    return out;
}

std::vector<unsigned char> bmpBytes(const Picture& picture, uint32_t gapBytes, bool imageSizeField, bool topDown)
{
    const uint32_t rowBytes = (static_cast<uint32_t>(picture.width) * 3 + 3) / 4 * 4;
    const uint32_t dataSize = rowBytes * static_cast<uint32_t>(picture.height);
    const uint32_t offset = 54 + gapBytes;
    std::vector<unsigned char> out;
    put16(out, 0x4D42);
    put32(out, offset + dataSize);
    put16(out, 0);
    put16(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(picture.width));
    put32(out, static_cast<uint32_t>(topDown ? -picture.height : picture.height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, imageSizeField ? dataSize : 0);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    out.resize(out.size() + gapBytes, 0x77);
    for (int i = 0; i < picture.height; ++i) {
        const int y = topDown ? i : picture.height - 1 - i;
        for (int x = 0; x < picture.width; ++x) {
            const Rgb& c = picture.at(x, y);
            out.insert(out.end(), {c.b, c.g, c.r});
        }
        out.resize(out.size() + (rowBytes - static_cast<uint32_t>(picture.width) * 3), 0);
    }
    return out;
}

std::vector<unsigned char> pcxHeader(int bitsPerPixel, int planes, int xMax, int yMax, int bytesPerLine)
{
    std::vector<unsigned char> h(128, 0);
    h[0] = 10;
    h[1] = 5;
    h[2] = 1;
    h[3] = static_cast<unsigned char>(bitsPerPixel);
    h[8] = static_cast<unsigned char>(xMax & 0xFF);
    h[9] = static_cast<unsigned char>((xMax >> 8) & 0xFF);
    h[10] = static_cast<unsigned char>(yMax & 0xFF);
    h[11] = static_cast<unsigned char>((yMax >> 8) & 0xFF);
    h[65] = static_cast<unsigned char>(planes);
    h[66] = static_cast<unsigned char>(bytesPerLine & 0xFF);
    h[67] = static_cast<unsigned char>((bytesPerLine >> 8) & 0xFF);
    return h;
}

std::vector<unsigned char> rampPalette()
{
    std::vector<unsigned char> palette;
    for (int i = 0; i < 256; ++i)
        palette.insert(palette.end(), {static_cast<unsigned char>(i), static_cast<unsigned char>(255 - i),
                                       static_cast<unsigned char>(i / 2)});
    return palette;
}

std::vector<unsigned char> pcxBytes(const Picture& picture, int bytesPerLine)
{
    if (bytesPerLine < picture.width) bytesPerLine = picture.width;
    // Index 0 is black, for the padding columns; the picture's colours follow.
    std::map<uint32_t, unsigned char> indexOf;
    std::vector<unsigned char> palette(768, 0);
    indexOf[0] = 0;
    for (const Rgb& c : picture.pixels) {
        const uint32_t key = (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b;
        if (indexOf.count(key)) continue;
        if (indexOf.size() == 256) throw std::runtime_error("more than 256 colours");
        const unsigned char index = static_cast<unsigned char>(indexOf.size());
        indexOf[key] = index;
        palette[3 * index] = c.r;
        palette[3 * index + 1] = c.g;
        palette[3 * index + 2] = c.b;
    }
    std::vector<unsigned char> out = pcxHeader(8, 1, picture.width, picture.height, bytesPerLine);
    for (int y = 0; y < picture.height; ++y) {
        std::vector<unsigned char> line(static_cast<size_t>(bytesPerLine), 0);
        for (int x = 0; x < picture.width; ++x) {
            const Rgb& c = picture.at(x, y);
            line[static_cast<size_t>(x)] = indexOf[(uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b];
        }
        for (size_t i = 0; i < line.size();) {
            size_t run = 1;
            while (i + run < line.size() && run < 63 && line[i + run] == line[i]) ++run;
            if (run == 1 && line[i] < 0xC0) {
                out.push_back(line[i]);
            } else {
                out.push_back(static_cast<unsigned char>(0xC0 + run));
                out.push_back(line[i]);
            }
            i += run;
        }
    }
    out.push_back(0x0C);
    out.insert(out.end(), palette.begin(), palette.end());
    return out;
}

void writeJpeg(const std::string& name, const Picture& picture, bool greyscale)
{
    FILE* file = fopen(name.c_str(), "wb");
    if (file == nullptr) throw std::runtime_error("cannot write " + name);
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(picture.width);
    info.image_height = static_cast<JDIMENSION>(picture.height);
    info.input_components = greyscale ? 1 : 3;
    info.in_color_space = greyscale ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row;
    for (int y = 0; y < picture.height; ++y) {
        row.clear();
        for (int x = 0; x < picture.width; ++x) {
            const Rgb& c = picture.at(x, y);
            if (greyscale)
                row.push_back(c.r);
            else
                row.insert(row.end(), {c.r, c.g, c.b});
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    fclose(file);
}

}  // namespace imagefiles
