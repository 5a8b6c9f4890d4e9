#include "platform/windows/dialog_look.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/windows/handheld_fonts.h"
#include "platform/windows/screen_frame.h"
#include "platform/windows/strip_paint.h"
#include "platform/windows/title_strip.h"

namespace mirabo::windows {

namespace {

const UINT_PTR kDialogSubclassId = 0x4D524444;
const UINT_PTR kEditSubclassId = 0x4D524445;
const wchar_t kUnitsProperty[] = L"MiraboDialogUnits";
const wchar_t kLookProperty[] = L"MiraboDialogLook";
const DWORD kCaptionOkButton = 0x80000000;  // WS_EX_CAPTIONOKBTN

// A picture control and the image the dialog manager gave it, which comes
// back when the dialog goes so that the control frees what it loaded.
struct Picture {
    HWND control = NULL;
    bool icon = false;
    HANDLE original = NULL;
    HANDLE scaled = NULL;
};

struct DialogLook {
    double scale = 2;
    bool done = false;
    std::wstring face;
    int pointSize = 9;
    HWND strip = NULL;
    HFONT font = NULL;
    HBRUSH white = NULL;
    HBRUSH readOnly = NULL;
    std::vector<Picture> pictures;
};

std::wstring ClassOf(HWND window) {
    wchar_t name[32];
    const int length = GetClassNameW(window, name, 32);
    return std::wstring(name, length > 0 ? length : 0);
}

bool IsClass(HWND window, const wchar_t* name) { return _wcsicmp(ClassOf(window).c_str(), name) == 0; }

std::vector<HWND> Controls(HWND dialog) {
    std::vector<HWND> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != NULL; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetPropW(child, kUnitsProperty) != NULL) controls.push_back(child);
    }
    return controls;
}

