// The picture exports: each format for the calculation sheet and for 100 pages at 96 dpi, and
// our GIF encoder and TIFF writer side by side with ImageMagick writing the same bitmap (the
// sheet drawn at 96 and at 300 dpi). ImageMagick runs as `convert` on a PPM of the bitmap; its
// writing time is that run less a run that only reads the PPM. After the runs the ratios of
// time and file size (ours / ImageMagick's) are printed.
#include "export/image/ImageExport.h"
#include "export/image/GifEncoder.h"
#include "export/image/TiffWriter.h"
#include "platform/FontSetup.h"
#include "report/PreparedPageStore.h"
#include "report/ViewPainter.h"
#include "sheet/SheetTemplate.h"
#include "support/FeedPages.h"
#include "support/Ratios.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>

using namespace report;
using exports::TrpImageFormat;

namespace {

std::map<std::string, double> sizes;

// The filter run page by page as the export loop runs it, one file per page.
void Export(benchmark::State& state, TrpImageFormat format, int pages) {
    QTemporaryDir dir;
    qint64 bytes = 0;
    for (auto _ : state) {
        auto filter = exports::CreateImageExport(format, false);
        filter->SetFileName(dir.filePath(QStringLiteral("OSAGO")));
        filter->Start();
        bench::FeedPages(*filter, pages);
        filter->Finish();
        state.PauseTiming();
        bytes = 0;
        for (const QFileInfo& f : QDir(dir.path()).entryInfoList(QDir::Files)) {
            bytes += f.size();
            QFile::remove(f.filePath());
        }
        state.ResumeTiming();
    }
    state.counters["bytes"] = double(bytes);
}

#define FORMAT_BENCH(Name, Format)                                                                           \
    BENCHMARK_CAPTURE(Export, Name##Sheet, Format, 1)->Unit(benchmark::kMillisecond);                        \
    BENCHMARK_CAPTURE(Export, Name##Pages100, Format, 100)->Unit(benchmark::kMillisecond)->Iterations(1);
FORMAT_BENCH(Bmp, TrpImageFormat::BMP)
FORMAT_BENCH(Jpeg, TrpImageFormat::JPEG)
FORMAT_BENCH(Tiff, TrpImageFormat::TIFF)
FORMAT_BENCH(Gif, TrpImageFormat::GIF)

// ---- our writers and ImageMagick on the same bitmap ----

const QImage& Bitmap(int dpi) {
    static std::map<int, QImage> bitmaps;
    QImage& b = bitmaps[dpi];
    if (b.isNull())
        b = RenderPreparedPage(bench::PreparedSheet(), 0, dpi / 96.0L);
    return b;
}

// The bitmap as a PPM file for ImageMagick to read.
QString Ppm(const QTemporaryDir& dir, int dpi) {
    const QString file = dir.filePath(QStringLiteral("sheet%1.ppm").arg(dpi));
    if (!QFileInfo::exists(file))
        Bitmap(dpi).convertToFormat(QImage::Format_RGB888).save(file, "PPM");
    return file;
}

QTemporaryDir& Scratch() {
    static QTemporaryDir dir;
    return dir;
}

void Ours(benchmark::State& state, const char* key, bool gif, int dpi) {
    const QImage& bitmap = Bitmap(dpi);
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        if (gif)
            exports::WriteGif(out, bitmap);
        else
            exports::WriteTiff(out, bitmap, dpi);
        bytes = out.size();
    }
    state.counters["bytes"] = double(bytes);
    sizes[key] = double(bytes);
}

// `convert` writing the format (or, with an empty format, only reading the picture).
void Magick(benchmark::State& state, const char* key, const char* format, int dpi) {
    const QString in = Ppm(Scratch(), dpi);
    const QString out = Scratch().filePath(QStringLiteral("magick.") + QString::fromLatin1(format));
    const QStringList args = *format ? QStringList{in, out} : QStringList{in, QStringLiteral("null:")};
    for (auto _ : state) {
        QProcess p;
        p.start(QStringLiteral("convert"), args);
        if (!p.waitForFinished(60000) || p.exitCode() != 0) {
            state.SkipWithError("convert failed; run scripts/install-deps");
            break;
        }
    }
    if (*format)
        sizes[key] = double(QFileInfo(out).size());
}

BENCHMARK_CAPTURE(Ours, Gif96, "Ours/Gif96", true, 96)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Magick, Gif96, "Magick/Gif96", "gif", 96)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Ours, Tiff96, "Ours/Tiff96", false, 96)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Magick, Tiff96, "Magick/Tiff96", "tif", 96)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Magick, Read96, "Magick/Read96", "", 96)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Ours, Gif300, "Ours/Gif300", true, 300)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Magick, Gif300, "Magick/Gif300", "gif", 300)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Ours, Tiff300, "Ours/Tiff300", false, 300)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Magick, Tiff300, "Magick/Tiff300", "tif", 300)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Magick, Read300, "Magick/Read300", "", 300)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    platform::InstallApplicationFonts();
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const struct {
        const char *What, *Key, *Read;
    } pairs[] = {{"GIF, sheet at 96 dpi", "Gif96", "Read96"},
                 {"TIFF, sheet at 96 dpi", "Tiff96", "Read96"},
                 {"GIF, sheet at 300 dpi", "Gif300", "Read300"},
                 {"TIFF, sheet at 300 dpi", "Tiff300", "Read300"}};
    for (const auto& p : pairs) {
        const std::string ours = std::string("Ours/") + p.Key, magick = std::string("Magick/") + p.Key;
        const double to = reporter.Time(ours);
        const double tm = reporter.Time(magick) - reporter.Time(std::string("Magick/") + p.Read);
        const double so = bench::FirstWithPrefix(sizes, ours), sm = bench::FirstWithPrefix(sizes, magick);
        if (to > 0 && tm > 0 && sm > 0)
            std::printf("%s: ours/ImageMagick writing time %.3f, size %.3f (%.0f vs %.0f bytes)\n", p.What,
                        to / tm, so / sm, so, sm);
    }
    benchmark::Shutdown();
    return 0;
}
