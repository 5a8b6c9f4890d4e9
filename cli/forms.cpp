#include "cli/forms.h"

namespace mirabo {
namespace {

constexpr const Calculator* kForms[] = {&kRightTriangle, &kObliqueTriangle, &kCoordinateRotation, &kOhmsLaw};

}  // namespace

std::span<const Calculator* const> CliForms() { return kForms; }

const Calculator* FindCliForm(std::string_view name) {
    for (const Calculator* form : kForms) {
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
