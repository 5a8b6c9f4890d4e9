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

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "calc/calculators.h"
#include "res/resource.h"
#include "tests/ui/dialog_driver.h"
#include "tests/ui/named_rows.h"
#include "ui/calculator_dialogs.h"

namespace {

using namespace mirabo::test;
using mirabo::test::PrintTo;

// The calculators' messages, in Japanese and in English.
struct Message {
    QString japanese;
    QString english;
};
// clang-format off
const Message kMissingInput{QStringLiteral("入力値が不足、\n或いはタイプミス"),
                            QStringLiteral("Missing input\nor a typing error.")};
const Message kNegativeNotAllowed{QStringLiteral("入力値が不足、或いはタイプミス\n負の値は使用できません。"),
                                  QStringLiteral("Missing input or a typing error.\nNegative values are not allowed.")};
const Message kCalcException{QStringLiteral("例外が発生しました。\n０で除算したか、入力値が間違っています。"),
                             QStringLiteral("Calculation error.\nDivision by zero, or a wrong input value.")};
const Message kConfirmNonFinite{
    QStringLiteral("正常に表示出来ません。\n引数及び結果が無限値、非数、\n計算不可値である可能性があります 。\n無視して表示しますか"),
    QStringLiteral("The results cannot be shown normally.\nInputs or results may be infinite,\n"
                   "not a number, or not computable.\nShow them anyway?")};
// clang-format on

struct CalculatorDialog {
    const char* name;
    const mirabo::Calculator* calculator;  // template, fields, Calculate and Clear
    DLGPROC procedure;
    std::vector<int> tabOrder;  // the tab stops, in template order
    QString caption;
    QString englishCaption;
    Fields missingInput;  // typed, gives the missing-input message
    Message missing;
    Fields valid;  // typed, calculates without a message
    bool hasDefaultButton;
};

const std::vector<CalculatorDialog>& Dialogs() {
    // clang-format off
    static const std::vector<CalculatorDialog> dialogs = {
        {"CoordinateRotation", &mirabo::kCoordinateRotation, CoordinateDlgProc,
         {IDC_COORD_X, IDC_COORD_Y, IDC_COORD_ANGLE, IDC_COORD_CALCULATE, IDC_BACK, IDC_COORD_CLEAR,
          IDC_COORD_X_RESULT, IDC_COORD_Y_RESULT},
         QStringLiteral("座標移動の計算"), QStringLiteral("Coordinate Rotation"),
         {{IDC_COORD_X, "3"}, {IDC_COORD_Y, "4"}}, kMissingInput,
         {{IDC_COORD_X, "3"}, {IDC_COORD_Y, "4"}, {IDC_COORD_ANGLE, "30"}}, false},
        {"RightTriangle", &mirabo::kRightTriangle, RightTriangleDlgProc,
         {IDC_RIGHT_A, IDC_RIGHT_B, IDC_RIGHT_C, IDC_RIGHT_ALPHA, IDC_RIGHT_BETA, IDC_RIGHT_CALCULATE,
          IDC_RIGHT_CLEAR, IDC_BACK},
         QStringLiteral("直角三角関数の計算"), QStringLiteral("Right Triangle"),
         {{IDC_RIGHT_ALPHA, "30"}, {IDC_RIGHT_BETA, "60"}}, kMissingInput,
         {{IDC_RIGHT_A, "3"}, {IDC_RIGHT_B, "4"}}, true},
        {"ObliqueTriangle", &mirabo::kObliqueTriangle, ObliqueTriangleDlgProc,
         {IDC_OBLIQUE_A, IDC_OBLIQUE_B, IDC_OBLIQUE_C, IDC_OBLIQUE_CALCULATE, IDC_OBLIQUE_CLEAR, IDC_BACK,
          IDC_OBLIQUE_ALPHA, IDC_OBLIQUE_BETA, IDC_OBLIQUE_GAMMA},
         QStringLiteral("非直角三角形の計算"), QStringLiteral("Oblique Triangle"),
         {{IDC_OBLIQUE_A, "3"}, {IDC_OBLIQUE_B, "4"}, {IDC_OBLIQUE_ALPHA, "53.13"}}, kNegativeNotAllowed,
         {{IDC_OBLIQUE_A, "7"}, {IDC_OBLIQUE_B, "8"}, {IDC_OBLIQUE_C, "9"}}, false},
        {"OhmsLaw", &mirabo::kOhmsLaw, OhmsLawDlgProc,
         {IDC_OHM_VOLTAGE, IDC_OHM_CURRENT, IDC_OHM_RESISTANCE, IDC_OHM_POWER, IDC_OHM_CALCULATE,
          IDC_OHM_CLEAR, IDC_BACK},
         QStringLiteral("オームの法則の計算"), QStringLiteral("Ohm's Law"),
         {{IDC_OHM_RESISTANCE, "4"}, {IDC_OHM_POWER, "16"}}, kMissingInput,
         {{IDC_OHM_VOLTAGE, "10"}, {IDC_OHM_CURRENT, "2"}}, true},
    };
    // clang-format on
    return dialogs;
}

// Every field of the calculator, in field order, with its text.
Fields ReadFields(HWND dialog, const CalculatorDialog& d) {
    Fields result;
    for (const mirabo::CalculatorField& field : d.calculator->fields) {
        result.push_back({field.controlId, FieldText(dialog, field.controlId)});
    }
    return result;
}

int FirstField(const CalculatorDialog& d) { return mirabo::FirstFieldId(*d.calculator); }

// Every field empty, the caret in the first one.
void ExpectEmptyWithTheCaretFirst(HWND dialog, const CalculatorDialog& d) {
    for (const auto& [id, text] : ReadFields(dialog, d)) EXPECT_EQ(text, QString()) << "field " << id;
    EXPECT_EQ(FocusedId(dialog), FirstField(d));
}
int TemplateOf(const CalculatorDialog& d) { return d.calculator->templateId; }
int CalculateOf(const CalculatorDialog& d) { return d.calculator->calculateId; }
int ClearOf(const CalculatorDialog& d) { return d.calculator->clearId; }

// Runs the calculator's dialog with `steps` inside its loop, then leaves it with Back.
INT_PTR InDialog(const CalculatorDialog& d, const std::function<void(HWND)>& steps) {
    return RunDialog(TemplateOf(d), d.procedure, [&](HWND dialog) {
        steps(dialog);
        Click(dialog, IDC_BACK);
    });
}

}  // namespace

