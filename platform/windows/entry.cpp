// On Windows the C runtime's start-up code calls the program's WinMain itself.
// WinMain lives in the user-interface library, which the linker reads before
// that start-up code asks for it; the reference below, kept at every
// optimisation level, makes the linker take WinMain from the library.
//
// Before WinMain runs, the thread's UI language is set to the language of the
// program's resources that the user gets (resfile/resource_language.h), so
// that the system's resource loader finds every dialog, menu and string in it.
#include "platform/win32.h"
#include "resfile/resource_language.h"

namespace {

[[gnu::used]] int(WINAPI* const kEntry)(HINSTANCE, HINSTANCE, LPSTR, int) = WinMain;

[[gnu::used]] const LANGID kUiLanguage =
    SetThreadUILanguage(mirabo::LanguageOfUiLanguage(GetUserDefaultUILanguage()));

}  // namespace
