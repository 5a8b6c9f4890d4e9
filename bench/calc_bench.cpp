// One whole calculation per calculator: texts into an in-memory form, the
// solver, texts out. The aim is at most 2 microseconds a calculation.
#include <benchmark/benchmark.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "calc/calculators.h"
#include "calc/memory_form.h"

namespace {

using Inputs = std::initializer_list<std::pair<int, const wchar_t*>>;

void Calculate(benchmark::State& state, const mirabo::Calculator& calculator, Inputs inputs) {
    for (auto _ : state) {
        mirabo::MemoryForm form;
        for (const auto& [id, text] : inputs) {
            form.SetText(id, text);
        }
        benchmark::DoNotOptimize(calculator.solve(form));
        benchmark::DoNotOptimize(form.Text(mirabo::FirstFieldId(calculator)).data());
    }
}

void BM_RightTriangle(benchmark::State& s) {
    Calculate(s, mirabo::kRightTriangle, {{IDC_RIGHT_A, L"3"}, {IDC_RIGHT_B, L"4"}});
}
void BM_ObliqueTriangle(benchmark::State& s) {
    Calculate(s, mirabo::kObliqueTriangle,
              {{IDC_OBLIQUE_A, L"7"}, {IDC_OBLIQUE_B, L"8"}, {IDC_OBLIQUE_C, L"9"}});
}
void BM_CoordinateRotation(benchmark::State& s) {
    Calculate(s, mirabo::kCoordinateRotation,
              {{IDC_COORD_X, L"3"}, {IDC_COORD_Y, L"4"}, {IDC_COORD_ANGLE, L"30"}});
}
void BM_OhmsLaw(benchmark::State& s) {
    Calculate(s, mirabo::kOhmsLaw, {{IDC_OHM_CURRENT, L"0.16"}, {IDC_OHM_POWER, L"0.47"}});
}

BENCHMARK(BM_RightTriangle);
BENCHMARK(BM_ObliqueTriangle);
BENCHMARK(BM_CoordinateRotation);
BENCHMARK(BM_OhmsLaw);

}  // namespace

BENCHMARK_MAIN();
