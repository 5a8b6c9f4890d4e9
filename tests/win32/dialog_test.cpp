// The dialog manager through the Win32 API alone, with templates built in
// memory and a dialog procedure that records what it gets: the first focus,
// Tab and Shift+Tab, Enter, Esc and the default button, window texts, the
// edit limit, and message boxes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32.h"
#include "tests/win32/received.h"
#include "tests/win32/template_builder.h"
#include "tests/win32/user_input.h"

namespace {

using namespace mirabo::test;

std::wstring g_textAtDestroy;
INT_PTR g_initResult = TRUE;
// The steps of the running case, run from inside the dialog's modal loop; the
// dialog ends with what they return.
std::function<INT_PTR(HWND)> g_steps;
// Steps run from inside a loop the dialog's steps start (a message box's).
std::function<void()> g_nestedSteps;

std::wstring TextOf(HWND window) {
    WCHAR buffer[1000];
    int length = GetWindowTextW(window, buffer, 1000);
    return std::wstring(buffer, static_cast<std::size_t>(length > 0 ? length : 0));
}

// The identifier of the dialog's control that has the focus, 0 when none
// has it, -1 when something else has it.
int FocusedId(HWND dialog) {
    HWND focused = FocusedWindow();
    if (focused == nullptr || focused == dialog) return 0;
    for (int id : {10, 11, 12, 13, IDOK, IDCANCEL}) {
        if (GetDlgItem(dialog, id) == focused) return id;
    }
    return -1;
}

INT_PTR CALLBACK RecordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // Commands, not the edit controls' notifications (EN_SETFOCUS, ...),
    // which user32 sends and the program does not use.
    const bool notification = message == WM_COMMAND && HIWORD(wParam) != BN_CLICKED;
    if ((message == WM_INITDIALOG || message == WM_COMMAND || message == WM_CLOSE || message == WM_DESTROY) &&
        !notification) {
        g_received.push_back({message, wParam, lParam});
    }
    // The controls still stand while the dialog is destroyed.
    if (message == WM_DESTROY) g_textAtDestroy = TextOf(GetDlgItem(dialog, 10));
    if (message == WM_INITDIALOG) {
        PostMessageW(dialog, kRunSteps, 0, 0);
        return g_initResult;
    }
    if (message == kRunSteps && wParam == 0) {
        std::function<INT_PTR(HWND)> steps = std::move(g_steps);
        g_steps = nullptr;
        if (steps) EndDialog(dialog, steps(dialog));
        return TRUE;
    }
    if (message == kRunSteps) {
        std::function<void()> steps = std::move(g_nestedSteps);
        g_nestedSteps = nullptr;
        if (steps) steps();
        return TRUE;
    }
    return message == WM_COMMAND || message == WM_CLOSE;
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_received.clear();
        g_initResult = TRUE;
    }

    // Runs the template with the recording procedure and `steps` inside its
    // loop; the dialog ends with the steps' result.
    static INT_PTR Run(TemplateBuilder builder, std::function<INT_PTR(HWND)> steps, LPARAM param = 0,
                       HWND owner = nullptr) {
        g_steps = std::move(steps);
        return DialogBoxIndirectParamW(nullptr, builder.Get(), owner, RecordingProc, param);
    }
};

TEST_F(DialogTest, InitDialogGetsTheFirstTabStopAndTheParameterAndItsAnswerDecidesTheFocus) {
    for (INT_PTR answer : {TRUE, FALSE}) {
        SCOPED_TRACE(answer);
        g_received.clear();
        g_initResult = answer;
        TemplateBuilder builder = SmallTemplate();
        INT_PTR result = Run(
            builder,
            [&](HWND dialog) {
                EXPECT_FALSE(g_received.empty());
                if (g_received.empty()) return 0;
                EXPECT_EQ(g_received[0].message, static_cast<UINT>(WM_INITDIALOG));
                EXPECT_EQ(g_received[0].wParam, reinterpret_cast<WPARAM>(GetDlgItem(dialog, 10)));
                EXPECT_EQ(g_received[0].lParam, 4242);
                if (answer) {
                    EXPECT_EQ(FocusedId(dialog), 10);
                } else {
                    EXPECT_NE(FocusedId(dialog), 10);
                }
                return 77;
            },
            4242);
        EXPECT_EQ(result, 77);
    }
}

