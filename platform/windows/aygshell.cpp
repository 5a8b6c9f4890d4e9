// Desktop Windows stand-ins for the Pocket PC shell calls: the main window
// shows the handheld's screen with the menu bar in its bottom strip, and
// full-screen dialogs cover that screen as on the handheld.
#include "platform/windows/aygshell.h"

#include <vector>

#include "platform/menu_bar_data.h"
#include "platform/windows/accessible_names.h"
#include "platform/windows/dialog_look.h"
#include "platform/windows/menu_strip.h"
#include "platform/windows/screen_frame.h"
#include "platform/windows/whole_characters.h"

// Below, SetForegroundWindow is the desktop's own.
#undef SetForegroundWindow

using namespace mirabo::windows;
using mirabo::platform::MenuBarButton;
using mirabo::platform::ParseMenuBarData;

// The dialog covers the title strip and the work area of its owner's screen
// (the nearest thing to the handheld's screen below its status bar) with a
// title strip of its own, which carries the OK button for SHIDIF_DONEBUTTON.
// There is no input panel to put down.
BOOL WINAPI SHInitDialog(PSHINITDLGINFO pshidi) {
    if (pshidi == NULL || (pshidi->dwMask & SHIDIM_FLAGS) == 0 || !IsWindow(pshidi->hDlg)) {
        return FALSE;
    }
    if (pshidi->dwFlags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR)) {
        MakeDialogFullScreen(pshidi->hDlg, (pshidi->dwFlags & SHIDIF_DONEBUTTON) != 0);
    }
    NameControlsForScreenReaders(pshidi->hDlg);
    KeepCharactersWhole(pshidi->hDlg);
    return TRUE;
}

// The window becomes the desktop frame of the handheld's screen, and the bar
// a child window in its menu strip. The bar's window is the one returned in
// hwndMB; destroying it takes the buttons away.
BOOL WINAPI SHCreateMenuBar(PSHMENUBARINFO pmbi) {
    if (pmbi == NULL || pmbi->cbSize < sizeof(SHMENUBARINFO) || !IsWindow(pmbi->hwndParent)) return FALSE;
    HWND window = pmbi->hwndParent;
    AttachScreenFrame(window);
    if (FrameMenuBar(window) != NULL) return FALSE;
    WORD menuId = 0;
    std::vector<MenuBarButton> buttons;
    if (!(pmbi->dwFlags & SHCMBF_EMPTYBAR)) {
        HRSRC found = FindResourceW(pmbi->hInstRes, MAKEINTRESOURCEW(pmbi->nToolBarId), RT_RCDATA);
        const void* data = found ? LockResource(LoadResource(pmbi->hInstRes, found)) : NULL;
        const DWORD size = found ? SizeofResource(pmbi->hInstRes, found) : 0;
        if (!ParseMenuBarData(data, size, &menuId, &buttons)) return FALSE;
    }
    HWND bar = CreateMenuStrip(window, pmbi->hInstRes, menuId, buttons, (pmbi->dwFlags & SHCMBF_HIDDEN) != 0,
                               ScaleOf(window));
    if (bar == NULL) return FALSE;
    SetFrameMenuBar(window, bar);
    pmbi->hwndMB = bar;
    return TRUE;
}

// The desktop has no input panel whose changes a window would follow.
LRESULT WINAPI SHHandleWMSettingChange(HWND, WPARAM, LPARAM, PSHACTIVATEINFO) { return 0; }

BOOL WINAPI HandheldSetForegroundWindow(HWND hWnd) {
    HWND window = reinterpret_cast<HWND>(reinterpret_cast<ULONG_PTR>(hWnd) & ~static_cast<ULONG_PTR>(1));
    if (!IsWindow(window)) return FALSE;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    // A dialog open over the window takes the keyboard: it comes forward, and
    // its owner with it.
    return SetForegroundWindow(GetLastActivePopup(window));
}
