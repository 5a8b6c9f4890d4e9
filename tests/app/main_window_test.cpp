// The program as the user meets it: the main window, its menus, the two
// accelerators, the About box and the ways the program ends, through mouse
// and key events.
#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "calc/calculators.h"
#include "res/resource.h"
#include "tests/app/program_driver.h"
#include "tests/ui/named_rows.h"

namespace {

using namespace mirabo::test;
using mirabo::test::PrintTo;

const QString kTitle = QStringLiteral("Mirabo for PocketPC");
const QString kAboutCaption = QStringLiteral("Mirabo　for WindowsCE のバージョン情報");

QStringList ButtonTexts() {
    QStringList texts;
    for (QAbstractButton* button : mirabo::testing::MenuBarButtons()) texts << button->text();
    return texts;
}

QStringList MenuTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

// The screen has one size: neither maximising nor full screen is offered to
// the window manager, and a window manager that does either is undone.
TEST(MainWindowTest, TheDesktopWindowKeepsItsOneSize) {
    const struct {
        const char* how;
        Qt::WindowState state;
    } requests[] = {{"full screen", Qt::WindowFullScreen}, {"maximised", Qt::WindowMaximized}};
    int result = RunProgram([&] {
        QWidget* screen = mirabo::testing::ScreenWidget();
        const QSize size = screen->size();
        EXPECT_EQ(screen->minimumSize(), size);
        EXPECT_EQ(screen->maximumSize(), size);
        EXPECT_FALSE(screen->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowFullscreenButtonHint));
        EXPECT_TRUE(screen->windowFlags() & Qt::WindowCloseButtonHint);
        for (const auto& request : requests) {
            SCOPED_TRACE(request.how);
            screen->setWindowState(request.state);
            QApplication::processEvents();
            QApplication::processEvents();
            EXPECT_EQ(screen->windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized),
                      Qt::WindowNoState);
            EXPECT_EQ(screen->size(), size);
        }
        QuitWhenMainWindowIsBack();
    });
    EXPECT_EQ(result, 0);
}

TEST(MainWindowTest, StartsWithItsTitleAndMenuBarAboveTheMenuStrip) {
    int result = RunProgram([] {
        HWND main = MainWindow();
        EXPECT_EQ(TextOf(main), kTitle);
        EXPECT_EQ(mirabo::testing::TitleStripCaption(), kTitle);
        EXPECT_EQ(mirabo::testing::ScreenWidget()->windowTitle(), kTitle);
        EXPECT_FALSE(mirabo::testing::ScreenWidget()->windowIcon().isNull());
        EXPECT_EQ(ButtonTexts(), (QStringList{"関数", "計算", "バージョン"}));
        // The work area below the title strip; moving it up by the menu bar's
        // height and passing the edges as sizes leaves it there.
        RECT rect;
        ASSERT_TRUE(GetWindowRect(main, &rect));
        EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}),
                  (std::vector<LONG>{0, 26, 320, 214}));
        ASSERT_TRUE(GetClientRect(main, &rect));
        EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}),
                  (std::vector<LONG>{0, 0, 320, 188}));
        EXPECT_EQ(mirabo::testing::WidgetOf(main)->geometry(), mirabo::testing::WorkArea());
        PressKey(Qt::Key_Q, Qt::ControlModifier);
    });
    EXPECT_EQ(result, 0);
}

