#include "tests/ui/dialog_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

#include "ui/calculator_dialogs.h"

namespace mirabo::test {

void InstallUnexpectedModalLoopHandler() {
    mirabo::testing::SetUnexpectedModalLoopHandler([](HWND window) {
        if (mirabo::testing::IsMessageBox(window)) {
            ADD_FAILURE() << "unexpected message box: "
                          << mirabo::testing::MessageBoxText(window).toStdString();
            QStringList buttons = mirabo::testing::MessageBoxButtonTexts(window);
            for (int answer : {IDOK, IDNO, IDYES}) {
                if (QAbstractButton* button = mirabo::testing::MessageBoxButton(window, answer)) {
                    button->click();
                    return;
                }
            }
        } else {
            ADD_FAILURE() << "unexpected modal dialog";
            EndDialog(window, -100);
        }
    });
}

INT_PTR RunDialog(int templateId, DLGPROC procedure, const std::function<void(HWND)>& steps) {
    bool ran = false;
    mirabo::testing::OnNextModalLoop([&](HWND dialog) {
        ran = true;
        EXPECT_TRUE(mirabo::testing::IsDialog(dialog));
        steps(dialog);
        if (mirabo::testing::IsModalRunning(dialog)) {
            ADD_FAILURE() << "dialog " << templateId << " still open after the test's steps";
            EndDialog(dialog, -100);
        }
    });
    INT_PTR result = RunDialogTemplate(nullptr, nullptr, templateId, procedure);
    EXPECT_TRUE(ran) << "dialog " << templateId << " ran no modal loop";
    AllAnswersUsed();
    return result;
}

namespace {

int g_pendingAnswers = 0;

// Takes the modal loop's window as the awaited message box and notes what it
// shows; false, after ending it, when it is no message box.
bool TakeBox(HWND box, MessageBoxSeen* seen, HWND owner) {
    --g_pendingAnswers;
    if (!mirabo::testing::IsMessageBox(box)) {
        ADD_FAILURE() << "expected a message box";
        EndDialog(box, -100);
        return false;
    }
    seen->shown = true;
    seen->text = mirabo::testing::MessageBoxText(box);
    seen->caption = TextOf(box);
    seen->buttons = mirabo::testing::MessageBoxButtonTexts(box);
    if (owner != nullptr) {
        QWidget* ownerWidget = mirabo::testing::WidgetOf(owner);
        seen->ownerDisabled = ownerWidget != nullptr && !ownerWidget->isEnabled();
    }
    return true;
}

}  // namespace

void AnswerNextMessageBox(int answer, MessageBoxSeen* seen, HWND owner) {
    ++g_pendingAnswers;
    mirabo::testing::OnNextModalLoop([answer, seen, owner](HWND box) {
        if (!TakeBox(box, seen, owner)) return;
        QAbstractButton* button = mirabo::testing::MessageBoxButton(box, answer);
        if (button == nullptr) {
            ADD_FAILURE() << "the message box has no button for answer " << answer;
            mirabo::testing::MessageBoxButton(box, seen->buttons.size() > 1 ? IDNO : IDOK)->click();
            return;
        }
        QTest::mouseClick(button, Qt::LeftButton);
    });
}

bool AllAnswersUsed() {
    bool used = g_pendingAnswers == 0;
    if (!used) {
        mirabo::testing::ClearModalLoopCallbacks();
        g_pendingAnswers = 0;
    }
    return used;
}

QWidget* ControlWidget(HWND dialog, int id) { return mirabo::testing::WidgetOf(GetDlgItem(dialog, id)); }

void TypeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            // A key that types a character of its own, as the desktop
            // reports one: the character's code is the key's.
            QTest::sendKeyEvent(QTest::Click, widget, static_cast<Qt::Key>(c.toUpper().unicode()), QString(c),
                                Qt::NoModifier);
        }
    }
}

void TypeInto(HWND dialog, int id, const QString& text) {
    QWidget* field = ControlWidget(dialog, id);
    ASSERT_NE(field, nullptr) << "no control " << id;
    QTest::mouseClick(field, Qt::LeftButton);
    TypeText(field, text);
}

void TypeFields(HWND dialog, const Fields& fields) {
    for (const auto& [id, text] : fields) TypeInto(dialog, id, text);
}

void CommitText(QWidget* widget, const QString& text) {
    QInputMethodEvent composing(text, {});
    QApplication::sendEvent(widget, &composing);
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
}

void Click(HWND dialog, int id) {
    QWidget* button = ControlWidget(dialog, id);
    ASSERT_NE(button, nullptr) << "no control " << id;
    QTest::mouseClick(button, Qt::LeftButton);
}

void PressKey(int key, Qt::KeyboardModifiers modifiers) {
    HWND focused = mirabo::testing::FocusedWindow();
    QWidget* target = focused ? mirabo::testing::WidgetOf(focused) : mirabo::testing::ScreenWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

QString TextOf(HWND window, int capacity) {
    std::vector<WCHAR> buffer(static_cast<std::size_t>(capacity) + 1, L'#');
    int length = GetWindowTextW(window, buffer.data(), capacity);
    return QString::fromWCharArray(buffer.data(), length);
}

QString FieldText(HWND dialog, int id) { return TextOf(GetDlgItem(dialog, id)); }

int FocusedId(HWND dialog) {
    HWND focused = mirabo::testing::FocusedWindow();
    int id = mirabo::testing::ControlId(focused);
    if (id == 0) return 0;
    return GetDlgItem(dialog, id) == focused ? id : -1;
}

}  // namespace mirabo::test
