#include "platform/linux/dib.h"

#include <cstdint>
#include <vector>

namespace mirabo::platform {

namespace {

std::uint32_t Read32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Read16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

constexpr std::int64_t kMaxSide = 8192;

}  // namespace

QImage DecodeDib(const unsigned char* data, std::size_t size) {
    if (data == nullptr || size < 40) return QImage();
    std::uint32_t headerSize = Read32(data);
    if (headerSize < 40 || headerSize > size) return QImage();
    std::int64_t width = static_cast<std::int32_t>(Read32(data + 4));
    std::int64_t height = static_cast<std::int32_t>(Read32(data + 8));
    int bitCount = Read16(data + 14);
    std::uint32_t compression = Read32(data + 16);
    std::uint32_t colorsUsed = Read32(data + 32);
    if (compression != 0) return QImage();  // BI_RGB only
    bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return QImage();
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) {
        return QImage();
    }

    std::vector<QRgb> palette;
    std::size_t offset = headerSize;
    if (bitCount <= 8) {
        std::uint32_t maxColors = 1u << bitCount;
        std::uint32_t colors = colorsUsed == 0 ? maxColors : colorsUsed;
        if (colors > maxColors) return QImage();
        if (colors * 4ull > size - offset) return QImage();
        for (std::uint32_t i = 0; i < colors; ++i) {
            const unsigned char* quad = data + offset + 4 * i;  // blue, green, red, reserved
            palette.push_back(qRgb(quad[2], quad[1], quad[0]));
        }
        offset += colors * 4ull;
    }

    std::size_t stride = static_cast<std::size_t>(((width * bitCount + 31) / 32) * 4);
    if (stride * static_cast<std::size_t>(height) > size - offset) return QImage();

    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (image.isNull()) return QImage();
    for (std::int64_t row = 0; row < height; ++row) {
        const unsigned char* line = data + offset + stride * static_cast<std::size_t>(row);
        int y = static_cast<int>(topDown ? row : height - 1 - row);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (std::int64_t x = 0; x < width; ++x) {
            QRgb color = qRgb(0, 0, 0);
            if (bitCount <= 8) {
                std::size_t bit = static_cast<std::size_t>(x) * bitCount;
                unsigned value = line[bit / 8];
                value = (value >> (8 - bitCount - bit % 8)) & ((1u << bitCount) - 1);
                if (value < palette.size()) color = palette[value];
            } else {
                const unsigned char* pixel = line + x * (bitCount / 8);
                color = qRgb(pixel[2], pixel[1], pixel[0]);
            }
            out[x] = color;
        }
    }
    return image;
}

}  // namespace mirabo::platform
