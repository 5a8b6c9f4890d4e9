// Coordinate rotation: the point (X, Y) turned about the origin by an angle in
// degrees, counter-clockwise for a positive angle. All three inputs are required
// and may be negative; there are no cases, no NaN test and no confirmation,
// since every text the signed rule admits gives finite values.
#include "calc/angles.h"
#include "calc/calculators.h"
#include "calc/elementary.h"
#include "calc/field_reading.h"
#include "calc/messages.h"
#include "calc/number_text.h"
#include "calc/result_output.h"
#include "calc/solvers.h"

namespace mirabo {
namespace {

// The fields in field order: the three inputs, then the two results.
enum Field { X, Y, Theta, XMoved, YMoved, kFields };
constexpr int kInputs = Theta + 1;
static_assert(kCoordinateRotation.fields.size() == kFields);

constexpr int Id(Field field) { return kCoordinateRotation.fields[field].controlId; }

}  // namespace

SolveResult RotateCoordinates(CalcForm& form) {
    FieldBuffer buffers[kInputs];
    ReadFields(form, kCoordinateRotation.fields.first(kInputs), buffers);

    for (const FieldBuffer& text : buffers) {
        if (!IsUsableSigned(text)) {
            return ReportMissingInput(form, kCoordinateRotation);
        }
    }

    const double x = FieldTextToDouble(buffers[X]);
    const double y = FieldTextToDouble(buffers[Y]);
    const double theta = FieldTextToDouble(buffers[Theta]);
    const double r = DegreesToRadians(theta);
    const double xMoved = Cos(r) * x - Sin(r) * y;
    const double yMoved = Cos(r) * y + Sin(r) * x;

    // X' and Y' go to the read-only result fields; the point's own fields keep
    // what was typed, and the angle field shows the angle as it was read.
    const FieldResult results[] = {{Id(XMoved), xMoved}, {Id(YMoved), yMoved}, {Id(Theta), theta}};
    if (!FormatResults(form, results, SignStyle::Always, buffers)) {
        return SolveResult::Done;
    }
    WriteResults(form, results, buffers);
    return SolveResult::Done;
}

}  // namespace mirabo
