// Cost of one frame of the preview showing the calculation sheet in a 1280 × 1024 window,
// at 100 % and at page width, offscreen. The target is a frame in under 16 ms. The same frame
// with the page's views left out gives the share of the workspace, frame and shadow.

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <memory>

#include "platform/FontSetup.h"
#include "preview/PreviewForm.h"
#include "sheet/SheetTemplate.h"

using namespace preview;
using namespace report;

namespace {

struct SheetPreview {
    std::unique_ptr<TrpReport> Report = sheet::CreateSheetReport();
    std::unique_ptr<TrpPreviewForm> Form;
    QImage Frame;

    SheetPreview() {
        sheet::SheetTexts texts;
        texts.TB = QStringLiteral("2025");
        texts.KT = QStringLiteral("2");
        texts.KBM = QStringLiteral("1");
        texts.KO = QStringLiteral("1,5");
        texts.KN = QStringLiteral("1");
        texts.Formula = QStringLiteral("Т = ТБ*КТ*КБМ*КО*КН");
        texts.Premium = QStringLiteral("6 075 рублей");
        sheet::PrepareSheet(*Report, texts);
        Form = std::make_unique<TrpPreviewForm>(*Report);
        Form->resize(1280, 1024);
        Form->show();
        QCoreApplication::processEvents();
        QWidget* viewport = Form->Preview()->viewport();
        Frame = QImage(viewport->size(), QImage::Format_RGB32);
    }

    void Draw() {
        QWidget* viewport = Form->Preview()->viewport();
        viewport->render(&Frame);
    }
};

void Run(benchmark::State& state, bool pageWidth) {
    SheetPreview preview;
    if (pageWidth)
        preview.Form->Preview()->SetZoomMode(zmPageWidth);
    else
        preview.Form->Preview()->SetZoom(1.0L);
    preview.Draw();
    for (auto _ : state) {
        preview.Draw();
        benchmark::DoNotOptimize(preview.Frame.constBits());
    }
    state.counters["zoom"] = double(preview.Form->Preview()->Zoom());
    state.counters["viewport_w"] = preview.Frame.width();
    state.counters["viewport_h"] = preview.Frame.height();
}

void BM_PreviewFrame100(benchmark::State& state) {
    Run(state, false);
}
void BM_PreviewFramePageWidth(benchmark::State& state) {
    Run(state, true);
}
// A frame whose page has no views: the workspace and page outline alone.
void BM_PreviewFrameEmptyPage(benchmark::State& state) {
    auto r = std::make_unique<TrpReport>();
    r->AddPage();
    r->Prepare(true);
    TrpPreviewForm form(*r);
    form.resize(1280, 1024);
    form.show();
    QCoreApplication::processEvents();
    QImage frame(form.Preview()->viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        form.Preview()->viewport()->render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
}

BENCHMARK(BM_PreviewFrame100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewFramePageWidth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewFrameEmptyPage)->Unit(benchmark::kMillisecond);

} // namespace
