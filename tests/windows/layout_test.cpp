// The desktop layer's arithmetic: dialog units kept on the controls, the
// conversion back from the dialog manager's pixels, and the screen's scale.
#include <gtest/gtest.h>

#include "platform/windows/dialog_look.h"
#include "platform/windows/screen_frame.h"

namespace mirabo::windows {
namespace {

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
        EXPECT_EQ(back.left, r.left);
        EXPECT_EQ(back.top, r.top);
        EXPECT_EQ(back.right - back.left, r.right - r.left);
        EXPECT_EQ(back.bottom - back.top, r.bottom - r.top);
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
        EXPECT_EQ(back.left, c.units.left) << c.baseX;
        EXPECT_EQ(back.top, c.units.top) << c.baseY;
        EXPECT_EQ(back.right, c.units.right) << c.baseX;
        EXPECT_EQ(back.bottom, c.units.bottom) << c.baseY;
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

}  // namespace
}  // namespace mirabo::windows
