// The Win32 API as the program's user interface code sees it.
//
// On Windows this is the system's <windows.h> plus our declarations of the
// Pocket PC shell calls. Elsewhere it is the program's own platform layer: the
// same names, types, signatures and constant values, for exactly the part of
// the API that ui/ uses, implemented over Qt Widgets (platform/linux/).
#pragma once

#ifdef _WIN32
#include <windows.h>
// The input method's contexts (imm32).
#include <imm.h>
#include "platform/windows/aygshell.h"
#else
#include "platform/linux/win32_api.h"
#endif
