#include <gtest/gtest.h>

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

MemoryForm Typed(const wchar_t* x, const wchar_t* y, const wchar_t* angle) {
    MemoryForm form;
    form.SetText(IDC_COORD_X, x);
    form.SetText(IDC_COORD_Y, y);
    form.SetText(IDC_COORD_ANGLE, angle);
    return form;
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
        EXPECT_EQ(form.Text(IDC_COORD_X_RESULT), c.xMoved);
        EXPECT_EQ(form.Text(IDC_COORD_Y_RESULT), c.yMoved);
        EXPECT_EQ(form.Text(IDC_COORD_ANGLE), c.angleAfter);
        EXPECT_EQ(form.Text(IDC_COORD_X), c.x);
        EXPECT_EQ(form.Text(IDC_COORD_Y), c.y);
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

TEST(CoordinateRotationTest, RefusedCalculationsWriteNothing) {
    // 96 digits: X' = 1e95, whose "%+.3f" text has 101 characters.
    const std::wstring huge = L"1" + std::wstring(95, L'0');
    const struct {
        const wchar_t *x, *y, *angle;
        int message;
        SolveResult result;  // kStopped, with the focus on field x, only for missing input
        // clang-format off
    } cases[] = {
        {L"", L"4", L"30", MSG_MISSING_INPUT, kStopped},
        {L"3", L"", L"30", MSG_MISSING_INPUT, kStopped},
        {L"3", L"4", L"", MSG_MISSING_INPUT, kStopped},
        {L"1.2.3", L"4", L"30", MSG_MISSING_INPUT, kStopped},
        {L"3", L"1.2.3", L"30", MSG_MISSING_INPUT, kStopped},
        {L"3", L"4", L"1.2.3", MSG_MISSING_INPUT, kStopped},
        {L"5-", L"4", L"30", MSG_MISSING_INPUT, kStopped},
        {L"3", L"5-", L"30", MSG_MISSING_INPUT, kStopped},
        {L"3", L"4", L"5-", MSG_MISSING_INPUT, kStopped},
        {L"3", L"4", L"1e5", MSG_MISSING_INPUT, kStopped},
        {huge.c_str(), L"0", L"0", MSG_CALC_EXCEPTION, kDone},
    };
    // clang-format on
    for (const auto& c : cases) {
        MemoryForm form = Typed(c.x, c.y, c.angle);
        form.SetText(IDC_COORD_X_RESULT, L"+1.000");  // what an earlier calculation showed
        SCOPED_TRACE(testing::PrintToString(std::vector<std::wstring>{c.x, c.y, c.angle}));
        EXPECT_EQ(RotateCoordinates(form), c.result);
        ASSERT_TRUE(ShowedOnly(form, c.message, kButtonsOk));
        EXPECT_EQ(form.Focus().has_value(), c.result == kStopped);
        EXPECT_EQ(form.Focus().value_or(IDC_COORD_X), IDC_COORD_X);
        EXPECT_FALSE(form.Written());
        EXPECT_EQ(form.Text(IDC_COORD_X_RESULT), L"+1.000");
        EXPECT_EQ(form.Text(IDC_COORD_ANGLE), c.angle);
    }
}

}  // namespace
}  // namespace mirabo
