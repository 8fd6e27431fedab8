// The calculation sheet to PDF through our writer, side by side with Qt's QPdfWriter drawing
// the same prepared pages through our renderer: one page, and the same page 1,000 times.
// After the runs the ratios of time and file size (ours / QPdfWriter) are printed.
#include "export/pdf/PdfExport.h"
#include "platform/FontSetup.h"
#include "report/PreparedPageStore.h"
#include "report/ViewPainter.h"
#include "sheet/SheetTemplate.h"
#include "support/FeedPages.h"
#include "support/Ratios.h"

#include <QApplication>
#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <benchmark/benchmark.h>
#include <map>

using namespace report;

namespace {

std::map<std::string, double> sizes;

void Ours(benchmark::State& state, const char* key, int pages, bool embedded) {
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        exports::TrpPDFExport filter(true);
        filter.SetStream(&out);
        filter.SetEmbeddedFonts(embedded);
        filter.Start();
        bench::FeedPages(filter, pages);
        filter.Finish();
        bytes = out.size();
    }
    state.counters["bytes"] = double(bytes);
    sizes[key] = double(bytes);
}

void Qt(benchmark::State& state, const char* key, int pages) {
    const TrpPlacedPage& prepared = *bench::PreparedSheet().PreviewPages().Placed(0);
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QPdfWriter writer(&out);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(600);
        QPainter painter(&writer);
        TrpPageCanvas canvas;
        canvas.ScaleX = canvas.ScaleY = 600.0L / 96;
        canvas.Output = TrpOutput::Printer;
        canvas.PrinterDPI = 600;
        for (int i = 0; i < pages; ++i) {
            if (i > 0)
                writer.newPage();
            DrawPlacedPage(painter, prepared, canvas);
        }
        painter.end();
        bytes = out.size();
    }
    state.counters["bytes"] = double(bytes);
    sizes[key] = double(bytes);
}

BENCHMARK_CAPTURE(Ours, Sheet, "Ours/Sheet", 1, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Ours, SheetEmbedded, "Ours/SheetEmbedded", 1, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Qt, Sheet, "Qt/Sheet", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Ours, Pages1000, "Ours/Pages1000", 1000, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(Qt, Pages1000, "Qt/Pages1000", 1000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::InstallApplicationFonts();
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char* what, const std::string& ours, const std::string& qt) {
        const double to = reporter.Time(ours), tq = reporter.Time(qt);
        const double so = bench::FirstWithPrefix(sizes, ours), sq = bench::FirstWithPrefix(sizes, qt);
        if (to > 0 && tq > 0 && sq > 0)
            std::printf("%s: ours/QPdfWriter time %.3f, size %.3f (%.0f vs %.0f bytes)\n", what, to / tq,
                        so / sq, so, sq);
    };
    ratio("sheet", "Ours/Sheet/", "Qt/Sheet/");
    ratio("1000 pages", "Ours/Pages1000", "Qt/Pages1000");
    benchmark::Shutdown();
    return 0;
}
