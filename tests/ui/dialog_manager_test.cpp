// The dialog manager and window functions of the platform layer, with small
// templates built in memory and a dialog procedure that records what it gets.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/linux/dialog_template.h"
#include "platform/linux/widgets.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "tests/ui/dialog_driver.h"
#include "ui/calculator_dialogs.h"

namespace {

using mirabo::test::FocusedId;
using mirabo::test::MessageBoxSeen;
using mirabo::test::PressKey;
using mirabo::test::TextOf;

// Builds a classic template word by word.
class TemplateBuilder {
public:
    TemplateBuilder(DWORD style, const std::u16string& title, int cx, int cy, WORD pointSize = 9) {
        Dword(style | DS_SETFONT);
        Dword(0);
        countAt_ = words_.size();
        words_.push_back(0);
        for (int v : {0, 0, cx, cy}) words_.push_back(static_cast<WORD>(v));
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the dialog class
        Text(title);
        words_.push_back(pointSize);
        Text(u"ＭＳ ゴシック");
    }

    TemplateBuilder& Item(WORD classOrdinal, DWORD style, int id, const std::u16string& title, int x = 0,
                          int y = 0, int cx = 40, int cy = 12) {
        if (words_.size() % 2) words_.push_back(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        for (int v : {x, y, cx, cy, id}) words_.push_back(static_cast<WORD>(v));
        words_.push_back(0xFFFF);
        words_.push_back(classOrdinal);
        Text(title);
        words_.push_back(0);
        ++words_[countAt_];
        return *this;
    }

    LPCDLGTEMPLATEW Get() {
        bytes_.assign(words_.size() * 2, 0);
        for (std::size_t i = 0; i < words_.size(); ++i) {
            bytes_[2 * i] = words_[i] & 0xFF;
            bytes_[2 * i + 1] = words_[i] >> 8;
        }
        return reinterpret_cast<LPCDLGTEMPLATEW>(bytes_.data());
    }

private:
    void Dword(DWORD value) {
        words_.push_back(value & 0xFFFF);
        words_.push_back(value >> 16);
    }
    void Text(const std::u16string& text) {
        for (char16_t c : text) words_.push_back(c);
        words_.push_back(0);
    }

    std::vector<WORD> words_;
    std::size_t countAt_ = 0;
    alignas(4) std::vector<unsigned char> bytes_;
};

constexpr WORD kButton = 0x0080;
constexpr WORD kEdit = 0x0081;
constexpr WORD kStatic = 0x0082;

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Received> g_received;
QString g_textAtDestroy;
INT_PTR g_initResult = TRUE;
DWORD g_shellFlags = 0;

INT_PTR CALLBACK RecordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG || message == WM_COMMAND || message == WM_CLOSE || message == WM_DESTROY) {
        g_received.push_back({message, wParam, lParam});
    }
    // The controls still stand while the dialog is destroyed.
    if (message == WM_DESTROY) g_textAtDestroy = TextOf(GetDlgItem(dialog, 10));
    if (message == WM_INITDIALOG) {
        if (g_shellFlags != 0) {
            SHINITDLGINFO info = {SHIDIM_FLAGS, dialog, g_shellFlags};
            SHInitDialog(&info);
        }
        return g_initResult;
    }
    return message == WM_COMMAND || message == WM_CLOSE;
}

// An edit (10), a label, a push button "Go" (11), a read-only edit (12), and a
// cancel button (2); no default button.
TemplateBuilder SmallTemplate() {
    TemplateBuilder builder(WS_POPUP | WS_CAPTION, u"Small", 120, 80);
    builder.Item(kEdit, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 10, u"start", 50, 0, 60, 12)
        .Item(kStatic, SS_LEFT, 0xFFFF, u"&Label", 0, 0, 40, 10)
        .Item(kButton, WS_TABSTOP | BS_PUSHBUTTON, 11, u"Go", 0, 20)
        .Item(kEdit, WS_TABSTOP | WS_BORDER | ES_READONLY, 12, u"", 50, 20, 60, 12)
        .Item(kButton, WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, u"Cancel", 0, 40);
    return builder;
}

class DialogManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_received.clear();
        g_initResult = TRUE;
        g_shellFlags = 0;
    }

    // Runs the template with the recording procedure and `steps` inside its
    // loop; the dialog must be ended by the steps.
    INT_PTR Run(TemplateBuilder& builder, const std::function<void(HWND)>& steps, LPARAM param = 0,
                HWND owner = nullptr) {
        bool ran = false;
        mirabo::testing::OnNextModalLoop([&](HWND dialog) {
            ran = true;
            steps(dialog);
            if (mirabo::testing::IsModalRunning(dialog)) {
                ADD_FAILURE() << "dialog left open";
                EndDialog(dialog, -100);
            }
        });
        INT_PTR result = DialogBoxIndirectParamW(nullptr, builder.Get(), owner, RecordingProc, param);
        if (!ran) mirabo::testing::ClearModalLoopCallbacks();
        return result;
    }

    // The WM_COMMAND messages received, as (word parameter, long parameter).
    std::vector<std::pair<WPARAM, LPARAM>> Commands() const {
        std::vector<std::pair<WPARAM, LPARAM>> commands;
        for (const Received& r : g_received) {
            if (r.message == WM_COMMAND) commands.push_back({r.wParam, r.lParam});
        }
        return commands;
    }
};