// Tab and Shift+Tab visit the tab stops only, in template order, wrapping
// around.
struct TabCase {
    const char* name;
    int startId;  // the control focused first (SetFocus)
    bool backwards;
    int expectedId;
};

class TabTest : public DialogTest, public ::testing::WithParamInterface<TabCase> {};

TEST_P(TabTest, MovesToTheNextTabStop) {
    const TabCase& c = GetParam();
    // Edit 13 takes the focus when clicked but is no tab stop.
    TemplateBuilder builder(WS_POPUP | WS_CAPTION, u"Tabs", 120, 80);
    builder.Item(kEditClass, WS_TABSTOP | WS_BORDER, 10, u"", 0, 0)
        .Item(kEditClass, WS_BORDER, 13, u"", 0, 14)
        .Item(kButtonClass, WS_TABSTOP | BS_PUSHBUTTON, 11, u"Go", 0, 28)
        .Item(kButtonClass, WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, u"Cancel", 0, 42);
    g_initResult = FALSE;  // the dialog manager gives no first focus
    Run(builder, [&](HWND dialog) {
        SetFocus(GetDlgItem(dialog, c.startId));
        EXPECT_EQ(FocusedId(dialog), c.startId);
        PressKey(VK_TAB, c.backwards);
        EXPECT_EQ(FocusedId(dialog), c.expectedId);
        return 1;
    });
}

INSTANTIATE_TEST_SUITE_P(Keys, TabTest,
                         ::testing::Values(TabCase{"SkipsAControlWithoutTabStop", 10, false, 11},
                                           TabCase{"SkipsItBackwards", 11, true, 10},
                                           TabCase{"LeavesItForTheNextStop", 13, false, 11},
                                           TabCase{"LeavesItBackwards", 13, true, 10},
                                           TabCase{"WrapsAround", IDCANCEL, false, 10}),
                         [](const ::testing::TestParamInfo<TabCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(DialogTest, EndDialogDuringInitDialogReturnsWithoutALoop) {
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
    WORD key;     // 0: a mouse click on the focused control instead
    bool keypad;
    int commandId;
    int lParamControl;  // control whose handle comes as long parameter, 0 none
};

void PrintTo(const InputCase& c, std::ostream* os) { *os << c.name; }

class DialogInputTest : public DialogTest, public ::testing::WithParamInterface<InputCase> {};

TEST_P(DialogInputTest, SendsTheCommandAsTheDialogManagerDoes) {
    const InputCase& c = GetParam();
    Run(SmallTemplate(), [&](HWND dialog) {
        HWND focus = GetDlgItem(dialog, c.focusId);
        SetFocus(focus);
        g_received.clear();
        if (c.key == 0) {
            Click(focus);
        } else {
            PressKey(c.key, false, c.keypad);
        }
        std::vector<std::pair<WPARAM, LPARAM>> expected = {
            {MAKEWPARAM(c.commandId, BN_CLICKED),
             reinterpret_cast<LPARAM>(c.lParamControl ? GetDlgItem(dialog, c.lParamControl) : nullptr)}};
        EXPECT_EQ(CommandsReceived(), expected);
        return 0;
    });
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DialogInputTest,
    ::testing::Values(InputCase{"ClickOnButton", 11, 0, false, 11, 11},
                      InputCase{"EnterInEditWithoutDefaultButton", 10, VK_RETURN, false, IDOK, 0},
                      InputCase{"KeypadEnterInReadOnlyEdit", 12, VK_RETURN, true, IDOK, 0},
                      // SetFocus does not make a button the default one.
                      InputCase{"EnterOnAButtonFocusedBySetFocus", 11, VK_RETURN, false, IDOK, 0},
                      InputCase{"SpaceOnFocusedButton", 11, VK_SPACE, false, 11, 11},
                      InputCase{"EscapeInEdit", 10, VK_ESCAPE, false, IDCANCEL, IDCANCEL},
                      InputCase{"EscapeOnButton", 11, VK_ESCAPE, false, IDCANCEL, IDCANCEL}),
    [](const ::testing::TestParamInfo<InputCase>& info) { return std::string(info.param.name); });

// "WM_NEXTDLGCTL updates the default pushbutton border, sets the default
// control identifier, ..." beyond SetFocus: a button the focus reached by Tab
// takes Enter, one given it by SetFocus does not.
TEST_F(DialogTest, TheDefaultButtonTakesEnterUnlessTabReachedAnotherButton) {
    TemplateBuilder builder(WS_POPUP | WS_CAPTION, u"Default", 120, 80);
    builder.Item(kEditClass, WS_TABSTOP | WS_BORDER, 10, u"")
        .Item(kButtonClass, WS_TABSTOP | BS_PUSHBUTTON, 11, u"Other", 0, 20)
        .Item(kButtonClass, WS_TABSTOP | BS_DEFPUSHBUTTON, 12, u"Default", 0, 40);
    Run(builder, [&](HWND dialog) {
        g_received.clear();
        PressKey(VK_RETURN);
        SetFocus(GetDlgItem(dialog, 11));
        PressKey(VK_RETURN);
        PressKey(VK_TAB, true);
        EXPECT_EQ(FocusedId(dialog), 10);
        PressKey(VK_TAB);
        EXPECT_EQ(FocusedId(dialog), 11);
        PressKey(VK_RETURN);
        const std::pair<WPARAM, LPARAM> byDefault = {MAKEWPARAM(12, BN_CLICKED),
                                                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, 12))};
        std::vector<std::pair<WPARAM, LPARAM>> expected = {
            byDefault,
            byDefault,
            {MAKEWPARAM(11, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 11))}};
        EXPECT_EQ(CommandsReceived(), expected);
        return 0;
    });
}

