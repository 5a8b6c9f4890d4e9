#include "cli/forms.h"

#include "calc/solvers.h"

namespace mirabo {
namespace {

// clang-format off
constexpr CliField kRightFields[] = {
    {"a", "", 1001},
    {"b", "", 1002},
    {"c", "", 1003},
    {"alpha", "α", 1004},
    {"beta", "β", 1005},
};
// clang-format on

// clang-format off
constexpr CliField kObliqueFields[] = {
    {"a", "", 1001},
    {"b", "", 1002},
    {"c", "", 1003},
    {"alpha", "α", 1006},
    {"beta", "β", 1007},
    {"gamma", "γ", 1008},
};
// clang-format on

// clang-format off
constexpr CliField kRotateFields[] = {
    {"x", "", 1001},
    {"y", "", 1002},
    {"angle", "", 1003},
    {"x2", "", 1006},
    {"y2", "", 1007},
};
// clang-format on

constexpr CliField kOhmFields[] = {
    {"V", "v", 1001},
    {"I", "i", 1002},
    {"R", "r", 1003},
    {"P", "p", 1004},
};

constexpr CliForm kForms[] = {
    {"right", SolveRightTriangle, kRightFields},
    {"oblique", SolveObliqueTriangle, kObliqueFields},
    {"rotate", RotateCoordinates, kRotateFields},
    {"ohm", SolveOhmsLaw, kOhmFields},
};

}  // namespace

std::span<const CliForm> CliForms() { return kForms; }

const CliForm* FindCliForm(std::string_view name) {
    for (const CliForm& form : kForms) {
        if (form.name == name) {
            return &form;
        }
    }
    return nullptr;
}

const CliField* FindCliField(const CliForm& form, std::string_view name) {
    for (const CliField& field : form.fields) {
        if (!name.empty() && (field.name == name || field.alias == name)) {
            return &field;
        }
    }
    return nullptr;
}

}  // namespace mirabo
