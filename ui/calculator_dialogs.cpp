#include "ui/calculator_dialogs.h"

#include <array>
#include <cstddef>
#include <utility>

#include "calc/calculators.h"
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

// Empties the calculator's fields in field order, results included, and puts
// the focus on its first field.
int ClearFields(HWND dialog, const mirabo::Calculator& calculator) {
    for (const mirabo::CalculatorField& field : calculator.fields) {
        SetWindowTextW(GetDlgItem(dialog, field.controlId), L"");
    }
    SetFocus(GetDlgItem(dialog, mirabo::FirstFieldId(calculator)));
    return kFormCleared;
}

// The most characters a field takes: what a calculation reads of it.
constexpr WPARAM kFieldLimit = mirabo::kFieldCapacity - 1;

// Every field takes at most 99 characters, typed or pasted, so that a
// calculation reads all that the field shows. Each input field has an input
// context of its own that starts closed: the field starts in direct input,
// as numeric fields do on a Japanese desktop, and the user can still switch
// the input method on for it.
void PrepareFields(HWND dialog, const mirabo::Calculator& calculator) {
    for (const mirabo::CalculatorField& field : calculator.fields) {
        HWND edit = GetDlgItem(dialog, field.controlId);
        SendMessageW(edit, EM_LIMITTEXT, kFieldLimit, 0);
        if (field.role != mirabo::FieldRole::Input) continue;
        HIMC context = ImmCreateContext();
        if (context == nullptr) continue;
        ImmSetOpenStatus(context, FALSE);
        ImmAssociateContext(edit, context);
    }
}

// Takes the input fields' own input contexts back and destroys them, as the
// dialog goes.
void ReleaseFieldContexts(HWND dialog, const mirabo::Calculator& calculator) {
    for (const mirabo::CalculatorField& field : calculator.fields) {
        if (field.role != mirabo::FieldRole::Input) continue;
        HIMC own = ImmAssociateContext(GetDlgItem(dialog, field.controlId), nullptr);
        // The thread's default context, should the field have had no own one,
        // refuses to be destroyed.
        if (own != nullptr) ImmDestroyContext(own);
    }
}

}  // namespace

int ClearCoordinateForm(HWND dialog) { return ClearFields(dialog, mirabo::kCoordinateRotation); }

int ClearRightTriangleForm(HWND dialog) { return ClearFields(dialog, mirabo::kRightTriangle); }

int ClearObliqueTriangleForm(HWND dialog) { return ClearFields(dialog, mirabo::kObliqueTriangle); }

int ClearOhmsLawForm(HWND dialog) { return ClearFields(dialog, mirabo::kOhmsLaw); }

namespace {

// The message handling every calculator dialog shares: Back (2) ends it, its
// Clear button empties its fields, its Calculate button runs its solver.
// Command 1 (the Done button, or Enter where there is no default button) is
// not answered. Opening, the fields get their limit and input contexts;
// closing, the contexts go.
INT_PTR CalculatorDialogMessage(HWND dialog, UINT message, WPARAM wParam,
                                const mirabo::Calculator& calculator) {
    if (message == WM_INITDIALOG) {
        InitCalculatorDialog(dialog);
        PrepareFields(dialog, calculator);
        return TRUE;
    }
    if (message == WM_DESTROY) {
        ReleaseFieldContexts(dialog, calculator);
        return FALSE;
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    const int id = LOWORD(wParam);
    if (id == IDC_BACK) {
        EndDialog(dialog, IDC_BACK);
        return TRUE;
    }
    if (id == calculator.clearId) {
        ClearFields(dialog, calculator);
        return TRUE;
    }
    if (id == calculator.calculateId) {
        DialogForm form(dialog);
        const mirabo::SolveResult result = calculator.solve(form);
        return calculator.answersCalculate && result == mirabo::SolveResult::Done ? TRUE : FALSE;
    }
    return FALSE;
}

// The dialog procedure of register entry I.
template <std::size_t I>
INT_PTR CALLBACK RegisteredDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    return CalculatorDialogMessage(dialog, message, wParam, *mirabo::kCalculators[I]);
}

template <std::size_t... I>
constexpr std::array<DLGPROC, sizeof...(I)> RegisteredDlgProcs(std::index_sequence<I...>) {
    return {RegisteredDlgProc<I>...};
}

constexpr auto kDialogProcedures =
    RegisteredDlgProcs(std::make_index_sequence<std::size(mirabo::kCalculators)>());

}  // namespace

DLGPROC CalculatorDialogProcedure(const mirabo::Calculator& calculator) {
    for (std::size_t i = 0; i < std::size(mirabo::kCalculators); ++i) {
        if (mirabo::kCalculators[i] == &calculator) return kDialogProcedures[i];
    }
    return nullptr;
}

INT_PTR CALLBACK CoordinateDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    return CalculatorDialogMessage(dialog, message, wParam, mirabo::kCoordinateRotation);
}

INT_PTR CALLBACK RightTriangleDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    return CalculatorDialogMessage(dialog, message, wParam, mirabo::kRightTriangle);
}

INT_PTR CALLBACK ObliqueTriangleDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    return CalculatorDialogMessage(dialog, message, wParam, mirabo::kObliqueTriangle);
}

INT_PTR CALLBACK OhmsLawDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    return CalculatorDialogMessage(dialog, message, wParam, mirabo::kOhmsLaw);
}

INT_PTR RunDialogTemplate(HINSTANCE instance, HWND owner, int templateId, DLGPROC procedure) {
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    HGLOBAL loaded = LoadResource(instance, found);
    return DialogBoxIndirectParamW(instance, (LPCDLGTEMPLATEW)LockResource(loaded), owner, procedure, 0);
}
