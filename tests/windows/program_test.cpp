// The real mirabo.exe on the real user32: started, driven with window
// messages and real mouse and keyboard input, and watched from outside.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "tests/windows/calculators.h"
#include "tests/windows/program_driver.h"

namespace mirabo::wintest {
namespace {

// Puts the text on the clipboard as Unicode text.
bool PutOnClipboard(const std::wstring& text) {
    if (!OpenClipboard(NULL)) return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    bool put = false;
    if (memory != NULL) {
        std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(memory);
        put = SetClipboardData(CF_UNICODETEXT, memory) != NULL;
        if (!put) GlobalFree(memory);
    }
    CloseClipboard();
    return put;
}

// A started program whose main window shows.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program_.Start()) << "cannot start the program";
        main_ = program_.WaitForMainWindow();
        ASSERT_NE(main_, nullptr) << "no main window";
    }
    void TearDown() override {
        if (HasFailure()) SaveDesktop();
        if (program_.Running()) {
            PostMessageW(main_, WM_COMMAND, 40007, 0);  // Exit
            program_.WaitForExit(kPatience);
        }
    }
    HWND OpenCalculator(const Calculator& calculator) {
        if (calculator.caption.japanese == nullptr) {
            ADD_FAILURE() << calculator.name << " has no expected texts in tests/windows/calculators.cpp";
            return NULL;
        }
        if (!ChooseFromMenu(main_, calculator.button, calculator.item)) return NULL;
        return program_.WaitForWindow(InProgramLanguage(calculator.caption));
    }

    // Waits for every field to show its text; one that does not is named.
    static void ExpectShown(HWND dialog, const std::vector<FieldText>& fields) {
        for (const FieldText& field : fields) {
            EXPECT_TRUE(WaitFor([&] { return TextOf(GetDlgItem(dialog, field.id)) == field.text; }, kPatience))
                << field.id << ": " << testing::PrintToString(TextOf(GetDlgItem(dialog, field.id)));
        }
    }

