// Full-screen dialogs on the desktop: a dialog made by the system's dialog
// manager is laid out again as the handheld shows it. It covers the title
// strip and the work area of its owner's screen, drops its desktop caption
// and frame for a title strip of its own (with the OK button when the dialog
// asked for a Done button), and its controls, fonts and pictures are placed
// from the template's dialog units at the screen's scale, with the
// handheld's fonts and black-on-white look.
#pragma once

#include <windows.h>

namespace mirabo::windows {

// Lays the dialog out full screen; `doneButton` puts the OK button in its
// title strip. Esc and the dialog's close command then act as the Done
// button where the dialog has no cancel control of its own.
void MakeDialogFullScreen(HWND dialog, bool doneButton);

// A rectangle in dialog units packed into one pointer-sized value and back,
// as the layout keeps it on each control: x, y, width and height in 15 bits
// each (-16384 to 16383, clamped), and a marker bit so that it is never 0.
ULONG_PTR PackDialogRect(const RECT& units);
RECT UnpackDialogRect(ULONG_PTR packed);

// Converts a control's pixel rectangle back to dialog units with the base
// units (in 1/1000 pixel) it was laid out with: the nearest unit each way.
RECT PixelsToDialogUnits(const RECT& pixels, int baseXMilli, int baseYMilli);

}  // namespace mirabo::windows