TEST_F(DialogTest, SetFocusReturnsThePreviousFocusAndRefusesUnknownWindows) {
    Run(SmallTemplate(), [&](HWND dialog) {
        EXPECT_EQ(SetFocus(GetDlgItem(dialog, 11)), GetDlgItem(dialog, 10));
        EXPECT_EQ(FocusedId(dialog), 11);
        EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(0x7777)), nullptr);
        EXPECT_EQ(FocusedId(dialog), 11);
        return 0;
    });
}

TEST_F(DialogTest, HandlesOfAnEndedDialogAreUnknown) {
    TemplateBuilder builder = SmallTemplate();
    HWND dialogHandle = nullptr;
    HWND editHandle = nullptr;
    Run(builder, [&](HWND dialog) {
        dialogHandle = dialog;
        editHandle = GetDlgItem(dialog, 10);
        return 0;
    });
    WCHAR buffer[8];
    EXPECT_EQ(GetWindowTextW(editHandle, buffer, 8), 0);
    EXPECT_FALSE(SetWindowTextW(editHandle, L"x"));
    EXPECT_EQ(GetDlgItem(dialogHandle, 10), nullptr);
    EXPECT_FALSE(EndDialog(dialogHandle, 0));
}

TEST_F(DialogTest, WindowTextsFollowThePlatformsRules) {
    Run(SmallTemplate(), [&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, 10);
        EXPECT_TRUE(SetWindowTextW(edit, L"abcdef"));
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
        WCHAR invalid[4] = {L'#', L'#', L'#', L'#'};
        EXPECT_EQ(GetWindowTextW(reinterpret_cast<HWND>(0x7777), invalid, 4), 0);
        EXPECT_EQ(invalid[0], L'\0');

        EXPECT_TRUE(SetWindowTextW(edit, nullptr));
        EXPECT_EQ(TextOf(edit), L"");
        EXPECT_FALSE(SetWindowTextW(reinterpret_cast<HWND>(0x7777), L"x"));

        // Labels and buttons keep their texts with the "&" markers; the
        // dialog's text is its caption.
        EXPECT_EQ(TextOf(GetDlgItem(dialog, 0xFFFF)), L"&Label");
        EXPECT_EQ(TextOf(GetDlgItem(dialog, 11)), L"Go");
        EXPECT_EQ(TextOf(dialog), L"Small");
        EXPECT_TRUE(SetWindowTextW(dialog, L"新しい題"));
        EXPECT_EQ(TextOf(dialog), L"新しい題");

        EXPECT_EQ(GetDlgItem(dialog, 99), nullptr);
        EXPECT_EQ(GetDlgItem(edit, 10), nullptr);
        EXPECT_EQ(GetDlgItem(reinterpret_cast<HWND>(0x7777), 10), nullptr);
        EXPECT_FALSE(EndDialog(reinterpret_cast<HWND>(0x7777), 1));
        return 0;
    });
}

