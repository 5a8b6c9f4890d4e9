// The four calculators as every part of the program sees them: each one's
// dialog template, Calculate and Clear buttons, solver, and fields in order,
// with their control identifiers and command-line names. Control numbers are
// written in res/resource.h and taken from here everywhere else.
#pragma once

#include <span>
#include <string_view>

#include "calc/form.h"
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
    std::string_view alias;  // also accepted on the command line, or empty
    FieldRole role;
};

struct Calculator {
    std::string_view name;  // on the command line
    int templateId;
    int calculateId;
    int clearId;
    SolveResult (*solve)(CalcForm& form);
    // In field order: the order of the solver's quantities, of the command
    // line's fields, and in which Clear empties them.
    std::span<const CalculatorField> fields;
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
    {IDC_RIGHT_ALPHA, "alpha", "α", FieldRole::Input},
    {IDC_RIGHT_BETA,  "beta",  "β", FieldRole::Input},
};
// clang-format on
inline constexpr Calculator kRightTriangle = {
    .name = "right",
    .templateId = IDD_RIGHT_TRIANGLE,
    .calculateId = IDC_RIGHT_CALCULATE,
    .clearId = IDC_RIGHT_CLEAR,
    .solve = SolveRightTriangle,
    .fields = kRightTriangleFields,
};

// Oblique triangle: the sides a, b and c, the angles alpha, beta and gamma, in
// degrees.
// clang-format off
inline constexpr CalculatorField kObliqueTriangleFields[] = {
    {IDC_OBLIQUE_A,     "a",     "",  FieldRole::Input},
    {IDC_OBLIQUE_B,     "b",     "",  FieldRole::Input},
    {IDC_OBLIQUE_C,     "c",     "",  FieldRole::Input},
    {IDC_OBLIQUE_ALPHA, "alpha", "α", FieldRole::Input},
    {IDC_OBLIQUE_BETA,  "beta",  "β", FieldRole::Input},
    {IDC_OBLIQUE_GAMMA, "gamma", "γ", FieldRole::Input},
};
// clang-format on
inline constexpr Calculator kObliqueTriangle = {
    .name = "oblique",
    .templateId = IDD_OBLIQUE_TRIANGLE,
    .calculateId = IDC_OBLIQUE_CALCULATE,
    .clearId = IDC_OBLIQUE_CLEAR,
    .solve = SolveObliqueTriangle,
    .fields = kObliqueTriangleFields,
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
inline constexpr Calculator kCoordinateRotation = {
    .name = "rotate",
    .templateId = IDD_COORDINATE_ROTATION,
    .calculateId = IDC_COORD_CALCULATE,
    .clearId = IDC_COORD_CLEAR,
    .solve = RotateCoordinates,
    .fields = kCoordinateRotationFields,
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
inline constexpr Calculator kOhmsLaw = {
    .name = "ohm",
    .templateId = IDD_OHMS_LAW,
    .calculateId = IDC_OHM_CALCULATE,
    .clearId = IDC_OHM_CLEAR,
    .solve = SolveOhmsLaw,
    .fields = kOhmsLawFields,
};

}  // namespace mirabo
