// The four calculator dialogs, opened from their templates and driven with
// key and mouse events on the offscreen platform.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/ui/dialog_driver.h"
#include "ui/calculator_dialogs.h"

namespace {

using mirabo::test::AnswerNextMessageBox;
using mirabo::test::AnswerNextMessageBoxWithKey;
using mirabo::test::Click;
using mirabo::test::FieldText;
using mirabo::test::FocusedId;
using mirabo::test::MessageBoxSeen;
using mirabo::test::PressKey;
using mirabo::test::RunDialog;
using mirabo::test::TypeInto;

const QString kMissingInput = QStringLiteral("入力値が不足、\n或いはタイプミス");
const QString kNegativeNotAllowed =
    QStringLiteral("入力値が不足、或いはタイプミス\n負の値は使用できません。");
const QString kCalcException =
    QStringLiteral("例外が発生しました。\n０で除算したか、入力値が間違っています。");
const QString kConfirmNonFinite = QStringLiteral(
    "正常に表示出来ません。\n引数及び結果が無限値、非数、\n計算不可値である可能性があります 。\n無視して表示しますか");

using Fields = std::vector<std::pair<int, QString>>;

struct CalculatorDialog {
    const char* name;
    int templateId;
    DLGPROC procedure;
    int calculate;
    int clear;
    std::vector<int> fields;    // every field, in the Clear routine's order
    std::vector<int> tabOrder;  // the tab stops, in template order
    QString caption;
    Fields missingInput;  // typed, gives the missing-input message
    QString missingText;
    Fields valid;  // typed, calculates without a message
    bool hasDefaultButton;
};

const std::vector<CalculatorDialog>& Dialogs() {
    // clang-format off
    static const std::vector<CalculatorDialog> dialogs = {
        {"CoordinateRotation", 104, CoordinateDlgProc, 1004, 1005, {1001, 1002, 1003, 1006, 1007},
         {1001, 1002, 1003, 1004, 2, 1005, 1006, 1007}, QStringLiteral("座標移動の計算"),
         {{1001, "3"}, {1002, "4"}}, kMissingInput, {{1001, "3"}, {1002, "4"}, {1003, "30"}}, false},
        {"RightTriangle", 105, RightTriangleDlgProc, 1006, 1007, {1001, 1002, 1003, 1004, 1005},
         {1001, 1002, 1003, 1004, 1005, 1006, 1007, 2}, QStringLiteral("直角三角関数の計算"),
         {{1004, "30"}, {1005, "60"}}, kMissingInput, {{1001, "3"}, {1002, "4"}}, true},
        {"ObliqueTriangle", 108, ObliqueTriangleDlgProc, 1004, 1005, {1001, 1002, 1003, 1006, 1007, 1008},
         {1001, 1002, 1003, 1004, 1005, 2, 1006, 1007, 1008}, QStringLiteral("非直角三角形の計算"),
         {{1001, "3"}, {1002, "4"}, {1006, "53.13"}}, kNegativeNotAllowed,
         {{1001, "7"}, {1002, "8"}, {1003, "9"}}, false},
        {"OhmsLaw", 121, OhmsLawDlgProc, 1006, 1007, {1001, 1002, 1003, 1004},
         {1001, 1002, 1003, 1004, 1006, 1007, 2}, QStringLiteral("オームの法則の計算"),
         {{1003, "4"}, {1004, "16"}}, kMissingInput, {{1001, "10"}, {1002, "2"}}, true},
    };
    // clang-format on
    return dialogs;
}

std::string DialogName(const ::testing::TestParamInfo<CalculatorDialog>& info) { return info.param.name; }

void TypeFields(HWND dialog, const Fields& fields) {
    for (const auto& [id, text] : fields) TypeInto(dialog, id, text);
}

Fields ReadFields(HWND dialog, const std::vector<int>& ids) {
    Fields result;
    for (int id : ids) result.push_back({id, FieldText(dialog, id)});
    return result;
}

Fields EmptyFields(const std::vector<int>& ids) {
    Fields result;
    for (int id : ids) result.push_back({id, QString()});
    return result;
}

void PrintTo(const CalculatorDialog& dialog, std::ostream* os) { *os << dialog.name; }

}  // namespace

