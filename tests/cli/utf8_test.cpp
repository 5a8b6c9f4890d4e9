#include <gtest/gtest.h>

#include "text/utf8.h"

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
        {"\x7F\xC2\x80", L"\x7F\x80", "\x7F\xC2\x80"},  // the ends of one and two bytes
        {"\xDF\xBF\xE0\xA0\x80", L"\x7FF\x800", "\xDF\xBF\xE0\xA0\x80"},
        {"\xEF\xBF\xBF\xF0\x90\x80\x80", L"\xFFFF\U00010000", "\xEF\xBF\xBF\xF0\x90\x80\x80"},
        {"\xF4\x8F\xBF\xBF", L"\U0010FFFF", "\xF4\x8F\xBF\xBF"},  // the last code point
        {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD",      // beyond it
         "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xF7\xBF\xBF\xBF", L"\uFFFD\uFFFD\uFFFD\uFFFD",
         "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(WideFromUtf8(c.bytes), c.text) << c.bytes;
        EXPECT_EQ(Utf8FromWide(WideFromUtf8(c.bytes)), c.back) << c.bytes;
    }
}

TEST(Utf8Test, WideCharactersBeyondUnicodeBecomeReplacements) {
    if constexpr (sizeof(wchar_t) == 4) {
        const struct {
            std::wstring text;
            std::string bytes;
            // clang-format off
        } cases[] = {
            {std::wstring(1, static_cast<wchar_t>(0x10FFFF)), "\xF4\x8F\xBF\xBF"},
            {std::wstring(1, static_cast<wchar_t>(0x110000)), "\xEF\xBF\xBD"},
            {std::wstring(1, static_cast<wchar_t>(0xD800)),   "\xEF\xBF\xBD"},
        };
        // clang-format on
        for (const auto& c : cases) {
            EXPECT_EQ(Utf8FromWide(c.text), c.bytes);
        }
    }
}

}  // namespace
}  // namespace mirabo
