#include "calc/field_reading.h"

#include "calc/number_text.h"

namespace mirabo {

void ReadFields(CalcForm& form, std::span<const int> controlIds, std::span<FieldBuffer> buffers) {
    for (std::size_t i = 0; i < controlIds.size(); ++i) {
        form.ReadField(buffers[i], controlIds[i]);
    }
}

bool IsUsableUnsigned(const FieldBuffer& text) {
    return IsFieldEmpty(text) == 0 && CheckUnsignedNumberText(text) == 0;
}

bool IsUsableSigned(const FieldBuffer& text) {
    return IsFieldEmpty(text) == 0 && CheckSignedNumberText(text) == 0;
}

int ReportMissingInput(CalcForm& form, const wchar_t* message) {
    form.ShowMessage(message, kButtonsOk);
    form.FocusField(1001);
    return 1;
}

}  // namespace mirabo
