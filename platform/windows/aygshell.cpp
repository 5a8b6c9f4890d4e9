// Desktop Windows stand-ins for the Pocket PC shell calls.
#include "platform/windows/aygshell.h"

#include <algorithm>
#include <vector>

// A full-screen dialog fills the desktop's work area, the nearest thing to
// the handheld's screen below its title bar. The input panel does not exist
// here, and the dialog's own close box stands in for the Done button.
BOOL WINAPI SHInitDialog(PSHINITDLGINFO pshidi) {
    if (pshidi == NULL || (pshidi->dwMask & SHIDIM_FLAGS) == 0 || !IsWindow(pshidi->hDlg)) {
        return FALSE;
    }
    if (pshidi->dwFlags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR)) {
        RECT workArea;
        if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0)) {
            MoveWindow(pshidi->hDlg, workArea.left, workArea.top, workArea.right - workArea.left,
                       workArea.bottom - workArea.top, TRUE);
        }
    }
    return TRUE;
}

// The menu bar becomes the window's desktop menu: the pop-ups of the menu that
// the menu-bar data names, captioned from the string table as the handheld's
// buttons are. The bar's own window is a hidden one owned by the window;
// destroying it takes the menu off the window.
namespace {

const wchar_t kMenuBarClass[] = L"MiraboMenuBar";

LRESULT CALLBACK MenuBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        HWND owner = GetWindow(bar, GW_OWNER);
        HMENU menu = owner ? GetMenu(owner) : NULL;
        if (menu != NULL && menu == (HMENU)GetPropW(bar, L"menu")) {
            SetMenu(owner, NULL);
            DestroyMenu(menu);
        }
        RemovePropW(bar, L"menu");
    }
    return DefWindowProcW(bar, message, wParam, lParam);
}

}  // namespace

BOOL WINAPI SHCreateMenuBar(PSHMENUBARINFO pmbi) {
    if (pmbi == NULL || pmbi->cbSize < sizeof(SHMENUBARINFO) || !IsWindow(pmbi->hwndParent)) return FALSE;
    HMENU menu = NULL;
    if (!(pmbi->dwFlags & SHCMBF_EMPTYBAR)) {
        // Menu-bar data: menu id, button count, then seven words per button
        // (image, command, state, style, caption string, 0, pop-up index).
        HRSRC found = FindResourceW(pmbi->hInstRes, MAKEINTRESOURCEW(pmbi->nToolBarId), RT_RCDATA);
        const WORD* data = found ? (const WORD*)LockResource(LoadResource(pmbi->hInstRes, found)) : NULL;
        DWORD size = found ? SizeofResource(pmbi->hInstRes, found) : 0;
        if (data == NULL || size < 4 || size < 4u + 14u * data[1]) return FALSE;
        HMENU source = LoadMenuW(pmbi->hInstRes, MAKEINTRESOURCEW(data[0]));
        if (source == NULL) return FALSE;
        // Each button's pop-up moves from the loaded menu to the bar's; a
        // pop-up named twice, or not at all, leaves a plain command.
        std::vector<HMENU> popups(data[1], NULL);
        for (WORD i = 0; i < data[1]; ++i) {
            HMENU popup = GetSubMenu(source, data[2 + 7 * i + 6]);
            if (std::find(popups.begin(), popups.end(), popup) == popups.end()) popups[i] = popup;
        }
        for (int position = GetMenuItemCount(source) - 1; position >= 0; --position) {
            HMENU popup = GetSubMenu(source, position);
            if (popup != NULL && std::find(popups.begin(), popups.end(), popup) != popups.end()) {
                RemoveMenu(source, position, MF_BYPOSITION);
            }
        }
        menu = CreateMenu();
        for (WORD i = 0; i < data[1]; ++i) {
            const WORD* button = data + 2 + 7 * i;
            wchar_t caption[200];
            if (LoadStringW(pmbi->hInstRes, button[4], caption, 200) <= 0) caption[0] = 0;
            if (popups[i] != NULL) {
                AppendMenuW(menu, MF_POPUP | MF_STRING, (UINT_PTR)popups[i], caption);
            } else {
                AppendMenuW(menu, MF_STRING, button[1], caption);
            }
        }
        DestroyMenu(source);
    }
    WNDCLASSW wc = {};
    wc.lpfnWndProc = MenuBarProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = kMenuBarClass;
    RegisterClassW(&wc);
    HWND bar = CreateWindowExW(0, kMenuBarClass, L"", WS_POPUP, 0, 0, 0, 0, pmbi->hwndParent, NULL,
                               wc.hInstance, NULL);
    if (bar == NULL) {
        if (menu != NULL) DestroyMenu(menu);
        return FALSE;
    }
    if (menu != NULL) {
        SetPropW(bar, L"menu", menu);
        if (!(pmbi->dwFlags & SHCMBF_HIDDEN)) SetMenu(pmbi->hwndParent, menu);
    }
    pmbi->hwndMB = bar;
    return TRUE;
}

// The desktop has no input panel whose changes a window would follow.
LRESULT WINAPI SHHandleWMSettingChange(HWND, WPARAM, LPARAM, PSHACTIVATEINFO) { return 0; }
