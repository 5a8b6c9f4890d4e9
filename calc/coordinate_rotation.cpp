// Coordinate rotation: the point (X, Y) turned about the origin by an angle in
// degrees, counter-clockwise for a positive angle. All three inputs are required
// and may be negative; there are no cases, no NaN test and no confirmation,
// since every text the signed rule admits gives finite values.
#include <cmath>

#include "calc/angles.h"
#include "calc/field_reading.h"
#include "calc/messages.h"
#include "calc/number_text.h"
#include "calc/result_output.h"
#include "calc/solvers.h"

namespace mirabo {
namespace {

enum Input { X, Y, Theta, kInputs };

constexpr int kInputIds[kInputs] = {1001, 1002, 1003};

}  // namespace

SolveResult RotateCoordinates(CalcForm& form) {
    FieldBuffer buffers[kInputs];
    ReadFields(form, kInputIds, buffers);

    for (const FieldBuffer& text : buffers) {
        if (!IsUsableSigned(text)) {
            return ReportMissingInput(form, MSG_MISSING_INPUT);
        }
    }

    const double x = FieldTextToDouble(buffers[X]);
    const double y = FieldTextToDouble(buffers[Y]);
    const double theta = FieldTextToDouble(buffers[Theta]);
    const double r = DegreesToRadians(theta);
    const double xMoved = std::cos(r) * x - std::sin(r) * y;
    const double yMoved = std::cos(r) * y + std::sin(r) * x;

    // X' and Y' go to the read-only result fields; the point's own fields keep
    // what was typed, and the angle field shows the angle as it was read.
    const FieldResult results[] = {{1006, xMoved}, {1007, yMoved}, {1003, theta}};
    if (!FormatResults(form, results, SignStyle::Always, buffers)) {
        return SolveResult::Done;
    }
    WriteResults(form, results, buffers);
    return SolveResult::Done;
}

}  // namespace mirabo
