// Dialogs made from templates, and their controls (DialogBoxIndirectParamW,
// EndDialog).
#pragma once

#include <QFont>
#include <QSize>
#include <QSizeF>

#include <memory>
#include <vector>

#include "platform/linux/dialog_template.h"
#include "platform/linux/screen.h"

namespace mirabo::platform {

// A control of a dialog: an edit, button or static control (any other class
// becomes an empty static control).
class ControlWindow : public Window {
public:
    ControlWindow(const DialogItemTemplate& item, TopLevelWindow* dialog);

    // Whether Enter presses this control (a push button) rather than the
    // dialog's default button.
    virtual bool IsPushButton() const { return false; }
};

class DialogWindow : public TopLevelWindow {
public:
    DialogWindow(const DialogTemplate& dialogTemplate, DLGPROC procedure, TopLevelWindow* owner);
    ~DialogWindow() override;

    static DialogWindow* FromHandle(HWND handle);

    // WM_INITDIALOG, the first tab stop's focus, then the modal loop; returns
    // what EndDialog was given.
    INT_PTR Run(LPARAM initParam);
    void End(INT_PTR result) { EndModal(result); }

    // Delivers a message to the dialog procedure, then does the dialog
    // manager's own part for what the procedure left alone.
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Command(int id, int code, HWND control);

    // The first control with this identifier, in template order.
    Window* Item(int id) const;
    const std::vector<std::unique_ptr<ControlWindow>>& Controls() const { return controls_; }

    // The dialog font's base units, in the screen widget's pixels.
    QSizeF BaseUnits() const { return baseUnits_; }
    // A rectangle in dialog units in the screen widget's pixels.
    QRect MapDialogRect(int x, int y, int cx, int cy) const;

    bool HandleKey(QKeyEvent* event) override;
    void CloseFromShell() override;
    void DonePressed() override;

private:
    Window* FirstTabStop() const;
    Window* DefaultButton() const;
    // The control of this dialog that has the keyboard focus, or null.
    ControlWindow* FocusedControl() const;
    void MoveFocus(Window* from, bool backwards);
    // The default look follows the focus as the platform's dialog manager
    // moves it: to a push button the focus reached by Tab or by the user,
    // and back to the template's default button when a control that is no
    // push button takes the focus. SetFocus onto a button moves nothing.
    void FollowFocus(QWidget* focus);
    HWND ItemHandle(int id) const;
    // The command Esc and the close box send: IDCANCEL, or IDOK when the
    // dialog has a Done button and no cancel control.
    int CancelId() const;

    DLGPROC procedure_;
    QFont font_;
    QSizeF baseUnits_;
    std::vector<std::unique_ptr<ControlWindow>> controls_;
};

}  // namespace mirabo::platform
