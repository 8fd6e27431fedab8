#include "report/Engine.h"

#include "platform/NumberText.h"
#include "report/DrawText.h"
#include "report/EngineTexts.h"
#include "report/MemoFill.h"
#include "report/PreparedPageStore.h"
#include "report/Report.h"

#include <algorithm>
#include <cmath>

namespace report {

namespace {

// "1" + Left for objects at or right of zero, "0" + -Left for those left of it, so that a
// text sort walks the objects from left to right the way the engine always has.
std::string AlignKey(Extended left) {
    const std::string digits = platform::FormatNumber(std::fabs(left), std::chars_format::fixed, 2);
    return (left >= 0 ? "1" : "0") + std::string(digits.size() < 9 ? 9 - digits.size() : 0, ' ') + digits;
}

bool OverlapVertically(const TrpView& a, const TrpView& b) {
    constexpr Extended eps = 0.0001L;
    return a.Top() < b.Top() + b.Height() - eps && b.Top() < a.Top() + a.Height() - eps;
}

} // namespace

void AlignBandObjects(std::vector<TrpView*>& objects, Extended bandWidth, Extended bandHeight) {
    bool any = false;
    for (TrpView* v : objects)
        any = any || v->Align() != baNone;
    if (!any)
        return;

    std::vector<std::pair<std::string, TrpView*>> sorted;
    sorted.reserve(objects.size());
    for (TrpView* v : objects)
        sorted.emplace_back(AlignKey(v->Left()), v);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    const int n = int(sorted.size());
    for (int i = 0; i < n; ++i) {
        TrpView* v = sorted[size_t(i)].second;
        if (v->Align() != baLeft && v->Align() != baWidth)
            continue;
        TrpView* neighbour = nullptr;
        for (int j = i - 1; j >= 0 && !neighbour; --j) {
            TrpView* o = sorted[size_t(j)].second;
            if (v->Align() == baWidth && o->Left() > v->Left())
                continue;
            if (OverlapVertically(*v, *o))
                neighbour = o;
        }
        v->SetLeft(neighbour ? neighbour->Left() + neighbour->Width() : 0);
    }
    for (int i = n - 1; i >= 0; --i) {
        TrpView* v = sorted[size_t(i)].second;
        if (v->Align() != baRight && v->Align() != baWidth)
            continue;
        TrpView* neighbour = nullptr;
        for (int j = i + 1; j < n && !neighbour; ++j) {
            TrpView* o = sorted[size_t(j)].second;
            if (v->Align() == baWidth && o->Left() + o->Width() < v->Left() + v->Width())
                continue;
            if (OverlapVertically(*v, *o))
                neighbour = o;
        }
        const Extended edge = neighbour ? neighbour->Left() : bandWidth;
        if (v->Align() == baRight)
            v->SetLeft(edge - v->Width());
        else
            v->SetWidth(edge - v->Left());
    }
    for (TrpView* v : objects) {
        switch (v->Align()) {
        case baCenter:
            v->SetLeft((bandWidth - v->Width()) / 2);
            break;
        case baBottom:
            v->SetTop(bandHeight - v->Height());
            break;
        case baClient:
            v->SetBounds(0, 0, bandWidth, bandHeight);
            break;
        default:
            break;
        }
    }
}

int TrpEngine::PageNo() const {
    return FReport->PreviewPages().CurPage() + 1;
}

void TrpEngine::Run() {
    TrpPreviewPages& pages = FReport->PreviewPages();
    FRunning = true;
    FTotalPagesUsed = false;
    struct RunningFlag {
        bool& Flag;
        ~RunningFlag() { Flag = false; }
    } runningGuard{FRunning};

    FReport->ProgressStart(TrpProgressKind::Running);
    struct ProgressGuard {
        TrpReport* Report;
        ~ProgressGuard() { Report->ProgressStop(TrpProgressKind::Running); }
    } progressGuard{FReport};
    FReport->DoScriptEvent(FReport->OnStartReport, nullptr);

    std::vector<std::pair<TrpReportPage*, int>> runPages;
    for (int i = 0; i < FReport->PagesCount(); ++i) {
        TrpReportPage* page = FReport->Pages(i);
        runPages.emplace_back(page, pages.AddSourcePage(*page));
    }

    FFinalPass = !FReport->EngineOptions.DoublePass;
    FTotalPages = 0;
    if (!FFinalPass) {
        // The first pass only counts pages.
        const int firstPage = pages.Count();
        for (auto& [page, index] : runPages)
            if (page->Visible() && !FReport->Terminated())
                RunPage(*page, index);
        FTotalPages = pages.Count() - firstPage;
        while (pages.Count() > firstPage)
            pages.DeletePage(pages.Count() - 1);
        FFinalPass = true;
    }
    for (auto& [page, index] : runPages) {
        if (FReport->Terminated())
            break;
        if (page->Visible())
            RunPage(*page, index);
    }
    FTotalPages = pages.Count();
    if (FTotalPagesUsed)
        pages.ReplaceInTexts(TotalPagesMark(), QString::number(FTotalPages));

    FReport->DoScriptEvent(FReport->OnStopReport, nullptr);
    FCurPage = nullptr;
}

void TrpEngine::RunPage(TrpReportPage& page, int sourceIndex) {
    FReport->DoScriptEvent(page.OnBeforePrint(), &page);
    if (page.DataSetName().isEmpty()) {
        ProducePage(page, sourceIndex);
    } else {
        const auto& sets = FReport->DataSets;
        auto set = std::find_if(sets.begin(), sets.end(), [&](const TrpUserDataSet& d) {
            return d.Name.compare(page.DataSetName(), Qt::CaseInsensitive) == 0;
        });
        if (set == sets.end())
            throw TrpReportError(rpFormat(rpGet("clDSNotExist"), {page.DataSetName()}));
        for (int record = 1; record <= set->RecordCount && !FReport->Terminated(); ++record) {
            FCurLine = FCurLineThrough = record;
            ProducePage(page, sourceIndex);
        }
        FCurLine = FCurLineThrough = 0;
    }
    FReport->DoScriptEvent(page.OnAfterPrint(), &page);
}

void TrpEngine::ProducePage(TrpReportPage& page, int sourceIndex) {
    if (page.Objects().empty() && !FReport->EngineOptions.PrintIfEmpty)
        return;
    TrpPreviewPages& pages = FReport->PreviewPages();
    FCurPage = &page;
    FPageHeight = page.PrintableHeight();
    FPageWidth = page.PrintableWidth();
    FCurX = FCurY = 0;
    FCurColumn = 1;
    if (!(page.PrintOnPreviousPage() && pages.Count() > 0))
        pages.AddPage(sourceIndex);
    FReport->Progress(TrpProgressKind::Running, pages.CurPage() + 1);
    if (!page.OutlineText().isEmpty())
        pages.AddOutline(QString::fromStdString(FReport->Calc(page.OutlineText()).AsString()),
                         pages.CurPage());

    TrpNullBand band;
    band.SetName(QStringLiteral("NullBand"));
    band.SetBounds(0, 0, FPageWidth, FPageHeight);
    for (const auto& object : page.Objects())
        if (!object->IsBand())
            if (auto* view = dynamic_cast<TrpView*>(object.get()))
                band.BandObjects().push_back(view);
    AlignBandObjects(band.BandObjects(), band.Width(), band.Height());
    const Extended savedY = FCurY;
    PrintBand(band);
    FCurY = savedY;

    if (!page.OnManualBuild().isEmpty())
        FReport->DoScriptEvent(page.OnManualBuild(), &page);
}

void TrpEngine::Fit(TrpView& view) {
    auto* memo = dynamic_cast<TrpCustomMemoView*>(&view);
    if (!memo || (!memo->AutoWidth() && memo->StretchMode() == smDontStretch))
        return;
    const QSizeF needed = MemoNeededSize(FReport->DrawText(), *memo);
    if (memo->AutoWidth())
        memo->SetWidth(needed.width());
    if (memo->StretchMode() != smDontStretch && needed.height() > memo->Height())
        memo->SetHeight(needed.height());
}

void TrpEngine::PrintBand(TrpBand& band) {
    FReport->DoScriptEvent(band.OnBeforePrint(), &band);
    for (TrpView* view : band.BandObjects()) {
        FReport->SetCurrentObjectName(view->Name());
        view->SaveState();
        if (band.Visible()) {
            if (FReport->OnBeforePrint)
                FReport->OnBeforePrint(view);
            FReport->DoScriptEvent(view->OnBeforePrint(), view);
        }
        if (view->Visible()) {
            FReport->FillView(*view);
            FReport->DoScriptEvent(view->OnAfterData(), view);
            Fit(*view);
        }
    }
    FReport->DoScriptEvent(band.OnAfterCalcHeight(), &band);

    TrpPreviewPages& pages = FReport->PreviewPages();
    pages.AddObject(band);
    for (TrpView* view : band.BandObjects())
        if (view->Visible())
            pages.AddObject(*view);
    if (dynamic_cast<TrpNullBand*>(&band) == nullptr)
        FCurY += band.Height();

    for (TrpView* view : band.BandObjects()) {
        if (FReport->OnAfterPrint)
            FReport->OnAfterPrint(view);
        FReport->DoScriptEvent(view->OnAfterPrint(), view);
        view->RestoreState();
    }
    FReport->DoScriptEvent(band.OnAfterPrint(), &band);
    FReport->SetCurrentObjectName({});
}

} // namespace report
