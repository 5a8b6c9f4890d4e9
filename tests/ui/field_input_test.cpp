// What the calculators' fields take: at most 99 characters, typed or pasted,
// so that a calculation reads all a field shows; direct input when a field
// takes the focus; and full-width text typed through a Japanese input method.
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/calculators.h"
#include "res/resource.h"
#include "tests/ui/dialog_driver.h"
#include "tests/ui/named_rows.h"
#include "ui/calculator_dialogs.h"

namespace {

using namespace mirabo::test;

using Calculator = const mirabo::Calculator*;

// Every calculator of the register, named by its id: "right_triangle".
std::string NameOf(const ::testing::TestParamInfo<Calculator>& info) { return std::string(info.param->id); }

// What Qt's input method is told about the widget.
Qt::InputMethodHints HintsOf(QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    return widget ? widget->inputMethodQuery(Qt::ImHints).value<Qt::InputMethodHints>() : Qt::ImhNone;
}

bool AsksForDirectInput(QWidget* widget) {
    Qt::InputMethodHints hints = HintsOf(widget);
    return widget->testAttribute(Qt::WA_InputMethodEnabled) && (hints & Qt::ImhPreferLatin) &&
           (hints & Qt::ImhNoPredictiveText);
}

class FieldInputTest : public ::testing::TestWithParam<Calculator> {};

TEST_P(FieldInputTest, TypingStopsAtNinetyNineCharactersInEveryInputField) {
    const mirabo::Calculator& c = *GetParam();
    RunDialog(c.templateId, CalculatorDialogProcedure(c), [&](HWND dialog) {
        for (const mirabo::CalculatorField& field : c.fields) {
            if (field.role != mirabo::FieldRole::Input) continue;
            SCOPED_TRACE(std::string(field.name));
            TypeInto(dialog, field.controlId, QString(120, QLatin1Char('7')));
            EXPECT_EQ(FieldText(dialog, field.controlId), QString(99, QLatin1Char('7')));
            // What a calculation reads is the whole text.
            WCHAR buffer[mirabo::kFieldCapacity];
            EXPECT_EQ(GetWindowTextW(GetDlgItem(dialog, field.controlId), buffer, mirabo::kFieldCapacity),
                      99);
        }
        Click(dialog, IDC_BACK);
    });
}

TEST_P(FieldInputTest, APasteIsCutToTheNinetyNineCharactersThatFit) {
    const mirabo::Calculator& c = *GetParam();
    const int id = mirabo::FirstFieldId(c);
    struct PasteCase {
        const char* name;
        QString before;
        int cursor;  // where the paste goes; -1: over the whole text, selected
        QString pasted;
        QString after;
    };
    const QString nines(90, QLatin1Char('9'));
    const QString kEmoji = QString::fromUcs4(U"\U0001F600");
    // clang-format off
    const std::vector<PasteCase> cases = {
        {"TenThousandIntoAnEmptyField", QString(),         0,  QString(10000, QLatin1Char('1')), QString(99, QLatin1Char('1'))},
        {"AtTheEnd",                    nines,             90, QStringLiteral("123456789012"),   nines + QStringLiteral("123456789")},
        {"InTheMiddle",                 nines,             45, QStringLiteral("12345678901"),    nines.left(45) + QStringLiteral("123456789") + nines.mid(45)},
        {"OverASelection",              nines,             -1, QString(200, QLatin1Char('5')),   QString(99, QLatin1Char('5'))},
        {"FullWidthDigits",             QString(),         0,  QString(150, QChar(0xFF13)),      QString(99, QChar(0xFF13))},
        {"IntoAFullField",              QString(99, QLatin1Char('8')), 99, QStringLiteral("1"), QString(99, QLatin1Char('8'))},
        // Counted in UTF-16 units: a character beyond U+FFFF takes two, and
        // one that would cross the limit is left out whole.
        {"APairThatFits",               QString(),         0,  QString(97, QLatin1Char('1')) + kEmoji, QString(97, QLatin1Char('1')) + kEmoji},
        {"APairThatWouldCrossTheLimit", QString(),         0,  QString(98, QLatin1Char('1')) + kEmoji, QString(98, QLatin1Char('1'))},
        {"APairCrossingInTheMiddle",    nines,             45, QStringLiteral("12345678") + kEmoji + QStringLiteral("9"),
                                                                                                  nines.left(45) + QStringLiteral("12345678") + nines.mid(45)},
    };
    // clang-format on
    RunDialog(c.templateId, CalculatorDialogProcedure(c), [&](HWND dialog) {
        QWidget* field = ControlWidget(dialog, id);
        for (const PasteCase& p : cases) {
            SCOPED_TRACE(p.name);
            TypeInto(dialog, id, QString());
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(field, Qt::Key_Delete);
            mirabo::test::TypeText(field, p.before);
            if (p.cursor < 0) {
                QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            } else {
                QTest::keyClick(field, Qt::Key_Home);
                for (int i = 0; i < p.cursor; ++i) QTest::keyClick(field, Qt::Key_Right);
            }
            QGuiApplication::clipboard()->setText(p.pasted);
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
            EXPECT_EQ(FieldText(dialog, id), p.after);
        }
        Click(dialog, IDC_BACK);
    });
}

TEST_P(FieldInputTest, InputFieldsStartInDirectInputAndTheirContextsGoWithTheDialog) {
    const mirabo::Calculator& c = *GetParam();
    const int before = mirabo::testing::InputContextCount();
    RunDialog(c.templateId, CalculatorDialogProcedure(c), [&](HWND dialog) {
        // The field that has the focus as the dialog opens tells the input
        // method so at once.
        ASSERT_TRUE(QTest::qWaitForWindowActive(mirabo::testing::ScreenWidget()));
        QObject* focus = QGuiApplication::focusObject();
        ASSERT_EQ(focus, ControlWidget(dialog, mirabo::FirstFieldId(c)));
        EXPECT_TRUE(HintsOf(focus) & Qt::ImhPreferLatin);
        for (const mirabo::CalculatorField& field : c.fields) {
            SCOPED_TRACE(std::string(field.name));
            QWidget* widget = ControlWidget(dialog, field.controlId);
            if (field.role == mirabo::FieldRole::Input) {
                EXPECT_TRUE(AsksForDirectInput(widget));
                widget->setFocus();
                EXPECT_EQ(QGuiApplication::focusObject(), widget);
                EXPECT_TRUE(HintsOf(QGuiApplication::focusObject()) & Qt::ImhPreferLatin);
            } else {
                // A result field takes no text from the input method.
                EXPECT_FALSE(widget->testAttribute(Qt::WA_InputMethodEnabled));
            }
        }
        EXPECT_GT(mirabo::testing::InputContextCount(), before);
        Click(dialog, IDC_BACK);
    });
    EXPECT_EQ(mirabo::testing::InputContextCount(), before) << "the fields' contexts outlive the dialog";
}

INSTANTIATE_TEST_SUITE_P(Calculators, FieldInputTest, ::testing::ValuesIn(mirabo::kCalculators), NameOf);

// Full-width text typed through the input method computes as the ASCII text
// does, and a rejected one gives the calculator's message.
TEST(FullWidthInput, TypedIntoTheDialogsComputesAsTheAsciiText) {
    struct Typed {
        const char* name;
        const mirabo::Calculator* calculator;
        std::vector<QString> keys;  // typed into the fields from the first, Tab between
        std::vector<std::pair<int, QString>> after;
        QString message;  // when it stops for missing input
    };
    // clang-format off
    const Typed cases[] = {
        {"RightTriangle", &mirabo::kRightTriangle, {QStringLiteral("１２"), QStringLiteral("５")},
         {{IDC_RIGHT_A, "12.000"}, {IDC_RIGHT_B, "5.000"}, {IDC_RIGHT_C, "13.000"},
          {IDC_RIGHT_ALPHA, "22.620"}, {IDC_RIGHT_BETA, "67.380"}}, QString()},
        {"ObliqueTriangle", &mirabo::kObliqueTriangle, {QStringLiteral("７"), QStringLiteral("８"), QStringLiteral("９")},
         {{IDC_OBLIQUE_ALPHA, "58.412"}, {IDC_OBLIQUE_BETA, "48.190"}, {IDC_OBLIQUE_GAMMA, "73.398"}}, QString()},
        {"ObliqueNegative", &mirabo::kObliqueTriangle, {QStringLiteral("７"), QStringLiteral("８"), QStringLiteral("－９")},
         {{IDC_OBLIQUE_C, "－９"}}, QStringLiteral("入力値が不足、或いはタイプミス\n負の値は使用できません。")},
        {"CoordinateRotation", &mirabo::kCoordinateRotation, {QStringLiteral("−３"), QStringLiteral("１"), QStringLiteral("９０．０")},
         {{IDC_COORD_X_RESULT, "-1.000"}, {IDC_COORD_Y_RESULT, "-3.000"}}, QString()},
        {"OhmsLaw", &mirabo::kOhmsLaw, {QStringLiteral("１２"), QStringLiteral("０．５")},
         {{IDC_OHM_RESISTANCE, "24.000"}, {IDC_OHM_POWER, "6.000"}}, QString()},
        {"OhmsLawComma", &mirabo::kOhmsLaw, {QStringLiteral("１，２"), QStringLiteral("１")},
         {{IDC_OHM_VOLTAGE, "１，２"}}, QStringLiteral("入力値が不足、\n或いはタイプミス")},
    };
    // clang-format on
    for (const Typed& t : cases) {
        for (bool committed : {false, true}) {
            SCOPED_TRACE(std::string(t.name) + (committed ? " committed by the input method" : " typed"));
            const mirabo::Calculator& calculator = *t.calculator;
            RunDialog(calculator.templateId, CalculatorDialogProcedure(calculator), [&](HWND dialog) {
                for (std::size_t i = 0; i < t.keys.size(); ++i) {
                    if (i > 0) PressKey(Qt::Key_Tab);
                    if (committed) {
                        mirabo::test::CommitText(mirabo::testing::WidgetOf(mirabo::testing::FocusedWindow()),
                                                 t.keys[i]);
                    } else {
                        mirabo::test::TypeText(mirabo::testing::WidgetOf(mirabo::testing::FocusedWindow()),
                                               t.keys[i]);
                    }
                }
                MessageBoxSeen seen;
                if (!t.message.isEmpty()) AnswerNextMessageBox(IDOK, &seen, dialog);
                Click(dialog, calculator.calculateId);
                EXPECT_EQ(seen.text, t.message);
                for (const auto& [id, text] : t.after) EXPECT_EQ(FieldText(dialog, id), text) << id;
                Click(dialog, IDC_BACK);
            });
        }
    }
}

}  // namespace
