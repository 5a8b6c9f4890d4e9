#include "calc/field_reading.h"

#include "calc/number_text.h"

namespace mirabo {

void ReadFields(CalcForm& form, std::span<const CalculatorField> fields, std::span<FieldBuffer> buffers) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        form.ReadField(buffers[i], fields[i].controlId);
    }
}

bool IsUsableUnsigned(const FieldBuffer& text) {
    return !IsFieldEmpty(text) && CheckUnsignedNumberText(text) == NumberTextVerdict::Valid;
}

bool IsUsableSigned(const FieldBuffer& text) {
    return !IsFieldEmpty(text) && CheckSignedNumberText(text) == NumberTextVerdict::Valid;
}

SolveResult ReportMissingInput(CalcForm& form, const Calculator& calculator) {
    form.ShowMessage(calculator.missingInputMessage, kButtonsOk);
    form.FocusField(FirstFieldId(calculator));
    return SolveResult::StoppedForMissingInput;
}

}  // namespace mirabo