// Qt's strings print as text in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

class CalculatorDialogTest : public ::testing::TestWithParam<CalculatorDialog> {};

TEST_P(CalculatorDialogTest, OpensFullScreenEmptyWithTheCaretInTheFirstField) {
    const CalculatorDialog& d = GetParam();
    INT_PTR result = RunDialog(d.templateId, d.procedure, [&](HWND dialog) {
        EXPECT_EQ(ReadFields(dialog, d.fields), EmptyFields(d.fields));
        EXPECT_EQ(FocusedId(dialog), 1001);
        EXPECT_EQ(mirabo::test::TextOf(dialog), d.caption);
        EXPECT_EQ(mirabo::testing::TitleStripCaption(), d.caption);
        EXPECT_NE(mirabo::testing::DoneButton(), nullptr);
        EXPECT_EQ(mirabo::testing::WidgetOf(dialog)->geometry(), mirabo::testing::WorkArea());
        EXPECT_EQ(mirabo::testing::ScreenWidget()->windowTitle(), d.caption);
        Click(dialog, 2);
    });
    EXPECT_EQ(result, 2);
}

TEST_P(CalculatorDialogTest, EveryFieldIsEmptyAgainWhenReopened) {
    const CalculatorDialog& d = GetParam();
    RunDialog(d.templateId, d.procedure, [&](HWND dialog) {
        TypeFields(dialog, d.valid);
        Click(dialog, d.calculate);
        Click(dialog, 2);
    });
    RunDialog(d.templateId, d.procedure, [&](HWND dialog) {
        EXPECT_EQ(ReadFields(dialog, d.fields), EmptyFields(d.fields));
        EXPECT_EQ(FocusedId(dialog), 1001);
        Click(dialog, 2);
    });
}

TEST_P(CalculatorDialogTest, MissingInputShowsTheMessageAndPutsTheCaretInTheFirstField) {
    const CalculatorDialog& d = GetParam();
    RunDialog(d.templateId, d.procedure, [&](HWND dialog) {
        TypeFields(dialog, d.missingInput);
        Fields before = ReadFields(dialog, d.fields);
        MessageBoxSeen seen;
        AnswerNextMessageBox(IDOK, &seen, dialog);
        Click(dialog, d.calculate);
        EXPECT_TRUE(mirabo::test::AllAnswersUsed());
        EXPECT_TRUE(seen.shown);
        EXPECT_EQ(seen.text, d.missingText);
        EXPECT_EQ(seen.buttons, QStringList{QStringLiteral("OK")});
        EXPECT_EQ(seen.caption, d.caption);
        EXPECT_TRUE(seen.ownerDisabled);
        EXPECT_TRUE(mirabo::testing::WidgetOf(dialog)->isEnabled());
        EXPECT_EQ(FocusedId(dialog), 1001);
        EXPECT_EQ(ReadFields(dialog, d.fields), before);
        EXPECT_TRUE(mirabo::testing::IsModalRunning(dialog));
        Click(dialog, 2);
    });
}

TEST_P(CalculatorDialogTest, CalculateOnAnEmptyFormShowsTheMissingInputMessage) {
    const CalculatorDialog& d = GetParam();
    RunDialog(d.templateId, d.procedure, [&](HWND dialog) {
        MessageBoxSeen seen;
        AnswerNextMessageBox(IDOK, &seen, dialog);
        Click(dialog, d.calculate);
        EXPECT_EQ(seen.text, d.missingText);
        EXPECT_EQ(ReadFields(dialog, d.fields), EmptyFields(d.fields));
        EXPECT_EQ(FocusedId(dialog), 1001);
        Click(dialog, 2);
    });
}