TEST_F(DialogTest, TheProcedureHearsOfTheDestructionAfterTheLoopWhileTheControlsStand) {
    TemplateBuilder builder = SmallTemplate();
    g_textAtDestroy.clear();
    INT_PTR result = Run(builder, [&](HWND dialog) {
        SetWindowTextW(GetDlgItem(dialog, 10), L"kept");
        g_received.clear();
        EndDialog(dialog, 5);
        EXPECT_TRUE(g_received.empty()) << "destroyed before its loop ended";
        return 5;
    });
    EXPECT_EQ(result, 5);
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].message, static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(g_textAtDestroy, L"kept");
}

// EM_LIMITTEXT bounds what the user types; what the program sets stands
// whole, and the user can then only make it shorter.
TEST_F(DialogTest, TheEditLimitBoundsTypingButNotTheProgramsText) {
    struct LimitCase {
        const char* name;
        WPARAM limit;
        const wchar_t* set;  // by SetWindowTextW first
        std::wstring typed;  // then typed at the end
        std::wstring after;
    };
    const std::wstring ten = L"0123456789";
    // clang-format off
    const LimitCase cases[] = {
        {"TypingStopsAtTheLimit",      5,          L"",         ten,  L"01234"},
        {"TypingAfterTheProgramsText", 5,          L"ab",       ten,  L"ab012"},
        {"TheProgramsTextStandsWhole", 5,          L"abcdefgh", L"x", L"abcdefgh"},
        {"ZeroIsAsMuchAsItHolds",      0,          L"",         ten + ten + ten, ten + ten + ten},
        {"WithoutALimitMessage",       ~WPARAM{0}, L"",         ten,  ten},
    };
    // clang-format on
    Run(SmallTemplate(), [&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, 10);
        SetFocus(edit);
        for (const LimitCase& c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(SendMessageW(edit, EM_LIMITTEXT, c.limit, 0), 0);
            EXPECT_TRUE(SetWindowTextW(edit, c.set));
            PressKey(VK_END);
            TypeText(c.typed);
            EXPECT_EQ(TextOf(edit), c.after);
        }
        // A text set past the limit can be made shorter, and then no longer
        // grows past the limit.
        SendMessageW(edit, EM_LIMITTEXT, 3, 0);
        SetWindowTextW(edit, L"abcdef");
        PressKey(VK_END);
        PressKey(VK_BACK);
        TypeText(L"xyz");
        EXPECT_EQ(TextOf(edit), L"abcde");
        return 0;
    });
}

