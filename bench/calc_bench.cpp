// One whole calculation per calculator: texts into an in-memory form, the
// solver, texts out. The aim is at most 2 microseconds a calculation.
#include <benchmark/benchmark.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "calc/memory_form.h"
#include "calc/solvers.h"

namespace {

using Inputs = std::initializer_list<std::pair<int, const wchar_t*>>;

void Calculate(benchmark::State& state, mirabo::SolveResult (*solve)(mirabo::CalcForm&), Inputs inputs) {
    for (auto _ : state) {
        mirabo::MemoryForm form;
        for (const auto& [id, text] : inputs) {
            form.SetText(id, text);
        }
        benchmark::DoNotOptimize(solve(form));
        benchmark::DoNotOptimize(form.Text(1001).data());
    }
}

void BM_RightTriangle(benchmark::State& s) {
    Calculate(s, mirabo::SolveRightTriangle, {{1001, L"3"}, {1002, L"4"}});
}
void BM_ObliqueTriangle(benchmark::State& s) {
    Calculate(s, mirabo::SolveObliqueTriangle, {{1001, L"7"}, {1002, L"8"}, {1003, L"9"}});
}
void BM_CoordinateRotation(benchmark::State& s) {
    Calculate(s, mirabo::RotateCoordinates, {{1001, L"3"}, {1002, L"4"}, {1003, L"30"}});
}
void BM_OhmsLaw(benchmark::State& s) {
    Calculate(s, mirabo::SolveOhmsLaw, {{1002, L"0.16"}, {1004, L"0.47"}});
}

BENCHMARK(BM_RightTriangle);
BENCHMARK(BM_ObliqueTriangle);
BENCHMARK(BM_CoordinateRotation);
BENCHMARK(BM_OhmsLaw);

}  // namespace

BENCHMARK_MAIN();
