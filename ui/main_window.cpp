// The program's frame: start-up with the single-instance test, the main window
// with its menu bar, the message loop with its two accelerators, and the About box.
#include "ui/main_window.h"

#include <string.h>
#include <wchar.h>

#include "res/resource.h"
#include "ui/calculator_dialogs.h"

HINSTANCE appInstance;
HWND menuBarWindow;
SHACTIVATEINFO settingChangeInfo;

static const int kLoadLimit = 200;

ATOM RegisterMainClass(HINSTANCE instance, LPCWSTR className) {
    WNDCLASSW wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_MIRABO));
    wc.hCursor = 0;
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszMenuName = 0;
    wc.lpszClassName = className;
    return RegisterClassW(&wc);
}

HWND CreateMainMenuBar(HWND window) {
    SHMENUBARINFO mbi;
    memset(&mbi, 0, sizeof(mbi));
    mbi.cbSize = sizeof(mbi);
    mbi.hwndParent = window;
    mbi.nToolBarId = IDR_MAIN_MENU;
    mbi.hInstRes = appInstance;
    if (!SHCreateMenuBar(&mbi)) {
        return 0;
    }
    return mbi.hwndMB;
}

BOOL StartMainWindow(HINSTANCE instance, int showCommand) {
    WCHAR className[kLoadLimit];
    WCHAR title[kLoadLimit];

    appInstance = instance;
    LoadStringW(instance, IDS_WINDOW_CLASS, className, kLoadLimit);
    LoadStringW(instance, IDS_APP_TITLE, title, kLoadLimit);

    HWND running = FindWindowW(className, title);
    if (running) {
        SetForegroundWindow((HWND)((ULONG_PTR)running | 1));
        return FALSE;
    }

    RegisterMainClass(instance, className);
    HWND window = CreateWindowExW(0, className, title, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, instance, 0);
    if (!window) {
        return FALSE;
    }

    // Room for the menu bar: the rectangle's right edge goes in as the
    // width and its raised bottom edge as the height.
    RECT rect;
    GetWindowRect(window, &rect);
    rect.bottom -= 26;
    if (menuBarWindow) {
        MoveWindow(window, rect.left, rect.top, rect.right, rect.bottom, FALSE);
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return TRUE;
}

// Runs one of the program's dialog templates modally over the main window;
// its result is not used.
static void OpenDialog(HWND window, int templateId, DLGPROC dialogProc) {
    RunDialogTemplate(appInstance, window, templateId, dialogProc);
}

static void PaintMainWindow(HWND window) {
    PAINTSTRUCT ps;
    RECT rect;
    WCHAR text[kLoadLimit];

    HDC dc = BeginPaint(window, &ps);
    GetClientRect(window, &rect);
    LoadStringW(appInstance, IDS_MAIN_TEXT, text, kLoadLimit);
    DrawTextW(dc, text, (int)wcslen(text), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(window, &ps);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        menuBarWindow = CreateMainMenuBar(window);
        return 0;

    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_CLOSE:
            SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, (LPARAM)window);
            SendMessageW(window, WM_CLOSE, 0, 0);
            return 0;
        case IDM_ABOUT:
            OpenDialog(window, IDD_ABOUT, AboutDlgProc);
            return 0;
        case IDM_EXIT:
            DestroyWindow(menuBarWindow);
            PostQuitMessage(0);
            return 0;
        }
        // The calculators' menu commands, from the register.
        if (const mirabo::Calculator* calculator = mirabo::CalculatorForCommand(LOWORD(wParam))) {
            OpenDialog(window, calculator->templateId, CalculatorDialogProcedure(*calculator));
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);

    case WM_PAINT:
        PaintMainWindow(window);
        return 0;

    case WM_SETTINGCHANGE:
        SHHandleWMSettingChange(window, wParam, lParam, &settingChangeInfo);
        return 0;

    case WM_DESTROY:
        DestroyWindow(menuBarWindow);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG: {
        SHINITDLGINFO info;
        info.dwMask = SHIDIM_FLAGS;
        info.hDlg = dialog;
        info.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN;
        SHInitDialog(&info);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand) {
    (void)previousInstance;
    (void)commandLine;
    MSG msg;

    if (!StartMainWindow(instance, showCommand)) {
        return 0;
    }
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    while (GetMessageW(&msg, 0, 0, 0)) {
        if (!TranslateAcceleratorW(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return (int)msg.wParam;
}
