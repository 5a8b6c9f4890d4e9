#include "tests/app/program_driver.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace mirabo::test {

namespace {

int g_module;
bool g_programRunning = false;
HWND g_mainWindow = nullptr;
// How long a wait lasts before the test fails: long enough for a program
// starved beside other work, shorter than the program's own 20 seconds.
constexpr qint64 kPatienceMs = 15000;

}  // namespace

void InstallUnexpectedModalLoopHandler() {
    // The program opens its dialogs from its menus; only a dialog opened over
    // another one, or a message box nobody waits for, is unexpected.
    static std::vector<HWND> dialogs;
    mirabo::testing::SetUnexpectedModalLoopHandler([](HWND window) {
        if (mirabo::testing::IsDialog(window)) {
            bool nested = false;
            for (HWND earlier : dialogs) nested = nested || mirabo::testing::IsModalRunning(earlier);
            dialogs.push_back(window);
            if (!nested) return;
        }
        if (mirabo::testing::IsMessageBox(window)) {
            ADD_FAILURE() << "unexpected message box: "
                          << mirabo::testing::MessageBoxText(window).toStdString();
            for (int answer : {IDOK, IDNO, IDYES}) {
                if (QAbstractButton* button = mirabo::testing::MessageBoxButton(window, answer)) {
                    button->click();
                    return;
                }
            }
        } else {
            ADD_FAILURE() << "unexpected modal dialog: " << TextOf(window).toStdString();
            EndDialog(window, -100);
        }
    });
}

int RunProgram(const std::function<void()>& script, const std::function<void()>& afterward) {
    auto start = std::make_unique<QTimer>();
    start->setSingleShot(true);
    QObject::connect(start.get(), &QTimer::timeout, [script] {
        // Found here, while it exists, so that later looks never ask other copies.
        g_mainWindow = FindWindowW(L"FORWINDOWSCE", L"Mirabo for PocketPC");
        EXPECT_NE(g_mainWindow, nullptr) << "no main window when the message loop runs";
        // The script starts where a user would: with the first frame up.
        mirabo::testing::AfterFirstFrame(script);
    });
    start->start(0);
    auto watchdog = std::make_unique<QTimer>();
    watchdog->setSingleShot(true);
    QObject::connect(watchdog.get(), &QTimer::timeout, [] {
        ADD_FAILURE() << "the program was still running after 20 seconds";
        CloseDesktopWindow();
    });
    watchdog->start(20000);
    g_programRunning = true;
    char commandLine[] = "";
    int result = WinMain(reinterpret_cast<HINSTANCE>(&g_module), nullptr, commandLine, SW_SHOW);
    g_programRunning = false;
    start.reset();
    watchdog.reset();
    if (afterward) afterward();
    g_mainWindow = nullptr;
    mirabo::testing::DiscardProgramWindows();
    EXPECT_EQ(mirabo::testing::ClearModalLoopCallbacks(), 0) << "expected modal loops did not start";
    return result;
}

void When(std::function<bool()> condition, std::function<void()> action, const std::string& what) {
    auto* timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, condition, action, what] {
        if (condition()) {
            timer->stop();
            timer->deleteLater();
            action();
        } else if (clock->elapsed() > kPatienceMs) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "gave up waiting: " << what;
            if (g_programRunning) CloseDesktopWindow();
        }
    });
    timer->start(5);
}

void After(int ms, std::function<void()> action) {
    auto* timer = new QTimer(qApp);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        timer->deleteLater();
        action();
    });
    timer->start(ms);
}

void WhenDialogOpen(std::function<void()> action, const std::string& what) {
    When([] { return ActiveDialog() != nullptr; }, std::move(action), what);
}

void WhenDialogClosed(std::function<void()> action, const std::string& what) {
    When([] { return ActiveDialog() == nullptr; }, std::move(action), what);
}

void QuitWhenMainWindowIsBack() {
    When(
        MainWindowActive, [] { PressKey(Qt::Key_Q, Qt::ControlModifier); }, "the main window to come back");
}

HWND MainWindow() { return mirabo::testing::WidgetOf(g_mainWindow) != nullptr ? g_mainWindow : nullptr; }

bool MainWindowActive() {
    HWND main = mirabo::testing::ActiveModalWindow();
    return main != nullptr && main == MainWindow() && mirabo::testing::WidgetOf(main)->isEnabled() &&
           OpenMenu() == nullptr;
}

HWND ActiveDialog() {
    HWND active = mirabo::testing::ActiveModalWindow();
    return (active != nullptr && mirabo::testing::IsDialog(active)) ? active : nullptr;
}

void TapMenuButton(int index) {
    std::vector<QAbstractButton*> buttons = mirabo::testing::MenuBarButtons();
    ASSERT_LT(index, static_cast<int>(buttons.size()));
    QTest::mouseClick(buttons[index], Qt::LeftButton);
}

QMenu* OpenMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

void ChooseMenuItem(const QString& text) {
    QMenu* menu = OpenMenu();
    ASSERT_NE(menu, nullptr) << "no menu is open";
    for (QAction* action : menu->actions()) {
        if (action->text() == text) {
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(action).center());
            return;
        }
    }
    ADD_FAILURE() << "no item " << text.toStdString() << " in the open menu";
}

void ChooseFromMenu(int index, const QString& text) {
    TapMenuButton(index);
    ChooseMenuItem(text);
}

void PressKey(int key, Qt::KeyboardModifiers modifiers) {
    // An open pop-up menu takes the keyboard, as it grabs it; otherwise the
    // key goes where the desktop window has its focus.
    QWidget* target = QApplication::activePopupWidget();
    QWidget* screen = mirabo::testing::ScreenWidget();
    if (target == nullptr && screen != nullptr) target = screen->focusWidget();
    if (target == nullptr) target = screen;
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

void ClickControl(HWND dialog, int id) {
    QWidget* control = mirabo::testing::WidgetOf(GetDlgItem(dialog, id));
    ASSERT_NE(control, nullptr) << "no control " << id;
    QTest::mouseClick(control, Qt::LeftButton);
}

void ClickTitleOk() {
    QAbstractButton* ok = mirabo::testing::DoneButton();
    ASSERT_NE(ok, nullptr) << "no OK button in the title strip";
    QTest::mouseClick(ok, Qt::LeftButton);
}

void CloseDesktopWindow() {
    if (QWidget* screen = mirabo::testing::ScreenWidget()) screen->close();
}

QString TextOf(HWND window) {
    WCHAR text[1000];
    int length = GetWindowTextW(window, text, 1000);
    return QString::fromWCharArray(text, length);
}

}  // namespace mirabo::test
