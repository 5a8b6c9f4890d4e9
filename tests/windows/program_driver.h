// Driving the real mirabo.exe from another process, as a person would: the
// program is started, its windows are found by class, caption and control
// identifier, texts are typed with window messages, and buttons, menus and
// keys get real mouse and keyboard input.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace mirabo::wintest {

// How long the driver waits for the program to do what it was asked. A
// program starved of the processor by a busy machine answers seconds late,
// and a condition asked of it meanwhile reads a state older than the input
// already queued for it; only a program that is wrong keeps a test waiting
// this long.
constexpr DWORD kPatience = 30000;

// The program's path: MIRABO_PROGRAM in the environment, else the one the
// build put beside the tests.
std::wstring ProgramPath();

class RunningProgram {
public:
    RunningProgram() = default;
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    // Ends the program if it still runs.
    ~RunningProgram();

    // Starts the program; false when it could not be started.
    bool Start(const std::wstring& path = ProgramPath());
    // Waits until the program ends; its exit code, or -1 after `ms`.
    int WaitForExit(DWORD ms);
    bool Running() const;
    DWORD ProcessId() const { return processId_; }

    // The program's main window once it shows, or null after `ms`.
    HWND WaitForMainWindow(DWORD ms = kPatience);
    // The program's top-level window with this caption once it is visible
    // and enabled (a dialog or message box), or null after `ms`.
    HWND WaitForWindow(const std::wstring& caption, DWORD ms = kPatience);
    // The program's message box (a dialog of class #32770 with a static
    // text) once it shows, or null after `ms`.
    HWND WaitForMessageBox(DWORD ms = kPatience);
    // Whether `window` is gone or hidden after at most `ms`.
    bool WaitUntilGone(HWND window, DWORD ms = kPatience);
    // The program's visible, enabled top-level windows.
    std::vector<HWND> Windows() const;

private:
    HANDLE process_ = NULL;
    DWORD processId_ = 0;
};

// Waits for `condition` for at most `ms`, checking every 20 ms. A condition
// that itself waits for the program can outlast `ms` in one call and then
// read what was true before; so the deadline passes only after a check that
// began once it had passed.
template <typename Condition>
bool WaitFor(Condition condition, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        const bool late = GetTickCount64() >= end;
        if (condition()) return true;
        if (late) return false;
        Sleep(20);
    }
}

// A window's text (WM_GETTEXT, which crosses process boundaries).
std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
// Types the text into a control (WM_SETTEXT).
void SetText(HWND control, const std::wstring& text);

// The child window of `parent` of this class and text (either may be
// empty for any), searching the whole tree; null if none.
HWND FindDescendant(HWND parent, const std::wstring& className, const std::wstring& text);

// Brings the window's top-level window to the front, waits until `window`
// stays in one place, and clicks its middle with the left mouse button.
// False when the window did not reach the front, kept moving, was not under
// the pointer, or (a button) did not take the press.
bool Click(HWND window);
// Presses and releases a key with the given modifiers held (VK_CONTROL, ...).
void PressKey(WORD key, std::vector<WORD> modifiers = {});
// The same once the window's top-level window is the foreground window;
// false, with no key pressed, when it did not become it.
bool PressKeyIn(HWND window, WORD key, std::vector<WORD> modifiers = {});
// Makes the window's top-level window the foreground window; false when it
// has not become it after 3 seconds.
bool BringToFront(HWND window);

// The main window's menu-bar buttons, left to right; none when it has no
// menu bar.
std::vector<HWND> MenuBarButtons(HWND mainWindow);
// Opens the pop-up of menu-bar button number `button` (0 for the first) in
// the main window with the mouse and chooses its item number `item` (0 for
// the first, separators not counted) with the keyboard, in whatever
// language the program speaks. False when the button or pop-up is not
// found. (A pop-up's items cannot be read from another process everywhere.)
bool ChooseFromMenu(HWND mainWindow, int button, int item);
// Whether the thread of `window` tracks a menu and has the keyboard (keys
// pressed now go to the menu) after at most `ms`.
bool WaitForMenuLoop(HWND window, DWORD ms = kPatience);
// The pop-up menu window that is open, or null after `ms`.
HWND WaitForPopupMenu(DWORD ms = kPatience);

// The window with the keyboard focus and the one with the caret in the
// thread that owns `window`.
HWND FocusOf(HWND window);
HWND CaretOwnerOf(HWND window);

// Saves the screen's pixels under the rectangle (desktop coordinates) as a
// PNG file. False on failure.
bool SaveScreenPng(const RECT& rect, const std::wstring& path);

}  // namespace mirabo::wintest
