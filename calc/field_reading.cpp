#include "calc/field_reading.h"

#include "calc/number_text.h"

namespace mirabo {

void ReadFields(CalcForm& form, std::span<const int> controlIds, std::span<FieldBuffer> buffers) {
    for (std::size_t i = 0; i < controlIds.size(); ++i) {
        form.ReadField(buffers[i], controlIds[i]);
    }
}

bool IsUsableUnsigned(const FieldBuffer& text) {
    return !IsFieldEmpty(text) && CheckUnsignedNumberText(text) == NumberTextVerdict::Valid;
}

bool IsUsableSigned(const FieldBuffer& text) {
    return !IsFieldEmpty(text) && CheckSignedNumberText(text) == NumberTextVerdict::Valid;
}

SolveResult ReportMissingInput(CalcForm& form, const wchar_t* message) {
    form.ShowMessage(message, kButtonsOk);
    form.FocusField(1001);
    return SolveResult::StoppedForMissingInput;
}

}  // namespace mirabo
