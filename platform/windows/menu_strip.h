// The Pocket PC menu bar in the screen's menu strip: text buttons made from
// the menu-bar data (RCDATA) and a menu resource. Tapping a button sends the
// button's own command to the window and opens the button's pop-up; choosing
// an item posts WM_COMMAND with the item's identifier to the window.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/menu_bar_data.h"

namespace mirabo::windows {

// Makes the bar as a child of the frame along the bottom of its screen,
// drawn at `scale`; captions come from the string table and pop-ups from
// menu `menuId` of `instance`. Null when the menu cannot be loaded or the
// window not made.
HWND CreateMenuStrip(HWND frame, HINSTANCE instance, WORD menuId,
                     const std::vector<platform::MenuBarButton>& buttons, bool hidden, double scale);

// Lays the bar out again at a new scale.
void LayoutMenuStrip(HWND bar, double scale);
// Shows or hides the bar's buttons (the strip itself stays).
void ShowMenuStripButtons(HWND bar, bool show);
// Opens the pop-up of button `index` from the keyboard (F10, Alt): as a tap
// on the button does, with its first item selected. In an open pop-up, Left
// and Right go to the pop-up of the enabled button beside it, round the end
// of the bar.
void OpenMenuStripPopup(HWND bar, int index);
// The button windows, left to right.
std::vector<HWND> MenuStripButtons(HWND bar);

}  // namespace mirabo::windows
