// On Windows the system's start-up code calls the program's WinMain itself;
// this translation unit only gives the program's executable a source of its
// own, so that WinMain is taken from the user-interface library.
#include "platform/win32.h"

namespace {

[[maybe_unused]] int(WINAPI* const kEntry)(HINSTANCE, HINSTANCE, LPSTR, int) = WinMain;

}  // namespace
