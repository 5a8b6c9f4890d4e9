// Driving the whole program from a test: WinMain runs in the test, and the
// test's steps run from inside its message loop and the modal loops of the
// dialogs it opens, each step once the program has reached the state it
// waits for.
#pragma once

#include <QString>
#include <Qt>

#include <functional>
#include <string>

#include "platform/testing.h"
#include "platform/win32.h"

class QMenu;

namespace mirabo::test {

// Fails the current test for a modal loop nobody expected, and closes it.
void InstallUnexpectedModalLoopHandler();

// Runs WinMain as the process entry does, with `script` started from inside
// its message loop, and returns WinMain's result. Afterwards the program's
// windows are thrown away as at the end of the process. A program still
// running after 20 seconds fails the test and is ended by closing the desktop
// window. `afterward` runs once WinMain has returned, before the windows go.
int RunProgram(const std::function<void()>& script, const std::function<void()>& afterward = {});

// Runs `action` once `condition` holds, from whichever loop is running then.
// After 15 seconds without it the test fails with `what` and the program is
// ended by closing the desktop window.
void When(std::function<bool()> condition, std::function<void()> action, const std::string& what);
// Runs `action` after the program has run its loops for `ms` milliseconds.
void After(int ms, std::function<void()> action);
// When with a dialog as the active window, or with none any more.
void WhenDialogOpen(std::function<void()> action, const std::string& what);
void WhenDialogClosed(std::function<void()> action, const std::string& what);
// Ends the program with Ctrl+Q once its main window is active again.
void QuitWhenMainWindowIsBack();

// The program's main window, or null.
HWND MainWindow();
// Whether the main window is the active, enabled window on the screen.
bool MainWindowActive();
// The active dialog, or null when the active window is not a dialog.
HWND ActiveDialog();

// Taps menu-bar button `index` (0, 1, 2) with the mouse.
void TapMenuButton(int index);
// The pop-up menu that is open, or null.
QMenu* OpenMenu();
// Clicks the item of the open pop-up menu with that text.
void ChooseMenuItem(const QString& text);
// Opens the pop-up of button `index` and chooses the item.
void ChooseFromMenu(int index, const QString& text);

// Sends a key to the open pop-up menu, else to the widget with the focus
// (the screen when none has it).
void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Clicks a control of the dialog with the mouse.
void ClickControl(HWND dialog, int id);
// Clicks the OK button in the title strip.
void ClickTitleOk();
// Closes the desktop window as its close box does.
void CloseDesktopWindow();

// Text of a window through GetWindowTextW.
QString TextOf(HWND window);

}  // namespace mirabo::test
