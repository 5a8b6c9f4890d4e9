// Window classes, windows and the message queue through the Win32 API alone:
// strings, the messages a window gets as it is made and destroyed and their
// order, sent and posted messages, the quit message, and accelerators.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32.h"
#include "tests/win32/received.h"
#include "tests/win32/template_builder.h"
#include "tests/win32/user_input.h"

namespace {

using namespace mirabo::test;

LRESULT g_createResult = 0;

// The messages of the program's own windows that the cases follow; the
// system sends others besides (non-client, sizing, painting), in between.
bool Followed(UINT message) {
    return message == WM_CREATE || message == WM_DESTROY || message == WM_CLOSE || message == WM_COMMAND;
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Followed(message)) g_received.push_back({message, wParam, message == WM_CREATE ? 0 : lParam});
    if (message == WM_CREATE) return g_createResult;
    return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<UINT> MessagesReceived() {
    std::vector<UINT> messages;
    for (const Received& r : g_received) messages.push_back(r.message);
    return messages;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_received.clear();
        g_createResult = 0;
        RegisterTestClass(RecordingProc);
    }

    // Destroys what the case left standing and empties the queue.
    void TearDown() override {
        for (HWND window : created_) DestroyWindow(window);
        PostQuitMessage(0);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) {}
    }

    HWND Create() {
        HWND window = CreateWindowExW(0, kTestClass, L"test", WS_POPUP | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
        if (window != nullptr) created_.push_back(window);
        return window;
    }

private:
    std::vector<HWND> created_;
};

TEST_F(WindowTest, LoadStringCutsTheTextToTheBuffer) {
    struct Case {
        UINT id;
        int buffer;
        std::wstring text;
    };
    const Case cases[] = {
        {1, 200, L"Mirabo for PocketPC"},
        {1, 7, L"Mirabo"},
        {40027, 200, L"計算"},
        {40014, 3, L"バー"},
        {4, 200, L""},  // no such string
    };
    for (const Case& c : cases) {
        WCHAR buffer[200];
        buffer[0] = L'x';
        int length = LoadStringW(nullptr, c.id, buffer, c.buffer);
        EXPECT_EQ(length, static_cast<int>(c.text.size())) << c.id << " into " << c.buffer;
        EXPECT_EQ(std::wstring(buffer), c.text) << c.id << " into " << c.buffer;
    }
}

// "The string is truncated and null-terminated if it is longer than the
// number of characters specified" (LoadStringW's cchBufferMax): a buffer of
// one character holds the terminator alone.
TEST_F(WindowTest, ABufferOfOneCharacterGetsTheTerminatorAlone) {
    if (mirabo::test::RunningOnWine()) GTEST_SKIP() << "Wine leaves a buffer of one character as it was";
    WCHAR buffer[2] = {L'x', L'x'};
    EXPECT_EQ(LoadStringW(nullptr, 1, buffer, 1), 0);
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_EQ(buffer[1], L'x');
}

TEST_F(WindowTest, RegisteringAClassTwiceFails) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = L"miraboTESTwindow";  // names compare without case
    EXPECT_EQ(RegisterClassW(&wc), 0);
}

TEST_F(WindowTest, CreateSendsWmCreateBeforeReturningAndMoveWindowPlacesIt) {
    HWND window = Create();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(MessagesReceived(), (std::vector<UINT>{WM_CREATE}));
    RECT rect;
    ASSERT_TRUE(MoveWindow(window, 10, 30, 100, 50, FALSE));
    ASSERT_TRUE(GetWindowRect(window, &rect));
    EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}),
              (std::vector<LONG>{10, 30, 110, 80}));
    ASSERT_TRUE(GetClientRect(window, &rect));
    EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}),
              (std::vector<LONG>{0, 0, 100, 50}));
}

