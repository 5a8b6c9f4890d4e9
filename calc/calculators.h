// The register of calculators, kCalculators, as every part of the program
// sees them: each one's menu command, dialog template, Calculate and Clear
// buttons, solver, the message it gives for missing input, and fields in
// order, with their control identifiers and command-line names. Control
// numbers are written in res/resource.h and taken from here everywhere else.
#pragma once

#include <span>
#include <string_view>

#include "calc/form.h"
#include "calc/messages.h"
#include "calc/solvers.h"
#include "res/resource.h"

namespace mirabo {

enum class FieldRole {
    Input,   // typed into; a calculation may write it back
    Result,  // read-only; only a calculation writes it
};

struct CalculatorField {
    int controlId;
    std::string_view name;   // on the command line
    std::string_view alias;  // also accepted on the command line (UTF-8), or empty
    FieldRole role;
};

// A text typed into a field.
struct FieldText {
    int controlId;
    const wchar_t* text;
};

struct Calculator {
    std::string_view name;  // on the command line
    std::string_view id;    // in file and benchmark names: "right_triangle"
    int menuCommand;        // the menu item that opens its dialog
    int templateId;
    int calculateId;
    int clearId;
    SolveResult (*solve)(CalcForm& form);
    // The message (calc/messages.h) shown when no usable input is found.
    int missingInputMessage;
    // Whether the dialog answers its Calculate command 1 when the solver got
    // through (and 0 when it stopped for missing input), or 0 whatever the
    // solver returned.
    bool answersCalculate;
    // In field order: the order of the solver's quantities, of the command
    // line's fields, and in which Clear empties them.
    std::span<const CalculatorField> fields;
    // The first example the documentation shows, which the screenshots and
    // benchmarks type in.
    std::span<const FieldText> example;
};

// The field that takes the focus after missing input and after Clear.
constexpr int FirstFieldId(const Calculator& calculator) { return calculator.fields.front().controlId; }

// Right triangle: the legs a and b, the hypotenuse c, the acute angles alpha and
// beta, in degrees.
// clang-format off
inline constexpr CalculatorField kRightTriangleFields[] = {
    {IDC_RIGHT_A,     "a",     "",  FieldRole::Input},
    {IDC_RIGHT_B,     "b",     "",  FieldRole::Input},
    {IDC_RIGHT_C,     "c",     "",  FieldRole::Input},
    {IDC_RIGHT_ALPHA, "alpha", "\xCE\xB1", FieldRole::Input},  // α
    {IDC_RIGHT_BETA,  "beta",  "\xCE\xB2", FieldRole::Input},  // β
};
// clang-format on
inline constexpr FieldText kRightTriangleExample[] = {{IDC_RIGHT_A, L"3"}, {IDC_RIGHT_B, L"4"}};
inline constexpr Calculator kRightTriangle = {
    .name = "right",
    .id = "right_triangle",
    .menuCommand = IDM_RIGHT_TRIANGLE,
    .templateId = IDD_RIGHT_TRIANGLE,
    .calculateId = IDC_RIGHT_CALCULATE,
    .clearId = IDC_RIGHT_CLEAR,
    .solve = SolveRightTriangle,
    .missingInputMessage = MSG_MISSING_INPUT,
    .answersCalculate = true,
    .fields = kRightTriangleFields,
    .example = kRightTriangleExample,
};

// Oblique triangle: the sides a, b and c, the angles alpha, beta and gamma, in
// degrees.
// clang-format off
inline constexpr CalculatorField kObliqueTriangleFields[] = {
    {IDC_OBLIQUE_A,     "a",     "",  FieldRole::Input},
    {IDC_OBLIQUE_B,     "b",     "",  FieldRole::Input},
    {IDC_OBLIQUE_C,     "c",     "",  FieldRole::Input},
    {IDC_OBLIQUE_ALPHA, "alpha", "\xCE\xB1", FieldRole::Input},  // α
    {IDC_OBLIQUE_BETA,  "beta",  "\xCE\xB2", FieldRole::Input},  // β
    {IDC_OBLIQUE_GAMMA, "gamma", "\xCE\xB3", FieldRole::Input},  // γ
};
// clang-format on
inline constexpr FieldText kObliqueTriangleExample[] = {
    {IDC_OBLIQUE_A, L"7"}, {IDC_OBLIQUE_B, L"8"}, {IDC_OBLIQUE_C, L"9"}};
inline constexpr Calculator kObliqueTriangle = {
    .name = "oblique",
    .id = "oblique_triangle",
    .menuCommand = IDM_OBLIQUE_TRIANGLE,
    .templateId = IDD_OBLIQUE_TRIANGLE,
    .calculateId = IDC_OBLIQUE_CALCULATE,
    .clearId = IDC_OBLIQUE_CLEAR,
    .solve = SolveObliqueTriangle,
    .missingInputMessage = MSG_NEGATIVE_NOT_ALLOWED,
    .answersCalculate = true,
    .fields = kObliqueTriangleFields,
    .example = kObliqueTriangleExample,
};

// Coordinate rotation: the point (x, y) and the angle in degrees, then the
// point after the turn.
// clang-format off
inline constexpr CalculatorField kCoordinateRotationFields[] = {
    {IDC_COORD_X,        "x",     "", FieldRole::Input},
    {IDC_COORD_Y,        "y",     "", FieldRole::Input},
    {IDC_COORD_ANGLE,    "angle", "", FieldRole::Input},
    {IDC_COORD_X_RESULT, "x2",    "", FieldRole::Result},
    {IDC_COORD_Y_RESULT, "y2",    "", FieldRole::Result},
};
// clang-format on
inline constexpr FieldText kCoordinateRotationExample[] = {
    {IDC_COORD_X, L"3"}, {IDC_COORD_Y, L"4"}, {IDC_COORD_ANGLE, L"30"}};
inline constexpr Calculator kCoordinateRotation = {
    .name = "rotate",
    .id = "coordinate_rotation",
    .menuCommand = IDM_COORDINATE_ROTATION,
    .templateId = IDD_COORDINATE_ROTATION,
    .calculateId = IDC_COORD_CALCULATE,
    .clearId = IDC_COORD_CLEAR,
    .solve = RotateCoordinates,
    .missingInputMessage = MSG_MISSING_INPUT,
    .answersCalculate = true,
    .fields = kCoordinateRotationFields,
    .example = kCoordinateRotationExample,
};

// Ohm's law: voltage, current, resistance and power.
// clang-format off
inline constexpr CalculatorField kOhmsLawFields[] = {
    {IDC_OHM_VOLTAGE,    "V", "v", FieldRole::Input},
    {IDC_OHM_CURRENT,    "I", "i", FieldRole::Input},
    {IDC_OHM_RESISTANCE, "R", "r", FieldRole::Input},
    {IDC_OHM_POWER,      "P", "p", FieldRole::Input},
};
// clang-format on
inline constexpr FieldText kOhmsLawExample[] = {{IDC_OHM_VOLTAGE, L"10"}, {IDC_OHM_CURRENT, L"2"}};
inline constexpr Calculator kOhmsLaw = {
    .name = "ohm",
    .id = "ohms_law",
    .menuCommand = IDM_OHMS_LAW,
    .templateId = IDD_OHMS_LAW,
    .calculateId = IDC_OHM_CALCULATE,
    .clearId = IDC_OHM_CLEAR,
    .solve = SolveOhmsLaw,
    .missingInputMessage = MSG_MISSING_INPUT,
    .answersCalculate = false,
    .fields = kOhmsLawFields,
    .example = kOhmsLawExample,
};

// Every calculator, in the order of the menus (関数, then 計算). Whatever
// means "each calculator" walks this: the main window's menu commands, the
// command line's forms, batch mode, the screenshots, benchmarks, fuzz
// targets and tests.
inline constexpr const Calculator* kCalculators[] = {
    &kCoordinateRotation,
    &kObliqueTriangle,
    &kRightTriangle,
    &kOhmsLaw,
};

// The calculator whose menu command this is; nullptr for none.
constexpr const Calculator* CalculatorForCommand(int command) {
    for (const Calculator* calculator : kCalculators) {
        if (calculator->menuCommand == command) return calculator;
    }
    return nullptr;
}

}  // namespace mirabo
