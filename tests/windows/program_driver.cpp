#include "tests/windows/program_driver.h"

#include <wincodec.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace mirabo::wintest {

namespace {

struct Search {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && IsWindowEnabled(window)) {
        search->found.push_back(window);
    }
    return TRUE;
}

// What SendInput made of the last mouse event: the number of events it
// inserted, and the error when that was none.
struct Sent {
    UINT events = 0;
    DWORD error = 0;
};

Sent SendMouse(DWORD flags, LONG x, LONG y) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    Sent sent;
    sent.events = SendInput(1, &input, sizeof(input));
    if (sent.events != 1) sent.error = GetLastError();
    return sent;
}

// The GUI state of the thread: its active, focus, capture and caret windows
// and its flags; all empty when it has none.
GUITHREADINFO GuiOf(DWORD thread) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(thread, &info) ? info : GUITHREADINFO{};
}

// The window `find` gives once it gives one, or null after `ms`.
template <typename Find>
HWND FoundWithin(Find find, DWORD ms) {
    HWND found = NULL;
    WaitFor([&] { return (found = find()) != NULL; }, ms);
    return found;
}

void SendKey(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

}  // namespace

std::wstring ProgramPath() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"MIRABO_PROGRAM", path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return path;
    GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring here(path);
    here = here.substr(0, here.find_last_of(L"\\/") + 1);
    return here + L"mirabo.exe";
}

RunningProgram::~RunningProgram() {
    if (process_ == NULL) return;
    if (Running()) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

bool RunningProgram::Start(const std::wstring& path) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!CreateProcessW(path.c_str(), commandLine.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                        &info)) {
        std::fprintf(stderr, "CreateProcessW failed with error %lu\n", GetLastError());
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    return true;
}