    // What the desktop showed when a test failed, for whoever reads the log:
    // MIRABO_FAILURE_FOLDER/<test>.png.
    static void SaveDesktop() {
        wchar_t folder[MAX_PATH];
        const DWORD length = GetEnvironmentVariableW(L"MIRABO_FAILURE_FOLDER", folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return;
        const char* name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        const std::wstring path =
            std::wstring(folder) + L"\\" + std::wstring(name, name + strlen(name)) + L".png";
        const RECT desktop = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (SaveScreenPng(desktop, path)) std::printf("desktop saved as %ls\n", path.c_str());
    }

    RunningProgram program_;
    HWND main_ = NULL;
};

TEST_F(ProgramTest, ShowsTheScreenWithTitleAndMenuBar) {
    EXPECT_EQ(TextOf(main_), L"Mirabo for PocketPC");
    HWND bar = FindDescendant(main_, L"MiraboMenuBar", L"");
    ASSERT_NE(bar, nullptr);
    std::vector<std::wstring> buttons, expected;
    for (HWND b : MenuBarButtons(main_)) buttons.push_back(TextOf(b));
    // In the user's language: Japanese for a Japanese UI language, else English.
    for (const Translated& text : MenuBarButtonTexts()) expected.push_back(InProgramLanguage(text));
    EXPECT_EQ(buttons, expected);
    // The screen is landscape, 4:3, with the bar along its bottom.
    RECT client, barRect;
    GetClientRect(main_, &client);
    GetWindowRect(bar, &barRect);
    MapWindowPoints(NULL, main_, reinterpret_cast<POINT*>(&barRect), 2);
    EXPECT_EQ(client.right * 3, client.bottom * 4);
    EXPECT_GE(client.right, 640);
    EXPECT_EQ(barRect.bottom, client.bottom);
    EXPECT_EQ((barRect.bottom - barRect.top) * 240, client.bottom * 26);
}

TEST_F(ProgramTest, MenuBarButtonsOpenTheirPopUps) {
    const std::vector<HWND> buttons = MenuBarButtons(main_);
    EXPECT_EQ(buttons.size(), MenuBarButtonTexts().size());
    for (HWND button : buttons) {
        EXPECT_TRUE(Click(button));
        EXPECT_NE(WaitForPopupMenu(), nullptr);
        EXPECT_TRUE(PressKeyIn(main_, VK_ESCAPE));
        EXPECT_TRUE(WaitFor([] { return WaitForPopupMenu(0) == NULL; }, kPatience));
        EXPECT_TRUE(IsWindowEnabled(main_));
    }
    // From the keyboard alone: F10 opens the first pop-up.
    EXPECT_TRUE(PressKeyIn(main_, VK_F10));
    EXPECT_NE(WaitForPopupMenu(), nullptr);
    EXPECT_TRUE(PressKeyIn(main_, VK_ESCAPE));
    EXPECT_TRUE(WaitFor([] { return WaitForPopupMenu(0) == NULL; }, kPatience));
}

// F10 opens the first pop-up with its first item selected; Left and Right go
// from pop-up to pop-up round the ends of the bar; Enter chooses.
TEST_F(ProgramTest, TheKeyboardReachesEveryMenu) {
    const struct {
        const char* keys;
        std::vector<WORD> arrows;
        int button;  // whose first item Enter chooses
    } walks[] = {
        {"F10 Right Right Enter", {VK_RIGHT, VK_RIGHT}, kVersionButton},
        {"F10 Right Enter", {VK_RIGHT}, 1},
        {"F10 Left Enter", {VK_LEFT}, kVersionButton},
        {"F10 Right Right Right Enter", {VK_RIGHT, VK_RIGHT, VK_RIGHT}, kFunctionsButton},
        {"F10 Right Left Enter", {VK_RIGHT, VK_LEFT}, kFunctionsButton},
    };
    for (const auto& walk : walks) {
        SCOPED_TRACE(walk.keys);
        Translated caption = kAboutCaption;
        for (const Calculator& calculator : Calculators()) {
            if (calculator.button == walk.button && calculator.item == 0) caption = calculator.caption;
        }
        ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(main_) != FALSE; }, kPatience));
        ASSERT_TRUE(PressKeyIn(main_, VK_F10));
        ASSERT_TRUE(WaitForMenuLoop(main_));
        for (WORD arrow : walk.arrows) {
            PressKey(arrow);
            Sleep(20);
        }
        PressKey(VK_RETURN);
        HWND opened = program_.WaitForWindow(InProgramLanguage(caption));
        ASSERT_NE(opened, nullptr) << "nothing opened";
        EXPECT_TRUE(PressKeyIn(opened, VK_ESCAPE));
        EXPECT_TRUE(program_.WaitUntilGone(opened));
    }
}

TEST_F(ProgramTest, EveryCalculatorOpensGivesItsFirstExampleAndClosesWithBackOrTheTitleStripOk) {
    // Taken in turn, calculator by calculator: each closes it as Back does.
    const struct {
        const char* how;
        bool titleStripOk;
    } closers[] = {{"Back", false}, {"the title strip's OK", true}};
    std::size_t turn = 0;
    for (const Calculator& calculator : Calculators()) {
        const auto& closer = closers[turn++ % std::size(closers)];
        SCOPED_TRACE(std::string(calculator.name) + ", closed with " + closer.how);
        HWND dialog = OpenCalculator(calculator);
        ASSERT_NE(dialog, nullptr) << "did not open";
        EXPECT_FALSE(IsWindowEnabled(main_));
        for (const FieldText& field : calculator.results)
            EXPECT_EQ(TextOf(GetDlgItem(dialog, field.id)), L"");
        EXPECT_EQ(FocusOf(dialog), GetDlgItem(dialog, 1001));
        for (const FieldText& field : calculator.example) SetText(GetDlgItem(dialog, field.id), field.text);
        EXPECT_TRUE(Click(GetDlgItem(dialog, calculator.calculateId)));
        ExpectShown(dialog, calculator.results);
        HWND closeWith =
            closer.titleStripOk ? FindDescendant(dialog, L"Button", L"OK") : GetDlgItem(dialog, IDCANCEL);
        ASSERT_NE(closeWith, nullptr);
        EXPECT_TRUE(Click(closeWith));
        EXPECT_TRUE(program_.WaitUntilGone(dialog));
        EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(main_) != FALSE; }, kPatience));
    }
}

