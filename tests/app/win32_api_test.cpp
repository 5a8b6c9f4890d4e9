// The Win32 calls under the program that need Qt to state, with a window
// class of the test's own: the keys Qt's events post to windows, the menu
// bar and the desktop window's icon. What both platforms share is
// stated in tests/win32.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QIcon>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/linux/single_instance.h"
#include "tests/app/copies.h"
#include "tests/app/program_driver.h"
#include "tests/ui/named_rows.h"
#include "tests/win32/received.h"

namespace {

using namespace mirabo::test;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) g_received.push_back({message, wParam, message == WM_CREATE ? 0 : lParam});
    return DefWindowProcW(window, message, wParam, lParam);
}

SHMENUBARINFO MenuBarInfo(DWORD size, HWND parent, UINT id) {
    SHMENUBARINFO info = {};
    info.cbSize = size;
    info.hwndParent = parent;
    info.nToolBarId = id;
    return info;
}

class Win32Test : public ::testing::Test {
protected:
    void SetUp() override {
        g_received.clear();
        RegisterTestClass(RecordingProc);
    }
    void TearDown() override { mirabo::testing::DiscardProgramWindows(); }

    static HWND Create(DWORD style = WS_VISIBLE, const WCHAR* windowClass = kTestClass) {
        return CreateWindowExW(0, windowClass, L"test", style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    }
    // Registers a class of its own and makes a shown window of it.
    static HWND CreateOfClass(const WCHAR* name, WNDPROC procedure, HICON icon = nullptr) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = procedure;
        wc.hIcon = icon;
        wc.lpszClassName = name;
        RegisterClassW(&wc);
        return Create(WS_VISIBLE, name);
    }
    // Waits up to 5 seconds for the desktop's first frame and `also`.
    static bool FirstFrameUp(const std::function<bool()>& also = [] { return true; }) {
        bool firstFrame = false;
        mirabo::testing::AfterFirstFrame([&] { firstFrame = true; });
        return QTest::qWaitFor([&] { return firstFrame && also(); }, 5000);
    }
};

// One copy per user from the first instant: a window's class and title are
// this copy's as soon as it exists (another copy finds the lock held and
// waits), and the socket other copies ask on opens with its first frame, or at
// once for a window not shown.
struct ClaimCase {
    const char* name;
    DWORD style;
};

class WindowClaimTest : public Win32Test, public ::testing::WithParamInterface<ClaimCase> {};

TEST_P(WindowClaimTest, HoldsTheLockAtOnceAndListensAfterTheFirstFrame) {
    const auto place =
        mirabo::platform::FindMeetingPlace(QString::fromWCharArray(kTestClass), QStringLiteral("test"));
    ASSERT_TRUE(place.has_value());
    // A screen not shown yet, whatever earlier tests showed.
    ASSERT_TRUE(mirabo::testing::UseScreenScale(mirabo::testing::ScreenScale()));
    ASSERT_NE(Create(GetParam().style), nullptr);
    EXPECT_EQ(mirabo::test::LockHolder(QString::fromLocal8Bit(place->lockPath)),
              QCoreApplication::applicationPid());
    ASSERT_TRUE(FirstFrameUp());
    EXPECT_TRUE(mirabo::test::Listening(QString::fromLocal8Bit(place->socketPath)));
}

INSTANTIATE_TEST_SUITE_P(Windows, WindowClaimTest,
                         ::testing::Values(ClaimCase{"Shown", WS_VISIBLE}, ClaimCase{"Hidden", 0}),
                         RowName());

// The rest of window classes and windows, the same on both platforms, is in
// tests/win32. Here, what is the handheld's: a window made at the default
// place fills the work area, under the title strip.
TEST_F(Win32Test, AWindowAtTheDefaultPlaceFillsTheWorkArea) {
    HWND window = Create();
    ASSERT_NE(window, nullptr);
    RECT rect;
    ASSERT_TRUE(GetWindowRect(window, &rect));
    EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}),
              (std::vector<LONG>{0, 26, 320, 214}));
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecordingProc;
    EXPECT_EQ(RegisterClassW(&wc), 0) << "a class needs a name";
}

int g_paints = 0;

LRESULT CALLBACK CountingPaintsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) ++g_paints;
    return DefWindowProcW(window, message, wParam, lParam);
}

