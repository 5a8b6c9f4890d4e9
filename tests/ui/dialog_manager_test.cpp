// The dialog manager of the platform layer where Qt is needed to state it
// (the desktop's close box, the shell's Done button, sizes in pixels, input
// contexts, what boxes show), with small templates built in memory and a
// dialog procedure that records what it gets. The Win32 behaviour both
// platforms share is in tests/win32.
#include <QAbstractButton>
#include <QClipboard>
#include <QCoreApplication>
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
#include "tests/win32/received.h"
#include "tests/win32/template_builder.h"
#include "ui/calculator_dialogs.h"

namespace {

using mirabo::test::CommandsReceived;
using mirabo::test::FocusedId;
using mirabo::test::kButtonClass;
using mirabo::test::kStaticClass;
using mirabo::test::MessageBoxSeen;
using mirabo::test::PressKey;
using mirabo::test::SmallTemplate;
using mirabo::test::TemplateBuilder;
using mirabo::test::TextOf;

using mirabo::test::g_received;
INT_PTR g_initResult = TRUE;
DWORD g_shellFlags = 0;

INT_PTR CALLBACK RecordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG || message == WM_COMMAND || message == WM_CLOSE || message == WM_DESTROY) {
        g_received.push_back({message, wParam, lParam});
    }
    if (message == WM_INITDIALOG) {
        if (g_shellFlags != 0) {
            SHINITDLGINFO info = {SHIDIM_FLAGS, dialog, g_shellFlags};
            SHInitDialog(&info);
        }
        return g_initResult;
    }
    return message == WM_COMMAND || message == WM_CLOSE;
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
    INT_PTR Run(TemplateBuilder builder, const std::function<void(HWND)>& steps, LPARAM param = 0,
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
};

// Focus, Tab, Enter, Esc, window texts and message boxes, the same on both
// platforms, are in tests/win32. Here, what needs Qt to state: the first
// focus given by the dialog manager selects the edit's text.
TEST_F(DialogManagerTest, TheFirstFocusSelectsTheEditsText) {
    Run(SmallTemplate(), [&](HWND dialog) {
        auto* edit = qobject_cast<QLineEdit*>(mirabo::test::ControlWidget(dialog, 10));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->selectedText(), QStringLiteral("start"));
        EndDialog(dialog, 0);
    });
}

// With no control focused (WM_INITDIALOG answered FALSE), Tab and Shift+Tab
// start from either end; user32 leaves this unsaid, and Wine moves nothing.
TEST_F(DialogManagerTest, WithNoFocusTabStartsFromEitherEnd) {
    for (bool backwards : {false, true}) {
        g_initResult = FALSE;
        Run(SmallTemplate(), [&](HWND dialog) {
            ASSERT_EQ(mirabo::testing::FocusedWindow(), nullptr);
            PressKey(backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                     backwards ? Qt::ShiftModifier : Qt::NoModifier);
            EXPECT_EQ(FocusedId(dialog), backwards ? IDCANCEL : 10);
            EndDialog(dialog, 0);
        });
    }
}

