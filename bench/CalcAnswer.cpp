// One answer change (a click through its handler and the recalculation) plus the result
// page's texts: what the window does between a click and the next repaint.
#include <benchmark/benchmark.h>

#include "calc/Calculator.h"

static void AnswerAndResult(benchmark::State& state) {
    calc::Calculator c;
    int option = 0;
    for (auto _ : state) {
        c.rbClassMClick(option);
        option = (option + 1) % 15;
        benchmark::DoNotOptimize(c.pResultEnterPage().Premium.data());
    }
}
BENCHMARK(AnswerAndResult);

static void AnswerOnly(benchmark::State& state) {
    calc::Calculator c;
    int vehicle = 0;
    for (auto _ : state) {
        c.rbTypeCarClick(vehicle);
        vehicle = (vehicle + 1) % calc::VehicleTypeCount;
        benchmark::DoNotOptimize(c.State().TB);
    }
}
BENCHMARK(AnswerOnly);

BENCHMARK_MAIN();