TEST_P(CalculatorDialogTest, ClearEmptiesEveryFieldResultsIncludedAndFocusesTheFirstField) {
    const CalculatorDialog& d = GetParam();
    RunDialog(d.templateId, d.procedure, [&](HWND dialog) {
        TypeFields(dialog, d.valid);
        Click(dialog, d.calculate);
        for (int id : d.fields) {
            if (FieldText(dialog, id).isEmpty()) TypeInto(dialog, id, QStringLiteral("12"));
        }
        for (const auto& [id, text] : ReadFields(dialog, d.fields)) {
            EXPECT_FALSE(text.isEmpty()) << "field " << id << " could not be filled";
        }
        Click(dialog, d.clear);
        EXPECT_EQ(ReadFields(dialog, d.fields), EmptyFields(d.fields));
        EXPECT_EQ(FocusedId(dialog), 1001);
        // Clear on the empty form leaves it empty.
        Click(dialog, d.clear);
        EXPECT_EQ(ReadFields(dialog, d.fields), EmptyFields(d.fields));
        EXPECT_EQ(FocusedId(dialog), 1001);
        EXPECT_TRUE(mirabo::testing::IsModalRunning(dialog));
        Click(dialog, 2);
    });
}

TEST_P(CalculatorDialogTest, TabVisitsTheControlsInTemplateOrder) {
    const CalculatorDialog& d = GetParam();
    RunDialog(d.templateId, d.procedure, [&](HWND dialog) {
        std::vector<int> visited{FocusedId(dialog)};
        for (std::size_t i = 0; i < d.tabOrder.size(); ++i) {
            PressKey(Qt::Key_Tab);
            visited.push_back(FocusedId(dialog));
        }
        std::vector<int> expected = d.tabOrder;
        expected.push_back(d.tabOrder.front());  // round to the start
        EXPECT_EQ(visited, expected);
        PressKey(Qt::Key_Backtab);
        EXPECT_EQ(FocusedId(dialog), d.tabOrder.back());
        Click(dialog, 2);
    });
}

TEST_P(CalculatorDialogTest, EnterPressesTheDefaultButtonOrNothing) {
    const CalculatorDialog& d = GetParam();
    RunDialog(d.templateId, d.procedure, [&](HWND dialog) {
        TypeFields(dialog, d.valid);
        Fields typed = ReadFields(dialog, d.fields);
        PressKey(Qt::Key_Return);
        EXPECT_TRUE(mirabo::testing::IsModalRunning(dialog));
        if (d.hasDefaultButton) {
            EXPECT_NE(ReadFields(dialog, d.fields), typed) << "Enter did not calculate";
        } else {
            EXPECT_EQ(ReadFields(dialog, d.fields), typed) << "Enter did something";
        }
        Click(dialog, 2);
    });
}

TEST_P(CalculatorDialogTest, CalculateAnswersAsTabled) {
    const CalculatorDialog& d = GetParam();
    bool ohm = d.templateId == 121;
    RunDialog(d.templateId, d.procedure, [&](HWND dialog) {
        MessageBoxSeen seen;
        AnswerNextMessageBox(IDOK, &seen, dialog);
        EXPECT_EQ(d.procedure(dialog, WM_COMMAND, MAKEWPARAM(d.calculate, BN_CLICKED), 0), 0);
        EXPECT_TRUE(seen.shown);
        TypeFields(dialog, d.valid);
        EXPECT_EQ(d.procedure(dialog, WM_COMMAND, MAKEWPARAM(d.calculate, BN_CLICKED), 0), ohm ? 0 : 1);
        EXPECT_EQ(d.procedure(dialog, WM_COMMAND, MAKEWPARAM(d.clear, BN_CLICKED), 0), 1);
        Click(dialog, 2);
    });
}

