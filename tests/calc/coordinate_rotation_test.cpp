#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "calc/memory_form.h"
#include "calc/messages.h"
#include "calc/solvers.h"
#include "res/resource.h"
#include "tests/calc/form_checks.h"

namespace mirabo {
namespace {

// Fields x, y and angle, and the point after the turn.
constexpr std::array<int, 5> kIds = {IDC_COORD_X, IDC_COORD_Y, IDC_COORD_ANGLE, IDC_COORD_X_RESULT,
                                     IDC_COORD_Y_RESULT};
using Texts = std::array<std::wstring, 5>;
constexpr const wchar_t* _ = nullptr;  // a field left empty

MemoryForm Typed(const wchar_t* x, const wchar_t* y, const wchar_t* angle) {
    return TypedInto(kIds, {x, y, angle, _, _});
}

TEST(CoordinateRotationTest, TurnsThePointAndRewritesOnlyTheAngle) {
    const struct {
        const wchar_t *x, *y, *angle;
        const wchar_t *xMoved, *yMoved, *angleAfter;
    } cases[] = {
        {L"3", L"4", L"30", L"+0.598", L"+4.964", L"+30.000"},
        {L"100", L"50", L"12.5", L"+86.808", L"+70.459", L"+12.500"},
        {L"1", L"0", L"90", L"-0.000", L"+1.000", L"+90.000"},
        {L"2", L"0", L"180", L"-2.000", L"-0.000", L"+180.000"},
        {L"0", L"1", L"-90", L"+1.000", L"-0.000", L"-90.000"},
        {L"10", L"0", L"360", L"+10.000", L"+0.000", L"+360.000"},
        {L"5", L"-2", L"0", L"+5.000", L"-2.000", L"+0.000"},
        {L"-", L"+.", L".", L"+0.000", L"+0.000", L"+0.000"},
        // A negative zero angle shows its sign, and so does -0 - 0.
        {L"3", L"4", L"-0", L"+3.000", L"+4.000", L"-0.000"},
        {L"-0", L"0", L"0", L"-0.000", L"+0.000", L"+0.000"},
    };
    const std::vector<int> writeOrder = {IDC_COORD_X_RESULT, IDC_COORD_Y_RESULT, IDC_COORD_ANGLE};
    for (const auto& c : cases) {
        MemoryForm form = Typed(c.x, c.y, c.angle);
        SCOPED_TRACE(testing::PrintToString(std::vector<std::wstring>{c.x, c.y, c.angle}));
        EXPECT_EQ(RotateCoordinates(form), kDone);
        EXPECT_EQ(TextsIn(form, kIds), (Texts{c.x, c.y, c.angleAfter, c.xMoved, c.yMoved}));
        EXPECT_EQ(form.WrittenFields(), writeOrder);
        EXPECT_TRUE(form.Messages().empty());
    }
}

// The results with inputs whose last bits depend on the order of the
// operations, computed here as written: each product first, then the
// difference or the sum.
TEST(CoordinateRotationTest, ExactValuesFollowTheOrderOfOperations) {
    const struct {
        const wchar_t *x, *y, *angle;
        double xValue, yValue, angleValue;
        // clang-format off
    } cases[] = {
        {L"3.3", L"-4.7", L"12.7", 3.3, -4.7, 12.7},
        {L"3.3", L"4.7", L"0.1", 3.3, 4.7, 0.1},
        {L"-1.1", L"2.9", L"17.9", -1.1, 2.9, 17.9},
        {L"100", L"50", L"12.5", 100.0, 50.0, 12.5},
        {L"0.7", L"-0.3", L"-61.7", 0.7, -0.3, -61.7},
    };
    // clang-format on
    for (const auto& c : cases) {
        MemoryForm form = Typed(c.x, c.y, c.angle);
        ASSERT_EQ(RotateCoordinates(form), SolveResult::Done);
        const double r = ToRadians(c.angleValue);
        const double xProduct = Cos(r) * c.xValue, ySubtrahend = Sin(r) * c.yValue;
        const double yProduct = Cos(r) * c.yValue, yAddend = Sin(r) * c.xValue;
        EXPECT_TRUE(SameBits(form, 1006, xProduct - ySubtrahend)) << c.angleValue;
        EXPECT_TRUE(SameBits(form, 1007, yProduct + yAddend)) << c.angleValue;
        EXPECT_TRUE(SameBits(form, 1003, c.angleValue));
    }
}

// The texts of x, y and angle are kept, and so is what an earlier
// calculation showed.
TEST(CoordinateRotationTest, RefusedCalculationsWriteNothing) {
    // 96 digits: X' = 1e95, whose "%+.3f" text has 101 characters.
    const std::wstring huge = L"1" + std::wstring(95, L'0');
    const wchar_t* earlier = L"+1.000";
    // clang-format off
    const Refusal<5> cases[] = {
        {{L"", L"4", L"30", earlier, _},         MSG_MISSING_INPUT, kStopped},
        {{L"3", L"", L"30", earlier, _},         MSG_MISSING_INPUT, kStopped},
        {{L"3", L"4", L"", earlier, _},          MSG_MISSING_INPUT, kStopped},
        {{L"1.2.3", L"4", L"30", earlier, _},    MSG_MISSING_INPUT, kStopped},
        {{L"3", L"1.2.3", L"30", earlier, _},    MSG_MISSING_INPUT, kStopped},
        {{L"3", L"4", L"1.2.3", earlier, _},     MSG_MISSING_INPUT, kStopped},
        {{L"5-", L"4", L"30", earlier, _},       MSG_MISSING_INPUT, kStopped},
        {{L"3", L"5-", L"30", earlier, _},       MSG_MISSING_INPUT, kStopped},
        {{L"3", L"4", L"5-", earlier, _},        MSG_MISSING_INPUT, kStopped},
        {{L"3", L"4", L"1e5", earlier, _},       MSG_MISSING_INPUT, kStopped},
        {{huge.c_str(), L"0", L"0", earlier, _}, MSG_CALC_EXCEPTION, kDone},
    };
    // clang-format on
    ExpectRefused(RotateCoordinates, kIds, cases);
}

}  // namespace
}  // namespace mirabo
