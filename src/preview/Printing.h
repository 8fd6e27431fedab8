#pragma once
// The print path: the Print command of the preview, and printing the prepared pages on a
// printer page by page at the printer's resolution.

#include "report/ReportTypes.h"

#include <QString>
#include <functional>

class QPrinter;
class QWidget;

namespace exports {
class TrpExportPreview;
}

namespace report {
class TrpReport;
struct TrpPrintOptions;
} // namespace report

namespace preview {

// Which page numbers print.
enum TrpPrintPages { ppAll, ppOdd, ppEven };

// What the print dialog chooses (start values from the report's PrintOptions).
struct TrpPrintSettings {
    int Copies = 1;
    bool Collate = true;
    QString PageNumbers; // "" for all pages
    int PrintPages = ppAll;
    bool Reverse = false;
    bool PrintToFile = false;
    QString OutputFileName; // the file when printing to a file
};
TrpPrintSettings PrintSettingsFrom(const report::TrpPrintOptions& options);

struct TrpPrintResult {
    int PagesPrinted = 0;
    bool Aborted = false; // a stop request ended the job
};

// Prints the selected prepared pages on a printer already set up for the chosen printer:
// copies and collation, page list, odd/even and reverse order, the page size of each page,
// progress with Cancel. Throws TrpReportError for a malformed page list before anything
// is printed.
TrpPrintResult PrintPreparedPages(report::TrpReport& report, QPrinter& printer,
                                  const TrpPrintSettings& settings, int currentPage = 1);

// Hooks of the Print command, replaceable in tests.
struct TrpPrintHooks {
    // Asks for the file of "Печать в файл"; "" cancels.
    std::function<QString(QWidget* parent)> GetPrintFileName;
};
TrpPrintHooks& PrintHooks();

// The Print command: the "clNoPrinters" message when the system has no printer; otherwise the
// printer named by PrintOptions.Printer (or the selected one), the print dialog when
// PrintOptions.ShowDialog is on, then the pages. The preview, when given, is locked while the
// pages print. True when at least one page was printed.
bool PrintReport(report::TrpReport& report, exports::TrpExportPreview* preview = nullptr,
                 QWidget* parent = nullptr);

} // namespace preview