TEST_F(ProgramTest, MissingInputShowsItsMessageAndPutsTheCaretInTheFirstField) {
    for (const Calculator& calculator : Calculators()) {
        SCOPED_TRACE(calculator.name);
        HWND dialog = OpenCalculator(calculator);
        ASSERT_NE(dialog, nullptr);
        SetText(GetDlgItem(dialog, calculator.example.back().id), calculator.example.back().text);
        EXPECT_TRUE(Click(GetDlgItem(dialog, calculator.calculateId)));
        HWND box = program_.WaitForMessageBox();
        ASSERT_NE(box, nullptr) << "no message";
        EXPECT_NE(FindDescendant(box, L"Static", InProgramLanguage(calculator.missingInput)), nullptr);
        EXPECT_TRUE(PressKeyIn(box, VK_RETURN));
        EXPECT_TRUE(program_.WaitUntilGone(box));
        HWND first = GetDlgItem(dialog, 1001);
        EXPECT_TRUE(
            WaitFor([&] { return FocusOf(dialog) == first && CaretOwnerOf(dialog) == first; }, kPatience));
        EXPECT_TRUE(PressKeyIn(dialog, VK_ESCAPE));  // Esc is Back
        EXPECT_TRUE(program_.WaitUntilGone(dialog));
    }
}

// Every field takes at most 99 characters from the keyboard, a text set
// past that stands whole, and full-width digits typed as an input method
// commits them compute as their ASCII counterparts.
TEST_F(ProgramTest, FieldsTakeNinetyNineCharactersAndFullWidthDigits) {
    for (const Calculator& calculator : Calculators()) {
        SCOPED_TRACE(calculator.name);
        HWND dialog = OpenCalculator(calculator);
        ASSERT_NE(dialog, nullptr);
        for (const FieldText& field : calculator.results) {
            EXPECT_EQ(SendMessageW(GetDlgItem(dialog, field.id), EM_GETLIMITTEXT, 0, 0), 99) << field.id;
        }
        if (std::string(calculator.name) == "right_triangle") {
            // The right triangle: 98 characters, then three keys.
            HWND a = GetDlgItem(dialog, 1001);
            SetText(a, std::wstring(98, L'0'));
            EXPECT_TRUE(Click(a));
            EXPECT_TRUE(PressKeyIn(dialog, VK_END));
            for (int i = 0; i < 3; ++i) EXPECT_TRUE(PressKeyIn(dialog, '3'));
            EXPECT_TRUE(WaitFor([&] { return TextOf(a).size() == 99; }, kPatience)) << TextOf(a).size();
            Sleep(200);
            EXPECT_EQ(TextOf(a), std::wstring(98, L'0') + L"3");
            // "１２" and "５", as characters from an input method.
            const struct {
                int id;
                const wchar_t* text;
            } typed[] = {{1001, L"\uFF11\uFF12"}, {1002, L"\uFF15"}};
            for (const auto& t : typed) {
                HWND field = GetDlgItem(dialog, t.id);
                SetText(field, L"");
                for (const wchar_t* c = t.text; *c != L'\0'; ++c) PostMessageW(field, WM_CHAR, *c, 1);
                EXPECT_TRUE(WaitFor([&] { return TextOf(field) == t.text; }, kPatience));
            }
            // A character beyond U+FFFF takes two of the 99 UTF-16 units, and
            // one that would cross the limit is left out whole, never half of
            // it: typed as its two halves, or pasted.
            const std::wstring emoji = L"\U0001F600";
            const struct {
                bool pasted;
                std::wstring before;
                std::wstring after;
            } pairs[] = {
                {false, std::wstring(97, L'0'), std::wstring(97, L'0') + emoji},
                {false, std::wstring(98, L'0'), std::wstring(98, L'0')},
                {true, std::wstring(98, L'0'), std::wstring(98, L'0')},
                {true, std::wstring(97, L'0'), std::wstring(97, L'0') + emoji},
            };
            HWND c = GetDlgItem(dialog, 1003);
            for (const auto& p : pairs) {
                SCOPED_TRACE(testing::Message()
                             << (p.pasted ? "pasted after " : "typed after ") << p.before.size());
                SetText(c, p.before);
                SendMessageW(c, EM_SETSEL, p.before.size(), p.before.size());
                if (p.pasted) {
                    ASSERT_TRUE(PutOnClipboard(emoji + L"1"));
                    PostMessageW(c, WM_PASTE, 0, 0);
                } else {
                    for (wchar_t half : emoji) PostMessageW(c, WM_CHAR, half, 1);
                }
                EXPECT_TRUE(WaitFor([&] { return TextOf(c) == p.after; }, kPatience));
                Sleep(200);
                EXPECT_EQ(TextOf(c), p.after);
            }
            SetText(c, L"");
            EXPECT_TRUE(Click(GetDlgItem(dialog, calculator.calculateId)));
            ExpectShown(dialog, {{1001, L"12.000"}, {1002, L"5.000"}, {1003, L"13.000"}, {1004, L"22.620"},
                                 {1005, L"67.380"}});
        }
        EXPECT_TRUE(Click(GetDlgItem(dialog, IDCANCEL)));
        EXPECT_TRUE(program_.WaitUntilGone(dialog));
        EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(main_) != FALSE; }, kPatience));
    }
}

