// A testing surface for the platform layer, for tests and tools that drive
// the program's dialogs from outside: find the modal window that a dialog
// call is blocked in, reach the widgets behind handles, read and press the
// buttons of message boxes, and run code when the next modal loop starts.
// Not for the program itself; Linux only.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "platform/win32.h"

class QAbstractButton;
class QWidget;

namespace mirabo::testing {

// Runs `callback` with the modal window's handle from inside the next modal
// loop that starts (a dialog's or a message box's). Callbacks queue up: each
// loop takes the oldest.
void OnNextModalLoop(std::function<void(HWND)> callback);
// Called instead for a modal loop that finds no queued callback.
void SetUnexpectedModalLoopHandler(std::function<void(HWND)> handler);
// Drops the callbacks no loop has taken yet; returns how many there were.
int ClearModalLoopCallbacks();

// The topmost modal window (dialog or message box), or null.
HWND ActiveModalWindow();
// Whether the window is a dialog or a message box whose modal loop has not
// been told to end.
bool IsModalRunning(HWND window);

bool IsDialog(HWND window);
bool IsMessageBox(HWND window);
QString MessageBoxText(HWND box);
QStringList MessageBoxButtonTexts(HWND box);
// The button of a message box that gives `answer` (IDOK, IDYES, IDNO).
QAbstractButton* MessageBoxButton(HWND box, int answer);

// The widget behind a window handle, or null.
QWidget* WidgetOf(HWND window);
// The window whose widget this is, or null.
HWND WindowOf(QWidget* widget);
// The control or window that has the keyboard focus on the screen, or null.
HWND FocusedWindow();
// A control's identifier, or 0 for anything else.
int ControlId(HWND control);
// The dialog procedure's view of a command: sends WM_COMMAND to the dialog
// the way a control would and returns the dialog manager's result.
void SendCommand(HWND dialog, int id);

// The desktop window that shows the handheld's screen, or null before any
// window was opened.
QWidget* ScreenWidget();
// Runs `work` once the screen's first frame is up and what waited for it
// (the large icons, the socket other copies ask on) is done.
void AfterFirstFrame(std::function<void()> work);
double ScreenScale();
// Draws the handheld's screen at another scale from now on; false while it
// shows a window.
bool UseScreenScale(double scale);
// The work area in the screen widget's pixels.
QRect WorkArea();
QString TitleStripCaption();
// The title strip's OK (Done) button, or null while it is not shown.
QAbstractButton* DoneButton();

// The buttons of the menu bar shown in the screen's menu strip, left to
// right; empty while none is shown.
std::vector<QAbstractButton*> MenuBarButtons();

// Throws away the program's windows (those made with CreateWindowExW and
// their menu bars) without messages, empties the message queue and lets other
// copies stop finding them, as the end of the process does; so that a test
// can run WinMain again.
void DiscardProgramWindows();

// How many input contexts made with ImmCreateContext are alive.
int InputContextCount();

// A dialog's base units in the screen widget's pixels.
QSize DialogBaseUnits(HWND dialog);
// The family of the font a dialog's controls are drawn with.
QString DialogFontFamily(HWND dialog);

}  // namespace mirabo::testing