TEST_P(CalculatorDialogTest, CommandsNoControlSendsAreAnswered0AndChangeNothing) {
    const CalculatorDialog& d = GetParam();
    RunDialog(d.templateId, d.procedure, [&](HWND dialog) {
        TypeFields(dialog, d.valid);
        Fields typed = ReadFields(dialog, d.fields);
        std::vector<int> commands = {IDOK, 1001, 1008 + 1, 40008};
        if (d.templateId == 121) commands.push_back(1005);
        for (int id : commands) {
            EXPECT_EQ(d.procedure(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0), 0) << "command " << id;
        }
        EXPECT_EQ(d.procedure(dialog, WM_CLOSE, 0, 0), 0);
        // The Done button sends command 1, which the dialog leaves alone.
        ASSERT_NE(mirabo::testing::DoneButton(), nullptr);
        QTest::mouseClick(mirabo::testing::DoneButton(), Qt::LeftButton);
        EXPECT_EQ(ReadFields(dialog, d.fields), typed);
        EXPECT_TRUE(mirabo::testing::IsModalRunning(dialog));
        Click(dialog, 2);
    });
}

TEST_P(CalculatorDialogTest, EveryControlAndItsTextFitOnTheScreen) {
    const CalculatorDialog& d = GetParam();
    RunDialog(d.templateId, d.procedure, [&](HWND dialog) {
        QWidget* widget = mirabo::testing::WidgetOf(dialog);
        QRect client(QPoint(0, 0), widget->size());
        QList<QWidget*> controls = widget->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        EXPECT_GE(controls.size(), 11);
        for (QWidget* control : controls) {
            EXPECT_TRUE(client.contains(control->geometry()))
                << "control at " << control->x() << "," << control->y() << " leaves the screen";
        }
        // Labels and buttons show their texts on one line.
        int texts = 0;
        for (QWidget* control : controls) {
            HWND window = mirabo::testing::WindowOf(control);
            QString text = mirabo::test::TextOf(window);
            if (text.isEmpty() || qobject_cast<QLineEdit*>(control) != nullptr) continue;
            ++texts;
            EXPECT_LE(QFontMetrics(control->font()).horizontalAdvance(text), control->width())
                << text.toStdString() << " does not fit its control";
        }
        EXPECT_GE(texts, 7);
        Click(dialog, 2);
    });
}

INSTANTIATE_TEST_SUITE_P(Dialogs, CalculatorDialogTest, ::testing::ValuesIn(Dialogs()), DialogName);

// Ways of leaving a dialog: each ends it with 2.
enum class Leave { BackButton, EscapeInField, EscapeOnButton, DesktopCloseBox };

std::string LeaveName(const ::testing::TestParamInfo<std::tuple<CalculatorDialog, Leave>>& info) {
    static const char* const names[] = {"Back", "EscapeInField", "EscapeOnButton", "DesktopCloseBox"};
    return std::string(std::get<0>(info.param).name) + names[static_cast<int>(std::get<1>(info.param))];
}

class LeavingTest : public ::testing::TestWithParam<std::tuple<CalculatorDialog, Leave>> {};

TEST_P(LeavingTest, EndsTheDialogWith2) {
    const auto& [d, leave] = GetParam();
    INT_PTR result = RunDialog(d.templateId, d.procedure, [&, leave = leave](HWND dialog) {
        TypeFields(dialog, d.valid);
        switch (leave) {
        case Leave::BackButton:
            Click(dialog, 2);
            break;
        case Leave::EscapeInField:
            PressKey(Qt::Key_Escape);
            break;
        case Leave::EscapeOnButton:
            mirabo::testing::WidgetOf(GetDlgItem(dialog, d.clear))->setFocus();
            PressKey(Qt::Key_Escape);
            break;
        case Leave::DesktopCloseBox:
            mirabo::testing::ScreenWidget()->close();
            // The close arrives as a posted cancel command.
            QCoreApplication::processEvents();
            break;
        }
    });
    EXPECT_EQ(result, 2);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, LeavingTest,
                         ::testing::Combine(::testing::ValuesIn(Dialogs()),
                                            ::testing::Values(Leave::BackButton, Leave::EscapeInField,
                                                              Leave::EscapeOnButton, Leave::DesktopCloseBox)),
                         LeaveName);

// Examples typed with keys, Calculate clicked with the mouse.
struct Example {
    const char* name;
    int dialog;  // index in Dialogs()
    Fields typed;
    Fields afterwards;
};

void PrintTo(const Example& example, std::ostream* os) { *os << example.name; }

