#include "preview/Printing.h"

#include "export/ExportFilter.h"
#include "export/Progress.h"
#include "preview/PreviewTexts.h"
#include "preview/PrintDialog.h"
#include "preview/Printers.h"
#include "report/EngineTexts.h"
#include "report/PageList.h"
#include "report/PreparedPageStore.h"
#include "report/Report.h"
#include "report/ViewPainter.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>

#include <optional>

namespace preview {

using namespace report;

namespace {

// Qt's CUPS print engine takes extra job options, as name and value pairs, under this key.
const auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// A paper bin of the page settings as the IPP media source CUPS knows (and turns into the
// driver's input slot); empty: the printer chooses.
QString MediaSource(int bin) {
    static const std::pair<int, const char*> kSources[] = {
        {1, "top"},    {2, "bottom"}, {3, "middle"},          {4, "manual"}, {5, "envelope"},
        {6, "manual"}, {7, "auto"},   {11, "large-capacity"}, {14, "main"},  {15, "auto"}};
    for (const auto& [code, source] : kSources)
        if (code == bin)
            return source == std::string_view("auto") ? QString() : QString::fromLatin1(source);
    constexpr int kFirstUserBin = 256, kTrays = 20; // driver bins: the printer's numbered trays
    if (bin >= kFirstUserBin && bin < kFirstUserBin + kTrays)
        return QStringLiteral("tray-%1").arg(bin - kFirstUserBin + 1);
    return {};
}

// The printer page parameters of one prepared page.
struct PageParams {
    QPageSize Size;
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;
    QString Source;
    bool operator==(const PageParams& o) const {
        return Size.isEquivalentTo(o.Size) && Orientation == o.Orientation && Source == o.Source;
    }
};

PageParams ParamsOf(const TrpReportPage& page, int bin) {
    PageParams params;
    params.Source = MediaSource(bin);
    params.Orientation = page.Orientation() == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    // The paper is given as it lies; the printer wants the portrait size and an orientation.
    Extended w = page.PaperWidth(), h = page.PaperHeight();
    if (params.Orientation == QPageLayout::Landscape)
        std::swap(w, h);
    params.Size =
        QPageSize(QSizeF(double(w), double(h)), QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    return params;
}

void ApplyParams(QPrinter& printer, const PageParams& params) {
    printer.setPageSize(params.Size);
    printer.setPageOrientation(params.Orientation);
    // The painter's origin is the corner of the printable area; its distance from the paper's
    // corner is the printer's unprintable offset, taken back out when a page is drawn.
    printer.setFullPage(false);
    printer.setPageMargins(printer.pageLayout().minimumMargins(), printer.pageLayout().units());
    if (printer.outputFormat() != QPrinter::NativeFormat)
        return;
    QStringList options = printer.printEngine()->property(kCupsOptions).toStringList();
    for (qsizetype i = 0; i + 1 < options.size();)
        if (options[i] == u"media-source")
            options.remove(i, 2);
        else
            i += 2;
    if (!params.Source.isEmpty())
        options << QStringLiteral("media-source") << params.Source;
    printer.printEngine()->setProperty(kCupsOptions, options);
}

class PrintRun {
public:
    PrintRun(TrpReport& report, QPrinter& printer, const TrpPrintSettings& settings)
        : FReport(report), FPrinter(printer), FSettings(settings) {}

    TrpPrintResult Run(const std::vector<int>& pages) {
        const int count = FReport.PreviewPages().Count();
        const int copies = std::max(1, FSettings.Copies);
        // A file printer makes no copies of its own: uncollated copies are then repeated here.
        const bool printerCopies = FPrinter.outputFormat() == QPrinter::NativeFormat;
        std::vector<int> order;
        order.reserve(size_t(count));
        for (int i = 0; i < count; ++i)
            order.push_back(FSettings.Reverse ? count - 1 - i : i);

        if (FSettings.Collate) {
            FPrinter.setCopyCount(1);
            for (int copy = 0; copy < copies && !Stopped(); ++copy) {
                if (copy > 0 && FPrinter.duplex() != QPrinter::DuplexNone && FPrintedInCopy % 2 == 1)
                    BlankPage();
                FPrintedInCopy = 0;
                for (int index : order) {
                    if (Stopped())
                        break;
                    PrintPage(index, pages);
                }
            }
        } else {
            FPrinter.setCopyCount(printerCopies ? copies : 1);
            FPrinter.setCollateCopies(false);
            for (int index : order) {
                for (int copy = 0; copy < (printerCopies ? 1 : copies); ++copy) {
                    if (Stopped())
                        break;
                    PrintPage(index, pages);
                }
            }
        }
        if (FPainter.isActive()) {
            if (Stopped()) {
                FPrinter.abort();
                FResult.Aborted = true;
            }
            FPainter.end();
        }
        FResult.Aborted = FResult.Aborted || Stopped();
        return FResult;
    }

    std::function<void(int page)> OnPagePrinted;

private:
    bool Stopped() const { return FReport.Terminated(); }

    bool Begin() {
        if (FPainter.isActive())
            return FPrinter.newPage();
        return FPainter.begin(&FPrinter);
    }

    void BlankPage() {
        if (Begin())
            ++FResult.PagesPrinted;
    }

    void PrintPage(int index, const std::vector<int>& pages) {
        const int number = index + 1;
        if (!pages.empty() && !PageSelected(pages, number))
            return;
        if ((FSettings.PrintPages == ppOdd && number % 2 == 0) ||
            (FSettings.PrintPages == ppEven && number % 2 == 1))
            return;
        TrpReportPage* page = FReport.PreviewPages().Page(index);
        if (!page)
            return;
        // The first sheet of each copy comes from the page's Bin (a letterhead, say), the others
        // from BinOtherPages.
        const PageParams params = ParamsOf(*page, FPrintedInCopy == 0 ? page->Bin() : page->BinOtherPages());
        if (!FLastParams || !(*FLastParams == params)) {
            // The tray is an option of the whole print job: pages for another one go in a job of
            // their own.
            if (FPainter.isActive() && FLastParams->Source != params.Source &&
                FPrinter.outputFormat() == QPrinter::NativeFormat)
                FPainter.end();
            ApplyParams(FPrinter, params);
            FLastParams = params;
        }
        if (!Begin()) {
            FReport.SetTerminated(true);
            return;
        }
        const QPageLayout layout = FPrinter.pageLayout();
        const QMarginsF offset = layout.margins(QPageLayout::Millimeter);
        TrpPageCanvas canvas;
        canvas.Output = TrpOutput::Printer;
        canvas.PrinterDPI = FPrinter.resolution();
        canvas.ScaleX = Extended(FPrinter.logicalDpiX()) / ScreenDPI;
        canvas.ScaleY = Extended(FPrinter.logicalDpiY()) / ScreenDPI;
        canvas.OffsetX = -Extended(offset.left()) * FPrinter.logicalDpiX() / 25.4L;
        canvas.OffsetY = -Extended(offset.top()) * FPrinter.logicalDpiY() / 25.4L;
        if (const TrpPlacedPage* placed = FReport.PreviewPages().Placed(index))
            DrawPlacedPage(FPainter, *placed, canvas);
        ++FResult.PagesPrinted;
        ++FPrintedInCopy;
        if (OnPagePrinted)
            OnPagePrinted(number);
    }

    TrpReport& FReport;
    QPrinter& FPrinter;
    TrpPrintSettings FSettings;
    QPainter FPainter;
    std::optional<PageParams> FLastParams;
    TrpPrintResult FResult;
    int FPrintedInCopy = 0;
};

} // namespace

TrpPrintSettings PrintSettingsFrom(const TrpPrintOptions& options) {
    TrpPrintSettings s;
    s.Copies = options.Copies;
    s.Collate = options.Collate;
    s.PageNumbers = options.PageNumbers;
    s.PrintPages = options.PrintPages;
    s.Reverse = options.Reverse;
    return s;
}

TrpPrintHooks& PrintHooks() {
    static TrpPrintHooks hooks;
    return hooks;
}

TrpPrintResult PrintPreparedPages(TrpReport& report, QPrinter& printer, const TrpPrintSettings& settings,
                                  int currentPage) {
    AddPreviewTexts();
    const int count = report.PreviewPages().Count();
    (void)currentPage;
    const std::vector<int> pages = ParsePageNumbers(settings.PageNumbers, count);

    printer.setDocName(!report.ReportOptions.Name.isEmpty() ? report.ReportOptions.Name : rpGet("clPreview"));
    report.SetTerminated(false);
    exports::TrpProgress progress;
    report.ProgressStart(TrpProgressKind::Printing);
    if (report.ShowProgress)
        progress.Execute(0, rpFormat(rpGet("prPrinting"), {QStringLiteral("1")}), false, true);

    PrintRun run(report, printer, settings);
    run.OnPagePrinted = [&](int number) {
        if (report.ShowProgress)
            progress.SetMessage(rpFormat(rpGet("prPrinting"), {QString::number(number)}));
        report.Progress(TrpProgressKind::Printing, number);
        QCoreApplication::processEvents();
        if (progress.Terminated())
            report.SetTerminated(true);
    };
    const TrpPrintResult result = run.Run(pages);
    progress.Hide();
    report.ProgressStop(TrpProgressKind::Printing);
    return result;
}

bool PrintReport(TrpReport& report, exports::TrpExportPreview* preview, QWidget* parent) {
    AddPreviewTexts();
    TrpPrinters& printers = TrpPrinters::Instance();
    if (!printers.HasPrinters()) {
        report.ShowMessage(rpGet("mbError"), rpGet("clNoPrinters"));
        return false;
    }
    TrpPrintSettings settings = PrintSettingsFrom(report.PrintOptions);
    const int named = printers.IndexOf(report.PrintOptions.Printer);
    if (named >= 0)
        printers.SetPrinterIndex(named);

    QPrinter printer(printers.Info(), QPrinter::HighResolution);
    // Start from the report's paper, so the printer's properties show it rather than the
    // printer's own default.
    if (TrpReportPage* first = report.PreviewPages().Page(0))
        ApplyParams(printer, ParamsOf(*first, first->Bin()));
    const int currentPage = preview ? preview->CurrentPage() : 1;
    if (report.PrintOptions.ShowDialog) {
        TrpPrintDialog dialog(printer, report.PreviewPages().Count(), currentPage, parent);
        dialog.SetSettings(settings);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        settings = dialog.Settings();
        printers.SetPrinterIndex(dialog.PrinterIndex());
        if (printer.printerName().compare(printers.PrinterName(), Qt::CaseInsensitive) != 0)
            printer.setPrinterName(printers.PrinterName());
    }
    if (settings.PrintToFile) {
        QString file = settings.OutputFileName;
        if (file.isEmpty())
            file = PrintHooks().GetPrintFileName
                       ? PrintHooks().GetPrintFileName(parent)
                       : QFileDialog::getSaveFileName(parent, rpGet("prnToFile"), QString(),
                                                      QStringLiteral("PDF (*.pdf)"));
        if (file.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
    }

    if (preview)
        preview->Lock();
    TrpPrintResult result;
    try {
        result = PrintPreparedPages(report, printer, settings, currentPage);
    } catch (const TrpReportError& e) {
        report.ShowMessage(rpGet("mbError"), e.Message());
    }
    if (preview)
        preview->Unlock();
    return result.PagesPrinted > 0 && !result.Aborted;
}

} // namespace preview