TEST_F(DialogManagerTest, InitDialogGetsTheFirstTabStopAndTheParameterAndItsAnswerDecidesTheFocus) {
    for (INT_PTR answer : {TRUE, FALSE}) {
        SCOPED_TRACE(answer);
        g_received.clear();
        g_initResult = answer;
        TemplateBuilder builder = SmallTemplate();
        INT_PTR result = Run(
            builder,
            [&](HWND dialog) {
                ASSERT_FALSE(g_received.empty());
                EXPECT_EQ(g_received[0].message, static_cast<UINT>(WM_INITDIALOG));
                EXPECT_EQ(g_received[0].wParam, reinterpret_cast<WPARAM>(GetDlgItem(dialog, 10)));
                EXPECT_EQ(g_received[0].lParam, 4242);
                if (answer) {
                    EXPECT_EQ(FocusedId(dialog), 10);
                    // Focus given by the dialog manager selects the edit's text.
                    auto* edit = qobject_cast<QLineEdit*>(mirabo::testing::WidgetOf(GetDlgItem(dialog, 10)));
                    ASSERT_NE(edit, nullptr);
                    EXPECT_EQ(edit->selectedText(), QStringLiteral("start"));
                } else {
                    EXPECT_NE(FocusedId(dialog), 10);
                }
                EndDialog(dialog, 77);
            },
            4242);
        EXPECT_EQ(result, 77);
    }
}

// Tab and Shift+Tab visit the tab stops only, in template order, wrapping
// around; with no control focused they start from either end.
struct TabCase {
    const char* name;
    int startId;  // the control focused first (SetFocus), 0 for none
    bool backwards;
    int expectedId;
};

class TabTest : public DialogManagerTest, public ::testing::WithParamInterface<TabCase> {};

TEST_P(TabTest, MovesToTheNextTabStop) {
    const TabCase& c = GetParam();
    // Edit 13 takes the focus when clicked but is no tab stop.
    TemplateBuilder builder(WS_POPUP | WS_CAPTION, u"Tabs", 120, 80);
    builder.Item(kEdit, WS_TABSTOP | WS_BORDER, 10, u"", 0, 0)
        .Item(kEdit, WS_BORDER, 13, u"", 0, 14)
        .Item(kButton, WS_TABSTOP | BS_PUSHBUTTON, 11, u"Go", 0, 28)
        .Item(kButton, WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, u"Cancel", 0, 42);
    g_initResult = FALSE;  // the dialog manager gives no first focus
    Run(builder, [&](HWND dialog) {
        if (c.startId != 0) SetFocus(GetDlgItem(dialog, c.startId));
        ASSERT_EQ(FocusedId(dialog), c.startId);
        PressKey(c.backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                 c.backwards ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(FocusedId(dialog), c.expectedId);
        EndDialog(dialog, 1);
    });
}

INSTANTIATE_TEST_SUITE_P(Keys, TabTest,
                         ::testing::Values(TabCase{"NoFocusTab", 0, false, 10},
                                           TabCase{"NoFocusShiftTab", 0, true, IDCANCEL},
                                           TabCase{"SkipsAControlWithoutTabStop", 10, false, 11},
                                           TabCase{"SkipsItBackwards", 11, true, 10},
                                           TabCase{"LeavesItForTheNextStop", 13, false, 11},
                                           TabCase{"LeavesItBackwards", 13, true, 10},
                                           TabCase{"WrapsAround", IDCANCEL, false, 10}),
                         [](const ::testing::TestParamInfo<TabCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(DialogManagerTest, EndDialogDuringInitDialogReturnsWithoutALoop) {
    struct Local {
        static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM, LPARAM) {
            if (message == WM_INITDIALOG) EndDialog(dialog, 5);
            return TRUE;
        }
    };
    TemplateBuilder builder = SmallTemplate();
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, builder.Get(), nullptr, Local::Proc, 0), 5);
}

// What the dialog manager sends for a key or a click.
struct InputCase {
    const char* name;
    int focusId;  // control that has the focus first
    int key;      // 0: a mouse click on the focused control instead
    int commandId;
    int lParamControl;  // control whose handle comes as long parameter, 0 none
};

void PrintTo(const InputCase& c, std::ostream* os) { *os << c.name; }

class DialogInputTest : public DialogManagerTest, public ::testing::WithParamInterface<InputCase> {};

