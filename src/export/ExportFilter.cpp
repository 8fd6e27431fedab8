#include "export/ExportFilter.h"

#include "export/LayoutMatrix.h"
#include "export/Progress.h"
#include "report/DrawText.h"
#include "report/EngineTexts.h"
#include "report/MemoFill.h"
#include "report/PageList.h"
#include "report/PreparedPageStore.h"
#include "report/Report.h"
#include "report/ViewPainter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <new>

namespace exports {

using namespace report;

namespace {

std::vector<TrpCustomExportFilter*>& Registry() {
    static std::vector<TrpCustomExportFilter*> filters;
    return filters;
}

// A private copy of a prepared page, so that what the loop changes (margins, highlight fonts,
// page counts, widths) never reaches the pages the preview shows.
std::unique_ptr<TrpReportPage> CopyPage(const TrpReportPage& page) {
    auto copy = std::make_unique<TrpReportPage>();
    copy->Assign(page);
    copy->SetReport(page.Report());
    std::function<void(const TrpComponent&, TrpComponent&)> copyChildren = [&](const TrpComponent& from,
                                                                               TrpComponent& to) {
        for (const auto& child : from.Objects())
            if (auto clone = child->Clone()) {
                TrpComponent* added = to.Add(std::move(clone));
                copyChildren(*child, *added);
            }
    };
    copyChildren(page, *copy);
    return copy;
}

bool IsPageHeader(const TrpComponent& c) {
    return c.IsBand() && c.ClassName() == u"TrpPageHeader";
}
bool IsPageFooter(const TrpComponent& c) {
    return c.IsBand() && c.ClassName() == u"TrpPageFooter";
}

// What the loop does to a memo before a filter sees it.
void PrepareMemo(TrpCustomMemoView& memo, int pageCount, TrpDrawText& drawText) {
    // Filters write the font the memo shows.
    if (memo.Highlight().Active)
        memo.SetFont(ShownFont(memo));
    const QString text = memo.Text();
    if (text.contains(TotalPagesMark())) {
        QString filled = text;
        filled.replace(TotalPagesMark(), QString::number(pageCount));
        memo.SetText(filled);
    }
    // Measured once as drawing measures it, so the width is final.
    if (memo.AutoWidth())
        memo.SetWidth(MemoNeededSize(drawText, memo).width());
}

void ShowError(TrpReport& report, const QString& message) {
    report.AddError(message);
    report.RouteError(rpGet("clErrors") + QStringLiteral("\r\n") + message);
}

} // namespace

void AddExportTexts() {
    TrpResources::Instance().AddStringsOnce(
        "exTooLarge=Отчет слишком велик для формата «%1»: %2\n"
        "exTooManyCells=на странице нужно %1 ячеек таблицы, а помещается не более %2\n"
        "exTooManyColumns=нужно %1 столбцов, а лист вмещает не более %2\n"
        "exTooManyRows=нужно %1 строк, а лист вмещает не более %2\n"
        "exNoMemory=Недостаточно памяти: отчет слишком велик для формата «%1»\n");
}

TrpCustomExportFilter::TrpCustomExportFilter(bool subordinate) : FSubordinate(subordinate) {
    if (!subordinate)
        Registry().push_back(this);
}

TrpCustomExportFilter::~TrpCustomExportFilter() {
    auto& r = Registry();
    r.erase(std::remove(r.begin(), r.end(), this), r.end());
}

const QString& TrpCustomExportFilter::DefaultExt() const {
    static const QString none;
    return none;
}

QString TrpCustomExportFilter::TargetFileName() const {
    if (FFileName.isEmpty() || FDefaultPath.isEmpty() || FFileName.contains(QLatin1Char('/')) ||
        FFileName.contains(QLatin1Char('\\')))
        return FFileName;
    return QDir(FDefaultPath).filePath(FFileName);
}

const std::vector<TrpCustomExportFilter*>& ExportFilters() {
    return Registry();
}

Extended PaperLeft(const TrpComponent& object) {
    Extended sum = 0;
    for (const TrpComponent* c = &object; c; c = c->Parent())
        sum += c->Left();
    return sum;
}

Extended PaperTop(const TrpComponent& object) {
    Extended sum = 0;
    for (const TrpComponent* c = &object; c; c = c->Parent())
        sum += c->Top();
    return sum;
}

bool ExportTo(TrpReport& report, TrpCustomExportFilter* filter, TrpExportPreview* preview) {
    if (!filter)
        return false;
    filter->SetReport(&report);
    filter->FFailed = false;
    if (filter->ShowDialog() && filter->ShowModal() != mrOk)
        return false;
    if (filter->CurPage())
        filter->SetPageNumbers(QString::number(preview ? preview->CurrentPage() : 1));

    TrpPreviewPages& pages = report.PreviewPages();
    const int count = pages.Count();
    report.SetTerminated(false);
    // A malformed list goes to the caller before anything is written.
    const std::vector<int> selected = ParsePageNumbers(filter->PageNumbers(), count);
    // A list that names no existing page selects nothing (not every page).
    const bool allPages = QString(filter->PageNumbers()).remove(QLatin1Char(' ')).isEmpty();

    bool ok = true;
    bool started = false;
    bool progressShown = false;
    TrpProgress progress;
    TrpDrawText scratch;
    bool finished = false;
    auto finish = [&] {
        if (finished)
            return;
        finished = true;
        if (preview) {
            preview->Unlock();
            preview->Refresh();
        }
        if (progressShown) {
            progress.Hide();
            report.ProgressStop(TrpProgressKind::Exporting);
        }
        filter->Finish();
    };
    try {
        if (!filter->Start())
            return true;
        started = true;
        if (preview) {
            preview->Refresh();
            preview->Lock();
        }
        if (filter->ShowProgress()) {
            progressShown = true;
            report.ProgressStart(TrpProgressKind::Exporting);
            if (report.ShowProgress)
                progress.Execute(0, QString(), false, true);
        }
        for (int i = 0; i < count && !report.Terminated(); ++i) {
            if (!allPages && !PageSelected(selected, i + 1))
                continue;
            if (progressShown) {
                progress.SetMessage(rpFormat(rpGet("prExporting"), {QString::number(i + 1)}));
                report.Progress(TrpProgressKind::Exporting, i + 1);
                if (progress.Terminated())
                    report.SetTerminated(true);
            }
            const TrpReportPage* prepared = pages.Page(i);
            if (!prepared)
                continue;
            std::unique_ptr<TrpReportPage> page = CopyPage(*prepared);
            filter->StartPage(page.get(), i);
            const bool mirrored = page->MirrorMargins() && (i % 2 == 1);
            page->SetLeft((mirrored ? page->RightMargin() : page->LeftMargin()) * fr01cm);
            page->SetTop(page->TopMargin() * fr01cm);

            {
                TrpPictureView background;
                background.SetName(QStringLiteral("_pagebackground"));
                background.SetReport(&report);
                background.SetColor(page->Color());
                background.SetFrame(page->Frame());
                background.SetStretched(true);
                background.SetKeepAspectRatio(false);
                background.SetBounds(page->Left(), page->Top(), page->PrintableWidth(),
                                     page->PrintableHeight());
                filter->ExportObject(&background);
            }

            auto pass = [&](TrpComponent& object) {
                if (auto* memo = dynamic_cast<TrpCustomMemoView*>(&object))
                    PrepareMemo(*memo, count, scratch);
                filter->ExportObject(&object);
            };
            for (const auto& object : page->Objects()) {
                if (filter->SuppressPageHeadersFooters() &&
                    ((IsPageHeader(*object) && i > 0) || (IsPageFooter(*object) && i < count - 1)))
                    continue;
                pass(*object);
                for (const auto& child : object->Objects())
                    pass(*child);
            }
            filter->FinishPage(page.get(), i);
            if (QCoreApplication::instance())
                QCoreApplication::processEvents();
            if (progress.Terminated())
                report.SetTerminated(true);
        }
        finish();
    } catch (const std::exception& e) {
        ok = false;
        // A format that cannot hold the report, or memory that ran out, is said in the
        // format's name; the memory the export held is freed by Finish below.
        AddExportTexts();
        const QString format =
            filter->FilterDescription().isEmpty() ? filter->DefaultExt() : filter->FilterDescription();
        QString message;
        if (dynamic_cast<const std::bad_alloc*>(&e))
            message = rpGet(QStringLiteral("exNoMemory")).arg(format);
        else if (auto* large = dynamic_cast<const TrpTooLarge*>(&e))
            message = rpGet(QStringLiteral("exTooLarge")).arg(format, large->Message());
        else if (auto* error = dynamic_cast<const TrpReportError*>(&e))
            message = error->Message();
        else
            message = QString::fromUtf8(e.what());
        if (started) {
            filter->FFailed = true;
            try {
                finish();
            } catch (const std::exception&) {
                // The first error is the one worth telling.
            }
        }
        ShowError(report, message);
    }
    return ok;
}

QString ExportSilently(TrpReport& report, TrpCustomExportFilter& filter) {
    if (report.PreviewPages().Count() == 0)
        return rpGet(QStringLiteral("exNoPages"));
    filter.SetShowDialog(false);
    filter.SetShowProgress(false);
    // The loop reports errors through the report; collect the message instead of showing it.
    const TrpSilentMode mode = report.EngineOptions.NewSilentMode;
    report.EngineOptions.NewSilentMode = simReThrow;
    QString error;
    try {
        if (!ExportTo(report, &filter))
            error = rpGet(QStringLiteral("exFailed"));
    } catch (const TrpReportError& e) {
        error = e.Message();
        const QString heading = rpGet(QStringLiteral("clErrors")) + QStringLiteral("\r\n");
        if (error.startsWith(heading))
            error = error.mid(heading.size());
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    report.EngineOptions.NewSilentMode = mode;
    return error;
}

} // namespace exports