// Qt's strings print as text in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

class CalculatorDialogTest : public ::testing::TestWithParam<CalculatorDialog> {
protected:
    const CalculatorDialog& d = GetParam();
};

TEST_P(CalculatorDialogTest, OpensFullScreenEmptyWithTheCaretInTheFirstField) {
    INT_PTR result = InDialog(d, [&](HWND dialog) {
        ExpectEmptyWithTheCaretFirst(dialog, d);
        EXPECT_EQ(mirabo::test::TextOf(dialog), d.caption);
        EXPECT_EQ(mirabo::testing::TitleStripCaption(), d.caption);
        EXPECT_NE(mirabo::testing::DoneButton(), nullptr);
        EXPECT_EQ(mirabo::testing::WidgetOf(dialog)->geometry(), mirabo::testing::WorkArea());
        EXPECT_EQ(mirabo::testing::ScreenWidget()->windowTitle(), d.caption);
    });
    EXPECT_EQ(result, 2);
}

// In English: the English caption and buttons, the missing-input message in
// English, and the same numbers as in Japanese.
TEST_P(CalculatorDialogTest, InEnglishTellsOfMissingInputAndCalculatesTheSame) {
    Fields japanese;
    InDialog(d, [&](HWND dialog) {
        TypeFields(dialog, d.valid);
        Click(dialog, CalculateOf(d));
        japanese = ReadFields(dialog, d);
    });
    mirabo::test::UiLanguage english(mirabo::test::kEnglish);
    InDialog(d, [&](HWND dialog) {
        EXPECT_EQ(mirabo::test::TextOf(dialog), d.englishCaption);
        EXPECT_EQ(mirabo::testing::TitleStripCaption(), d.englishCaption);
        EXPECT_EQ(FieldText(dialog, CalculateOf(d)), QStringLiteral("Calculate"));
        EXPECT_EQ(FieldText(dialog, ClearOf(d)), QStringLiteral("Clear"));
        EXPECT_EQ(FieldText(dialog, IDC_BACK), QStringLiteral("Back"));
        TypeFields(dialog, d.missingInput);
        MessageBoxSeen seen;
        AnswerNextMessageBox(IDOK, &seen, dialog);
        Click(dialog, CalculateOf(d));
        EXPECT_EQ(seen.text, d.missing.english);
        EXPECT_EQ(seen.caption, QStringLiteral("Error"));
        EXPECT_EQ(FocusedId(dialog), FirstField(d));
        Click(dialog, ClearOf(d));
        TypeFields(dialog, d.valid);
        Click(dialog, CalculateOf(d));
        EXPECT_EQ(ReadFields(dialog, d), japanese);
    });
}

