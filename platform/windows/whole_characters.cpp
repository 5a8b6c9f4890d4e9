#include "platform/windows/whole_characters.h"

#include <commctrl.h>

#include <string>

namespace mirabo::windows {
namespace {

const UINT_PTR kWholeSubclassId = 0x4D525743;

bool IsHighHalf(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowHalf(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The same rule as the Linux layer's edit widget: a high half with no room
// left for its low half was cut at the limit (typed in halves, a high half
// waits for its low one while there is room); a low half whose high half
// was taken out goes too.
void DropCutHalf(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const int length = GetWindowTextLengthW(edit);
    if (start != end || end == 0 || length <= 0) return;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(edit, text.data(), length + 1)));
    if (end > text.size()) return;
    const wchar_t before = text[end - 1];
    const auto limit = static_cast<std::size_t>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
    const bool cutHigh =
        IsHighHalf(before) && !(end < text.size() && IsLowHalf(text[end])) && text.size() >= limit;
    const bool loneLow = IsLowHalf(before) && !(end >= 2 && IsHighHalf(text[end - 2]));
    if (cutHigh || loneLow) {
        SendMessageW(edit, EM_SETSEL, end - 1, end);
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
    }
}

LRESULT CALLBACK WholeProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_CHAR:
    case WM_PASTE:
    case WM_IME_CHAR:
    case WM_IME_COMPOSITION: {
        const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
        DropCutHalf(edit);
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(edit, WholeProc, kWholeSubclassId);
        break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

void KeepCharactersWhole(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child != NULL; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[8] = {};
        GetClassNameW(child, name, 8);
        if (CompareStringOrdinal(name, -1, L"Edit", -1, TRUE) == CSTR_EQUAL) {
            SetWindowSubclass(child, WholeProc, kWholeSubclassId, 0);
        }
    }
}

}  // namespace mirabo::windows
