// Program windows made with CreateWindowExW from a registered window class:
// a widget in the screen's work area whose messages go to the class's window
// procedure. WM_PAINT is delivered from the widget's paint event, with the
// background already erased in the class's brush; keys typed into the window
// are posted to the message queue as WM_KEYDOWN messages.
#pragma once

#include <QPainter>
#include <QString>

#include "platform/linux/window.h"

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
    // Every program window, oldest first.
    static std::vector<FrameWindow*> All();

    QString ClassName() const { return className_; }

    // Calls the window procedure.
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override;
    // WM_DESTROY to the procedure, then the window goes with its menu bars.
    bool Destroy() override;
    bool IsProgramWindow() const override { return true; }

    // The painter of the paint event being delivered, or null.
    QPainter* Painter() const { return painter_; }
    void SetPainter(QPainter* painter) { painter_ = painter; }
    HBRUSH Background() const { return background_; }

    bool Destroying() const { return destroying_; }
    // Whether this window announced itself to other copies of the program.
    bool Announced() const { return announced_; }
    void SetAnnounced() { announced_ = true; }

    bool HandleKey(QKeyEvent* event) override;
    void CloseFromShell() override;

private:
    WNDPROC procedure_;
    HBRUSH background_;
    QString className_;
    QPainter* painter_ = nullptr;
    bool destroying_ = false;
    bool announced_ = false;
};

// The colour of a brush from GetStockObject; false for no brush or an unknown one.
bool BrushColor(HBRUSH brush, QColor* color);

// Throws away every program window without a message to any of them, as
// when the process ends, and takes back their announcements to other copies.
void DiscardProgramWindows();

}  // namespace mirabo::platform
