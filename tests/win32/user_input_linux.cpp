// The user's keys and clicks on the Qt layer: Qt's test events on the widgets
// behind the handles, and what the layer's testing surface sees.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QTest>
#include <QWidget>

#include "platform/testing.h"
#include "tests/win32/user_input.h"

namespace mirabo::test {

namespace {

QWidget* FocusedWidget() {
    HWND focused = mirabo::testing::FocusedWindow();
    QWidget* target = focused ? mirabo::testing::WidgetOf(focused) : nullptr;
    return target ? target : mirabo::testing::ScreenWidget();
}

Qt::Key QtKey(WORD key, bool shift, bool keypad) {
    switch (key) {
    case VK_TAB:
        return shift ? Qt::Key_Backtab : Qt::Key_Tab;
    case VK_RETURN:
        return keypad ? Qt::Key_Enter : Qt::Key_Return;
    case VK_ESCAPE:
        return Qt::Key_Escape;
    case VK_SPACE:
        return Qt::Key_Space;
    case VK_END:
        return Qt::Key_End;
    case VK_BACK:
        return Qt::Key_Backspace;
    default:
        return static_cast<Qt::Key>(key);  // letters and digits
    }
}

}  // namespace

void PressKey(WORD key, bool shift, bool keypad) {
    QTest::keyClick(FocusedWidget(), QtKey(key, shift, keypad), shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCoreApplication::processEvents();
}

void PressKeyInWindow(HWND window, WORD key, bool control, bool shift, bool alt) {
    Qt::KeyboardModifiers modifiers;
    if (control) modifiers |= Qt::ControlModifier;
    if (shift) modifiers |= Qt::ShiftModifier;
    if (alt) modifiers |= Qt::AltModifier;
    QTest::keyClick(mirabo::testing::WidgetOf(window), QtKey(key, false, false), modifiers);
}

void ReleaseModifierKeys() {}  // Qt's key events carry their modifiers

void TypeText(const std::wstring& text) {
    QTest::keyClicks(FocusedWidget(), QString::fromStdWString(text));
    QCoreApplication::processEvents();
}

void Click(HWND control) {
    if (QWidget* widget = mirabo::testing::WidgetOf(control)) QTest::mouseClick(widget, Qt::LeftButton);
    QCoreApplication::processEvents();
}

void ClickMessageBoxButton(HWND box, int answer) {
    if (QAbstractButton* button = mirabo::testing::MessageBoxButton(box, answer))
        QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
}

bool HasMessageBoxButton(HWND box, int answer) {
    return mirabo::testing::MessageBoxButton(box, answer) != nullptr;
}

HWND FocusedWindow() { return mirabo::testing::FocusedWindow(); }

HWND ActiveModalWindow() { return mirabo::testing::ActiveModalWindow(); }

bool IsEnabled(HWND window) {
    QWidget* widget = mirabo::testing::WidgetOf(window);
    return widget != nullptr && widget->isEnabled();
}

bool RunningOnWine() { return false; }

}  // namespace mirabo::test
