// Cost of the owner page's two HTML radio groups (rgFiz and rgPlace: six captions), laid
// out and drawn offscreen; plus the bare renderer and how it grows with caption length.
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <benchmark/benchmark.h>

#include "htmlctl/HTMLRender.h"
#include "htmlctl/htmlbtns.h"
#include "platform/FontSetup.h"

using namespace htmlctl;

namespace {

QFont Tahoma11() {
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(11);
    return f;
}

const QStringList kOwners = {
    QStringLiteral("Физическое лицо или предприниматель без образования юридического лица"),
    QStringLiteral("Юридическое лицо")};
const QStringList kPlaces = {QStringLiteral("Россия"), QStringLiteral("Белоруссия, Казахстан, Украина"),
                             QStringLiteral("Другое иностранное государство"),
                             QStringLiteral("Следование к месту регистрации")};

struct OwnerPage {
    QWidget Page;
    THTMLRadioGroup* rgFiz;
    THTMLRadioGroup* rgPlace;

    OwnerPage() {
        Page.resize(444, 526);
        Page.setFont(Tahoma11());
        rgFiz = Make(QRect(5, 64, 430, 77), QStringLiteral(" Собственник "), kOwners);
        rgPlace = Make(QRect(5, 160, 430, 146), QStringLiteral(" Место регистрации "), kPlaces);
    }

    THTMLRadioGroup* Make(QRect where, const QString& caption, const QStringList& items) {
        auto* g = new THTMLRadioGroup(&Page);
        g->setGeometry(where);
        g->SetCaption(caption);
        g->SetButtonType(btWinXP);
        g->BeginReading();
        g->SetItems(items);
        g->SetItemIndex(0);
        g->EndReading();
        return g;
    }
};

// Arranging both groups' buttons and painting the page with them, as a page switch does.
void BM_OwnerPageLayoutAndDraw(benchmark::State& state) {
    OwnerPage page;
    QImage target(page.Page.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        page.rgFiz->ArrangeItemButtons();
        page.rgPlace->ArrangeItemButtons();
        target.fill(Qt::white);
        page.Page.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_OwnerPageLayoutAndDraw)->Unit(benchmark::kMicrosecond);

// The peer: Qt's own radio buttons with the same captions and places, for the ratio.
void BM_OwnerPageQtRadioButtons(benchmark::State& state) {
    QWidget page;
    page.resize(444, 526);
    page.setFont(Tahoma11());
    QList<QRadioButton*> buttons;
    auto make = [&](QRect where, const QString& caption, const QStringList& items, int rowHeight) {
        auto* box = new QGroupBox(caption, &page);
        box->setGeometry(where);
        for (int i = 0; i < items.size(); ++i) {
            auto* b = new QRadioButton(items[i], box);
            b->setGeometry(8, 14 + i * rowHeight, 420, rowHeight);
            b->setChecked(i == 0);
            buttons << b;
        }
    };
    make(QRect(5, 64, 430, 77), QStringLiteral(" Собственник "), kOwners, 29);
    make(QRect(5, 160, 430, 146), QStringLiteral(" Место регистрации "), kPlaces, 32);
    QImage target(page.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        for (QRadioButton* b : buttons)
            b->setGeometry(b->geometry()); // the same work of placing them
        target.fill(Qt::white);
        page.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_OwnerPageQtRadioButtons)->Unit(benchmark::kMicrosecond);

// The renderer alone: the six captions in their button text boxes.
void BM_RenderSixCaptions(benchmark::State& state) {
    QImage target(430, 40, QImage::Format_ARGB32_Premultiplied);
    QStringList captions = kOwners + kPlaces;
    for (auto _ : state) {
        target.fill(Qt::white);
        QPainter p(&target);
        for (const QString& caption : captions) {
            THTMLRenderIn in;
            in.Canvas = &p;
            in.Font = Tahoma11();
            in.Text = caption;
            in.Rect = QRect(18, 4, 402, 25);
            benchmark::DoNotOptimize(RenderHTML(in).XSize);
        }
    }
}
BENCHMARK(BM_RenderSixCaptions)->Unit(benchmark::kMicrosecond);

// Laying out a tagged caption of N words without drawing: cost per word should stay flat.
void BM_MeasureTaggedCaption(benchmark::State& state) {
    QString text;
    for (int i = 0; i < state.range(0); ++i)
        text += i % 5 == 0 ? QStringLiteral("<B>слово</B> ") : QStringLiteral("слово ");
    for (auto _ : state) {
        THTMLRenderIn in;
        in.Font = Tahoma11();
        in.Text = text;
        in.Rect = QRect(0, 0, 402, 100000);
        in.MeasureOnly = true;
        benchmark::DoNotOptimize(RenderHTML(in).YSize);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_MeasureTaggedCaption)
    ->RangeMultiplier(4)
    ->Range(8, 2048)
    ->Complexity()
    ->Unit(benchmark::kMicrosecond);

} // namespace
