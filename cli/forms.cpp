#include "cli/forms.h"

namespace mirabo {

std::span<const Calculator* const> CliForms() { return kCalculators; }

const Calculator* FindCliForm(std::string_view name) {
    for (const Calculator* form : kCalculators) {
        if (form->name == name) {
            return form;
        }
    }
    return nullptr;
}

const CalculatorField* FindCliField(const Calculator& form, std::string_view name) {
    for (const CalculatorField& field : form.fields) {
        if (!name.empty() && (field.name == name || field.alias == name)) {
            return &field;
        }
    }
    return nullptr;
}

}  // namespace mirabo