// A nearest-neighbour copy of a bitmap `factor` times its size: the
// handheld's pixels stay sharp squares.
HBITMAP ScaleBitmap(HBITMAP source, double factor, SIZE* size) {
    BITMAP info = {};
    if (source == NULL || GetObjectW(source, sizeof(info), &info) == 0) return NULL;
    size->cx = std::max(1L, std::lround(info.bmWidth * factor));
    size->cy = std::max(1L, std::lround(info.bmHeight * factor));
    HDC screen = GetDC(NULL);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HBITMAP result = info.bmBitsPixel == 1 ? CreateBitmap(size->cx, size->cy, 1, 1, NULL)
                                           : CreateCompatibleBitmap(screen, size->cx, size->cy);
    HGDIOBJ oldFrom = SelectObject(from, source);
    HGDIOBJ oldTo = SelectObject(to, result);
    SetStretchBltMode(to, COLORONCOLOR);
    StretchBlt(to, 0, 0, size->cx, size->cy, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(to, oldTo);
    SelectObject(from, oldFrom);
    DeleteDC(to);
    DeleteDC(from);
    ReleaseDC(NULL, screen);
    return result;
}

// The icon drawn at the handheld's 32 x 32 pixels times the scale.
HICON ScaleIcon(HICON source, double scale, SIZE* size) {
    ICONINFO info = {};
    if (source == NULL || !GetIconInfo(source, &info)) return NULL;
    HICON result = NULL;
    BITMAP mask = {};
    if (info.hbmColor != NULL && GetObjectW(info.hbmMask, sizeof(mask), &mask) != 0 && mask.bmWidth > 0) {
        const double factor = 32.0 * scale / mask.bmWidth;
        SIZE colorSize = {};
        HBITMAP color = ScaleBitmap(info.hbmColor, factor, &colorSize);
        HBITMAP scaledMask = ScaleBitmap(info.hbmMask, factor, size);
        ICONINFO scaled = {TRUE, 0, 0, scaledMask, color};
        result = CreateIconIndirect(&scaled);
        DeleteObject(color);
        DeleteObject(scaledMask);
    }
    if (info.hbmColor != NULL) DeleteObject(info.hbmColor);
    if (info.hbmMask != NULL) DeleteObject(info.hbmMask);
    return result;
}

void FreePicture(Picture& picture) {
    if (picture.scaled == NULL) return;
    if (IsWindow(picture.control)) {
        SendMessageW(picture.control, STM_SETIMAGE, picture.icon ? IMAGE_ICON : IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(picture.original));
    }
    if (picture.icon) {
        DestroyIcon(static_cast<HICON>(picture.scaled));
    } else {
        DeleteObject(picture.scaled);
    }
    picture.scaled = NULL;
}

// Shows the control's picture at the scale; the size of the control
// becomes the picture's.
bool ScalePicture(DialogLook* look, HWND control, SIZE* size) {
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK;
    if (!IsClass(control, L"Static") || (type != SS_BITMAP && type != SS_ICON)) return false;
    Picture* picture = nullptr;
    for (Picture& p : look->pictures) {
        if (p.control == control) picture = &p;
    }
    if (picture == nullptr) {
        look->pictures.push_back(Picture{control, type == SS_ICON, NULL, NULL});
        picture = &look->pictures.back();
        picture->original = reinterpret_cast<HANDLE>(
            SendMessageW(control, STM_GETIMAGE, picture->icon ? IMAGE_ICON : IMAGE_BITMAP, 0));
    }
    FreePicture(*picture);
    if (picture->original == NULL) return false;
    if (picture->icon) {
        picture->scaled = ScaleIcon(static_cast<HICON>(picture->original), look->scale, size);
    } else {
        picture->scaled = ScaleBitmap(static_cast<HBITMAP>(picture->original), look->scale, size);
    }
    if (picture->scaled == NULL) return false;
    SendMessageW(control, STM_SETIMAGE, picture->icon ? IMAGE_ICON : IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(picture->scaled));
    return true;
}

// Edit fields: a black frame one device pixel wide, as on the handheld.
LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR ref) {
    const int line = static_cast<int>(ref);
    switch (message) {
    case WM_NCCALCSIZE: {
        // The frame, and the text line in the middle of the field.
        auto* rect = reinterpret_cast<RECT*>(lParam);
        InflateRect(rect, -line, -line);
        TEXTMETRICW metrics = {};
        HDC dc = GetDC(edit);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(edit, dc);
        const LONG spare = (rect->bottom - rect->top) - metrics.tmHeight;
        if (spare > 1) {
            rect->top += spare / 2;
            rect->bottom -= spare - spare / 2;
        }
        return 0;
    }
    case WM_NCPAINT: {
        HDC dc = GetWindowDC(edit);
        RECT rect;
        GetWindowRect(edit, &rect);
        RECT client;
        GetClientRect(edit, &client);
        MapWindowPoints(edit, NULL, reinterpret_cast<POINT*>(&client), 2);
        OffsetRect(&client, -rect.left, -rect.top);
        OffsetRect(&rect, -rect.left, -rect.top);
        // Above and below the text line, the field's own background.
        const bool readOnly = (GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY) != 0;
        HBRUSH back = CreateSolidBrush(readOnly ? kReadOnlyGrey : RGB(255, 255, 255));
        ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
        FillRect(dc, &rect, back);
        DeleteObject(back);
        HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
        for (int i = 0; i < line; ++i) {
            FrameRect(dc, &rect, black);
            InflateRect(&rect, -1, -1);
        }
        DeleteObject(black);
        ReleaseDC(edit, dc);
        return 0;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(edit, EditProc, kEditSubclassId);
        break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

void FrameEdit(HWND edit, double scale) {
    const int line = LineWidth(scale);
    SetWindowLongPtrW(edit, GWL_STYLE,
                      GetWindowLongPtrW(edit, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER));
    SetWindowLongPtrW(edit, GWL_EXSTYLE,
                      GetWindowLongPtrW(edit, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
    SetWindowSubclass(edit, EditProc, kEditSubclassId, static_cast<DWORD_PTR>(line));
    SetWindowPos(edit, NULL, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(line, line));
}

// Places every control from its dialog units at the look's scale.
void Layout(HWND dialog, DialogLook* look) {
    const DialogFont font = CreateDialogFont(look->face, look->pointSize, look->scale);
    const int top = Scaled(kStripHeight, look->scale);
    for (HWND control : Controls(dialog)) {
        const RECT units = UnpackDialogRect(reinterpret_cast<ULONG_PTR>(GetPropW(control, kUnitsProperty)));
        const int x = MulDiv(units.left, font.baseX, 4);
        const int y = top + MulDiv(units.top, font.baseY, 8);
        int width = MulDiv(units.right - units.left, font.baseX, 4);
        int height = MulDiv(units.bottom - units.top, font.baseY, 8);
        SIZE picture = {};
        if (ScalePicture(look, control, &picture)) {
            width = picture.cx;
            height = picture.cy;
        }
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.font), FALSE);
        if (IsClass(control, L"Edit")) FrameEdit(control, look->scale);
        SetWindowPos(control, NULL, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (look->font != NULL) DeleteObject(look->font);
    look->font = font.font;
    if (look->strip == NULL) {
        look->strip = CreateTitleStrip(dialog, Scaled(kDeviceWidth, look->scale), look->scale, look->done);
    } else {
        LayoutTitleStrip(look->strip, Scaled(kDeviceWidth, look->scale), look->scale);
    }
    RedrawWindow(dialog, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Place(HWND dialog, DialogLook* look) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    const RECT place = FullScreenRect(owner != NULL ? owner : dialog, &look->scale);
    SetWindowPos(dialog, NULL, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool IsPushButton(HWND control) {
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    return IsClass(control, L"Button") && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

LRESULT DrawButton(const NMCUSTOMDRAW* draw, DialogLook* look) {
    if (draw->dwDrawStage != CDDS_PREPAINT) return CDRF_DODEFAULT;
    HWND button = draw->hdr.hwndFrom;
    ButtonState state;
    state.pressed = (draw->uItemState & CDIS_SELECTED) != 0 ||
                    (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    state.focused = GetFocus() == button;
    state.isDefault = (GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    state.disabled = !IsWindowEnabled(button);
    wchar_t text[100];
    GetWindowTextW(button, text, 100);
    DrawFlatButton(draw->hdc, draw->rc, text, look->font, ButtonLook::Dialog, state, look->scale);
    return CDRF_SKIPDEFAULT;
}

LRESULT CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR ref) {
    auto* look = reinterpret_cast<DialogLook*>(ref);
    switch (message) {
    case WM_CTLCOLORDLG:
        return reinterpret_cast<LRESULT>(look->white);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        // Black on white; read-only fields (which ask as static controls)
        // on light grey.
        HDC dc = reinterpret_cast<HDC>(wParam);
        HWND control = reinterpret_cast<HWND>(lParam);
        const bool readOnly =
            IsClass(control, L"Edit") && (GetWindowLongPtrW(control, GWL_STYLE) & ES_READONLY);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, readOnly ? kReadOnlyGrey : RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(readOnly ? look->readOnly : look->white);
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header != nullptr && header->code == NM_CUSTOMDRAW && IsPushButton(header->hwndFrom)) {
            return DrawButton(reinterpret_cast<NMCUSTOMDRAW*>(lParam), look);
        }
        break;
    }
    case WM_COMMAND:
        // Esc and the close command are the Done button's IDOK where the
        // dialog has no cancel control to send them to.
        if (LOWORD(wParam) == IDCANCEL && look->done && GetDlgItem(dialog, IDCANCEL) == NULL) {
            return DefSubclassProc(dialog, message, MAKEWPARAM(IDOK, HIWORD(wParam)), lParam);
        }
        break;
    case WM_SETTEXT: {
        LRESULT result = DefSubclassProc(dialog, message, wParam, lParam);
        if (look->strip != NULL) SetWindowTextW(look->strip, reinterpret_cast<LPCWSTR>(lParam));
        return result;
    }
    case WM_DPICHANGED:
        // Laid out again for the new monitor, by the same rules; the dialog
        // manager's own rescaling would undo the handheld's proportions.
        Place(dialog, look);
        Layout(dialog, look);
        return 0;
    case WM_NCDESTROY:
        for (Picture& picture : look->pictures) FreePicture(picture);
        if (look->font != NULL) DeleteObject(look->font);
        DeleteObject(look->white);
        DeleteObject(look->readOnly);
        RemoveWindowSubclass(dialog, DialogProc, kDialogSubclassId);
        RemovePropW(dialog, kLookProperty);
        delete look;
        break;
    }
    return DefSubclassProc(dialog, message, wParam, lParam);
}

// The face and point size of the dialog's template font.
void ReadTemplateFont(HWND dialog, DialogLook* look) {
    look->face = L"System";
    look->pointSize = 9;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    LOGFONTW logFont = {};
    if (font == NULL || GetObjectW(font, sizeof(logFont), &logFont) == 0) return;
    UINT dpi = GetDpiForWindow(dialog);
    if (dpi == 0) dpi = 96;
    look->face = logFont.lfFaceName;
    const int height = logFont.lfHeight < 0 ? -logFont.lfHeight : logFont.lfHeight;
    if (height > 0) look->pointSize = MulDiv(height, 72, static_cast<int>(dpi));
}

}  // namespace

ULONG_PTR PackDialogRect(const RECT& units) {
    auto field = [](LONG v, int shift) {
        const LONG clamped = std::max(-16384L, std::min(16383L, v));
        return static_cast<unsigned long long>(clamped & 0x7FFF) << shift;
    };
    return static_cast<ULONG_PTR>(field(units.left, 0) | field(units.top, 15) |
                                  field(units.right - units.left, 30) | field(units.bottom - units.top, 45) |
                                  (1ULL << 62));
}

RECT UnpackDialogRect(ULONG_PTR packed) {
    auto field = [packed](int shift) {
        const LONG v = static_cast<LONG>((static_cast<unsigned long long>(packed) >> shift) & 0x7FFF);
        return v >= 0x4000 ? v - 0x8000 : v;
    };
    const LONG x = field(0), y = field(15);
    return RECT{x, y, x + field(30), y + field(45)};
}

RECT PixelsToDialogUnits(const RECT& pixels, int baseXMilli, int baseYMilli) {
    auto units = [](LONG px, int milli, int per) {
        return static_cast<LONG>(std::lround(double(px) * per * 1000.0 / (milli > 0 ? milli : 1)));
    };
    const LONG x = units(pixels.left, baseXMilli, 4);
    const LONG y = units(pixels.top, baseYMilli, 8);
    return RECT{x, y, x + units(pixels.right - pixels.left, baseXMilli, 4),
                y + units(pixels.bottom - pixels.top, baseYMilli, 8)};
}

void MakeDialogFullScreen(HWND dialog, bool doneButton) {
    if (dialog == NULL || GetPropW(dialog, kLookProperty) != NULL) return;
    auto* look = new DialogLook;
    const LONG_PTR exStyle = GetWindowLongPtrW(dialog, GWL_EXSTYLE);
    look->done = doneButton || (static_cast<DWORD>(exStyle) & kCaptionOkButton) != 0;
    look->white = CreateSolidBrush(RGB(255, 255, 255));
    look->readOnly = CreateSolidBrush(kReadOnlyGrey);
    ReadTemplateFont(dialog, look);

    // Each control's place in dialog units, from where the dialog manager
    // put it with the base units it measured.
    RECT probe = {0, 0, 4000, 8000};
    MapDialogRect(dialog, &probe);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != NULL; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(NULL, dialog, reinterpret_cast<POINT*>(&rect), 2);
        const ULONG_PTR packed = PackDialogRect(PixelsToDialogUnits(rect, probe.right, probe.bottom));
        SetPropW(child, kUnitsProperty, reinterpret_cast<HANDLE>(packed));
    }

    // No desktop caption or frame: the title strip takes their place.
    SetWindowLongPtrW(dialog, GWL_STYLE,
                      GetWindowLongPtrW(dialog, GWL_STYLE) &
                          ~static_cast<LONG_PTR>(WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME));
    SetWindowLongPtrW(
        dialog, GWL_EXSTYLE,
        exStyle & ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE |
                                         WS_EX_STATICEDGE | kCaptionOkButton));
    if (!SetWindowSubclass(dialog, DialogProc, kDialogSubclassId, reinterpret_cast<DWORD_PTR>(look))) {
        DeleteObject(look->white);
        DeleteObject(look->readOnly);
        delete look;
        return;
    }
    SetPropW(dialog, kLookProperty, look);
    Place(dialog, look);
    Layout(dialog, look);
}

}  // namespace mirabo::windows
