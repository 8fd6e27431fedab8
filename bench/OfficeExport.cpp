// The calculation sheet through the RTF and the XML workbook exports: the sheet alone, and the
// same page 10, 100 and 1,000 times (time per page and how it grows), and the sheet's RTF side
// by side with the user's alternative: LibreOffice converting our PDF of the sheet to RTF
// (its spreadsheet cannot read a PDF, so the workbook has no such peer). The ratios and the
// growth exponents are printed after the runs.
#include "export/pdf/PdfExport.h"
#include "export/rtf/RtfExport.h"
#include "export/xml/XmlExport.h"
#include "platform/FontSetup.h"
#include "report/PreparedPageStore.h"
#include "sheet/SheetTemplate.h"
#include "support/FeedPages.h"
#include "support/Growth.h"
#include "support/Ratios.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>

using namespace report;

namespace {

enum Format { Rtf, Xml };

std::unique_ptr<exports::TrpCustomExportFilter> NewFilter(Format f) {
    if (f == Rtf)
        return std::make_unique<exports::TrpRTFExport>(true);
    return std::make_unique<exports::TrpXMLExport>(true);
}

// The whole export of `pages` copies of the page into memory, as the loop feeds a filter.
void Export(benchmark::State& state, Format format) {
    const int pages = int(state.range(0));
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        auto filter = NewFilter(format);
        filter->SetShowProgress(false);
        filter->SetStream(&out);
        filter->SetReport(&bench::PreparedSheet());
        filter->Start();
        bench::FeedPages(*filter, pages);
        filter->Finish();
        bytes = out.size();
    }
    state.counters["bytes"] = double(bytes);
    state.counters["per_page"] = benchmark::Counter(
        double(pages), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// LibreOffice turning our PDF of the sheet into RTF: one start of the program per conversion,
// with a profile made for the run (the first start, which creates it, is not measured).
void LibreOfficeFromPdf(benchmark::State& state) {
    QTemporaryDir dir, profile;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    if (!exports::ExportReportToPDF(bench::PreparedSheet(), pdf).isEmpty()) {
        state.SkipWithError("the PDF could not be written");
        return;
    }
    auto convert = [&] {
        QProcess p;
        p.start(QStringLiteral("soffice"),
                {QStringLiteral("-env:UserInstallation=file://") + profile.path(),
                 QStringLiteral("--headless"), QStringLiteral("--norestore"),
                 QStringLiteral("--infilter=writer_pdf_import"), QStringLiteral("--convert-to"),
                 QStringLiteral("rtf"), QStringLiteral("--outdir"), dir.path(), pdf});
        return p.waitForFinished(300000) && p.exitCode() == 0;
    };
    if (!convert()) {
        state.SkipWithError("soffice could not convert the PDF");
        return;
    }
    for (auto _ : state)
        if (!convert())
            state.SkipWithError("soffice could not convert the PDF");
}

BENCHMARK_CAPTURE(Export, Rtf, Rtf)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, Xml, Xml)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, RtfPages, Rtf)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, XmlPages, Xml)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, RtfPages, Rtf)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(Export, XmlPages, Xml)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(LibreOfficeFromPdf)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::InstallApplicationFonts();
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* f : {"Rtf", "Xml"}) {
        // Time ~ pages^k between 100 and 1,000 pages: k = 1 is linear.
        const double t100 = reporter.Time(std::string("Export/") + f + "Pages/100"),
                     t1000 = reporter.Time(std::string("Export/") + f + "Pages/1000");
        if (t100 > 0 && t1000 > 0)
            std::printf("%s: growth exponent from 100 to 1000 pages %.2f, %.3f ms per page at 1000\n", f,
                        bench::GrowthExponent(100, t100, 1000, t1000), t1000 / 1000);
    }
    const double ours = reporter.Time("Export/Rtf/1"), office = reporter.Time("LibreOfficeFromPdf");
    if (ours > 0 && office > 0)
        std::printf("sheet to RTF: ours / LibreOffice from our PDF, time %.5f (%.2f ms vs %.0f ms)\n",
                    ours / office, ours, office);
    benchmark::Shutdown();
    return 0;
}
