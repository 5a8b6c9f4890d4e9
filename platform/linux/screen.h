// The handheld's screen on the desktop: one top-level window showing a
// landscape screen of 320 x 240 device pixels, drawn at a scale (2 unless
// the environment variable MIRABO_SCALE gives another, from 1 to 8). From
// top to bottom: the title strip (26 device pixels) with the active window's
// caption and, when that window asked for one, the OK (Done) button; the
// work area, where the program's windows live; and the menu-bar strip (26
// device pixels) along the bottom.
//
// The program's top-level windows are child widgets of this window, stacked
// in the order they were brought to the top; the active window is the
// topmost one, and the menu strip shows its menu bar, if it has one.
// Coordinates inside are the widget's own pixels, which are device pixels
// times the scale.
//
// The desktop window is titled after the program's main window (the first
// window made with CreateWindowExW) while there is one, else after the active
// window. Closing it ends the program when the program has a main window, and
// otherwise closes the active window as the user would on the handheld.
#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <vector>

class QAbstractButton;

namespace mirabo::platform {

class TopLevelWindow;
class PushButtonWidget;

class Screen : public QWidget {
public:
    static constexpr int kDeviceWidth = 320;
    static constexpr int kDeviceHeight = 240;
    static constexpr int kStripHeight = 26;

    // The screen, created on first use (a QApplication must exist).
    static Screen* Instance();
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

    QString StripCaption() const { return stripCaption_; }
    // The title strip's OK button when it is shown, else null.
    QAbstractButton* DoneButton() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    explicit Screen(double scale);

    double scale_;
    std::vector<TopLevelWindow*> windows_;  // bottom to top
    QString stripCaption_;
    QWidget* titleStrip_ = nullptr;
    QWidget* menuStrip_ = nullptr;
    PushButtonWidget* doneButton_ = nullptr;
};

}  // namespace mirabo::platform
