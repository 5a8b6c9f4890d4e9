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
    {L"\uFF15", false, false, 0},   {L"-5-", false, false, 0},   {L"5.-", false, false, 0},
};
// clang-format on

TEST(NumberTextTest, VerdictsAndValuesFollowTheTable) {
    for (const Verdict& v : kVerdicts) {
        SCOPED_TRACE(testing::Message() << "text of length " << std::wcslen(v.text));
        EXPECT_EQ(CheckSignedNumberText(v.text), v.signedValid ? kValid : kRejected);
        EXPECT_EQ(CheckUnsignedNumberText(v.text), v.unsignedValid ? kValid : kRejected);
        if (v.signedValid) {
            EXPECT_EQ(FieldTextToDouble(v.text), v.value);
        }
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
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(FieldTextToDouble(c.text), c.value);
    }
    EXPECT_TRUE(std::signbit(FieldTextToDouble(L"-0")));
}

}  // namespace
}  // namespace mirabo
