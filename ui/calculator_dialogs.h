// The four calculator dialogs: their dialog procedures, the Clear routines
// that empty their fields, and the call that runs one of them modally.
#pragma once

#include "calc/calculators.h"
#include "platform/win32.h"

// Dialog procedures, for templates 104 (coordinate rotation), 105 (right
// triangle), 108 (oblique triangle) and 121 (Ohm's law). Each answers 1 for
// a message it handled and 0 otherwise.
INT_PTR CALLBACK CoordinateDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RightTriangleDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ObliqueTriangleDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK OhmsLawDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The dialog procedure of any calculator of the register (kCalculators): the
// four above for their calculators, and the same handling for any other.
DLGPROC CalculatorDialogProcedure(const mirabo::Calculator& calculator);

// What every Clear routine returns; no caller looks at it.
const int kFormCleared = 1;

// Empty every field of the form, in field order, then put the focus on its
// first field, and return kFormCleared.
int ClearCoordinateForm(HWND dialog);
int ClearRightTriangleForm(HWND dialog);
int ClearObliqueTriangleForm(HWND dialog);
int ClearOhmsLawForm(HWND dialog);

// Runs dialog template `templateId` (a calculator or the About box) of the
// instance's resources modally with `owner` as its owner, the procedure, and
// 0 as the initialisation parameter; returns when the dialog has ended, with
// its result.
INT_PTR RunDialogTemplate(HINSTANCE instance, HWND owner, int templateId, DLGPROC procedure);
