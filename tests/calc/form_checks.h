// Checks shared by the solver tests, over a form held in memory.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "calc/conversions.h"
#include "calc/memory_form.h"
#include "calc/solvers.h"

namespace mirabo {

// The solvers' two results, short enough for the tables.
constexpr SolveResult kDone = SolveResult::Done;
constexpr SolveResult kStopped = SolveResult::StoppedForMissingInput;

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

// The program's value of pi and its two angle conversions, written out here
// from their definitions so that expected values never come from the code
// under test: each conversion is two divisions, in this order.
constexpr double kProgramPi = 3.141592654;
inline double ToRadians(double degrees) { return kProgramPi / (180.0 / degrees); }
inline double ToDegrees(double radians) { return 180.0 / (kProgramPi / radians); }
inline double Squared(double x) { return std::pow(x, 2.0); }

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

}  // namespace mirabo
