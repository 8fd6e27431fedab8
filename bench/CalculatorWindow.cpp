// The calculator window: built and painted for the first time, and one answer click through
// to the repainted route map, offscreen.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <benchmark/benchmark.h>

#include "htmlctl/HTMLRadioGroup.h"
#include "platform/FontSetup.h"
#include "ui/OSAGO_Calc.h"
#include "wizard/KWizard.h"
#include "wizard/KWizardPage.h"
#include "wizard/RouteMapNodes.h"

namespace {

void ConstructAndPaint(benchmark::State& state) {
    QImage target(664, 568, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        TfmOSAGO_Calc window;
        QPainter p(&target);
        window.render(&p);
    }
}
BENCHMARK(ConstructAndPaint)->Unit(benchmark::kMillisecond);

// A vehicle type that disables and enables pages, so the route map really changes.
void ClickToRouteMap(benchmark::State& state) {
    TfmOSAGO_Calc window;
    window.KWizard()->SetActivePage(window.Page(calc::PageId::pType));
    QImage map(220, 526, QImage::Format_ARGB32_Premultiplied);
    const auto& options = window.Options(calc::PageId::pType);
    int i = 0;
    for (auto _ : state) {
        options[(i++ % 2) ? calc::rbTypeCar : calc::rbTypeCarPrizep]->click();
        QPainter p(&map);
        window.RouteMap()->render(&p);
    }
}
BENCHMARK(ClickToRouteMap)->Unit(benchmark::kMicrosecond);

} // namespace
