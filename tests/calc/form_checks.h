// Checks shared by the solver tests, over a form held in memory.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/memory_form.h"
#include "calc/solvers.h"

namespace mirabo {

// The solvers' two results, short enough for the tables.
constexpr SolveResult kDone = SolveResult::Done;
constexpr SolveResult kStopped = SolveResult::StoppedForMissingInput;

// The calculation showed exactly one message: this text with these buttons.
inline testing::AssertionResult ShowedOnly(const MemoryForm& form, const wchar_t* text, int buttons) {
    if (form.Messages().size() != 1) {
        return testing::AssertionFailure() << form.Messages().size() << " messages shown, not 1";
    }
    const MemoryForm::Message& shown = form.Messages()[0];
    if (shown.text != text) {
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

}  // namespace mirabo
