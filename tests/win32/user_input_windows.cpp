// The user's keys and clicks on user32: key messages posted to the focused
// control and handed through the dialog manager as a modal loop does (Shift
// held in the thread's keyboard state), clicks with BM_CLICK.
#include <cstring>

#include "tests/win32/user_input.h"

namespace mirabo::test {

namespace {

// What a modal loop does with the messages waiting in the queue.
void HandleWaitingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root != nullptr && IsDialogMessageW(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

HWND KeyTarget() {
    HWND focused = GetFocus();
    return focused ? focused : GetActiveWindow();
}

}  // namespace

void PressKey(WORD key, bool shift, bool keypad) {
    BYTE before[256];
    GetKeyboardState(before);
    BYTE held[256];
    std::memcpy(held, before, sizeof(held));
    held[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(held);
    const LPARAM extended = keypad ? (1 << 24) : 0;
    HWND target = KeyTarget();
    PostMessageW(target, WM_KEYDOWN, key, 1 | extended);
    PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u) | extended);
    HandleWaitingMessages();
    SetKeyboardState(before);
}

void PressKeyInWindow(HWND window, WORD key, bool control, bool shift, bool alt) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_MENU] = alt ? 0x80 : 0;
    SetKeyboardState(state);
    // Bit 29: Alt is down; bits 30 and 31: the key was down and goes up.
    const LPARAM context = alt ? (1 << 29) : 0;
    PostMessageW(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1 | context);
    PostMessageW(window, alt ? WM_SYSKEYUP : WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u) | context);
}

void ReleaseModifierKeys() {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = state[VK_SHIFT] = state[VK_MENU] = 0;
    SetKeyboardState(state);
}

void TypeText(const std::wstring& text) {
    HWND target = KeyTarget();
    for (wchar_t c : text) PostMessageW(target, WM_CHAR, c, 1);
    HandleWaitingMessages();
}

void Click(HWND control) {
    SendMessageW(control, BM_CLICK, 0, 0);
    HandleWaitingMessages();
}

void ClickMessageBoxButton(HWND box, int answer) { Click(GetDlgItem(box, answer)); }

bool HasMessageBoxButton(HWND box, int answer) {
    HWND button = GetDlgItem(box, answer);
    return button != nullptr && IsWindowVisible(button);
}

HWND FocusedWindow() { return GetFocus(); }

HWND ActiveModalWindow() { return GetActiveWindow(); }

bool IsEnabled(HWND window) { return IsWindowEnabled(window); }

bool RunningOnWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace mirabo::test