TEST_F(DialogManagerTest, TheDesktopCloseBoxPostsTheCancelCommand) {
    TemplateBuilder builder = SmallTemplate();
    INT_PTR result = Run(builder, [&](HWND dialog) {
        g_received.clear();
        mirabo::testing::ScreenWidget()->close();
        ASSERT_EQ(g_received.size(), 1u);
        EXPECT_EQ(g_received[0].message, static_cast<UINT>(WM_CLOSE));
        EXPECT_TRUE(CommandsReceived().empty()) << "the cancel command is posted, not sent";
        // The recording procedure handles WM_CLOSE itself, so nothing follows.
        QCoreApplication::processEvents();
        EXPECT_TRUE(CommandsReceived().empty());
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
        builder.Item(kStaticClass, SS_LEFT, 0xFFFF, u"Text", 0, 0, 60, 10)
            .Item(kButtonClass, WS_TABSTOP | BS_PUSHBUTTON, 11, u"Other", 0, 20);
        if (c.cancelControl)
            builder.Item(kButtonClass, WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, u"Cancel", 0, 40);
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
        EXPECT_EQ(CommandsReceived(), (std::vector<std::pair<WPARAM, LPARAM>>{command, command}));
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
        Run(SmallTemplate(), [&](HWND dialog) {
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
                EXPECT_EQ(CommandsReceived(), expected);
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

// A WCHAR is a whole code point here; the dialog's caption is in the title strip.
TEST_F(DialogManagerTest, WindowTextsOfTheLayer) {
    Run(SmallTemplate(), [&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, 10);
        EXPECT_EQ(GetWindowTextW(edit, nullptr, 10), 0);
        ASSERT_TRUE(SetWindowTextW(edit, L"\U0001D465=1"));
        EXPECT_EQ(TextOf(edit), QString::fromUcs4(U"\U0001D465=1"));
        ASSERT_TRUE(SetWindowTextW(dialog, L"新しい題"));
        EXPECT_EQ(mirabo::testing::TitleStripCaption(), QStringLiteral("新しい題"));
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
        builder.Item(kButtonClass, WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, u"Cancel");
        Run(builder, [&](HWND dialog) {
            EXPECT_EQ(mirabo::testing::DialogBaseUnits(dialog).height(), c.cell) << c.points << " points";
            EndDialog(dialog, 0);
        });
    }
}

// EM_LIMITTEXT bounds what the user pastes as what they type (typing: in
// tests/win32); a new text is shown from its start.
TEST_F(DialogManagerTest, TheEditLimitBoundsPastingAndANewTextShowsFromItsStart) {
    struct LimitCase {
        const char* name;
        WPARAM limit;
        const wchar_t* set;  // by SetWindowTextW first
        QString pasted;      // then pasted at the end
        QString after;
    };
    const QString ten = QStringLiteral("0123456789");
    // clang-format off
    const LimitCase cases[] = {
        {"APasteIsCutToWhatFits",        5, L"ab",         ten,                 QStringLiteral("ab012")},
        {"NothingFitsAfterAFullText",    5, L"abcde",      ten,                 QStringLiteral("abcde")},
        {"TheProgramsTextStandsWhole",   5, L"abcdefgh",   QStringLiteral("y"), QStringLiteral("abcdefgh")},
        {"ALongerTextThanTheFieldShows", 5, L"0123456789abcdefghijklmnopqrstuvwxyz", QString(),
                                                                                QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyz")},
        {"ZeroIsAsMuchAsItHolds",        0, L"0123456789", ten + ten,           ten + ten + ten},
    };
    // clang-format on
    Run(SmallTemplate(), [&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, 10);
        auto* widget = qobject_cast<QLineEdit*>(mirabo::testing::WidgetOf(edit));
        ASSERT_NE(widget, nullptr);
        for (const LimitCase& c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(SendMessageW(edit, EM_LIMITTEXT, c.limit, 0), 0);
            ASSERT_TRUE(SetWindowTextW(edit, c.set));
            // The caret and the view at its first character.
            EXPECT_EQ(widget->cursorPosition(), 0);
            EXPECT_LT(widget->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), widget->width() / 4);
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_End);
            if (!c.pasted.isEmpty()) {
                QGuiApplication::clipboard()->setText(c.pasted);
                QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
            }
            EXPECT_EQ(TextOf(edit), c.after);
        }
        EndDialog(dialog, 0);
    });
}

// Input contexts: the default one leaves the input method as Qt has it, none
// switches it off, a closed one asks for direct input, an open one does not;
// a destroyed context gives its windows back to the default one.
TEST_F(DialogManagerTest, InputContextsReachTheInputMethodThroughTheWidget) {
    Run(SmallTemplate(), [&](HWND dialog) {
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

TEST_F(DialogManagerTest, TemplatesThatCannotBeReadGiveMinusOne) {
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, nullptr, nullptr, RecordingProc, 0), -1);
    // The extended form: version 1, signature 0xFFFF.
    alignas(4) const unsigned char extended[64] = {1, 0, 0xFF, 0xFF};
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(extended), nullptr,
                                      RecordingProc, 0),
              -1);
    EXPECT_TRUE(g_received.empty());
}

// Message boxes' answers by click and by key, and their owners, are in
// tests/win32. Here, what they show: the text, the buttons' texts and the
// default title from the program's strings, and the title strip; the button
// sets the program does not use are refused without a box.
TEST_F(DialogManagerTest, MessageBoxesShowTheirTextsAndCaptions) {
    const QStringList ok{QStringLiteral("OK")};
    const QStringList yesNo{QStringLiteral("はい"), QStringLiteral("いいえ")};
    Run(SmallTemplate(), [&](HWND dialog) {
        for (UINT type : {MB_OK, MB_YESNO}) {
            MessageBoxSeen seen;
            mirabo::test::AnswerNextMessageBox(type == MB_OK ? IDOK : IDYES, &seen, dialog);
            MessageBoxW(dialog, L"一行目\n二行目", nullptr, type);
            EXPECT_TRUE(mirabo::test::AllAnswersUsed());
            EXPECT_EQ(seen.text, QStringLiteral("一行目\n二行目"));
            EXPECT_EQ(seen.buttons, type == MB_OK ? ok : yesNo);
            EXPECT_EQ(seen.caption, QStringLiteral("エラー"));
        }

        mirabo::testing::OnNextModalLoop([](HWND box) {
            EXPECT_EQ(mirabo::testing::TitleStripCaption(), TextOf(box));
            PressKey(Qt::Key_Return);
        });
        EXPECT_EQ(MessageBoxW(nullptr, L"!", nullptr, MB_OK), IDOK);

        EXPECT_EQ(MessageBoxW(dialog, L"?", nullptr, MB_OKCANCEL), 0);
        EXPECT_EQ(mirabo::testing::ClearModalLoopCallbacks(), 0);
        EndDialog(dialog, 0);
    });
}

// An owned dialog's caption is in the title strip until it ends.
TEST_F(DialogManagerTest, AnOwnedDialogsCaptionIsShownUntilItEnds) {
    TemplateBuilder outer = SmallTemplate();
    Run(outer, [&](HWND owner) {
        TemplateBuilder inner(WS_POPUP | WS_CAPTION, u"Inner", 80, 40);
        inner.Item(kButtonClass, WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, u"Close");
        mirabo::testing::OnNextModalLoop([&](HWND dialog) {
            EXPECT_EQ(mirabo::testing::TitleStripCaption(), QStringLiteral("Inner"));
            EndDialog(dialog, 9);
        });
        EXPECT_EQ(DialogBoxIndirectParamW(nullptr, inner.Get(), GetDlgItem(owner, 10), RecordingProc, 0), 9);
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
                          {121, OhmsLawDlgProc, QStringLiteral("IPAPGothic")}};
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
