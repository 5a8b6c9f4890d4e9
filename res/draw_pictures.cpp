// Draws Mirabo's pictures and icon into res/:
//
//   coordinate_rotation.bmp  bitmap 110, 119 x 118, coordinate-rotation dialog
//   right_triangle.bmp       bitmap 112, 128 x 127, right-triangle dialog
//   oblique_triangle.bmp     bitmap 115, 128 x 127, oblique-triangle dialog
//   mirabo.ico               icon group 101, 32 x 32 and 16 x 16, 16 colours
//   icons/N.png              the same icon for the desktop, N x N pixels for
//                            N = 16, 24, 32, 48, 64, 128 and 256, smoothed
//   icons/scalable.svg       the same icon as a scalable drawing
//   windows/application.ico  the program's icon on Windows, the desktop
//                            icon's pictures in one file: 16 to 128 pixels
//                            in 32 bits, 256 as PNG
//
// The generated files are committed; run this by hand after changing a
// drawing, from the top of the source tree:
//
//   c++ -std=c++17 -O2 -o /tmp/draw_pictures res/draw_pictures.cpp -lz
//   mkdir -p res/icons && /tmp/draw_pictures res
//
// or build the CMake target draw_pictures (not part of the default build).
//
// The bitmaps are 8 bits per pixel with a 256-entry colour table in which
// every entry is black, red or white; the background is white. Letters come
// from the small pixel font below, so the output does not depend on any
// fonts installed on the machine. Besides the standard library, only zlib is
// used, for the compressed image data of the PNG files.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include <zlib.h>

namespace {

// ---------------------------------------------------------------------------
// Canvas of palette indices, origin at the top-left corner, y downwards.

struct Canvas {
    int width;
    int height;
    std::vector<std::uint8_t> pixels;

    Canvas(int w, int h, std::uint8_t background)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, background) {}

    void Set(int x, int y, std::uint8_t colour) {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        pixels[static_cast<std::size_t>(y) * width + x] = colour;
    }
    std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

void DrawLine(Canvas& c, int x0, int y0, int x1, int y1, std::uint8_t colour) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        c.Set(x0, y0, colour);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void FillRect(Canvas& c, int x, int y, int w, int h, std::uint8_t colour) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) c.Set(i, j, colour);
}

constexpr double kPi = 3.14159265358979323846;

// Direction of a pixel seen from (cx, cy), in degrees counter-clockwise from
// the positive x axis with y pointing up, in [0, 360).
double DirectionDegrees(double cx, double cy, double px, double py) {
    double a = std::atan2(cy - py, px - cx) * 180.0 / kPi;
    if (a < 0) a += 360.0;
    return a;
}

// Fills the sector of radius r around the vertex (cx, cy) that runs
// counter-clockwise from direction `from` to direction `to` (degrees, y up).
void FillSector(Canvas& c, int cx, int cy, double r, double from, double to, std::uint8_t colour) {
    const double span = std::fmod(to - from + 360.0, 360.0);
    for (int y = cy - static_cast<int>(r) - 1; y <= cy + static_cast<int>(r) + 1; ++y) {
        for (int x = cx - static_cast<int>(r) - 1; x <= cx + static_cast<int>(r) + 1; ++x) {
            const double dx = x - cx;
            const double dy = y - cy;
            if (dx * dx + dy * dy > r * r) continue;
            if (dx == 0 && dy == 0) {
                c.Set(x, y, colour);
                continue;
            }
            const double a = std::fmod(DirectionDegrees(cx, cy, x, y) - from + 360.0, 360.0);
            if (a <= span) c.Set(x, y, colour);
        }
    }
}

void FillDisc(Canvas& c, double cx, double cy, double r, std::uint8_t colour) {
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            const double dx = x + 0.5 - cx;
            const double dy = y + 0.5 - cy;
            if (dx * dx + dy * dy <= r * r) c.Set(x, y, colour);
        }
}

// Fills the triangle with the given corners (pixel coordinates of corner
// pixels, inclusive).
void FillTriangle(Canvas& c, double x0, double y0, double x1, double y1, double x2, double y2,
                  std::uint8_t colour) {
    auto edge = [](double ax, double ay, double bx, double by, double px, double py) {
        return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
    };
    const double area = edge(x0, y0, x1, y1, x2, y2);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            double e0 = edge(x0, y0, x1, y1, x, y);
            double e1 = edge(x1, y1, x2, y2, x, y);
            double e2 = edge(x2, y2, x0, y0, x, y);
            if (area < 0) {
                e0 = -e0;
                e1 = -e1;
                e2 = -e2;
            }
            if (e0 >= 0 && e1 >= 0 && e2 >= 0) c.Set(x, y, colour);
        }
}

