#include "platform/linux/messages.h"

#include <QApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QMetaObject>
#include <QWidget>

#include <algorithm>
#include <deque>
#include <vector>

#include "platform/linux/screen.h"
#include "platform/linux/window.h"

namespace mirabo::platform {

namespace {

struct QueuedMessage {
    MSG msg;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

std::deque<QueuedMessage>& Queue() {
    static std::deque<QueuedMessage> queue;
    return queue;
}

bool g_quitPending = false;
int g_quitCode = 0;
QEventLoop* g_waitLoop = nullptr;
bool g_pumpScheduled = false;

// The keyboard as of the last message taken from the queue.
Qt::KeyboardModifiers g_keyModifiers;
QString g_keyText;

ModalLoopObserver g_modalLoopObserver = nullptr;

// The windows whose modal loop is running, innermost last.
std::vector<TopLevelWindow*>& RunningModals() {
    static std::vector<TopLevelWindow*> running;
    return running;
}

// How many modal loops are running, nested.
int ModalDepth() { return static_cast<int>(RunningModals().size()); }

DWORD Now() { return static_cast<DWORD>(QDateTime::currentMSecsSinceEpoch()); }

bool Matches(const MSG& msg, HWND window, UINT first, UINT last) {
    if (window != nullptr && msg.hwnd != window) return false;
    if (first == 0 && last == 0) return true;
    return msg.message >= first && msg.message <= last;
}

// Messages posted while a modal loop runs go to their windows from that loop.
void Pump() {
    g_pumpScheduled = false;
    while (ModalDepth() > 0 && !Queue().empty()) {
        QueuedMessage next = Queue().front();
        Queue().pop_front();
        g_keyModifiers = next.modifiers;
        g_keyText = next.text;
        TranslateMessage(&next.msg);
        DispatchMessageW(&next.msg);
    }
}

void SchedulePump() {
    if (ModalDepth() > 0 && !g_pumpScheduled && qApp != nullptr) {
        g_pumpScheduled = true;
        QMetaObject::invokeMethod(qApp, &Pump, Qt::QueuedConnection);
    }
}

void Wake() {
    if (g_waitLoop != nullptr) g_waitLoop->quit();
    SchedulePump();
}

void Post(const MSG& msg, Qt::KeyboardModifiers modifiers, const QString& text, bool front) {
    QueuedMessage queued{msg, modifiers, text};
    if (front) {
        Queue().push_front(queued);
    } else {
        Queue().push_back(queued);
    }
    Wake();
}

// Ends every running modal loop, innermost first; ending one loop does not
// start or end another.
void AbortModalLoops() {
    std::vector<TopLevelWindow*> running = RunningModals();
    for (auto it = running.rbegin(); it != running.rend(); ++it) {
        if ((*it)->IsModalRunning()) (*it)->AbortModal();
    }
}

}  // namespace

void PostKeyMessage(HWND window, UINT message, WPARAM virtualKey, Qt::KeyboardModifiers modifiers,
                    const QString& text) {
    // lParam: repeat count 1; the transition bits for a key going up.
    LPARAM lParam = 1;
    if (message == WM_KEYUP || message == WM_SYSKEYUP) lParam |= static_cast<LPARAM>(0xC0000000u);
    MSG msg{window, message, virtualKey, lParam, Now(), {0, 0}};
    Post(msg, modifiers, text, false);
}

WPARAM VirtualKeyOf(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return static_cast<WPARAM>(key);  // the same ASCII codes
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + static_cast<WPARAM>(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        return 0;
    }
}

Qt::KeyboardModifiers KeyModifiers() { return g_keyModifiers; }

INT_PTR RunModalLoop(TopLevelWindow* window) {
    window->DisableOwner();
    if (ProgramEnding() && !window->ended_) window->AbortModal();
    if (!window->ended_) {
        Screen::Instance()->BringToTop(window);
        QEventLoop loop;
        window->loop_ = &loop;
        if (g_modalLoopObserver != nullptr) {
            HWND handle = window->Handle();
            ModalLoopObserver observer = g_modalLoopObserver;
            QMetaObject::invokeMethod(
                qApp, [handle, observer] { observer(handle); }, Qt::QueuedConnection);
        }
        RunningModals().push_back(window);
        // Messages already waiting go to their windows from this loop.
        if (!Queue().empty()) SchedulePump();
        loop.exec(QEventLoop::DialogExec);
        auto& running = RunningModals();
        running.erase(std::remove(running.begin(), running.end(), window), running.end());
        window->loop_ = nullptr;
    }
    window->Widget()->hide();
    window->ReleaseOwner();
    if (Screen* screen = Screen::Existing()) {
        TopLevelWindow* owner = window->Owner();
        if (owner != nullptr && owner->Widget()->isVisibleTo(screen) && !ProgramEnding())
            screen->BringToTop(owner);
        screen->Refresh();
    }
    return window->result_;
}

void SetModalLoopObserver(ModalLoopObserver observer) { g_modalLoopObserver = observer; }

void EndProgram() {
    if (ProgramEnding()) return;
    SetProgramEnding(true);
    while (QWidget* popup = QApplication::activePopupWidget()) {
        if (!popup->close()) break;
    }
    AbortModalLoops();
    if (Screen* screen = Screen::Existing()) screen->hide();
    Wake();
}

void ResetMessageQueue() {
    Queue().clear();
    g_quitPending = false;
    g_quitCode = 0;
    g_keyModifiers = {};
    g_keyText.clear();
    SetProgramEnding(false);
}

}  // namespace mirabo::platform

// ---------------------------------------------------------------------------
// The platform's message functions.

using namespace mirabo::platform;

LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* window = Window::FromHandle(hWnd);
    return window ? window->Send(Msg, wParam, lParam) : 0;
}

BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd != nullptr && Window::FromHandle(hWnd) == nullptr) return FALSE;
    MSG msg{hWnd, Msg, wParam, lParam, Now(), {0, 0}};
    Post(msg, {}, QString(), false);
    return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) {
    g_quitPending = true;
    g_quitCode = nExitCode;
    Wake();
}

BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (lpMsg == nullptr || !EnsureApplication()) return -1;
    for (;;) {
        if (ProgramEnding()) {
            *lpMsg = MSG{nullptr, WM_QUIT, 0, 0, Now(), {0, 0}};
            return FALSE;
        }
        auto& queue = Queue();
        for (auto it = queue.begin(); it != queue.end(); ++it) {
            if (!Matches(it->msg, hWnd, wMsgFilterMin, wMsgFilterMax)) continue;
            *lpMsg = it->msg;
            g_keyModifiers = it->modifiers;
            g_keyText = it->text;
            queue.erase(it);
            return lpMsg->message != WM_QUIT;
        }
        // The quit message comes when no posted message is left.
        if (g_quitPending) {
            g_quitPending = false;
            *lpMsg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(g_quitCode), 0, Now(), {0, 0}};
            return FALSE;
        }
        QEventLoop loop;
        g_waitLoop = &loop;
        loop.exec();
        g_waitLoop = nullptr;
    }
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
    if (lpMsg == nullptr) return FALSE;
    if (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_SYSKEYDOWN) return FALSE;
    if (g_keyText.isEmpty()) return FALSE;
    UINT charMessage = lpMsg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    // The characters come next, before anything posted after the key.
    QList<uint> characters = g_keyText.toUcs4();
    for (auto it = characters.rbegin(); it != characters.rend(); ++it) {
        MSG msg{lpMsg->hwnd, charMessage, static_cast<WPARAM>(*it), lpMsg->lParam, lpMsg->time, lpMsg->pt};
        Post(msg, g_keyModifiers, QString(), true);
    }
    return TRUE;
}

LRESULT WINAPI DispatchMessageW(const MSG* lpMsg) {
    if (lpMsg == nullptr) return 0;
    Window* window = Window::FromHandle(lpMsg->hwnd);
    return window ? window->Send(lpMsg->message, lpMsg->wParam, lpMsg->lParam) : 0;
}