TEST_P(CalculatorDialogTest, EveryFieldIsEmptyAgainWhenReopened) {
    InDialog(d, [&](HWND dialog) {
        TypeFields(dialog, d.valid);
        Click(dialog, CalculateOf(d));
    });
    InDialog(d, [&](HWND dialog) { ExpectEmptyWithTheCaretFirst(dialog, d); });
}

TEST_P(CalculatorDialogTest, MissingInputShowsTheMessageAndPutsTheCaretInTheFirstField) {
    InDialog(d, [&](HWND dialog) {
        TypeFields(dialog, d.missingInput);
        Fields before = ReadFields(dialog, d);
        MessageBoxSeen seen;
        AnswerNextMessageBox(IDOK, &seen, dialog);
        Click(dialog, CalculateOf(d));
        EXPECT_TRUE(mirabo::test::AllAnswersUsed());
        EXPECT_TRUE(seen.shown);
        EXPECT_EQ(seen.text, d.missing.japanese);
        EXPECT_EQ(seen.buttons, QStringList{QStringLiteral("OK")});
        // The boxes have the default title, as the calculators give none.
        EXPECT_EQ(seen.caption, QStringLiteral("エラー"));
        EXPECT_TRUE(seen.ownerDisabled);
        EXPECT_TRUE(mirabo::testing::WidgetOf(dialog)->isEnabled());
        EXPECT_EQ(FocusedId(dialog), FirstField(d));
        EXPECT_EQ(ReadFields(dialog, d), before);
        EXPECT_TRUE(mirabo::testing::IsModalRunning(dialog));
    });
}

TEST_P(CalculatorDialogTest, CalculateOnAnEmptyFormShowsTheMissingInputMessage) {
    InDialog(d, [&](HWND dialog) {
        MessageBoxSeen seen;
        AnswerNextMessageBox(IDOK, &seen, dialog);
        Click(dialog, CalculateOf(d));
        EXPECT_EQ(seen.text, d.missing.japanese);
        ExpectEmptyWithTheCaretFirst(dialog, d);
    });
}

TEST_P(CalculatorDialogTest, ClearEmptiesEveryFieldResultsIncludedAndFocusesTheFirstField) {
    InDialog(d, [&](HWND dialog) {
        TypeFields(dialog, d.valid);
        Click(dialog, CalculateOf(d));
        for (const mirabo::CalculatorField& field : d.calculator->fields) {
            if (FieldText(dialog, field.controlId).isEmpty())
                TypeInto(dialog, field.controlId, QStringLiteral("12"));
        }
        for (const auto& [id, text] : ReadFields(dialog, d)) {
            EXPECT_FALSE(text.isEmpty()) << "field " << id << " could not be filled";
        }
        Click(dialog, ClearOf(d));
        ExpectEmptyWithTheCaretFirst(dialog, d);
        // Clear on the empty form leaves it empty.
        Click(dialog, ClearOf(d));
        ExpectEmptyWithTheCaretFirst(dialog, d);
        EXPECT_TRUE(mirabo::testing::IsModalRunning(dialog));
    });
}

TEST_P(CalculatorDialogTest, TabVisitsTheControlsInTemplateOrder) {
    InDialog(d, [&](HWND dialog) {
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
    });
}

TEST_P(CalculatorDialogTest, EnterPressesTheDefaultButtonOrNothing) {
    InDialog(d, [&](HWND dialog) {
        TypeFields(dialog, d.valid);
        Fields typed = ReadFields(dialog, d);
        PressKey(Qt::Key_Return);
        EXPECT_TRUE(mirabo::testing::IsModalRunning(dialog));
        if (d.hasDefaultButton) {
            EXPECT_NE(ReadFields(dialog, d), typed) << "Enter did not calculate";
        } else {
            EXPECT_EQ(ReadFields(dialog, d), typed) << "Enter did something";
        }
    });
}

