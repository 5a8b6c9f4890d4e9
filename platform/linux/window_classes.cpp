// Window classes and the program's windows made from them: RegisterClassW,
// CreateWindowExW and DefWindowProcW.
#include <QRect>

#include <vector>

#include "platform/linux/frame_window.h"
#include "platform/linux/icons.h"
#include "platform/linux/menu_bar.h"
#include "platform/linux/messages.h"
#include "platform/linux/screen.h"
#include "platform/linux/single_instance.h"
#include "platform/linux/x11_window_icon.h"

namespace mirabo::platform {

namespace {

// The largest icon size the desktop gets with the window itself (title bars,
// task bars and switchers); the larger ones follow its first frame.
constexpr int kFirstFrameIconSize = 48;

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

}  // namespace

}  // namespace mirabo::platform

// ---------------------------------------------------------------------------
// The platform's window-class functions.

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
    // The desktop gets the small icons with the window, the large ones after
    // its first frame.
    if (first && record.hIcon != nullptr)
        screen->setWindowIcon(DesktopIcon(record.hIcon, kFirstFrameIconSize));

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
    // Other copies of the program find it from now on (its class and title
    // are this copy's), and reach it once its first frame is up.
    ClaimWindow(className, title);
    frame->SetAnnounced();
    HICON largeIcon = first ? record.hIcon : nullptr;
    screen->AfterFirstFrame([handle, className, title, largeIcon] {
        Screen* shown = Screen::Existing();
        // On X11 the large sizes go out one at a time, after the small ones the
        // window already has; elsewhere the whole icon is handed over again.
        if (largeIcon != nullptr && shown != nullptr &&
            !AppendLargeWindowIcons(shown, largeIcon, kFirstFrameIconSize))
            shown->setWindowIcon(DesktopIcon(largeIcon));
        if (FrameWindow::FromHandle(handle) == nullptr) return;
        AnnounceWindow(className, title, [] {
            if (Screen* raised = Screen::Existing()) raised->RaiseDesktopWindow();
        });
    });
    return handle;
}

namespace {

// Whether Alt went down and nothing else has been pressed since: letting it
// go then opens the menu bar.
bool g_altAlone = false;

// The keyboard's way into the window's menu bar: its first pop-up opens.
void OpenMenuBarFromKeyboard(HWND window) {
    FrameWindow* frame = FrameWindow::FromHandle(window);
    if (frame == nullptr) return;
    if (MenuBarWindow* bar = ShownMenuBarOf(frame)) bar->OpenFromKeyboard(0);
}

}  // namespace

LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    switch (Msg) {
    case WM_KEYDOWN:
        g_altAlone = false;
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_MENU) {
            // Bit 30: the key was already down (a repeat).
            if (!(lParam & (1 << 30))) g_altAlone = true;
            return 0;
        }
        g_altAlone = false;
        if (wParam == VK_F10 && !(KeyModifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) {
            OpenMenuBarFromKeyboard(hWnd);
        }
        return 0;
    case WM_SYSKEYUP:
        if (wParam == VK_MENU && g_altAlone) {
            g_altAlone = false;
            OpenMenuBarFromKeyboard(hWnd);
        }
        return 0;
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
