// The three text exports over 1 to 1,000 copies of the calculation sheet's page, each beside
// the layout matrix alone on the same pages (built and prepared page by page, as the CSV and
// plain-text exports use it). Prints the time per page, the growth exponent from 10 to 1,000
// pages and the ratio of each export to the matrix alone.
#include "export/ExportFixtures.h"
#include "export/LayoutMatrix.h"
#include "export/text/CSVExport.h"
#include "export/text/SimpleTextExport.h"
#include "export/text/TXTExport.h"
#include "report/PreparedPageStore.h"
#include "support/Growth.h"

#include <QApplication>
#include <QBuffer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <ctime>
#include <map>

using namespace exporttest;

namespace {

// The matrix work of the grid exports and nothing else.
class MatrixAlone : public exports::TrpCustomExportFilter {
public:
    exports::TrpIEMatrix M;
    bool Start() override {
        M.ShowProgress = false;
        M.Inaccuracy = 5;
        M.FramesOptimization = true;
        M.RichText = true;
        M.DeleteHTMLTags = true;
        M.WrapText = true;
        M.Images = false;
        return true;
    }
    void StartPage(report::TrpReportPage*, int) override { M.Clear(); }
    void ExportObject(const report::TrpPlacedObject& object) override { M.AddObject(object); }
    void FinishPage(report::TrpReportPage*, int) override { M.Prepare(); }
};

enum Kind { kCSV, kTXT, kPRN, kMatrix, kKinds };
const char* const kNames[] = {"CSV", "TXT", "PRN", "matrix alone"};

std::unique_ptr<exports::TrpCustomExportFilter> NewFilter(int kind) {
    switch (kind) {
    case kCSV:
        return std::make_unique<exports::TrpCSVExport>(true);
    case kTXT:
        return std::make_unique<exports::TrpSimpleTextExport>(true);
    case kPRN:
        return std::make_unique<exports::TrpTXTExport>(true);
    default:
        return std::make_unique<MatrixAlone>();
    }
}

std::map<int, std::map<int, double>> gSeconds; // kind -> pages -> seconds per run

// CPU time of this thread: the other work on a shared machine does not count.
double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void BM_TextExport(benchmark::State& state) {
    const int kind = int(state.range(0)), pages = int(state.range(1));
    static std::map<int, std::unique_ptr<report::TrpReport>> reports;
    auto& r = reports[pages];
    if (!r)
        r = PreparedSheets(pages);
    double total = 0;
    int runs = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        std::unique_ptr<exports::TrpCustomExportFilter> f = NewFilter(kind);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        f->SetShowDialog(false);
        f->SetShowProgress(false);
        f->SetStream(&out);
        const double t0 = CpuSeconds();
        exports::ExportTo(*r, f.get());
        total += CpuSeconds() - t0;
        ++runs;
        bytes = out.size();
    }
    gSeconds[kind][pages] = total / runs;
    state.counters["bytes"] = double(bytes);
    state.SetLabel(kNames[kind]);
}

// Side by side on each size, so the ratio compares like with like.
void Sizes(benchmark::internal::Benchmark* b) {
    for (int pages : {1, 10, 100, 1000})
        for (int kind = 0; kind < kKinds; ++kind)
            b->Args({kind, pages});
}
BENCHMARK(BM_TextExport)->Apply(Sizes)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const std::map<int, double>& matrix = gSeconds[kMatrix];
    for (int kind = 0; kind < kKinds; ++kind) {
        const std::map<int, double>& s = gSeconds[kind];
        if (s.count(10) && s.count(1000))
            std::printf("%-12s growth 10 -> 1000 pages: exponent %.2f\n", kNames[kind],
                        bench::GrowthExponent(10, s.at(10), 1000, s.at(1000)));
        for (const auto& [pages, seconds] : s)
            std::printf("%-12s %4d pages: %.3f ms per page, %.2f x the matrix alone\n", kNames[kind], pages,
                        1000 * seconds / pages, matrix.count(pages) ? seconds / matrix.at(pages) : 0.0);
    }
    return 0;
}
