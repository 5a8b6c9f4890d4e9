// The Pocket PC menu bar in the screen's menu strip: text buttons made from
// the menu-bar data (RCDATA) and a menu resource. Tapping a button sends the
// button's own command to the window and opens the button's pop-up; choosing
// an item posts WM_COMMAND with the item's identifier to the window.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

namespace mirabo::windows {

// One button of the menu-bar data.
struct MenuBarButton {
    short image = 0;
    WORD command = 0;
    BYTE state = 0;
    BYTE style = 0;
    WORD caption = 0;
    WORD popup = 0;
};

// Reads menu-bar data: the menu's identifier, the button count, then seven
// 16-bit words per button (image, command, state, style, caption string, 0,
// pop-up index). False when `size` bytes do not hold it all.
bool ParseMenuBarData(const void* data, std::size_t size, WORD* menuId, std::vector<MenuBarButton>* buttons);

// Makes the bar as a child of the frame along the bottom of its screen,
// drawn at `scale`; captions come from the string table and pop-ups from
// menu `menuId` of `instance`. Null when the menu cannot be loaded or the
// window not made.
HWND CreateMenuStrip(HWND frame, HINSTANCE instance, WORD menuId, const std::vector<MenuBarButton>& buttons,
                     bool hidden, double scale);

// Lays the bar out again at a new scale.
void LayoutMenuStrip(HWND bar, double scale);
// Shows or hides the bar's buttons (the strip itself stays).
void ShowMenuStripButtons(HWND bar, bool show);
// Opens the pop-up of button `index` as a tap on it does.
void OpenMenuStripPopup(HWND bar, int index);
// The button windows, left to right.
std::vector<HWND> MenuStripButtons(HWND bar);

}  // namespace mirabo::windows
