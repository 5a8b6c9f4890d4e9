// Reading a form's fields and telling which of them hold usable number texts.
#pragma once

#include <span>

#include "calc/calculators.h"
#include "calc/form.h"
#include "calc/solvers.h"

namespace mirabo {

// Reads each field, in order, into its buffer.
void ReadFields(CalcForm& form, std::span<const CalculatorField> fields, std::span<FieldBuffer> buffers);

// Usable: not empty, and accepted by the unsigned (or signed) number rule.
bool IsUsableUnsigned(const FieldBuffer& text);
bool IsUsableSigned(const FieldBuffer& text);

// Shows the form's missing-input message with an OK button, moves the focus to
// the calculator's first field and gives the solvers' result for missing input.
SolveResult ReportMissingInput(CalcForm& form, const Calculator& calculator);

}  // namespace mirabo
