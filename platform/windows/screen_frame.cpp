#include "platform/windows/screen_frame.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "platform/windows/handheld_fonts.h"
#include "platform/windows/menu_strip.h"
#include "platform/windows/title_strip.h"

namespace mirabo::windows {

namespace {

const UINT_PTR kFrameSubclassId = 0x4D524642;  // the frame's own subclass

struct FrameData {
    double scale = 2;
    HFONT paintFont = NULL;
    HWND titleStrip = NULL;
    HWND menuBar = NULL;
};

const DWORD kFrameStyles = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

const wchar_t kFrameProperty[] = L"MiraboScreenFrame";

FrameData* DataOf(HWND window) { return static_cast<FrameData*>(GetPropW(window, kFrameProperty)); }

SIZE FrameSize(HWND window, double scale, UINT dpi) {
    RECT rect = {0, 0, Scaled(kDeviceWidth, scale), Scaled(kDeviceHeight, scale)};
    AdjustWindowRectExForDpi(&rect, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), dpi);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

UINT DpiOf(HWND window) {
    UINT dpi = GetDpiForWindow(window);
    return dpi != 0 ? dpi : 96;
}

double ScaleForMonitor(HWND window, UINT dpi) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)) | kFrameStyles,
                             FALSE, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), dpi);
    return FittingScale(RequestedScale(), dpi, monitor.rcWork, frame.right - frame.left,
                        frame.bottom - frame.top);
}

// Lays out the strips for the frame's scale.
void LayoutFrame(HWND window, FrameData* data) {
    const int width = Scaled(kDeviceWidth, data->scale);
    if (data->paintFont != NULL) DeleteObject(data->paintFont);
    data->paintFont = NULL;
    if (data->titleStrip != NULL) LayoutTitleStrip(data->titleStrip, width, data->scale);
    if (FrameMenuBar(window) != NULL) LayoutMenuStrip(data->menuBar, data->scale);
    InvalidateRect(window, NULL, TRUE);
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR ref) {
    auto* data = reinterpret_cast<FrameData*>(ref);
    switch (message) {
    case WM_WINDOWPOSCHANGING: {
        // The screen has one size; the frame is only ever moved.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
        if (!(pos->flags & SWP_NOSIZE) && !(style & (WS_MINIMIZE | WS_MAXIMIZE))) {
            const SIZE size = FrameSize(window, data->scale, DpiOf(window));
            pos->cx = size.cx;
            pos->cy = size.cy;
        }
        break;
    }
    case WM_WINDOWPOSCHANGED: {
        // A visible window moved or sized without redrawing keeps nothing
        // worth showing of its old place on today's desktops (under a
        // compositor its new surface starts black): paint it all anew.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if ((pos->flags & SWP_NOREDRAW) && IsWindowVisible(window)) {
            RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        }
        break;
    }
    case WM_PAINT:
        // The whole window is painted each time (its class redraws it whole
        // on every resize anyway), so that BeginPaint erases the background
        // and the font chosen there is the one the window draws with.
        InvalidateRect(window, NULL, TRUE);
        break;
    case WM_ERASEBKGND: {
        // The device context's font is the handheld's system font at the
        // screen's scale: BeginPaint hands the window this same context.
        LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        if (data->paintFont == NULL) data->paintFont = CreateShellFont(data->scale, false);
        SelectObject(reinterpret_cast<HDC>(wParam), data->paintFont);
        return result;
    }
    case WM_SETTEXT: {
        LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        if (data->titleStrip != NULL) SetWindowTextW(data->titleStrip, reinterpret_cast<LPCWSTR>(lParam));
        return result;
    }
    case WM_ENABLE:
        // The menu bar shows while its window can take input, as on the
        // handheld, where a dialog over the window takes the bar's place.
        if (HWND bar = FrameMenuBar(window)) ShowMenuStripButtons(bar, wParam != FALSE);
        break;
    case WM_SYSCOMMAND:
        // Alt or F10 alone opens the menu bar's first pop-up.
        if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == 0 && FrameMenuBar(window) != NULL &&
            IsWindowVisible(data->menuBar)) {
            OpenMenuStripPopup(data->menuBar, 0);
            return 0;
        }
        break;
    case WM_DPICHANGED: {
        data->scale = ScaleForMonitor(window, HIWORD(wParam));
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        const SIZE size = FrameSize(window, data->scale, HIWORD(wParam));
        SetWindowPos(window, NULL, suggested->left, suggested->top, size.cx, size.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        LayoutFrame(window, data);
        return 0;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, FrameProc, kFrameSubclassId);
        RemovePropW(window, kFrameProperty);
        if (data->paintFont != NULL) DeleteObject(data->paintFont);
        delete data;
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void AttachScreenFrame(HWND window) {
    if (window == NULL || DataOf(window) != nullptr) return;
    auto* data = new FrameData;
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    SetWindowLongPtrW(window, GWL_STYLE, style | kFrameStyles);
    data->scale = ScaleForMonitor(window, DpiOf(window));
    if (!SetWindowSubclass(window, FrameProc, kFrameSubclassId, reinterpret_cast<DWORD_PTR>(data))) {
        delete data;
        return;
    }
    SetPropW(window, kFrameProperty, data);
    data->titleStrip = CreateTitleStrip(window, Scaled(kDeviceWidth, data->scale), data->scale, false);
    const SIZE size = FrameSize(window, data->scale, DpiOf(window));
    SetWindowPos(window, NULL, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

HWND ScreenFrameOf(HWND window) {
    for (HWND w = window; w != NULL; w = GetWindow(w, GW_OWNER)) {
        if (DataOf(w) != nullptr) return w;
    }
    return NULL;
}

double ScaleOf(HWND window) {
    if (FrameData* data = window ? DataOf(window) : nullptr) return data->scale;
    return ScaleForMonitor(window, window ? DpiOf(window) : 96);
}

void SetFrameMenuBar(HWND frame, HWND bar) {
    if (FrameData* data = DataOf(frame)) data->menuBar = bar;
}

HWND FrameMenuBar(HWND frame) {
    FrameData* data = DataOf(frame);
    // The bar goes away on its own (DestroyWindow on the handle given out).
    if (data != nullptr && data->menuBar != NULL &&
        (!IsWindow(data->menuBar) || GetParent(data->menuBar) != frame)) {
        data->menuBar = NULL;
    }
    return data ? data->menuBar : NULL;
}

RECT FullScreenRect(HWND window, double* scale) {
    HWND frame = ScreenFrameOf(window);
    if (frame != NULL) {
        *scale = ScaleOf(frame);
        POINT origin = {0, 0};
        ClientToScreen(frame, &origin);
        return RECT{origin.x, origin.y, origin.x + Scaled(kDeviceWidth, *scale),
                    origin.y + Scaled(kDeviceHeight - kStripHeight, *scale)};
    }
    *scale = ScaleOf(window);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const int width = Scaled(kDeviceWidth, *scale);
    const int height = Scaled(kDeviceHeight - kStripHeight, *scale);
    const LONG left = (monitor.rcWork.left + monitor.rcWork.right - width) / 2;
    const LONG top = (monitor.rcWork.top + monitor.rcWork.bottom - height) / 2;
    return RECT{left, top, left + width, top + height};
}

}  // namespace mirabo::windows
