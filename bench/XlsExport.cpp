// The Excel export through LibreOffice Calc: the office's start and shutdown alone, the
// calculation sheet (each export starts its own office with a fresh profile, so every export
// is a cold one: there is no warm case), and 100 copies of the sheet's page on the fast path
// against the normal path. After the runs the ratio normal / fast of the filling is printed
// (the fast path is meant to be 5 times faster or more).
#include "export/xls/XlsExport.h"
#include "export/xls/Excel.h"
#include "report/PreviewPages.h"
#include "sheet/SheetTemplate.h"
#include "support/SheetFixture.h"

#include "platform/FontSetup.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>

using namespace report;

namespace {

std::map<std::string, double> seconds;

void OfficeStartAndQuit(benchmark::State& state) {
    for (auto _ : state) {
        exports::TrpExcel excel;
        if (!excel.StartApplication())
            state.SkipWithError(excel.StartError().toUtf8().constData());
        excel.Quit();
    }
}

// Each iteration starts its own office; the counter "fill s" is the time of filling and saving the
// sheet alone (Finish), which is where the two paths differ.
void Timed(benchmark::State& state, const char* key, int pages, bool fast) {
    TrpReportPage& page = bench::SheetPaperPage();
    QTemporaryDir dir;
    double fill = 0;
    for (auto _ : state) {
        exports::TrpXLSExport filter(true);
        filter.SetReport(&bench::PreparedSheet());
        filter.SetShowProgress(false);
        filter.SetFastExport(fast);
        filter.SetFileName(dir.filePath(QStringLiteral("sheet.xls")));
        filter.Start();
        for (int i = 0; i < pages; ++i) {
            filter.StartPage(&page, i);
            for (const auto& object : page.Objects())
                filter.ExportObject(object.get());
            filter.FinishPage(&page, i);
        }
        const auto start = std::chrono::steady_clock::now();
        try {
            filter.Finish();
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
        }
        fill += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    seconds[key] = fill / double(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["fill s"] = seconds[key];
}

} // namespace

BENCHMARK(OfficeStartAndQuit)->Unit(benchmark::kSecond)->Iterations(2);
BENCHMARK_CAPTURE(Timed, SheetFast, "sheet fast", 1, true)->Unit(benchmark::kSecond)->Iterations(2);
BENCHMARK_CAPTURE(Timed, SheetNormal, "sheet normal", 1, false)->Unit(benchmark::kSecond)->Iterations(2);
BENCHMARK_CAPTURE(Timed, Pages100Fast, "100 fast", 100, true)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(Timed, Pages100Normal, "100 normal", 100, false)->Unit(benchmark::kSecond)->Iterations(1);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::InstallApplicationFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (seconds.count("100 fast") && seconds["100 fast"] > 0 && seconds.count("100 normal"))
        std::printf("100 pages, filling and saving: normal / fast = %.2f (target at least 5)\n",
                    seconds["100 normal"] / seconds["100 fast"]);
    return 0;
}
