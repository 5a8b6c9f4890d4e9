#include "ui/dialog_form.h"

#include "ui/main_window.h"

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

int DialogForm::ShowMessage(int messageId, int buttons) {
    // Room for the longest message and then some.
    WCHAR text[512];
    text[0] = 0;
    LoadStringW(appInstance, static_cast<UINT>(messageId), text, 512);
    return MessageBoxW(dialog_, text, NULL, static_cast<UINT>(buttons));
}
