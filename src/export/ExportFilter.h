#pragma once
// The base of every export filter and the loop that feeds it the prepared pages.

#include "report/Components.h"
#include "report/PlacedPage.h"

#include <QString>
#include <vector>

class QIODevice;

namespace report {
class TrpReport;
}

namespace exports {

using report::Extended;

class FilterOptions;

// In the body of a filter class that publishes options of its own: their table (see
// FilterOptions.h, defined beside the filter) and the virtual that returns it.
#define RP_FILTER_OPTIONS                                                                                    \
public:                                                                                                      \
    static const ::exports::FilterOptions& Published();                                                      \
    const ::exports::FilterOptions& PublishedOptions() const override {                                      \
        return Published();                                                                                  \
    }

// Results of a filter's options dialog.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

// What the export loop needs of an open preview window (it lives in the report engine's
// user interface; the loop only knows this much of it).
class TrpExportPreview {
public:
    virtual ~TrpExportPreview() = default;
    // The page shown, counted from 1.
    virtual int CurrentPage() const = 0;
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    virtual void Refresh() = 0;
};

class TrpCustomExportFilter {
public:
    // A filter created as subordinate (run by another export to write its attachment) does
    // not appear in the global filter list.
    explicit TrpCustomExportFilter(bool subordinate = false);
    virtual ~TrpCustomExportFilter();
    TrpCustomExportFilter(const TrpCustomExportFilter&) = delete;
    TrpCustomExportFilter& operator=(const TrpCustomExportFilter&) = delete;

    // ---- what a filter overrides, in slot order ----
    // The menu text of the filter ("" for the base).
    virtual QString FilterDescription() const { return {}; }
    // The options dialog; anything but mrOk cancels the export.
    virtual TModalResult ShowModal() { return mrOk; }
    // Opens the output; false ends the export quietly.
    virtual bool Start() { return true; }
    // One object of the placed page, in its order: the page's fill and frame, then its objects,
    // less those the filter's output leaves out (invisible ones, and those not printed where
    // the output honours that).
    virtual void ExportObject(const report::TrpPlacedObject& object) = 0;
    virtual void Finish() {}
    virtual void FinishPage(report::TrpReportPage* page, int index) {
        (void)page;
        (void)index;
    }
    virtual void StartPage(report::TrpReportPage* page, int index) {
        (void)page;
        (void)index;
    }

    // What kind of output the filter writes: which objects it is given follows from it.
    virtual report::TrpOutput Output() const { return report::TrpOutput::TableExport; }

    // The published options of the filter's class, its base classes' included.
    static const FilterOptions& Published();
    virtual const FilterOptions& PublishedOptions() const { return Published(); }

    // ---- published properties ----
    bool ShowDialog() const { return FShowDialog; }
    void SetShowDialog(bool v) { FShowDialog = v; }
    const QString& FileName() const { return FFileName; }
    void SetFileName(const QString& v) { FFileName = v; }
    bool ExportNotPrintable() const { return FExportNotPrintable; }
    void SetExportNotPrintable(bool v) { FExportNotPrintable = v; }
    bool UseFileCache() const { return FUseFileCache; }
    void SetUseFileCache(bool v) { FUseFileCache = v; }
    const QString& DefaultPath() const { return FDefaultPath; }
    void SetDefaultPath(const QString& v) { FDefaultPath = v; }
    bool ShowProgress() const { return FShowProgress; }
    void SetShowProgress(bool v) { FShowProgress = v; }
    bool SuppressPageHeadersFooters() const { return FSuppressPageHeadersFooters; }
    void SetSuppressPageHeadersFooters(bool v) { FSuppressPageHeadersFooters = v; }

    // ---- public, not stored ----
    report::TrpReport* Report() const { return FReport; }
    void SetReport(report::TrpReport* r) { FReport = r; }
    // Export the preview's current page only.
    bool CurPage() const { return FCurPage; }
    void SetCurPage(bool v) { FCurPage = v; }
    // Page numbers and ranges separated by commas; empty for all pages.
    const QString& PageNumbers() const { return FPageNumbers; }
    void SetPageNumbers(const QString& v) { FPageNumbers = v; }
    // When set, the filter writes here instead of to its file (not owned).
    QIODevice* Stream() const { return FStream; }
    void SetStream(QIODevice* s) { FStream = s; }
    bool Subordinate() const { return FSubordinate; }
    // Set while another export runs this filter to write its attachment.
    void SetSubordinate(bool v) { FSubordinate = v; }
    // The extension (with its dot) of the files the filter writes; "" when it has none.
    virtual const QString& DefaultExt() const;
    // True during Finish when an error ended the export: a filter that writes its file there
    // writes nothing, so that no half-done file takes the place of a good one.
    bool Failed() const { return FFailed; }

    // FileName with DefaultPath put in front when it names no directory.
    QString TargetFileName() const;

private:
    bool FShowDialog = true;
    QString FFileName;
    bool FExportNotPrintable = false;
    bool FUseFileCache = true;
    QString FDefaultPath;
    bool FShowProgress = true;
    bool FSuppressPageHeadersFooters = false;

    report::TrpReport* FReport = nullptr;
    bool FCurPage = false;
    QString FPageNumbers;
    QIODevice* FStream = nullptr;
    bool FSubordinate = false;
    bool FFailed = false;

    friend bool ExportTo(report::TrpReport&, TrpCustomExportFilter*, TrpExportPreview*);
};

// Every registered (non-subordinate) filter, in creation order.
const std::vector<TrpCustomExportFilter*>& ExportFilters();

// Runs the export loop: dialog, page list, Start, StartPage / ExportObject / FinishPage for
// each selected page, Finish. False when there is no filter, the dialog is cancelled or an
// error occurred (shown through the report's error channel). A malformed page list throws
// report::TrpReportError before anything is written.
bool ExportTo(report::TrpReport& report, TrpCustomExportFilter* filter, TrpExportPreview* preview = nullptr);

// Runs the export loop without showing anything: the filter's dialog and progress are turned
// off and an error comes back as its message instead of a message box ("" on success, the
// engine's error heading left out).
QString ExportSilently(report::TrpReport& report, TrpCustomExportFilter& filter);

// Adds the texts of the export loop and the layout matrix to the engine text table.
void AddExportTexts();

} // namespace exports
