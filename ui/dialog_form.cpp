#include "ui/dialog_form.h"

void DialogForm::ReadField(mirabo::FieldBuffer& buffer, int controlId) {
    // An empty text if the control cannot be read, so that nothing of an
    // earlier calculation is taken for the field's text.
    buffer[0] = 0;
    GetWindowTextW(GetDlgItem(dialog_, controlId), buffer, static_cast<int>(mirabo::kFieldCapacity));
}

void DialogForm::SetFieldText(int controlId, const mirabo::FieldBuffer& buffer) {
    SetWindowTextW(GetDlgItem(dialog_, controlId), buffer);
}

void DialogForm::FocusField(int controlId) { SetFocus(GetDlgItem(dialog_, controlId)); }

int DialogForm::ShowMessage(const wchar_t* text, int buttons) {
    return MessageBoxW(dialog_, text, NULL, static_cast<UINT>(buttons));
}
