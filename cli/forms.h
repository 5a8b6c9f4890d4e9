// The calculators the command-line tool knows, with their field names.
#pragma once

#include <span>
#include <string_view>

#include "calc/form.h"
#include "calc/solvers.h"

namespace mirabo {

struct CliField {
    std::string_view name;   // as printed
    std::string_view alias;  // also accepted, or empty
    int controlId;
};

struct CliForm {
    std::string_view name;
    SolveResult (*solve)(CalcForm& form);
    std::span<const CliField> fields;  // in field order
};

std::span<const CliForm> CliForms();
const CliForm* FindCliForm(std::string_view name);
const CliField* FindCliField(const CliForm& form, std::string_view name);

}  // namespace mirabo
