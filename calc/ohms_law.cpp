// Ohm's law: voltage V, current I, resistance R and power P, related by
// V = I x R and P = V x I. Two known quantities give the two others.
#include <cmath>

#include "calc/calculators.h"
#include "calc/confirm.h"
#include "calc/field_reading.h"
#include "calc/messages.h"
#include "calc/number_text.h"
#include "calc/result_output.h"
#include "calc/solvers.h"

namespace mirabo {
namespace {

// The quantities in field order.
enum Quantity { V, I, R, P, kQuantities };
static_assert(kOhmsLaw.fields.size() == kQuantities);

using Values = double[kQuantities];

// The tests that choose the case, run in this order; every test that passes sets
// its case, so the last one that passes decides. In tests 6 to 8 the power field
// only has to be filled: its text is not checked there.
struct Test {
    Quantity first, second;
    bool powerFilled;
    int setsCase;
};

// clang-format off
constexpr Test kTests[] = {
    /* 1 */ {V, I, false, 1},
    /* 2 */ {V, R, false, 2},
    /* 3 */ {I, R, false, 3},
    /* 4 */ {V, P, false, 4},
    /* 5 */ {I, P, false, 5},
    /* 6 */ {V, R, true, 2},
    /* 7 */ {I, R, true, 3},
    /* 8 */ {V, I, true, 1},
};
// clang-format on

// The two missing quantities of each case, computed in the order written, each
// step using what the one before it computed.
using Compute = void (*)(Values& v);

// clang-format off
constexpr Compute kCases[] = {
    /* 1: V, I */ [](Values& v) {
        v[R] = v[V] / v[I];
        v[P] = v[I] * v[V];
    },
    /* 2: V, R */ [](Values& v) {
        v[I] = v[V] / v[R];
        v[P] = v[I] * v[V];
    },
    /* 3: I, R */ [](Values& v) {
        v[V] = v[R] * v[I];
        v[P] = v[I] * v[V];
    },
    /* 4: V, P */ [](Values& v) {
        v[I] = v[P] / v[V];
        v[R] = v[V] / v[I];
    },
    /* 5: I, P */ [](Values& v) {
        // The reciprocal of the current is formed once and multiplied: dividing P
        // by I directly rounds differently (0.47 / 0.16 falls just below 2.9375).
        const double k = 1.0 / v[I];
        v[V] = k * v[P];
        v[R] = k * v[V];
    },
};
// clang-format on

}  // namespace

SolveResult SolveOhmsLaw(CalcForm& form) {
    int chosenCase = 0;
    FieldBuffer buffers[kQuantities];
    ReadFields(form, kOhmsLaw.fields, buffers);

    Values v;
    for (int q = 0; q < kQuantities; ++q) {
        v[q] = FieldTextToDouble(buffers[q]);
    }

    bool usable[kQuantities];
    for (int q = 0; q < kQuantities; ++q) {
        usable[q] = IsUsableUnsigned(buffers[q]);
    }
    const bool powerFilled = !IsFieldEmpty(buffers[P]);
    for (const Test& test : kTests) {
        if (usable[test.first] && usable[test.second] && (!test.powerFilled || powerFilled)) {
            chosenCase = test.setsCase;
        }
    }
    if (chosenCase == 0) {
        return ReportMissingInput(form, kOhmsLaw);
    }

    kCases[chosenCase - 1](v);

    if (ReportNaN(form, v) || !ConfirmAll(form, v)) {
        return SolveResult::Done;
    }
    const auto results = InFieldOrder(kOhmsLaw, v);
    if (!FormatResults(form, results, SignStyle::NegativeOnly, buffers)) {
        return SolveResult::Done;
    }
    WriteResults(form, results, buffers);
    return SolveResult::Done;
}

}  // namespace mirabo
