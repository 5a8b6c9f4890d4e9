#include "platform/windows/menu_strip.h"

#include <commctrl.h>

#include <string>

#include "platform/windows/handheld_fonts.h"
#include "platform/windows/screen_geometry.h"
#include "platform/windows/strip_paint.h"

namespace mirabo::windows {

using platform::MenuBarButton;

namespace {

const wchar_t kBarClass[] = L"MiraboMenuBar";
const int kFirstButtonId = 100;
const BYTE kDropDown = 0x08;  // TBSTYLE_DROPDOWN
const BYTE kEnabled = 0x04;   // TBSTATE_ENABLED

struct BarData {
    HWND owner = NULL;
    HMENU menu = NULL;
    std::vector<MenuBarButton> buttons;
    std::vector<HWND> buttonWindows;
    HFONT font = NULL;
    double scale = 2;
    int openIndex = -1;
};

BarData* DataOf(HWND bar) { return reinterpret_cast<BarData*>(GetWindowLongPtrW(bar, GWLP_USERDATA)); }

void Paint(HWND bar) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(bar, &ps);
    RECT rect;
    GetClientRect(bar, &rect);
    HBRUSH grey = CreateSolidBrush(kBarGrey);
    FillRect(dc, &rect, grey);
    DeleteObject(grey);
    const BarData* data = DataOf(bar);
    RECT line = {rect.left, rect.top, rect.right, rect.top + LineWidth(data ? data->scale : 1)};
    HBRUSH dark = CreateSolidBrush(RGB(128, 128, 128));
    FillRect(dc, &line, dark);
    DeleteObject(dark);
    EndPaint(bar, &ps);
}

// The pop-ups' items are drawn by the bar in the handheld's look, at the
// screen's scale; their texts stay in the menu for whoever reads them. Marking
// them again makes the menu measure them anew.
const ULONG_PTR kSeparatorData = 1;

void DrawPopupsHere(HMENU menu) {
    for (int i = 0; menu != NULL && i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, i, TRUE, &info)) continue;
        if (info.hSubMenu != NULL) {
            DrawPopupsHere(info.hSubMenu);
            continue;
        }
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        info.dwItemData = (info.fType & MFT_SEPARATOR) ? kSeparatorData : 0;
        info.fType |= MFT_OWNERDRAW;
        SetMenuItemInfoW(menu, i, TRUE, &info);
    }
}

void MeasureItem(HWND bar, MEASUREITEMSTRUCT* item, const BarData* data) {
    const int line = LineWidth(data->scale);
    const int pad = Scaled(3, data->scale);
    if (item->itemData == kSeparatorData) {
        item->itemWidth = 1;
        item->itemHeight = line + 2 * pad;
        return;
    }
    wchar_t text[200];
    const int length = GetMenuStringW(data->menu, item->itemID, text, 200, MF_BYCOMMAND);
    HDC dc = GetDC(bar);
    HGDIOBJ old = SelectObject(dc, data->font);
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text, length > 0 ? length : 0, &extent);
    SelectObject(dc, old);
    ReleaseDC(bar, dc);
    item->itemWidth = extent.cx + 2 * Scaled(8, data->scale);
    item->itemHeight = extent.cy + 2 * pad;
}

