#include "platform/windows/strip_paint.h"

#include <algorithm>
#include <cmath>

namespace mirabo::windows {

int LineWidth(double scale) { return std::max(1, static_cast<int>(std::lround(scale))); }

namespace {

void FrameRoundRect(HDC dc, RECT rect, int weight, int radius, COLORREF frame, COLORREF fill) {
    HPEN pen = CreatePen(PS_INSIDEFRAME, weight, frame);
    HBRUSH brush = CreateSolidBrush(fill);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, radius, radius);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

}  // namespace

void DrawFlatButton(HDC dc, const RECT& rect, const wchar_t* text, HFONT font, ButtonLook look,
                    const ButtonState& state, double scale) {
    const int line = LineWidth(scale);
    const int radius = static_cast<int>(std::lround(5 * scale));
    COLORREF textColor = RGB(0, 0, 0);
    switch (look) {
    case ButtonLook::TitleStrip: {
        HBRUSH back = CreateSolidBrush(kTitleBlue);
        FillRect(dc, &rect, back);
        DeleteObject(back);
        FrameRoundRect(dc, rect, line, 2 * radius, RGB(255, 255, 255),
                       state.pressed ? RGB(255, 255, 255) : kTitleBlue);
        textColor = state.pressed ? kTitleBlue : RGB(255, 255, 255);
        break;
    }
    case ButtonLook::MenuBar: {
        HBRUSH back = CreateSolidBrush(state.pressed ? kTitleBlue : kBarGrey);
        FillRect(dc, &rect, back);
        DeleteObject(back);
        textColor = state.disabled ? RGB(128, 128, 128) : state.pressed ? RGB(255, 255, 255) : RGB(0, 0, 0);
        break;
    }
    case ButtonLook::Dialog: {
        HBRUSH back = CreateSolidBrush(RGB(255, 255, 255));
        FillRect(dc, &rect, back);
        DeleteObject(back);
        const int weight = (state.isDefault || state.focused) ? 2 * line : line;
        FrameRoundRect(dc, rect, weight, radius, RGB(0, 0, 0),
                       state.pressed ? RGB(0, 0, 0) : RGB(255, 255, 255));
        if (state.focused) {
            const int inset = weight + static_cast<int>(std::lround(2 * scale));
            RECT dots = {rect.left + inset, rect.top + inset, rect.right - inset, rect.bottom - inset};
            SetTextColor(dc, state.pressed ? RGB(255, 255, 255) : RGB(0, 0, 0));
            SetBkColor(dc, state.pressed ? RGB(0, 0, 0) : RGB(255, 255, 255));
            DrawFocusRect(dc, &dots);
        }
        textColor = state.disabled ? RGB(128, 128, 128) : state.pressed ? RGB(255, 255, 255) : RGB(0, 0, 0);
        break;
    }
    }
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColor);
    RECT textRect = rect;
    DrawTextW(dc, text, -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
}

}  // namespace mirabo::windows
