// The Pocket PC shell calls that the program uses, for builds on desktop
// Windows, where the handheld's shell library does not exist. Same names,
// record layout and values as on the handheld; implemented in aygshell.cpp.
#pragma once

#include <windows.h>

#include "platform/shell_api.h"

// The handheld's SetForegroundWindow takes the window's handle with its
// lowest bit set, (HWND)((ULONG_PTR)window | 1), to bring the window's owned
// windows forward with it; the desktop's user32 refuses that handle as
// invalid. The program's calls come here instead: the window, restored when
// it is minimised, comes forward with the owned window last active over it.
#ifdef __cplusplus
extern "C" {
#endif
BOOL WINAPI HandheldSetForegroundWindow(HWND hWnd);
#ifdef __cplusplus
}
#endif
#define SetForegroundWindow HandheldSetForegroundWindow
