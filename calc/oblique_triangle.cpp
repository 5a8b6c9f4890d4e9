// The oblique triangle: sides a (bottom), b (right) and c (slanted), and the
// angles at the vertices of the form's picture. Each angle lies between two sides
// and opposite the third: alpha between a and c (opposite b), beta between b and
// c (opposite a), gamma between a and b (opposite c).
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
enum Quantity { A, B, C, Alpha, Beta, Gamma, kQuantities };
static_assert(kObliqueTriangle.fields.size() == kQuantities);

using Values = double[kQuantities];

double Square(double x) { return Pow(x, 2.0); }
double SinDeg(double degrees) { return Sin(DegreesToRadians(degrees)); }
double CosDeg(double degrees) { return Cos(DegreesToRadians(degrees)); }
double AcosDeg(double ratio) { return RadiansToDegrees(Acos(ratio)); }

// The combinations that can be solved, tested in this order; every test whose
// three known fields are usable passes, and the last one that passes decides.
// Each row computes the three other quantities in the order written, each
// formula using what the ones before it computed. The operand order and the
// parentheses fix the last bits of the results.
struct Test {
    Quantity known[3];
    void (*compute)(Values& v);
};

// clang-format off
constexpr Test kTests[] = {
    /* 1 */ {{A, C, Alpha}, [](Values& v) {
         v[B] = Sqrt((Square(v[A]) + Square(v[C])) - ((CosDeg(v[Alpha]) * v[C]) * v[A]) * 2.0);
         v[Gamma] = AcosDeg(((Square(v[B]) + Square(v[A])) - Square(v[C])) / ((v[B] * v[A]) * 2.0));
         v[Beta] = (180.0 - v[Alpha]) - v[Gamma];
     }},
    /* 2 */ {{A, B, C}, [](Values& v) {
         v[Beta] = AcosDeg(((Square(v[B]) + Square(v[C])) - Square(v[A])) / ((v[C] * v[B]) * 2.0));
         v[Alpha] = AcosDeg(((Square(v[C]) + Square(v[A])) - Square(v[B])) / ((v[C] * v[A]) * 2.0));
         v[Gamma] = AcosDeg(((Square(v[B]) + Square(v[A])) - Square(v[C])) / ((v[B] * v[A]) * 2.0));
     }},
    /* 3 */ {{B, C, Beta}, [](Values& v) {
         v[A] = Sqrt((Square(v[B]) + Square(v[C])) - ((CosDeg(v[Beta]) * v[C]) * v[B]) * 2.0);
         v[Gamma] = AcosDeg(((Square(v[B]) + Square(v[A])) - Square(v[C])) / ((v[B] * v[A]) * 2.0));
         v[Alpha] = (180.0 - v[Beta]) - v[Gamma];
     }},
    /* 4 */ {{A, B, Gamma}, [](Values& v) {
         v[C] = Sqrt((Square(v[B]) + Square(v[A])) - ((CosDeg(v[Gamma]) * v[B]) * v[A]) * 2.0);
         v[Alpha] = AcosDeg(((Square(v[C]) + Square(v[A])) - Square(v[B])) / ((v[C] * v[A]) * 2.0));
         v[Beta] = (180.0 - v[Alpha]) - v[Gamma];
     }},
    /* 5 */ {{B, Alpha, Beta}, [](Values& v) {
         v[Gamma] = (180.0 - v[Alpha]) - v[Beta];
         v[A] = (v[B] / SinDeg(v[Alpha])) * SinDeg(v[Beta]);
         v[C] = (v[B] / SinDeg(v[Alpha])) * SinDeg(v[Gamma]);
     }},
    /* 6 */ {{A, Alpha, Beta}, [](Values& v) {
         v[Gamma] = (180.0 - v[Alpha]) - v[Beta];
         v[B] = (v[A] / SinDeg(v[Beta])) * SinDeg(v[Alpha]);
         v[C] = (v[A] / SinDeg(v[Beta])) * SinDeg(v[Gamma]);
     }},
    /* 7 */ {{A, Beta, Gamma}, [](Values& v) {
         v[Alpha] = (180.0 - v[Beta]) - v[Gamma];
         v[B] = (v[A] / SinDeg(v[Beta])) * SinDeg(v[Alpha]);
         v[C] = (v[A] / SinDeg(v[Beta])) * SinDeg(v[Gamma]);
     }},
    /* 8 */ {{C, Alpha, Gamma}, [](Values& v) {
         v[Beta] = (180.0 - v[Alpha]) - v[Gamma];
         v[A] = (v[C] / SinDeg(v[Gamma])) * SinDeg(v[Beta]);
         v[B] = (v[C] / SinDeg(v[Gamma])) * SinDeg(v[Alpha]);
     }},
    /* 9 */ {{C, Beta, Gamma}, [](Values& v) {
         v[Alpha] = (180.0 - v[Beta]) - v[Gamma];
         v[A] = (v[C] / SinDeg(v[Gamma])) * SinDeg(v[Beta]);
         v[B] = (v[C] / SinDeg(v[Gamma])) * SinDeg(v[Alpha]);
     }},
    /* 10 */ {{B, Alpha, Gamma}, [](Values& v) {
         v[Beta] = (180.0 - v[Alpha]) - v[Gamma];
         v[C] = (v[B] / SinDeg(v[Alpha])) * SinDeg(v[Gamma]);
         v[A] = (v[B] / SinDeg(v[Alpha])) * SinDeg(v[Beta]);
     }},
    /* 11 */ {{A, Alpha, Gamma}, [](Values& v) {
         v[Beta] = (180.0 - v[Alpha]) - v[Gamma];
         v[B] = (v[A] / SinDeg(v[Beta])) * SinDeg(v[Alpha]);
         v[C] = (v[A] / SinDeg(v[Beta])) * SinDeg(v[Gamma]);
     }},
    /* 12 */ {{B, Beta, Gamma}, [](Values& v) {
         v[Alpha] = (180.0 - v[Gamma]) - v[Beta];
         v[A] = (v[B] / SinDeg(v[Alpha])) * SinDeg(v[Beta]);
         v[C] = (v[B] / SinDeg(v[Alpha])) * SinDeg(v[Gamma]);
     }},
    /* 13 */ {{C, Alpha, Beta}, [](Values& v) {
         v[Gamma] = (180.0 - v[Beta]) - v[Alpha];
         v[A] = (v[C] / SinDeg(v[Gamma])) * SinDeg(v[Beta]);
         v[B] = (v[C] / SinDeg(v[Gamma])) * SinDeg(v[Alpha]);
     }},
};
// clang-format on

}  // namespace

