#include "platform/linux/dib.h"

#include <cstdint>
#include <vector>

#include "platform/linux/win32_api.h"
#include "resfile/byte_reader.h"

namespace mirabo::platform {

namespace {

constexpr std::int64_t kMaxSide = 8192;

// The fields of BITMAPINFOHEADER that decoding looks at.
struct DibHeader {
    DWORD size = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: top-down
    int bitCount = 0;
    DWORD compression = 0;
    DWORD colorsUsed = 0;
};

// Reads the header; false when the data is too short for it or the header
// says it is longer than the data.
bool ReadHeader(const unsigned char* data, std::size_t size, DibHeader* header) {
    if (data == nullptr || size < 40) return false;
    ByteReader reader(data, size);
    header->size = reader.Dword();
    header->width = reader.Long();
    header->height = reader.Long();
    reader.Word();  // planes
    header->bitCount = reader.Word();
    header->compression = reader.Dword();
    reader.Dword();  // image size
    reader.Long();   // horizontal resolution
    reader.Long();   // vertical resolution
    header->colorsUsed = reader.Dword();
    return reader.ok() && header->size >= 40 && header->size <= size;
}

// The number of colour-table entries a header announces.
std::size_t PaletteSize(const DibHeader& header) {
    if (header.bitCount > 8) return 0;
    return header.colorsUsed == 0 ? std::size_t{1} << header.bitCount : header.colorsUsed;
}

// Bytes in one row of `bits` bits per pixel, rows padded to four bytes.
std::size_t RowBytes(std::int64_t width, int bits) {
    return static_cast<std::size_t>(((width * bits + 31) / 32) * 4);
}

QImage Decode(const unsigned char* data, std::size_t size, DibHeader header) {
    if (header.compression != 0) return QImage();  // BI_RGB only
    bool topDown = header.height < 0;
    std::int64_t width = header.width;
    std::int64_t height = topDown ? -header.height : header.height;
    int bitCount = header.bitCount;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return QImage();
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) {
        return QImage();
    }

    ByteReader reader(data, size);
    reader.Seek(header.size);
    std::vector<QRgb> palette;
    if (bitCount <= 8) {
        std::size_t colors = PaletteSize(header);
        if (colors > (std::size_t{1} << bitCount)) return QImage();
        for (std::size_t i = 0; i < colors; ++i) {
            BYTE blue = reader.Byte();
            BYTE green = reader.Byte();
            BYTE red = reader.Byte();
            reader.Byte();  // reserved
            palette.push_back(qRgb(red, green, blue));
        }
        if (!reader.ok()) return QImage();
    }

    std::size_t stride = RowBytes(width, bitCount);
    if (stride * static_cast<std::size_t>(height) > reader.remaining()) return QImage();
    const unsigned char* rows = reader.here();

    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (image.isNull()) return QImage();
    for (std::int64_t row = 0; row < height; ++row) {
        const unsigned char* line = rows + stride * static_cast<std::size_t>(row);
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

}  // namespace

QImage DecodeDib(const unsigned char* data, std::size_t size) {
    DibHeader header;
    if (!ReadHeader(data, size, &header)) return QImage();
    return Decode(data, size, header);
}

QImage DecodeIconImage(const unsigned char* data, std::size_t size) {
    DibHeader header;
    if (!ReadHeader(data, size, &header)) return QImage();
    std::int64_t width = header.width;
    std::int64_t doubled = header.height;
    if (width <= 0 || width > 256 || doubled <= 0 || doubled > 512 || doubled % 2 != 0) return QImage();
    // The colour part is an ordinary bitmap of half the stored height.
    std::int64_t height = doubled / 2;
    header.height = height;
    QImage colours = Decode(data, size, header);
    if (colours.isNull()) return QImage();
    std::size_t paletteBytes = 4 * PaletteSize(header);
    std::size_t maskOffset =
        header.size + paletteBytes + RowBytes(width, header.bitCount) * static_cast<std::size_t>(height);
    std::size_t maskStride = RowBytes(width, 1);
    QImage image = colours.convertToFormat(QImage::Format_ARGB32);
    if (maskOffset + maskStride * static_cast<std::size_t>(height) > size) return image;  // no mask: opaque
    for (int row = 0; row < height; ++row) {
        const unsigned char* mask = data + maskOffset + maskStride * static_cast<std::size_t>(row);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(height) - 1 - row));
        for (int x = 0; x < width; ++x) {
            if (mask[x / 8] & (0x80 >> (x % 8))) line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return image;
}

}  // namespace mirabo::platform
