#include "platform/linux/window_functions.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QWindow>

#include <algorithm>
#include <map>

#include "platform/linux/dialog.h"
#include "platform/linux/frame_window.h"
#include "platform/linux/messages.h"
#include "platform/linux/screen.h"
#include "platform/linux/single_instance.h"
#include "platform/linux/widgets.h"
#include "platform/linux/window.h"

namespace mirabo::platform {

namespace {

// Windows of other running copies, as FindWindowW hands them out.
struct RemoteWindow {
    QString className;
    QString title;
};

std::map<HWND, RemoteWindow>& RemoteWindows() {
    static std::map<HWND, RemoteWindow> windows;
    return windows;
}

}  // namespace

void DiscardProgramWindows() {
    // The program has ended: nothing is shown again while its windows go.
    SetProgramEnding(true);
    DiscardFrameWindows();
    RemoteWindows().clear();
    ReleaseInstanceLock();
    ResetMessageQueue();
    if (Screen* screen = Screen::Existing()) {
        screen->Refresh();
        if (screen->ActiveWindow() == nullptr) screen->hide();
    }
}

}  // namespace mirabo::platform

using namespace mirabo::platform;

// ---------------------------------------------------------------------------
// Destroying, showing and placing

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
    // Paints now what is waiting to be painted, if the window can be seen:
    // before the desktop has shown it, its first paint is on the way.
    QWindow* shown = frame->Widget()->window()->windowHandle();
    if (frame->Widget()->isVisible() && shown != nullptr && shown->isExposed()) frame->Widget()->repaint();
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

// ---------------------------------------------------------------------------
// Text and keyboard focus

int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
    if (lpString == nullptr || nMaxCount <= 0) return 0;
    lpString[0] = 0;
    Window* window = Window::FromHandle(hWnd);
    if (window == nullptr) return 0;
    QList<uint> text = window->Text().toUcs4();
    int length = static_cast<int>(std::min<qsizetype>(text.size(), nMaxCount - 1));
    for (int i = 0; i < length; ++i) lpString[i] = static_cast<WCHAR>(text[i]);
    lpString[length] = 0;
    return length;
}

BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
    Window* window = Window::FromHandle(hWnd);
    if (window == nullptr) return FALSE;
    window->SetText(FromWide(lpString));
    return TRUE;
}

HWND WINAPI SetFocus(HWND hWnd) {
    Screen* screen = Screen::Existing();
    HWND previous = nullptr;
    if (screen != nullptr) {
        if (Window* focused = Window::FromWidget(screen->focusWidget())) previous = focused->Handle();
    }
    if (hWnd == nullptr) {
        if (screen != nullptr && screen->focusWidget() != nullptr) screen->focusWidget()->clearFocus();
        return previous;
    }
    Window* window = Window::FromHandle(hWnd);
    if (window == nullptr) return nullptr;
    // Unlike the dialog manager's focus, SetFocus leaves the default button
    // as it is.
    if (auto* button = dynamic_cast<PushButtonWidget*>(window->Widget())) button->SetFocusedByProgram(true);
    window->Widget()->setFocus(Qt::OtherFocusReason);
    return previous;
}

// ---------------------------------------------------------------------------
// Finding windows

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
    DialogWindow* dialog = DialogWindow::FromHandle(hDlg);
    if (dialog == nullptr) return nullptr;
    Window* item = dialog->Item(nIDDlgItem);
    return item ? item->Handle() : nullptr;
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