// What the window procedure paints does not depend on the keyboard focus:
// the window gaining or losing it is no reason to paint it again.
TEST_F(Win32Test, FocusComingAndGoingPaintsNothingAgain) {
    HWND window = CreateOfClass(L"MiraboPaintCountWindow", CountingPaintsProc);
    ASSERT_NE(window, nullptr);
    QWidget* widget = mirabo::testing::WidgetOf(window);
    ASSERT_NE(widget, nullptr);
    ASSERT_TRUE(FirstFrameUp([] { return g_paints > 0; }));
    QCoreApplication::processEvents();
    g_paints = 0;
    for (QEvent::Type type : {QEvent::FocusOut, QEvent::FocusIn}) {
        QFocusEvent focus(type, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(widget, &focus);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(g_paints, 0);
    // The same wait sees a paint that is asked for.
    widget->update();
    QCoreApplication::processEvents();
    EXPECT_EQ(g_paints, 1);
}

TEST_F(Win32Test, GetMessageWaitsWhileQtRuns) {
    HWND window = Create();
    After(30, [window] { PostMessageW(window, WM_COMMAND, 5, 0); });
    MSG msg;
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(Win32Test, TranslateMessageAddsTheCharacterAfterTheKey) {
    HWND window = Create();
    QTest::keyClicks(mirabo::testing::WidgetOf(window), "3x");
    PostQuitMessage(0);
    std::vector<Received> got;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        got.push_back({msg.message, msg.wParam, 0});
        TranslateMessage(&msg);
    }
    EXPECT_EQ(got, (std::vector<Received>{{WM_KEYDOWN, '3', 0},
                                          {WM_CHAR, '3', 0},
                                          {WM_KEYUP, '3', 0},
                                          {WM_KEYDOWN, 'X', 0},
                                          {WM_CHAR, 'x', 0},
                                          {WM_KEYUP, 'X', 0}}));
}

// Keys reach the window's queue as the platform posts them: down and up, as
// system keys for Alt, F10 and whatever is pressed with Alt.
TEST_F(Win32Test, KeysArePostedGoingDownAndUp) {
    struct KeyMessages {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
        std::vector<Received> posted;  // the key's own messages, without the modifier keys'
    };
    // clang-format off
    const KeyMessages cases[] = {
        {"Letter",    Qt::Key_A,   Qt::NoModifier,    {{WM_KEYDOWN, 'A', 0},       {WM_KEYUP, 'A', 0}}},
        {"F10",       Qt::Key_F10, Qt::NoModifier,    {{WM_SYSKEYDOWN, VK_F10, 0}, {WM_SYSKEYUP, VK_F10, 0}}},
        {"ShiftF10",  Qt::Key_F10, Qt::ShiftModifier, {{WM_SYSKEYDOWN, VK_F10, 0}, {WM_SYSKEYUP, VK_F10, 0}}},
        {"Alt",       Qt::Key_Alt, Qt::NoModifier,    {{WM_SYSKEYDOWN, VK_MENU, 0}, {WM_SYSKEYUP, VK_MENU, 0}}},
        {"AltQ",      Qt::Key_Q,   Qt::AltModifier,   {{WM_SYSKEYDOWN, 'Q', 0},    {WM_SYSKEYUP, 'Q', 0}}},
        {"CtrlQ",     Qt::Key_Q,   Qt::ControlModifier, {{WM_KEYDOWN, 'Q', 0},     {WM_KEYUP, 'Q', 0}}},
        {"Escape",    Qt::Key_Escape, Qt::NoModifier, {{WM_KEYDOWN, VK_ESCAPE, 0}, {WM_KEYUP, VK_ESCAPE, 0}}},
    };
    // clang-format on
    HWND window = Create();
    for (const KeyMessages& c : cases) {
        SCOPED_TRACE(c.name);
        QTest::keyClick(mirabo::testing::WidgetOf(window), static_cast<Qt::Key>(c.key), c.modifiers);
        PostQuitMessage(0);
        std::vector<Received> got;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) {
            bool modifierKey = msg.wParam == VK_SHIFT || msg.wParam == VK_CONTROL ||
                               (msg.wParam == VK_MENU && c.key != Qt::Key_Alt);
            if (!modifierKey) got.push_back({msg.message, msg.wParam, 0});
        }
        EXPECT_EQ(got, c.posted);
    }
}

TEST_F(Win32Test, MenuBarFromResource102AndItsDestruction) {
    HWND window = Create();
    SHMENUBARINFO info = MenuBarInfo(sizeof(SHMENUBARINFO), window, 102);
    ASSERT_TRUE(SHCreateMenuBar(&info));
    ASSERT_NE(info.hwndMB, nullptr);
    std::vector<QAbstractButton*> buttons = mirabo::testing::MenuBarButtons();
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[1]->text(), QStringLiteral("計算"));
    // A tap sends the button's command to the window.
    g_received.clear();
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    EXPECT_EQ(g_received,
              (std::vector<Received>{{WM_COMMAND, 40025, reinterpret_cast<LPARAM>(info.hwndMB)}}));
    PressKey(Qt::Key_Escape);
    EXPECT_TRUE(DestroyWindow(info.hwndMB));
    EXPECT_TRUE(mirabo::testing::MenuBarButtons().empty());

    struct Refused {
        const char* name;
        DWORD size;
        HWND parent;
        UINT id;
    };
    const Refused refused[] = {{"short record", sizeof(info) - 4, window, 102},
                               {"no such data", sizeof(info), window, 999},
                               {"no parent", sizeof(info), nullptr, 102}};
    for (const Refused& r : refused) {
        SHMENUBARINFO bad = MenuBarInfo(r.size, r.parent, r.id);
        EXPECT_FALSE(SHCreateMenuBar(&bad)) << r.name;
        EXPECT_EQ(bad.hwndMB, nullptr) << r.name;
    }
}