TEST_P(DialogInputTest, SendsTheCommandAsTheDialogManagerDoes) {
    const InputCase& c = GetParam();
    TemplateBuilder builder = SmallTemplate();
    Run(builder, [&](HWND dialog) {
        QWidget* focus = mirabo::testing::WidgetOf(GetDlgItem(dialog, c.focusId));
        ASSERT_NE(focus, nullptr);
        SetFocus(GetDlgItem(dialog, c.focusId));
        g_received.clear();
        if (c.key == 0) {
            QTest::mouseClick(focus, Qt::LeftButton);
        } else {
            PressKey(c.key);
        }
        std::vector<std::pair<WPARAM, LPARAM>> expected = {
            {MAKEWPARAM(c.commandId, BN_CLICKED),
             reinterpret_cast<LPARAM>(c.lParamControl ? GetDlgItem(dialog, c.lParamControl) : nullptr)}};
        EXPECT_EQ(Commands(), expected);
        EndDialog(dialog, 0);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DialogInputTest,
    ::testing::Values(InputCase{"ClickOnButton", 11, 0, 11, 11},
                      InputCase{"EnterInEditWithoutDefaultButton", 10, Qt::Key_Return, IDOK, 0},
                      InputCase{"KeypadEnterInReadOnlyEdit", 12, Qt::Key_Enter, IDOK, 0},
                      InputCase{"EnterOnFocusedButton", 11, Qt::Key_Return, 11, 11},
                      InputCase{"SpaceOnFocusedButton", 11, Qt::Key_Space, 11, 11},
                      InputCase{"EscapeInEdit", 10, Qt::Key_Escape, IDCANCEL, IDCANCEL},
                      InputCase{"EscapeOnButton", 11, Qt::Key_Escape, IDCANCEL, IDCANCEL}),
    [](const ::testing::TestParamInfo<InputCase>& info) { return std::string(info.param.name); });

TEST_F(DialogManagerTest, TheDefaultButtonTakesEnterUnlessAButtonHasTheFocus) {
    TemplateBuilder builder(WS_POPUP | WS_CAPTION, u"Default", 120, 80);
    builder.Item(kEdit, WS_TABSTOP | WS_BORDER, 10, u"")
        .Item(kButton, WS_TABSTOP | BS_PUSHBUTTON, 11, u"Other", 0, 20)
        .Item(kButton, WS_TABSTOP | BS_DEFPUSHBUTTON, 12, u"Default", 0, 40);
    Run(builder, [&](HWND dialog) {
        g_received.clear();
        PressKey(Qt::Key_Return);
        SetFocus(GetDlgItem(dialog, 11));
        PressKey(Qt::Key_Return);
        std::vector<std::pair<WPARAM, LPARAM>> expected = {
            {MAKEWPARAM(12, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 12))},
            {MAKEWPARAM(11, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 11))}};
        EXPECT_EQ(Commands(), expected);
        EndDialog(dialog, 0);
    });
}

TEST_F(DialogManagerTest, TheDesktopCloseBoxPostsTheCancelCommand) {
    TemplateBuilder builder = SmallTemplate();
    INT_PTR result = Run(builder, [&](HWND dialog) {
        g_received.clear();
        mirabo::testing::ScreenWidget()->close();
        ASSERT_EQ(g_received.size(), 1u);
        EXPECT_EQ(g_received[0].message, static_cast<UINT>(WM_CLOSE));
        EXPECT_TRUE(Commands().empty()) << "the cancel command is posted, not sent";
        // The recording procedure handles WM_CLOSE itself, so nothing follows.
        QCoreApplication::processEvents();
        EXPECT_TRUE(Commands().empty());
        EndDialog(dialog, 3);
    });
    EXPECT_EQ(result, 3);

    // A procedure that leaves WM_CLOSE alone gets IDCANCEL from its cancel button.
    struct Local {
        static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, lParam == reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)) ? 2 : -2);
                return TRUE;
            }
            return message == WM_INITDIALOG;
        }
    };
    mirabo::testing::OnNextModalLoop([](HWND) {
        mirabo::testing::ScreenWidget()->close();
        QCoreApplication::processEvents();
    });
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, builder.Get(), nullptr, Local::Proc, 0), 2);
}

// A procedure that records commands and leaves WM_CLOSE to the dialog manager.
INT_PTR CALLBACK LeavesCloseAloneProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SHINITDLGINFO info = {SHIDIM_FLAGS, dialog, g_shellFlags};
        if (g_shellFlags != 0) SHInitDialog(&info);
        return TRUE;
    }
    if (message == WM_COMMAND) {
        g_received.push_back({message, wParam, lParam});
        return TRUE;
    }
    return FALSE;
}

TEST_F(DialogManagerTest, EscapeAndTheCloseBoxAreTheDoneButtonWhereNoCancelControlIs) {
    struct Case {
        const char* what;
        DWORD flags;
        bool cancelControl;
        int commandId;
    };
    // clang-format off
    const Case cases[] = {
        {"done button, no cancel control",    SHIDIF_DONEBUTTON, false, IDOK},
        {"done button and a cancel control",  SHIDIF_DONEBUTTON, true,  IDCANCEL},
        {"no done button, no cancel control", 0,                 false, IDCANCEL},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_received.clear();
        g_shellFlags = c.flags;
        TemplateBuilder builder(WS_POPUP | WS_CAPTION, u"About", 120, 80);
        builder.Item(kStatic, SS_LEFT, 0xFFFF, u"Text", 0, 0, 60, 10)
            .Item(kButton, WS_TABSTOP | BS_PUSHBUTTON, 11, u"Other", 0, 20);
        if (c.cancelControl) builder.Item(kButton, WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, u"Cancel", 0, 40);
        LPARAM control = 0;
        mirabo::testing::OnNextModalLoop([&](HWND dialog) {
            control = reinterpret_cast<LPARAM>(c.cancelControl ? GetDlgItem(dialog, IDCANCEL) : nullptr);
            PressKey(Qt::Key_Escape);
            mirabo::testing::ScreenWidget()->close();
            QCoreApplication::processEvents();
            EndDialog(dialog, 0);
        });
        DialogBoxIndirectParamW(nullptr, builder.Get(), nullptr, LeavesCloseAloneProc, 0);
        const std::pair<WPARAM, LPARAM> command = {MAKEWPARAM(c.commandId, BN_CLICKED), control};
        EXPECT_EQ(Commands(), (std::vector<std::pair<WPARAM, LPARAM>>{command, command}));
    }
}

