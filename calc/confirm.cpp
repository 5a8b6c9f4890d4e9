#include "calc/confirm.h"

#include <cmath>

#include "calc/messages.h"

namespace mirabo {

bool nonFiniteAccepted = false;

Confirmation ConfirmDisplayable(CalcForm& form, double value) {
    if (nonFiniteAccepted || std::isfinite(value)) {
        return Confirmation::MayShow;
    }
    if (form.ShowMessage(MSG_CONFIRM_NONFINITE, kButtonsYesNo) == kAnswerNo) {
        return Confirmation::Declined;
    }
    nonFiniteAccepted = true;
    return Confirmation::MayShow;
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
        if (ConfirmDisplayable(form, value) == Confirmation::Declined) {
            return false;
        }
    }
    return true;
}

}  // namespace mirabo
