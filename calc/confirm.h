// What happens to a calculation's values between computing them and showing them:
// the NaN test and the confirmation that a value which is not a finite number may
// be shown.
#pragma once

#include <span>

#include "calc/form.h"

namespace mirabo {

// Set when the user agreed, during the current confirmation pass, to see values
// that are not finite numbers. False at start-up.
extern bool nonFiniteAccepted;

// What ConfirmDisplayable answers, with the values the calculators rely on.
enum class Confirmation : int {
    MayShow = 0,   // the value may be shown: go on
    Declined = 1,  // the user said No: stop, write nothing
};

// Asks MSG_CONFIRM_NONFINITE with Yes and No for a value that is not finite,
// unless already agreed; Declined only when the answer is No.
Confirmation ConfirmDisplayable(CalcForm& form, double value);

// Tests the values for NaN in the order given; at the first NaN shows
// MSG_CALC_EXCEPTION with an OK button and returns true.
bool ReportNaN(CalcForm& form, std::span<const double> values);

// Clears nonFiniteAccepted, then confirms each value in order. False as soon as
// the user declines, so at most one question is asked.
bool ConfirmAll(CalcForm& form, std::span<const double> values);

}  // namespace mirabo