TEST_F(DialogManagerTest, ShellInitialisationSizesTheDialogAndShowsTheDoneButton) {
    struct Case {
        DWORD flags;
        bool fullScreen;
        bool done;
    };
    for (const Case& c : {Case{0, false, false}, Case{SHIDIF_DONEBUTTON, false, true},
                          Case{SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN, true, false},
                          Case{SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN, true, true}}) {
        SCOPED_TRACE(c.flags);
        g_shellFlags = c.flags;
        TemplateBuilder builder = SmallTemplate();
        Run(builder, [&](HWND dialog) {
            QWidget* widget = mirabo::testing::WidgetOf(dialog);
            QSize base = mirabo::testing::DialogBaseUnits(dialog);
            if (c.fullScreen) {
                EXPECT_EQ(widget->geometry(), mirabo::testing::WorkArea());
            } else {
                EXPECT_EQ(widget->geometry(), QRect(mirabo::testing::WorkArea().topLeft(),
                                                    QSize(120 * base.width() / 4, 80 * base.height() / 8)));
            }
            QAbstractButton* done = mirabo::testing::DoneButton();
            EXPECT_EQ(done != nullptr, c.done);
            if (done != nullptr) {
                g_received.clear();
                QTest::mouseClick(done, Qt::LeftButton);
                std::vector<std::pair<WPARAM, LPARAM>> expected = {{MAKEWPARAM(IDOK, BN_CLICKED), 0}};
                EXPECT_EQ(Commands(), expected);
            }
            EndDialog(dialog, 0);
        });
    }
    SHINITDLGINFO noMask = {0, nullptr, SHIDIF_SIZEDLGFULLSCREEN};
    EXPECT_FALSE(SHInitDialog(&noMask));
    SHINITDLGINFO noDialog = {SHIDIM_FLAGS, nullptr, SHIDIF_SIZEDLGFULLSCREEN};
    EXPECT_FALSE(SHInitDialog(&noDialog));
    EXPECT_FALSE(SHInitDialog(nullptr));
}

TEST_F(DialogManagerTest, WindowTextsFollowThePlatformsRules) {
    TemplateBuilder builder = SmallTemplate();
    Run(builder, [&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, 10);
        ASSERT_TRUE(SetWindowTextW(edit, L"abcdef"));
        struct Case {
            int capacity;
            int length;
            const wchar_t* text;
        };
        for (const Case& c : {Case{1, 0, L""}, Case{2, 1, L"a"}, Case{4, 3, L"abc"}, Case{6, 5, L"abcde"},
                              Case{7, 6, L"abcdef"}, Case{100, 6, L"abcdef"}}) {
            WCHAR buffer[101];
            for (WCHAR& w : buffer) w = L'#';
            EXPECT_EQ(GetWindowTextW(edit, buffer, c.capacity), c.length) << c.capacity;
            EXPECT_EQ(std::wstring(buffer), std::wstring(c.text)) << c.capacity;
            EXPECT_EQ(buffer[c.capacity], L'#') << "wrote past the capacity " << c.capacity;
        }
        WCHAR untouched[2] = {L'#', L'#'};
        EXPECT_EQ(GetWindowTextW(edit, untouched, 0), 0);
        EXPECT_EQ(untouched[0], L'#');
        EXPECT_EQ(GetWindowTextW(edit, nullptr, 10), 0);
        WCHAR invalid[4] = {L'#', L'#', L'#', L'#'};
        EXPECT_EQ(GetWindowTextW(reinterpret_cast<HWND>(0x7777), invalid, 4), 0);
        EXPECT_EQ(invalid[0], L'\0');

        // Texts beyond the basic plane, one WCHAR each here.
        ASSERT_TRUE(SetWindowTextW(edit, L"\U0001D465=1"));
        EXPECT_EQ(TextOf(edit), QString::fromUcs4(U"\U0001D465=1"));
        EXPECT_TRUE(SetWindowTextW(edit, nullptr));
        EXPECT_EQ(TextOf(edit), QString());
        EXPECT_FALSE(SetWindowTextW(reinterpret_cast<HWND>(0x7777), L"x"));

        // Labels and buttons keep their texts with the "&" markers.
        EXPECT_EQ(TextOf(GetDlgItem(dialog, 0xFFFF)), QStringLiteral("&Label"));
        EXPECT_EQ(TextOf(GetDlgItem(dialog, 11)), QStringLiteral("Go"));
        // The dialog's text is its caption, shown in the title strip.
        EXPECT_EQ(TextOf(dialog), QStringLiteral("Small"));
        ASSERT_TRUE(SetWindowTextW(dialog, L"新しい題"));
        EXPECT_EQ(mirabo::testing::TitleStripCaption(), QStringLiteral("新しい題"));

        EXPECT_EQ(GetDlgItem(dialog, 99), nullptr);
        EXPECT_EQ(GetDlgItem(edit, 10), nullptr);
        EXPECT_EQ(GetDlgItem(reinterpret_cast<HWND>(0x7777), 10), nullptr);
        EXPECT_FALSE(EndDialog(edit, 1));
        EXPECT_FALSE(EndDialog(reinterpret_cast<HWND>(0x7777), 1));
        EndDialog(dialog, 0);
    });
}

