// The desktop layer's arithmetic: dialog units kept on the controls, the
// conversion back from the dialog manager's pixels, and the screen's scale;
// and the focus mark of a dialog's button, drawn clear of its text.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "platform/windows/dialog_look.h"
#include "platform/windows/handheld_fonts.h"
#include "platform/windows/screen_frame.h"
#include "platform/windows/strip_paint.h"

namespace mirabo::windows {
namespace {

// A rectangle's left, top, width and height.
std::array<LONG, 4> PlaceAndSize(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

TEST(DialogUnitsTest, PackedRectanglesComeBackAsTheyWere) {
    const RECT cases[] = {
        {0, 0, 0, 0},
        {147, 0, 207, 13},
        {-5, -7, 10, 20},
        {0, 3, 68, 76},
        {16383, 16383, 16383, 16383},
        {-16384, -16384, -16384, -16384},
    };
    for (const RECT& r : cases) {
        const ULONG_PTR packed = PackDialogRect(r);
        EXPECT_NE(packed, 0u);
        const RECT back = UnpackDialogRect(packed);
        EXPECT_EQ(PlaceAndSize(back), PlaceAndSize(r));
    }
}

TEST(DialogUnitsTest, PixelsGoBackToTheNearestUnits) {
    // Base units in 1/1000 pixel as MapDialogRect gives them, and template
    // rectangles mapped to pixels as the dialog manager maps them.
    const struct {
        int baseX, baseY;
        RECT units;
    } cases[] = {
        {6000, 12000, {147, 0, 207, 13}}, {6000, 12000, {10, 0, 95, 85}},
        {7000, 16000, {33, 9, 63, 20}},   {5000, 13000, {134, 27, 178, 39}},
        {8000, 18000, {1, 1, 2, 2}},      {6500, 12500, {164, 105, 207, 119}},
    };
    for (const auto& c : cases) {
        const RECT pixels = {
            MulDiv(c.units.left, c.baseX, 4000), MulDiv(c.units.top, c.baseY, 8000),
            MulDiv(c.units.left, c.baseX, 4000) + MulDiv(c.units.right - c.units.left, c.baseX, 4000),
            MulDiv(c.units.top, c.baseY, 8000) + MulDiv(c.units.bottom - c.units.top, c.baseY, 8000)};
        const RECT back = PixelsToDialogUnits(pixels, c.baseX, c.baseY);
        EXPECT_EQ(PlaceAndSize(back), PlaceAndSize(c.units)) << c.baseX << " " << c.baseY;
    }
}

TEST(ScreenScaleTest, TwiceTheDisplayScalingWhereItFits) {
    const RECT fullHd = {0, 0, 1920, 1040};
    const RECT small = {0, 0, 1024, 728};
    const struct {
        double requested;
        UINT dpi;
        RECT work;
        double scale;
    } cases[] = {
        {2, 96, fullHd, 2},  {2, 144, fullHd, 3}, {2, 192, fullHd, 4}, {2, 120, fullHd, 2.5},
        {2, 240, fullHd, 4}, {1, 96, fullHd, 1},  {3, 96, small, 2},   {2, 96, RECT{0, 0, 300, 200}, 1},
        {8, 96, fullHd, 4},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(FittingScale(c.requested, c.dpi, c.work, 16, 40), c.scale)
            << c.requested << " at " << c.dpi << " dpi";
    }
}

// A dialog's button drawn into memory, its pixels read back.
std::vector<COLORREF> DrawnButton(SIZE size, const wchar_t* text, HFONT font, const ButtonState& state,
                                  double scale) {
    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DrawFlatButton(dc, RECT{0, 0, size.cx, size.cy}, text, font, ButtonLook::Dialog, state, scale);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(NULL, screen);
    return pixels;
}

// What the focus changes in a button's picture lies outside its text's ink
// (the pixels the text itself puts on the button) at every scale: the
// default button, 計算する, at its size in the right triangle (43 x 12
// dialog units), where Wine's stand-in for the dialog font can leave no row
// between the frame and the glyphs.
TEST(FocusMarkTest, StaysClearOfTheButtonsText) {
    for (double scale : {1.0, 1.5, 2.0, 2.5, 3.0, 4.0}) {
        SCOPED_TRACE(scale);
        const DialogFont font = CreateDialogFont(L"MS UI Gothic", 9, scale);
        const SIZE size = {MulDiv(43, font.baseX, 4), MulDiv(12, font.baseY, 8)};
        const wchar_t* text = L"\u8A08\u7B97\u3059\u308B";
        ButtonState plain;
        plain.isDefault = true;
        ButtonState focused = plain;
        focused.focused = true;
        const std::vector<COLORREF> blank = DrawnButton(size, L"", font.font, plain, scale);
        const std::vector<COLORREF> unfocused = DrawnButton(size, text, font.font, plain, scale);
        const std::vector<COLORREF> withFocus = DrawnButton(size, text, font.font, focused, scale);
        DeleteObject(font.font);
        auto at = [&](int x, int y) { return static_cast<std::size_t>(y) * size.cx + x; };
        auto onInk = [&](int x, int y) { return blank[at(x, y)] != unfocused[at(x, y)]; };
        RECT ink = {size.cx, size.cy, -1, -1};
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x)
                if (blank[at(x, y)] != unfocused[at(x, y)]) {
                    ink.left = std::min<LONG>(ink.left, x);
                    ink.top = std::min<LONG>(ink.top, y);
                    ink.right = std::max<LONG>(ink.right, x);
                    ink.bottom = std::max<LONG>(ink.bottom, y);
                }
        int changed = 0, onText = 0;
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x) {
                if (unfocused[at(x, y)] == withFocus[at(x, y)]) continue;
                ++changed;
                if (onInk(x, y)) ++onText;
            }
        EXPECT_GT(changed, 0) << "no focus mark";
        EXPECT_EQ(onText, 0) << "the focus mark touches the text in " << onText << " pixels of a " << size.cx
                             << "x" << size.cy << " button, its text's ink " << ink.left << "," << ink.top
                             << " to " << ink.right << "," << ink.bottom;
    }
}

}  // namespace
}  // namespace mirabo::windows