int RunningProgram::WaitForExit(DWORD ms) {
    if (process_ == NULL || WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return static_cast<int>(code);
}

bool RunningProgram::Running() const {
    return process_ != NULL && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::vector<HWND> RunningProgram::Windows() const {
    Search search{processId_, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND RunningProgram::WaitForMainWindow(DWORD ms) {
    return FoundWithin(
        [&]() -> HWND {
            HWND window = FindWindowW(L"FORWINDOWSCE", L"Mirabo for PocketPC");
            DWORD owner = 0;
            if (window != NULL) GetWindowThreadProcessId(window, &owner);
            return owner == processId_ && IsWindowVisible(window) ? window : NULL;
        },
        ms);
}

HWND RunningProgram::WaitForWindow(const std::wstring& caption, DWORD ms) {
    return FoundWithin(
        [&] {
            HWND last = NULL;
            for (HWND window : Windows()) last = TextOf(window) == caption ? window : last;
            return last;
        },
        ms);
}

HWND RunningProgram::WaitForMessageBox(DWORD ms) {
    return FoundWithin(
        [&] {
            HWND last = NULL;
            for (HWND window : Windows()) {
                if (ClassOf(window) == L"#32770" && FindDescendant(window, L"Static", L"") != NULL &&
                    GetDlgItem(window, 1001) == NULL) {
                    last = window;
                }
            }
            return last;
        },
        ms);
}

bool RunningProgram::WaitUntilGone(HWND window, DWORD ms) {
    return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, ms);
}

std::wstring TextOf(HWND window) {
    wchar_t text[512];
    text[0] = 0;
    const LRESULT length = SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return std::wstring(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64];
    const int length = GetClassNameW(window, name, 64);
    return std::wstring(name, length > 0 ? length : 0);
}

void SetText(HWND control, const std::wstring& text) {
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

HWND FindDescendant(HWND parent, const std::wstring& className, const std::wstring& text) {
    struct Query {
        const std::wstring& className;
        const std::wstring& text;
        HWND found;
    } query{className, text, NULL};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM lParam) -> BOOL {
            auto* q = reinterpret_cast<Query*>(lParam);
            if ((q->className.empty() || _wcsicmp(ClassOf(child).c_str(), q->className.c_str()) == 0) &&
                (q->text.empty() || TextOf(child) == q->text)) {
                q->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&query));
    return query.found;
}

bool BringToFront(HWND window) {
    HWND root = GetAncestor(window, GA_ROOT);
    if (GetForegroundWindow() == root) return true;
    SetForegroundWindow(root);
    return WaitFor([root] { return GetForegroundWindow() == root; }, kPatience);
}

namespace {

// Whether the window keeps one place on the screen for a while: a window
// still being laid out moves under the pointer between its press and release.
bool Settled(HWND window) {
    RECT last = {};
    int steady = 0;
    return WaitFor(
        [&] {
            RECT now;
            if (!IsWindow(window) || !IsWindowVisible(window) || !GetWindowRect(window, &now)) return false;
            steady = EqualRect(&now, &last) ? steady + 1 : 0;
            last = now;
            return steady >= 3;
        },
        kPatience);
}

// A window as a failure message names it: handle, class, text and process.
std::string Named(HWND window) {
    if (window == NULL) return "none";
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    // In UTF-8: the C runtime would print a Japanese text as nothing.
    const std::wstring text = TextOf(window).substr(0, 40);
    char utf8[200] = "";
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8, sizeof(utf8), NULL, NULL);
    char line[400];
    std::snprintf(line, sizeof(line), "%p %ls \"%s\" (process %lu%s)", static_cast<void*>(window),
                  ClassOf(window).c_str(), utf8, process, IsWindowEnabled(window) ? "" : ", disabled");
    return line;
}

// What stood around a click that went wrong: the pointer and the window
// under it, the foreground window, and the active, focus and capture windows
// of the clicked window's thread and of the foreground's.
void DescribeScene(HWND window) {
    POINT pointer = {};
    GetCursorPos(&pointer);
    std::fprintf(stderr, "  pointer at %ld,%ld over %s; left button %s\n", pointer.x, pointer.y,
                 Named(WindowFromPoint(pointer)).c_str(), (GetAsyncKeyState(VK_LBUTTON) & 0x8000) ? "down" : "up");
    if (_wcsicmp(ClassOf(window).c_str(), L"Button") == 0) {
        std::fprintf(stderr, "  its state %#llx\n",
                     static_cast<unsigned long long>(SendMessageW(window, BM_GETSTATE, 0, 0)));
    }
    std::fprintf(stderr, "  foreground %s\n", Named(GetForegroundWindow()).c_str());
    const HWND threads[] = {window, GetForegroundWindow()};
    for (HWND of : threads) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        const DWORD thread = of != NULL ? GetWindowThreadProcessId(of, NULL) : 0;
        if (of != window && thread == GetWindowThreadProcessId(window, NULL)) continue;
        if (thread == 0 || !GetGUIThreadInfo(thread, &info)) continue;
        std::fprintf(stderr, "  thread of %p: active %s, focus %s, capture %s, flags %#lx\n",
                     static_cast<void*>(of), Named(info.hwndActive).c_str(), Named(info.hwndFocus).c_str(),
                     Named(info.hwndCapture).c_str(), info.flags);
    }
}

}  // namespace

bool Click(HWND window) {
    // A click that cannot be made says which step stopped it, and what stood
    // around it then.
    const auto stopped = [window](const char* why) {
        std::fprintf(stderr, "click on %s: %s\n", Named(window).c_str(), why);
        DescribeScene(window);
        return false;
    };
    if (!BringToFront(window)) return stopped("its window did not come to the front");
    if (!Settled(window)) return stopped("it did not keep one place");
    RECT rect;
    GetWindowRect(window, &rect);
    const POINT target = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const LONG x = (target.x * 65535 + (screenWidth - 1) / 2) / (screenWidth - 1);
    const LONG y = (target.y * 65535 + (screenHeight - 1) / 2) / (screenHeight - 1);
    const DWORD at = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    // The pointer is over the window before the button goes down.
    if (!WaitFor(
            [&] {
                SendMouse(at, x, y);
                Sleep(30);
                POINT now;
                GetCursorPos(&now);
                return now.x == target.x && now.y == target.y && WindowFromPoint(now) == window;
            },
            kPatience)) {
        return stopped("the pointer could not be put over it");
    }
    // Press and release each say where they happen: a pointer position
    // the window system reports late cannot move the release off the window.
    const Sent down = SendMouse(at | MOUSEEVENTF_LEFTDOWN, x, y);
    if (down.events != 1) {
        char why[80];
        std::snprintf(why, sizeof(why), "SendInput took no press (error %lu)", down.error);
        return stopped(why);
    }
    // A button is released once it has taken the press: it holds the mouse
    // capture from the press to the release. Its pushed look is no witness:
    // it follows every movement reported meanwhile, and one reported from
    // off the button takes the look away from a press the button still holds
    // (the release, which says where it happens, brings the look back and
    // clicks).
    const bool button = _wcsicmp(ClassOf(window).c_str(), L"Button") == 0;
    const DWORD thread = GetWindowThreadProcessId(window, NULL);
    LRESULT state = 0;
    const bool pressed = !button || WaitFor(
                                        [&] {
                                            state = SendMessageW(window, BM_GETSTATE, 0, 0);
                                            return (state & BST_PUSHED) != 0 || GuiOf(thread).hwndCapture == window;
                                        },
                                        kPatience);
    if (!pressed) {
        char why[80];
        std::snprintf(why, sizeof(why), "it never took the press (its state %#llx)",
                      static_cast<unsigned long long>(state));
        stopped(why);
    }
    const Sent up = SendMouse(at | MOUSEEVENTF_LEFTUP, x, y);
    Sleep(50);
    if (up.events != 1) {
        char why[80];
        std::snprintf(why, sizeof(why), "SendInput took no release (error %lu)", up.error);
        return stopped(why);
    }
    return pressed;
}

bool PressKeyIn(HWND window, WORD key, std::vector<WORD> modifiers) {
    if (!BringToFront(window)) return false;
    PressKey(key, std::move(modifiers));
    return true;
}

void PressKey(WORD key, std::vector<WORD> modifiers) {
    for (WORD modifier : modifiers) SendKey(modifier, false);
    SendKey(key, false);
    SendKey(key, true);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) SendKey(*it, true);
}

