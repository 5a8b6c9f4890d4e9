#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>
#include <utility>

#include "calc/memory_form.h"
#include "calc/messages.h"
#include "calc/solvers.h"
#include "res/resource.h"
#include "tests/calc/form_checks.h"

namespace mirabo {
namespace {

constexpr std::array<int, 5> kIds = {IDC_RIGHT_A, IDC_RIGHT_B, IDC_RIGHT_C, IDC_RIGHT_ALPHA, IDC_RIGHT_BETA};

// Texts typed into a, b, c, alpha and beta; nullptr leaves the field empty.
using Typed = std::array<const wchar_t*, 5>;
using Texts = std::array<std::wstring, 5>;
MemoryForm Typing(const Typed& typed) { return TypedInto(kIds, typed); }
Texts Fields(const MemoryForm& form) { return TextsIn(form, kIds); }

constexpr const wchar_t* _ = nullptr;

TEST(RightTriangleTest, EveryPairAndEdgeGivesItsTexts) {
    const struct {
        Typed typed;
        Texts after;
    } rows[] = {
        {{L"3", L"4", _, _, _}, {L"3.000", L"4.000", L"5.000", L"53.130", L"36.870"}},
        {{L"3", _, L"5", _, _}, {L"3.000", L"4.000", L"5.000", L"53.130", L"36.870"}},
        {{_, L"4", L"5", _, _}, {L"3.000", L"4.000", L"5.000", L"53.130", L"36.870"}},
        {{L"3", _, _, L"53.13", _}, {L"3.000", L"4.000", L"5.000", L"53.130", L"36.870"}},
        {{L"3", _, _, _, L"36.87"}, {L"3.000", L"4.000", L"5.000", L"53.130", L"36.870"}},
        {{_, L"4", _, L"53.13", _}, {L"3.000", L"4.000", L"5.000", L"53.130", L"36.870"}},
        {{_, L"4", _, _, L"36.87"}, {L"3.000", L"4.000", L"5.000", L"53.130", L"36.870"}},
        {{_, _, L"5", L"53.13", _}, {L"3.000", L"4.000", L"5.000", L"53.130", L"36.870"}},
        {{_, _, L"5", _, L"36.87"}, {L"3.000", L"4.000", L"5.000", L"53.130", L"36.870"}},
        {{L"1", _, _, L"45", _}, {L"1.000", L"1.000", L"1.414", L"45.000", L"45.000"}},
        {{_, _, L"2", L"30", _}, {L"1.732", L"1.000", L"2.000", L"30.000", L"60.000"}},
        {{_, L"3", _, _, L"60"}, {L"5.196", L"3.000", L"6.000", L"30.000", L"60.000"}},
        {{L"3", L"4", L"6", _, _}, {L"4.472", L"4.000", L"6.000", L"41.810", L"48.190"}},
        {{L"3", L"4", L"5", L"10", L"20"}, {L"1.710", L"4.698", L"5.000", L"70.000", L"20.000"}},
        {{L"3", L"4", L"abc", _, _}, {L"3.000", L"4.000", L"5.000", L"53.130", L"36.870"}},
        {{L"+3", L"4", _, _, _}, {L"3.000", L"4.000", L"5.000", L"53.130", L"36.870"}},
        {{L"0", L"4", _, _, _}, {L"0.000", L"4.000", L"4.000", L"90.000", L"0.000"}},
        {{L"3", L"0", _, _, _}, {L"3.000", L"0.000", L"3.000", L"0.000", L"90.000"}},
        {{L"5", _, L"5", _, _}, {L"5.000", L"0.000", L"5.000", L"0.000", L"90.000"}},
        {{_, _, L"5", L"0", _}, {L"5.000", L"0.000", L"5.000", L"0.000", L"90.000"}},
        {{_, _, L"5", _, L"90"}, {L"5.000", L"-0.000", L"5.000", L"0.000", L"90.000"}},
        {{L"1", _, _, L"90", _}, {L"1.000", L"-4875588902.822", L"4875588902.822", L"90.000", L"0.000"}},
        {{L"1", _, _, _, L"0"}, {L"1.000", L"-4875588902.822", L"4875588902.822", L"90.000", L"0.000"}},
        {{_, L"3", _, _, L"90"}, {L"14626766708.465", L"3.000", L"-14626766708.465", L"0.000", L"90.000"}},
        {{L"3", _, _, L"120", _}, {L"3.000", L"-5.196", L"6.000", L"120.000", L"-30.000"}},
        {{_, _, L"5", L"100", _}, {L"-0.868", L"4.924", L"5.000", L"100.000", L"-10.000"}},
        // A minus sign makes b unusable; with c the pair is a and c, b overwritten.
        {{L"3", L"-4", L"5", _, _}, {L"3.000", L"4.000", L"5.000", L"53.130", L"36.870"}},
    };
    for (const auto& row : rows) {
        MemoryForm form = Typing(row.typed);
        EXPECT_EQ(SolveRightTriangle(form), kDone);
#if !defined(__GLIBC__) && !defined(_WIN32)
        // Next to tan's pole (an angle of 90 degrees with the program's pi)
        // the digits of the side come from the C library's tan; these are
        // GNU libc's, and the Windows build's (calc/elementary.h). Elsewhere
        // the sides are checked for their size and signs, and the other
        // fields as they are.
        const bool nextToThePole = row.after[0].size() > 12;
        if (nextToThePole) {
            const Texts texts = Fields(form);
            EXPECT_EQ(texts[0].size(), row.after[0].size());
            EXPECT_EQ(L"-" + texts[0], texts[2]);
            EXPECT_EQ(texts[1], row.after[1]);
            EXPECT_EQ(texts[3], row.after[3]);
            EXPECT_EQ(texts[4], row.after[4]);
        }
#else
        const bool nextToThePole = false;
#endif
        if (!nextToThePole) {
            EXPECT_EQ(Fields(form), row.after) << "a=" << row.after[0].size();
        }
        EXPECT_TRUE(form.Messages().empty());
        EXPECT_FALSE(form.Focus().has_value());
    }
}

TEST(RightTriangleTest, UnroundedValuesCarryTheProgramsPi) {
    MemoryForm form = Typing({L"0", L"4", _, _, _});
    SolveRightTriangle(form);
    EXPECT_NEAR(form.Values().at(IDC_RIGHT_ALPHA), 89.99999998824845, 1e-12);
    EXPECT_NEAR(form.Values().at(IDC_RIGHT_BETA), 1.18e-8, 1e-10);

    MemoryForm caseFour = Typing({L"3", _, _, L"53.13", _});
    SolveRightTriangle(caseFour);
    EXPECT_NEAR(caseFour.Values().at(IDC_RIGHT_B), 3.99998511, 1e-8);
}

// Every row with inputs whose results depend on the order of the operations
// to the last bit; the expected values are computed here by each row's
// formulas, step by step in their order.
TEST(RightTriangleTest, ExactValuesFollowEachRowsOrderOfOperations) {
    using Values = std::array<double, 5>;
    const struct {
        Typed typed;
        Values (*expected)();
        // clang-format off
    } cases[] = {
        {{L"3.3", L"4.7", _, _, _}, [] {
             const double a = 3.3, b = 4.7, c = Sqrt(Squared(b) + Squared(a));
             const double alpha = ToDegrees(Atan(b / a));
             return Values{a, b, c, alpha, 90.0 - alpha};
         }},
        {{L"3.3", _, L"7.1", _, _}, [] {
             const double a = 3.3, c = 7.1, b = Sqrt(Squared(c) - Squared(a));
             const double alpha = ToDegrees(Acos(a / c));
             return Values{a, b, c, alpha, 90.0 - alpha};
         }},
        {{_, L"4.7", L"7.1", _, _}, [] {
             const double b = 4.7, c = 7.1, a = Sqrt(Squared(c) - Squared(b));
             const double alpha = ToDegrees(Asin(b / c));
             return Values{a, b, c, alpha, 90.0 - alpha};
         }},
        {{L"3.3", _, _, L"17.9", _}, [] {
             const double a = 3.3, alpha = 17.9, b = Tan(ToRadians(alpha)) * a;
             return Values{a, b, Sqrt(Squared(b) + Squared(a)), alpha, 90.0 - alpha};
         }},
        {{L"3.3", _, _, _, L"0.1"}, [] {
             const double a = 3.3, beta = 0.1, alpha = 90.0 - beta, b = Tan(ToRadians(alpha)) * a;
             return Values{a, b, Sqrt(Squared(b) + Squared(a)), alpha, beta};
         }},
        {{_, L"4.7", _, L"17.9", _}, [] {
             const double b = 4.7, alpha = 17.9, c = b / Sin(ToRadians(alpha));
             return Values{Sqrt(Squared(c) - Squared(b)), b, c, alpha, 90.0 - alpha};
         }},
        {{_, L"4.7", _, _, L"77.3"}, [] {
             const double b = 4.7, beta = 77.3, c = b / Cos(ToRadians(beta));
             return Values{Sqrt(Squared(c) - Squared(b)), b, c, 90.0 - beta, beta};
         }},
        {{_, _, L"7.1", L"0.1", _}, [] {
             const double c = 7.1, alpha = 0.1, a = Cos(ToRadians(alpha)) * c;
             return Values{a, Sqrt(Squared(c) - Squared(a)), c, alpha, 90.0 - alpha};
         }},
        {{_, _, L"7.1", _, L"12.7"}, [] {
             const double c = 7.1, beta = 12.7, b = Cos(ToRadians(beta)) * c;
             return Values{Sqrt(Squared(c) - Squared(b)), b, c, 90.0 - beta, beta};
         }},
    };
    // clang-format on
    ExpectExactValues(SolveRightTriangle, kIds, cases);
}

using Refused = Refusal<5>;

TEST(RightTriangleTest, NoUsablePairIsMissingInput) {
    const Refused cases[] = {
        {{_, _, _, L"30", L"60"}, MSG_MISSING_INPUT, kStopped},
        {{L"3", L"-4", _, _, _}, MSG_MISSING_INPUT, kStopped},
        {{_, _, _, _, _}, MSG_MISSING_INPUT, kStopped},
        {{L"3", _, _, _, _}, MSG_MISSING_INPUT, kStopped},
        {{L"3", L"4 ", _, _, _}, MSG_MISSING_INPUT, kStopped},
        {{L"1e5", L"4", _, _, _}, MSG_MISSING_INPUT, kStopped},
    };
    ExpectRefused(SolveRightTriangle, kIds, cases);
}

TEST(RightTriangleTest, NaNResultsWriteNothing) {
    const Refused cases[] = {
        {{L"0", L"0", _, _, _}, MSG_CALC_EXCEPTION, kDone},
        {{L"5", _, L"3", _, _}, MSG_CALC_EXCEPTION, kDone},
        {{_, L"5", L"3", _, _}, MSG_CALC_EXCEPTION, kDone},
        {{_, L"0", _, L"0", _}, MSG_CALC_EXCEPTION, kDone},
        {{L"0", _, L"0", _, _}, MSG_CALC_EXCEPTION, kDone},
    };
    ExpectRefused(SolveRightTriangle, kIds, cases);
}

TEST(RightTriangleTest, InfiniteSidesAreShownOnlyWhenTheUserAgrees) {
    ExpectAskedOnceAtTheFirst(SolveRightTriangle, kIds, {_, L"3", _, L"0", _}, IDC_RIGHT_A,
                              {L"\u221E", L"3.000", L"\u221E", L"0.000", L"90.000"});
}

TEST(RightTriangleTest, EveryCalculationAsksAgain) {
    MemoryForm form = Typing({_, L"3", _, L"0", _});
    form.SetAnswerer([](int) { return kAnswerYes; });
    SolveRightTriangle(form);
    form.SetText(IDC_RIGHT_A, L"");
    form.SetText(IDC_RIGHT_C, L"");
    form.SetText(IDC_RIGHT_BETA, L"");
    SolveRightTriangle(form);
    EXPECT_EQ(form.Messages().size(), 2u);
}

TEST(RightTriangleTest, ResultsTooLongForAFieldAreRefused) {
    // A leg of 96 digits makes the hypotenuse's text 100 characters.
    const std::wstring leg(96, L'9');
    const Refused refused[] = {{{leg.c_str(), L"4", _, _, _}, MSG_CALC_EXCEPTION, kDone}};
    ExpectRefused(SolveRightTriangle, kIds, refused);

    // A tiny angle with a long leg: c is finite but its square overflows, so a
    // is infinite; after a Yes, the texts of b and c are too long to show.
    const std::wstring longLeg = L"1" + std::wstring(98, L'0');
    const std::wstring tinyAngle = L"0." + std::wstring(57, L'0') + L"1";
    MemoryForm agreed = Typing({_, longLeg.c_str(), _, tinyAngle.c_str(), _});
    agreed.SetAnswerer([](int) { return kAnswerYes; });
    EXPECT_EQ(SolveRightTriangle(agreed), kDone);
    ASSERT_EQ(agreed.Messages().size(), 2u);
    EXPECT_EQ(agreed.Messages()[0].id, MSG_CONFIRM_NONFINITE);
    EXPECT_EQ(agreed.Messages()[1].id, MSG_CALC_EXCEPTION);
    EXPECT_FALSE(agreed.Written());
}

TEST(RightTriangleTest, FieldsAreReadAsTheirFirst99Characters) {
    // 120 digits: 98 zeros, a 3, then fours that fall beyond the 99th character.
    const std::wstring typed = std::wstring(98, L'0') + L"3" + std::wstring(21, L'4');
    MemoryForm form = Typing({typed.c_str(), L"4", _, _, _});
    EXPECT_EQ(SolveRightTriangle(form), kDone);
    EXPECT_EQ(Fields(form), (Texts{L"3.000", L"4.000", L"5.000", L"53.130", L"36.870"}));
}

}  // namespace
}  // namespace mirabo
