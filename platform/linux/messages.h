// Messages: SendMessageW hands a message to the window at once; the thread's
// message queue holds what PostMessageW and the main window's keyboard put
// in, and GetMessageW takes it out. While GetMessageW waits, Qt's event
// processing runs, and with it the widgets, the menu bar and the painting.
// Dialogs and message boxes run a modal loop of their own, which hands the
// messages posted meanwhile straight to their windows, without
// accelerators, as a dialog's own loop does.
#pragma once

#include <QString>
#include <Qt>

#include "platform/linux/win32_api.h"

namespace mirabo::platform {

// A key message with the modifier keys held and the text the key types, for
// TranslateAcceleratorW and TranslateMessage.
void PostKeyMessage(HWND window, UINT message, WPARAM virtualKey, Qt::KeyboardModifiers modifiers,
                    const QString& text);

// The virtual-key code of a Qt key, or 0 for a key without one.
WPARAM VirtualKeyOf(int qtKey);

// The modifier keys held as of the last key message taken from the queue,
// for TranslateAcceleratorW.
Qt::KeyboardModifiers KeyModifiers();

class TopLevelWindow;

// Runs the modal loop of a dialog or a message box: shows the window on top,
// disables its owner, and delivers messages until the window ends the loop
// (EndModal) or the program ends; then hides the window and gives the owner
// back its input. Returns what EndModal was given.
INT_PTR RunModalLoop(TopLevelWindow* window);

// Called with the handle of every modal loop that starts, from inside that
// loop (for the testing surface).
using ModalLoopObserver = void (*)(HWND);
void SetModalLoopObserver(ModalLoopObserver observer);

// Ends the program: closes open menus, ends every modal loop, and makes
// GetMessageW return WM_QUIT with exit code 0 from now on.
void EndProgram();

// Drops every queued message and the pending quit, and forgets that the
// program ended; for when the program's windows are thrown away.
void ResetMessageQueue();

}  // namespace mirabo::platform
