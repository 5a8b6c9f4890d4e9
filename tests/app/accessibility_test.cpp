// What a screen reader reads of the program's frame, through Qt's
// accessibility interfaces: the desktop window, the main window, the menu
// bar's buttons and their pop-up menus, and choosing an item the way a
// screen reader does.
#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/app/program_driver.h"
#include "tests/ui/accessibility_driver.h"

namespace {

using namespace mirabo::test;

const QString kTitle = QStringLiteral("Mirabo for PocketPC");

AccessibleControl Item(const char* text) {
    return {QAccessible::MenuItem, QString::fromUtf8(text), {}, false};
}
const AccessibleControl kSeparator{QAccessible::Separator, QString()};

struct MenuView {
    QString button;
    std::vector<AccessibleControl> items;
};

const std::vector<MenuView>& Menus() {
    // clang-format off
    static const std::vector<MenuView> menus = {
        {QStringLiteral("関数"), {Item("座標移動の計算"), kSeparator, Item("非直角三角形の計算"), kSeparator,
                                  Item("直角三角形の計算"), kSeparator, Item("終了")}},
        {QStringLiteral("計算"), {Item("オームの法則の計算")}},
        {QStringLiteral("バージョン"), {Item("バージョン情報")}},
    };
    // clang-format on
    return menus;
}

QAccessibleInterface* Desktop() {
    return QAccessible::queryAccessibleInterface(mirabo::testing::ScreenWidget());
}

QAccessibleInterface* MenuBar() { return FindAccessible(Desktop(), QAccessible::MenuBar); }

TEST(ProgramAccessibilityTest, TheDesktopWindowIsAFrameNamedWithTheMainWindowsTitle) {
    int result = RunProgram([] {
        QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
        ASSERT_NE(application, nullptr);
        EXPECT_EQ(application->role(), QAccessible::Application);
        std::vector<AccessibleControl> windows = ReadChildren(application);
        EXPECT_NE(std::find(windows.begin(), windows.end(), AccessibleControl{QAccessible::Window, kTitle}),
                  windows.end());
        EXPECT_EQ(Read(Desktop()), (AccessibleControl{QAccessible::Window, kTitle}));
        // The main window is described by the line it paints.
        AccessibleControl mainWindow{QAccessible::Client, kTitle};
        mainWindow.description = QStringLiteral("Mirabo for PocketPC with TAVORN");
        EXPECT_EQ(Read(AccessibleOf(MainWindow())), mainWindow);
        // The menu bar, and the strip it stands in, are read with the main
        // window's title.
        ASSERT_NE(MenuBar(), nullptr);
        EXPECT_EQ(Read(MenuBar()), (AccessibleControl{QAccessible::MenuBar, kTitle}));
        EXPECT_EQ(Read(MenuBar()->parent()), (AccessibleControl{QAccessible::Client, kTitle}));
        PressKey(Qt::Key_Q, Qt::ControlModifier);
    });
    EXPECT_EQ(result, 0);
}

TEST(ProgramAccessibilityTest, TheMenuBarHoldsMenuButtonsWhosePopUpsAreTheirChildren) {
    std::vector<AccessibleControl> buttons;
    std::vector<std::vector<AccessibleControl>> menus;
    std::vector<AccessibleControl> popups;
    int result = RunProgram([&] {
        QAccessibleInterface* bar = MenuBar();
        ASSERT_NE(bar, nullptr);
        buttons = ReadChildren(bar);
        for (int i = 0; i < bar->childCount(); ++i) {
            QAccessibleInterface* button = bar->child(i);
            EXPECT_TRUE(button->state().hasPopup);
            EXPECT_FALSE(button->state().expanded);
            PressThroughAccessibility(button);
            ASSERT_NE(OpenMenu(), nullptr) << "button " << i;
            EXPECT_TRUE(button->state().expanded);
            ASSERT_EQ(button->childCount(), 1);
            popups.push_back(Read(button->child(0)));
            menus.push_back(ReadChildren(button->child(0)));
            PressKey(Qt::Key_Escape);
            EXPECT_FALSE(button->state().expanded);
        }
        PressKey(Qt::Key_Q, Qt::ControlModifier);
    });
    EXPECT_EQ(result, 0);
    ASSERT_EQ(buttons.size(), Menus().size());
    ASSERT_EQ(menus.size(), Menus().size());
    for (std::size_t i = 0; i < Menus().size(); ++i) {
        SCOPED_TRACE(Menus()[i].button.toStdString());
        EXPECT_EQ(buttons[i], (AccessibleControl{QAccessible::ButtonMenu, Menus()[i].button}));
        EXPECT_EQ(popups[i], (AccessibleControl{QAccessible::PopupMenu, Menus()[i].button}));
        EXPECT_EQ(menus[i], Menus()[i].items);
    }
}

TEST(ProgramAccessibilityTest, AnItemChosenThroughAccessibilityClosesItsMenuAndRunsItsCommand) {
    QString caption;
    bool menuOpen = true;
    int result = RunProgram([&] {
        QAccessibleInterface* button =
            FindAccessible(MenuBar(), QAccessible::ButtonMenu, QStringLiteral("関数"));
        ASSERT_NE(button, nullptr);
        PressThroughAccessibility(button);
        QAccessibleInterface* item =
            FindAccessible(button, QAccessible::MenuItem, QStringLiteral("直角三角形の計算"));
        ASSERT_NE(item, nullptr);
        PressThroughAccessibility(item);
        WhenDialogOpen(
            [&] {
                menuOpen = OpenMenu() != nullptr;
                caption = Read(AccessibleOf(ActiveDialog())).name;
                ClickControl(ActiveDialog(), 2);
                QuitWhenMainWindowIsBack();
            },
            "the dialog to open");
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(menuOpen);
    EXPECT_EQ(caption, QStringLiteral("直角三角関数の計算"));
}

}  // namespace
