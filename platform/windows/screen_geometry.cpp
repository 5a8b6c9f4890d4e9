#include "platform/windows/screen_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace mirabo::windows {

int Scaled(int devicePixels, double scale) { return static_cast<int>(std::lround(devicePixels * scale)); }

double RequestedScale() {
    const char* text = std::getenv("MIRABO_SCALE");
    if (text == nullptr || *text == '\0') return 2.0;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(value >= 1.0 && value <= 8.0)) return 2.0;
    return value;
}

double FittingScale(double requested, UINT dpi, const RECT& workArea, int frameWidth, int frameHeight) {
    const double wanted = requested * (dpi != 0 ? dpi : 96) / 96.0;
    const double fitsX = double(workArea.right - workArea.left - frameWidth) / kDeviceWidth;
    const double fitsY = double(workArea.bottom - workArea.top - frameHeight) / kDeviceHeight;
    const double fits = std::min(fitsX, fitsY);
    if (wanted <= fits) return wanted;
    return std::max(1.0, std::floor(fits));
}

}  // namespace mirabo::windows
