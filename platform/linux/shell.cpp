// The Pocket PC shell's dialog initialisation.
#include "platform/linux/dialog.h"
#include "platform/linux/screen.h"

using mirabo::platform::DialogWindow;
using mirabo::platform::Screen;

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
