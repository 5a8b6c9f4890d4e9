#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "calc/angles.h"
#include "calc/conversions.h"
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
        {-0.0, SignStyle::Always, L"-0.000"},          // a negative zero keeps its sign
        {-0.0, SignStyle::NegativeOnly, L"-0.000"},
        {-0.0004, SignStyle::Always, L"-0.000"},
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

// printf itself, in the "C" locale the tests run in, as the measure.
std::wstring Printf(double value, SignStyle sign) {
    char text[400];
    std::snprintf(text, sizeof text, sign == SignStyle::Always ? "%+.3f" : "%.3f", value);
    return std::wstring(text, text + std::strlen(text));
}

TEST(ResultOutputTest, RoundsExactlyAsPrintfOverEveryRangeOfValues) {
    // clang-format off
    std::vector<double> values = {
        // Exact ties between two thousandths go to the even one.
        0.0625, 0.1875, 2.0625, 1.0005 - 0.0005, 0.0005, 4503599627370495.5, -0.0625, 1.3125,
        // Around the largest magnitude with a fraction, and beyond it.
        4503599627370495.75, 4503599627370496.0, 9007199254740991.0, 9007199254740993.0, 1e17,
        // The smallest and the tiny.
        std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(), -1e-300, 0.0, -0.0,
        0.00049999999999999999, 0.0004999999999999999, 0.0015, 0.0025, 1.0025, 999.9995, 999.9994999999999,
    };
    // clang-format on
    std::mt19937_64 random(12345);
    for (int i = 0; i < 100000; ++i) {
        // Any bit pattern with a magnitude that fits a field.
        const double any = BitCast<double>(random());
        if (std::isfinite(any) && std::fabs(any) < 1e90) {
            values.push_back(any);
        }
        // Numbers as typed, near ties: n/1000 + 1/2000, a step either way.
        const double tie = static_cast<double>(random() % 100000000) / 1000.0 + 0.0005;
        values.push_back(tie);
        values.push_back(std::nextafter(tie, 0.0));
        values.push_back(-std::nextafter(tie, 1e9));
        // Multiples of powers of two, where exact ties live.
        values.push_back(
            std::ldexp(static_cast<double>(random() % (1u << 20)), -static_cast<int>(random() % 60)));
    }
    int mismatches = 0;
    for (const double value : values) {
        for (const SignStyle sign : {SignStyle::NegativeOnly, SignStyle::Always}) {
            if (Format(value, sign) != Printf(value, sign) && ++mismatches <= 10) {
                ADD_FAILURE() << std::hexfloat << value << " gives "
                              << testing::PrintToString(Format(value, sign));
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
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
    EXPECT_EQ(BitCast<unsigned long long>(PI_APPROX), 0x400921FB54524550ull);
    EXPECT_NEAR(RadiansToDegrees(std::atan(1.0)), 44.999999994, 1e-9);
    EXPECT_NEAR(std::sin(DegreesToRadians(30)), 0.50000000006, 1e-11);
    EXPECT_NEAR(std::cos(DegreesToRadians(90)), -2.05e-10, 1e-12);
    EXPECT_NEAR(std::tan(DegreesToRadians(90)), -4.876e9, 1e6);
}

}  // namespace
}  // namespace mirabo
