#include "calc/confirm.h"

#include <cmath>

#include "calc/messages.h"

namespace mirabo {

bool nonFiniteAccepted = false;

int ConfirmDisplayable(CalcForm& form, double value) {
    if (nonFiniteAccepted || std::isfinite(value)) {
        return 0;
    }
    if (form.ShowMessage(MSG_CONFIRM_NONFINITE, kButtonsYesNo) == kAnswerNo) {
        return 1;
    }
    nonFiniteAccepted = true;
    return 0;
}

bool ReportNaN(CalcForm& form, std::span<const double> values) {
    for (double value : values) {
        if (std::isnan(value)) {
            form.ShowMessage(MSG_CALC_EXCEPTION, kButtonsOk);
            return true;
        }
    }
    return false;
}

bool ConfirmAll(CalcForm& form, std::span<const double> values) {
    nonFiniteAccepted = false;
    for (double value : values) {
        if (ConfirmDisplayable(form, value) == 1) {
            return false;
        }
    }
    return true;
}

}  // namespace mirabo
