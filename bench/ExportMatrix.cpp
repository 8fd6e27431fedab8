// The layout matrix over 1 to 1,000 copies of the calculation sheet's page: the export loop
// feeding every object in, then Prepare. Prints the growth exponent between sizes.
#include "export/ExportFixtures.h"
#include "export/LayoutMatrix.h"
#include "report/PreparedPageStore.h"
#include "support/Growth.h"
#include "support/MatrixAlone.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <map>

using namespace exporttest;

namespace {

std::map<int, double> gSeconds;

void BM_MatrixOverSheets(benchmark::State& state) {
    const int pages = int(state.range(0));
    auto r = PreparedSheets(pages);
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        // The table exports' options: HTML-like inaccuracy, frames merged, no pictures.
        bench::MatrixAlone f([](exports::TrpIEMatrix& m) {
            m.Inaccuracy = 0.5;
            m.FramesOptimization = true;
            m.RichText = true;
            m.DeleteHTMLTags = true;
            m.Images = false;
        });
        const auto t0 = std::chrono::steady_clock::now();
        exports::ExportTo(*r, &f);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        ++runs;
        benchmark::DoNotOptimize(f.M->Height());
        state.counters["rows"] = f.M->Height();
        state.counters["styles"] = f.M->StylesCount();
    }
    gSeconds[pages] = total / runs;
    state.SetComplexityN(pages);
}
BENCHMARK(BM_MatrixOverSheets)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bench::PrintGrowth("matrix", gSeconds);
    return 0;
}
