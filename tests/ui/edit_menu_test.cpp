// The edit menu of the calculators' fields: how it opens, its items and
// which of them can act, and copying and pasting through it.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

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

enum class Opening { RightClick, ShiftF10, MenuKey };

// Opens the field's edit menu the way the user would and gives the menu.
QMenu* OpenEditMenu(HWND dialog, int id, Opening how) {
    QWidget* field = ControlWidget(dialog, id);
    // What the last action left to do (a closed menu going away) is done
    // before the user acts again.
    QCoreApplication::processEvents();
    switch (how) {
    case Opening::RightClick: {
        // Through the desktop window, as the window system delivers a click.
        QWidget* screen = mirabo::testing::ScreenWidget();
        QPoint at = field->mapTo(screen, field->rect().center());
        QTest::mouseClick(screen->windowHandle(), Qt::RightButton, Qt::NoModifier, at);
        break;
    }
    case Opening::ShiftF10:
        QTest::keyClick(field, Qt::Key_F10, Qt::ShiftModifier);
        break;
    case Opening::MenuKey:
        QTest::keyClick(field, Qt::Key_Menu);
        break;
    }
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// The menu's items without their access keys, and whether each can act.
using Items = std::vector<std::pair<QString, bool>>;

Items ItemsOf(const QMenu* menu) {
    Items items;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) continue;
        QString text = action->text();
        text.remove(QRegularExpression(QStringLiteral("\\(&.\\)$")));
        items.push_back({text, action->isEnabled()});
    }
    return items;
}

// Chooses an item of the open menu with its access key, as the user would.
void Choose(QMenu* menu, Qt::Key accessKey) {
    ASSERT_NE(menu, nullptr) << "no edit menu opened";
    QTest::keyClick(menu, accessKey);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "the menu stays open";
}

const QString kUndo = QStringLiteral("元に戻す");
const QString kCut = QStringLiteral("切り取り");
const QString kCopy = QStringLiteral("コピー");
const QString kPaste = QStringLiteral("貼り付け");
const QString kDelete = QStringLiteral("削除");
const QString kSelectAll = QStringLiteral("すべて選択");

struct StateCase {
    const char* name;
    int field;                   // in the coordinate-rotation dialog
    std::vector<QString> typed;  // typed into the field; a lone "<" selects the last character
    bool selectAll;              // then Ctrl+A
    bool clipboardHasText;
    Items expected;
};

// clang-format off
const StateCase kStateCases[] = {
    {"EmptyField", IDC_COORD_X, {}, false, false,
     {{kUndo, false}, {kCut, false}, {kCopy, false}, {kPaste, false}, {kDelete, false}, {kSelectAll, false}}},
    {"EmptyFieldWithTextOnTheClipboard", IDC_COORD_X, {}, false, true,
     {{kUndo, false}, {kCut, false}, {kCopy, false}, {kPaste, true}, {kDelete, false}, {kSelectAll, false}}},
    {"TypedTextNothingSelected", IDC_COORD_X, {QStringLiteral("12")}, false, false,
     {{kUndo, true}, {kCut, false}, {kCopy, false}, {kPaste, false}, {kDelete, false}, {kSelectAll, true}}},
    {"PartSelected", IDC_COORD_Y, {QStringLiteral("123"), QStringLiteral("<")}, false, true,
     {{kUndo, true}, {kCut, true}, {kCopy, true}, {kPaste, true}, {kDelete, true}, {kSelectAll, true}}},
    {"AllSelected", IDC_COORD_ANGLE, {QStringLiteral("１２３")}, true, false,
     {{kUndo, true}, {kCut, true}, {kCopy, true}, {kPaste, false}, {kDelete, true}, {kSelectAll, false}}},
    {"ResultFieldEmpty", IDC_COORD_X_RESULT, {}, false, true,
     {{kCopy, false}, {kSelectAll, false}}},
};
// clang-format on

struct OpenCase {
    const char* name;
    Opening how;
};

class EditMenuTest : public ::testing::TestWithParam<std::tuple<StateCase, OpenCase>> {};

TEST_P(EditMenuTest, OffersItsItemsAndGreysThoseThatCannotAct) {
    const auto& [state, open] = GetParam();
    const mirabo::Calculator& rotation = mirabo::kCoordinateRotation;
    RunDialog(rotation.templateId, CoordinateDlgProc, [&](HWND dialog) {
        QWidget* field = ControlWidget(dialog, state.field);
        field->setFocus();
        for (const QString& keys : state.typed) {
            if (keys == QStringLiteral("<")) {
                QTest::keyClick(field, Qt::Key_Left, Qt::ShiftModifier);
            } else {
                mirabo::test::TypeText(field, keys);
            }
        }
        if (state.selectAll) QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        if (state.clipboardHasText) {
            QGuiApplication::clipboard()->setText(QStringLiteral("5"));
        } else {
            QGuiApplication::clipboard()->clear();
        }
        QMenu* menu = OpenEditMenu(dialog, state.field, open.how);
        ASSERT_NE(menu, nullptr) << "no edit menu opened";
        EXPECT_EQ(ItemsOf(menu), state.expected);
        EXPECT_EQ(FocusedId(dialog), state.field);
        QTest::keyClick(menu, Qt::Key_Escape);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        Click(dialog, IDC_BACK);
    });
}