TEST_P(CalculatorDialogTest, CalculateAnswersAsTabled) {
    bool ohm = d.calculator == &mirabo::kOhmsLaw;
    InDialog(d, [&](HWND dialog) {
        MessageBoxSeen seen;
        AnswerNextMessageBox(IDOK, &seen, dialog);
        EXPECT_EQ(d.procedure(dialog, WM_COMMAND, MAKEWPARAM(CalculateOf(d), BN_CLICKED), 0), 0);
        EXPECT_TRUE(seen.shown);
        TypeFields(dialog, d.valid);
        EXPECT_EQ(d.procedure(dialog, WM_COMMAND, MAKEWPARAM(CalculateOf(d), BN_CLICKED), 0), ohm ? 0 : 1);
        EXPECT_EQ(d.procedure(dialog, WM_COMMAND, MAKEWPARAM(ClearOf(d), BN_CLICKED), 0), 1);
    });
}

TEST_P(CalculatorDialogTest, CommandsNoControlSendsAreAnswered0AndChangeNothing) {
    InDialog(d, [&](HWND dialog) {
        TypeFields(dialog, d.valid);
        Fields typed = ReadFields(dialog, d);
        // Done, a field, a number past every control, a menu command, and in
        // Ohm's law the gap between the power field and Calculate.
        std::vector<int> commands = {IDOK, FirstField(d), IDC_OBLIQUE_GAMMA + 1, IDM_RIGHT_TRIANGLE};
        if (d.calculator == &mirabo::kOhmsLaw) commands.push_back(IDC_OHM_POWER + 1);
        for (int id : commands) {
            EXPECT_EQ(d.procedure(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0), 0) << "command " << id;
        }
        EXPECT_EQ(d.procedure(dialog, WM_CLOSE, 0, 0), 0);
        EXPECT_EQ(ReadFields(dialog, d), typed);
        EXPECT_TRUE(mirabo::testing::IsModalRunning(dialog));
    });
}

TEST_P(CalculatorDialogTest, EveryControlAndItsTextFitOnTheScreen) {
    InDialog(d, [&](HWND dialog) {
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
    });
}

INSTANTIATE_TEST_SUITE_P(Dialogs, CalculatorDialogTest, ::testing::ValuesIn(Dialogs()), RowName());

// Ways of leaving a dialog: each ends it with 2.
struct Leave {
    const char* name;
    std::function<void(HWND dialog, const CalculatorDialog& d)> leave;
};

// clang-format off
const Leave kLeaves[] = {
    {"Back", [](HWND dialog, const CalculatorDialog&) { Click(dialog, IDC_BACK); }},
    {"EscapeInField", [](HWND, const CalculatorDialog&) { PressKey(Qt::Key_Escape); }},
    {"EscapeOnButton", [](HWND dialog, const CalculatorDialog& d) {
        ControlWidget(dialog, ClearOf(d))->setFocus();
        PressKey(Qt::Key_Escape);
    }},
    {"DesktopCloseBox", [](HWND, const CalculatorDialog&) {
        mirabo::testing::ScreenWidget()->close();
        QCoreApplication::processEvents();  // the close arrives as a posted cancel command
    }},
    // Its IDOK goes unanswered, so the layer closes the dialog as the close
    // box does (Enter, which sends IDOK too, does not).
    {"TitleStripOk", [](HWND, const CalculatorDialog&) {
        ASSERT_NE(mirabo::testing::DoneButton(), nullptr);
        QTest::mouseClick(mirabo::testing::DoneButton(), Qt::LeftButton);
        QCoreApplication::processEvents();
    }},
};
// clang-format on

class LeavingTest : public ::testing::TestWithParam<std::tuple<CalculatorDialog, Leave>> {};

TEST_P(LeavingTest, EndsTheDialogWith2) {
    const auto& [d, way] = GetParam();
    INT_PTR result = RunDialog(TemplateOf(d), d.procedure, [&, &d = d, &way = way](HWND dialog) {
        TypeFields(dialog, d.valid);
        way.leave(dialog, d);
    });
    EXPECT_EQ(result, 2);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, LeavingTest,
                         ::testing::Combine(::testing::ValuesIn(Dialogs()), ::testing::ValuesIn(kLeaves)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + std::get<1>(info.param).name;
                         });

