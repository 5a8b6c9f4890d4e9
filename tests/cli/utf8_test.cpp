#include <gtest/gtest.h>

#include "cli/utf8.h"

namespace mirabo {
namespace {

TEST(Utf8Test, RoundTripsAndReplacesMalformedBytes) {
    const struct {
        std::string bytes;
        std::wstring text;
        std::string back;
        // clang-format off
    } cases[] = {
        {"3.5", L"3.5", "3.5"},
        {"α∞", L"\u03B1\u221E", "α∞"},
        {"\xF0\x9F\x98\x80", L"\U0001F600", "\xF0\x9F\x98\x80"},
        {"a\xFF" "b", L"a\uFFFD" "b", "a\xEF\xBF\xBD" "b"},
        {"\xE3\x81", L"\uFFFD\uFFFD", "\xEF\xBF\xBD\xEF\xBF\xBD"},  // cut short
        {"\xC0\xAF", L"\uFFFD\uFFFD", "\xEF\xBF\xBD\xEF\xBF\xBD"},  // overlong
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // surrogate
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(WideFromUtf8(c.bytes), c.text) << c.bytes;
        EXPECT_EQ(Utf8FromWide(WideFromUtf8(c.bytes)), c.back) << c.bytes;
    }
}

}  // namespace
}  // namespace mirabo
