// mirabo_wine_screenshots OUTPUT_FOLDER: starts mirabo.exe and saves PNG
// pictures of its window as a person sees it, in the language it speaks
// here: the main window with the first menu (関数, Functions) open, each
// calculator after its first example, and the About box. The program ends
// by its Exit item afterwards.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/windows/calculators.h"
#include "tests/windows/program_driver.h"

using namespace mirabo::wintest;

namespace {

bool Shoot(HWND mainWindow, const std::wstring& folder, const std::wstring& name) {
    Sleep(400);
    RECT rect;
    GetWindowRect(mainWindow, &rect);
    const std::wstring path = folder + L"\\" + name + L".png";
    const bool ok = SaveScreenPng(rect, path);
    std::fwprintf(ok ? stdout : stderr, L"%ls %ls\n", ok ? L"saved" : L"could not save", path.c_str());
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: mirabo_wine_screenshots OUTPUT_FOLDER\n");
        return 64;
    }
    // Pixels as they are on the screen, whatever its scaling.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const std::wstring folder = argv[1];
    CreateDirectoryW(folder.c_str(), NULL);
    RunningProgram program;
    if (!program.Start()) return 1;
    HWND mainWindow = program.WaitForMainWindow();
    if (mainWindow == NULL) return 1;
    bool ok = true;

    const std::vector<HWND> buttons = MenuBarButtons(mainWindow);
    ok = !buttons.empty() && Click(buttons[kFunctionsButton]) && WaitForPopupMenu() != NULL &&
         Shoot(mainWindow, folder, L"main_window_menu") && ok;
    PressKey(VK_ESCAPE);
    WaitFor([] { return WaitForPopupMenu(0) == NULL; }, kPatience);

    for (const Calculator& calculator : Calculators()) {
        HWND dialog = NULL;
        if (calculator.caption.japanese != nullptr &&
            ChooseFromMenu(mainWindow, calculator.button, calculator.item)) {
            dialog = program.WaitForWindow(InProgramLanguage(calculator.caption));
        }
        if (dialog == NULL) {
            std::fprintf(stderr, "%s did not open\n", calculator.name);
            RECT desktop = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            SaveScreenPng(desktop, folder + L"\\failure.png");
            ok = false;
            continue;
        }
        for (const FieldText& field : calculator.example) SetText(GetDlgItem(dialog, field.id), field.text);
        ok = Click(GetDlgItem(dialog, calculator.calculateId)) && ok;
        WaitFor([&] { return TextOf(GetDlgItem(dialog, calculator.results.back().id)) != L""; }, kPatience);
        const std::wstring name(calculator.name, calculator.name + std::strlen(calculator.name));
        ok = Shoot(mainWindow, folder, name) && ok;
        ok = Click(GetDlgItem(dialog, IDCANCEL)) && ok;
        program.WaitUntilGone(dialog);
    }

    HWND about = ChooseFromMenu(mainWindow, kVersionButton, kAboutItem)
                     ? program.WaitForWindow(InProgramLanguage(kAboutCaption))
                     : NULL;
    if (about != NULL) {
        ok = Shoot(mainWindow, folder, L"about_box") && ok;
        PressKey(VK_ESCAPE);
        program.WaitUntilGone(about);
    } else {
        std::fprintf(stderr, "the About box did not open\n");
        ok = false;
    }
    ChooseFromMenu(mainWindow, kFunctionsButton, kExitItem);
    return program.WaitForExit(kPatience) == 0 && ok ? 0 : 1;
}
