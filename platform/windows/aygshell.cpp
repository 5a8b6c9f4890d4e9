// Desktop Windows stand-ins for the Pocket PC shell calls.
#include "platform/windows/aygshell.h"

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