void DrawItem(const DRAWITEMSTRUCT* item, const BarData* data) {
    RECT rect = item->rcItem;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    const bool grayed = (item->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    HBRUSH back = CreateSolidBrush(selected && !grayed ? kTitleBlue : RGB(255, 255, 255));
    FillRect(item->hDC, &rect, back);
    DeleteObject(back);
    if (item->itemData == kSeparatorData) {
        const int line = LineWidth(data->scale);
        const int middle = (rect.top + rect.bottom - line) / 2;
        RECT rule = {rect.left + line, middle, rect.right - line, middle + line};
        HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
        FillRect(item->hDC, &rule, grey);
        DeleteObject(grey);
        return;
    }
    wchar_t text[200];
    const int length =
        GetMenuStringW(reinterpret_cast<HMENU>(item->hwndItem), item->itemID, text, 200, MF_BYCOMMAND);
    HGDIOBJ old = SelectObject(item->hDC, data->font);
    SetBkMode(item->hDC, TRANSPARENT);
    SetTextColor(item->hDC, grayed ? RGB(128, 128, 128) : selected ? RGB(255, 255, 255) : RGB(0, 0, 0));
    rect.left += Scaled(8, data->scale);
    DrawTextW(item->hDC, text, length > 0 ? length : 0, &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    SelectObject(item->hDC, old);
}

// The pop-up being tracked, for the keyboard: Left and Right end it and ask
// for the pop-up beside it, as on a window's menu bar, unless Right opens
// the chosen item's own pop-up or Left closes a pop-up within it.
struct Tracking {
    HMENU popup = NULL;
    HMENU selectedIn = NULL;     // the menu of the item last selected
    bool selectedOpens = false;  // that item has a pop-up of its own
    int step = 0;                // -1 or +1 once Left or Right asked to move
};
Tracking tracking;

bool ModifierDown() {
    return GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
}

LRESULT CALLBACK PopupKeys(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_MENU && msg != nullptr && msg->message == WM_KEYDOWN &&
        (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT) && !ModifierDown()) {
        const bool right = msg->wParam == VK_RIGHT;
        const bool inPopup = tracking.selectedIn == NULL || tracking.selectedIn == tracking.popup;
        if (right ? !tracking.selectedOpens : inPopup) {
            tracking.step = right ? 1 : -1;
            EndMenu();
            return TRUE;
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

// The enabled button `step` places away from `index`, round the end of the
// bar; `index` itself when no other is enabled.
int Neighbour(const BarData* data, int index, int step) {
    const int count = static_cast<int>(data->buttonWindows.size());
    int next = index;
    for (int tried = 0; tried < count; ++tried) {
        next = (next + step + count) % count;
        if (IsWindowEnabled(data->buttonWindows[next])) return next;
    }
    return index;
}

// Opens button `index`'s pop-up and posts the item chosen from it; returns
// the step Left or Right asked for, or 0. From the keyboard the pop-up opens
// with its first item selected.
int OpenPopup(HWND bar, int index, bool fromKeyboard) {
    BarData* data = DataOf(bar);
    if (data == nullptr || index < 0 || index >= static_cast<int>(data->buttons.size())) return 0;
    const MenuBarButton button = data->buttons[index];
    HWND owner = data->owner;
    SendMessageW(owner, WM_COMMAND, MAKEWPARAM(button.command, BN_CLICKED), reinterpret_cast<LPARAM>(bar));
    if (!IsWindow(bar) || !IsWindow(owner) || !(button.style & kDropDown) || data->menu == NULL) return 0;
    HMENU popup = GetSubMenu(data->menu, button.popup);
    if (popup == NULL) return 0;
    HWND buttonWindow = data->buttonWindows[index];
    RECT place;
    GetWindowRect(buttonWindow, &place);
    data->openIndex = index;
    InvalidateRect(buttonWindow, NULL, FALSE);
    tracking = Tracking();
    tracking.popup = popup;
    HHOOK hook = SetWindowsHookExW(WH_MSGFILTER, PopupKeys, NULL, GetCurrentThreadId());
    // The menu's own loop reads this Down first and selects the first item.
    if (fromKeyboard) PostMessageW(bar, WM_KEYDOWN, VK_DOWN, 0);
    // The pop-up stands on the button's top edge, as on the handheld.
    const UINT command = TrackPopupMenuEx(
        popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_RETURNCMD | TPM_LEFTBUTTON | TPM_NOANIMATION, place.left,
        place.top, bar, NULL);
    if (hook != NULL) UnhookWindowsHookEx(hook);
    const int step = tracking.step;
    tracking = Tracking();
    if (!IsWindow(bar)) return 0;
    data->openIndex = -1;
    InvalidateRect(buttonWindow, NULL, FALSE);
    if (command != 0 && IsWindow(owner)) PostMessageW(owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    return command == 0 ? step : 0;
}

void Tapped(HWND bar, int index, bool fromKeyboard) {
    for (;;) {
        const int step = OpenPopup(bar, index, fromKeyboard);
        BarData* data = step != 0 && IsWindow(bar) ? DataOf(bar) : nullptr;
        if (data == nullptr) return;
        index = Neighbour(data, index, step);
        fromKeyboard = true;
    }
}

LRESULT CALLBACK BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint(bar);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) >= kFirstButtonId) {
            Tapped(bar, LOWORD(wParam) - kFirstButtonId, false);
            return 0;
        }
        break;
    case WM_MENUSELECT:
        if (tracking.popup != NULL) {
            tracking.selectedIn = reinterpret_cast<HMENU>(lParam);
            tracking.selectedOpens = HIWORD(wParam) != 0xFFFF && (HIWORD(wParam) & MF_POPUP) != 0;
        }
        break;
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        BarData* data = DataOf(bar);
        if (item == nullptr || data == nullptr || item->CtlType != ODT_MENU) break;
        MeasureItem(bar, item, data);
        return TRUE;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        BarData* data = DataOf(bar);
        if (item != nullptr && data != nullptr && item->CtlType == ODT_MENU) {
            DrawItem(item, data);
            return TRUE;
        }
        if (item == nullptr || data == nullptr || item->CtlType != ODT_BUTTON) break;
        ButtonState state;
        state.pressed = (item->itemState & ODS_SELECTED) ||
                        static_cast<int>(item->CtlID) - kFirstButtonId == data->openIndex;
        state.disabled = (item->itemState & ODS_DISABLED) != 0;
        wchar_t text[200];
        GetWindowTextW(item->hwndItem, text, 200);
        DrawFlatButton(item->hDC, item->rcItem, text, data->font, ButtonLook::MenuBar, state, data->scale);
        return TRUE;
    }
    case WM_NCDESTROY:
        if (BarData* data = DataOf(bar)) {
            if (data->menu != NULL) DestroyMenu(data->menu);
            if (data->font != NULL) DeleteObject(data->font);
            delete data;
            SetWindowLongPtrW(bar, GWLP_USERDATA, 0);
        }
        break;
    }
    return DefWindowProcW(bar, message, wParam, lParam);
}

void RegisterBarClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BarProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.hCursor = LoadCursorW(NULL, IDC_ARROW);
    wc.lpszClassName = kBarClass;
    registered = RegisterClassW(&wc) != 0;
}

}  // namespace

HWND CreateMenuStrip(HWND frame, HINSTANCE instance, WORD menuId, const std::vector<MenuBarButton>& buttons,
                     bool hidden, double scale) {
    RegisterBarClass();
    HMENU menu = buttons.empty() ? NULL : LoadMenuW(instance, MAKEINTRESOURCEW(menuId));
    if (!buttons.empty() && menu == NULL) return NULL;
    HWND bar = CreateWindowExW(0, kBarClass, L"", WS_CHILD | WS_CLIPCHILDREN | (hidden ? 0 : WS_VISIBLE), 0,
                               0, 0, 0, frame, NULL, GetModuleHandleW(NULL), NULL);
    if (bar == NULL) {
        if (menu != NULL) DestroyMenu(menu);
        return NULL;
    }
    auto* data = new BarData;
    data->owner = frame;
    data->menu = menu;
    data->buttons = buttons;
    SetWindowLongPtrW(bar, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        wchar_t caption[200];
        if (LoadStringW(instance, buttons[i].caption, caption, 200) <= 0) caption[0] = 0;
        HWND button = CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 0, 0,
                                      bar, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstButtonId + i)),
                                      GetModuleHandleW(NULL), NULL);
        EnableWindow(button, (buttons[i].state & kEnabled) != 0);
        data->buttonWindows.push_back(button);
    }
    LayoutMenuStrip(bar, scale);
    return bar;
}

void LayoutMenuStrip(HWND bar, double scale) {
    BarData* data = DataOf(bar);
    if (data == nullptr) return;
    data->scale = scale;
    if (data->font != NULL) DeleteObject(data->font);
    data->font = CreateShellFont(scale, false);
    DrawPopupsHere(data->menu);
    const int height = Scaled(kStripHeight, scale);
    SetWindowPos(bar, NULL, 0, Scaled(kDeviceHeight, scale) - height, Scaled(kDeviceWidth, scale), height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const int line = LineWidth(scale);
    const int pad = Scaled(6, scale);
    int x = Scaled(2, scale);
    HDC dc = GetDC(bar);
    HGDIOBJ old = SelectObject(dc, data->font);
    for (HWND button : data->buttonWindows) {
        wchar_t text[200];
        const int length = GetWindowTextW(button, text, 200);
        SIZE extent = {};
        GetTextExtentPoint32W(dc, text, length, &extent);
        const int width = extent.cx + 2 * pad;
        SetWindowPos(button, NULL, x, line, width, height - line, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(data->font), FALSE);
        x += width;
    }
    SelectObject(dc, old);
    ReleaseDC(bar, dc);
    InvalidateRect(bar, NULL, TRUE);
}

void ShowMenuStripButtons(HWND bar, bool show) {
    if (BarData* data = DataOf(bar)) {
        for (HWND button : data->buttonWindows) ShowWindow(button, show ? SW_SHOWNA : SW_HIDE);
    }
}

void OpenMenuStripPopup(HWND bar, int index) { Tapped(bar, index, true); }

std::vector<HWND> MenuStripButtons(HWND bar) {
    BarData* data = DataOf(bar);
    return data ? data->buttonWindows : std::vector<HWND>();
}

}  // namespace mirabo::windows