// Examples typed with keys, Calculate clicked with the mouse.
struct Example {
    const char* name;
    int dialog;  // index in Dialogs()
    Fields typed;
    Fields afterwards;
};

class ExampleTest : public ::testing::TestWithParam<Example> {};

TEST_P(ExampleTest, FieldsReadAsCalculated) {
    const Example& e = GetParam();
    const CalculatorDialog& d = Dialogs()[e.dialog];
    InDialog(d, [&](HWND dialog) {
        TypeFields(dialog, e.typed);
        Click(dialog, CalculateOf(d));
        Fields afterwards;
        for (const auto& [id, text] : e.afterwards) afterwards.push_back({id, FieldText(dialog, id)});
        EXPECT_EQ(afterwards, e.afterwards);
        EXPECT_TRUE(mirabo::testing::IsModalRunning(dialog));
    });
}

INSTANTIATE_TEST_SUITE_P(
    Solvers, ExampleTest,
    // clang-format off
    ::testing::Values(
        Example{"RotateByThirtyDegrees", 0, {{IDC_COORD_X, "3"}, {IDC_COORD_Y, "4"}, {IDC_COORD_ANGLE, "30"}},
                {{IDC_COORD_X, "3"}, {IDC_COORD_Y, "4"}, {IDC_COORD_ANGLE, "+30.000"},
                 {IDC_COORD_X_RESULT, "+0.598"}, {IDC_COORD_Y_RESULT, "+4.964"}}},
        Example{"RotateByMinusNinety", 0, {{IDC_COORD_X, "0"}, {IDC_COORD_Y, "1"}, {IDC_COORD_ANGLE, "-90"}},
                {{IDC_COORD_X_RESULT, "+1.000"}, {IDC_COORD_Y_RESULT, "-0.000"},
                 {IDC_COORD_ANGLE, "-90.000"}}},
        Example{"RightTriangleFromTwoLegs", 1, {{IDC_RIGHT_A, "3"}, {IDC_RIGHT_B, "4"}},
                {{IDC_RIGHT_A, "3.000"}, {IDC_RIGHT_B, "4.000"}, {IDC_RIGHT_C, "5.000"},
                 {IDC_RIGHT_ALPHA, "53.130"}, {IDC_RIGHT_BETA, "36.870"}}},
        Example{"RightTriangleFromHypotenuseAndAngle", 1, {{IDC_RIGHT_C, "2"}, {IDC_RIGHT_ALPHA, "30"}},
                {{IDC_RIGHT_A, "1.732"}, {IDC_RIGHT_B, "1.000"}, {IDC_RIGHT_C, "2.000"},
                 {IDC_RIGHT_ALPHA, "30.000"}, {IDC_RIGHT_BETA, "60.000"}}},
        Example{"ObliqueTriangleFromThreeSides", 2,
                {{IDC_OBLIQUE_A, "7"}, {IDC_OBLIQUE_B, "8"}, {IDC_OBLIQUE_C, "9"}},
                {{IDC_OBLIQUE_A, "7.000"}, {IDC_OBLIQUE_B, "8.000"}, {IDC_OBLIQUE_C, "9.000"},
                 {IDC_OBLIQUE_ALPHA, "58.412"}, {IDC_OBLIQUE_BETA, "48.190"}, {IDC_OBLIQUE_GAMMA, "73.398"}}},
        Example{"ObliqueTriangleFromSideAndTwoAngles", 2,
                {{IDC_OBLIQUE_B, "10"}, {IDC_OBLIQUE_ALPHA, "30"}, {IDC_OBLIQUE_BETA, "60"}},
                {{IDC_OBLIQUE_A, "17.321"}, {IDC_OBLIQUE_B, "10.000"}, {IDC_OBLIQUE_C, "20.000"},
                 {IDC_OBLIQUE_ALPHA, "30.000"}, {IDC_OBLIQUE_BETA, "60.000"}, {IDC_OBLIQUE_GAMMA, "90.000"}}},
        Example{"OhmsLawFromVoltageAndCurrent", 3, {{IDC_OHM_VOLTAGE, "10"}, {IDC_OHM_CURRENT, "2"}},
                {{IDC_OHM_VOLTAGE, "10.000"}, {IDC_OHM_CURRENT, "2.000"}, {IDC_OHM_RESISTANCE, "5.000"},
                 {IDC_OHM_POWER, "20.000"}}},
        Example{"OhmsLawFromCurrentAndPower", 3, {{IDC_OHM_CURRENT, "0.16"}, {IDC_OHM_POWER, "0.47"}},
                {{IDC_OHM_VOLTAGE, "2.938"}, {IDC_OHM_CURRENT, "0.160"}, {IDC_OHM_RESISTANCE, "18.359"},
                 {IDC_OHM_POWER, "0.470"}}}),
    RowName());