TEST(MainWindowTest, MenusHoldTheirItemsInOrder) {
    const std::vector<QStringList> expected = {
        {"座標移動の計算", "-", "非直角三角形の計算", "-", "直角三角形の計算", "-", "終了"},
        {"オームの法則の計算"},
        {"バージョン情報"},
    };
    std::vector<QStringList> seen;
    int result = RunProgram([&] {
        for (int i = 0; i < 3; ++i) {
            TapMenuButton(i);
            QMenu* menu = OpenMenu();
            ASSERT_NE(menu, nullptr) << "button " << i;
            // The pop-up opens upwards from its button.
            QWidget* button = mirabo::testing::MenuBarButtons()[i];
            EXPECT_EQ(menu->geometry().bottom() + 1, button->mapToGlobal(QPoint(0, 0)).y());
            seen.push_back(MenuTexts(menu));
            PressKey(Qt::Key_Escape);
            EXPECT_EQ(OpenMenu(), nullptr);
        }
        QuitWhenMainWindowIsBack();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(seen, expected);
}

struct MenuCommand {
    const char* name;
    int button;
    QString item;
    QString caption;  // of the dialog it opens
    int back;         // the control that closes it; 0: the title strip's OK
};

class MenuCommandTest : public ::testing::TestWithParam<MenuCommand> {};

TEST_P(MenuCommandTest, OpensItsDialogAndClosingItReturnsToTheMainWindow) {
    const MenuCommand& c = GetParam();
    QString caption;
    bool ownerDisabled = false;
    QStringList barWhileOpen;
    int result = RunProgram([&] {
        ChooseFromMenu(c.button, c.item);
        WhenDialogOpen(
            [&] {
                HWND dialog = ActiveDialog();
                caption = mirabo::testing::TitleStripCaption();
                ownerDisabled = !mirabo::testing::WidgetOf(MainWindow())->isEnabled();
                barWhileOpen = ButtonTexts();
                if (c.back != 0) {
                    ClickControl(dialog, c.back);
                } else {
                    ClickTitleOk();
                }
                When(
                    MainWindowActive,
                    [] {
                        EXPECT_EQ(mirabo::testing::TitleStripCaption(), kTitle);
                        EXPECT_EQ(ButtonTexts().size(), 3);
                        PressKey(Qt::Key_Q, Qt::ControlModifier);
                    },
                    "the main window to come back");
            },
            "the dialog to open");
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(caption, c.caption);
    EXPECT_TRUE(ownerDisabled) << "the main window stays usable under the dialog";
    EXPECT_TRUE(barWhileOpen.isEmpty()) << "the main menu bar shows over the dialog";
}

INSTANTIATE_TEST_SUITE_P(
    Items, MenuCommandTest,
    ::testing::Values(MenuCommand{"CoordinateRotation", 0, "座標移動の計算", "座標移動の計算", 2},
                      MenuCommand{"ObliqueTriangle", 0, "非直角三角形の計算", "非直角三角形の計算", 2},
                      MenuCommand{"RightTriangle", 0, "直角三角形の計算", "直角三角関数の計算", 2},
                      MenuCommand{"OhmsLaw", 1, "オームの法則の計算", "オームの法則の計算", 2},
                      MenuCommand{"About", 2, "バージョン情報", kAboutCaption, 0}),
    RowName());

TEST(MainWindowTest, CtrlAOpensTheAboutBoxAndItsOkOrEscapeClosesIt) {
    QString caption;
    int result = RunProgram([&] {
        PressKey(Qt::Key_A, Qt::ControlModifier);
        WhenDialogOpen(
            [&] {
                caption = mirabo::testing::TitleStripCaption();
                // The About box has no cancel button: Esc is its OK.
                PressKey(Qt::Key_Escape);
                WhenDialogClosed(
                    [] {
                        PressKey(Qt::Key_A, Qt::ControlModifier);
                        WhenDialogOpen(
                            [] {
                                ClickTitleOk();
                                WhenDialogClosed(QuitWhenMainWindowIsBack, "OK to close the About box");
                            },
                            "the About box to open again");
                    },
                    "Esc to close the About box");
            },
            "the About box to open");
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(caption, kAboutCaption);
}

TEST(MainWindowTest, TheAboutBoxShowsTheIcon) {
    int colours = 0;
    int result = RunProgram([&] {
        PressKey(Qt::Key_A, Qt::ControlModifier);
        WhenDialogOpen(
            [&] {
                // The icon's control is the first static (identifier 65535).
                QWidget* icon = mirabo::testing::WidgetOf(GetDlgItem(ActiveDialog(), 65535));
                ASSERT_NE(icon, nullptr);
                EXPECT_EQ(icon->size(), QSize(64, 64)) << "32 x 32 at scale 2";
                QImage picture = icon->grab().toImage();
                bool red = false, yellow = false, black = false;
                for (int y = 0; y < picture.height(); ++y) {
                    for (int x = 0; x < picture.width(); ++x) {
                        QColor c = picture.pixelColor(x, y);
                        red = red || (c.red() > 200 && c.green() < 50 && c.blue() < 50);
                        yellow = yellow || (c.red() > 200 && c.green() > 200 && c.blue() < 50);
                        black = black || (c.red() < 30 && c.green() < 30 && c.blue() < 30);
                    }
                }
                colours = red + yellow + black;
                ClickTitleOk();
                QuitWhenMainWindowIsBack();
            },
            "the About box to open");
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(colours, 3) << "red disc, yellow triangle, black square";
}

// Ways of ending the program; Exit leaves the main window to the end of the
// process, Ctrl+Q closes it.
struct Ending {
    const char* name;
    std::function<void()> end;
    bool windowKept;
};

class EndingTest : public ::testing::TestWithParam<Ending> {};

TEST_P(EndingTest, EndsWinMainWithZero) {
    bool windowKept = false;
    bool menuBarGone = false;
    int result = RunProgram(GetParam().end, [&] {
        windowKept = MainWindow() != nullptr;
        menuBarGone = mirabo::testing::MenuBarButtons().empty();
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(menuBarGone);
    EXPECT_EQ(windowKept, GetParam().windowKept);
}

INSTANTIATE_TEST_SUITE_P(Ways, EndingTest,
                         ::testing::Values(Ending{"CtrlQ", [] { PressKey(Qt::Key_Q, Qt::ControlModifier); },
                                                  false},
                                           Ending{"ExitItem", [] { ChooseFromMenu(0, "終了"); }, true}),
                         RowName());

// Every calculator of the register, with Ctrl and each key.
class AcceleratorInDialogTest : public ::testing::TestWithParam<std::tuple<const mirabo::Calculator*, int>> {
};

TEST_P(AcceleratorInDialogTest, DoesNothingWhileACalculatorIsOpen) {
    const mirabo::Calculator* calculator = std::get<0>(GetParam());
    const int key = std::get<1>(GetParam());
    bool stillOpen = false;
    bool mainKept = false;
    int result = RunProgram([&] {
        // Its menu item's command (MenuCommandTest chooses the items themselves).
        PostMessageW(MainWindow(), WM_COMMAND, MAKEWPARAM(calculator->menuCommand, 0), 0);
        WhenDialogOpen(
            [&] {
                HWND dialog = ActiveDialog();
                // In the first field, then on a button.
                PressKey(key, Qt::ControlModifier);
                mirabo::testing::WidgetOf(GetDlgItem(dialog, 2))->setFocus();
                PressKey(key, Qt::ControlModifier);
                After(50, [&, dialog] {
                    stillOpen = ActiveDialog() == dialog && mirabo::testing::IsModalRunning(dialog);
                    ClickControl(dialog, 2);
                    // Nothing was kept for the main loop either.
                    When(
                        MainWindowActive,
                        [&] {
                            After(50, [&] {
                                mainKept = MainWindowActive();
                                PressKey(Qt::Key_Q, Qt::ControlModifier);
                            });
                        },
                        "the main window to come back");
                });
            },
            "the dialog to open");
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(mainKept);
}

INSTANTIATE_TEST_SUITE_P(Calculators, AcceleratorInDialogTest,
                         ::testing::Combine(::testing::ValuesIn(mirabo::kCalculators),
                                            ::testing::Values(Qt::Key_A, Qt::Key_Q)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param)->id) +
                                    (std::get<1>(info.param) == Qt::Key_A ? "CtrlA" : "CtrlQ");
                         });

TEST(MainWindowTest, MenuBarButtonsOwnCommandsChangeNothing) {
    const int commands[] = {40001, 40025, 40012};
    std::vector<LRESULT> results;
    bool unchanged = false;
    int result = RunProgram([&] {
        HWND main = MainWindow();
        for (int command : commands) {
            results.push_back(SendMessageW(main, WM_COMMAND, MAKEWPARAM(command, 0), 0));
        }
        // Tapping each button sends its command too, and opens its pop-up.
        for (int i = 0; i < 3; ++i) {
            TapMenuButton(i);
            EXPECT_NE(OpenMenu(), nullptr) << "button " << i;
            PressKey(Qt::Key_Escape);
        }
        After(50, [&, main] {
            unchanged = MainWindowActive() && MainWindow() == main && ButtonTexts().size() == 3 &&
                        mirabo::testing::TitleStripCaption() == kTitle;
            PressKey(Qt::Key_Q, Qt::ControlModifier);
        });
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(results, (std::vector<LRESULT>{0, 0, 0}));
    EXPECT_TRUE(unchanged);
}

// The bounding box of what is not white.
QRect Ink(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QColor c = image.pixelColor(x, y);
            if (c.red() < 128 && c.green() < 128 && c.blue() < 128) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

TEST(MainWindowTest, PaintsString2CentredOnOneLineAndAgainAfterBeingCovered) {
    QImage first;
    QImage again;
    int result = RunProgram([&] {
        first = mirabo::testing::WidgetOf(MainWindow())->grab().toImage();
        PressKey(Qt::Key_A, Qt::ControlModifier);
        WhenDialogOpen(
            [&] {
                ClickTitleOk();
                When(
                    MainWindowActive,
                    [&] {
                        again = mirabo::testing::WidgetOf(MainWindow())->grab().toImage();
                        PressKey(Qt::Key_Q, Qt::ControlModifier);
                    },
                    "the main window to come back");
            },
            "the About box to open");
    });
    EXPECT_EQ(result, 0);
    ASSERT_FALSE(first.isNull());
    QRect ink = Ink(first);
    ASSERT_TRUE(ink.isValid()) << "nothing painted";
    QPointF centre = QRectF(ink).center();
    EXPECT_NEAR(centre.x(), first.width() / 2.0, 4.0);
    EXPECT_NEAR(centre.y(), first.height() / 2.0, 6.0);
    // One line of the handheld's 12-pixel system font at scale 2.
    EXPECT_LE(ink.height(), 2 * 14);
    // As wide as string 2 in that font (about 195 device pixels), not as
    // string 1 (about 120).
    EXPECT_GT(ink.width(), 2 * 140) << "narrower than \"Mirabo for PocketPC with TAVORN\"";
    EXPECT_LT(ink.width(), 2 * 240);
    EXPECT_EQ(again, first);
}

// What is open when the desktop window is closed: each row opens it and
// closes the desktop window.
struct OpenWhenClosed {
    const char* name;
    std::function<void()> openAndClose;
};

class DesktopCloseTest : public ::testing::TestWithParam<OpenWhenClosed> {};

TEST_P(DesktopCloseTest, EndsTheProgramWithZero) {
    bool screenHidden = false;
    int result = RunProgram(GetParam().openAndClose,
                            [&] { screenHidden = !mirabo::testing::ScreenWidget()->isVisible(); });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(screenHidden);
    EXPECT_EQ(OpenMenu(), nullptr);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(While, DesktopCloseTest, ::testing::Values(
    OpenWhenClosed{"Nothing", CloseDesktopWindow},
    OpenWhenClosed{"Menu", [] { TapMenuButton(0); CloseDesktopWindow(); }},
    OpenWhenClosed{"Calculator", [] {
        ChooseFromMenu(0, "直角三角形の計算");
        WhenDialogOpen(CloseDesktopWindow, "the dialog to open");
    }},
    OpenWhenClosed{"MessageBox", [] {
        ChooseFromMenu(0, "直角三角形の計算");
        WhenDialogOpen([] {
            // Calculate with every field empty: the missing-input message.
            mirabo::testing::OnNextModalLoop([](HWND box) {
                EXPECT_TRUE(mirabo::testing::IsMessageBox(box));
                CloseDesktopWindow();
            });
            ClickControl(ActiveDialog(), IDC_RIGHT_CALCULATE);
        }, "the dialog to open");
    }},
    OpenWhenClosed{"AboutBox", [] {
        PressKey(Qt::Key_A, Qt::ControlModifier);
        WhenDialogOpen(CloseDesktopWindow, "the About box to open");
    }}),
    RowName());
// clang-format on

TEST(MainWindowTest, RunsAgainAfterTheDesktopWindowWasClosed) {
    // The end of one run leaves nothing behind for the next.
    EXPECT_EQ(RunProgram(CloseDesktopWindow), 0);
    QString caption;
    int result = RunProgram([&] {
        caption = mirabo::testing::TitleStripCaption();
        PressKey(Qt::Key_Q, Qt::ControlModifier);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(caption, kTitle);
    EXPECT_TRUE(mirabo::testing::ScreenWidget() == nullptr || !mirabo::testing::ScreenWidget()->isVisible());
}

}  // namespace
