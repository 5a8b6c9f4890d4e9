// The scale the handheld's screen is drawn at on the desktop: as large as
// asked for (twice the handheld's size unless MIRABO_SCALE asks for another
// scale) while the whole desktop window, with the frame the window manager
// puts round it, fits the desktop's available area (the screen less its
// panels). Sizes are Qt's device-independent pixels, so that a high-DPI
// screen, a Qt scale factor or a font DPI shows the same window at the same
// size in inches.
#pragma once

#include <QSize>
#include <QString>

#include <optional>

namespace mirabo::platform {

// The scale when nothing else is asked for.
constexpr double kDefaultScale = 2.0;
// The scales MIRABO_SCALE may ask for.
constexpr double kSmallestAskedScale = 1.0;
constexpr double kLargestAskedScale = 8.0;
// A scale too large to fit comes down in these steps, to no less than the
// smallest fitting one.
constexpr double kScaleStep = 0.25;
constexpr double kSmallestScale = 0.5;
// Room left for the window manager's frame round the desktop window, in
// physical pixels: borders, and a title bar above.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 48;

// The scale MIRABO_SCALE asks for: a number from 1 to 8. Nothing for a
// missing or empty variable; `problem` is set for a text that is no such
// number.
std::optional<double> AskedScale(const char* text, QString* problem);

// The frame's room in device-independent pixels at a device-pixel ratio.
QSize FrameRoom(double devicePixelRatio);

// The largest scale, not above `wanted`, at which `content` (in the
// handheld's pixels) and the frame's room fit `available`: `wanted` itself
// when it fits, else the largest multiple of kScaleStep that does, and never
// less than kSmallestScale.
double FittingScale(QSize available, double devicePixelRatio, QSize content, double wanted);

struct ScaleChoice {
    double scale;
    // One line for the user when the scale asked for could not be used, else
    // empty; its text is the program's (IDS_SCALE_... of res/resource.h).
    QString notice;
};

// The scale for a desktop with that available area and device-pixel ratio,
// with MIRABO_SCALE's text (null when the variable is not set).
ScaleChoice ChooseScale(QSize available, double devicePixelRatio, QSize content, const char* asked);

}  // namespace mirabo::platform
