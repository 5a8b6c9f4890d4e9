#include "platform/testing.h"

#include <QAbstractButton>
#include <QFontInfo>

#include <deque>

#include "platform/linux/dialog.h"
#include "platform/linux/input_context.h"
#include "platform/linux/menu_bar.h"
#include "platform/linux/message_box.h"
#include "platform/linux/messages.h"
#include "platform/linux/screen.h"
#include "platform/linux/window_functions.h"

namespace mirabo::testing {

namespace {

using platform::DialogWindow;
using platform::MessageBoxWindow;
using platform::Screen;
using platform::TopLevelWindow;
using platform::Window;

std::deque<std::function<void(HWND)>>& Callbacks() {
    static std::deque<std::function<void(HWND)>> callbacks;
    return callbacks;
}

std::function<void(HWND)>& UnexpectedHandler() {
    static std::function<void(HWND)> handler;
    return handler;
}

void ModalLoopStarted(HWND window) {
    if (!Callbacks().empty()) {
        std::function<void(HWND)> callback = std::move(Callbacks().front());
        Callbacks().pop_front();
        callback(window);
    } else if (UnexpectedHandler()) {
        UnexpectedHandler()(window);
    }
}

void InstallObserver() { platform::SetModalLoopObserver(&ModalLoopStarted); }

TopLevelWindow* TopLevelOf(HWND window) {
    Window* found = Window::FromHandle(window);
    if (found == nullptr || found->Parent() != nullptr) return nullptr;
    return found->TopLevel();
}

}  // namespace

void OnNextModalLoop(std::function<void(HWND)> callback) {
    InstallObserver();
    Callbacks().push_back(std::move(callback));
}

void SetUnexpectedModalLoopHandler(std::function<void(HWND)> handler) {
    InstallObserver();
    UnexpectedHandler() = std::move(handler);
}

int ClearModalLoopCallbacks() {
    int count = static_cast<int>(Callbacks().size());
    Callbacks().clear();
    return count;
}

HWND ActiveModalWindow() {
    Screen* screen = Screen::Existing();
    if (screen == nullptr) return nullptr;
    TopLevelWindow* active = screen->ActiveWindow();
    return active ? active->Handle() : nullptr;
}

bool IsModalRunning(HWND window) {
    TopLevelWindow* top = TopLevelOf(window);
    return top != nullptr && top->IsModalRunning();
}

bool IsDialog(HWND window) { return DialogWindow::FromHandle(window) != nullptr; }

bool IsMessageBox(HWND window) { return MessageBoxWindow::FromHandle(window) != nullptr; }

QString MessageBoxText(HWND box) {
    MessageBoxWindow* window = MessageBoxWindow::FromHandle(box);
    return window ? window->MessageText() : QString();
}

QStringList MessageBoxButtonTexts(HWND box) {
    QStringList texts;
    if (MessageBoxWindow* window = MessageBoxWindow::FromHandle(box)) {
        for (const auto& button : window->Buttons()) texts << button.second;
    }
    return texts;
}

QAbstractButton* MessageBoxButton(HWND box, int answer) {
    MessageBoxWindow* window = MessageBoxWindow::FromHandle(box);
    return window ? window->ButtonFor(answer) : nullptr;
}

QWidget* WidgetOf(HWND window) {
    Window* found = Window::FromHandle(window);
    return found ? found->Widget() : nullptr;
}

HWND WindowOf(QWidget* widget) {
    Window* found = Window::FromHandle(nullptr);
    if (widget != nullptr) found = Window::FromWidget(widget);
    return (found && found->Widget() == widget) ? found->Handle() : nullptr;
}

HWND FocusedWindow() {
    Screen* screen = Screen::Existing();
    if (screen == nullptr || screen->focusWidget() == nullptr) return nullptr;
    Window* found = Window::FromWidget(screen->focusWidget());
    return found ? found->Handle() : nullptr;
}

int ControlId(HWND control) {
    Window* found = Window::FromHandle(control);
    return (found && found->Parent() != nullptr) ? found->Id() : 0;
}

void SendCommand(HWND dialog, int id) {
    if (DialogWindow* window = DialogWindow::FromHandle(dialog)) {
        window->Command(id, BN_CLICKED, GetDlgItem(dialog, id));
    }
}

QWidget* ScreenWidget() { return Screen::Existing(); }

void AfterFirstFrame(std::function<void()> work) { Screen::Instance()->AfterFirstFrame(std::move(work)); }

double ScreenScale() { return Screen::Instance()->Scale(); }

bool UseScreenScale(double scale) { return Screen::Replace(scale) != nullptr; }

QRect WorkArea() { return Screen::Instance()->WorkArea(); }

QString TitleStripCaption() {
    Screen* screen = Screen::Existing();
    return screen ? screen->StripCaption() : QString();
}

QAbstractButton* DoneButton() {
    Screen* screen = Screen::Existing();
    return screen ? screen->DoneButton() : nullptr;
}

std::vector<QAbstractButton*> MenuBarButtons() {
    platform::MenuBarWindow* bar = platform::ShownMenuBar();
    return bar ? bar->Buttons() : std::vector<QAbstractButton*>();
}

void DiscardProgramWindows() { platform::DiscardProgramWindows(); }

int InputContextCount() { return platform::LiveInputContexts(); }

QSize DialogBaseUnits(HWND dialog) {
    DialogWindow* window = DialogWindow::FromHandle(dialog);
    return window ? window->BaseUnits().toSize() : QSize();
}

QString DialogFontFamily(HWND dialog) {
    DialogWindow* window = DialogWindow::FromHandle(dialog);
    return window ? QFontInfo(window->Widget()->font()).family() : QString();
}

}  // namespace mirabo::testing
