// The HTML export in one file over 1 to 1,000 copies of the calculation sheet's page, side by
// side with the layout matrix alone on the same pages and with the same options (the part of
// the work the table needs before a line is written). Prints the time per page, the growth
// exponent between sizes and the ratio of the two.
#include "export/html/HtmlExport.h"
#include "export/ExportFixtures.h"
#include "export/LayoutMatrix.h"
#include "report/PreparedPageStore.h"
#include "support/Growth.h"
#include "support/MatrixAlone.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <map>

using namespace exporttest;

namespace {

std::map<int, double> gHtml, gMatrix;

template <class Run> void Measure(benchmark::State& state, std::map<int, double>& seconds, Run run) {
    const int pages = int(state.range(0));
    auto r = PreparedSheets(pages);
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        run(*r);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        ++runs;
    }
    seconds[pages] = total / runs;
    state.counters["ms_per_page"] = 1000 * total / runs / pages;
    state.SetComplexityN(pages);
}

void BM_MatrixAlone(benchmark::State& state) {
    Measure(state, gMatrix, [](report::TrpReport& r) {
        // The matrix as the HTML export sets it up: fed and prepared, nothing written.
        bench::MatrixAlone f([](exports::TrpIEMatrix& m) {
            m.Inaccuracy = 0.5;
            m.RotatedAsImage = true;
            m.FramesOptimization = true;
            m.RichText = true;
            m.PlainRich = true;
        });
        exports::ExportTo(r, &f);
        benchmark::DoNotOptimize(f.M->Height());
    });
}

void BM_HtmlSingleFile(benchmark::State& state) {
    QTemporaryDir dir;
    Measure(state, gHtml, [&](report::TrpReport& r) {
        exports::TrpHTMLExport f;
        f.SetShowDialog(false);
        f.SetShowProgress(false);
        f.SetFileName(dir.filePath(QStringLiteral("OSAGO.html")));
        if (!exports::ExportTo(r, &f))
            state.SkipWithError("the export failed");
    });
}

BENCHMARK(BM_MatrixAlone)->Arg(1)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_HtmlSingleFile)
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
    bench::PrintGrowth("matrix alone", gMatrix);
    bench::PrintGrowth("HTML in one file", gHtml);
    // The target: the whole export at most twice the matrix it is built on.
    for (const auto& [pages, html] : gHtml)
        if (gMatrix.count(pages))
            std::printf("%d pages: %.2f ms per page, %.2f times the matrix alone\n", pages,
                        1000 * html / pages, html / gMatrix.at(pages));
    return 0;
}
