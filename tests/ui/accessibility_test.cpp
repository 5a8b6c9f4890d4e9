// What a screen reader reads of the dialogs, through Qt's accessibility
// interfaces: every control's role, name and value, the fields named after
// the labels beside them, the events that announce new values and focus
// moves, and message boxes read as alerts.
#include <QAbstractButton>
#include <QAccessible>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "calc/calculators.h"
#include "res/resource.h"
#include "tests/ui/accessibility_driver.h"
#include "tests/ui/dialog_driver.h"
#include "tests/ui/named_rows.h"
#include "ui/calculator_dialogs.h"
#include "ui/main_window.h"

namespace {

using namespace mirabo::test;
using mirabo::test::PrintTo;

constexpr QAccessible::Role kField = QAccessible::EditableText;
constexpr QAccessible::Role kButton = QAccessible::Button;
constexpr QAccessible::Role kLabel = QAccessible::StaticText;
constexpr QAccessible::Role kPicture = QAccessible::Graphic;

// A field is labelled by the label it is named after; only a field the
// user can type into is editable. A label beside a field labels it (the field
// bears its name).
AccessibleControl Field(QString name) {
    return {.role = kField, .name = name, .editable = true, .labelledBy = name};
}
AccessibleControl ResultField(QString name) {
    return {.role = kField, .name = name, .readOnly = true, .labelledBy = name};
}
AccessibleControl Button(QString name) { return {.role = kButton, .name = name}; }
AccessibleControl DefaultButton(QString name) { return {.role = kButton, .name = name, .isDefault = true}; }
AccessibleControl Label(QString name) { return {.role = kLabel, .name = name}; }
AccessibleControl FieldLabel(QString name) { return {.role = kLabel, .name = name, .labelFor = name}; }
AccessibleControl Picture(QString shows) { return {.role = kPicture, .name = shows}; }

const char kCoordinatePicture[] =
    "座標移動の図：原点から延びる二本の線の先に点 X1,Y1 と点 X2,Y2、二本の線の間の角が α";
const char kRightPicture[] =
    "直角三角形の図：底辺 a、右の縦の辺 b、斜辺 c。a と c の間の角が α、c と b の間の角が β、a と b "
    "の間が直角";
const char kObliquePicture[] =
    "三角形の図：底辺 a、右の辺 b、斜めの辺 c。a と c の間の角が α、c と b の間の角が β、a と b "
    "の間の角が γ";
const char kIcon[] = "Mirabo のアイコン：黒地に赤い円と黄色の直角三角形";

struct DialogView {
    const char* name;
    int templateId;
    DLGPROC procedure;
    int close;  // the command that closes it
    QString caption;
    std::vector<AccessibleControl> controls;  // in template order
    LANGID language = mirabo::test::kJapanese;
};

const std::vector<DialogView>& Views() {
    // clang-format off
    static const std::vector<DialogView> views = {
        {"CoordinateRotation", IDD_COORDINATE_ROTATION, CoordinateDlgProc, IDC_BACK,
         QStringLiteral("座標移動の計算"),
         {Field("移動するXの値"), Field("移動するYの値"), Field("移動する角度"),
          Button("計算する"), Button("戻る"), Button("クリア"),
          ResultField("移動後のXの値"), ResultField("移動後のYの値"),
          FieldLabel("移動するXの値"), FieldLabel("移動するYの値"), FieldLabel("移動する角度"),
          FieldLabel("移動後のXの値"), FieldLabel("移動後のYの値"), Picture(kCoordinatePicture)}},
        {"RightTriangle", IDD_RIGHT_TRIANGLE, RightTriangleDlgProc, IDC_BACK,
         QStringLiteral("直角三角関数の計算"),
         {Field("a"), Field("b"), Field("c"), Field("α"), Field("β"),
          DefaultButton("計算する"), Button("クリア"), Button("戻る"),
          FieldLabel("a"), FieldLabel("b"), FieldLabel("c"), FieldLabel("α"), FieldLabel("β"), Picture(kRightPicture)}},
        // Its labels stand in the template after the fields, b before a.
        {"ObliqueTriangle", IDD_OBLIQUE_TRIANGLE, ObliqueTriangleDlgProc, IDC_BACK,
         QStringLiteral("非直角三角形の計算"),
         {Field("a"), Field("b"), Field("c"), Button("計算する"), Button("クリア"), Button("戻る"),
          FieldLabel("b"), FieldLabel("a"), FieldLabel("c"), Field("α"), FieldLabel("α"), Picture(kObliquePicture),
          Field("β"), Field("γ"), FieldLabel("β"), FieldLabel("γ")}},
        {"OhmsLaw", IDD_OHMS_LAW, OhmsLawDlgProc, IDC_BACK,
         QStringLiteral("オームの法則の計算"),
         {Field("電圧（V)"), Field("電流（A)"), Field("抵抗（Ω）"), Field("電力（W)"),
          DefaultButton("計算する"), Button("クリア"), Button("戻る"),
          FieldLabel("電圧（V)"), FieldLabel("電流（A)"), FieldLabel("抵抗（Ω）"), FieldLabel("電力（W)")}},
        // The author line's leading blanks are not read.
        {"AboutBox", IDD_ABOUT, AboutDlgProc, IDOK,
         QStringLiteral("Mirabo　for WindowsCE のバージョン情報"),
         {Picture(kIcon), Label("Mirabo for PocketPC(TAVORN版)"), Label("(C) 2026 Mirabo"),
          Label("プログラム製作　Mirabo"), Label("public ver. 1.1"), Label("mirabo@example.org"),
          Label("https://mirabo.example.org/")}},
        // In English, names and descriptions are English.
        {"CoordinateRotationInEnglish", IDD_COORDINATE_ROTATION, CoordinateDlgProc, IDC_BACK,
         QStringLiteral("Coordinate Rotation"),
         {Field("Point X"), Field("Point Y"), Field("Angle"),
          Button("Calculate"), Button("Back"), Button("Clear"),
          ResultField("Rotated X"), ResultField("Rotated Y"),
          FieldLabel("Point X"), FieldLabel("Point Y"), FieldLabel("Angle"), FieldLabel("Rotated X"), FieldLabel("Rotated Y"),
          Picture("Coordinate rotation diagram: two lines from the origin ending at the points X1,Y1 and "
                  "X2,Y2, with the angle α between them")},
         mirabo::test::kEnglish},
        {"OhmsLawInEnglish", IDD_OHMS_LAW, OhmsLawDlgProc, IDC_BACK,
         QStringLiteral("Ohm's Law"),
         {Field("Volts"), Field("Amps"), Field("Ohms"), Field("Watts"),
          DefaultButton("Calculate"), Button("Clear"), Button("Back"),
          FieldLabel("Volts"), FieldLabel("Amps"), FieldLabel("Ohms"), FieldLabel("Watts")},
         mirabo::test::kEnglish},
        {"AboutBoxInEnglish", IDD_ABOUT, AboutDlgProc, IDOK,
         QStringLiteral("About Mirabo for WindowsCE"),
         {Picture("Mirabo icon: a red circle and a yellow right triangle on black"),
          Label("Mirabo for PocketPC (TAVORN)"), Label("(C) 2026 Mirabo"),
          Label("Programmed by Mirabo"), Label("public ver. 1.1"), Label("mirabo@example.org"),
          Label("https://mirabo.example.org/")},
         mirabo::test::kEnglish},
    };
    // clang-format on
    return views;
}

class DialogViewTest : public ::testing::TestWithParam<DialogView> {};

TEST_P(DialogViewTest, IsADialogNamedWithItsCaptionAndEveryControlIsReadByRoleNameAndValue) {
    const DialogView& v = GetParam();
    mirabo::test::UiLanguage language(v.language);
    AccessibilityListener listener;
    RunDialog(v.templateId, v.procedure, [&](HWND dialog) {
        QAccessibleInterface* accessible = AccessibleOf(dialog);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(Read(accessible), (AccessibleControl{QAccessible::Dialog, v.caption}));
        EXPECT_TRUE(accessible->state().modal);
        EXPECT_EQ(ReadChildren(accessible), v.controls);
        // The screen's title strip reads the caption too, and its OK button
        // controls the dialog.
        QWidget* strip = mirabo::testing::DoneButton()->parentWidget();
        EXPECT_EQ(Read(QAccessible::queryAccessibleInterface(strip)).name, v.caption);
        AccessibleControl ok = Read(QAccessible::queryAccessibleInterface(mirabo::testing::DoneButton()));
        EXPECT_EQ(ok.name, QStringLiteral("OK"));
        EXPECT_EQ(ok.controls, v.caption);
        mirabo::testing::SendCommand(dialog, v.close);
    });
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogViewTest, ::testing::ValuesIn(Views()), RowName());

// ---------------------------------------------------------------------------
// New values and focus moves

struct Calculation {
    const char* name;
    const mirabo::Calculator* calculator;  // its dialog, Calculate and Clear
    Fields typed;
    Fields results;  // every field afterwards, the first one first
};

const std::vector<Calculation>& Calculations() {
    // clang-format off
    static const std::vector<Calculation> calculations = {
        {"CoordinateRotation", &mirabo::kCoordinateRotation, {{IDC_COORD_X, "3"}, {IDC_COORD_Y, "4"}, {IDC_COORD_ANGLE, "30"}},
         {{IDC_COORD_X, "3"}, {IDC_COORD_Y, "4"}, {IDC_COORD_ANGLE, "+30.000"},
          {IDC_COORD_X_RESULT, "+0.598"}, {IDC_COORD_Y_RESULT, "+4.964"}}},
        {"RightTriangle", &mirabo::kRightTriangle, {{IDC_RIGHT_A, "3"}, {IDC_RIGHT_B, "4"}},
         {{IDC_RIGHT_A, "3.000"}, {IDC_RIGHT_B, "4.000"}, {IDC_RIGHT_C, "5.000"},
          {IDC_RIGHT_ALPHA, "53.130"}, {IDC_RIGHT_BETA, "36.870"}}},
        {"ObliqueTriangle", &mirabo::kObliqueTriangle, {{IDC_OBLIQUE_A, "7"}, {IDC_OBLIQUE_B, "8"}, {IDC_OBLIQUE_C, "9"}},
         {{IDC_OBLIQUE_A, "7.000"}, {IDC_OBLIQUE_B, "8.000"}, {IDC_OBLIQUE_C, "9.000"},
          {IDC_OBLIQUE_ALPHA, "58.412"}, {IDC_OBLIQUE_BETA, "48.190"}, {IDC_OBLIQUE_GAMMA, "73.398"}}},
        {"OhmsLaw", &mirabo::kOhmsLaw, {{IDC_OHM_VOLTAGE, "10"}, {IDC_OHM_CURRENT, "2"}},
         {{IDC_OHM_VOLTAGE, "10.000"}, {IDC_OHM_CURRENT, "2.000"}, {IDC_OHM_RESISTANCE, "5.000"},
          {IDC_OHM_POWER, "20.000"}}},
    };
    // clang-format on
    return calculations;
}

QString TypedInto(const Calculation& c, int id) {
    for (const auto& [typedId, text] : c.typed) {
        if (typedId == id) return text;
    }
    return QString();
}

class CalculationTest : public ::testing::TestWithParam<Calculation> {};

TEST_P(CalculationTest, EveryNewValueIsReadAndAnnouncedAsATextChange) {
    const Calculation& c = GetParam();
    AccessibilityListener listener;
    RunDialog(c.calculator->templateId, CalculatorDialogProcedure(*c.calculator), [&](HWND dialog) {
        TypeFields(dialog, c.typed);
        listener.Clear();
        Click(dialog, c.calculator->calculateId);
        for (const auto& [id, value] : c.results) {
            SCOPED_TRACE(testing::Message() << "field " << id);
            QWidget* field = ControlWidget(dialog, id);
            EXPECT_EQ(Read(QAccessible::queryAccessibleInterface(field)).value, value);
            if (value != TypedInto(c, id)) {
                EXPECT_EQ(listener.LastInserted(field), value);
            }
        }
        Click(dialog, IDC_BACK);
    });
}

TEST_P(CalculationTest, ClearIsAnnouncedFieldByFieldAndTheFocusMoveToTheFirstField) {
    const Calculation& c = GetParam();
    AccessibilityListener listener;
    RunDialog(c.calculator->templateId, CalculatorDialogProcedure(*c.calculator), [&](HWND dialog) {
        ASSERT_TRUE(WaitUntilActive());
        TypeFields(dialog, c.typed);
        Click(dialog, c.calculator->calculateId);
        listener.Clear();
        Click(dialog, c.calculator->clearId);
        for (const auto& [id, value] : c.results) {
            SCOPED_TRACE(testing::Message() << "field " << id);
            QWidget* field = ControlWidget(dialog, id);
            EXPECT_EQ(Read(QAccessible::queryAccessibleInterface(field)).value, QString());
            EXPECT_TRUE(listener.SawRemoved(field, value));
        }
        EXPECT_TRUE(listener.Saw(QAccessible::Focus, ControlWidget(dialog, c.results.front().first)));
        Click(dialog, IDC_BACK);
    });
}

INSTANTIATE_TEST_SUITE_P(Dialogs, CalculationTest, ::testing::ValuesIn(Calculations()), RowName());

// Each Tab or Shift+Tab announces the control it reaches, and the default
// button follows the focus: the push button that has it, else 計算する.
TEST(FocusTest, TabAndShiftTabAnnounceTheControlTheyReachAndMoveTheDefaultButton) {
    AccessibilityListener listener;
    RunDialog(IDD_RIGHT_TRIANGLE, RightTriangleDlgProc, [&](HWND dialog) {
        ASSERT_TRUE(WaitUntilActive());
        struct Step {
            Qt::KeyboardModifiers modifiers;
            int reached;
            int defaultButton;
        };
        // clang-format off
        const Step steps[] = {
            {Qt::NoModifier,    IDC_RIGHT_B,         IDC_RIGHT_CALCULATE},
            {Qt::NoModifier,    IDC_RIGHT_C,         IDC_RIGHT_CALCULATE},
            {Qt::ShiftModifier, IDC_RIGHT_B,         IDC_RIGHT_CALCULATE},
            {Qt::ShiftModifier, IDC_RIGHT_A,         IDC_RIGHT_CALCULATE},
            {Qt::ShiftModifier, IDC_BACK,            IDC_BACK},
            {Qt::ShiftModifier, IDC_RIGHT_CLEAR,     IDC_RIGHT_CLEAR},
            {Qt::ShiftModifier, IDC_RIGHT_CALCULATE, IDC_RIGHT_CALCULATE},
            {Qt::ShiftModifier, IDC_RIGHT_BETA,      IDC_RIGHT_CALCULATE},
        };
        // clang-format on
        for (const Step& step : steps) {
            SCOPED_TRACE(testing::Message() << "to control " << step.reached);
            listener.Clear();
            PressKey(Qt::Key_Tab, step.modifiers);
            EXPECT_TRUE(listener.Saw(QAccessible::Focus, ControlWidget(dialog, step.reached)));
            for (int button : {IDC_RIGHT_CALCULATE, IDC_RIGHT_CLEAR, IDC_BACK}) {
                EXPECT_EQ(
                    Read(QAccessible::queryAccessibleInterface(ControlWidget(dialog, button))).isDefault,
                    button == step.defaultButton)
                    << "button " << button;
            }
        }
        Click(dialog, IDC_BACK);
    });
}

// ---------------------------------------------------------------------------
// Message boxes

struct MessageView {
    const char* name;
    const mirabo::Calculator* calculator;
    Fields typed;
    QString caption;
    std::vector<AccessibleControl> controls;
    int answer;
};

const std::vector<MessageView>& Messages() {
    // clang-format off
    static const std::vector<MessageView> messages = {
        {"MissingInput", &mirabo::kRightTriangle, {{IDC_RIGHT_ALPHA, "30"}, {IDC_RIGHT_BETA, "60"}}, QStringLiteral("エラー"),
         {Label("入力値が不足、\n或いはタイプミス"), DefaultButton("OK")}, IDOK},
        {"InfiniteResultQuestion", &mirabo::kOhmsLaw, {{IDC_OHM_CURRENT, "0"}, {IDC_OHM_POWER, "5"}}, QStringLiteral("エラー"),
         {Label("正常に表示出来ません。\n引数及び結果が無限値、非数、\n計算不可値である可能性があります "
                "。\n無視して表示しますか"),
          DefaultButton("はい"), Button("いいえ")}, IDNO},
    };
    // clang-format on
    return messages;
}

class MessageBoxViewTest : public ::testing::TestWithParam<MessageView> {};

TEST_P(MessageBoxViewTest, IsAnAlertWhoseTextAndButtonsAreRead) {
    const MessageView& m = GetParam();
    AccessibilityListener listener;
    bool seen = false;
    RunDialog(m.calculator->templateId, CalculatorDialogProcedure(*m.calculator), [&](HWND dialog) {
        ASSERT_TRUE(WaitUntilActive());
        TypeFields(dialog, m.typed);
        mirabo::testing::OnNextModalLoop([&](HWND box) {
            seen = true;
            QAccessibleInterface* accessible = AccessibleOf(box);
            ASSERT_NE(accessible, nullptr);
            EXPECT_EQ(Read(accessible), (AccessibleControl{QAccessible::AlertMessage, m.caption}));
            EXPECT_TRUE(accessible->state().modal);
            EXPECT_EQ(ReadChildren(accessible), m.controls);
            EXPECT_TRUE(listener.Saw(QAccessible::Alert, mirabo::testing::WidgetOf(box)));
            // The first button has the focus, and screen readers heard so.
            QAbstractButton* first =
                mirabo::testing::MessageBoxButton(box, m.controls[1].name == "OK" ? IDOK : IDYES);
            ASSERT_NE(first, nullptr);
            EXPECT_TRUE(listener.Saw(QAccessible::Focus, first));
            QTest::mouseClick(mirabo::testing::MessageBoxButton(box, m.answer), Qt::LeftButton);
        });
        Click(dialog, m.calculator->calculateId);
        Click(dialog, IDC_BACK);
    });
    EXPECT_TRUE(seen);
}

INSTANTIATE_TEST_SUITE_P(Messages, MessageBoxViewTest, ::testing::ValuesIn(Messages()), RowName());

}  // namespace
