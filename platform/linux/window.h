// Windows of the platform layer: every window the program can name by handle
// (the main window and its menu bar, dialogs, their controls, message boxes)
// is a Window that owns one widget and answers messages through Send.
// Handles are looked up in a table, so a handle whose window has gone is
// simply unknown, as on the platform.
#pragma once

#include <QString>
#include <QWidget>

#include "platform/linux/win32_api.h"

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

// Makes sure a QApplication exists; false when the process has a core
// application without widgets.
bool EnsureApplication();

// A new window handle: never one used before in this process, and a multiple
// of 4, so that the low bits are free.
HWND NewHandle();

// The program is ending (its desktop window was closed): every running modal
// loop ends, none starts any more, nothing is shown again, and the message
// loop gets WM_QUIT.
bool ProgramEnding();
void SetProgramEnding(bool ending);

// Converts a zero-terminated wide text of the program to a QString.
QString FromWide(LPCWSTR text);

}  // namespace mirabo::platform
