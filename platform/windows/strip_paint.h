// The handheld's look on a Windows desktop, shared by the screen's strips,
// the menu bar and the dialogs: its colours, line widths and the drawing of
// its flat buttons.
#pragma once

#include <windows.h>

namespace mirabo::windows {

// The title strip's blue, the menu strip's grey, and the background of
// read-only fields.
constexpr COLORREF kTitleBlue = RGB(0x0b, 0x2d, 0x8c);
constexpr COLORREF kBarGrey = RGB(0xd6, 0xd3, 0xce);
constexpr COLORREF kReadOnlyGrey = RGB(0xe4, 0xe4, 0xe4);

// Width of a frame line at a scale: one device pixel.
int LineWidth(double scale);

// How a flat button is drawn.
enum class ButtonLook {
    Dialog,      // black frame on white, heavier when default or focused
    TitleStrip,  // white frame on the title strip's blue
    MenuBar,     // no frame; inverted in blue while pressed or open
};

struct ButtonState {
    bool pressed = false;
    bool focused = false;
    bool isDefault = false;
    bool disabled = false;
};

// Draws a flat button with its text centred on one line in `font`.
void DrawFlatButton(HDC dc, const RECT& rect, const wchar_t* text, HFONT font, ButtonLook look,
                    const ButtonState& state, double scale);

}  // namespace mirabo::windows
