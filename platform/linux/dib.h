// Device-independent bitmaps as stored in bitmap resources: a header
// (BITMAPINFOHEADER), a colour table and the pixel rows, without the file
// header of a .bmp file.
#pragma once

#include <QImage>

#include <cstddef>

namespace mirabo::platform {

// Decodes 1, 4, 8, 24 and 32 bits per pixel, uncompressed, bottom-up or
// top-down. A null image for anything else or for data too short for what
// its header announces.
QImage DecodeDib(const unsigned char* data, std::size_t size);

}  // namespace mirabo::platform