// A template's point size is a character cell of the handheld's 96 pixels
// per inch, rounded to the nearest pixel as MulDiv rounds (8 points are 10.67
// pixels: 11), and twice that at scale 2.
TEST_F(DialogManagerTest, PointSizesBecomeTheNearestWholePixels) {
    ASSERT_EQ(mirabo::testing::ScreenScale(), 2.0) << "the test expects MIRABO_SCALE=2";
    const struct {
        WORD points;
        int cell;
    } cases[] = {{7, 18}, {8, 22}, {9, 24}, {10, 26}, {11, 30}, {12, 32}, {14, 38}};
    for (const auto& c : cases) {
        TemplateBuilder builder(WS_POPUP | WS_CAPTION, u"Font", 120, 80, c.points);
        builder.Item(kButton, WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, u"Cancel");
        Run(builder, [&](HWND dialog) {
            EXPECT_EQ(mirabo::testing::DialogBaseUnits(dialog).height(), c.cell) << c.points << " points";
            EndDialog(dialog, 0);
        });
    }
}

TEST_F(DialogManagerTest, TheProcedureHearsOfTheDestructionAfterTheLoopWhileTheControlsStand) {
    TemplateBuilder builder = SmallTemplate();
    g_textAtDestroy.clear();
    INT_PTR result = Run(builder, [&](HWND dialog) {
        SetWindowTextW(GetDlgItem(dialog, 10), L"kept");
        g_received.clear();
        EndDialog(dialog, 5);
        EXPECT_TRUE(g_received.empty()) << "destroyed before its loop ended";
    });
    EXPECT_EQ(result, 5);
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].message, static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(g_textAtDestroy, QStringLiteral("kept"));
}

// EM_LIMITTEXT bounds what the user types and pastes; what the program sets
// stands whole, and the user can then only make it shorter.
TEST_F(DialogManagerTest, TheEditLimitBoundsTypingAndPastingButNotTheProgramsText) {
    struct LimitCase {
        const char* name;
        WPARAM limit;
        const wchar_t* set;  // by SetWindowTextW first
        QString typed;       // then typed at the end
        QString pasted;      // then pasted at the end
        QString after;
    };
    const QString ten = QStringLiteral("0123456789");
    // clang-format off
    const LimitCase cases[] = {
        {"TypingStopsAtTheLimit",        5,  L"",         ten,                    QString(),            QStringLiteral("01234")},
        {"APasteIsCutToWhatFits",        5,  L"ab",       QString(),              ten,                  QStringLiteral("ab012")},
        {"NothingFitsAfterAFullText",    5,  L"",         QStringLiteral("abcde"), ten,                 QStringLiteral("abcde")},
        {"TheProgramsTextStandsWhole",   5,  L"abcdefgh", QStringLiteral("x"),    QStringLiteral("y"),  QStringLiteral("abcdefgh")},
        {"ALongerTextThanTheFieldShows", 5,  L"0123456789abcdefghijklmnopqrstuvwxyz", QString(), QString(),
                                                                                   QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyz")},
        {"ZeroIsAsMuchAsItHolds",        0,  L"",         ten,                    ten + ten,            ten + ten + ten},
        {"WithoutALimitMessage",         ~WPARAM{0}, L"", ten,                    QString(),            ten},
    };
    // clang-format on
    TemplateBuilder builder = SmallTemplate();
    Run(builder, [&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, 10);
        auto* widget = qobject_cast<QLineEdit*>(mirabo::testing::WidgetOf(edit));
        ASSERT_NE(widget, nullptr);
        for (const LimitCase& c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(SendMessageW(edit, EM_LIMITTEXT, c.limit, 0), 0);
            ASSERT_TRUE(SetWindowTextW(edit, c.set));
            // A new text is shown from its start: the caret and the view at its first character.
            EXPECT_EQ(widget->cursorPosition(), 0);
            EXPECT_LT(widget->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), widget->width() / 4);
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_End);
            if (!c.typed.isEmpty()) QTest::keyClicks(widget, c.typed);
            if (!c.pasted.isEmpty()) {
                QGuiApplication::clipboard()->setText(c.pasted);
                QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
            }
            EXPECT_EQ(TextOf(edit), c.after);
        }
        // A text set past the limit can be made shorter, and then no longer
        // grows past the limit.
        SendMessageW(edit, EM_LIMITTEXT, 3, 0);
        SetWindowTextW(edit, L"abcdef");
        QTest::keyClick(widget, Qt::Key_End);
        QTest::keyClick(widget, Qt::Key_Backspace);
        QTest::keyClicks(widget, QStringLiteral("xyz"));
        EXPECT_EQ(TextOf(edit), QStringLiteral("abcde"));
        EndDialog(dialog, 0);
    });
}

