// Painting (GetStockObject, BeginPaint, EndPaint, DrawTextW): a window
// paints while its widget's paint event delivers WM_PAINT, through a device
// context that draws with that event's painter, in the handheld's system
// font, black on white. The stock brushes are the handheld's greys.
#pragma once

#include <QColor>

#include "platform/linux/win32_api.h"

class QPainter;

namespace mirabo::platform {

// The colour of a brush from GetStockObject; false for no brush or an unknown one.
bool BrushColor(HBRUSH brush, QColor* color);

// While one lives, BeginPaint on `window` hands out a device context that
// draws with `painter`; a window's paint event makes one around WM_PAINT.
// Outside of one, BeginPaint's device context draws nothing.
class PaintEvent {
public:
    PaintEvent(HWND window, QPainter* painter);
    ~PaintEvent();
    PaintEvent(const PaintEvent&) = delete;
    PaintEvent& operator=(const PaintEvent&) = delete;

    // The painter of the innermost paint event of the window, or null.
    static QPainter* PainterOf(HWND window);

private:
    HWND window_;
    QPainter* painter_;
    PaintEvent* outer_;
};

}  // namespace mirabo::platform
