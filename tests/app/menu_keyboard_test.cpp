// The menu bar from the keyboard alone: F10 or a lone Alt opens the first
// menu, Left and Right go from menu to menu, Up, Down and Enter choose, Esc
// closes; every calculator, the About box and Exit are reached so.
#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/app/program_driver.h"
#include "tests/ui/named_rows.h"

namespace {

using namespace mirabo::test;
using mirabo::test::PrintTo;

// The open menu, named by its first item, and its chosen item; empty texts
// when no menu is open.
struct MenuState {
    QString menu;
    QString chosen;
    bool operator==(const MenuState&) const = default;
};

void PrintTo(const MenuState& s, std::ostream* out) {
    *out << '[' << s.menu.toStdString() << " / " << s.chosen.toStdString() << ']';
}

MenuState CurrentMenu() {
    QMenu* menu = OpenMenu();
    if (menu == nullptr) return {};
    return {menu->actions().value(0)->text(),
            menu->activeAction() ? menu->activeAction()->text() : QString()};
}

struct Key {
    int key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

const QString kFunctions = QStringLiteral("座標移動の計算");         // first item of 関数
const QString kCalculations = QStringLiteral("オームの法則の計算");  // the item of 計算
const QString kVersion = QStringLiteral("バージョン情報");           // the item of バージョン

// Presses each key once the program has taken the one before and shows the
// state expected after it; records the states it saw, then runs `then`.
void PressInTurn(std::shared_ptr<std::vector<std::pair<Key, MenuState>>> steps, std::size_t next,
                 std::shared_ptr<std::vector<MenuState>> seen, std::function<void()> then) {
    if (next == steps->size()) {
        then();
        return;
    }
    const auto& [key, expected] = (*steps)[next];
    PressKey(key.key, key.modifiers);
    When([expected] { return CurrentMenu() == expected && (!expected.menu.isEmpty() || MainWindowActive()); },
         [=] {
             seen->push_back(CurrentMenu());
             PressInTurn(steps, next + 1, seen, then);
         },
         "the menus to reach step " + std::to_string(next + 1));
}

TEST(MenuKeyboardTest, F10AndAloneAltOpenTheFirstMenuAndTheArrowsGoFromMenuToMenu) {
    // clang-format off
    auto steps = std::make_shared<std::vector<std::pair<Key, MenuState>>>(std::vector<std::pair<Key, MenuState>>{
        {{Qt::Key_F10},                     {kFunctions, kFunctions}},
        {{Qt::Key_Right},                   {kCalculations, kCalculations}},
        {{Qt::Key_Right},                   {kVersion, kVersion}},
        {{Qt::Key_Right},                   {kFunctions, kFunctions}},          // round the end
        {{Qt::Key_Left},                    {kVersion, kVersion}},              // and back
        {{Qt::Key_Left},                    {kCalculations, kCalculations}},
        {{Qt::Key_Escape},                  {}},
        {{Qt::Key_Alt},                     {kFunctions, kFunctions}},
        {{Qt::Key_Down},                    {kFunctions, QStringLiteral("非直角三角形の計算")}},
        {{Qt::Key_Up},                      {kFunctions, kFunctions}},
        {{Qt::Key_Up},                      {kFunctions, QStringLiteral("終了")}},  // round the top
        {{Qt::Key_Alt},                     {}},
        {{Qt::Key_F10},                     {kFunctions, kFunctions}},
        {{Qt::Key_F10},                     {}},
        // Alt with another key, and Shift+F10, open nothing.
        {{Qt::Key_Q, Qt::AltModifier},      {}},
        {{Qt::Key_F10, Qt::ShiftModifier},  {}},
    });
    // clang-format on
    auto seen = std::make_shared<std::vector<MenuState>>();
    int result =
        RunProgram([&] { PressInTurn(steps, 0, seen, [] { PressKey(Qt::Key_Q, Qt::ControlModifier); }); });
    EXPECT_EQ(result, 0);
    std::vector<MenuState> expected;
    for (const auto& step : *steps) expected.push_back(step.second);
    EXPECT_EQ(*seen, expected);
}

struct KeyPath {
    const char* name;
    std::vector<Key> keys;  // from the main window; the last one chooses
    QString caption;        // of the window it opens; empty: the program ends
};

class KeyPathTest : public ::testing::TestWithParam<KeyPath> {};

TEST_P(KeyPathTest, ReachesItsWindowWithoutTheMouse) {
    const KeyPath& p = GetParam();
    QString caption;
    // The keys that open and move through the menus, then the one that
    // chooses once the menu shows its item. It lives as long as the program
    // runs, and so as long as the steps that call it again.
    std::function<void(std::size_t)> press;
    press = [&](std::size_t i) {
        PressKey(p.keys[i].key, p.keys[i].modifiers);
        if (i + 1 == p.keys.size()) {
            if (p.caption.isEmpty()) return;  // Exit
            WhenDialogOpen(
                [&] {
                    caption = mirabo::testing::TitleStripCaption();
                    // Esc is Back in a calculator; the About box has only OK.
                    if (p.caption.startsWith(QStringLiteral("Mirabo"))) {
                        ClickTitleOk();
                    } else {
                        PressKey(Qt::Key_Escape);
                    }
                    QuitWhenMainWindowIsBack();
                },
                "the window to open");
            return;
        }
        When([] { return OpenMenu() != nullptr && OpenMenu()->activeAction() != nullptr; },
             [&press, i] { press(i + 1); }, "a menu to open");
    };
    int result = RunProgram([&] { press(0); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(caption.toStdString(), p.caption.toStdString());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Paths, KeyPathTest,
    ::testing::Values(
        KeyPath{"CoordinateRotation", {{Qt::Key_F10}, {Qt::Key_Return}},                                    "座標移動の計算"},
        KeyPath{"ObliqueTriangle",    {{Qt::Key_F10}, {Qt::Key_Down}, {Qt::Key_Return}},                    "非直角三角形の計算"},
        KeyPath{"RightTriangle",      {{Qt::Key_F10}, {Qt::Key_Down}, {Qt::Key_Down}, {Qt::Key_Return}},    "直角三角関数の計算"},
        KeyPath{"RightTriangleByAlt", {{Qt::Key_Alt}, {Qt::Key_Down}, {Qt::Key_Down}, {Qt::Key_Enter}},     "直角三角関数の計算"},
        KeyPath{"OhmsLaw",            {{Qt::Key_F10}, {Qt::Key_Right}, {Qt::Key_Down}, {Qt::Key_Return}},   "オームの法則の計算"},
        KeyPath{"About",              {{Qt::Key_F10}, {Qt::Key_Left}, {Qt::Key_Return}},                    "Mirabo　for WindowsCE のバージョン情報"},
        KeyPath{"Exit",               {{Qt::Key_F10}, {Qt::Key_Up}, {Qt::Key_Return}},                      ""}),
    RowName());
// clang-format on

}  // namespace
