#include <gtest/gtest.h>

#include <string>

#include "text/terminal_text.h"

namespace mirabo {
namespace {

TEST(TerminalSafeTest, EscapesEveryControlAndInvisibleCharacterAndNothingElse) {
    using namespace std::string_literals;
    const struct {
        std::string text;
        std::string shown;
        // clang-format off
    } cases[] = {
        {"3.000",                     "3.000"},
        {"直角三角形 α=30°",           "直角三角形 α=30°"},
        {"3\nb=99",                   "3\\nb=99"},
        {"a\rb\tc",                   "a\\rb\\tc"},
        {"\x1b[2J\x1b]0;title\x07",   "\\x1b[2J\\x1b]0;title\\x07"},
        {"nul\0end"s,                 "nul\\x00end"},
        {"\x1f\x7f",                  "\\x1f\\x7f"},
        {"C:\\Users\\a.csv",          "C:\\Users\\a.csv"},  // a backslash is text
        {"\xC2\x80\xC2\x9B\xC2\x9F",  "\\u0080\\u009b\\u009f"},  // C1 controls
        {"\xC2\xA0\xC3\xBF",          "\xC2\xA0\xC3\xBF"},  // U+00A0 and U+00FF are text
        {"\x9B" "31m",                "\\x9b31m"},          // a stray byte that 8-bit terminals read as CSI
        {"\xF4\x8F\xBF\xBF",          "\xF4\x8F\xBF\xBF"},  // U+10FFFF
        {"\xF4\x90\x80\x80",          "\\xf4\\x90\\x80\\x80"},  // beyond U+10FFFF
        {"\xE3\x81",                  "\\xe3\\x81"},        // cut short
        {"\xED\xA0\x80",              "\\xed\\xa0\\x80"},   // a surrogate
        // Characters that show nothing, or turn the text's direction.
        {"\xEF\xBB\xBF" "a",           "\\ufeffa"},         // a byte-order mark
        {"1\xE2\x80\x8B" "2\xE2\x81\xA0", "1\\u200b2\\u2060"}, // zero-width space, word joiner
        {"\xE2\x80\xAE" "cba\xE2\x81\xA9", "\\u202ecba\\u2069"}, // right-to-left override, isolate end
        {"\xE2\x80\x8F\xD8\x9C\xC2\xAD", "\\u200f\\u061c\\u00ad"}, // marks, a soft hyphen
        {"\xE2\x80\xA8\xEF\xBF\xBB", "\\u2028\\ufffb"},  // a line separator, an annotation
        // Their neighbours show: a hair space, a hyphen, a narrow no-break
        // space, the replacement character.
        {"\xE2\x80\x8A\xE2\x80\x90\xE2\x80\xAF\xEF\xBF\xBD", "\xE2\x80\x8A\xE2\x80\x90\xE2\x80\xAF\xEF\xBF\xBD"},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(TerminalSafe(c.text), c.shown) << testing::PrintToString(c.text);
    }
}

}  // namespace
}  // namespace mirabo
