#include "ui/calculator_dialogs.h"

#include "calc/solvers.h"
#include "res/resource.h"
#include "ui/dialog_form.h"

namespace {

// Full screen, input panel down, and a Done button, as every calculator
// dialog starts.
void InitCalculatorDialog(HWND dialog) {
    SHINITDLGINFO info;
    info.dwMask = SHIDIM_FLAGS;
    info.hDlg = dialog;
    info.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN;
    SHInitDialog(&info);
}

int ClearFields(HWND dialog, const int* fields, int count) {
    for (int i = 0; i < count; ++i) {
        SetWindowTextW(GetDlgItem(dialog, fields[i]), L"");
    }
    SetFocus(GetDlgItem(dialog, 1001));
    return 1;
}

}  // namespace

int ClearCoordinateForm(HWND dialog) {
    static const int fields[] = {IDC_COORD_X, IDC_COORD_Y, IDC_COORD_ANGLE, IDC_COORD_X_RESULT,
                                 IDC_COORD_Y_RESULT};
    return ClearFields(dialog, fields, sizeof(fields) / sizeof(fields[0]));
}

int ClearRightTriangleForm(HWND dialog) {
    static const int fields[] = {IDC_RIGHT_A, IDC_RIGHT_B, IDC_RIGHT_C, IDC_RIGHT_ALPHA, IDC_RIGHT_BETA};
    return ClearFields(dialog, fields, sizeof(fields) / sizeof(fields[0]));
}

int ClearObliqueTriangleForm(HWND dialog) {
    static const int fields[] = {IDC_OBLIQUE_A,     IDC_OBLIQUE_B,    IDC_OBLIQUE_C,
                                 IDC_OBLIQUE_ALPHA, IDC_OBLIQUE_BETA, IDC_OBLIQUE_GAMMA};
    return ClearFields(dialog, fields, sizeof(fields) / sizeof(fields[0]));
}

int ClearOhmsLawForm(HWND dialog) {
    static const int fields[] = {IDC_OHM_VOLTAGE, IDC_OHM_CURRENT, IDC_OHM_RESISTANCE, IDC_OHM_POWER};
    return ClearFields(dialog, fields, sizeof(fields) / sizeof(fields[0]));
}

INT_PTR CALLBACK CoordinateDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        InitCalculatorDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_BACK:
            EndDialog(dialog, IDC_BACK);
            return TRUE;
        case IDC_COORD_CLEAR:
            ClearCoordinateForm(dialog);
            return TRUE;
        case IDC_COORD_CALCULATE: {
            DialogForm form(dialog);
            return mirabo::RotateCoordinates(form) == 0 ? TRUE : FALSE;
        }
        }
        return FALSE;
    }
    return FALSE;
}

INT_PTR CALLBACK RightTriangleDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        InitCalculatorDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_BACK:
            EndDialog(dialog, IDC_BACK);
            return TRUE;
        case IDC_RIGHT_CLEAR:
            ClearRightTriangleForm(dialog);
            return TRUE;
        case IDC_RIGHT_CALCULATE: {
            DialogForm form(dialog);
            return mirabo::SolveRightTriangle(form) == 0 ? TRUE : FALSE;
        }
        }
        return FALSE;
    }
    return FALSE;
}

INT_PTR CALLBACK ObliqueTriangleDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        InitCalculatorDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_BACK:
            EndDialog(dialog, IDC_BACK);
            return TRUE;
        case IDC_OBLIQUE_CLEAR:
            ClearObliqueTriangleForm(dialog);
            return TRUE;
        case IDC_OBLIQUE_CALCULATE: {
            DialogForm form(dialog);
            return mirabo::SolveObliqueTriangle(form) == 0 ? TRUE : FALSE;
        }
        }
        return FALSE;
    }
    return FALSE;
}

INT_PTR CALLBACK OhmsLawDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        InitCalculatorDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_BACK:
            EndDialog(dialog, IDC_BACK);
            return TRUE;
        case IDC_OHM_CLEAR:
            ClearOhmsLawForm(dialog);
            return TRUE;
        case IDC_OHM_CALCULATE: {
            // The Ohm's law dialog answers 0 after Calculate, whatever the
            // solver returned.
            DialogForm form(dialog);
            mirabo::SolveOhmsLaw(form);
            return FALSE;
        }
        }
        return FALSE;
    }
    return FALSE;
}

INT_PTR OpenCalculatorDialog(HINSTANCE instance, HWND owner, int templateId, DLGPROC procedure) {
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    HGLOBAL loaded = LoadResource(instance, found);
    return DialogBoxIndirectParamW(instance, (LPCDLGTEMPLATEW)LockResource(loaded), owner, procedure, 0);
}
