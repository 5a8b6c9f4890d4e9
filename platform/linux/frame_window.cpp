#include "platform/linux/frame_window.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

#include "platform/linux/accessibility.h"
#include "platform/linux/menu_bar.h"
#include "platform/linux/messages.h"
#include "platform/linux/painting.h"
#include "platform/linux/single_instance.h"

namespace mirabo::platform {

namespace {

std::vector<FrameWindow*>& Frames() {
    static std::vector<FrameWindow*> frames;
    return frames;
}

// The widget of a program window: erases its background and delivers
// WM_PAINT to the window procedure when Qt paints it.
class FrameWidget : public QWidget {
public:
    FrameWidget(QWidget* parent, double scale) : QWidget(parent), scale_(scale) {
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent, true);
    }

    void SetHandle(HWND handle) { handle_ = handle; }
    // Whether the paint event is being delivered now.
    bool Painting() const { return painting_; }

protected:
    void paintEvent(QPaintEvent*) override {
        FrameWindow* frame = FrameWindow::FromHandle(handle_);
        if (frame == nullptr) return;
        QPainter painter(this);
        QColor background;
        if (BrushColor(frame->Background(), &background)) painter.fillRect(rect(), background);
        painter.scale(scale_, scale_);
        PaintEvent paint(handle_, &painter);
        painting_ = true;
        frame->Send(WM_PAINT, 0, 0);
        painting_ = false;
    }

    // Nothing the window procedure paints depends on the keyboard focus, so
    // gaining or losing it repaints nothing (Qt's own handlers would repaint
    // the whole window, the frame after the first one on the desktop).
    void focusInEvent(QFocusEvent*) override {}
    void focusOutEvent(QFocusEvent*) override {}

private:
    double scale_;
    HWND handle_ = nullptr;
    bool painting_ = false;
};

void DeleteFrame(FrameWindow* frame) {
    if (frame->Announced()) WithdrawWindow(frame->ClassName(), frame->Text());
    delete frame;
}

}  // namespace

FrameWindow::FrameWindow(WNDPROC procedure, HBRUSH background, const QString& className, const QString& title,
                         DWORD style, DWORD exStyle)
    : TopLevelWindow(style, nullptr), procedure_(procedure), background_(background), className_(className) {
    (void)exStyle;
    Screen* screen = Screen::Instance();
    auto* widget = new FrameWidget(screen, screen->Scale());
    MarkAccessible(widget, AccessibleKind::ProgramWindow);
    widget->hide();
    Attach(widget);
    widget->SetHandle(Handle());
    screen->AddWindow(this);
    SetText(title);
    Frames().push_back(this);
}

FrameWindow::~FrameWindow() {
    auto& frames = Frames();
    frames.erase(std::remove(frames.begin(), frames.end(), this), frames.end());
    DestroyMenuBarsOf(this);
    auto* widget = static_cast<FrameWidget*>(Widget());
    widget->hide();
    if (widget->Painting()) {
        // Destroyed from inside its own paint event: the widget goes once
        // that event is over.
        widget->SetHandle(nullptr);
        widget->deleteLater();
    } else {
        delete widget;
    }
}

FrameWindow* FrameWindow::FromHandle(HWND handle) {
    return dynamic_cast<FrameWindow*>(Window::FromHandle(handle));
}

FrameWindow* FrameWindow::Find(const QString* className, const QString* title) {
    for (FrameWindow* frame : Frames()) {
        if (frame->destroying_) continue;
        if (className != nullptr && frame->className_.compare(*className, Qt::CaseInsensitive) != 0) continue;
        if (title != nullptr && frame->Text().compare(*title, Qt::CaseInsensitive) != 0) continue;
        return frame;
    }
    return nullptr;
}

LRESULT FrameWindow::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return procedure_ ? procedure_(Handle(), message, wParam, lParam) : 0;
}

bool FrameWindow::Destroy() {
    if (destroying_) return false;
    destroying_ = true;
    HWND handle = Handle();
    Send(WM_DESTROY, 0, 0);
    // The procedure may have destroyed the window itself meanwhile.
    if (FrameWindow* frame = FromHandle(handle)) DeleteFrame(frame);
    return true;
}

namespace {

// Alt, F10 and the keys pressed with Alt are the system's keys.
bool IsSystemKey(const QKeyEvent* event) {
    return (event->modifiers() & Qt::AltModifier) || event->key() == Qt::Key_Alt ||
           event->key() == Qt::Key_F10;
}

}  // namespace

bool FrameWindow::HandleKey(QKeyEvent* event) {
    WPARAM key = VirtualKeyOf(event->key());
    if (key == 0 && event->text().isEmpty()) return false;
    PostKeyMessage(Handle(), IsSystemKey(event) ? WM_SYSKEYDOWN : WM_KEYDOWN, key, event->modifiers(),
                   event->text());
    return true;
}

bool FrameWindow::HandleKeyRelease(QKeyEvent* event) {
    WPARAM key = VirtualKeyOf(event->key());
    if (key == 0 || event->isAutoRepeat()) return false;
    PostKeyMessage(Handle(), IsSystemKey(event) ? WM_SYSKEYUP : WM_KEYUP, key, event->modifiers(), QString());
    return true;
}

void FrameWindow::CloseFromShell() { EndProgram(); }

void DiscardFrameWindows() {
    std::vector<FrameWindow*> frames = Frames();
    for (FrameWindow* frame : frames) DeleteFrame(frame);
}

}  // namespace mirabo::platform
