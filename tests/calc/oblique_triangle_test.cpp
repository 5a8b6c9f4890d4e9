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

// Fields a, b, c, alpha, beta, gamma.
constexpr std::array<int, 6> kIds = {IDC_OBLIQUE_A,     IDC_OBLIQUE_B,    IDC_OBLIQUE_C,
                                     IDC_OBLIQUE_ALPHA, IDC_OBLIQUE_BETA, IDC_OBLIQUE_GAMMA};
using Texts = std::array<const wchar_t*, 6>;
constexpr const wchar_t* _ = nullptr;  // a field left empty

MemoryForm Typed(const Texts& typed) { return TypedInto(kIds, typed); }
using Shown = std::array<std::wstring, 6>;
Shown TextsOf(const MemoryForm& form) { return TextsIn(form, kIds); }

const std::vector<int> kAllFields(kIds.begin(), kIds.end());

const Shown k345 = {L"3.000", L"4.000", L"5.000", L"53.130", L"36.870", L"90.000"};
const Shown k30_60 = {L"17.321", L"10.000", L"20.000", L"30.000", L"60.000", L"90.000"};

TEST(ObliqueTriangleTest, SolvesEveryCombinationAndWritesAllSix) {
    const struct {
        Texts typed;
        Shown after;
        // clang-format off
    } cases[] = {
        {{L"3", L"4", L"5", _, _, _}, k345},
        {{L"7", L"8", L"9", _, _, _}, {L"7.000", L"8.000", L"9.000", L"58.412", L"48.190", L"73.398"}},
        {{L"5", _, L"7", L"60", _, _}, {L"5.000", L"6.245", L"7.000", L"60.000", L"43.898", L"76.102"}},
        {{_, L"4", L"5", _, L"36.87", _}, k345},
        {{L"3", L"4", _, _, _, L"90"}, k345},
        {{_, L"10", _, L"30", L"60", _}, k30_60},
        {{L"10", _, _, L"30", L"60", _}, {L"10.000", L"5.774", L"11.547", L"30.000", L"60.000", L"90.000"}},
        {{L"10", _, _, L"60", _, L"90"}, {L"10.000", L"17.321", L"20.000", L"60.000", L"30.000", L"90.000"}},
        {{L"3", _, _, _, L"36.87", L"90"}, k345},
        {{_, _, L"20", L"30", L"60", _}, k30_60},
        {{_, _, L"20", L"30", _, L"90"}, k30_60},
        {{_, _, L"20", _, L"60", L"90"}, k30_60},
        {{_, L"10", _, L"30", _, L"90"}, k30_60},
        {{_, L"10", _, _, L"60", L"90"}, k30_60},
        // Signs, points and typed values outside the deciding combination.
        {{L"+3", L"4", L"5", _, _, _}, k345},
        {{L"3.", L"4", L"5", _, _, _}, k345},
        {{L"3", L"4", L"5", L"-10", _, _}, k345},
        {{L"3", L"4", L"5", L"10", _, _}, k345},
        {{L"3", L"4", L"5", L"x", _, _}, k345},
        {{L"3", L"4", L"5", _, L"30", _}, {L"2.522", L"4.000", L"5.000", L"52.478", L"30.000", L"97.522"}},
        {{L"3", L"4", L"5", _, _, L"60"}, {L"3.000", L"4.000", L"3.606", L"73.898", L"46.102", L"60.000"}},
        {{L"3", L"4", L"5", L"50", L"40", L"90"}, {L"3.214", L"3.830", L"5.000", L"50.000", L"40.000", L"90.000"}},
        // No triangle, but nothing that is not a number: written without a message.
        {{L"1", L"2", L"3", _, _, _}, {L"1.000", L"2.000", L"3.000", L"0.000", L"0.000", L"180.000"}},
        {{L"10", _, _, L"100", L"100", _}, {L"10.000", L"10.000", L"-3.473", L"100.000", L"100.000", L"-20.000"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        MemoryForm form = Typed(c.typed);
        SCOPED_TRACE(testing::PrintToString(TextsOf(form)));
        EXPECT_EQ(SolveObliqueTriangle(form), kDone);
        EXPECT_EQ(TextsOf(form), c.after);
        EXPECT_EQ(form.WrittenFields(), kAllFields);
        EXPECT_TRUE(form.Messages().empty());
        EXPECT_FALSE(form.Focus().has_value());
    }
}

// The sine and cosine of an angle in degrees and the arc cosine in degrees,
// through the program's conversions.
double Sin(double degrees) { return mirabo::Sin(ToRadians(degrees)); }
double Cos(double degrees) { return mirabo::Cos(ToRadians(degrees)); }
double Acos(double ratio) { return ToDegrees(mirabo::Acos(ratio)); }

// Every test's row with inputs whose results depend on the order of the
// operations to the last bit (the angle sums among them: (180 - x) - y is not
// (180 - y) - x for these angles); the expected values are computed here by
// the row's formulas, step by step in their order.
TEST(ObliqueTriangleTest, ExactValuesFollowEachRowsOrderOfOperations) {
    using Values = std::array<double, 6>;  // a, b, c, alpha, beta, gamma
    const struct {
        Texts typed;
        Values (*expected)();
        // clang-format off
    } cases[] = {
        /* 1 */ {{L"3.3", _, L"7.1", L"33.3", _, _}, [] {
             const double a = 3.3, c = 7.1, alpha = 33.3;
             const double b = mirabo::Sqrt((Squared(a) + Squared(c)) - ((Cos(alpha) * c) * a) * 2.0);
             const double gamma = Acos(((Squared(b) + Squared(a)) - Squared(c)) / ((b * a) * 2.0));
             return Values{a, b, c, alpha, (180.0 - alpha) - gamma, gamma};
         }},
        /* 2 */ {{L"3.3", L"4.7", L"6.1", _, _, _}, [] {
             const double a = 3.3, b = 4.7, c = 6.1;
             const double beta = Acos(((Squared(b) + Squared(c)) - Squared(a)) / ((c * b) * 2.0));
             const double alpha = Acos(((Squared(c) + Squared(a)) - Squared(b)) / ((c * a) * 2.0));
             const double gamma = Acos(((Squared(b) + Squared(a)) - Squared(c)) / ((b * a) * 2.0));
             return Values{a, b, c, alpha, beta, gamma};
         }},
        /* 3 */ {{_, L"4.7", L"6.1", _, L"47.3", _}, [] {
             const double b = 4.7, c = 6.1, beta = 47.3;
             const double a = mirabo::Sqrt((Squared(b) + Squared(c)) - ((Cos(beta) * c) * b) * 2.0);
             const double gamma = Acos(((Squared(b) + Squared(a)) - Squared(c)) / ((b * a) * 2.0));
             return Values{a, b, c, (180.0 - beta) - gamma, beta, gamma};
         }},
        /* 4 */ {{L"3.3", L"4.7", _, _, _, L"12.7"}, [] {
             const double a = 3.3, b = 4.7, gamma = 12.7;
             const double c = mirabo::Sqrt((Squared(b) + Squared(a)) - ((Cos(gamma) * b) * a) * 2.0);
             const double alpha = Acos(((Squared(c) + Squared(a)) - Squared(b)) / ((c * a) * 2.0));
             return Values{a, b, c, alpha, (180.0 - alpha) - gamma, gamma};
         }},
        /* 5 */ {{_, L"4.7", _, L"12.7", L"47.3", _}, [] {
             const double b = 4.7, alpha = 12.7, beta = 47.3, gamma = (180.0 - alpha) - beta;
             return Values{(b / Sin(alpha)) * Sin(beta), b, (b / Sin(alpha)) * Sin(gamma), alpha, beta, gamma};
         }},
        /* 6 */ {{L"3.3", _, _, L"12.7", L"47.3", _}, [] {
             const double a = 3.3, alpha = 12.7, beta = 47.3, gamma = (180.0 - alpha) - beta;
             return Values{a, (a / Sin(beta)) * Sin(alpha), (a / Sin(beta)) * Sin(gamma), alpha, beta, gamma};
         }},
        /* 7 */ {{L"3.3", _, _, _, L"71.3", L"33.3"}, [] {
             const double a = 3.3, beta = 71.3, gamma = 33.3, alpha = (180.0 - beta) - gamma;
             return Values{a, (a / Sin(beta)) * Sin(alpha), (a / Sin(beta)) * Sin(gamma), alpha, beta, gamma};
         }},
        /* 8 */ {{_, _, L"6.1", L"12.7", _, L"41.9"}, [] {
             const double c = 6.1, alpha = 12.7, gamma = 41.9, beta = (180.0 - alpha) - gamma;
             return Values{(c / Sin(gamma)) * Sin(beta), (c / Sin(gamma)) * Sin(alpha), c, alpha, beta, gamma};
         }},
        /* 9 */ {{_, _, L"6.1", _, L"71.3", L"33.3"}, [] {
             const double c = 6.1, beta = 71.3, gamma = 33.3, alpha = (180.0 - beta) - gamma;
             return Values{(c / Sin(gamma)) * Sin(beta), (c / Sin(gamma)) * Sin(alpha), c, alpha, beta, gamma};
         }},
        /* 10 */ {{_, L"4.7", _, L"12.7", _, L"41.9"}, [] {
             const double b = 4.7, alpha = 12.7, gamma = 41.9, beta = (180.0 - alpha) - gamma;
             return Values{(b / Sin(alpha)) * Sin(beta), b, (b / Sin(alpha)) * Sin(gamma), alpha, beta, gamma};
         }},
        /* 11 */ {{L"3.3", _, _, L"12.7", _, L"41.9"}, [] {
             const double a = 3.3, alpha = 12.7, gamma = 41.9, beta = (180.0 - alpha) - gamma;
             return Values{a, (a / Sin(beta)) * Sin(alpha), (a / Sin(beta)) * Sin(gamma), alpha, beta, gamma};
         }},
        /* 12 */ {{_, L"4.7", _, _, L"71.3", L"33.3"}, [] {
             const double b = 4.7, beta = 71.3, gamma = 33.3, alpha = (180.0 - gamma) - beta;
             return Values{(b / Sin(alpha)) * Sin(beta), b, (b / Sin(alpha)) * Sin(gamma), alpha, beta, gamma};
         }},
        /* 13 */ {{_, _, L"6.1", L"12.7", L"47.3", _}, [] {
             const double c = 6.1, alpha = 12.7, beta = 47.3, gamma = (180.0 - beta) - alpha;
             return Values{(c / Sin(gamma)) * Sin(beta), (c / Sin(gamma)) * Sin(alpha), c, alpha, beta, gamma};
         }},
    };
    // clang-format on
    ExpectExactValues(SolveObliqueTriangle, kIds, cases);
}

TEST(ObliqueTriangleTest, RefusedCalculationsWriteNothing) {
    const std::wstring huge = L"1" + std::wstring(97, L'0');  // 98 digits, 1e97
    const Refusal<6> cases[] = {
        {{L"3", L"4", _, L"53.13", _, _}, MSG_NEGATIVE_NOT_ALLOWED, kStopped},  // angle not between the sides
        {{_, _, _, L"60", L"60", L"60"}, MSG_NEGATIVE_NOT_ALLOWED, kStopped},
        {{L"-3", L"4", L"5", _, _, _}, MSG_NEGATIVE_NOT_ALLOWED, kStopped},
        {{L"3", L"4", L"5 ", _, _, _}, MSG_NEGATIVE_NOT_ALLOWED, kStopped},
        {{_, _, _, _, _, _}, MSG_NEGATIVE_NOT_ALLOWED, kStopped},
        {{L".", L"4", L"5", _, _, _}, MSG_CALC_EXCEPTION, kDone},  // a reads as 0
        {{L"+", L"4", L"5", _, _, _}, MSG_CALC_EXCEPTION, kDone},
        {{L"1", L"2", L"10", _, _, _}, MSG_CALC_EXCEPTION, kDone},
        {{L"0", L"4", L"5", _, _, _}, MSG_CALC_EXCEPTION, kDone},
        {{L"1", _, L"1", L"0", _, _}, MSG_CALC_EXCEPTION, kDone},  // b comes out 0, then gamma is 0 / 0
        // Texts too long for a field are refused when formatting, which comes
        // before the question: here a and c are infinite, but b does not fit.
        {{huge.c_str(), huge.c_str(), huge.c_str(), _, _, _}, MSG_CALC_EXCEPTION, kDone},
        {{_, huge.c_str(), _, L"0", L"60", _}, MSG_CALC_EXCEPTION, kDone},
    };
    ExpectRefused(SolveObliqueTriangle, kIds, cases);
}

// Sets of fields as bits, in field order.
enum : unsigned { a = 1, b = 2, c = 4, alpha = 8, beta = 16, gamma = 32 };
constexpr unsigned kNone = 0;

TEST(ObliqueTriangleTest, TheLastPassingTestDecides) {
    // The known fields of the deciding test keep their typed values; every other
    // field is overwritten, and the results are those of the known fields alone.
    const struct {
        unsigned usable;
        unsigned deciding;  // the known fields of the deciding test
    } cases[] = {
        // Exactly three fields: the thirteen combinations decide for themselves.
        {a | c | alpha, a | c | alpha},
        {a | b | c, a | b | c},
        {b | c | beta, b | c | beta},
        {a | b | gamma, a | b | gamma},
        {b | alpha | beta, b | alpha | beta},
        {a | alpha | beta, a | alpha | beta},
        {a | beta | gamma, a | beta | gamma},
        {c | alpha | gamma, c | alpha | gamma},
        {c | beta | gamma, c | beta | gamma},
        {b | alpha | gamma, b | alpha | gamma},
        {a | alpha | gamma, a | alpha | gamma},
        {b | beta | gamma, b | beta | gamma},
        {c | alpha | beta, c | alpha | beta},
        {a | b | alpha, kNone},
        {a | b | beta, kNone},
        {a | c | beta, kNone},
        {a | c | gamma, kNone},
        {b | c | alpha, kNone},
        {b | c | gamma, kNone},
        {alpha | beta | gamma, kNone},
        // More than three.
        {a | b | c | alpha, a | b | c},
        {a | b | c | beta, b | c | beta},
        {a | b | c | gamma, a | b | gamma},
        {a | b | alpha | beta, a | alpha | beta},
        {a | c | beta | gamma, c | beta | gamma},
        {b | c | alpha | gamma, b | alpha | gamma},
        {a | b | alpha | gamma, a | alpha | gamma},
        {a | c | alpha | gamma, a | alpha | gamma},
        {a | alpha | beta | gamma, a | alpha | gamma},
        {a | b | c | alpha | gamma, a | alpha | gamma},
        {a | b | beta | gamma, b | beta | gamma},
        {b | c | beta | gamma, b | beta | gamma},
        {b | alpha | beta | gamma, b | beta | gamma},
        {a | b | c | beta | gamma, b | beta | gamma},
        {a | b | alpha | beta | gamma, b | beta | gamma},
        {a | c | alpha | beta, c | alpha | beta},
        {b | c | alpha | beta, c | alpha | beta},
        {c | alpha | beta | gamma, c | alpha | beta},
        {a | b | c | alpha | beta, c | alpha | beta},
        {a | c | alpha | beta | gamma, c | alpha | beta},
        {b | c | alpha | beta | gamma, c | alpha | beta},
        {a | b | c | alpha | beta | gamma, c | alpha | beta},
    };
    // Values that fit no single triangle, so no computed field can come out as
    // it was typed.
    const Texts values = {L"3", L"4", L"5", L"50", L"60", L"80"};
    const Texts shown = {L"3.000", L"4.000", L"5.000", L"50.000", L"60.000", L"80.000"};
    const auto only = [&](unsigned fields, const wchar_t* others) {
        Texts typed;
        for (std::size_t i = 0; i < typed.size(); ++i) {
            typed[i] = (fields >> i & 1u) != 0 ? values[i] : others;
        }
        return typed;
    };
    for (const auto& test : cases) {
        // The fields outside the set are left empty, or hold a negative value.
        for (const wchar_t* others : {_, L"-1"}) {
            MemoryForm form = Typed(only(test.usable, others));
            SCOPED_TRACE(testing::PrintToString(TextsOf(form)));
            const SolveResult result = SolveObliqueTriangle(form);
            if (test.deciding == kNone) {
                EXPECT_EQ(result, kStopped);
                EXPECT_FALSE(form.Written());
                continue;
            }
            EXPECT_EQ(result, kDone);
            ASSERT_TRUE(form.Written());
            unsigned kept = 0;
            for (std::size_t i = 0; i < kIds.size(); ++i) {
                kept |= form.Text(kIds[i]) == shown[i] ? 1u << i : 0u;
            }
            EXPECT_EQ(kept, test.deciding);
            MemoryForm alone = Typed(only(test.deciding, _));
            SolveObliqueTriangle(alone);
            EXPECT_EQ(form.Values(), alone.Values());
        }
    }
}

TEST(ObliqueTriangleTest, InfiniteValuesAskOnceAtTheFirst) {
    const struct {
        Texts typed;
        int asking;  // the first field whose value is not finite
        Shown afterYes;
        // clang-format off
    } cases[] = {
        {{_, L"10", _, L"0", L"60", _}, IDC_OBLIQUE_A, {L"\u221E", L"10.000", L"\u221E", L"0.000", L"60.000", L"120.000"}},
        {{_, L"10", _, L"0", L"200", _}, IDC_OBLIQUE_A, {L"-\u221E", L"10.000", L"-\u221E", L"0.000", L"200.000", L"-20.000"}},
        {{L"10", _, _, L"60", L"0", _}, IDC_OBLIQUE_B, {L"10.000", L"\u221E", L"\u221E", L"60.000", L"0.000", L"120.000"}},
    };
    // clang-format on
    for (const auto& c : cases)
        ExpectAskedOnceAtTheFirst(SolveObliqueTriangle, kIds, c.typed, c.asking, c.afterYes);
}

TEST(ObliqueTriangleTest, EachCalculationStandsOnItsOwn) {
    // After a Yes the same question comes again.
    MemoryForm repeated = Typed({_, L"10", _, L"0", L"60", _});
    repeated.SetAnswerer([](int) { return kAnswerYes; });
    SolveObliqueTriangle(repeated);
    SolveObliqueTriangle(repeated);
    EXPECT_EQ(repeated.Messages().size(), 2u);

    // A calculation that failed leaves nothing behind for the next one.
    MemoryForm alone = Typed({L"7", L"8", L"9", _, _, _});
    SolveObliqueTriangle(alone);
    for (const Texts& failing : {Texts{L"1", L"2", L"10", _, _, _}, Texts{L"3", L"4", _, L"5", _, _}}) {
        MemoryForm form = Typed(failing);
        SolveObliqueTriangle(form);
        ASSERT_FALSE(form.Written());
        for (std::size_t i = 0; i < kIds.size(); ++i) {
            form.SetText(kIds[i], i < 3 ? alone.Text(kIds[i]) : L"");
        }
        SolveObliqueTriangle(form);
        EXPECT_EQ(form.Values(), alone.Values());
        EXPECT_EQ(TextsOf(form), TextsOf(alone));
    }
}

}  // namespace
}  // namespace mirabo
