// Every grid export (PRN, TXT, CSV, HTML, XML workbook, RTF, XLS through the office) with the
// calculator's settings, of a page of 10,000 memos scattered over five metres of paper and of a
// report of 2,000 pages of 1,000 memos each. Counters: the peak resident memory of the run (MB, the report's
// own memory included; each run resets the process's peak first), the report's memory before the export, and
// the file's size (for XLS the office's own process is not counted). An export the format refuses is reported
// with its message.
//   bench_long_exports --benchmark_filter='Export/0/'     the scattered page only
#include "export/ExportFilter.h"
#include "export/ExportFixtures.h"
#include "sheet/commands/SheetFilters.h"
#include "support/PeakMemory.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <string>

using namespace report;

namespace {

using benchsupport::PeakRssMb;
using benchsupport::ResetPeakRss;

// 10,000 memos at random places and sizes, overlapping, on a paper five metres square.
std::unique_ptr<TrpReport> ScatteredPage() {
    auto r = exporttest::NewReport();
    TrpReportPage* page = r->AddPage();
    page->SetName(QStringLiteral("Page"));
    page->SetPaperWidth(5300);
    page->SetPaperHeight(5300);
    unsigned seed = 26;
    auto next = [&](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return Extended((seed >> 8) % range);
    };
    for (int i = 0; i < 10000; ++i)
        exporttest::AddMemo(*page, QStringLiteral("d%1").arg(i), QStringLiteral("d%1").arg(i), next(19800),
                            next(19800), 20 + next(100), 12 + next(20));
    return r->Prepare() ? std::move(r) : nullptr;
}

// One A4 template page of 1,000 framed memos in 50 rows of 20, run once per record.
std::unique_ptr<TrpReport> LongReport(int pages) {
    auto r = exporttest::NewReport();
    // Pages beyond the store's memory go to its cache file, as in the command line's and the
    // preview's long reports.
    r->EngineOptions.UseFileCache = true;
    r->DataSets.push_back({QStringLiteral("Rows"), pages});
    TrpReportPage* page = r->AddPage();
    page->SetName(QStringLiteral("Page"));
    page->SetDataSetName(QStringLiteral("Rows"));
    for (int row = 0; row < 50; ++row)
        for (int column = 0; column < 20; ++column)
            exporttest::AddMemo(*page, QStringLiteral("m%1_%2").arg(row).arg(column),
                                row == 0 && column == 0 ? QStringLiteral("[Line]")
                                                        : QStringLiteral("%1.%2").arg(row).arg(column),
                                column * 36, row * 20, 36, 20, ftAll);
    return r->Prepare() ? std::move(r) : nullptr;
}

TrpReport* Report(int kind) {
    static std::map<int, std::unique_ptr<TrpReport>> reports;
    auto& r = reports[kind];
    if (!r)
        r = kind == 0 ? ScatteredPage() : LongReport(2000);
    return r.get();
}

const struct {
    const char* Name;
    int MenuIndex;
    const char* Ext;
} kFormats[] = {{"PRN", 4, "prn"}, {"TXT", 5, "txt"},  {"CSV", 6, "csv"}, {"HTML", 7, "html"},
                {"XML", 9, "xls"}, {"RTF", 10, "rtf"}, {"XLS", 8, "xls"}};

void BM_Export(benchmark::State& state) {
    TrpReport* r = Report(int(state.range(0)));
    const auto& format = kFormats[state.range(1)];
    state.SetLabel(format.Name);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("out.") + QLatin1String(format.Ext));
    for (auto _ : state) {
        QFile::remove(file);
        ResetPeakRss();
        const double before = PeakRssMb();
        auto filter = sheet::CreateSheetFilter(format.MenuIndex);
        filter->SetFileName(file);
        QElapsedTimer t;
        t.start();
        const QString error = exports::ExportSilently(*r, *filter);
        state.counters["seconds"] = t.nsecsElapsed() / 1e9;
        state.counters["peak_mb"] = PeakRssMb();
        state.counters["report_mb"] = before;
        state.counters["file_mb"] = QFileInfo(file).size() / 1048576.0;
        if (!error.isEmpty()) {
            static std::string message; // the library keeps the pointer
            message = error.toStdString();
            state.SkipWithError(message.c_str());
        }
    }
}
BENCHMARK(BM_Export)
    ->ArgsProduct({{0, 1}, {0, 1, 2, 3, 4, 5, 6}})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace
