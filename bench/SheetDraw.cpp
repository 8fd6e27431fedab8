// Drawing the prepared sheet into an image at 100 % and 200 % (targets 5 and 15 ms), and
// preparing and drawing the sheet and 1,000 pages.
#include "report/PreparedPageStore.h"
#include "report/ViewPainter.h"
#include "sheet/SheetTemplate.h"
#include "support/LongReport.h"
#include "support/SheetCase.h"

#include <QPainter>
#include <benchmark/benchmark.h>

using namespace report;

namespace {

void BM_DrawSheet(benchmark::State& state) {
    const double zoom = state.range(0) / 100.0;
    auto r = testsupport::PreparedSheetReport();
    const TrpPlacedPage* page = r->PreviewPages().Placed(0);
    QImage image(int(794 * zoom + 0.5), int(1123 * zoom + 0.5), QImage::Format_RGB32);
    TrpPageCanvas canvas;
    canvas.ScaleX = canvas.ScaleY = zoom;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        DrawPlacedPage(painter, *page, canvas);
    }
    state.counters["placed_bytes"] = double(page->MemorySize());
    state.counters["zoom_percent"] = double(state.range(0));
}
BENCHMARK(BM_DrawSheet)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

// The same through the prepared store and a fresh image each time, as an export does.
void BM_RenderSheetPage(benchmark::State& state) {
    auto r = sheet::CreateSheetReport();
    sheet::SheetTexts t;
    t.Formula = "Т = ТБ*КТ";
    sheet::PrepareSheet(*r, t);
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet::RenderSheetPage(*r, 0, 1.0));
}
BENCHMARK(BM_RenderSheetPage)->Unit(benchmark::kMillisecond);

// Preparing and drawing, as the command line's picture does: the sheet, and each page of a
// 1,000-page report once at 100 %.
void BM_PrepareAndDrawSheet(benchmark::State& state) {
    auto r = sheet::CreateSheetReport();
    sheet::SheetTexts t;
    t.Formula = "Т = ТБ*КТ";
    for (auto _ : state) {
        sheet::PrepareSheet(*r, t);
        benchmark::DoNotOptimize(sheet::RenderSheetPage(*r, 0, 1.0));
    }
}
BENCHMARK(BM_PrepareAndDrawSheet)->Unit(benchmark::kMillisecond);

void BM_PrepareAndDraw1000Pages(benchmark::State& state) {
    auto r = longreport::Create(1000);
    int drawn = 0;
    size_t placedBytes = 0;
    for (auto _ : state) {
        r->Prepare(true);
        drawn = 0;
        placedBytes = 0;
        for (int i = 0; i < r->PreviewPages().Count(); ++i) {
            drawn += !RenderPreparedPage(*r, i, 1).isNull();
            placedBytes += r->PreviewPages().Placed(i)->MemorySize();
        }
    }
    state.counters["pages"] = drawn;
    state.counters["placed_bytes_per_page"] = double(placedBytes) / std::max(drawn, 1);
}
BENCHMARK(BM_PrepareAndDraw1000Pages)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
