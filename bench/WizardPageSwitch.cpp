// Cost of one page switch on the calculator-sized wizard (664 × 568, 220-pixel route map on
// the left, twelve pages with headers and icons), offscreen.

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <memory>

#include "platform/FontSetup.h"
#include "platform/ImageList.h"
#include "wizard/KWizard.h"
#include "wizard/KWizardPage.h"
#include "wizard/RouteMapNodes.h"

using namespace wizard;

namespace {

QFont PixelFont(int pixels) {
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(pixels);
    return f;
}

struct Calculator {
    QWidget Window;
    TImageList Icons{32, 32};
    TKWizard* Wizard;
    std::vector<TKWizardInteriorPage*> Pages;

    explicit Calculator(int pageCount) {
        Window.resize(664, 568);
        Window.setFont(PixelFont(11));
        Wizard = new TKWizard(&Window);
        Wizard->BeginLoading();
        for (int i = 0; i < pageCount; ++i) {
            QImage icon(32, 32, QImage::Format_ARGB32_Premultiplied);
            icon.fill(QColor::fromHsv(i * 30 % 360, 200, 200));
            Icons.Add(icon);
        }
        Wizard->SetHeaderImages(&Icons);
        for (int i = 0; i < pageCount; ++i) {
            auto* page = new TKWizardInteriorPage(Wizard);
            page->SetColor(clWindow);
            TKWizardPageHeader* h = page->Header();
            h->SetHeight(45);
            h->SetImageIndex(i);
            h->SetImageOffset(10);
            h->SetImageAlignment(iaLeft);
            h->Title()->SetText(QStringLiteral("Страница %1").arg(i + 1));
            h->Title()->SetFontPixelSize(13);
            h->Title()->SetAlignment(taRightJustify);
            h->Subtitle()->SetText(QStringLiteral("Выберите один из вариантов ответа на этой странице"));
            h->Subtitle()->SetFontPixelSize(11);
            h->Subtitle()->SetAlignment(taRightJustify);
            for (int k = 0; k < 4; ++k)
                (new QRadioButton(QStringLiteral("Вариант %1").arg(k + 1), page))
                    ->setGeometry(40, 70 + 28 * k, 300, 20);
            Pages.push_back(page);
        }
        auto* map = new TKWizardRouteMapNodes(Wizard);
        map->resize(220, map->height());
        map->SetItemHeight(30);
        map->setFont(PixelFont(11));
        Window.show();
        Wizard->Loaded();
        // Let the offscreen window get exposed, or repaints would be skipped.
        for (int i = 0; i < 10 && !Window.windowHandle()->isExposed(); ++i)
            QCoreApplication::processEvents();
        Window.repaint();
    }

    struct PaintCounter : QObject {
        int Count = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            Count += e->type() == QEvent::Paint;
            return false;
        }
    } Paints;

    // Next, or back to the first page from the last one: one page switch either way.
    void Switch() {
        if (Wizard->ActivePage() == Pages.back())
            Wizard->SelectFirstPage();
        else
            Wizard->ButtonControl(bkNext)->click();
    }
};

void BM_NextWithRepaint(benchmark::State& state) {
    Calculator calc(int(state.range(0)));
    for (TKWizardInteriorPage* p : calc.Pages)
        p->installEventFilter(&calc.Paints);
    const int before = calc.Paints.Count;
    for (auto _ : state) {
        calc.Switch();
        QCoreApplication::processEvents(); // the pending repaint of page, header, route map and bar
    }
    state.counters["page_paints"] = double(calc.Paints.Count - before) / double(state.iterations());
}

void BM_NextWithGrab(benchmark::State& state) {
    Calculator calc(12);
    for (auto _ : state) {
        calc.Switch();
        QCoreApplication::removePostedEvents(nullptr, QEvent::UpdateRequest);
        benchmark::DoNotOptimize(calc.Window.grab()); // every widget painted into a picture
    }
}
BENCHMARK(BM_NextWithGrab)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NextWithRepaint)->Arg(5)->Arg(12)->Unit(benchmark::kMicrosecond);

void BM_NextWithoutRepaint(benchmark::State& state) {
    Calculator calc(12);
    for (auto _ : state) {
        calc.Switch();
        QCoreApplication::removePostedEvents(nullptr, QEvent::UpdateRequest);
    }
}
BENCHMARK(BM_NextWithoutRepaint)->Unit(benchmark::kMicrosecond);

// Painting the whole window without a switch, for comparison with BM_NextWithGrab.
void BM_GrabOnly(benchmark::State& state) {
    Calculator calc(12);
    for (auto _ : state)
        benchmark::DoNotOptimize(calc.Window.grab());
}
BENCHMARK(BM_GrabOnly)->Unit(benchmark::kMicrosecond);

} // namespace
