// The handheld's screen on the desktop, and the top-level windows it shows.
//
// The screen is one top-level desktop window showing a landscape screen of
// 320 x 240 device pixels, drawn at a scale: 2 unless the environment
// variable MIRABO_SCALE asks for another, from 1 to 8, and lower when the
// window would not fit the desktop's available area (screen_scale.h); the
// window opens centred there. From top to bottom: the
// title strip (26 device pixels) with the active window's caption and, when
// that window asked for one, the OK (Done) button; the work area, where the
// program's windows live; and the menu-bar strip (26 device pixels) along
// the bottom.
//
// The program's top-level windows (its own windows, dialogs and message
// boxes) are child widgets of the screen, stacked in the order they were
// brought to the top; the active window is the topmost one, and the menu
// strip shows its menu bar, if it has one. A top-level window tells the
// screen whenever what the strips show of it changes. Coordinates inside are
// the widget's own pixels, which are device pixels times the scale.
//
// The desktop window is titled after the program's main window (the first
// window made with CreateWindowExW) while there is one, else after the active
// window. Closing it ends the program when the program has a main window, and
// otherwise closes the active window as the user would on the handheld.
#pragma once

#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

#include "platform/linux/window.h"

class QAbstractButton;
class QEventLoop;
class QKeyEvent;

namespace mirabo::platform {

class PushButtonWidget;

// A window of its own on the handheld's screen (a program window made with
// CreateWindowExW, a dialog or a message box): it has a caption, may have an
// owner that it disables while it is modal, and dialogs and message boxes run
// a modal loop of their own (RunModalLoop).
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
    // The same for a key let go; true when it was used.
    virtual bool HandleKeyRelease(QKeyEvent*) { return false; }
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

    // Ends the modal loop (or keeps it from starting): the window hides and
    // gives the owner back its input; the loop returns `result`.
    void EndModal(INT_PTR result);
    bool Ended() const { return ended_; }

    // Disables the owner for the modal loop (done before the loop so that
    // the owner's focus is kept); done by the loop if not yet done.
    void DisableOwner();
    void ReleaseOwner();

private:
    friend INT_PTR RunModalLoop(TopLevelWindow* window);

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

class Screen : public QWidget {
public:
    static constexpr int kDeviceWidth = 320;
    static constexpr int kDeviceHeight = 240;
    static constexpr int kStripHeight = 26;

    // The screen, created on first use (a QApplication must exist).
    static Screen* Instance();
    // A new screen at another scale in place of the existing one, which must
    // show no window; null when it does.
    static Screen* Replace(double scale);
    // The screen if it has been created.
    static Screen* Existing();

    double Scale() const { return scale_; }
    int Scaled(int devicePixels) const;

    QRect TitleStripRect() const;
    QRect WorkArea() const;
    QRect MenuStripRect() const;
    // The strip that menu bars put their buttons in.
    QWidget* MenuStripWidget() const { return menuStrip_; }

    // Converts between device pixels and the screen widget's pixels.
    QRect ToDevice(const QRect& widgetRect) const;
    QRect FromDevice(const QRect& deviceRect) const;

    void AddWindow(TopLevelWindow* window);
    void RemoveWindow(TopLevelWindow* window);
    // Shows the window above all others and makes it the active one.
    void BringToTop(TopLevelWindow* window);
    // The topmost visible window, or null.
    TopLevelWindow* ActiveWindow() const;
    // The program's main window (the first program window), or null.
    TopLevelWindow* MainWindow() const;

    // Shows the desktop window, raises it above the desktop's other windows
    // and activates it (unless the program is ending).
    void RaiseDesktopWindow();

    // Brings the title strip, the desktop window's title and its visibility
    // up to date with the windows.
    void Refresh();

    // Runs `work` once the screen has shown its first frame: just after its
    // first paint on the desktop, or at once when that has been or the screen
    // is not shown; at most kFirstFrameWaitMs after the call whatever the
    // desktop does. What the first frame does not need waits here.
    static constexpr int kFirstFrameWaitMs = 500;
    void AfterFirstFrame(std::function<void()> work);

    QString StripCaption() const { return stripCaption_; }
    // The title strip's OK button when it is shown, else null.
    QAbstractButton* DoneButton() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    explicit Screen(double scale);
    // Places the window in the middle of the desktop's available area.
    void PlaceOnDesktop();
    void RunAfterFirstFrame();

    double scale_;
    bool firstFrameShown_ = false;
    std::vector<std::function<void()>> afterFirstFrame_;
    std::vector<TopLevelWindow*> windows_;  // bottom to top
    QString stripCaption_;
    QWidget* titleStrip_ = nullptr;
    QWidget* menuStrip_ = nullptr;
    PushButtonWidget* doneButton_ = nullptr;
};

}  // namespace mirabo::platform
