#include <gtest/gtest.h>

#include <array>
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

// Fields V, I, R, P.
constexpr std::array<int, 4> kIds = {IDC_OHM_VOLTAGE, IDC_OHM_CURRENT, IDC_OHM_RESISTANCE, IDC_OHM_POWER};
using Texts = std::array<const wchar_t*, 4>;
constexpr const wchar_t* _ = nullptr;  // a field left empty

MemoryForm Typed(const Texts& typed) { return TypedInto(kIds, typed); }
using Shown = std::array<std::wstring, 4>;
Shown TextsOf(const MemoryForm& form) { return TextsIn(form, kIds); }

const std::vector<int> kAllFields(kIds.begin(), kIds.end());

TEST(OhmsLawTest, TheLastPassingTestChoosesThePair) {
    const struct {
        Texts typed;
        Shown after;
        // clang-format off
    } cases[] = {
        {{L"10", L"2", _, _}, {L"10.000", L"2.000", L"5.000", L"20.000"}},       // case 1
        {{L"12", _, L"4", _}, {L"12.000", L"3.000", L"4.000", L"36.000"}},       // case 2
        {{_, L"2", L"3", _}, {L"6.000", L"2.000", L"3.000", L"12.000"}},         // case 3
        {{L"10", _, _, L"20"}, {L"10.000", L"2.000", L"5.000", L"20.000"}},      // case 4
        {{_, L"2", _, L"20"}, {L"10.000", L"2.000", L"5.000", L"20.000"}},       // case 5
        {{L"10", L"2", L"3", _}, {L"6.000", L"2.000", L"3.000", L"12.000"}},     // 3
        {{L"10", L"2", _, L"99"}, {L"10.000", L"2.000", L"5.000", L"20.000"}},   // 1
        {{L"10", _, L"4", L"99"}, {L"10.000", L"2.500", L"4.000", L"25.000"}},   // 2
        {{_, L"2", L"4", L"99"}, {L"8.000", L"2.000", L"4.000", L"16.000"}},     // 3
        {{L"10", L"2", L"3", L"99"}, {L"10.000", L"2.000", L"5.000", L"20.000"}},  // 1
        // A power field that is filled but not usable still passes tests 6 to 8.
        {{L"10", L"2", L"3", L"x"}, {L"10.000", L"2.000", L"5.000", L"20.000"}},  // 1
        {{L"10", L"2", L"3", L"-5"}, {L"10.000", L"2.000", L"5.000", L"20.000"}},  // 1
        {{_, L"2", L"4", L"x"}, {L"8.000", L"2.000", L"4.000", L"16.000"}},       // 3
        {{L"-10", L"2", L"3", _}, {L"6.000", L"2.000", L"3.000", L"12.000"}},     // 3
        {{L"+5", L"2.5", _, _}, {L"5.000", L"2.500", L"2.000", L"12.500"}},
        {{L"1", _, L"3", _}, {L"1.000", L"0.333", L"3.000", L"0.333"}},
        // Through the reciprocal of the current V is exactly 2.9375.
        {{_, L"0.16", _, L"0.47"}, {L"2.938", L"0.160", L"18.359", L"0.470"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        MemoryForm form = Typed(c.typed);
        SCOPED_TRACE(testing::PrintToString(TextsOf(form)));
        EXPECT_EQ(SolveOhmsLaw(form), kDone);
        EXPECT_EQ(TextsOf(form), c.after);
        EXPECT_EQ(form.WrittenFields(), kAllFields);
        EXPECT_TRUE(form.Messages().empty());
    }
}

// Every case with inputs whose last bits depend on the order of the
// operations; the expected values are computed here by each case's steps.
TEST(OhmsLawTest, ExactValuesFollowEachCasesOrderOfOperations) {
    using Values = std::array<double, 4>;  // V, I, R, P
    const struct {
        Texts typed;
        Values (*expected)();
        // clang-format off
    } cases[] = {
        {{L"3.3", L"0.47", _, _}, [] { const double v = 3.3, i = 0.47; return Values{v, i, v / i, i * v}; }},
        {{L"3.3", _, L"4.7", _}, [] { const double v = 3.3, r = 4.7, i = v / r; return Values{v, i, r, i * v}; }},
        {{_, L"0.47", L"4.7", _}, [] { const double i = 0.47, r = 4.7, v = r * i; return Values{v, i, r, i * v}; }},
        {{L"3.3", _, _, L"0.7"}, [] { const double v = 3.3, p = 0.7, i = p / v; return Values{v, i, v / i, p}; }},
        {{_, L"0.47", _, L"0.1"}, [] {
             const double i = 0.47, p = 0.1, k = 1.0 / i, v = k * p;
             return Values{v, i, k * v, p};
         }},
        {{_, L"0.3", _, L"0.7"}, [] {
             const double i = 0.3, p = 0.7, k = 1.0 / i, v = k * p;
             return Values{v, i, k * v, p};
         }},
    };
    // clang-format on
    ExpectExactValues(SolveOhmsLaw, kIds, cases);
}

TEST(OhmsLawTest, RefusedCalculationsWriteNothing) {
    const std::wstring huge = L"1" + std::wstring(97, L'0');  // 98 digits, 1e97
    const Refusal<4> cases[] = {
        {{_, _, L"4", L"16"}, MSG_MISSING_INPUT, kStopped},  // resistance and power are no pair
        {{L"-10", L"2", _, _}, MSG_MISSING_INPUT, kStopped},
        {{L"1e1", L"2", _, _}, MSG_MISSING_INPUT, kStopped},
        {{L"10", _, _, L"x"}, MSG_MISSING_INPUT, kStopped},
        {{L"10", _, _, _}, MSG_MISSING_INPUT, kStopped},
        {{_, L"2", _, _}, MSG_MISSING_INPUT, kStopped},
        {{_, _, L"4", _}, MSG_MISSING_INPUT, kStopped},
        {{_, _, _, L"16"}, MSG_MISSING_INPUT, kStopped},
        {{_, _, _, _}, MSG_MISSING_INPUT, kStopped},
        {{L"0", L"0", _, _}, MSG_CALC_EXCEPTION, kDone},
        {{L"0", _, L"0", _}, MSG_CALC_EXCEPTION, kDone},
        {{L"0", _, _, L"0"}, MSG_CALC_EXCEPTION, kDone},
        {{_, L"0", _, L"0"}, MSG_CALC_EXCEPTION, kDone},
        {{huge.c_str(), L"1", _, _}, MSG_CALC_EXCEPTION, kDone},  // V's text does not fit its field
    };
    ExpectRefused(SolveOhmsLaw, kIds, cases);
}

TEST(OhmsLawTest, InfiniteValuesAskOnceAtTheFirst) {
    const struct {
        Texts typed;
        int asking;  // the first field whose value is not finite
        Shown afterYes;
    } cases[] = {
        {{_, L"0", _, L"5"}, IDC_OHM_VOLTAGE, {L"\u221E", L"0.000", L"\u221E", L"5.000"}},
        {{L"10", _, L"0", _}, IDC_OHM_CURRENT, {L"10.000", L"\u221E", L"0.000", L"\u221E"}},
        {{L"10", _, _, L"0"}, IDC_OHM_RESISTANCE, {L"10.000", L"0.000", L"\u221E", L"0.000"}},
        {{L"0", _, _, L"5"}, IDC_OHM_CURRENT, {L"0.000", L"\u221E", L"0.000", L"5.000"}},
    };
    for (const auto& c : cases) ExpectAskedOnceAtTheFirst(SolveOhmsLaw, kIds, c.typed, c.asking, c.afterYes);
}

TEST(OhmsLawTest, TheQuestionComesAgainInEveryCalculation) {
    MemoryForm first = Typed({_, L"0", _, L"5"});
    first.SetAnswerer([](int) { return kAnswerYes; });
    SolveOhmsLaw(first);
    SolveOhmsLaw(first);  // V and R now read "∞": I and P still make case 5
    EXPECT_EQ(first.Messages().size(), 2u);

    MemoryForm other = Typed({_, L"0", _, L"5"});
    EXPECT_EQ(SolveOhmsLaw(other), kDone);
    EXPECT_EQ(other.Messages().size(), 1u);
    EXPECT_FALSE(other.Written());
}

TEST(OhmsLawTest, TheQuestionComesBeforeATextTooLongIsRefused) {
    // The current is infinite and the 98-digit voltage does not fit its field.
    const std::wstring huge = L"1" + std::wstring(97, L'0');
    MemoryForm form = Typed({huge.c_str(), _, L"0", _});
    form.SetAnswerer([](int) { return kAnswerYes; });
    EXPECT_EQ(SolveOhmsLaw(form), kDone);
    ASSERT_EQ(form.Messages().size(), 2u);
    EXPECT_EQ(form.Messages()[0].id, MSG_CONFIRM_NONFINITE);
    EXPECT_EQ(form.Messages()[1].id, MSG_CALC_EXCEPTION);
    EXPECT_FALSE(form.Written());
}

}  // namespace
}  // namespace mirabo
