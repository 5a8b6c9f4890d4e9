// The Pocket PC shell calls that the program uses, for builds on desktop
// Windows, where the handheld's shell library does not exist. Same names,
// record layout and values as on the handheld; implemented in aygshell.cpp.
#pragma once

#include <windows.h>

#include "platform/shell_api.h"