SolveResult SolveObliqueTriangle(CalcForm& form) {
    FieldBuffer buffers[kQuantities];
    ReadFields(form, kObliqueTriangle.fields, buffers);

    bool usable[kQuantities];
    for (int q = 0; q < kQuantities; ++q) {
        usable[q] = IsUsableUnsigned(buffers[q]);
    }
    const Test* deciding = nullptr;
    for (const Test& test : kTests) {
        if (usable[test.known[0]] && usable[test.known[1]] && usable[test.known[2]]) {
            deciding = &test;
        }
    }
    if (deciding == nullptr) {
        return ReportMissingInput(form, kObliqueTriangle);
    }

    Values v;
    for (int q = 0; q < kQuantities; ++q) {
        v[q] = FieldTextToDouble(buffers[q]);
    }
    deciding->compute(v);

    if (ReportNaN(form, v)) {
        return SolveResult::Done;
    }
    // This form formats its results before it asks about values that are not
    // finite: a text that does not fit its field is refused without a question.
    const auto results = InFieldOrder(kObliqueTriangle, v);
    if (!FormatResults(form, results, SignStyle::NegativeOnly, buffers)) {
        return SolveResult::Done;
    }
    if (!ConfirmAll(form, v)) {
        return SolveResult::Done;
    }
    WriteResults(form, results, buffers);
    return SolveResult::Done;
}

}  // namespace mirabo