class ExampleTest : public ::testing::TestWithParam<Example> {};

TEST_P(ExampleTest, FieldsReadAsCalculated) {
    const Example& e = GetParam();
    const CalculatorDialog& d = Dialogs()[e.dialog];
    RunDialog(d.templateId, d.procedure, [&](HWND dialog) {
        TypeFields(dialog, e.typed);
        Click(dialog, d.calculate);
        Fields afterwards;
        for (const auto& [id, text] : e.afterwards) afterwards.push_back({id, FieldText(dialog, id)});
        EXPECT_EQ(afterwards, e.afterwards);
        EXPECT_TRUE(mirabo::testing::IsModalRunning(dialog));
        Click(dialog, 2);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Solvers, ExampleTest,
    // clang-format off
    ::testing::Values(
        Example{"RotateByThirtyDegrees", 0, {{1001, "3"}, {1002, "4"}, {1003, "30"}},
                {{1001, "3"}, {1002, "4"}, {1003, "+30.000"}, {1006, "+0.598"}, {1007, "+4.964"}}},
        Example{"RotateByMinusNinety", 0, {{1001, "0"}, {1002, "1"}, {1003, "-90"}},
                {{1006, "+1.000"}, {1007, "-0.000"}, {1003, "-90.000"}}},
        Example{"RightTriangleFromTwoLegs", 1, {{1001, "3"}, {1002, "4"}},
                {{1001, "3.000"}, {1002, "4.000"}, {1003, "5.000"}, {1004, "53.130"}, {1005, "36.870"}}},
        Example{"RightTriangleFromHypotenuseAndAngle", 1, {{1003, "2"}, {1004, "30"}},
                {{1001, "1.732"}, {1002, "1.000"}, {1003, "2.000"}, {1004, "30.000"}, {1005, "60.000"}}},
        Example{"ObliqueTriangleFromThreeSides", 2, {{1001, "7"}, {1002, "8"}, {1003, "9"}},
                {{1001, "7.000"}, {1002, "8.000"}, {1003, "9.000"}, {1006, "58.412"}, {1007, "48.190"},
                 {1008, "73.398"}}},
        Example{"ObliqueTriangleFromSideAndTwoAngles", 2, {{1002, "10"}, {1006, "30"}, {1007, "60"}},
                {{1001, "17.321"}, {1002, "10.000"}, {1003, "20.000"}, {1006, "30.000"}, {1007, "60.000"},
                 {1008, "90.000"}}},
        Example{"OhmsLawFromVoltageAndCurrent", 3, {{1001, "10"}, {1002, "2"}},
                {{1001, "10.000"}, {1002, "2.000"}, {1003, "5.000"}, {1004, "20.000"}}},
        Example{"OhmsLawFromCurrentAndPower", 3, {{1002, "0.16"}, {1004, "0.47"}},
                {{1001, "2.938"}, {1002, "0.160"}, {1003, "18.359"}, {1004, "0.470"}}}),
    [](const ::testing::TestParamInfo<Example>& info) { return std::string(info.param.name); });

// Messages other than missing input, answered in each way the box allows.
struct MessageCase {
    const char* name;
    int dialog;
    Fields typed;
    QString text;
    QStringList buttons;
    int answer;   // IDOK, IDYES, IDNO, or -1 for the Esc key
    bool written; // whether the fields change
};

void PrintTo(const MessageCase& message, std::ostream* os) { *os << message.name; }

class MessageTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(MessageTest, ShowsTheTextAndButtonsAndActsOnTheAnswer) {
    const MessageCase& m = GetParam();
    const CalculatorDialog& d = Dialogs()[m.dialog];
    RunDialog(d.templateId, d.procedure, [&](HWND dialog) {
        TypeFields(dialog, m.typed);
        Fields before = ReadFields(dialog, d.fields);
        MessageBoxSeen seen;
        if (m.answer < 0) {
            AnswerNextMessageBoxWithKey(Qt::Key_Escape, &seen);
        } else {
            AnswerNextMessageBox(m.answer, &seen, dialog);
        }
        Click(dialog, d.calculate);
        EXPECT_TRUE(seen.shown);
        EXPECT_EQ(seen.text, m.text);
        EXPECT_EQ(seen.buttons, m.buttons);
        EXPECT_EQ(seen.caption, d.caption);
        if (m.written) {
            EXPECT_NE(ReadFields(dialog, d.fields), before);
        } else {
            EXPECT_EQ(ReadFields(dialog, d.fields), before);
            // The focus stays where it was: on the Calculate button.
            EXPECT_EQ(FocusedId(dialog), d.calculate);
        }
        EXPECT_TRUE(mirabo::testing::IsModalRunning(dialog));
        Click(dialog, 2);
    });
    // clang-format on
}

const QStringList kOk{QStringLiteral("OK")};
const QStringList kYesNo{QStringLiteral("はい"), QStringLiteral("いいえ")};

INSTANTIATE_TEST_SUITE_P(
    Solvers, MessageTest,
    // clang-format off
    ::testing::Values(
        MessageCase{"OhmsLawZeroByZero", 3, {{1001, "0"}, {1002, "0"}}, kCalcException, kOk, IDOK, false},
        MessageCase{"RightTriangleZeroLegs", 1, {{1001, "0"}, {1002, "0"}}, kCalcException, kOk, IDOK, false},
        MessageCase{"ObliqueNoTriangle", 2, {{1001, "1"}, {1002, "2"}, {1003, "10"}}, kCalcException, kOk,
                    IDOK, false},
        MessageCase{"OhmsLawInfiniteAnsweredNo", 3, {{1002, "0"}, {1004, "5"}}, kConfirmNonFinite, kYesNo, IDNO,
                    false},
        MessageCase{"OhmsLawInfiniteAnsweredWithEscape", 3, {{1002, "0"}, {1004, "5"}}, kConfirmNonFinite,
                    kYesNo, -1, false},
        MessageCase{"OhmsLawInfiniteAnsweredYes", 3, {{1002, "0"}, {1004, "5"}}, kConfirmNonFinite, kYesNo,
                    IDYES, true},
        MessageCase{"RightTriangleInfiniteAnsweredYes", 1, {{1002, "3"}, {1004, "0"}}, kConfirmNonFinite,
                    kYesNo, IDYES, true}),
    [](const ::testing::TestParamInfo<MessageCase>& info) { return std::string(info.param.name); });

TEST(LongInput, A10000CharacterPasteIsReadAsItsFirst99Characters) {
    const CalculatorDialog& d = Dialogs()[1];
    RunDialog(d.templateId, d.procedure, [&](HWND dialog) {
        QString digits(10000, QLatin1Char('1'));
        QGuiApplication::clipboard()->setText(digits);
        QWidget* field = mirabo::testing::WidgetOf(GetDlgItem(dialog, 1001));
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(mirabo::test::TextOf(GetDlgItem(dialog, 1001), 20000), digits);
        WCHAR buffer[100];
        buffer[99] = L'#';
        EXPECT_EQ(GetWindowTextW(GetDlgItem(dialog, 1001), buffer, 100), 99);
        EXPECT_EQ(buffer[99], L'\0');
        TypeInto(dialog, 1002, QStringLiteral("4"));
        // A 99-digit leg gives a hypotenuse whose text does not fit a field:
        // the calculation is refused and nothing is written.
        MessageBoxSeen seen;
        AnswerNextMessageBox(IDOK, &seen, dialog);
        Click(dialog, d.calculate);
        EXPECT_EQ(seen.text, kCalcException);
        EXPECT_TRUE(mirabo::testing::IsModalRunning(dialog));
        EXPECT_EQ(mirabo::test::TextOf(GetDlgItem(dialog, 1001), 20000), digits);
        EXPECT_EQ(FieldText(dialog, 1002), QStringLiteral("4"));
        EXPECT_EQ(FieldText(dialog, 1003), QString());
        Click(dialog, 2);
    });
    // clang-format on
}

}  // namespace
