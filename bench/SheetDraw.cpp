// Drawing the prepared sheet into an image at 100 % and 200 % (targets 5 and 15 ms).
#include "report/PreviewPages.h"
#include "report/ViewPainter.h"
#include "sheet/SheetTemplate.h"
#include "support/SheetCase.h"

#include <QPainter>
#include <benchmark/benchmark.h>

using namespace report;

namespace {

void BM_DrawSheet(benchmark::State& state) {
    const double zoom = state.range(0) / 100.0;
    auto r = testsupport::PreparedSheetReport();
    TrpReportPage* page = r->PreviewPages().Page(0);
    QImage image(int(794 * zoom + 0.5), int(1123 * zoom + 0.5), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        TrpDrawParams p;
        p.ScaleX = p.ScaleY = zoom;
        DrawPage(painter, r->DrawText(), *page, p);
    }
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

} // namespace
