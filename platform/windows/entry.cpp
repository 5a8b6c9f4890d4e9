// On Windows the C runtime's start-up code calls the program's WinMain itself.
// WinMain lives in the user-interface library, which the linker reads before
// that start-up code asks for it; the reference below, kept at every
// optimisation level, makes the linker take WinMain from the library.
#include "platform/win32.h"

namespace {

[[gnu::used]] int(WINAPI* const kEntry)(HINSTANCE, HINSTANCE, LPSTR, int) = WinMain;

}  // namespace
