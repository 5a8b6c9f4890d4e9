#include "platform/linux/window.h"

#include <QApplication>
#include <QVariant>

#include <unordered_map>

namespace mirabo::platform {

namespace {

const char kWindowProperty[] = "mirabo.window";

std::unordered_map<HWND, Window*>& HandleTable() {
    static std::unordered_map<HWND, Window*> table;
    return table;
}

bool g_programEnding = false;

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

HWND NewHandle() {
    // Handles are never reused while the process runs, so an old handle
    // cannot come to name a new window.
    static std::uintptr_t next = 0x10000;
    next += 4;
    return reinterpret_cast<HWND>(next);
}

bool ProgramEnding() { return g_programEnding; }

void SetProgramEnding(bool ending) { g_programEnding = ending; }

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

}  // namespace mirabo::platform
