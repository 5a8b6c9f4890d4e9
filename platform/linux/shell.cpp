// The Pocket PC shell calls the program uses: full-screen dialogs with a
// Done button (SHInitDialog), the menu bar (SHCreateMenuBar) and settings
// changes (SHHandleWMSettingChange).
#include <vector>

#include "platform/linux/dialog.h"
#include "platform/linux/menu_bar.h"
#include "platform/linux/resource_directory.h"
#include "platform/linux/screen.h"
#include "platform/menu_bar_data.h"

using namespace mirabo::platform;

BOOL WINAPI SHInitDialog(PSHINITDLGINFO pshidi) {
    if (pshidi == nullptr || !(pshidi->dwMask & SHIDIM_FLAGS)) return FALSE;
    DialogWindow* dialog = DialogWindow::FromHandle(pshidi->hDlg);
    if (dialog == nullptr) return FALSE;
    if (pshidi->dwFlags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR)) {
        // The screen has no input panel, so both sizes are the work area.
        dialog->SetGeometry(Screen::Instance()->WorkArea());
    }
    // SHIDIF_SIPDOWN: there is no input panel to put down.
    // A dialog whose template asks for a caption OK button keeps it.
    if (pshidi->dwFlags & SHIDIF_DONEBUTTON) dialog->SetDoneButton(true);
    return TRUE;
}

BOOL WINAPI SHCreateMenuBar(PSHMENUBARINFO pmbi) {
    if (pmbi == nullptr || pmbi->cbSize < sizeof(SHMENUBARINFO)) return FALSE;
    Window* parent = Window::FromHandle(pmbi->hwndParent);
    if (parent == nullptr || parent->Parent() != nullptr) return FALSE;
    WORD menuId = 0;
    std::vector<MenuBarButton> buttons;
    if (!(pmbi->dwFlags & SHCMBF_EMPTYBAR)) {
        const ResourceEntry* data = FindProgramResource(RT_RCDATA, MAKEINTRESOURCEW(pmbi->nToolBarId));
        if (data == nullptr || !ParseMenuBarData(data->data, data->size, &menuId, &buttons)) return FALSE;
    }
    auto* bar =
        new MenuBarWindow(parent->TopLevel(), menuId, std::move(buttons), pmbi->dwFlags & SHCMBF_HIDDEN);
    pmbi->hwndMB = bar->Handle();
    return TRUE;
}

LRESULT WINAPI SHHandleWMSettingChange(HWND, WPARAM, LPARAM, PSHACTIVATEINFO) {
    // There is no input panel whose changes a window would follow.
    return 0;
}
