// What the user does and sees that no call of the program's Win32 API does
// for it: keys and clicks, the keyboard focus, the window on top. Each
// platform has its own (user_input_linux.cpp over the layer's testing
// surface, user_input_windows.cpp over user32); the cases use these and the
// Win32 API alone.
#pragma once

#include <string>

#include "platform/win32.h"

namespace mirabo::test {

// Presses and releases a key (a virtual-key code) where the keyboard focus
// is, with Shift held when asked, and lets the running modal loop handle it.
// `keypad`: the Enter key of the number pad rather than the main one.
void PressKey(WORD key, bool shift = false, bool keypad = false);
// Types the text into the focused control, one character a key.
void TypeText(const std::wstring& text);
// Clicks a control of a dialog with the mouse.
void Click(HWND control);
// Clicks the button of a message box that gives `answer`.
void ClickMessageBoxButton(HWND box, int answer);
// Whether the message box has the button that gives `answer`.
bool HasMessageBoxButton(HWND box, int answer);

// Presses and releases a key in a window of the program with the modifier
// keys held, as the system posts it to the window's queue (with Alt, as a
// system key); the modifier keys stay held until ReleaseModifierKeys.
void PressKeyInWindow(HWND window, WORD key, bool control, bool shift, bool alt);
void ReleaseModifierKeys();

// The window that has the keyboard focus, or null.
HWND FocusedWindow();
// The modal window on top (a dialog or a message box), or null.
HWND ActiveModalWindow();
// Whether the window takes the user's input.
bool IsEnabled(HWND window);

// Whether the Win32 under test is Wine's, for its known deviations from the
// documentation.
bool RunningOnWine();

// The message that runs a test's steps inside a modal loop (WM_APP + 1).
constexpr UINT kRunSteps = 0x8001;

}  // namespace mirabo::test
