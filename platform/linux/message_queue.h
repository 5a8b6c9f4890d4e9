// The thread's message queue: what PostMessageW and the main window's
// keyboard put in, and what GetMessageW takes out. While GetMessageW waits,
// Qt's event processing runs, and with it the widgets, the menu bar and the
// painting. A modal loop (a dialog or a message box) hands the messages
// posted meanwhile straight to their windows, without accelerators, as a
// dialog's own loop does.
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

// Called as a modal loop starts: messages already waiting go to their
// windows from that loop.
void DeliverPostedMessagesSoon();

// Ends the program: closes open menus, ends every modal loop, and makes
// GetMessageW return WM_QUIT with exit code 0 from now on.
void EndProgram();

// Drops every queued message and the pending quit, and forgets that the
// program ended; for when the program's windows are thrown away.
void ResetMessageQueue();

}  // namespace mirabo::platform
