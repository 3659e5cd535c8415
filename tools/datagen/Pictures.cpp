#include "Pictures.h"

#include <algorithm>
#include <vector>

#include "Font.h"

namespace datagen {

namespace {

Rgb darker(Rgb c)
{
    return opaque(Rgb{static_cast<std::uint8_t>(c.r * 45 / 100), static_cast<std::uint8_t>(c.g * 45 / 100),
                      static_cast<std::uint8_t>(c.b * 45 / 100)});
}

Rgb labelColour(Rgb background)
{
    int luminance = (299 * background.r + 587 * background.g + 114 * background.b) / 1000;
    return luminance > 140 ? Rgb{1, 1, 1} : Rgb{250, 250, 250};
}

std::string stem(const std::string& name)
{
    size_t slash = name.find_last_of('/');
    std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    size_t dot = base.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? base : base.substr(0, dot);
}

void drawLines(Canvas& canvas, const std::vector<std::string>& lines, int x0, int y0, int w, int h, int scale,
               Rgb colour)
{
    int lineHeight = (kFontHeight + 1) * scale;
    int blockHeight = static_cast<int>(lines.size()) * lineHeight - scale;
    int y = y0 + (h - blockHeight) / 2;
    for (const std::string& line : lines) {
        drawText(canvas, x0 + (w - textWidth(static_cast<int>(line.size()), scale)) / 2, y, line, scale, colour);
        y += lineHeight;
    }
}

// Letters the name into the box (x0, y0, w, h) as large as it fits, up to a scale of 8, breaking
// lines between words where it can; falls back to the name without its extension, and when even
// that does not fit at scale 1 it shows the lines that fit.
void letterName(Canvas& canvas, const std::string& name, int x0, int y0, int w, int h, Rgb colour)
{
    if (w < kFontWidth || h < kFontHeight)
        return;
    const std::string candidates[] = {name, stem(name)};
    for (const std::string& text : candidates) {
        // Words kept whole if possible, even at a smaller scale.
        for (bool wholeWords : {true, false}) {
            for (int scale = 8; scale >= 1; --scale) {
                int columns = (w + scale) / ((kFontWidth + 1) * scale);
                int rows = (h + scale) / ((kFontHeight + 1) * scale);
                std::vector<std::string> lines = wrapText(text, columns, wholeWords);
                if (!lines.empty() && static_cast<int>(lines.size()) <= rows) {
                    drawLines(canvas, lines, x0, y0, w, h, scale, colour);
                    return;
                }
            }
        }
    }
    std::vector<std::string> lines = wrapText(stem(name), (w + 1) / (kFontWidth + 1));
    lines.resize(std::min(lines.size(), static_cast<size_t>((h + 1) / (kFontHeight + 1))));
    drawLines(canvas, lines, x0, y0, w, h, 1, colour);
}

// Whether the centre of pixel (x, y) lies in the rectangle [x0, x1) x [y0, y1) with corners
// rounded to radius r.
bool insideRounded(int x, int y, int x0, int y0, int x1, int y1, int r)
{
    double px = x + 0.5;
    double py = y + 0.5;
    if (px < x0 || px >= x1 || py < y0 || py >= y1)
        return false;
    double cx = std::clamp(px, static_cast<double>(x0 + r), static_cast<double>(x1 - r));
    double cy = std::clamp(py, static_cast<double>(y0 + r), static_cast<double>(y1 - r));
    double dx = px - cx;
    double dy = py - cy;
    return dx * dx + dy * dy <= static_cast<double>(r) * r;
}

}  // namespace

std::uint32_t nameHash(const std::string& text)
{
    std::uint32_t h = 2166136261u;
    for (unsigned char c : text) {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}

Rgb colourFromName(const std::string& name)
{
    std::uint32_t h = nameHash(name);
    auto channel = [](std::uint32_t v) { return static_cast<std::uint8_t>(40 + v % 181); };
    return Rgb{channel(h & 0xFF), channel((h >> 8) & 0xFF), channel((h >> 16) & 0xFF)};
}

Canvas makeImage(const std::string& name, int width, int height)
{
    Rgb fill = colourFromName(name);
    Canvas canvas(width, height, fill);
    int border = std::min(width, height) >= 32 ? 2 : 1;
    if (std::min(width, height) <= 2 * border)
        return canvas;
    Rgb edge = darker(fill);
    canvas.fillRect(0, 0, width, border, edge);
    canvas.fillRect(0, height - border, width, border, edge);
    canvas.fillRect(0, 0, border, height, edge);
    canvas.fillRect(width - border, 0, border, height, edge);
    int inset = border + 1;
    letterName(canvas, name, inset, inset, width - 2 * inset, height - 2 * inset, labelColour(fill));
    return canvas;
}

Canvas makeSprite(const std::string& name, int width, int height)
{
    Canvas canvas(width, height, kTransparent);
    int margin = std::max(1, std::min(width, height) / 8);
    int x0 = margin;
    int y0 = margin;
    int x1 = width - margin;
    int y1 = height - margin;
    if (x1 <= x0 || y1 <= y0)
        return canvas;
    int inner = std::min(x1 - x0, y1 - y0);
    int radius = inner / 4;
    int border = inner >= 24 ? 2 : 1;
    Rgb fill = colourFromName(name);
    Rgb edge = darker(fill);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (!insideRounded(x, y, x0, y0, x1, y1, radius))
                continue;
            bool core = insideRounded(x, y, x0 + border, y0 + border, x1 - border, y1 - border,
                                      std::max(0, radius - border));
            canvas.set(x, y, core ? fill : edge);
        }
    }
    // Keep the lettering clear of the rounded corners.
    int inset = border + 1 + radius * 3 / 10;
    letterName(canvas, name, x0 + inset, y0 + inset, x1 - x0 - 2 * inset, y1 - y0 - 2 * inset, labelColour(fill));
    return canvas;
}

Canvas makeGlyph(int width, int height, char character)
{
    Canvas canvas(width, height, kTransparent);
    int scale = std::max(1, std::min((width - 2) / kFontWidth, (height - 2) / kFontHeight));
    int x = (width - kFontWidth * scale) / 2;
    int y = (height - kFontHeight * scale) / 2;
    drawText(canvas, x, y, std::string(1, character), scale, Rgb{240, 240, 240});
    return canvas;
}

}  // namespace datagen
