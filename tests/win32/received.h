// The messages a test's window or dialog procedure records, and the window
// class of the tests' own that records them.
#pragma once

#include <ostream>
#include <utility>
#include <vector>

#include "platform/win32.h"

namespace mirabo::test {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Received&) const = default;
};

inline void PrintTo(const Received& r, std::ostream* out) {
    *out << "{0x" << std::hex << r.message << std::dec << ", " << r.wParam << ", " << r.lParam << "}";
}

// What the running case's procedure has recorded; each case starts it empty.
inline std::vector<Received> g_received;

// The WM_COMMAND messages recorded, as (word parameter, long parameter).
inline std::vector<std::pair<WPARAM, LPARAM>> CommandsReceived() {
    std::vector<std::pair<WPARAM, LPARAM>> commands;
    for (const Received& r : g_received) {
        if (r.message == WM_COMMAND) commands.push_back({r.wParam, r.lParam});
    }
    return commands;
}

inline constexpr WCHAR kTestClass[] = L"MiraboTestWindow";

// Registers the tests' window class with `procedure` on its first call; the
// later calls fail as a second registration does, which the cases ignore.
inline void RegisterTestClass(WNDPROC procedure) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = procedure;
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = kTestClass;
    RegisterClassW(&wc);
}

}  // namespace mirabo::test
