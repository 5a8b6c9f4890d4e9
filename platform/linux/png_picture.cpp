#include "platform/linux/png_picture.h"

#include <png.h>

#include <cstring>

namespace mirabo::platform {

// libpng writes B, G, R, A bytes: ARGB32's pixels in memory on a
// little-endian machine, and RGB32's when the alpha is 255 throughout.
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "pixels are read as B, G, R, A bytes");

QImage DecodePngPicture(const unsigned char* data, std::size_t size) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (data == nullptr || !png_image_begin_read_from_memory(&png, data, size)) {
        png_image_free(&png);
        return QImage();
    }
    const bool hasAlpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png.format = PNG_FORMAT_BGRA;
    QImage picture(static_cast<int>(png.width), static_cast<int>(png.height),
                   hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (picture.isNull() ||
        !png_image_finish_read(&png, nullptr, picture.bits(), static_cast<png_int_32>(picture.bytesPerLine()),
                               nullptr)) {
        png_image_free(&png);
        return QImage();
    }
    return picture;
}

}  // namespace mirabo::platform
