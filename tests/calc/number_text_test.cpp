#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/number_text.h"

namespace mirabo {
namespace {

constexpr NumberTextVerdict kValid = NumberTextVerdict::Valid;
constexpr NumberTextVerdict kRejected = NumberTextVerdict::Rejected;

struct Verdict {
    const wchar_t* text;
    bool signedValid;
    bool unsignedValid;
    double value;  // what the text reads as, when valid
};

// clang-format off
const Verdict kVerdicts[] = {
    {L"12", true, true, 12},        {L"12.5", true, true, 12.5}, {L".5", true, true, 0.5},
    {L"5.", true, true, 5},         {L"007", true, true, 7},     {L"+3", true, true, 3},
    {L"+.5", true, true, 0.5},      {L"-3", true, false, -3},    {L"-.5", true, false, -0.5},
    {L"+", true, true, 0},          {L".", true, true, 0},       {L"+.", true, true, 0},
    {L"-", true, false, 0},         {L"", false, false, 0},      {L"1.2.3", false, false, 0},
    {L"..", false, false, 0},       {L"3-", false, false, 0},    {L"3+", false, false, 0},
    {L"+-3", false, false, 0},      {L"--3", false, false, 0},   {L"++3", false, false, 0},
    {L"1e5", false, false, 0},      {L" 5", false, false, 0},    {L"5 ", false, false, 0},
    {L"1,000", false, false, 0},    {L"12a", false, false, 0},   {L" ", false, false, 0},
    {L"-5-", false, false, 0},      {L"5.-", false, false, 0},
};
// clang-format on

// What a Japanese input method types: full-width digits, full stop, plus and
// hyphen-minus, and the minus sign, alone and mixed with ASCII. Each is allowed
// where its ASCII counterpart is and reads as it; every other full-width or
// look-alike character is rejected.
// clang-format off
const Verdict kFullWidthVerdicts[] = {
    {L"\uFF10\uFF11\uFF12\uFF13\uFF14\uFF15\uFF16\uFF17\uFF18\uFF19", true,  true,  123456789},  // ０１２３４５６７８９
    {L"\uFF11\uFF12",                         true,  true,  12},         // １２
    {L"\uFF11\uFF12\uFF0E\uFF15",             true,  true,  12.5},       // １２．５
    {L"1\uFF12",                              true,  true,  12},         // 1２
    {L"\uFF11" L"2.\uFF15",                   true,  true,  12.5},       // １2.５
    {L"\uFF0E\uFF15",                         true,  true,  0.5},        // ．５
    {L"\uFF11\uFF12\uFF0E",                   true,  true,  12},         // １２．
    {L"\uFF0B\uFF13",                         true,  true,  3},          // ＋３
    {L"+\uFF13",                              true,  true,  3},          // +３
    {L"\uFF0B",                               true,  true,  0},          // ＋
    {L"\uFF0B\uFF0E",                         true,  true,  0},          // ＋．
    {L"\uFF0D\uFF13",                         true,  false, -3},         // －３
    {L"\u2212\uFF13",                         true,  false, -3},         // −３ (minus sign)
    {L"\u2212" L"2.5",                        true,  false, -2.5},       // −2.5
    {L"-\uFF13",                              true,  false, -3},         // -３
    {L"\uFF0D\uFF0E\uFF15",                   true,  false, -0.5},       // －．５
    {L"\uFF0D",                               true,  false, 0},          // －
    {L"\u2212",                               true,  false, 0},          // −
    {L"\uFF13\uFF0D",                         false, false, 0},          // ３－
    {L"\uFF13\uFF0B",                         false, false, 0},          // ３＋
    {L"\uFF0B\uFF0D\uFF13",                   false, false, 0},          // ＋－３
    {L"\uFF0B-3",                             false, false, 0},          // ＋-3
    {L"\u2212\u2212" L"3",                    false, false, 0},          // −−3
    {L"\uFF11\uFF0E\uFF12\uFF0E\uFF13",       false, false, 0},          // １．２．３
    {L"1.\uFF12\uFF0E" L"3",                  false, false, 0},          // 1.２．3
    {L"\uFF11\uFF45\uFF15",                   false, false, 0},          // １ｅ５
    {L"\uFF11\uFF0C\uFF10\uFF10\uFF10",       false, false, 0},          // １，０００
    {L"\uFF11\u3000\uFF12",                   false, false, 0},          // １　２ (ideographic space)
    {L"\u3000\uFF15",                         false, false, 0},          // 　５
    {L"\uFF11\uFF12\uFF41",                   false, false, 0},          // １２ａ
    {L"\u2010" L"3",                          false, false, 0},          // hyphen
    {L"\uFE63" L"3",                          false, false, 0},          // small hyphen-minus
    {L"\u2013" L"3",                          false, false, 0},          // en dash
    {L"\u0663",                               false, false, 0},          // Arabic-Indic three
    {L"\u2075",                               false, false, 0},          // superscript five
    {L"\uFF61" L"5",                          false, false, 0},          // halfwidth ideographic full stop
    {L"\u3002" L"5",                          false, false, 0},          // ideographic full stop
};
// clang-format on

template <std::size_t N>
void ExpectVerdicts(const Verdict (&verdicts)[N]) {
    for (const Verdict& v : verdicts) {
        SCOPED_TRACE(testing::Message() << "case " << (&v - verdicts) << ", length " << std::wcslen(v.text));
        EXPECT_EQ(CheckSignedNumberText(v.text), v.signedValid ? kValid : kRejected);
        EXPECT_EQ(CheckUnsignedNumberText(v.text), v.unsignedValid ? kValid : kRejected);
        if (v.signedValid) {
            EXPECT_EQ(FieldTextToDouble(v.text), v.value);
        }
    }
}

TEST(NumberTextTest, VerdictsAndValuesFollowTheTable) { ExpectVerdicts(kVerdicts); }

TEST(NumberTextTest, FullWidthTextsFollowTheRulesOfTheirAsciiCounterparts) {
    ExpectVerdicts(kFullWidthVerdicts);
}

TEST(NumberTextTest, EveryAcceptedCharacterReadsAsWhatItLooksLike) {
    // One character between "1" and "5", over the whole Basic Multilingual
    // Plane: when the checks accept the text, the conversion reads it as the
    // ASCII text it stands for, and nothing else is accepted.
    for (wchar_t c = 1; c < 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const wchar_t text[] = {L'1', c, L'5', L'\0'};
        if (CheckSignedNumberText(text) != kValid) continue;
        const double value = FieldTextToDouble(text);
        const bool digit = (c >= L'0' && c <= L'9') || (c >= 0xFF10 && c <= 0xFF19);
        const bool point = c == L'.' || c == 0xFF0E;
        ASSERT_TRUE(digit || point) << "accepted character U+" << std::hex << static_cast<int>(c);
        const int d = c >= 0xFF10 ? c - 0xFF10 : c - L'0';
        EXPECT_EQ(value, point ? 1.5 : 105 + 10 * d) << "character U+" << std::hex << static_cast<int>(c);
    }
}

TEST(NumberTextTest, EmptyMeansNoCharacters) {
    EXPECT_TRUE(IsFieldEmpty(L""));
    EXPECT_FALSE(IsFieldEmpty(L" "));
    EXPECT_FALSE(IsFieldEmpty(L"0"));
}

TEST(NumberTextTest, ConversionIsCorrectlyRoundedOverLongTexts) {
    // 99 digits: the value is the nearest double to the decimal number.
    const std::wstring nines(99, L'9');
    EXPECT_EQ(FieldTextToDouble(nines.c_str()), 1e99);
    const std::wstring tiny = L"0." + std::wstring(97, L'0') + L"1";
    EXPECT_EQ(FieldTextToDouble(tiny.c_str()), 1e-98);
    EXPECT_EQ(FieldTextToDouble(L"0.1"), 0.1);
    EXPECT_EQ(FieldTextToDouble(L"2.9375"), 2.9375);
}

TEST(NumberTextTest, RejectedTextsReadTheirLeadingNumberLikeWcstod) {
    const struct {
        const wchar_t* text;
        double value;
        // clang-format off
    } cases[] = {
        {L"12a", 12}, {L"1,000", 1}, {L" 5", 5}, {L"1e5", 1e5}, {L"abc", 0},
        {L"3-", 3},   {L"1.2.3", 1.2}, {L"1e999", HUGE_VAL}, {L"1e-999", 0},
        {L"\uFF11\uFF12\uFF41", 12},  {L"\uFF11\uFF0C\uFF10", 1}, {L"\uFF11\uFF45\uFF15", 1},
        {L"\uFF11\u3000\uFF12", 1},   {L"\uFF13\uFF0D", 3},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(FieldTextToDouble(c.text), c.value);
    }
    EXPECT_TRUE(std::signbit(FieldTextToDouble(L"-0")));
}

}  // namespace
}  // namespace mirabo
