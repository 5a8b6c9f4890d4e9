// Full-width input typed through a Japanese input method, in every calculator:
// the texts it accepts compute as their ASCII counterparts, and the texts it
// rejects give the calculator's own message.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "calc/calculators.h"
#include "calc/memory_form.h"
#include "calc/messages.h"
#include "tests/calc/form_checks.h"

namespace mirabo {
namespace {

using Typed = std::vector<std::pair<int, const wchar_t*>>;
using Expected = std::vector<std::pair<int, const wchar_t*>>;

struct FullWidthCase {
    const char* name;
    const Calculator* calculator;
    Typed typed;
    // Written back when the calculation gets through; empty when it stops.
    Expected after;
    // The message when it stops for missing input, else 0.
    int message;
};

// clang-format off
const FullWidthCase kCases[] = {
    // Accepted: the same results as the ASCII texts.
    {"RightFullWidth", &kRightTriangle,
     {{IDC_RIGHT_A, L"\uFF11\uFF12"}, {IDC_RIGHT_B, L"\uFF15"}},                       // １２, ５
     {{IDC_RIGHT_A, L"12.000"}, {IDC_RIGHT_B, L"5.000"}, {IDC_RIGHT_C, L"13.000"},
      {IDC_RIGHT_ALPHA, L"22.620"}, {IDC_RIGHT_BETA, L"67.380"}}, 0},
    {"RightMixed", &kRightTriangle,
     {{IDC_RIGHT_A, L"1\uFF12"}, {IDC_RIGHT_B, L"\uFF0B\uFF15\uFF0E"}},                // 1２, ＋５．
     {{IDC_RIGHT_A, L"12.000"}, {IDC_RIGHT_B, L"5.000"}, {IDC_RIGHT_C, L"13.000"},
      {IDC_RIGHT_ALPHA, L"22.620"}, {IDC_RIGHT_BETA, L"67.380"}}, 0},
    {"ObliqueFullWidth", &kObliqueTriangle,
     {{IDC_OBLIQUE_A, L"\uFF17"}, {IDC_OBLIQUE_B, L"\uFF18"}, {IDC_OBLIQUE_C, L"\uFF19"}},  // ７, ８, ９
     {{IDC_OBLIQUE_A, L"7.000"}, {IDC_OBLIQUE_B, L"8.000"}, {IDC_OBLIQUE_C, L"9.000"},
      {IDC_OBLIQUE_ALPHA, L"58.412"}, {IDC_OBLIQUE_BETA, L"48.190"}, {IDC_OBLIQUE_GAMMA, L"73.398"}}, 0},
    {"RotateSignedFullWidth", &kCoordinateRotation,
     {{IDC_COORD_X, L"\uFF0D\uFF13"}, {IDC_COORD_Y, L"\u2212\uFF14"}, {IDC_COORD_ANGLE, L"\uFF11\uFF18\uFF10"}},  // －３, −４, １８０
     {{IDC_COORD_X, L"\uFF0D\uFF13"}, {IDC_COORD_Y, L"\u2212\uFF14"}, {IDC_COORD_ANGLE, L"+180.000"},
      {IDC_COORD_X_RESULT, L"+3.000"}, {IDC_COORD_Y_RESULT, L"+4.000"}}, 0},
    {"OhmFullWidthPoint", &kOhmsLaw,
     {{IDC_OHM_VOLTAGE, L"\uFF11\uFF10"}, {IDC_OHM_CURRENT, L"\uFF10\uFF0E\uFF15"}},    // １０, ０．５
     {{IDC_OHM_VOLTAGE, L"10.000"}, {IDC_OHM_CURRENT, L"0.500"}, {IDC_OHM_RESISTANCE, L"20.000"},
      {IDC_OHM_POWER, L"5.000"}}, 0},
    // Rejected where the ASCII text is rejected: each calculator's message.
    {"RightFullWidthMinus", &kRightTriangle,
     {{IDC_RIGHT_A, L"\uFF0D\uFF13"}, {IDC_RIGHT_B, L"\uFF14"}}, {}, MSG_MISSING_INPUT},     // －３, ４
    {"ObliqueFullWidthMinus", &kObliqueTriangle,
     {{IDC_OBLIQUE_A, L"\uFF17"}, {IDC_OBLIQUE_B, L"\uFF18"}, {IDC_OBLIQUE_C, L"\u2212\uFF19"}}, {},
     MSG_NEGATIVE_NOT_ALLOWED},                                                               // ７, ８, −９
    {"ObliqueIdeographicSpace", &kObliqueTriangle,
     {{IDC_OBLIQUE_A, L"\uFF17"}, {IDC_OBLIQUE_B, L"\uFF18"}, {IDC_OBLIQUE_C, L"\uFF19\u3000"}}, {},
     MSG_NEGATIVE_NOT_ALLOWED},                                                               // ７, ８, ９　
    {"RotateFullWidthExponent", &kCoordinateRotation,
     {{IDC_COORD_X, L"\uFF13"}, {IDC_COORD_Y, L"\uFF14"}, {IDC_COORD_ANGLE, L"\uFF11\uFF45\uFF12"}}, {},
     MSG_MISSING_INPUT},                                                                      // ３, ４, １ｅ２
    {"RotateSignAfterDigit", &kCoordinateRotation,
     {{IDC_COORD_X, L"\uFF13\uFF0D"}, {IDC_COORD_Y, L"\uFF14"}, {IDC_COORD_ANGLE, L"\uFF13\uFF10"}}, {},
     MSG_MISSING_INPUT},                                                                      // ３－, ４, ３０
    {"OhmFullWidthComma", &kOhmsLaw,
     {{IDC_OHM_VOLTAGE, L"\uFF11\uFF0C\uFF10\uFF10\uFF10"}, {IDC_OHM_CURRENT, L"\uFF12"}}, {},
     MSG_MISSING_INPUT},                                                                      // １，０００, ２
    {"OhmTwoPoints", &kOhmsLaw,
     {{IDC_OHM_VOLTAGE, L"\uFF11\uFF0E\uFF12."}, {IDC_OHM_CURRENT, L"\uFF12"}}, {},
     MSG_MISSING_INPUT},                                                                      // １．２., ２
};
// clang-format on

class FullWidthInputTest : public testing::TestWithParam<FullWidthCase> {};

TEST_P(FullWidthInputTest, ComputesAsTheAsciiTextOrGivesTheCalculatorsMessage) {
    const FullWidthCase& c = GetParam();
    MemoryForm form;
    for (const auto& [id, text] : c.typed) {
        form.SetText(id, text);
    }
    const SolveResult result = c.calculator->solve(form);
    if (c.message == 0) {
        EXPECT_EQ(result, kDone);
        EXPECT_TRUE(form.Messages().empty());
        for (const auto& [id, text] : c.after) {
            EXPECT_EQ(form.Text(id), text) << "field " << id;
        }
    } else {
        EXPECT_EQ(result, kStopped);
        EXPECT_TRUE(ShowedOnly(form, c.message, kButtonsOk));
        EXPECT_FALSE(form.Written());
        EXPECT_EQ(form.Focus(), FirstFieldId(*c.calculator));
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, FullWidthInputTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<FullWidthCase>& info) { return info.param.name; });

}  // namespace
}  // namespace mirabo
