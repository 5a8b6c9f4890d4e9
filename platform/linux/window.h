// Windows of the platform layer: every window the program can name by handle
// (the main window and its menu bar, dialogs, their controls, message boxes)
// is a Window that owns one widget.
// Handles are looked up in a table, so a handle whose window has gone is
// simply unknown, as on the platform.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

#include "platform/linux/win32_api.h"

class QEventLoop;
class QKeyEvent;

namespace mirabo::platform {

class TopLevelWindow;

class Window {
public:
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return handle_; }
    QWidget* Widget() const { return widget_; }
    DWORD Style() const { return style_; }
    int Id() const { return id_; }
    // The window a control or menu bar belongs to; null for a top-level window.
    TopLevelWindow* Parent() const { return parent_; }
    // The top-level window this window is or belongs to.
    virtual TopLevelWindow* TopLevel() { return parent_; }

    virtual QString Text() const = 0;
    virtual void SetText(const QString& text) = 0;

    // The one way a message reaches a window, whatever sends it
    // (SendMessageW, DispatchMessageW, the platform itself): the window's
    // own procedure answers. A window without one answers 0.
    virtual LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);
    // DestroyWindow: destroys the window, this object with it, and returns
    // true; false for a window that goes another way (a dialog with
    // EndDialog, a message box with its answer, a control with its dialog).
    virtual bool Destroy() { return false; }

    static Window* FromHandle(HWND handle);
    // The window of a widget or of its nearest ancestor that has one.
    static Window* FromWidget(QWidget* widget);

protected:
    Window(DWORD style, int id, TopLevelWindow* parent);
    // Gives the window its widget and its handle.
    void Attach(QWidget* widget);

private:
    DWORD style_;
    int id_;
    TopLevelWindow* parent_;
    HWND handle_ = nullptr;
    QWidget* widget_ = nullptr;
};

// A window of its own on the handheld's screen (a program window made with
// CreateWindowExW, a dialog or a message box): it has a caption, may have an
// owner that it disables while it is modal, and dialogs and message boxes run
// a modal loop of their own.
class TopLevelWindow : public Window {
public:
    ~TopLevelWindow() override;

    TopLevelWindow* TopLevel() override { return this; }
    QString Text() const override { return caption_; }
    void SetText(const QString& text) override;

    // Whether this is one of the program's own windows (made with
    // CreateWindowExW), the first of which is its main window.
    virtual bool IsProgramWindow() const { return false; }

    // The top-level window that owns this one, if it still exists.
    TopLevelWindow* Owner() const;
    // Whether the shell shows an OK (Done) button for it in the title strip.
    bool HasDoneButton() const { return doneButton_; }
    void SetDoneButton(bool shown);
    // The window's rectangle in the screen widget's pixels.
    void SetGeometry(const QRect& rect);

    // The buttons of the window's menu bar, shown in the screen's menu strip
    // while this window is the active one; null when it has none.
    QWidget* MenuBarWidget() const { return menuBar_; }
    void SetMenuBarWidget(QWidget* bar);

    // Enables or disables the window like the platform's EnableWindow: the
    // control that had the focus gets it back when the window is enabled again.
    void SetEnabled(bool enabled);
    bool IsEnabled() const;

    // Keyboard handling of the platform's dialog manager (Tab, Enter, Esc)
    // before the key reaches the control; true when the key was used.
    virtual bool HandleKey(QKeyEvent* event) = 0;
    // What the shell does when the user closes the window from outside.
    virtual void CloseFromShell() = 0;
    // The Done button in the title strip was pressed.
    virtual void DonePressed() {}
    // The program is ending: the modal loop ends at once, with the answer
    // the window gives when it is dismissed.
    virtual void AbortModal() { EndModal(0); }

    bool IsModalRunning() const { return loop_ != nullptr && !ended_; }

protected:
    TopLevelWindow(DWORD style, TopLevelWindow* owner);

    // Shows the window on top, disables the owner, and runs the modal loop
    // until EndModal; then hides the window and gives the owner back its
    // input. `result` is what EndModal was given.
    INT_PTR RunModal();
    void EndModal(INT_PTR result);
    bool Ended() const { return ended_; }

    // Disables the owner for the modal loop (done before the loop so that
    // the owner's focus is kept); called by RunModal if not yet done.
    void DisableOwner();
    void ReleaseOwner();

private:
    QString caption_;
    HWND ownerHandle_;
    bool doneButton_ = false;
    bool ownerDisabled_ = false;
    bool ended_ = false;
    INT_PTR result_ = 0;
    QEventLoop* loop_ = nullptr;
    HWND savedFocus_ = nullptr;
    QPointer<QWidget> menuBar_;
};

// Makes sure a QApplication exists; false when the process has a core
// application without widgets.
bool EnsureApplication();

// A new window handle: never one used before in this process, and a multiple
// of 4, so that the low bits are free.
HWND NewHandle();

// How many modal loops (dialogs, message boxes) are running, nested.
int ModalDepth();

// The program is ending (its desktop window was closed): every running modal
// loop ends, none starts any more, and the message loop gets WM_QUIT.
bool ProgramEnding();
void SetProgramEnding(bool ending);
void AbortModalLoops();

// Converts a zero-terminated wide text of the program to a QString.
QString FromWide(LPCWSTR text);

// Called with the handle of every modal loop that starts (dialogs and
// message boxes), from inside that loop.
using ModalLoopObserver = void (*)(HWND);
void SetModalLoopObserver(ModalLoopObserver observer);

}  // namespace mirabo::platform
