#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>

#include "calc/angles.h"
#include "calc/result_output.h"

namespace mirabo {
namespace {

std::wstring Format(double value, SignStyle sign) {
    FieldBuffer buffer;
    EXPECT_TRUE(FormatResult(value, sign, buffer));
    return buffer;
}

TEST(ResultOutputTest, ThreeDecimalsLikePrintf) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        SignStyle sign;
        const wchar_t* text;
        // clang-format off
    } cases[] = {
        {1234.5678, SignStyle::NegativeOnly, L"1234.568"},
        {0.3333333, SignStyle::NegativeOnly, L"0.333"},
        {-3, SignStyle::NegativeOnly, L"-3.000"},
        {-1.0e-9, SignStyle::NegativeOnly, L"-0.000"},
        {0, SignStyle::Always, L"+0.000"},
        {1234.5678, SignStyle::Always, L"+1234.568"},
        {-2.05e-10, SignStyle::Always, L"-0.000"},
        {0.0005, SignStyle::NegativeOnly, L"0.001"},   // 0.0005 lies just above the tie
        {2.9375, SignStyle::NegativeOnly, L"2.938"},
        {1e20, SignStyle::NegativeOnly, L"100000000000000000000.000"},
        {inf, SignStyle::NegativeOnly, L"\u221E"},
        {-inf, SignStyle::NegativeOnly, L"-\u221E"},
        {inf, SignStyle::Always, L"+\u221E"},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(Format(c.value, c.sign), c.text) << c.value;
    }
}

TEST(ResultOutputTest, TextsBeyondTheFieldAreRefusedNotCut) {
    // 95 integer digits + ".000" = 99 characters: the longest that fits.
    EXPECT_EQ(Format(1e94, SignStyle::NegativeOnly).size(), 99u);
    EXPECT_EQ(Format(-1e93, SignStyle::NegativeOnly).size(), 99u);
    FieldBuffer buffer;
    EXPECT_FALSE(FormatResult(1e95, SignStyle::NegativeOnly, buffer));
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_FALSE(FormatResult(-1e94, SignStyle::NegativeOnly, buffer));
    EXPECT_FALSE(FormatResult(1e94, SignStyle::Always, buffer));
    EXPECT_FALSE(FormatResult(std::numeric_limits<double>::max(), SignStyle::Always, buffer));
}

TEST(AnglesTest, ConversionsUseTheProgramsPi) {
    EXPECT_EQ(DegreesToRadians(0), 0.0);
    EXPECT_EQ(RadiansToDegrees(0), 0.0);
    EXPECT_EQ(DegreesToRadians(90), PI_APPROX / 2);
    EXPECT_EQ(std::bit_cast<unsigned long long>(PI_APPROX), 0x400921FB54524550ull);
    EXPECT_NEAR(RadiansToDegrees(std::atan(1.0)), 44.999999994, 1e-9);
    EXPECT_NEAR(std::sin(DegreesToRadians(30)), 0.50000000006, 1e-11);
    EXPECT_NEAR(std::cos(DegreesToRadians(90)), -2.05e-10, 1e-12);
    EXPECT_NEAR(std::tan(DegreesToRadians(90)), -4.876e9, 1e6);
}

}  // namespace
}  // namespace mirabo
