#include "calc/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>

namespace mirabo {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

std::string Shortest(double value, std::size_t room) {
    char text[64];
    const auto written = WriteShortest(text, text + room, value);
    if (written.ec != std::errc()) {
        return "<no room>";
    }
    return std::string(text, written.ptr);
}

TEST(ConversionsTest, ShortestTextIsTheFormOfFewerCharactersAndReadsBack) {
    const struct {
        double value;
        const char* text;
        // clang-format off
    } cases[] = {
        {0.1,                     "0.1"},
        {123.456,                 "123.456"},
        {-2.5,                    "-2.5"},
        {100.0,                   "100"},
        {10000.0,                 "10000"},          // as long as 1e+04: fixed
        {1e16,                    "1e+16"},
        {1.2345e16,               "1.2345e+16"},
        {123456789012345680.0,    "123456789012345680"},
        {9223372036854775808.0,   "9223372036854775808"},  // the exact integer, not ...5800
        {1e23,                    "1e+23"},
        {1.5e300,                 "1.5e+300"},
        {0.001,                   "0.001"},
        {1e-4,                    "1e-04"},
        {1.25e-7,                 "1.25e-07"},
        {5e-324,                  "5e-324"},
        {1.7976931348623157e308,  "1.7976931348623157e+308"},
        {0.0,                     "0"},
        {-0.0,                    "-0"},
        {kInfinity,               "inf"},
        {-kInfinity,              "-inf"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const std::string text = c.text;
        EXPECT_EQ(Shortest(c.value, 64), text) << c.text;
        EXPECT_EQ(Shortest(c.value, text.size()), text) << c.text;
        EXPECT_EQ(Shortest(c.value, text.size() - 1), "<no room>") << c.text;
        double read = 7.0;
        const auto result = ReadDouble(text.data(), text.data() + text.size(), read);
        EXPECT_EQ(result.ec, std::errc()) << c.text;
        EXPECT_EQ(result.ptr, text.data() + text.size()) << c.text;
        EXPECT_EQ(BitCast<std::uint64_t>(read), BitCast<std::uint64_t>(c.value)) << c.text;
    }
}

TEST(ConversionsTest, ReadingTakesTheLongestNumberAndLeavesTheValueWhenOutOfRange) {
    const struct {
        const char* text;
        std::size_t used;
        std::errc error;
        double value;  // 7 where the value is left as it was
        // clang-format off
    } cases[] = {
        {"0.1000000000000000055511151231257827", 36, std::errc(),                     0.1},
        {"1e-310",                               6,  std::errc(),                     1e-310},
        {"2.5e-324",                             8,  std::errc(),                     5e-324},
        {"0e999",                                5,  std::errc(),                     0.0},
        {"1e400",                                5,  std::errc::result_out_of_range,  7.0},
        {"-1e400",                               6,  std::errc::result_out_of_range,  7.0},
        {"2e-324",                               6,  std::errc::result_out_of_range,  7.0},
        {"1.5e",                                 3,  std::errc(),                     1.5},
        {".5x",                                  2,  std::errc(),                     0.5},
        {"-12",                                  3,  std::errc(),                     -12.0},
        {"+1",                                   0,  std::errc::invalid_argument,     7.0},
        {"x",                                    0,  std::errc::invalid_argument,     7.0},
    };
    // clang-format on
    for (const auto& c : cases) {
        const std::string text = c.text;
        double read = 7.0;
        const auto result = ReadDouble(text.data(), text.data() + text.size(), read);
        EXPECT_EQ(result.ec, c.error) << c.text;
        EXPECT_EQ(result.ptr, text.data() + c.used) << c.text;
        EXPECT_EQ(BitCast<std::uint64_t>(read), BitCast<std::uint64_t>(c.value)) << c.text;
    }
}

TEST(ConversionsTest, FixedTextHasTheExactDigitsOfLargeValues) {
    const struct {
        double value;
        const char* text;
        // clang-format off
    } cases[] = {
        {4503599627370497.0,      "4503599627370497.000"},
        {-1152921504606846976.0,  "-1152921504606846976.000"},
        {1e23,                    "99999999999999991611392.000"},
        {0.0005,                  "0.001"},  // just above half a thousandth
        {kInfinity,               "inf"},
    };
    // clang-format on
    for (const auto& c : cases) {
        char text[400];
        const auto written = WriteFixed(text, text + sizeof text, c.value, 3);
        EXPECT_EQ(written.ec, std::errc()) << c.text;
        EXPECT_EQ(std::string(text, written.ptr), c.text);
        const auto cramped = WriteFixed(text, text + std::strlen(c.text) - 1, c.value, 3);
        EXPECT_EQ(cramped.ec, std::errc::value_too_large) << c.text;
    }
}

}  // namespace
}  // namespace mirabo
