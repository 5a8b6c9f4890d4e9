#include "calc/result_output.h"

#include <charconv>
#include <cmath>

#include "calc/messages.h"

namespace mirabo {

bool FormatResult(double value, SignStyle sign, FieldBuffer& buffer) {
    buffer[0] = L'\0';
    // The longest "%.3f" text of a double has 309 integer digits, a sign, the
    // point and three decimals.
    char text[400];
    std::size_t length = 0;
    const bool plus = sign == SignStyle::Always && !std::signbit(value);
    if (plus) {
        text[length++] = '+';
    }
    if (std::isinf(value)) {
        const wchar_t* infinity = value < 0 ? L"-\u221E" : (plus ? L"+\u221E" : L"\u221E");
        std::size_t i = 0;
        for (; infinity[i] != L'\0'; ++i) {
            buffer[i] = infinity[i];
        }
        buffer[i] = L'\0';
        return true;
    }
    const auto result = std::to_chars(text + length, text + sizeof text, value, std::chars_format::fixed, 3);
    if (result.ec != std::errc()) {
        return false;
    }
    length = static_cast<std::size_t>(result.ptr - text);
    if (length >= kFieldCapacity) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        buffer[i] = static_cast<wchar_t>(text[i]);
    }
    buffer[length] = L'\0';
    return true;
}

bool FormatResults(CalcForm& form, std::span<const FieldResult> results, SignStyle sign,
                   std::span<FieldBuffer> buffers) {
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (!FormatResult(results[i].value, sign, buffers[i])) {
            form.ShowMessage(MSG_CALC_EXCEPTION, kButtonsOk);
            return false;
        }
    }
    return true;
}

void WriteResults(CalcForm& form, std::span<const FieldResult> results,
                  std::span<const FieldBuffer> buffers) {
    for (std::size_t i = 0; i < results.size(); ++i) {
        form.NoteFieldValue(results[i].controlId, results[i].value);
        form.SetFieldText(results[i].controlId, buffers[i]);
    }
}

}  // namespace mirabo
