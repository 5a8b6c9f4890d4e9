// The title strip along the top of the handheld's screen: the caption of the
// window it belongs to in white on blue and, when that window asked for one,
// the OK (Done) button, which sends IDOK to the window (and closes a dialog
// that leaves IDOK unanswered, as its close box does).
#pragma once

#include <windows.h>

namespace mirabo::windows {

// Makes the strip as a child of `window` across the top of its client area,
// `width` pixels wide, showing the window's caption. With `doneButton` the
// strip carries the OK button.
HWND CreateTitleStrip(HWND window, int width, double scale, bool doneButton);

// Lays the strip out again for a new width or scale.
void LayoutTitleStrip(HWND strip, int width, double scale);

// The strip's OK button, or null.
HWND TitleStripDoneButton(HWND strip);

}  // namespace mirabo::windows
