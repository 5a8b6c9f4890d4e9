// The program's own windows (made with CreateWindowExW from a registered
// window class, see window_classes.cpp): a widget in the screen's work area
// whose messages go to the class's window procedure. WM_PAINT is delivered
// from the widget's paint event, with the background already erased in the
// class's brush; keys typed into the window are posted to the message queue
// as the platform posts them: WM_KEYDOWN and WM_KEYUP, or WM_SYSKEYDOWN and
// WM_SYSKEYUP for Alt, F10 and keys pressed with Alt.
#pragma once

#include <QString>

#include <vector>

#include "platform/linux/screen.h"

namespace mirabo::platform {

class FrameWindow : public TopLevelWindow {
public:
    FrameWindow(WNDPROC procedure, HBRUSH background, const QString& className, const QString& title,
                DWORD style, DWORD exStyle);
    ~FrameWindow() override;

    static FrameWindow* FromHandle(HWND handle);
    // The first program window of the class and title (either may be null
    // to match any), compared without regard to case.
    static FrameWindow* Find(const QString* className, const QString* title);

    QString ClassName() const { return className_; }
    HBRUSH Background() const { return background_; }

    // Calls the window procedure.
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override;
    // WM_DESTROY to the procedure, then the window goes with its menu bars.
    bool Destroy() override;
    bool IsProgramWindow() const override { return true; }

    // Whether this window announced itself to other copies of the program.
    bool Announced() const { return announced_; }
    void SetAnnounced() { announced_ = true; }

    bool HandleKey(QKeyEvent* event) override;
    bool HandleKeyRelease(QKeyEvent* event) override;
    void CloseFromShell() override;

private:
    WNDPROC procedure_;
    HBRUSH background_;
    QString className_;
    bool destroying_ = false;
    bool announced_ = false;
};

// Throws away every program window without a message to any of them, as
// when the process ends, and takes back their announcements to other copies.
void DiscardFrameWindows();

}  // namespace mirabo::platform