TEST_F(Win32Test, DestroyingAWindowTakesItsMenuBarAlong) {
    HWND window = Create();
    SHMENUBARINFO info = MenuBarInfo(sizeof(SHMENUBARINFO), window, 102);
    ASSERT_TRUE(SHCreateMenuBar(&info));
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_TRUE(mirabo::testing::MenuBarButtons().empty());
    EXPECT_FALSE(DestroyWindow(info.hwndMB)) << "the bar went with its window";
}

// The first window's class icon becomes the desktop window's icon: for the
// program's icon 101, smooth pictures at every size an icon theme holds, each
// the opaque black square with the red disc and the yellow triangle whose
// right angle is at the bottom-right.
TEST_F(Win32Test, TheDesktopWindowShowsIcon101AtEveryThemeSize) {
    HICON icon101 = LoadIconW(nullptr, MAKEINTRESOURCEW(101));
    ASSERT_NE(icon101, nullptr);
    ASSERT_NE(CreateOfClass(L"MiraboIconTestWindow", RecordingProc, icon101), nullptr);
    // The title bar's and the task bar's sizes come with the window, every
    // size once its first frame is up.
    const QList<QSize> withTheWindow = mirabo::testing::ScreenWidget()->windowIcon().availableSizes();
    EXPECT_TRUE(withTheWindow.contains(QSize(16, 16)) && withTheWindow.contains(QSize(32, 32)));
    ASSERT_TRUE(FirstFrameUp());
    const QIcon icon = mirabo::testing::ScreenWidget()->windowIcon();

    const QColor black(0, 0, 0), red(255, 0, 0), yellow(255, 255, 0);
    QList<QSize> sizes;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        sizes << QSize(size, size);
        const QImage picture = icon.pixmap(QSize(size, size)).toImage();
        ASSERT_EQ(picture.size(), QSize(size, size));
        const int last = size - 1;
        // clang-format off
        const struct { int x, y; QColor colour; } points[] = {
            {0, 0, black},               {last, 0, black},
            {0, last, black},            {last, last, black},
            {size / 4, size / 4, red},   {size / 2, size / 8 + 1, red},
            {size * 3 / 4 - 1, size * 3 / 4 - 1, yellow},
            {size * 22 / 32, size * 20 / 32, yellow},
        };
        // clang-format on
        for (const auto& p : points) {
            EXPECT_EQ(picture.pixelColor(p.x, p.y), p.colour) << p.x << "," << p.y;
        }
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) ASSERT_EQ(qAlpha(picture.pixel(x, y)), 255) << x << "," << y;
    }
    EXPECT_EQ(icon.availableSizes(), sizes);
}

}  // namespace
