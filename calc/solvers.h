// The four calculators' Calculate handlers. Each reads its fields through the
// form and tells whether it stopped for missing input.
#pragma once

#include "calc/form.h"

namespace mirabo {

// What a solver returns, with the values the dialogs act on.
enum class SolveResult : int {
    // Every other outcome: the results written, the calculation-exception
    // message shown, or the user declined to see values that are not finite.
    Done = 0,
    // No usable input: the missing-input message shown and the focus moved to
    // the calculator's first field; no field changed.
    StoppedForMissingInput = 1,
};

SolveResult SolveRightTriangle(CalcForm& form);
SolveResult SolveObliqueTriangle(CalcForm& form);
SolveResult RotateCoordinates(CalcForm& form);
SolveResult SolveOhmsLaw(CalcForm& form);

}  // namespace mirabo
