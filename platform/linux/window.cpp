#include "platform/linux/window.h"

#include <QApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QVariant>

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "platform/linux/message_queue.h"
#include "platform/linux/screen.h"

namespace mirabo::platform {

namespace {

const char kWindowProperty[] = "mirabo.window";

std::unordered_map<HWND, Window*>& HandleTable() {
    static std::unordered_map<HWND, Window*> table;
    return table;
}

ModalLoopObserver g_modalLoopObserver = nullptr;
bool g_programEnding = false;

// The windows whose modal loop is running, innermost last.
std::vector<TopLevelWindow*>& RunningModals() {
    static std::vector<TopLevelWindow*> running;
    return running;
}

}  // namespace

Window::Window(DWORD style, int id, TopLevelWindow* parent) : style_(style), id_(id), parent_(parent) {}

Window::~Window() {
    if (handle_ != nullptr) HandleTable().erase(handle_);
}

void Window::Attach(QWidget* widget) {
    widget_ = widget;
    handle_ = NewHandle();
    HandleTable()[handle_] = this;
    widget->setProperty(kWindowProperty, QVariant::fromValue(reinterpret_cast<quintptr>(handle_)));
}

LRESULT Window::Send(UINT, WPARAM, LPARAM) { return 0; }

Window* Window::FromHandle(HWND handle) {
    if (handle == nullptr) return nullptr;
    auto& table = HandleTable();
    auto it = table.find(handle);
    return it == table.end() ? nullptr : it->second;
}

Window* Window::FromWidget(QWidget* widget) {
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        QVariant value = w->property(kWindowProperty);
        if (value.isValid()) {
            if (Window* window = FromHandle(reinterpret_cast<HWND>(value.value<quintptr>()))) return window;
        }
    }
    return nullptr;
}

TopLevelWindow::TopLevelWindow(DWORD style, TopLevelWindow* owner)
    : Window(style, 0, nullptr), ownerHandle_(owner ? owner->Handle() : nullptr) {}

TopLevelWindow::~TopLevelWindow() {
    ReleaseOwner();
    if (Screen* screen = Screen::Existing()) screen->RemoveWindow(this);
}

TopLevelWindow* TopLevelWindow::Owner() const {
    Window* window = FromHandle(ownerHandle_);
    return window ? window->TopLevel() : nullptr;
}

void TopLevelWindow::SetText(const QString& text) {
    caption_ = text;
    if (Screen* screen = Screen::Existing()) screen->Refresh();
}

void TopLevelWindow::SetDoneButton(bool shown) {
    doneButton_ = shown;
    if (Screen* screen = Screen::Existing()) screen->Refresh();
}

void TopLevelWindow::SetGeometry(const QRect& rect) { Widget()->setGeometry(rect); }

void TopLevelWindow::SetMenuBarWidget(QWidget* bar) {
    menuBar_ = bar;
    if (Screen* screen = Screen::Existing()) screen->Refresh();
}

bool TopLevelWindow::IsEnabled() const { return Widget()->isEnabled(); }

void TopLevelWindow::SetEnabled(bool enabled) {
    QWidget* widget = Widget();
    if (enabled == widget->isEnabled()) return;
    if (!enabled) {
        QWidget* focus = widget->window()->focusWidget();
        Window* focused = (focus && widget->isAncestorOf(focus)) ? FromWidget(focus) : nullptr;
        savedFocus_ = focused ? focused->Handle() : nullptr;
        widget->setEnabled(false);
    } else {
        widget->setEnabled(true);
        if (Window* focused = FromHandle(savedFocus_)) {
            if (focused->TopLevel() == this) focused->Widget()->setFocus(Qt::ActiveWindowFocusReason);
        }
    }
    if (Screen* screen = Screen::Existing()) screen->Refresh();
}

void TopLevelWindow::DisableOwner() {
    if (ownerDisabled_) return;
    TopLevelWindow* owner = Owner();
    if (owner != nullptr && owner->IsEnabled()) {
        owner->SetEnabled(false);
        ownerDisabled_ = true;
    }
}

void TopLevelWindow::ReleaseOwner() {
    if (!ownerDisabled_) return;
    ownerDisabled_ = false;
    if (TopLevelWindow* owner = Owner()) owner->SetEnabled(true);
}

INT_PTR TopLevelWindow::RunModal() {
    DisableOwner();
    if (g_programEnding && !ended_) AbortModal();
    if (!ended_) {
        Screen* screen = Screen::Instance();
        screen->BringToTop(this);
        QEventLoop loop;
        loop_ = &loop;
        if (g_modalLoopObserver != nullptr) {
            HWND handle = Handle();
            ModalLoopObserver observer = g_modalLoopObserver;
            QMetaObject::invokeMethod(
                qApp, [handle, observer] { observer(handle); }, Qt::QueuedConnection);
        }
        RunningModals().push_back(this);
        DeliverPostedMessagesSoon();
        loop.exec(QEventLoop::DialogExec);
        auto& running = RunningModals();
        running.erase(std::remove(running.begin(), running.end(), this), running.end());
        loop_ = nullptr;
    }
    Widget()->hide();
    ReleaseOwner();
    if (Screen* screen = Screen::Existing()) {
        TopLevelWindow* owner = Owner();
        if (owner != nullptr && owner->Widget()->isVisibleTo(screen) && !g_programEnding)
            screen->BringToTop(owner);
        screen->Refresh();
    }
    return result_;
}

void TopLevelWindow::EndModal(INT_PTR result) {
    result_ = result;
    ended_ = true;
    Widget()->hide();
    ReleaseOwner();
    if (loop_ != nullptr) loop_->quit();
    if (Screen* screen = Screen::Existing()) screen->Refresh();
}

HWND NewHandle() {
    // Handles are never reused while the process runs, so an old handle
    // cannot come to name a new window.
    static std::uintptr_t next = 0x10000;
    next += 4;
    return reinterpret_cast<HWND>(next);
}

int ModalDepth() { return static_cast<int>(RunningModals().size()); }

bool ProgramEnding() { return g_programEnding; }

void SetProgramEnding(bool ending) { g_programEnding = ending; }

void AbortModalLoops() {
    // Innermost first; ending one loop does not start or end another.
    std::vector<TopLevelWindow*> running = RunningModals();
    for (auto it = running.rbegin(); it != running.rend(); ++it) {
        if ((*it)->IsModalRunning()) (*it)->AbortModal();
    }
}

bool EnsureApplication() {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "mirabo";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

QString FromWide(LPCWSTR text) {
    if (text == nullptr) return QString();
    return QString::fromWCharArray(text);
}

void SetModalLoopObserver(ModalLoopObserver observer) { g_modalLoopObserver = observer; }

}  // namespace mirabo::platform
