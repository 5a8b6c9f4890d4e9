// The right triangle: sides a and b are the legs (a adjacent to alpha, b opposite
// it), c is the hypotenuse; alpha + beta = 90 degrees for a consistent triangle.
#include "calc/angles.h"
#include "calc/calculators.h"
#include "calc/confirm.h"
#include "calc/elementary.h"
#include "calc/field_reading.h"
#include "calc/messages.h"
#include "calc/number_text.h"
#include "calc/result_output.h"
#include "calc/solvers.h"

namespace mirabo {
namespace {

// The quantities in field order.
enum Quantity { A, B, C, Alpha, Beta, kQuantities };
static_assert(kRightTriangle.fields.size() == kQuantities);

double Square(double x) { return Pow(x, 2.0); }

using Values = double[kQuantities];

// The pairs that can be solved, tested in this order; the last usable pair wins.
// Each row computes the three other quantities in the order written.
struct Case {
    Quantity first, second;
    void (*compute)(Values& v);
};

// clang-format off
constexpr Case kCases[] = {
    {A, B, [](Values& v) {
         v[C] = Sqrt(Square(v[B]) + Square(v[A]));
         v[Alpha] = RadiansToDegrees(Atan(v[B] / v[A]));
         v[Beta] = 90.0 - v[Alpha];
     }},
    {A, C, [](Values& v) {
         v[B] = Sqrt(Square(v[C]) - Square(v[A]));
         v[Alpha] = RadiansToDegrees(Acos(v[A] / v[C]));
         v[Beta] = 90.0 - v[Alpha];
     }},
    {B, C, [](Values& v) {
         v[A] = Sqrt(Square(v[C]) - Square(v[B]));
         v[Alpha] = RadiansToDegrees(Asin(v[B] / v[C]));
         v[Beta] = 90.0 - v[Alpha];
     }},
    {A, Alpha, [](Values& v) {
         v[B] = Tan(DegreesToRadians(v[Alpha])) * v[A];
         v[C] = Sqrt(Square(v[B]) + Square(v[A]));
         v[Beta] = 90.0 - v[Alpha];
     }},
    {A, Beta, [](Values& v) {
         v[Alpha] = 90.0 - v[Beta];
         v[B] = Tan(DegreesToRadians(v[Alpha])) * v[A];
         v[C] = Sqrt(Square(v[B]) + Square(v[A]));
     }},
    {B, Alpha, [](Values& v) {
         v[C] = v[B] / Sin(DegreesToRadians(v[Alpha]));
         v[A] = Sqrt(Square(v[C]) - Square(v[B]));
         v[Beta] = 90.0 - v[Alpha];
     }},
    {B, Beta, [](Values& v) {
         v[C] = v[B] / Cos(DegreesToRadians(v[Beta]));
         v[A] = Sqrt(Square(v[C]) - Square(v[B]));
         v[Alpha] = 90.0 - v[Beta];
     }},
    {C, Alpha, [](Values& v) {
         v[A] = Cos(DegreesToRadians(v[Alpha])) * v[C];
         v[B] = Sqrt(Square(v[C]) - Square(v[A]));
         v[Beta] = 90.0 - v[Alpha];
     }},
    {C, Beta, [](Values& v) {
         v[B] = Cos(DegreesToRadians(v[Beta])) * v[C];
         v[A] = Sqrt(Square(v[C]) - Square(v[B]));
         v[Alpha] = 90.0 - v[Beta];
     }},
};
// clang-format on

}  // namespace

SolveResult SolveRightTriangle(CalcForm& form) {
    FieldBuffer buffers[kQuantities];
    ReadFields(form, kRightTriangle.fields, buffers);

    bool usable[kQuantities];
    for (int q = 0; q < kQuantities; ++q) {
        usable[q] = IsUsableUnsigned(buffers[q]);
    }
    const Case* chosen = nullptr;
    for (const Case& c : kCases) {
        if (usable[c.first] && usable[c.second]) {
            chosen = &c;
        }
    }
    if (chosen == nullptr) {
        return ReportMissingInput(form, kRightTriangle);
    }

    Values v;
    for (int q = 0; q < kQuantities; ++q) {
        v[q] = FieldTextToDouble(buffers[q]);
    }
    chosen->compute(v);

    if (ReportNaN(form, v) || !ConfirmAll(form, v)) {
        return SolveResult::Done;
    }
    const auto results = InFieldOrder(kRightTriangle, v);
    if (!FormatResults(form, results, SignStyle::NegativeOnly, buffers)) {
        return SolveResult::Done;
    }
    WriteResults(form, results, buffers);
    return SolveResult::Done;
}

}  // namespace mirabo
