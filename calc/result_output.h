// Writing a calculation's values back into its fields with three decimals.
#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "calc/calculators.h"
#include "calc/form.h"

namespace mirabo {

enum class SignStyle {
    NegativeOnly,  // "%.3f"
    Always,        // "%+.3f"
};

// Formats the value like printf's "%.3f" (or "%+.3f") in the "C" locale: fixed
// point, three decimals, rounded, "-" kept on a negative value that rounds to
// zero. An infinity reads "∞" or "-∞" ("+∞" with the sign always shown).
// Returns false, leaving the buffer empty, when the text would not fit the 99
// characters of a field: such a value is refused rather than shown cut.
bool FormatResult(double value, SignStyle sign, FieldBuffer& buffer);

// One value going back into one field.
struct FieldResult {
    int controlId;
    double value;
};

// One result per field, the i-th value into the i-th field, for a solver that
// keeps its values in its calculator's field order.
template <std::size_t N>
std::array<FieldResult, N> InFieldOrder(const Calculator& calculator, const double (&values)[N]) {
    std::array<FieldResult, N> results{};
    for (std::size_t i = 0; i < N; ++i) {
        results[i] = {calculator.fields[i].controlId, values[i]};
    }
    return results;
}

// Formats every result into its buffer, in order. When one does not fit, shows
// MSG_CALC_EXCEPTION with an OK button and returns false; nothing is written.
bool FormatResults(CalcForm& form, std::span<const FieldResult> results, SignStyle sign,
                   std::span<FieldBuffer> buffers);

// Sets the fields' texts from the buffers, in order.
void WriteResults(CalcForm& form, std::span<const FieldResult> results, std::span<const FieldBuffer> buffers);

}  // namespace mirabo
