// One whole calculation per calculator of the register, with its first
// example: texts into an in-memory form, the solver, texts out. The aim is at
// most 2 microseconds a calculation.
#include <benchmark/benchmark.h>

#include <string>

#include "calc/calculators.h"
#include "calc/memory_form.h"

namespace {

void Calculate(benchmark::State& state, const mirabo::Calculator& calculator) {
    for (auto _ : state) {
        mirabo::MemoryForm form;
        for (const auto& [id, text] : calculator.example) {
            form.SetText(id, text);
        }
        benchmark::DoNotOptimize(calculator.solve(form));
        benchmark::DoNotOptimize(form.Text(mirabo::FirstFieldId(calculator)).data());
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (const mirabo::Calculator* calculator : mirabo::kCalculators) {
        benchmark::RegisterBenchmark(
            std::string(calculator->id).c_str(),
            [calculator](benchmark::State& state) { Calculate(state, *calculator); });
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