// Messages other than missing input, answered in each way the box allows.
struct MessageCase {
    const char* name;
    int dialog;
    Fields typed;
    QString text;
    QStringList buttons;
    int answer;   // IDOK, IDYES, IDNO
    bool written; // whether the fields change
    LANGID language = mirabo::test::kJapanese;
};

class MessageTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(MessageTest, ShowsTheTextAndButtonsAndActsOnTheAnswer) {
    const MessageCase& m = GetParam();
    const CalculatorDialog& d = Dialogs()[m.dialog];
    mirabo::test::UiLanguage language(m.language);
    InDialog(d, [&](HWND dialog) {
        TypeFields(dialog, m.typed);
        Fields before = ReadFields(dialog, d);
        MessageBoxSeen seen;
        AnswerNextMessageBox(m.answer, &seen, dialog);
        Click(dialog, CalculateOf(d));
        EXPECT_TRUE(seen.shown);
        EXPECT_EQ(seen.text, m.text);
        EXPECT_EQ(seen.buttons, m.buttons);
        EXPECT_EQ(seen.caption, m.language == mirabo::test::kEnglish ? QStringLiteral("Error") : QStringLiteral("エラー"));
        if (m.written) {
            EXPECT_NE(ReadFields(dialog, d), before);
        } else {
            EXPECT_EQ(ReadFields(dialog, d), before);
            // The focus stays where it was: on the Calculate button.
            EXPECT_EQ(FocusedId(dialog), CalculateOf(d));
        }
        EXPECT_TRUE(mirabo::testing::IsModalRunning(dialog));
    });
    // clang-format on
}

const QStringList kOk{QStringLiteral("OK")};
const QStringList kYesNo{QStringLiteral("はい"), QStringLiteral("いいえ")};
const QStringList kYesNoInEnglish{QStringLiteral("Yes"), QStringLiteral("No")};

INSTANTIATE_TEST_SUITE_P(
    Solvers, MessageTest,
    // clang-format off
    ::testing::Values(
        MessageCase{"OhmsLawZeroByZero", 3, {{IDC_OHM_VOLTAGE, "0"}, {IDC_OHM_CURRENT, "0"}},
                    kCalcException.japanese, kOk, IDOK, false},
        MessageCase{"RightTriangleZeroLegs", 1, {{IDC_RIGHT_A, "0"}, {IDC_RIGHT_B, "0"}},
                    kCalcException.japanese, kOk, IDOK, false},
        MessageCase{"ObliqueNoTriangle", 2,
                    {{IDC_OBLIQUE_A, "1"}, {IDC_OBLIQUE_B, "2"}, {IDC_OBLIQUE_C, "10"}},
                    kCalcException.japanese, kOk, IDOK, false},
        MessageCase{"OhmsLawInfiniteAnsweredNo", 3, {{IDC_OHM_CURRENT, "0"}, {IDC_OHM_POWER, "5"}},
                    kConfirmNonFinite.japanese, kYesNo, IDNO, false},
        MessageCase{"OhmsLawInfiniteAnsweredYes", 3, {{IDC_OHM_CURRENT, "0"}, {IDC_OHM_POWER, "5"}},
                    kConfirmNonFinite.japanese, kYesNo, IDYES, true},
        MessageCase{"RightTriangleInfiniteAnsweredYes", 1, {{IDC_RIGHT_B, "3"}, {IDC_RIGHT_ALPHA, "0"}},
                    kConfirmNonFinite.japanese, kYesNo, IDYES, true},
        MessageCase{"RightTriangleZeroLegsInEnglish", 1, {{IDC_RIGHT_A, "0"}, {IDC_RIGHT_B, "0"}},
                    kCalcException.english, kOk, IDOK, false, mirabo::test::kEnglish},
        MessageCase{"OhmsLawInfiniteAnsweredNoInEnglish", 3, {{IDC_OHM_CURRENT, "0"}, {IDC_OHM_POWER, "5"}},
                    kConfirmNonFinite.english, kYesNoInEnglish, IDNO, false, mirabo::test::kEnglish},
        MessageCase{"RightTriangleInfiniteAnsweredYesInEnglish", 1, {{IDC_RIGHT_B, "3"}, {IDC_RIGHT_ALPHA, "0"}},
                    kConfirmNonFinite.english, kYesNoInEnglish, IDYES, true, mirabo::test::kEnglish}),
    RowName());

