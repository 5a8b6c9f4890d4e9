// The four calculators' Calculate handlers. Each reads its fields through the
// form, and returns 1 when it stopped for missing input (after its message and
// moving the focus to field 1001), 0 in every other outcome.
#pragma once

#include "calc/form.h"

namespace mirabo {

int SolveRightTriangle(CalcForm& form);
int SolveObliqueTriangle(CalcForm& form);
int RotateCoordinates(CalcForm& form);
int SolveOhmsLaw(CalcForm& form);

}  // namespace mirabo