HWND WaitForPopupMenu(DWORD ms) {
    return FoundWithin(
        [] {
            HWND last = NULL;
            for (HWND w = FindWindowExW(NULL, NULL, L"#32768", NULL); w != NULL;
                 w = FindWindowExW(NULL, w, L"#32768", NULL)) {
                if (IsWindowVisible(w)) last = w;
            }
            return last;
        },
        ms);
}

std::vector<HWND> MenuBarButtons(HWND mainWindow) {
    std::vector<HWND> buttons;
    HWND bar = FindDescendant(mainWindow, L"MiraboMenuBar", L"");
    if (bar == NULL) return buttons;
    for (HWND b = GetWindow(bar, GW_CHILD); b != NULL; b = GetWindow(b, GW_HWNDNEXT)) buttons.push_back(b);
    return buttons;
}

bool WaitForMenuLoop(HWND window, DWORD ms) {
    const DWORD thread = GetWindowThreadProcessId(window, NULL);
    return WaitFor(
        [&] {
            return (GuiOf(thread).flags & GUI_INMENUMODE) != 0 &&
                   GetWindowThreadProcessId(GetForegroundWindow(), NULL) == thread;
        },
        ms);
}

bool ChooseFromMenu(HWND mainWindow, int buttonIndex, int item) {
    const std::vector<HWND> buttons = MenuBarButtons(mainWindow);
    if (buttonIndex < 0 || static_cast<std::size_t>(buttonIndex) >= buttons.size()) return false;
    HWND button = buttons[buttonIndex];
    // The bar takes taps once no dialog is over the window any more.
    if (!WaitFor([&] { return IsWindowEnabled(mainWindow) && IsWindowVisible(button); }, kPatience)) return false;
    if (!Click(button)) return false;
    // A step that fails says so, and what stood around it.
    const auto stopped = [button](const char* why) {
        std::fprintf(stderr, "menu of %s: %s\n", Named(button).c_str(), why);
        DescribeScene(button);
        return false;
    };
    if (WaitForPopupMenu() == NULL) return stopped("no pop-up showed after the click");
    // Keys go to the pop-up once the program's thread tracks it and has the
    // keyboard: a pop-up shows before its menu loop starts.
    if (!WaitForMenuLoop(mainWindow)) return stopped("its menu loop did not take the keyboard");
    // The arrow keys pass over separators; Enter chooses.
    for (int i = 0; i <= item; ++i) {
        PressKey(VK_DOWN);
        Sleep(20);
    }
    PressKey(VK_RETURN);
    return true;
}

HWND FocusOf(HWND window) { return GuiOf(GetWindowThreadProcessId(window, NULL)).hwndFocus; }

HWND CaretOwnerOf(HWND window) { return GuiOf(GetWindowThreadProcessId(window, NULL)).hwndCaret; }

bool SaveScreenPng(const RECT& rect, const std::wstring& path) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);

    bool ok = false;
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
        SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, NULL, &encoder)) &&
        SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(&frame, NULL)) && SUCCEEDED(frame->Initialize(NULL)) &&
        SUCCEEDED(frame->SetSize(width, height))) {
        WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
        ok = SUCCEEDED(frame->SetPixelFormat(&format)) && IsEqualGUID(format, GUID_WICPixelFormat32bppBGR) &&
             SUCCEEDED(frame->WritePixels(height, width * 4, width * height * 4, static_cast<BYTE*>(bits))) &&
             SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    }
    if (frame) frame->Release();
    if (encoder) encoder->Release();
    if (stream) stream->Release();
    if (factory) factory->Release();
    CoUninitialize();
    DeleteObject(bitmap);
    return ok;
}

}  // namespace mirabo::wintest
