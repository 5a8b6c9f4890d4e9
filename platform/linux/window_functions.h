// The window functions the program calls on a window by its handle:
// destroying, showing and placing it, its text and the keyboard focus,
// finding one (GetDlgItem, FindWindowW, also in another running copy of the
// program) and bringing the program to the foreground. ShowWindow,
// UpdateWindow and MoveWindow act on the program's own windows (those made
// with CreateWindowExW), the only ones the program calls them on.
#pragma once

namespace mirabo::platform {

// Throws away the program's windows (those made with CreateWindowExW and
// their menu bars) without messages, empties the message queue, forgets the
// windows found in other copies and lets other copies stop finding this
// one, as the end of the process does.
void DiscardProgramWindows();

}  // namespace mirabo::platform
