// A long report (one page per record) prepared, saved as .trp, reopened, previewed (the last
// page rebuilt, a text found on the last but one page) and exported to PDF, with the file cache
// on and off. Arguments: pages, cache (1 on, 0 off). Counters: seconds per step, the peak
// resident memory of the run (MB) and the prepared pages' own bytes in memory.
//   bench_scale --benchmark_filter='Scale/1000/'        one size
// Each run resets the process's peak memory first, so runs can share a process; the 100,000
// page runs take minutes and are best run alone.
#include "export/pdf/PdfExport.h"
#include "report/PageSearch.h"
#include "report/PreparedPageStore.h"
#include "report/PreparedReportFile.h"
#include "support/LongReport.h"
#include "support/PeakMemory.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <string>

using namespace report;

namespace {

using benchsupport::PeakRssMb;
using benchsupport::ResetPeakRss;

void Configure(TrpReport& r, bool cache, const QString& dir) {
    r.EngineOptions.UseFileCache = cache;
    r.EngineOptions.TempDir = dir;
}

void BM_Scale(benchmark::State& state) {
    const int pages = int(state.range(0));
    const bool cache = state.range(1) != 0;
    QTemporaryDir dir;
    const QString trp = dir.filePath("long.trp"), pdf = dir.filePath("long.pdf");
    std::map<std::string, double> seconds;
    double peak = 0, storeMb = 0, trpMb = 0, pdfMb = 0;
    for (auto _ : state) {
        ResetPeakRss();
        QElapsedTimer t;
        auto step = [&](const char* name, auto&& f) {
            t.restart();
            const bool ok = f();
            seconds[name] += t.nsecsElapsed() / 1e9;
            if (!ok)
                state.SkipWithError(name);
            return ok;
        };
        {
            auto r = longreport::Create(pages);
            Configure(*r, cache, dir.path());
            if (!step("prepare_s", [&] { return r->Prepare(); }))
                break;
            storeMb = r->PreviewPages().MemorySize() / 1048576.0;
            if (!step("save_s", [&] { return TrpPreparedReportFile::SaveToFile(*r, trp).isEmpty(); }))
                break;
        }
        auto r = longreport::Create(1);
        Configure(*r, cache, dir.path());
        if (!step("open_s", [&] { return TrpPreparedReportFile::LoadFromFile(*r, trp).Ok; }))
            break;
        step("last_page_s", [&] { return r->PreviewPages().Page(pages - 1) != nullptr; });
        step("find_s", [&] {
            return FindTextPage(r->PreviewPages(), longreport::ContractText(pages - 1), 0,
                                Qt::CaseSensitive) == pages - 2;
        });
        step("pdf_s", [&] { return exports::ExportReportToPDF(*r, pdf).isEmpty(); });
        peak = PeakRssMb();
        trpMb = QFile(trp).size() / 1048576.0;
        pdfMb = QFile(pdf).size() / 1048576.0;
    }
    for (const auto& [name, s] : seconds)
        state.counters[name] = s / double(state.iterations());
    state.counters["peak_rss_MB"] = peak;
    state.counters["store_MB"] = storeMb;
    state.counters["trp_MB"] = trpMb;
    state.counters["pdf_MB"] = pdfMb;
}
BENCHMARK(BM_Scale)
    ->ArgNames({"pages", "cache"})
    ->Args({1000, 1})
    ->Args({1000, 0})
    ->Args({10000, 1})
    ->Args({10000, 0})
    ->Args({100000, 1})
    ->Args({100000, 0})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace
