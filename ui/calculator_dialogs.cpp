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
    return kFormCleared;
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

namespace {

// How a calculator dialog routes its commands: Back (2) ends it, its Clear
// button empties its form, its Calculate button runs its solver.
struct CalculatorRoutes {
    int calculateId;
    int clearId;
    mirabo::SolveResult (*solve)(mirabo::CalcForm& form);
    int (*clear)(HWND dialog);
    // Whether Calculate is answered 1 when the solver got through (and 0 when
    // it stopped for missing input), or 0 whatever the solver returned.
    bool answersCalculate;
};

const CalculatorRoutes kCoordinateRoutes = {IDC_COORD_CALCULATE, IDC_COORD_CLEAR, mirabo::RotateCoordinates,
                                            ClearCoordinateForm, true};
const CalculatorRoutes kRightTriangleRoutes = {IDC_RIGHT_CALCULATE, IDC_RIGHT_CLEAR,
                                               mirabo::SolveRightTriangle, ClearRightTriangleForm, true};
const CalculatorRoutes kObliqueTriangleRoutes = {
    IDC_OBLIQUE_CALCULATE, IDC_OBLIQUE_CLEAR, mirabo::SolveObliqueTriangle, ClearObliqueTriangleForm, true};
const CalculatorRoutes kOhmsLawRoutes = {IDC_OHM_CALCULATE, IDC_OHM_CLEAR, mirabo::SolveOhmsLaw,
                                         ClearOhmsLawForm, false};

// The message handling the four calculator dialogs share. Command 1 (the
// Done button, or Enter where there is no default button) is not answered.
INT_PTR CalculatorDialogMessage(HWND dialog, UINT message, WPARAM wParam, const CalculatorRoutes& routes) {
    if (message == WM_INITDIALOG) {
        InitCalculatorDialog(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    const int id = LOWORD(wParam);
    if (id == IDC_BACK) {
        EndDialog(dialog, IDC_BACK);
        return TRUE;
    }
    if (id == routes.clearId) {
        routes.clear(dialog);
        return TRUE;
    }
    if (id == routes.calculateId) {
        DialogForm form(dialog);
        const mirabo::SolveResult result = routes.solve(form);
        return routes.answersCalculate && result == mirabo::SolveResult::Done ? TRUE : FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK CoordinateDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    return CalculatorDialogMessage(dialog, message, wParam, kCoordinateRoutes);
}

INT_PTR CALLBACK RightTriangleDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    return CalculatorDialogMessage(dialog, message, wParam, kRightTriangleRoutes);
}

INT_PTR CALLBACK ObliqueTriangleDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    return CalculatorDialogMessage(dialog, message, wParam, kObliqueTriangleRoutes);
}

INT_PTR CALLBACK OhmsLawDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    return CalculatorDialogMessage(dialog, message, wParam, kOhmsLawRoutes);
}

INT_PTR RunDialogTemplate(HINSTANCE instance, HWND owner, int templateId, DLGPROC procedure) {
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    HGLOBAL loaded = LoadResource(instance, found);
    return DialogBoxIndirectParamW(instance, (LPCDLGTEMPLATEW)LockResource(loaded), owner, procedure, 0);
}
