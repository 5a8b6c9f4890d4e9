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
            // The focus mark: dots a pixel inside the heaviest frame, past
            // the rounded corners, as far from the text as the button allows.
            // Where the font leaves no row between the frame and the text's
            // line, only its sides are drawn: it never crosses the glyphs.
            HGDIOBJ previous = SelectObject(dc, font);
            RECT cell = {0, 0, 0, 0};
            DrawTextW(dc, text, -1, &cell, DT_CALCRECT | DT_SINGLELINE);
            SelectObject(dc, previous);
            const int height = rect.bottom - rect.top;
            const int above = (height - (cell.bottom - cell.top)) / 2;  // rows above the text's line
            const int vertical = std::min(2 * line + line / 2, above - 1);
            const int across = 2 * line + line / 2 + static_cast<int>(std::ceil(1.25 * scale));
            const bool lines = vertical >= weight;
            const int left = rect.left + across, right = rect.right - 1 - across;
            const int top = rect.top + (lines ? vertical : weight + 1);
            const int bottom = rect.bottom - 1 - (lines ? vertical : weight + 1);
            const COLORREF dots = state.pressed ? RGB(255, 255, 255) : RGB(0, 0, 0);
            for (int y = top; y <= bottom; y += 2) {
                SetPixel(dc, left, y, dots);
                SetPixel(dc, right, y, dots);
            }
            for (int x = left; lines && x <= right; x += 2) {
                SetPixel(dc, x, top, dots);
                SetPixel(dc, x, bottom, dots);
            }
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
