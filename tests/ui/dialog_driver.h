// Driving dialogs from a test: a dialog call blocks in its modal loop, so the
// test's steps run from inside that loop, and a message box raised by a step
// is answered from inside the message box's own loop.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

class QWidget;

#include "platform/testing.h"
#include "platform/win32.h"

namespace mirabo::test {

// The program's resources in another language while it lives, as a user of
// that language gets them (the thread's UI language); the one before after.
class UiLanguage {
public:
    explicit UiLanguage(LANGID language) : before_(GetThreadUILanguage()) { SetThreadUILanguage(language); }
    ~UiLanguage() { SetThreadUILanguage(before_); }
    UiLanguage(const UiLanguage&) = delete;
    UiLanguage& operator=(const UiLanguage&) = delete;

private:
    LANGID before_;
};

constexpr LANGID kJapanese = 0x0411;
constexpr LANGID kEnglish = 0x0409;

// Fails the current test for a modal loop nobody expected, and closes it.
void InstallUnexpectedModalLoopHandler();

// Opens dialog template `templateId` of the program's resources with the
// procedure, runs `steps` inside its modal loop, and returns the dialog's
// result. A dialog still open after the steps fails the test and is ended
// with -100.
INT_PTR RunDialog(int templateId, DLGPROC procedure, const std::function<void(HWND)>& steps);

// What a message box showed.
struct MessageBoxSeen {
    bool shown = false;
    QString text;
    QString caption;
    QStringList buttons;
    bool ownerDisabled = false;
};

// Answers the next message box by clicking the button of `answer`, after
// noting what it showed; `owner` is the window expected to be disabled.
void AnswerNextMessageBox(int answer, MessageBoxSeen* seen, HWND owner = nullptr);
// True when no queued answer was left unused; drops unused ones.
bool AllAnswersUsed();

// A dialog's fields with their texts: control identifier and text.
using Fields = std::vector<std::pair<int, QString>>;

// The widget of the dialog's control `id`, or null.
QWidget* ControlWidget(HWND dialog, int id);

// Types the text into the widget with key events, one character a key, any
// character (QTest's own typing knows only Latin-1).
void TypeText(QWidget* widget, const QString& text);
// Clicks into the field and types the text with key events.
void TypeInto(HWND dialog, int id, const QString& text);
// TypeInto for each field in turn.
void TypeFields(HWND dialog, const Fields& fields);
// Commits the text into the widget as an input method does after conversion.
void CommitText(QWidget* widget, const QString& text);
// Clicks a button of the dialog with the mouse.
void Click(HWND dialog, int id);
// Sends one key to the control that has the focus.
void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// The control's text through GetWindowTextW.
QString TextOf(HWND window, int capacity = 1000);
QString FieldText(HWND dialog, int id);
// The identifier of the dialog's control that has the focus, 0 when no
// control has it, -1 when a control of another window has it.
int FocusedId(HWND dialog);

}  // namespace mirabo::test
