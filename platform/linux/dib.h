// Device-independent bitmaps as stored in bitmap and icon resources: a header
// (BITMAPINFOHEADER), a colour table and the pixel rows, without the file
// header of a .bmp file; an icon's image adds a transparency mask.
#pragma once

#include <QImage>

#include <cstddef>

namespace mirabo::platform {

// Decodes 1, 4, 8, 24 and 32 bits per pixel, uncompressed, bottom-up or
// top-down. A null image for anything else or for data too short for what
// its header announces.
QImage DecodeDib(const unsigned char* data, std::size_t size);

// Decodes one image of an icon resource (RT_ICON): a device-independent
// bitmap twice the icon's height, the colours then the transparency mask.
QImage DecodeIconImage(const unsigned char* data, std::size_t size);

}  // namespace mirabo::platform
