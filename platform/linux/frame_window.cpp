#include "platform/linux/frame_window.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QVariant>

#include <algorithm>
#include <map>
#include <memory>
#include <utility>

#include "platform/linux/fonts.h"
#include "platform/linux/icons.h"
#include "platform/linux/menu_bar.h"
#include "platform/linux/message_queue.h"
#include "platform/linux/screen.h"
#include "platform/linux/single_instance.h"

namespace mirabo::platform {

namespace {

// ---------------------------------------------------------------------------
// Window classes

struct WindowClass {
    WNDCLASSW record;
    QString name;
    ATOM atom;
};

std::vector<WindowClass>& Classes() {
    static std::vector<WindowClass> classes;
    return classes;
}

const WindowClass* FindClass(LPCWSTR name) {
    if (name == nullptr) return nullptr;
    if (IS_INTRESOURCE(name)) {
        ATOM atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
        for (const WindowClass& c : Classes()) {
            if (c.atom == atom) return &c;
        }
        return nullptr;
    }
    QString wanted = FromWide(name);
    for (const WindowClass& c : Classes()) {
        if (c.name.compare(wanted, Qt::CaseInsensitive) == 0) return &c;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Stock brushes

struct Brush {
    QColor color;
    bool hollow;
};

Brush g_stockBrushes[] = {
    {QColor(255, 255, 255), false},  // WHITE_BRUSH
    {QColor(192, 192, 192), false},  // LTGRAY_BRUSH
    {QColor(128, 128, 128), false},  // GRAY_BRUSH
    {QColor(64, 64, 64), false},     // DKGRAY_BRUSH
    {QColor(0, 0, 0), false},        // BLACK_BRUSH
    {QColor(), true},                // NULL_BRUSH
};

// ---------------------------------------------------------------------------
// Windows of other running copies, as FindWindowW hands them out.

struct RemoteWindow {
    QString className;
    QString title;
};

std::map<HWND, RemoteWindow>& RemoteWindows() {
    static std::map<HWND, RemoteWindow> windows;
    return windows;
}

std::vector<FrameWindow*>& Frames() {
    static std::vector<FrameWindow*> frames;
    return frames;
}

// The device context of the paint being delivered; a program window paints
// only inside its paint event, so there is one at a time.
struct DeviceContext {
    HWND window = nullptr;
    QPainter* painter = nullptr;
};
DeviceContext g_paintContext;

// The widget of a program window: erases its background and delivers
// WM_PAINT to the window procedure when Qt paints it.
class FrameWidget : public QWidget {
public:
    FrameWidget(QWidget* parent, double scale) : QWidget(parent), scale_(scale) {
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent, true);
    }

    void SetHandle(HWND handle) { handle_ = handle; }

protected:
    void paintEvent(QPaintEvent*) override {
        FrameWindow* frame = FrameWindow::FromHandle(handle_);
        if (frame == nullptr) return;
        QPainter painter(this);
        QColor background;
        if (BrushColor(frame->Background(), &background)) painter.fillRect(rect(), background);
        painter.scale(scale_, scale_);
        frame->SetPainter(&painter);
        frame->Send(WM_PAINT, 0, 0);
        if (FrameWindow* still = FrameWindow::FromHandle(handle_)) still->SetPainter(nullptr);
    }

private:
    double scale_;
    HWND handle_ = nullptr;
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
    QWidget* widget = Widget();
    widget->hide();
    if (painter_ != nullptr) {
        // Destroyed from inside its own paint event: the widget goes once
        // that event is over.
        static_cast<FrameWidget*>(widget)->SetHandle(nullptr);
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
        if (frame->Destroying()) continue;
        if (className != nullptr && frame->className_.compare(*className, Qt::CaseInsensitive) != 0) continue;
        if (title != nullptr && frame->Text().compare(*title, Qt::CaseInsensitive) != 0) continue;
        return frame;
    }
    return nullptr;
}

std::vector<FrameWindow*> FrameWindow::All() { return Frames(); }

LRESULT FrameWindow::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return procedure_ ? procedure_(Handle(), message, wParam, lParam) : 0;
}

bool FrameWindow::HandleKey(QKeyEvent* event) {
    WPARAM key = VirtualKeyOf(event->key());
    if (key == 0 && event->text().isEmpty()) return false;
    bool alt = event->modifiers() & Qt::AltModifier;
    PostKeyMessage(Handle(), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, event->modifiers(), event->text());
    return true;
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

void FrameWindow::CloseFromShell() { EndProgram(); }

bool BrushColor(HBRUSH brush, QColor* color) {
    for (const Brush& stock : g_stockBrushes) {
        if (reinterpret_cast<HBRUSH>(const_cast<Brush*>(&stock)) == brush) {
            if (stock.hollow) return false;
            *color = stock.color;
            return true;
        }
    }
    return false;
}

void DiscardProgramWindows() {
    // The program has ended: nothing is shown again while its windows go.
    SetProgramEnding(true);
    std::vector<FrameWindow*> frames = Frames();
    for (FrameWindow* frame : frames) DeleteFrame(frame);
    RemoteWindows().clear();
    ReleaseInstanceLock();
    ResetMessageQueue();
    if (Screen* screen = Screen::Existing()) {
        screen->Refresh();
        if (screen->ActiveWindow() == nullptr) screen->hide();
    }
}

}  // namespace mirabo::platform

// ---------------------------------------------------------------------------
// The platform's window functions.

using namespace mirabo::platform;

ATOM WINAPI RegisterClassW(const WNDCLASSW* lpWndClass) {
    if (lpWndClass == nullptr || lpWndClass->lpfnWndProc == nullptr || lpWndClass->lpszClassName == nullptr ||
        IS_INTRESOURCE(lpWndClass->lpszClassName)) {
        return 0;
    }
    if (FindClass(lpWndClass->lpszClassName) != nullptr) return 0;  // already registered
    ATOM atom = static_cast<ATOM>(0xC000 + Classes().size());
    WindowClass entry{*lpWndClass, FromWide(lpWndClass->lpszClassName), atom};
    entry.record.lpszClassName = nullptr;  // the caller's text need not stay
    entry.record.lpszMenuName = nullptr;
    Classes().push_back(entry);
    return atom;
}

HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X,
                            int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam) {
    const WindowClass* windowClass = FindClass(lpClassName);
    // Only top-level program windows are made here.
    if (windowClass == nullptr || (dwStyle & WS_CHILD) || !EnsureApplication()) {
        ReleaseInstanceLock();
        return nullptr;
    }
    WNDCLASSW record = windowClass->record;
    QString className = windowClass->name;
    QString title = FromWide(lpWindowName);
    Screen* screen = Screen::Instance();
    bool first = Screen::Existing()->MainWindow() == nullptr;
    auto* frame =
        new FrameWindow(record.lpfnWndProc, record.hbrBackground, className, title, dwStyle, dwExStyle);
    HWND handle = frame->Handle();

    // CW_USEDEFAULT places the window in the work area and gives it the
    // work area's size. Coordinates are the handheld's pixels.
    QRect work = screen->ToDevice(screen->WorkArea());
    QPoint position = X == CW_USEDEFAULT ? work.topLeft() : QPoint(X, Y);
    QSize size = nWidth == CW_USEDEFAULT ? work.size() : QSize(nWidth, nHeight);
    frame->SetGeometry(screen->FromDevice(QRect(position, size)));
    if (first && record.hIcon != nullptr) screen->setWindowIcon(DesktopIcon(record.hIcon));

    CREATESTRUCTW create{lpParam,      hInstance,     hMenu,
                         hWndParent,   size.height(), size.width(),
                         position.y(), position.x(),  static_cast<LONG>(dwStyle),
                         lpWindowName, lpClassName,   dwExStyle};
    LRESULT created = frame->Send(WM_CREATE, 0, reinterpret_cast<LPARAM>(&create));
    if (FrameWindow::FromHandle(handle) == nullptr) {
        ReleaseInstanceLock();
        return nullptr;
    }
    if (created == -1) {
        DestroyWindow(handle);
        ReleaseInstanceLock();
        return nullptr;
    }
    if (dwStyle & WS_VISIBLE) {
        screen->BringToTop(frame);
        frame->Widget()->setFocus(Qt::ActiveWindowFocusReason);
    }
    // Other copies of the program can find it from now on.
    AnnounceWindow(className, title, [] {
        if (Screen* shown = Screen::Existing()) shown->RaiseDesktopWindow();
    });
    frame->SetAnnounced();
    return handle;
}

LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM, LPARAM) {
    switch (Msg) {
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(hWnd, &paint);
        EndPaint(hWnd, &paint);
        return 0;
    }
    default:
        return 0;
    }
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    Window* window = Window::FromHandle(hWnd);
    return window != nullptr && window->Destroy() ? TRUE : FALSE;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    FrameWindow* frame = FrameWindow::FromHandle(hWnd);
    if (frame == nullptr) return FALSE;
    Screen* screen = Screen::Instance();
    BOOL wasVisible = frame->Widget()->isVisibleTo(screen);
    if (nCmdShow == SW_HIDE) {
        frame->Widget()->hide();
        screen->Refresh();
    } else {
        screen->BringToTop(frame);
        if (nCmdShow != SW_SHOWNA) frame->Widget()->setFocus(Qt::ActiveWindowFocusReason);
    }
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
    FrameWindow* frame = FrameWindow::FromHandle(hWnd);
    if (frame == nullptr) return FALSE;
    // Paints now what is waiting to be painted, if the window can be seen.
    if (frame->Widget()->isVisible()) frame->Widget()->repaint();
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
    Window* window = Window::FromHandle(hWnd);
    Screen* screen = Screen::Existing();
    if (window == nullptr || lpRect == nullptr || screen == nullptr) return FALSE;
    QWidget* widget = window->Widget();
    QRect rect = screen->ToDevice(QRect(widget->mapTo(screen, QPoint(0, 0)), widget->size()));
    *lpRect = RECT{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    Window* window = Window::FromHandle(hWnd);
    Screen* screen = Screen::Existing();
    if (window == nullptr || lpRect == nullptr || screen == nullptr) return FALSE;
    QRect rect = screen->ToDevice(QRect(QPoint(0, 0), window->Widget()->size()));
    *lpRect = RECT{0, 0, rect.width(), rect.height()};
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
    FrameWindow* frame = FrameWindow::FromHandle(hWnd);
    if (frame == nullptr) return FALSE;
    Screen* screen = Screen::Instance();
    frame->SetGeometry(screen->FromDevice(QRect(X, Y, std::max(0, nWidth), std::max(0, nHeight))));
    if (bRepaint) frame->Widget()->update();
    return TRUE;
}

