// Checks shared by the solver tests, over a form held in memory.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "calc/conversions.h"
#include "calc/elementary.h"
#include "calc/memory_form.h"
#include "calc/messages.h"
#include "calc/solvers.h"

namespace mirabo {

// The solvers' two results, short enough for the tables.
constexpr SolveResult kDone = SolveResult::Done;
constexpr SolveResult kStopped = SolveResult::StoppedForMissingInput;

// A form with these texts typed into these fields, in order; nullptr leaves a field empty.
template <std::size_t N>
MemoryForm TypedInto(const std::array<int, N>& ids, const std::array<const wchar_t*, N>& typed) {
    MemoryForm form;
    for (std::size_t i = 0; i < N; ++i) {
        if (typed[i] != nullptr) form.SetText(ids[i], typed[i]);
    }
    return form;
}

// The texts of these fields, in order.
template <std::size_t N>
std::array<std::wstring, N> TextsIn(const MemoryForm& form, const std::array<int, N>& ids) {
    std::array<std::wstring, N> texts;
    for (std::size_t i = 0; i < N; ++i) texts[i] = form.Text(ids[i]);
    return texts;
}

// The calculation showed exactly one message: this one with these buttons.
inline testing::AssertionResult ShowedOnly(const MemoryForm& form, int messageId, int buttons) {
    if (form.Messages().size() != 1) {
        return testing::AssertionFailure() << form.Messages().size() << " messages shown, not 1";
    }
    const MemoryForm::Message& shown = form.Messages()[0];
    if (shown.id != messageId) {
        return testing::AssertionFailure() << "another message was shown";
    }
    if (shown.buttons != buttons) {
        return testing::AssertionFailure() << "buttons " << shown.buttons << ", not " << buttons;
    }
    return testing::AssertionSuccess();
}

// The first written field whose value is not finite, in writing order; 0 if none.
inline int FirstInfiniteField(const MemoryForm& form) {
    for (const int id : form.WrittenFields()) {
        if (!std::isfinite(form.Values().at(id))) {
            return id;
        }
    }
    return 0;
}

// Solved once answering yes and once no, the form asks one question each
// time: after a no nothing is written and the fields show what was typed;
// after a yes they show `afterYes` and `asking` is the first field written
// whose value is not finite.
template <std::size_t N>
void ExpectAskedOnceAtTheFirst(SolveResult (*solve)(CalcForm&), const std::array<int, N>& ids,
                               const std::array<const wchar_t*, N>& typed, int asking,
                               const std::array<std::wstring, N>& afterYes) {
    for (const int answer : {kAnswerYes, kAnswerNo}) {
        MemoryForm form = TypedInto(ids, typed);
        SCOPED_TRACE(testing::PrintToString(TextsIn(form, ids)) + (answer == kAnswerYes ? " Yes" : " No"));
        form.SetAnswerer([&](int) { return answer; });
        EXPECT_EQ(solve(form), SolveResult::Done);
        ASSERT_TRUE(ShowedOnly(form, MSG_CONFIRM_NONFINITE, kButtonsYesNo));
        EXPECT_EQ(form.Written(), answer == kAnswerYes);
        if (answer == kAnswerYes) {
            EXPECT_EQ(TextsIn(form, ids), afterYes);
            EXPECT_EQ(FirstInfiniteField(form), asking);
        } else {
            EXPECT_EQ(TextsIn(form, ids), TextsIn(TypedInto(ids, typed), ids));
        }
    }
}

// The program's value of pi and its two angle conversions, written out here
// from their definitions so that expected values never come from the code
// under test: each conversion is two divisions, in this order.
constexpr double kProgramPi = 3.141592654;
inline double ToRadians(double degrees) { return kProgramPi / (180.0 / degrees); }
inline double ToDegrees(double radians) { return 180.0 / (kProgramPi / radians); }
inline double Squared(double x) { return Pow(x, 2.0); }

// The field's exact value has the same bits as the expected one.
inline testing::AssertionResult SameBits(const MemoryForm& form, int id, double expected) {
    const auto it = form.Values().find(id);
    if (it == form.Values().end()) {
        return testing::AssertionFailure() << "field " << id << " was not written";
    }
    if (BitCast<std::uint64_t>(it->second) != BitCast<std::uint64_t>(expected)) {
        return testing::AssertionFailure()
               << "field " << id << " holds " << std::hexfloat << it->second << ", not " << expected;
    }
    return testing::AssertionSuccess();
}

// Every row's typed texts, solved, give each field exactly the value that the
// row's `expected()` computes, bit for bit.
template <std::size_t N, class Rows>
void ExpectExactValues(SolveResult (*solve)(CalcForm&), const std::array<int, N>& ids, const Rows& rows) {
    int row = 0;
    for (const auto& r : rows) {
        ++row;
        MemoryForm form = TypedInto(ids, r.typed);
        ASSERT_EQ(solve(form), SolveResult::Done) << "row " << row;
        const auto expected = r.expected();
        for (std::size_t i = 0; i < N; ++i) EXPECT_TRUE(SameBits(form, ids[i], expected[i])) << "row " << row;
    }
}

// A row of typed texts that the solver refuses: the message it shows, and
// kStopped (with the focus on the first field) only for missing input.
template <std::size_t N>
struct Refusal {
    std::array<const wchar_t*, N> typed;
    int message;
    SolveResult result;
};

// Every row's typed texts are refused with the row's `message` and `result`,
// and nothing is written: the fields keep what was typed. Only a stop for
// missing input puts the focus, on the first field.
template <std::size_t N, class Rows>
void ExpectRefused(SolveResult (*solve)(CalcForm&), const std::array<int, N>& ids, const Rows& rows) {
    for (const auto& r : rows) {
        MemoryForm form = TypedInto(ids, r.typed);
        SCOPED_TRACE(testing::PrintToString(TextsIn(form, ids)));
        EXPECT_EQ(solve(form), r.result);
        ASSERT_TRUE(ShowedOnly(form, r.message, kButtonsOk));
        EXPECT_EQ(form.Focus().has_value(), r.result == kStopped);
        EXPECT_EQ(form.Focus().value_or(ids[0]), ids[0]);
        EXPECT_FALSE(form.Written());
        EXPECT_EQ(TextsIn(form, ids), TextsIn(TypedInto(ids, r.typed), ids));
    }
}

}  // namespace mirabo