// Input contexts: the default one leaves the input method as Qt has it, none
// switches it off, a closed one asks for direct input, an open one does not;
// a destroyed context gives its windows back to the default one.
TEST_F(DialogManagerTest, InputContextsReachTheInputMethodThroughTheWidget) {
    TemplateBuilder builder = SmallTemplate();
    Run(builder, [&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, 10);
        QWidget* widget = mirabo::testing::WidgetOf(edit);
        widget->setFocus();
        auto enabled = [&] { return widget->testAttribute(Qt::WA_InputMethodEnabled); };
        auto direct = [&] {
            Qt::InputMethodHints hints = widget->inputMethodQuery(Qt::ImHints).value<Qt::InputMethodHints>();
            return (hints & Qt::ImhPreferLatin) && (hints & Qt::ImhNoPredictiveText);
        };
        EXPECT_TRUE(enabled());
        EXPECT_FALSE(direct());
        const int before = mirabo::testing::InputContextCount();

        HIMC own = ImmCreateContext();
        ASSERT_NE(own, nullptr);
        EXPECT_EQ(mirabo::testing::InputContextCount(), before + 1);
        HIMC standard = ImmAssociateContext(edit, own);
        ASSERT_NE(standard, nullptr) << "the previous context is the default one";
        EXPECT_FALSE(direct()) << "nobody said whether it is open";
        EXPECT_TRUE(ImmSetOpenStatus(own, FALSE));
        EXPECT_TRUE(enabled());
        EXPECT_TRUE(direct());
        EXPECT_TRUE(ImmSetOpenStatus(own, TRUE));
        EXPECT_FALSE(direct());
        EXPECT_TRUE(ImmSetOpenStatus(own, FALSE));

        EXPECT_EQ(ImmAssociateContext(edit, nullptr), own);
        EXPECT_FALSE(enabled()) << "no context, no input method";
        EXPECT_EQ(ImmAssociateContext(edit, own), nullptr);
        EXPECT_TRUE(enabled());
        EXPECT_TRUE(direct());

        // The read-only field takes no input-method text, whatever its context.
        HWND readOnly = GetDlgItem(dialog, 12);
        EXPECT_EQ(ImmAssociateContext(readOnly, own), standard);
        EXPECT_FALSE(mirabo::testing::WidgetOf(readOnly)->testAttribute(Qt::WA_InputMethodEnabled));
        EXPECT_EQ(ImmAssociateContext(readOnly, standard), own);

        EXPECT_FALSE(ImmDestroyContext(standard)) << "the default context lives on";
        EXPECT_TRUE(ImmDestroyContext(own));
        EXPECT_FALSE(ImmDestroyContext(own));
        EXPECT_EQ(mirabo::testing::InputContextCount(), before);
        EXPECT_FALSE(direct()) << "back with the default context";
        EXPECT_TRUE(enabled());

        // Unknown windows and contexts are refused.
        EXPECT_EQ(ImmAssociateContext(reinterpret_cast<HWND>(0x7777), standard), nullptr);
        EXPECT_EQ(ImmAssociateContext(edit, own), nullptr);
        EXPECT_FALSE(ImmSetOpenStatus(own, FALSE));
        EXPECT_FALSE(direct());
        EndDialog(dialog, 0);
    });
}

TEST_F(DialogManagerTest, SetFocusReturnsThePreviousFocusAndRefusesUnknownWindows) {
    TemplateBuilder builder = SmallTemplate();
    Run(builder, [&](HWND dialog) {
        EXPECT_EQ(SetFocus(GetDlgItem(dialog, 11)), GetDlgItem(dialog, 10));
        EXPECT_EQ(FocusedId(dialog), 11);
        EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(0x7777)), nullptr);
        EXPECT_EQ(FocusedId(dialog), 11);
        EndDialog(dialog, 0);
    });
}

TEST_F(DialogManagerTest, HandlesOfAnEndedDialogAreUnknown) {
    TemplateBuilder builder = SmallTemplate();
    HWND dialogHandle = nullptr;
    HWND editHandle = nullptr;
    Run(builder, [&](HWND dialog) {
        dialogHandle = dialog;
        editHandle = GetDlgItem(dialog, 10);
        EndDialog(dialog, 0);
    });
    WCHAR buffer[8];
    EXPECT_EQ(GetWindowTextW(editHandle, buffer, 8), 0);
    EXPECT_FALSE(SetWindowTextW(editHandle, L"x"));
    EXPECT_EQ(GetDlgItem(dialogHandle, 10), nullptr);
    EXPECT_FALSE(EndDialog(dialogHandle, 0));
    EXPECT_EQ(mirabo::testing::WidgetOf(editHandle), nullptr);
}

TEST_F(DialogManagerTest, TemplatesThatCannotBeReadGiveMinusOne) {
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, nullptr, nullptr, RecordingProc, 0), -1);
    // The extended form: version 1, signature 0xFFFF.
    alignas(4) const unsigned char extended[64] = {1, 0, 0xFF, 0xFF};
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(extended), nullptr,
                                      RecordingProc, 0),
              -1);
    EXPECT_TRUE(g_received.empty());
}