HWND WINAPI FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName) {
    QString className = FromWide(lpClassName);
    QString title = FromWide(lpWindowName);
    const QString* classFilter = lpClassName ? &className : nullptr;
    const QString* titleFilter = lpWindowName ? &title : nullptr;
    if (FrameWindow* frame = FrameWindow::Find(classFilter, titleFilter)) return frame->Handle();
    // Another copy of the program is looked for by both.
    if (lpClassName == nullptr || lpWindowName == nullptr) return nullptr;
    if (!FindWindowInOtherCopy(className, title)) return nullptr;
    for (const auto& [handle, remote] : RemoteWindows()) {
        if (remote.className == className && remote.title == title) return handle;
    }
    HWND handle = NewHandle();
    RemoteWindows()[handle] = RemoteWindow{className, title};
    return handle;
}

BOOL WINAPI SetForegroundWindow(HWND hWnd) {
    // The low bit asks for the window's owned windows to come too; they
    // always do here, since they live on the same screen.
    HWND window = reinterpret_cast<HWND>(reinterpret_cast<ULONG_PTR>(hWnd) & ~static_cast<ULONG_PTR>(1));
    Window* own = Window::FromHandle(window);
    if (own != nullptr && own->Parent() == nullptr) {
        if (Screen* screen = Screen::Existing()) screen->RaiseDesktopWindow();
        return TRUE;
    }
    auto it = RemoteWindows().find(window);
    if (it == RemoteWindows().end()) return FALSE;
    return RaiseWindowInOtherCopy(it->second.className, it->second.title) ? TRUE : FALSE;
}

LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* window = Window::FromHandle(hWnd);
    return window ? window->Send(Msg, wParam, lParam) : 0;
}

HGDIOBJ WINAPI GetStockObject(int i) {
    if (i < 0 || i >= static_cast<int>(std::size(g_stockBrushes))) return nullptr;
    return &g_stockBrushes[i];
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    FrameWindow* frame = FrameWindow::FromHandle(hWnd);
    if (frame == nullptr || lpPaint == nullptr) return nullptr;
    g_paintContext.window = hWnd;
    g_paintContext.painter = frame->Painter();
    *lpPaint = PAINTSTRUCT{};
    lpPaint->hdc = reinterpret_cast<HDC>(&g_paintContext);
    GetClientRect(hWnd, &lpPaint->rcPaint);
    return lpPaint->hdc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
    if (lpPaint == nullptr || lpPaint->hdc != reinterpret_cast<HDC>(&g_paintContext) ||
        g_paintContext.window != hWnd) {
        return FALSE;
    }
    g_paintContext = DeviceContext{};
    return TRUE;
}

int WINAPI DrawTextW(HDC hdc, LPCWSTR lpchText, int cchText, LPRECT lprc, UINT format) {
    if (hdc != reinterpret_cast<HDC>(&g_paintContext) || lpchText == nullptr || lprc == nullptr) return 0;
    QString text = cchText < 0 ? FromWide(lpchText) : QString::fromWCharArray(lpchText, cchText);
    // The device context's font is the handheld's system font; its colours
    // are black text on white.
    QFont font = ShellFont(1.0);
    QFontMetrics metrics(font);
    int flags = 0;
    flags |= (format & DT_CENTER) ? Qt::AlignHCenter : (format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    if (format & DT_SINGLELINE) {
        flags |= Qt::TextSingleLine;
        flags |= (format & DT_VCENTER)  ? Qt::AlignVCenter
                 : (format & DT_BOTTOM) ? Qt::AlignBottom
                                        : Qt::AlignTop;
    } else {
        flags |= Qt::AlignTop;
        if (format & DT_WORDBREAK) flags |= Qt::TextWordWrap;
    }
    if (!(format & DT_NOPREFIX)) flags |= Qt::TextShowMnemonic;
    QRect rect(QPoint(lprc->left, lprc->top), QPoint(lprc->right - 1, lprc->bottom - 1));
    QRect bounds = metrics.boundingRect(rect, flags, text);
    if (format & DT_CALCRECT) {
        lprc->right = lprc->left + bounds.width();
        lprc->bottom = lprc->top + bounds.height();
        return bounds.height();
    }
    if (QPainter* painter = g_paintContext.painter) {
        painter->save();
        if (!(format & DT_NOCLIP)) painter->setClipRect(rect, Qt::IntersectClip);
        painter->setFont(font);
        painter->fillRect(bounds, Qt::white);
        painter->setPen(Qt::black);
        painter->drawText(rect, flags, text);
        painter->restore();
    }
    return bounds.height();
}