// ---------------------------------------------------------------------------
// Pixel font: only the characters the pictures need. `ascent` rows stand
// above the baseline, the remaining rows hang below it.

struct Glyph {
    char32_t ch;
    int ascent;
    std::vector<const char*> rows;
};

const std::vector<Glyph>& Font() {
    // clang-format off
    static const std::vector<Glyph> font = {
        {U'a', 6, {".####.",
                   ".....#",
                   ".#####",
                   "#....#",
                   "#...##",
                   ".###.#"}},
        {U'b', 9, {"#.....",
                   "#.....",
                   "#.....",
                   "#.###.",
                   "##...#",
                   "#....#",
                   "#....#",
                   "##...#",
                   "#.###."}},
        {U'c', 6, {".####.",
                   "#....#",
                   "#.....",
                   "#.....",
                   "#....#",
                   ".####."}},
        {U'α', 6, {".###..#",
                   "#...#.#",
                   "#....#.",
                   "#....#.",
                   "#...#.#",
                   ".###..#"}},
        {U'β', 9, {".###.",
                   "#...#",
                   "#...#",
                   "#..#.",
                   "###..",
                   "#..#.",
                   "#...#",
                   "#...#",
                   "####.",
                   "#....",
                   "#....",
                   "#...."}},
        {U'γ', 6, {"#...#",
                   "#...#",
                   ".#.#.",
                   ".#.#.",
                   "..#..",
                   "..#..",
                   ".#.#.",
                   ".#.#.",
                   "..#.."}},
        {U'X', 7, {"#...#",
                   "#...#",
                   ".#.#.",
                   "..#..",
                   ".#.#.",
                   "#...#",
                   "#...#"}},
        {U'Y', 7, {"#...#",
                   "#...#",
                   ".#.#.",
                   "..#..",
                   "..#..",
                   "..#..",
                   "..#.."}},
        {U'1', 7, {"..#..",
                   ".##..",
                   "..#..",
                   "..#..",
                   "..#..",
                   "..#..",
                   ".###."}},
        {U'2', 7, {".###.",
                   "#...#",
                   "....#",
                   "...#.",
                   "..#..",
                   ".#...",
                   "#####"}},
        {U',', 2, {".#",
                   ".#",
                   "#."}},
    };
    // clang-format on
    return font;
}

const Glyph& FindGlyph(char32_t ch) {
    for (const Glyph& g : Font())
        if (g.ch == ch) return g;
    std::cerr << "draw_pictures: no glyph for U+" << std::hex << static_cast<std::uint32_t>(ch) << "\n";
    std::exit(1);
}

int GlyphWidth(const Glyph& g) { return static_cast<int>(std::string(g.rows[0]).size()); }

int TextWidth(const std::u32string& text) {
    int w = 0;
    for (char32_t ch : text) w += GlyphWidth(FindGlyph(ch)) + 1;
    return w > 0 ? w - 1 : 0;
}

// Draws the text with its left edge at x and its baseline just below row y.
void DrawText(Canvas& c, int x, int baseline, const std::u32string& text, std::uint8_t colour) {
    for (char32_t ch : text) {
        const Glyph& g = FindGlyph(ch);
        const int top = baseline - g.ascent + 1;
        for (std::size_t row = 0; row < g.rows.size(); ++row) {
            const std::string bits = g.rows[row];
            for (std::size_t col = 0; col < bits.size(); ++col)
                if (bits[col] == '#') c.Set(x + static_cast<int>(col), top + static_cast<int>(row), colour);
        }
        x += GlyphWidth(g) + 1;
    }
}

// Draws one letter so that its x-height box (or its whole body for capitals
// and tall letters) is centred on (cx, cy).
void DrawLetterCentred(Canvas& c, double cx, double cy, char32_t ch, std::uint8_t colour) {
    const Glyph& g = FindGlyph(ch);
    const int w = GlyphWidth(g);
    const int body = g.ascent;  // rows above the baseline
    const int x = static_cast<int>(std::lround(cx - w / 2.0));
    const int baseline = static_cast<int>(std::lround(cy + body / 2.0)) - 1;
    DrawText(c, x, baseline, std::u32string(1, ch), colour);
}