INSTANTIATE_TEST_SUITE_P(States, EditMenuTest,
                         ::testing::Combine(::testing::ValuesIn(kStateCases),
                                            ::testing::Values(OpenCase{"RightClick", Opening::RightClick},
                                                              OpenCase{"ShiftF10", Opening::ShiftF10},
                                                              OpenCase{"MenuKey", Opening::MenuKey})),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + std::get<1>(info.param).name;
                         });

TEST(EditMenu, ItemsAreInJapaneseWithTheirAccessKeysInThePlatformsOrder) {
    RunDialog(IDD_RIGHT_TRIANGLE, RightTriangleDlgProc, [&](HWND dialog) {
        QMenu* menu = OpenEditMenu(dialog, IDC_RIGHT_A, Opening::MenuKey);
        ASSERT_NE(menu, nullptr);
        QStringList texts;
        for (const QAction* action : menu->actions()) {
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        EXPECT_EQ(texts, QStringList({"元に戻す(&U)", "-", "切り取り(&T)", "コピー(&C)", "貼り付け(&P)",
                                      "削除(&D)", "-", "すべて選択(&A)"}));
        QTest::keyClick(menu, Qt::Key_Escape);
        Click(dialog, IDC_BACK);
    });
}

// Copy, cut, paste, delete, undo and select all through the menu, from field
// to field and from a read-only result field; a paste keeps to the limit.
TEST(EditMenu, CopiesAndPastesThroughItsItems) {
    RunDialog(IDD_COORDINATE_ROTATION, CoordinateDlgProc, [&](HWND dialog) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        TypeInto(dialog, IDC_COORD_X, QStringLiteral("１２.5"));
        Choose(OpenEditMenu(dialog, IDC_COORD_X, Opening::ShiftF10), Qt::Key_A);
        Choose(OpenEditMenu(dialog, IDC_COORD_X, Opening::ShiftF10), Qt::Key_C);
        EXPECT_EQ(clipboard->text(), QStringLiteral("１２.5"));

        ControlWidget(dialog, IDC_COORD_Y)->setFocus();
        Choose(OpenEditMenu(dialog, IDC_COORD_Y, Opening::RightClick), Qt::Key_P);
        EXPECT_EQ(FieldText(dialog, IDC_COORD_Y), QStringLiteral("１２.5"));

        // Cut takes the selection away onto the clipboard; undo brings it back.
        clipboard->setText(QStringLiteral("x"));
        QTest::keyClick(ControlWidget(dialog, IDC_COORD_Y), Qt::Key_Left, Qt::ShiftModifier);
        Choose(OpenEditMenu(dialog, IDC_COORD_Y, Opening::MenuKey), Qt::Key_T);
        EXPECT_EQ(FieldText(dialog, IDC_COORD_Y), QStringLiteral("１２."));
        EXPECT_EQ(clipboard->text(), QStringLiteral("5"));
        Choose(OpenEditMenu(dialog, IDC_COORD_Y, Opening::MenuKey), Qt::Key_U);
        EXPECT_EQ(FieldText(dialog, IDC_COORD_Y), QStringLiteral("１２.5"));

        // Delete takes the selection away and leaves the clipboard alone.
        QTest::keyClick(ControlWidget(dialog, IDC_COORD_Y), Qt::Key_A, Qt::ControlModifier);
        Choose(OpenEditMenu(dialog, IDC_COORD_Y, Opening::MenuKey), Qt::Key_D);
        EXPECT_EQ(FieldText(dialog, IDC_COORD_Y), QString());
        EXPECT_EQ(clipboard->text(), QStringLiteral("5"));

        // A long paste through the menu keeps to the 99 characters.
        clipboard->setText(QString(300, QChar(0xFF14)));
        Choose(OpenEditMenu(dialog, IDC_COORD_Y, Opening::RightClick), Qt::Key_P);
        EXPECT_EQ(FieldText(dialog, IDC_COORD_Y), QString(99, QChar(0xFF14)));

        // A result, copied out of its read-only field.
        TypeInto(dialog, IDC_COORD_Y, QString());
        QTest::keyClick(ControlWidget(dialog, IDC_COORD_Y), Qt::Key_A, Qt::ControlModifier);
        mirabo::test::TypeText(ControlWidget(dialog, IDC_COORD_Y), QStringLiteral("4"));
        TypeInto(dialog, IDC_COORD_ANGLE, QStringLiteral("0"));
        Click(dialog, IDC_COORD_CALCULATE);
        ASSERT_EQ(FieldText(dialog, IDC_COORD_Y_RESULT), QStringLiteral("+4.000"));
        Choose(OpenEditMenu(dialog, IDC_COORD_Y_RESULT, Opening::RightClick), Qt::Key_A);
        QMenu* menu = OpenEditMenu(dialog, IDC_COORD_Y_RESULT, Opening::MenuKey);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(ItemsOf(menu), (Items{{kCopy, true}, {kSelectAll, false}}));
        Choose(menu, Qt::Key_C);
        EXPECT_EQ(clipboard->text(), QStringLiteral("+4.000"));
        EXPECT_EQ(FieldText(dialog, IDC_COORD_Y_RESULT), QStringLiteral("+4.000"));
        Click(dialog, IDC_BACK);
    });
}

}  // namespace
