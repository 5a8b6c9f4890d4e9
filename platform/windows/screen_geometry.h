// The handheld's screen in numbers: its size and strips in device pixels, and
// the scale it is drawn at on a desktop monitor.
#pragma once

#include <windows.h>

namespace mirabo::windows {

constexpr int kDeviceWidth = 320;
constexpr int kDeviceHeight = 240;
constexpr int kStripHeight = 26;

// Device pixels at a scale, rounded to whole pixels.
int Scaled(int devicePixels, double scale);

// The scale asked for by MIRABO_SCALE (2 when unset or out of range).
double RequestedScale();
// The scale for a screen at `dpi` that must fit in `workArea` with a frame
// of `frameWidth` x `frameHeight` pixels around its client area: the
// requested scale times dpi / 96, or else the largest whole scale that fits
// (at least 1).
double FittingScale(double requested, UINT dpi, const RECT& workArea, int frameWidth, int frameHeight);

}  // namespace mirabo::windows