// ---------------------------------------------------------------------------
// Files

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

struct Rgb {
    std::uint8_t r, g, b;
};

// BITMAPINFOHEADER; a positive height means bottom-up rows.
void PutInfoHeader(std::vector<std::uint8_t>& out, int width, int height, int bitCount,
                   std::uint32_t imageSize, std::uint32_t coloursUsed) {
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bitCount));
    Put32(out, 0);  // BI_RGB
    Put32(out, imageSize);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, coloursUsed);
    Put32(out, 0);
}

void PutPalette(std::vector<std::uint8_t>& out, const std::vector<Rgb>& palette) {
    for (const Rgb& c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!f) {
        std::cerr << "draw_pictures: cannot write " << path << "\n";
        std::exit(1);
    }
    std::cout << "wrote " << path << " (" << bytes.size() << " bytes)\n";
}

// Picture colours: palette indices of the 8-bit bitmaps.
constexpr std::uint8_t kBlack = 0;
constexpr std::uint8_t kRed = 1;
constexpr std::uint8_t kWhite = 255;

void WriteBitmap(const std::string& path, const Canvas& c) {
    std::vector<Rgb> palette(256, Rgb{255, 255, 255});
    palette[kBlack] = Rgb{0, 0, 0};
    palette[kRed] = Rgb{255, 0, 0};
    const int stride = (c.width + 3) & ~3;
    const std::uint32_t imageSize = static_cast<std::uint32_t>(stride * c.height);
    const std::uint32_t offset = 14 + 40 + 256 * 4;

    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageSize);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, offset);
    PutInfoHeader(out, c.width, c.height, 8, imageSize, 256);
    PutPalette(out, palette);
    for (int y = c.height - 1; y >= 0; --y) {
        for (int x = 0; x < c.width; ++x) out.push_back(c.At(x, y));
        for (int x = c.width; x < stride; ++x) out.push_back(0);
    }
    WriteFile(path, out);
}

// The standard 16-colour palette of 4-bit icons.
const std::vector<Rgb>& IconPalette() {
    // clang-format off
    static const std::vector<Rgb> palette = {
        {0, 0, 0},       {128, 0, 0},     {0, 128, 0},   {128, 128, 0},
        {0, 0, 128},     {128, 0, 128},   {0, 128, 128}, {192, 192, 192},
        {128, 128, 128}, {255, 0, 0},     {0, 255, 0},   {255, 255, 0},
        {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255},
    };
    // clang-format on
    return palette;
}
constexpr std::uint8_t kIconBlack = 0;
constexpr std::uint8_t kIconRed = 9;
constexpr std::uint8_t kIconYellow = 11;

// One icon image: header, palette, 4-bit colour rows, 1-bit AND mask rows
// (all zero: every pixel is opaque), both bottom-up.
std::vector<std::uint8_t> IconImage(const Canvas& c) {
    const int xorStride = ((c.width * 4 + 31) / 32) * 4;
    const int andStride = ((c.width + 31) / 32) * 4;
    const std::uint32_t imageSize = static_cast<std::uint32_t>((xorStride + andStride) * c.height);
    std::vector<std::uint8_t> out;
    PutInfoHeader(out, c.width, 2 * c.height, 4, imageSize, 16);
    PutPalette(out, IconPalette());
    for (int y = c.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(xorStride), 0);
        for (int x = 0; x < c.width; ++x) {
            const std::uint8_t v = c.At(x, y) & 0x0F;
            row[static_cast<std::size_t>(x / 2)] |= (x % 2 == 0) ? static_cast<std::uint8_t>(v << 4) : v;
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = 0; y < c.height; ++y)
        for (int i = 0; i < andStride; ++i) out.push_back(0);
    return out;
}

// One image of an icon file, as its directory entry describes it.
struct IconEntry {
    int width;
    int height;
    std::uint8_t colours;  // 0 for no palette
    unsigned bitsPerPixel;
    std::vector<std::uint8_t> data;
};

