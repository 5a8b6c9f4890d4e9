#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "calc/confirm.h"
#include "calc/memory_form.h"
#include "calc/messages.h"
#include "tests/calc/form_checks.h"

namespace mirabo {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ConfirmationTest, AsksOnceAtTheFirstValueThatIsNotFinite) {
    const struct {
        std::vector<double> values;
        int answer;
        bool shown;
        std::size_t questions;
        // clang-format off
    } cases[] = {
        {{5, kInf, kInf}, kAnswerYes, true, 1},
        {{5, kInf, kInf}, kAnswerNo, false, 1},
        {{kInf, 5}, kAnswerYes, true, 1},
        {{-kInf, 5}, kAnswerNo, false, 1},
        {{1, 2, 3}, kAnswerNo, true, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        MemoryForm form;
        int asked = 0;
        form.SetAnswerer([&](int) {
            ++asked;
            return c.answer;
        });
        EXPECT_EQ(ConfirmAll(form, c.values), c.shown);
        ASSERT_EQ(form.Messages().size(), c.questions);
        if (c.questions == 1) {
            EXPECT_TRUE(ShowedOnly(form, MSG_CONFIRM_NONFINITE, kButtonsYesNo));
        }
        EXPECT_EQ(nonFiniteAccepted, c.questions == 1 && c.answer == kAnswerYes);
    }
}

TEST(ConfirmationTest, OneValueIsDeclinedOnlyWhenTheUserSaysNo) {
    const double kNaN = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double value;
        bool acceptedBefore;
        int answer;
        Confirmation confirmation;
        bool asked;
        bool acceptedAfter;
        // clang-format off
    } cases[] = {
        {5,     false, kAnswerNo,  Confirmation::MayShow,  false, false},
        {-0.0,  false, kAnswerNo,  Confirmation::MayShow,  false, false},
        {kInf,  false, kAnswerNo,  Confirmation::Declined, true,  false},
        {-kInf, false, kAnswerNo,  Confirmation::Declined, true,  false},
        {kNaN,  false, kAnswerNo,  Confirmation::Declined, true,  false},
        {kInf,  false, kAnswerYes, Confirmation::MayShow,  true,  true},
        {kInf,  true,  kAnswerNo,  Confirmation::MayShow,  false, true},
        {5,     true,  kAnswerNo,  Confirmation::MayShow,  false, true},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << (c.acceptedBefore ? " after a Yes" : ""));
        MemoryForm form;
        form.SetAnswerer([&](int) { return c.answer; });
        nonFiniteAccepted = c.acceptedBefore;
        EXPECT_EQ(ConfirmDisplayable(form, c.value), c.confirmation);
        EXPECT_EQ(form.Messages().size(), c.asked ? 1u : 0u);
        EXPECT_EQ(nonFiniteAccepted, c.acceptedAfter);
    }
    nonFiniteAccepted = false;
}

TEST(ConfirmationTest, AYesDoesNotCarryIntoTheNextPass) {
    MemoryForm form;
    form.SetAnswerer([](int) { return kAnswerYes; });
    const double values[] = {kInf};
    EXPECT_TRUE(ConfirmAll(form, values));
    EXPECT_TRUE(ConfirmAll(form, values));
    EXPECT_EQ(form.Messages().size(), 2u);
}

TEST(ConfirmationTest, NaNTestStopsAtTheFirstNaN) {
    MemoryForm form;
    const double clean[] = {1, kInf, -kInf};
    EXPECT_FALSE(ReportNaN(form, clean));
    EXPECT_TRUE(form.Messages().empty());
    const double dirty[] = {1, std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::quiet_NaN()};
    EXPECT_TRUE(ReportNaN(form, dirty));
    ASSERT_TRUE(ShowedOnly(form, MSG_CALC_EXCEPTION, kButtonsOk));
}

}  // namespace
}  // namespace mirabo
