// The Excel export through LibreOffice Calc: the office's start and shutdown alone, the
// calculation sheet (each export starts its own office with a fresh profile, so every export
// is a cold one: there is no warm case), 100 copies of the sheet's page on the fast path against
// the normal path, and, side by side, the user's alternative: LibreOffice converting our Excel
// XML workbook of the same 100 pages to .xls. Each case keeps its fastest run, which is the
// least disturbed by the rest of the machine; the ratios are printed after the runs (the fast
// path is meant to fill the sheet 5 times faster than the normal path or more). On one page the
// fast path is the slower one by the start of the office's Python (about 0.1 s), which runs
// its merges and row heights inside the office; that pays from a few pages on.
#include "export/xls/XlsExport.h"
#include "export/xls/Excel.h"
#include "export/xml/XmlExport.h"
#include "platform/FontSetup.h"
#include "support/FeedPages.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <benchmark/benchmark.h>
#include <chrono>
#include <map>

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The fastest fill and the fastest whole export of each case, in seconds.
std::map<std::string, double> fill, whole;

void Keep(std::map<std::string, double>& times, const std::string& key, double seconds) {
    const auto found = times.find(key);
    times[key] = found == times.end() ? seconds : std::min(found->second, seconds);
}

void OfficeStartAndQuit(benchmark::State& state) {
    for (auto _ : state) {
        exports::TrpExcel excel;
        if (!excel.StartApplication())
            state.SkipWithError(excel.StartError().toUtf8().constData());
        excel.Quit();
    }
}

// Each run starts its own office; "fill s" is the filling and saving of the sheet alone (Finish),
// which is where the two paths differ, "whole s" the export from the office's start to its end.
void Ours(benchmark::State& state, const char* key, int pages, bool fast) {
    QTemporaryDir dir;
    for (auto _ : state) {
        const auto start = Clock::now();
        exports::TrpXLSExport filter(true);
        filter.SetReport(&bench::PreparedSheet());
        filter.SetShowProgress(false);
        filter.SetFastExport(fast);
        filter.SetFileName(dir.filePath(QStringLiteral("sheet.xls")));
        filter.Start();
        bench::FeedPages(filter, pages);
        const auto filling = Clock::now();
        try {
            filter.Finish();
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
        }
        Keep(fill, key, Since(filling));
        Keep(whole, key, Since(start));
    }
    state.counters["fill s"] = fill[key];
    state.counters["whole s"] = whole[key];
}

// Our Excel XML workbook of the pages (not timed), then the office converting it to .xls with a
// profile of its own, start and shutdown included.
void OfficeConvertsOurXml(benchmark::State& state, const char* key, int pages) {
    QTemporaryDir dir;
    const QString xml = dir.filePath(QStringLiteral("sheet.xml"));
    {
        exports::TrpXMLExport filter(true);
        filter.SetReport(&bench::PreparedSheet());
        filter.SetShowProgress(false);
        filter.SetFileName(xml);
        filter.Start();
        bench::FeedPages(filter, pages);
        filter.Finish();
    }
    for (auto _ : state) {
        QTemporaryDir profile;
        const auto start = Clock::now();
        QProcess office;
        office.start(
            exports::TrpExcel::OfficeProgram(),
            {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile.path()).toString(),
             QStringLiteral("--headless"), QStringLiteral("--norestore"),
             QStringLiteral("--infilter=MS Excel 2003 XML"), QStringLiteral("--convert-to"),
             QStringLiteral("xls:MS Excel 97"), QStringLiteral("--outdir"), dir.path(), xml});
        if (!office.waitForFinished(300000) || office.exitCode() != 0 ||
            !QFileInfo(dir.filePath(QStringLiteral("sheet.xls"))).size())
            state.SkipWithError("the office did not convert the workbook");
        Keep(whole, key, Since(start));
    }
    state.counters["whole s"] = whole[key];
}

} // namespace

BENCHMARK(OfficeStartAndQuit)->Unit(benchmark::kSecond)->Iterations(2);
BENCHMARK_CAPTURE(Ours, SheetFast, "sheet fast", 1, true)->Unit(benchmark::kSecond)->Iterations(2);
BENCHMARK_CAPTURE(Ours, SheetNormal, "sheet normal", 1, false)->Unit(benchmark::kSecond)->Iterations(2);
BENCHMARK_CAPTURE(Ours, Pages100Fast, "100 fast", 100, true)->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK_CAPTURE(Ours, Pages100Normal, "100 normal", 100, false)->Unit(benchmark::kSecond)->Iterations(2);
BENCHMARK_CAPTURE(OfficeConvertsOurXml, Pages100, "100 converted", 100)
    ->Unit(benchmark::kSecond)
    ->Iterations(2);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::InstallApplicationFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (fill.count("100 fast") && fill.count("100 normal"))
        std::printf("100 pages, filling and saving: normal / fast = %.2f (target at least 5)\n",
                    fill["100 normal"] / fill["100 fast"]);
    if (whole.count("100 fast") && whole.count("100 converted"))
        std::printf(
            "100 pages, whole export: our fast path %.2f s, the office converting our Excel XML %.2f s\n",
            whole["100 fast"], whole["100 converted"]);
    return 0;
}