TEST(LongInput, A10000CharacterPasteKeepsTheFirst99CharactersAndAllOfThemAreRead) {
    const CalculatorDialog& d = Dialogs()[1];
    InDialog(d, [&](HWND dialog) {
        QString digits(10000, QLatin1Char('1'));
        QGuiApplication::clipboard()->setText(digits);
        QWidget* field = ControlWidget(dialog, IDC_RIGHT_A);
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        const QString kept = digits.left(99);
        EXPECT_EQ(mirabo::test::TextOf(GetDlgItem(dialog, IDC_RIGHT_A), 20000), kept);
        WCHAR buffer[100];
        buffer[99] = L'#';
        EXPECT_EQ(GetWindowTextW(GetDlgItem(dialog, IDC_RIGHT_A), buffer, 100), 99);
        EXPECT_EQ(buffer[99], L'\0');
        TypeInto(dialog, IDC_RIGHT_B, QStringLiteral("4"));
        // A 99-digit leg gives a hypotenuse whose text does not fit a field:
        // the calculation is refused and nothing is written.
        MessageBoxSeen seen;
        AnswerNextMessageBox(IDOK, &seen, dialog);
        Click(dialog, CalculateOf(d));
        EXPECT_EQ(seen.text, kCalcException.japanese);
        EXPECT_TRUE(mirabo::testing::IsModalRunning(dialog));
        EXPECT_EQ(mirabo::test::TextOf(GetDlgItem(dialog, IDC_RIGHT_A), 20000), kept);
        EXPECT_EQ(FieldText(dialog, IDC_RIGHT_B), QStringLiteral("4"));
        EXPECT_EQ(FieldText(dialog, IDC_RIGHT_C), QString());
    });
    // clang-format on
}

// A field is read as its first 99 characters, all of them: the 99th decides
// the result here, and a 100th is never seen.
struct NinetyNineCase {
    const char* name;
    int dialog;  // index in Dialogs()
    Fields typed;
    int shownId;
    QString shown;
};

class NinetyNinthCharacterTest : public ::testing::TestWithParam<NinetyNineCase> {};

TEST_P(NinetyNinthCharacterTest, DecidesTheResult) {
    const NinetyNineCase& c = GetParam();
    const CalculatorDialog& d = Dialogs()[c.dialog];
    RunDialog(d.calculator->templateId, d.procedure, [&](HWND dialog) {
        for (const auto& [id, text] : c.typed) {
            SetWindowTextW(GetDlgItem(dialog, id), text.toStdWString().c_str());
        }
        Click(dialog, d.calculator->calculateId);
        EXPECT_EQ(FieldText(dialog, c.shownId), c.shown);
        Click(dialog, 2);
    });
}

// 98 zeros and a digit: read whole, the digit counts; cut one short, the
// value would be 0.
const QString kZeros(98, QLatin1Char('0'));

INSTANTIATE_TEST_SUITE_P(
    Fields, NinetyNinthCharacterTest,
    ::testing::Values(
        NinetyNineCase{
            "CoordinateRotation", 0, {{1001, kZeros + "3"}, {1002, "4"}, {1003, "0"}}, 1006, "+3.000"},
        NinetyNineCase{"RightTriangle", 1, {{1001, kZeros + "3"}, {1002, "4"}}, 1003, "5.000"},
        NinetyNineCase{
            "ObliqueTriangle", 2, {{1001, kZeros + "3"}, {1002, "4"}, {1003, "5"}}, 1006, "53.130"},
        NinetyNineCase{"OhmsLaw", 3, {{1001, kZeros + "7"}, {1002, "1"}}, 1003, "7.000"},
        NinetyNineCase{"HundredthCharacterCut", 3, {{1001, kZeros + "7x"}, {1002, "1"}}, 1003, "7.000"}),
    RowName());

}  // namespace