// An icon file: its header, a directory entry an image, then the images.
void WriteIconFile(const std::string& path, const std::vector<IconEntry>& entries) {
    std::vector<std::uint8_t> out;
    Put16(out, 0);  // reserved
    Put16(out, 1);  // icon
    Put16(out, static_cast<unsigned>(entries.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
    for (const IconEntry& e : entries) {
        out.push_back(static_cast<std::uint8_t>(e.width & 0xFF));  // 256 is 0
        out.push_back(static_cast<std::uint8_t>(e.height & 0xFF));
        out.push_back(e.colours);
        out.push_back(0);
        Put16(out, 1);  // planes
        Put16(out, e.bitsPerPixel);
        Put32(out, static_cast<std::uint32_t>(e.data.size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(e.data.size());
    }
    for (const IconEntry& e : entries) out.insert(out.end(), e.data.begin(), e.data.end());
    WriteFile(path, out);
}

void WriteIcon(const std::string& path, const std::vector<Canvas>& images) {
    std::vector<IconEntry> entries;
    for (const Canvas& c : images) entries.push_back({c.width, c.height, 16, 4, IconImage(c)});
    WriteIconFile(path, entries);
}

// PNG: signature, then chunks of length, type, data and the CRC of type and
// data. The image is 8-bit RGB, rows each preceded by filter type 0, the
// whole compressed as one zlib stream.
void PutBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFF));
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
    PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    PutBigEndian32(out, static_cast<std::uint32_t>(crc));
}

// An RGB picture, three bytes a pixel, rows top to bottom.
struct RgbCanvas {
    int width;
    int height;
    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> PngBytes(const RgbCanvas& c) {
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < c.height; ++y) {
        raw.push_back(0);  // no filter
        const auto row = c.bytes.begin() + static_cast<std::ptrdiff_t>(y) * c.width * 3;
        raw.insert(raw.end(), row, row + c.width * 3);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
        std::cerr << "draw_pictures: cannot compress a " << c.width << "-pixel picture\n";
        std::exit(1);
    }
    packed.resize(packedSize);

    std::vector<std::uint8_t> header;
    PutBigEndian32(header, static_cast<std::uint32_t>(c.width));
    PutBigEndian32(header, static_cast<std::uint32_t>(c.height));
    header.push_back(8);  // bits per sample
    header.push_back(2);  // colour type: RGB
    header.push_back(0);  // deflate
    header.push_back(0);  // filter method
    header.push_back(0);  // not interlaced

    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return out;
}

void WritePng(const std::string& path, const RgbCanvas& c) { WriteFile(path, PngBytes(c)); }

// The program's icon for Windows: one image a size, 32 bits a pixel (blue,
// green, red, alpha; every pixel opaque) with an all-zero AND mask, bottom-up;
// the 256-pixel image as PNG, whose entry gives its size as 0.
std::vector<std::uint8_t> TrueColourIconImage(const RgbCanvas& c) {
    const int andStride = ((c.width + 31) / 32) * 4;
    std::vector<std::uint8_t> out;
    PutInfoHeader(out, c.width, 2 * c.height, 32,
                  static_cast<std::uint32_t>((c.width * 4 + andStride) * c.height), 0);
    for (int y = c.height - 1; y >= 0; --y)
        for (int x = 0; x < c.width; ++x) {
            const std::size_t at = (static_cast<std::size_t>(y) * c.width + x) * 3;
            out.insert(out.end(), {c.bytes[at + 2], c.bytes[at + 1], c.bytes[at], 255});
        }
    out.insert(out.end(), static_cast<std::size_t>(andStride) * c.height, 0);
    return out;
}

void WriteApplicationIcon(const std::string& path, const std::vector<RgbCanvas>& images) {
    std::vector<IconEntry> entries;
    for (const RgbCanvas& c : images) {
        entries.push_back({c.width, c.height, 0, 32, c.width >= 256 ? PngBytes(c) : TrueColourIconImage(c)});
    }
    WriteIconFile(path, entries);
}

void WriteText(const std::string& path, const std::string& text) {
    WriteFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

// ---------------------------------------------------------------------------
// The pictures

Canvas DrawCoordinateRotation() {
    Canvas c(119, 118, kWhite);
    const int ox = 14;
    const int oy = 103;

    // Rays from the origin to the point before (shallow) and after (steep)
    // the move; the angle between them is the angle of the move.
    const double from = 18.0;
    const double to = 58.0;
    const double length = 82.0;
    FillSector(c, ox, oy, 30.0, from, to, kRed);

    // Axes with small arrow heads.
    DrawLine(c, ox, oy + 10, ox, 4, kBlack);
    DrawLine(c, ox - 10, oy, 114, oy, kBlack);
    DrawLine(c, ox, 4, ox - 3, 8, kBlack);
    DrawLine(c, ox, 4, ox + 3, 8, kBlack);
    DrawLine(c, 114, oy, 110, oy - 3, kBlack);
    DrawLine(c, 114, oy, 110, oy + 3, kBlack);

    const auto end = [&](double degrees) {
        const double r = degrees * kPi / 180.0;
        return std::pair<int, int>(static_cast<int>(std::lround(ox + length * std::cos(r))),
                                   static_cast<int>(std::lround(oy - length * std::sin(r))));
    };
    const auto [x1, y1] = end(from);
    const auto [x2, y2] = end(to);
    DrawLine(c, ox, oy, x1, y1, kBlack);
    DrawLine(c, ox, oy, x2, y2, kBlack);
    FillRect(c, x1 - 1, y1 - 1, 3, 3, kBlack);
    FillRect(c, x2 - 1, y2 - 1, 3, 3, kBlack);

    const std::u32string label1 = U"X1,Y1";
    const std::u32string label2 = U"X2,Y2";
    DrawText(c, std::min(x1 - 6, c.width - 2 - TextWidth(label1)), y1 - 5, label1, kRed);
    DrawText(c, x2 + 5, y2 + 3, label2, kRed);

    const double mid = (from + to) / 2.0 * kPi / 180.0;
    DrawLetterCentred(c, ox + 40.0 * std::cos(mid), oy - 40.0 * std::sin(mid), U'α', kRed);
    return c;
}

// Right or oblique triangle: base a along the bottom, side b along the
// right, slanted side c from the bottom-left to the top-right corner.
Canvas DrawTriangle(bool rightAngleSquare) {
    Canvas c(128, 127, kWhite);
    const int ax = 12, ay = 104;   // bottom-left corner (between a and c)
    const int cx = 112, cy = 104;  // bottom-right corner (between a and b)
    const int bx = 112, by = 20;   // top corner (between c and b)

    const double alpha = DirectionDegrees(ax, ay, bx, by);  // direction of c
    const double towardsA = DirectionDegrees(bx, by, ax, ay);
    FillSector(c, ax, ay, 22.0, 0.0, alpha, kRed);
    FillSector(c, bx, by, 22.0, towardsA, 270.0, kRed);
    if (!rightAngleSquare) FillSector(c, cx, cy, 16.0, 90.0, 180.0, kRed);

    DrawLine(c, ax, ay, cx, cy, kBlack);
    DrawLine(c, cx, cy, bx, by, kBlack);
    DrawLine(c, ax, ay, bx, by, kBlack);
    if (rightAngleSquare) {
        DrawLine(c, cx - 9, cy, cx - 9, cy - 9, kBlack);
        DrawLine(c, cx - 9, cy - 9, cx, cy - 9, kBlack);
    }

    // Side names: a beneath the base, b right of side b, c above the middle
    // of the slanted side.
    DrawLetterCentred(c, (ax + cx) / 2.0, ay + 8.0, U'a', kBlack);
    DrawLetterCentred(c, cx + 8.0, (by + cy) / 2.0, U'b', kBlack);
    const double len = std::hypot(bx - ax, by - ay);
    const double nx = (by - ay) / len;  // unit normal pointing up-left
    const double ny = (ax - bx) / len;
    DrawLetterCentred(c, (ax + bx) / 2.0 + 10.0 * nx, (ay + by) / 2.0 + 10.0 * ny, U'c', kBlack);

    // Angle names just outside their sectors, on the bisectors.
    const auto place = [&](int vx, int vy, double direction, double r, char32_t ch) {
        const double rad = direction * kPi / 180.0;
        DrawLetterCentred(c, vx + r * std::cos(rad), vy - r * std::sin(rad), ch, kBlack);
    };
    place(ax, ay, alpha / 2.0, 32.0, U'α');
    place(bx, by, (towardsA + 270.0) / 2.0, 32.0, U'β');
    if (!rightAngleSquare) place(cx, cy, 135.0, 26.0, U'γ');
    return c;
}

Canvas DrawIcon(int size) {
    Canvas c(size, size, kIconBlack);
    const double s = size / 32.0;
    FillDisc(c, size / 2.0, size / 2.0, 14.0 * s, kIconRed);
    // Right angle at the bottom-right, slanted side bottom-left to top-right;
    // the triangle stays inside the disc so that red shows all round it.
    const double lo = 6.0 * s;
    const double hi = size - 1 - 6.0 * s;
    FillTriangle(c, lo, hi, hi, hi, hi, lo, kIconYellow);
    return c;
}

// The icon's shapes on a 32-unit square, y downwards: the disc, and the
// triangle's corners with the right angle at the bottom-right. The smooth
// and scalable icons use these; the 16-colour images above place the same
// shapes on whole pixels.
constexpr double kDiscCentre = 16.0;
constexpr double kDiscRadius = 14.0;
constexpr double kTriangleNear = 6.5;  // left and top ends of the legs
constexpr double kTriangleFar = 25.5;  // the right angle's corner

// Which colour the point (u, v) of the 32-unit square shows.
Rgb IconColourAt(double u, double v) {
    const Rgb black{0, 0, 0}, red{255, 0, 0}, yellow{255, 255, 0};
    // Inside the triangle: left of the slanted side, above the base and left
    // of the vertical leg.
    if (u <= kTriangleFar && v <= kTriangleFar && u + v >= kTriangleNear + kTriangleFar) return yellow;
    const double du = u - kDiscCentre, dv = v - kDiscCentre;
    return du * du + dv * dv <= kDiscRadius * kDiscRadius ? red : black;
}

// The icon at `size` pixels, each pixel the mean of 8 x 8 samples, so the
// edges are smooth at every size.
RgbCanvas DrawSmoothIcon(int size) {
    constexpr int kSamples = 8;
    RgbCanvas c{size, size, std::vector<std::uint8_t>(static_cast<std::size_t>(size) * size * 3)};
    const double unit = 32.0 / size;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int r = 0, g = 0, b = 0;
            for (int j = 0; j < kSamples; ++j)
                for (int i = 0; i < kSamples; ++i) {
                    const Rgb colour =
                        IconColourAt((x + (i + 0.5) / kSamples) * unit, (y + (j + 0.5) / kSamples) * unit);
                    r += colour.r;
                    g += colour.g;
                    b += colour.b;
                }
            constexpr int n = kSamples * kSamples;
            const std::size_t at = (static_cast<std::size_t>(y) * size + x) * 3;
            c.bytes[at] = static_cast<std::uint8_t>((r + n / 2) / n);
            c.bytes[at + 1] = static_cast<std::uint8_t>((g + n / 2) / n);
            c.bytes[at + 2] = static_cast<std::uint8_t>((b + n / 2) / n);
        }
    return c;
}

std::string ScalableIcon() {
    const auto number = [](double v) {
        std::string text = std::to_string(v);
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') text.pop_back();
        return text;
    };
    const std::string nearText = number(kTriangleNear), farText = number(kTriangleFar);
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" viewBox=\"0 0 32 32\">\n"
           "  <title>Mirabo</title>\n"
           "  <rect width=\"32\" height=\"32\" fill=\"#000000\"/>\n"
           "  <circle cx=\"" +
           number(kDiscCentre) + "\" cy=\"" + number(kDiscCentre) + "\" r=\"" + number(kDiscRadius) +
           "\" fill=\"#ff0000\"/>\n"
           "  <polygon points=\"" +
           nearText + "," + farText + " " + farText + "," + farText + " " + farText + "," + nearText +
           "\" fill=\"#ffff00\"/>\n"
           "</svg>\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : ".";
    if (!dir.empty() && dir.back() != '/') dir += '/';
    WriteBitmap(dir + "coordinate_rotation.bmp", DrawCoordinateRotation());
    WriteBitmap(dir + "right_triangle.bmp", DrawTriangle(true));
    WriteBitmap(dir + "oblique_triangle.bmp", DrawTriangle(false));
    WriteIcon(dir + "mirabo.ico", {DrawIcon(32), DrawIcon(16)});
    std::vector<RgbCanvas> smooth;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        smooth.push_back(DrawSmoothIcon(size));
        WritePng(dir + "icons/" + std::to_string(size) + ".png", smooth.back());
    }
    WriteApplicationIcon(dir + "windows/application.ico", smooth);
    WriteText(dir + "icons/scalable.svg", ScalableIcon());
    return 0;
}
