// The calculators the command-line tool knows: the register (kCalculators),
// in its order, found by their command-line names.
#pragma once

#include <span>
#include <string_view>

#include "calc/calculators.h"

namespace mirabo {

std::span<const Calculator* const> CliForms();
const Calculator* FindCliForm(std::string_view name);
// The field with this command-line name or alias; nullptr for none.
const CalculatorField* FindCliField(const Calculator& form, std::string_view name);

}  // namespace mirabo
