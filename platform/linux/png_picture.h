// The program's own PNG pictures (the desktop icon's sizes) decoded with
// libpng itself, without Qt's image reader, which loads every image-format
// plugin it can find before it reads a PNG.
#pragma once

#include <QImage>

#include <cstddef>

namespace mirabo::platform {

// The picture as Qt's own reader gives an 8-bit PNG that carries no gamma or
// colour profile: RGB32 when it has no transparency, ARGB32 when it has. A
// null image for data that is not such a PNG or is cut short.
QImage DecodePngPicture(const unsigned char* data, std::size_t size);

}  // namespace mirabo::platform
