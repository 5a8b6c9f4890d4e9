// A calculator dialog as its solver's calculation form: each form service is
// a short sequence of the platform's window calls on the dialog's controls.
#pragma once

#include "calc/form.h"
#include "platform/win32.h"

class DialogForm : public mirabo::CalcForm {
public:
    explicit DialogForm(HWND dialog) : dialog_(dialog) {}

    // GetDlgItem, then GetWindowTextW with a capacity of 100.
    void ReadField(mirabo::FieldBuffer& buffer, int controlId) override;
    // GetDlgItem, then SetWindowTextW.
    void SetFieldText(int controlId, const mirabo::FieldBuffer& buffer) override;
    // GetDlgItem, then SetFocus.
    void FocusField(int controlId) override;
    // LoadStringW of the message's text from the program's resources, then
    // MessageBoxW owned by the dialog, with the platform's default caption.
    int ShowMessage(int messageId, int buttons) override;

private:
    HWND dialog_;
};
