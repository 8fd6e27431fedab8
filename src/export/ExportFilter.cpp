#include "export/ExportFilter.h"

#include "export/LayoutMatrix.h"
#include "export/Progress.h"
#include "report/EngineTexts.h"
#include "report/PageList.h"
#include "report/PreparedPageStore.h"
#include "report/Report.h"

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
    const bool printableOnly = HonoursPrintable(filter->Output(), filter->ExportNotPrintable());
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
            const TrpPlacedPage* placed = pages.Placed(i);
            TrpReportPage* page = pages.Page(i);
            if (!placed || !page)
                continue;
            filter->StartPage(page, i);
            // Written once, the page header on the first page and the page footer on the last.
            auto once = [&](TrpPlacedBand band) {
                return filter->SuppressPageHeadersFooters() &&
                       ((band == TrpPlacedBand::PageHeader && i > 0) ||
                        (band == TrpPlacedBand::PageFooter && i < count - 1));
            };
            for (const TrpPlacedObject& object : placed->Objects) {
                // The page's fill and frame always: each filter decides about them.
                if (object.View &&
                    (!object.Visible || (printableOnly && !object.Printable) || once(object.Band)))
                    continue;
                filter->ExportObject(object);
            }
            filter->FinishPage(page, i);
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
