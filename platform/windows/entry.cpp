// On Windows the C runtime's start-up code calls the program's WinMain itself.
// WinMain lives in the user-interface library, which the linker reads before
// that start-up code asks for it; the reference below, kept at every
// optimisation level, makes the linker take WinMain from the library.
//
// Before WinMain runs, the thread's UI language is set to the language of the
// program's resources that the user gets (resfile/resource_language.h), so
// that the system's resource loader finds every dialog, menu and string in it.
//
// `mirabo --version` prints the program's name and version and ends before
// WinMain, so without a window and without looking for another copy. The
// program has no console of its own: the line goes to the standard output
// when that is a file or a pipe, else to the console of the process that
// started it, if there is one.
#include "platform/win32.h"
#include "resfile/resource_language.h"

// After windows.h, which it needs.
#include <shellapi.h>

namespace {

bool WriteVersionLine() {
    static const char kLine[] = "mirabo " MIRABO_VERSION "\n";
    const DWORD length = sizeof kLine - 1;
    DWORD written = 0;
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out != NULL && out != INVALID_HANDLE_VALUE) {
        const DWORD type = GetFileType(out);
        if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
            return WriteFile(out, kLine, length, &written, NULL) && written == length;
        }
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
    HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 NULL, OPEN_EXISTING, 0, NULL);
    if (console == INVALID_HANDLE_VALUE) return false;
    wchar_t wide[sizeof kLine];
    for (DWORD i = 0; i < length; ++i) wide[i] = static_cast<wchar_t>(kLine[i]);
    const bool ok = WriteConsoleW(console, wide, length, &written, NULL) && written == length;
    CloseHandle(console);
    return ok;
}

// Ends the process after the version line when the only argument is --version.
bool EndIfVersionAsked() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    const bool asked = arguments != NULL && count == 2 && lstrcmpW(arguments[1], L"--version") == 0;
    LocalFree(arguments);
    if (asked) ExitProcess(WriteVersionLine() ? 0 : 1);
    return false;
}

[[gnu::used]] const bool kVersionAsked = EndIfVersionAsked();

[[gnu::used]] int(WINAPI* const kEntry)(HINSTANCE, HINSTANCE, LPSTR, int) = WinMain;

[[gnu::used]] const LANGID kUiLanguage =
    SetThreadUILanguage(mirabo::LanguageOfUiLanguage(GetUserDefaultUILanguage()));

}  // namespace