// "If an application returns -1, the window is destroyed and the
// CreateWindowEx or CreateWindow function returns a NULL handle" (WM_CREATE).
// Whether WM_DESTROY follows is not said: Wine sends none, our layer one.
TEST_F(WindowTest, CreateFailsForAnUnknownClassAndWhenWmCreateRefuses) {
    EXPECT_EQ(CreateWindowExW(0, L"NoSuchClass", L"x", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr),
              nullptr);
    g_createResult = -1;
    // A title of this case's own: FindWindowW looks at every program's
    // windows, and the other cases' windows, made side by side, are "test".
    EXPECT_EQ(CreateWindowExW(0, kTestClass, L"refused test", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr),
              nullptr);
    ASSERT_FALSE(g_received.empty());
    EXPECT_EQ(g_received.front().message, static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(FindWindowW(kTestClass, L"refused test"), nullptr) << "the window is gone";
}

// ShowWindow answers whether the window was visible before; FindWindowW
// finds a top-level window by class (without case) and title.
TEST_F(WindowTest, ShowWindowTellsWhetherItWasVisibleAndFindWindowFindsIt) {
    HWND window = CreateWindowExW(0, kTestClass, L"hidden test", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    struct Step {
        int command;
        BOOL wasVisible;
    };
    for (const Step& step : {Step{SW_SHOW, FALSE}, Step{SW_SHOW, TRUE}, Step{SW_HIDE, TRUE},
                             Step{SW_HIDE, FALSE}, Step{SW_SHOWNORMAL, FALSE}}) {
        EXPECT_EQ(ShowWindow(window, step.command) != FALSE, step.wasVisible != FALSE) << step.command;
    }
    EXPECT_EQ(FindWindowW(L"MIRABOTESTWINDOW", L"hidden test"), window);
    EXPECT_EQ(FindWindowW(kTestClass, L"no such title"), nullptr);
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_EQ(FindWindowW(kTestClass, L"hidden test"), nullptr);
}

TEST_F(WindowTest, CloseThroughDefWindowProcDestroysTheWindow) {
    HWND window = Create();
    ASSERT_NE(window, nullptr);
    g_received.clear();
    EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(g_received, (std::vector<Received>{{WM_CLOSE, 0, 0}, {WM_DESTROY, 0, 0}}));
    EXPECT_FALSE(DestroyWindow(window)) << "a destroyed window is unknown";
    EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(g_received.size(), 2u) << "nothing reaches a destroyed window";
}

TEST_F(WindowTest, SendMessageAnswersAtOnceAndPostMessageWaitsForTheLoop) {
    HWND window = Create();
    g_received.clear();
    ASSERT_TRUE(PostMessageW(window, WM_COMMAND, 1, 0));
    EXPECT_EQ(SendMessageW(window, WM_COMMAND, 2, 0), 0);
    EXPECT_EQ(g_received, (std::vector<Received>{{WM_COMMAND, 2, 0}})) << "the posted one waits";
    PostQuitMessage(0);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
    EXPECT_EQ(g_received, (std::vector<Received>{{WM_COMMAND, 2, 0}, {WM_COMMAND, 1, 0}}));
}

TEST_F(WindowTest, TheQueueGivesPostedMessagesInOrderThenTheQuitCode) {
    HWND window = Create();
    ASSERT_TRUE(PostMessageW(window, WM_COMMAND, 11, 1));
    PostQuitMessage(7);
    ASSERT_TRUE(PostMessageW(window, WM_COMMAND, 12, 2));
    std::vector<Received> got;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) got.push_back({msg.message, msg.wParam, msg.lParam});
    // The quit message waits for the messages posted before and after it.
    EXPECT_EQ(got, (std::vector<Received>{{WM_COMMAND, 11, 1}, {WM_COMMAND, 12, 2}}));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PostMessageW(reinterpret_cast<HWND>(0x4), WM_COMMAND, 0, 0)) << "unknown window";
}

// A modal loop hands the messages posted to other windows to them; once it
// is over, nothing is left for the main loop.
TEST_F(WindowTest, AModalLoopHandsPostedMessagesToTheirWindows) {
    HWND window = Create();
    ASSERT_TRUE(PostMessageW(window, WM_COMMAND, 77, 0));
    g_received.clear();
    struct Local {
        static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM, LPARAM) {
            if (message == WM_INITDIALOG) {
                PostMessageW(dialog, mirabo::test::kRunSteps, 0, 0);
                return TRUE;
            }
            if (message == mirabo::test::kRunSteps) {
                // Posted after the window's message, so handled after it.
                EndDialog(dialog, g_received == std::vector<Received>{{WM_COMMAND, 77, 0}} ? IDOK : IDCANCEL);
                return TRUE;
            }
            return FALSE;
        }
    };
    mirabo::test::TemplateBuilder builder = mirabo::test::SmallTemplate();
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, builder.Get(), window, Local::Proc, 0), IDOK);
    EXPECT_EQ(g_received, (std::vector<Received>{{WM_COMMAND, 77, 0}}));
    PostQuitMessage(0);
    MSG msg;
    EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
}

// The program's accelerator table 3 (Ctrl+A: 40003, Ctrl+Q: 1) on keys
// pressed in a window: a translated key becomes the table's command, sent at
// once, and is not dispatched; any other key goes on as it came.
struct KeyCase {
    const char* name;
    WORD key;
    bool control, shift, alt;
    int command;  // 0: none
};

void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.name; }

class AcceleratorTest : public WindowTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(AcceleratorTest, KeysAreTranslatedByTable3) {
    const KeyCase& c = GetParam();
    HWND window = Create();
    HACCEL table = LoadAcceleratorsW(nullptr, MAKEINTRESOURCEW(3));
    ASSERT_NE(table, nullptr);
    mirabo::test::PressKeyInWindow(window, c.key, c.control, c.shift, c.alt);
    PostQuitMessage(0);
    g_received.clear();
    int translated = 0;
    // The key itself, not the modifier keys pressed around it.
    std::vector<UINT> dispatched;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        if (TranslateAcceleratorW(msg.hwnd, table, &msg)) {
            ++translated;
            continue;
        }
        TranslateMessage(&msg);
        if (msg.wParam == c.key && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN))
            dispatched.push_back(msg.message);
        DispatchMessageW(&msg);
    }
    mirabo::test::ReleaseModifierKeys();
    if (c.command != 0) {
        EXPECT_EQ(translated, 1);
        EXPECT_EQ(g_received, (std::vector<Received>{{WM_COMMAND, MAKEWPARAM(c.command, 1), 0}}));
        EXPECT_TRUE(dispatched.empty()) << "a translated key is not dispatched";
    } else {
        EXPECT_EQ(translated, 0);
        EXPECT_TRUE(g_received.empty());
        EXPECT_EQ(dispatched, (std::vector<UINT>{static_cast<UINT>(c.alt ? WM_SYSKEYDOWN : WM_KEYDOWN)}));
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, AcceleratorTest,
                         ::testing::Values(KeyCase{"CtrlA", 'A', true, false, false, 40003},
                                           KeyCase{"CtrlQ", 'Q', true, false, false, 1},
                                           KeyCase{"A", 'A', false, false, false, 0},
                                           KeyCase{"ShiftCtrlA", 'A', true, true, false, 0},
                                           KeyCase{"AltQ", 'Q', false, false, true, 0},
                                           KeyCase{"CtrlB", 'B', true, false, false, 0}),
                         [](const ::testing::TestParamInfo<KeyCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