// Message boxes: buttons, answers by click and by key, caption, and the owner
// disabled while the box is open.
struct BoxCase {
    const char* name;
    UINT type;
    int key;     // 0: click the button of `answer`
    int answer;  // what MessageBoxW returns
    QStringList buttons;
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class MessageBoxTest : public DialogManagerTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(MessageBoxTest, AnswersAsPressed) {
    const BoxCase& c = GetParam();
    TemplateBuilder builder = SmallTemplate();
    Run(builder, [&](HWND dialog) {
        SetFocus(GetDlgItem(dialog, 11));
        MessageBoxSeen seen;
        if (c.key == 0) {
            mirabo::test::AnswerNextMessageBox(c.answer, &seen, dialog);
        } else {
            mirabo::test::AnswerNextMessageBoxWithKey(c.key, &seen);
        }
        int answer = MessageBoxW(dialog, L"一行目\n二行目", nullptr, c.type);
        EXPECT_TRUE(mirabo::test::AllAnswersUsed());
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(seen.text, QStringLiteral("一行目\n二行目"));
        EXPECT_EQ(seen.buttons, c.buttons);
        EXPECT_EQ(seen.caption, QStringLiteral("Small"));
        if (c.key == 0) {
            EXPECT_TRUE(seen.ownerDisabled);
        }
        // The owner is enabled again, with its focus where it was.
        EXPECT_TRUE(mirabo::testing::WidgetOf(dialog)->isEnabled());
        EXPECT_EQ(FocusedId(dialog), 11);
        EXPECT_EQ(mirabo::testing::ActiveModalWindow(), dialog);
        EndDialog(dialog, 0);
    });
}

const QStringList kOk{QStringLiteral("OK")};
const QStringList kYesNo{QStringLiteral("はい"), QStringLiteral("いいえ")};

INSTANTIATE_TEST_SUITE_P(Boxes, MessageBoxTest,
                         ::testing::Values(BoxCase{"OkClicked", MB_OK, 0, IDOK, kOk},
                                           BoxCase{"OkByEnter", MB_OK, Qt::Key_Return, IDOK, kOk},
                                           BoxCase{"OkByEscape", MB_OK, Qt::Key_Escape, IDOK, kOk},
                                           BoxCase{"YesClicked", MB_YESNO, 0, IDYES, kYesNo},
                                           BoxCase{"NoClicked", MB_YESNO, 0, IDNO, kYesNo},
                                           BoxCase{"YesByEnter", MB_YESNO, Qt::Key_Return, IDYES, kYesNo},
                                           BoxCase{"NoByEscape", MB_YESNO, Qt::Key_Escape, IDNO, kYesNo}),
                         [](const ::testing::TestParamInfo<BoxCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(DialogManagerTest, MessageBoxTabMovesToTheSecondButtonAndCaptionsFollowTheCall) {
    TemplateBuilder builder = SmallTemplate();
    Run(builder, [&](HWND dialog) {
        mirabo::testing::OnNextModalLoop([](HWND box) {
            EXPECT_EQ(TextOf(box), QStringLiteral("題"));
            PressKey(Qt::Key_Tab);
            PressKey(Qt::Key_Return);
        });
        EXPECT_EQ(MessageBoxW(dialog, L"?", L"題", MB_YESNO), IDNO);

        // Without an owner the box still has a caption of its own.
        mirabo::testing::OnNextModalLoop([](HWND box) {
            EXPECT_FALSE(TextOf(box).isEmpty());
            EXPECT_EQ(mirabo::testing::TitleStripCaption(), TextOf(box));
            PressKey(Qt::Key_Return);
        });
        EXPECT_EQ(MessageBoxW(nullptr, L"!", nullptr, MB_OK), IDOK);

        // Button sets the program does not use are refused without a box.
        EXPECT_EQ(MessageBoxW(dialog, L"?", nullptr, MB_OKCANCEL), 0);
        EXPECT_EQ(mirabo::testing::ClearModalLoopCallbacks(), 0);
        EndDialog(dialog, 0);
    });
}

TEST_F(DialogManagerTest, AnOwnedDialogDisablesItsOwnerUntilItEnds) {
    TemplateBuilder outer = SmallTemplate();
    Run(outer, [&](HWND owner) {
        TemplateBuilder inner(WS_POPUP | WS_CAPTION, u"Inner", 80, 40);
        inner.Item(kButton, WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, u"Close");
        bool ownerDisabled = false;
        mirabo::testing::OnNextModalLoop([&](HWND dialog) {
            ownerDisabled = !mirabo::testing::WidgetOf(owner)->isEnabled();
            EXPECT_EQ(mirabo::testing::ActiveModalWindow(), dialog);
            EXPECT_EQ(mirabo::testing::TitleStripCaption(), QStringLiteral("Inner"));
            EndDialog(dialog, 9);
        });
        EXPECT_EQ(DialogBoxIndirectParamW(nullptr, inner.Get(), GetDlgItem(owner, 10), RecordingProc, 0), 9);
        EXPECT_TRUE(ownerDisabled);
        EXPECT_TRUE(mirabo::testing::WidgetOf(owner)->isEnabled());
        EXPECT_EQ(FocusedId(owner), 10);
        EXPECT_EQ(mirabo::testing::TitleStripCaption(), QStringLiteral("Small"));
        EndDialog(owner, 0);
    });
}

// The faces of the templates and the fonts that stand in for them.
TEST(CalculatorLayout, FacesAreDrawnWithTheirStandIns) {
    struct Case {
        int templateId;
        DLGPROC procedure;
        QString family;
    };
    const Case cases[] = {{104, CoordinateDlgProc, QStringLiteral("IPAGothic")},
                          {105, RightTriangleDlgProc, QStringLiteral("IPAGothic")},
                          {121, OhmsLawDlgProc, QFontInfo(QApplication::font()).family()}};
    for (const Case& c : cases) {
        mirabo::test::RunDialog(c.templateId, c.procedure, [&](HWND dialog) {
            EXPECT_EQ(mirabo::testing::DialogFontFamily(dialog), c.family) << c.templateId;
            // Half a character cell wide (rounded up), a whole one high, on
            // the handheld's pixels: 10 points are 13 pixels there and 9
            // points 12; twice that here.
            QSize base = mirabo::testing::DialogBaseUnits(dialog);
            EXPECT_EQ(base.height(), c.templateId == 104 ? 26 : 24) << c.templateId;
            EXPECT_LE(base.width(), (base.height() / 2 + 1) / 2 * 2) << c.templateId;
            EXPECT_GE(base.width(), base.height() / 3) << c.templateId;
            EndDialog(dialog, 2);
        });
    }
}

// Template 105 on the screen at scale 2: IPA Gothic stands in for the
// template's face, 12 pixels wide and 24 high per base unit, so every control
// sits where its dialog units say.
TEST(CalculatorLayout, RightTriangleControlsSitWhereTheTemplatePutsThem) {
    ASSERT_EQ(mirabo::testing::ScreenScale(), 2.0) << "the test expects MIRABO_SCALE=2";
    mirabo::test::RunDialog(105, RightTriangleDlgProc, [](HWND dialog) {
        EXPECT_EQ(mirabo::testing::DialogFontFamily(dialog), QStringLiteral("IPAGothic"));
        EXPECT_EQ(mirabo::testing::DialogBaseUnits(dialog), QSize(12, 24));
        EXPECT_EQ(mirabo::testing::WorkArea(), QRect(0, 52, 640, 376));
        struct Placed {
            int index;  // in template order
            QRect rect;
        };
        // x * 12 / 4 and y * 24 / 8; the picture takes its bitmap's size twice.
        const Placed expected[] = {
            {0, QRect(441, 0, 180, 39)},   {1, QRect(441, 42, 180, 39)},  {2, QRect(441, 84, 180, 39)},
            {3, QRect(441, 126, 180, 39)}, {4, QRect(441, 168, 180, 39)}, {5, QRect(492, 219, 129, 42)},
            {6, QRect(492, 315, 129, 42)}, {7, QRect(492, 267, 129, 42)}, {8, QRect(390, 6, 30, 27)},
            {9, QRect(390, 48, 30, 30)},   {10, QRect(390, 87, 30, 27)},  {11, QRect(381, 129, 36, 27)},
            {12, QRect(384, 177, 33, 27)}, {13, QRect(30, 0, 256, 254)},
        };
        QWidget* widget = mirabo::testing::WidgetOf(dialog);
        QList<QWidget*> children = widget->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_EQ(children.size(), 14);
        for (const Placed& p : expected) {
            EXPECT_EQ(children[p.index]->geometry(), p.rect) << "control #" << p.index + 1;
        }
        EndDialog(dialog, 2);
    });
}

// Every control of every calculator sits where its dialog units put it:
// x and width in quarters, y and height in eighths of the base units,
// rounded to the nearest pixel (on template 104's 26-pixel cell, y = 3 is
// 9.75 pixels: 10, not 9). Pictures take their bitmap's size instead.
struct LayoutCase {
    int templateId;
    DLGPROC procedure;
    bool fractional;  // whether its base units leave fractions of a pixel
};

void PrintTo(const LayoutCase& c, std::ostream* out) { *out << "template " << c.templateId; }

class RoundedLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(RoundedLayoutTest, ControlsSitAtTheirDialogUnitsRounded) {
    const LayoutCase& c = GetParam();
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(c.templateId), RT_DIALOG);
    ASSERT_NE(found, nullptr);
    mirabo::platform::DialogTemplate parsed;
    ASSERT_TRUE(mirabo::platform::ParseDialogTemplate(LockResource(LoadResource(nullptr, found)),
                                                      SizeofResource(nullptr, found), &parsed));
    mirabo::test::RunDialog(c.templateId, c.procedure, [&](HWND dialog) {
        const QSize base = mirabo::testing::DialogBaseUnits(dialog);
        // The nearest pixel, a half rounded up.
        auto pixels = [](int units, int unit, int parts) { return (2 * units * unit + parts) / (2 * parts); };
        int roundedUp = 0;
        QList<QWidget*> children =
            mirabo::testing::WidgetOf(dialog)->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_EQ(children.size(), static_cast<int>(parsed.items.size()));
        for (std::size_t i = 0; i < parsed.items.size(); ++i) {
            const auto& item = parsed.items[i];
            const QRect expected(pixels(item.x, base.width(), 4), pixels(item.y, base.height(), 8),
                                 pixels(item.cx, base.width(), 4), pixels(item.cy, base.height(), 8));
            QWidget* child = children[static_cast<int>(i)];
            QRect placed = child->geometry();
            // A label's control rectangle; its widget may reach past it
            // where the stand-in font draws past it.
            if (auto* label = dynamic_cast<mirabo::platform::StaticWidget*>(child)) {
                placed = label->TextRect().translated(label->pos());
            }
            EXPECT_EQ(placed.topLeft(), expected.topLeft()) << "control #" << i + 1;
            if (item.Class() != mirabo::platform::ControlClass::Static ||
                (item.style & SS_TYPEMASK) != SS_BITMAP) {
                EXPECT_EQ(placed.size(), expected.size()) << "control #" << i + 1;
            }
            for (const auto& [units, unit, parts] : {std::tuple{item.x, base.width(), 4},
                                                     {item.y, base.height(), 8},
                                                     {item.cx, base.width(), 4},
                                                     {item.cy, base.height(), 8}}) {
                roundedUp += pixels(units, unit, parts) != units * unit / parts;
            }
        }
        // There, some coordinates fall on a fraction of a half or more.
        EXPECT_EQ(roundedUp > 0, c.fractional);
        EndDialog(dialog, 2);
    });
}

INSTANTIATE_TEST_SUITE_P(Calculators, RoundedLayoutTest,
                         ::testing::Values(LayoutCase{104, CoordinateDlgProc, true},
                                           LayoutCase{105, RightTriangleDlgProc, false},
                                           LayoutCase{108, ObliqueTriangleDlgProc, false},
                                           LayoutCase{121, OhmsLawDlgProc, false}));

}  // namespace
