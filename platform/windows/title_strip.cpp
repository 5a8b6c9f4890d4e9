#include "platform/windows/title_strip.h"

#include <iterator>
#include <string>

#include "platform/windows/handheld_fonts.h"
#include "platform/windows/screen_geometry.h"
#include "platform/windows/strip_paint.h"
#include "res/resource.h"

namespace mirabo::windows {

namespace {

const wchar_t kStripClass[] = L"MiraboTitleStrip";
const int kDoneId = IDOK;

struct StripData {
    double scale = 1;
    HFONT font = NULL;
    HWND done = NULL;
};

StripData* DataOf(HWND strip) {
    return reinterpret_cast<StripData*>(GetWindowLongPtrW(strip, GWLP_USERDATA));
}

std::wstring TextOf(HWND window) {
    wchar_t text[256];
    int length = GetWindowTextW(window, text, 256);
    return std::wstring(text, length > 0 ? length : 0);
}

void Paint(HWND strip) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(strip, &ps);
    StripData* data = DataOf(strip);
    RECT rect;
    GetClientRect(strip, &rect);
    HBRUSH blue = CreateSolidBrush(kTitleBlue);
    FillRect(dc, &rect, blue);
    DeleteObject(blue);
    if (data != nullptr) {
        const int margin = static_cast<int>(6 * data->scale + 0.5);
        RECT text = {rect.left + margin, rect.top, rect.right - margin, rect.bottom};
        if (data->done != NULL && IsWindowVisible(data->done)) {
            RECT button;
            GetWindowRect(data->done, &button);
            MapWindowPoints(NULL, strip, reinterpret_cast<POINT*>(&button), 2);
            text.right = button.left - margin;
        }
        HGDIOBJ old = SelectObject(dc, data->font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        const std::wstring caption = TextOf(strip);
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        SelectObject(dc, old);
    }
    EndPaint(strip, &ps);
}

bool IsDialog(HWND window) {
    wchar_t name[8];
    return GetClassNameW(window, name, 8) == 6 && std::wstring(name) == L"#32770";
}

// The Done button's IDOK goes to the window. A dialog's procedure is asked
// itself, so that a dialog that leaves IDOK unanswered can be closed as its
// close box closes it (the cancel command: Back in a calculator). Enter,
// which the dialog manager turns into IDOK too, never comes here, and so
// never closes a dialog with what was typed.
void PressDone(HWND window, HWND button) {
    const WPARAM command = MAKEWPARAM(IDOK, BN_CLICKED);
    const auto procedure =
        IsDialog(window) ? reinterpret_cast<DLGPROC>(GetWindowLongPtrW(window, DWLP_DLGPROC)) : nullptr;
    if (procedure == nullptr) {
        SendMessageW(window, WM_COMMAND, command, reinterpret_cast<LPARAM>(button));
        return;
    }
    if (!procedure(window, WM_COMMAND, command, reinterpret_cast<LPARAM>(button)) && IsWindow(window)) {
        SendMessageW(window, WM_CLOSE, 0, 0);
    }
}

LRESULT CALLBACK StripProc(HWND strip, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint(strip);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcW(strip, message, wParam, lParam);
        InvalidateRect(strip, NULL, FALSE);
        return result;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        StripData* data = DataOf(strip);
        if (item == nullptr || data == nullptr || item->CtlType != ODT_BUTTON) break;
        ButtonState state;
        state.pressed = (item->itemState & ODS_SELECTED) != 0;
        wchar_t text[16];
        GetWindowTextW(item->hwndItem, text, 16);
        DrawFlatButton(item->hDC, item->rcItem, text, data->font, ButtonLook::TitleStrip, state, data->scale);
        return TRUE;
    }
    case WM_COMMAND:
        // The OK button is the window's Done button: IDOK, as on the handheld.
        if (LOWORD(wParam) == kDoneId && HIWORD(wParam) == BN_CLICKED) {
            PressDone(GetParent(strip), reinterpret_cast<HWND>(lParam));
            return 0;
        }
        break;
    case WM_NCDESTROY:
        if (StripData* data = DataOf(strip)) {
            DeleteObject(data->font);
            delete data;
            SetWindowLongPtrW(strip, GWLP_USERDATA, 0);
        }
        break;
    }
    return DefWindowProcW(strip, message, wParam, lParam);
}

void RegisterStripClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = StripProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.hCursor = LoadCursorW(NULL, IDC_ARROW);
    wc.lpszClassName = kStripClass;
    registered = RegisterClassW(&wc) != 0;
}

}  // namespace

HWND CreateTitleStrip(HWND window, int width, double scale, bool doneButton) {
    RegisterStripClass();
    const std::wstring caption = TextOf(window);
    HWND strip =
        CreateWindowExW(0, kStripClass, caption.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width,
                        Scaled(kStripHeight, scale), window, NULL, GetModuleHandleW(NULL), NULL);
    if (strip == NULL) return NULL;
    auto* data = new StripData;
    SetWindowLongPtrW(strip, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    if (doneButton) {
        wchar_t done[32] = L"";
        LoadStringW(GetModuleHandleW(NULL), IDS_BUTTON_DONE, done, static_cast<int>(std::size(done)));
        data->done = CreateWindowExW(0, L"BUTTON", done, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 0, 0,
                                     strip, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kDoneId)),
                                     GetModuleHandleW(NULL), NULL);
    }
    LayoutTitleStrip(strip, width, scale);
    return strip;
}

void LayoutTitleStrip(HWND strip, int width, double scale) {
    StripData* data = DataOf(strip);
    if (data == nullptr) return;
    data->scale = scale;
    if (data->font != NULL) DeleteObject(data->font);
    data->font = CreateShellFont(scale, true);
    const int height = Scaled(kStripHeight, scale);
    SetWindowPos(strip, NULL, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (data->done != NULL) {
        const int buttonWidth = Scaled(30, scale);
        const int buttonHeight = Scaled(18, scale);
        SetWindowPos(data->done, NULL, width - buttonWidth - Scaled(4, scale), (height - buttonHeight) / 2,
                     buttonWidth, buttonHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(data->done, WM_SETFONT, reinterpret_cast<WPARAM>(data->font), FALSE);
    }
    InvalidateRect(strip, NULL, TRUE);
}

HWND TitleStripDoneButton(HWND strip) {
    StripData* data = DataOf(strip);
    return data ? data->done : NULL;
}

}  // namespace mirabo::windows
