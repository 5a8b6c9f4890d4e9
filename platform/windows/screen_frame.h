// The handheld's screen on a Windows desktop: the program's main window
// becomes one desktop window whose client area is a landscape screen of
// 320 x 240 device pixels drawn at a scale. From top to bottom: the title
// strip (26 device pixels) with the caption, the work area, and the menu
// strip (26 device pixels) holding the menu bar. The scale is 2 (or the
// environment's MIRABO_SCALE, from 1 to 8) times the monitor's display
// scaling, made smaller where the screen would not fit on the monitor.
//
// Full-screen dialogs cover the title strip and the work area of their
// owner's screen, with a title strip of their own.
#pragma once

#include <windows.h>

#include "platform/windows/screen_geometry.h"

namespace mirabo::windows {

// Makes `window` (a top-level window) the desktop frame of the screen: a
// fixed size for its monitor's scaling, a close box, and the title strip.
// Its client area stays the whole screen. Does nothing for a window that is
// already a frame.
void AttachScreenFrame(HWND window);

// The frame that `window` belongs to: the window itself or its nearest
// owner that is a frame; null when none is.
HWND ScreenFrameOf(HWND window);
// A frame's scale, or the scale for the window's monitor when it is no frame.
double ScaleOf(HWND window);

// The menu bar shown in the frame's menu strip (null for none).
void SetFrameMenuBar(HWND frame, HWND bar);
HWND FrameMenuBar(HWND frame);

// Where a full-screen window owned by `window` goes, in desktop
// coordinates: the title strip and the work area of the frame it belongs
// to, or, without a frame, a screen-sized place in the middle of the
// monitor. `scale` receives the scale to draw at.
RECT FullScreenRect(HWND window, double* scale);

}  // namespace mirabo::windows