TEST_F(ProgramTest, CtrlAOpensTheAboutBoxWhichOkAndEscClose) {
    const struct {
        const char* how;
        bool escape;
    } closers[] = {{"OK button", false}, {"Esc", true}};
    for (const auto& closer : closers) {
        SCOPED_TRACE(closer.how);
        EXPECT_TRUE(PressKeyIn(main_, 'A', {VK_CONTROL}));
        HWND about = program_.WaitForWindow(InProgramLanguage(kAboutCaption));
        ASSERT_NE(about, nullptr);
        if (closer.escape) {
            EXPECT_TRUE(PressKeyIn(about, VK_ESCAPE));
        } else {
            HWND ok = FindDescendant(about, L"Button", L"OK");
            ASSERT_NE(ok, nullptr);
            EXPECT_TRUE(Click(ok));
        }
        EXPECT_TRUE(program_.WaitUntilGone(about));
        EXPECT_TRUE(program_.Running());
    }
}

TEST_F(ProgramTest, CtrlQEndsTheProgramWithZero) {
    EXPECT_TRUE(PressKeyIn(main_, 'Q', {VK_CONTROL}));
    EXPECT_EQ(program_.WaitForExit(kPatience), 0);
}

TEST_F(ProgramTest, ExitEndsTheProgramWithZero) {
    ASSERT_TRUE(ChooseFromMenu(main_, kFunctionsButton, kExitItem));
    EXPECT_EQ(program_.WaitForExit(kPatience), 0);
}

TEST_F(ProgramTest, ASecondCopyEndsWithZeroAndBringsTheFirstForward) {
    const struct {
        const char* name;
        bool minimised;
    } firsts[] = {{"behind another window", false}, {"minimised, behind another window", true}};
    // The first copy with a calculator open.
    HWND dialog = OpenCalculator(Calculators().front());
    ASSERT_NE(dialog, nullptr);
    for (const auto& first : firsts) {
        SCOPED_TRACE(first.name);
        if (first.minimised) {
            ShowWindow(main_, SW_MINIMIZE);
            ASSERT_TRUE(WaitFor([&] { return IsIconic(main_) != FALSE; }, kPatience));
        }
        HWND other = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 200,
                                     200, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(BringToFront(other));
        RunningProgram second;
        ASSERT_TRUE(second.Start());
        EXPECT_EQ(second.WaitForExit(kPatience), 0);
        EXPECT_TRUE(program_.Running());
        // Forward while the other window is still there, not merely next in
        // line once it has gone.
        EXPECT_TRUE(WaitFor(
            [&] {
                HWND front = GetForegroundWindow();
                return front == dialog || front == main_;
            },
            kPatience))
            << "the foreground window is " << testing::PrintToString(TextOf(GetForegroundWindow()));
        EXPECT_FALSE(IsIconic(main_));
        EXPECT_TRUE(IsWindowVisible(dialog));
        DestroyWindow(other);
    }
    EXPECT_TRUE(Click(GetDlgItem(dialog, IDCANCEL)));
}

}  // namespace
}  // namespace mirabo::wintest