// Message boxes: their buttons, the answer by click and by key, and the
// owner disabled while the box is open and given its focus back after.
struct BoxCase {
    const char* name;
    UINT type;
    std::vector<WORD> keys;              // none: click the button of `answer`
    int answer;                          // what MessageBoxW returns
    const char* wineDeviates = nullptr;  // what Wine does instead
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class MessageBoxTest : public DialogTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(MessageBoxTest, AnswersAsPressed) {
    const BoxCase& c = GetParam();
    if (c.wineDeviates != nullptr && RunningOnWine()) GTEST_SKIP() << c.wineDeviates;
    Run(SmallTemplate(), [&](HWND dialog) {
        SetFocus(GetDlgItem(dialog, 11));
        std::vector<int> buttons;
        bool ownerDisabled = false;
        std::wstring caption;
        // Runs inside the box's own loop.
        g_nestedSteps = [&] {
            HWND box = ActiveModalWindow();
            for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
                if (HasMessageBoxButton(box, id)) buttons.push_back(id);
            }
            ownerDisabled = !IsEnabled(dialog);
            caption = TextOf(box);
            if (c.keys.empty()) ClickMessageBoxButton(box, c.answer);
            for (WORD key : c.keys) PressKey(key);
        };
        PostMessageW(dialog, kRunSteps, 1, 0);
        EXPECT_EQ(MessageBoxW(dialog, L"一行目\n二行目", L"題", c.type), c.answer);
        EXPECT_EQ(buttons, (c.type == MB_OK ? std::vector<int>{IDOK} : std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(caption, L"題");
        EXPECT_TRUE(ownerDisabled);
        // The owner is enabled again, with its focus where it was.
        EXPECT_TRUE(IsEnabled(dialog));
        EXPECT_EQ(FocusedId(dialog), 11);
        EXPECT_EQ(ActiveModalWindow(), dialog);
        return 0;
    });
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, MessageBoxTest,
    // "If a message box has a Cancel button, the function returns the IDCANCEL
    // value if either the ESC key is pressed or the Cancel button is selected.
    // If the message box has no Cancel button, pressing ESC has no effect."
    // (the message box functions' return value); MessageBoxW's page makes an
    // exception of a box with an OK button, which answers Esc with IDOK.
    ::testing::Values(
        BoxCase{"OkClicked", MB_OK, {}, IDOK}, BoxCase{"OkByEnter", MB_OK, {VK_RETURN}, IDOK},
        BoxCase{"OkByEscape", MB_OK, {VK_ESCAPE}, IDOK, "Wine answers Esc in an OK box with IDCANCEL"},
        BoxCase{"YesClicked", MB_YESNO, {}, IDYES}, BoxCase{"NoClicked", MB_YESNO, {}, IDNO},
        BoxCase{"YesByEnter", MB_YESNO, {VK_RETURN}, IDYES},
        BoxCase{"NoByTabAndEnter", MB_YESNO, {VK_TAB, VK_RETURN}, IDNO},
        // Esc does nothing; Enter then answers Yes.
        BoxCase{"EscapeDoesNothingInAYesNoBox",
                MB_YESNO,
                {VK_ESCAPE, VK_RETURN},
                IDYES,
                "Wine answers Esc in a Yes/No box with IDCANCEL"}),
    [](const ::testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

// "If this parameter is NULL, the default title is Error" (MessageBoxW's
// lpCaption): the same title with an owner as without one, not the owner's.
TEST_F(DialogTest, ABoxWithoutCaptionHasTheDefaultTitleWhateverItsOwner) {
    Run(SmallTemplate(), [&](HWND dialog) {
        std::wstring captions[2];
        for (int owned : {0, 1}) {
            g_nestedSteps = [&] {
                captions[owned] = TextOf(ActiveModalWindow());
                PressKey(VK_RETURN);
            };
            PostMessageW(dialog, kRunSteps, 1, 0);
            EXPECT_EQ(MessageBoxW(owned ? dialog : nullptr, L"!", nullptr, MB_OK), IDOK);
        }
        EXPECT_FALSE(captions[0].empty());
        EXPECT_EQ(captions[1], captions[0]);
        EXPECT_NE(captions[1], L"Small");
        return 0;
    });
}

TEST_F(DialogTest, AnOwnedDialogDisablesItsOwnerUntilItEnds) {
    TemplateBuilder outer = SmallTemplate();
    Run(outer, [&](HWND owner) {
        TemplateBuilder inner(WS_POPUP | WS_CAPTION, u"Inner", 80, 40);
        inner.Item(kButtonClass, WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, u"Close");
        bool ownerDisabled = false;
        HWND active = nullptr;
        INT_PTR result = Run(
            inner,
            [&](HWND dialog) {
                ownerDisabled = !IsEnabled(owner);
                active = dialog;
                EXPECT_EQ(ActiveModalWindow(), dialog);
                return 9;
            },
            0, GetDlgItem(owner, 10));
        EXPECT_EQ(result, 9);
        EXPECT_NE(active, nullptr);
        EXPECT_TRUE(ownerDisabled);
        EXPECT_TRUE(IsEnabled(owner));
        EXPECT_EQ(FocusedId(owner), 10);
        EXPECT_EQ(ActiveModalWindow(), owner);
        return 0;
    });
}

}  // namespace
