#pragma once
// The Excel export: fills the first worksheet of a new LibreOffice Calc workbook from the
// layout matrix (column widths, row heights, named cell styles, merges, borders, values,
// pictures, page breaks and page setup) and saves it as a binary .xls workbook. Each page is
// laid out on its own when it is finished and its cells kept in a spool, so that memory holds
// one page's grid; the sheet is filled page by page once the columns of every page are known.

#include "export/ExportFilter.h"

#include <functional>
#include <memory>
#include <vector>

namespace exports {

class TrpExcel;
class TrpIEMatrix;
struct TrpIEMObject;
class TrpProgress;
class TrpSpool;
struct TrpXlsCell;

class TrpXLSExport : public TrpCustomExportFilter {
public:
    RP_FILTER_OPTIONS
    explicit TrpXLSExport(bool subordinate = false);
    ~TrpXLSExport() override;

    QString FilterDescription() const override;
    TModalResult ShowModal() override;
    bool Start() override;
    void StartPage(report::TrpReportPage* page, int index) override;
    void ExportObject(const report::TrpPlacedObject& object) override;
    void FinishPage(report::TrpReportPage* page, int index) override;
    void Finish() override;

    // ---- published properties ----
    bool ExportStyles() const { return FExportStyles; }
    void SetExportStyles(bool v) { FExportStyles = v; }
    bool ExportPictures() const { return FExportPictures; }
    void SetExportPictures(bool v) { FExportPictures = v; }
    bool MergeCells() const { return FMergeCells; }
    void SetMergeCells(bool v) { FMergeCells = v; }
    bool OpenExcelAfterExport() const { return FOpenExcelAfterExport; }
    void SetOpenExcelAfterExport(bool v) { FOpenExcelAfterExport = v; }
    bool Wysiwyg() const { return FWysiwyg; }
    void SetWysiwyg(bool v) { FWysiwyg = v; }
    bool AsText() const { return FAsText; }
    void SetAsText(bool v) { FAsText = v; }
    bool Background() const { return FBackground; }
    void SetBackground(bool v) { FBackground = v; }
    bool FastExport() const { return FFastExport; }
    void SetFastExport(bool v) { FFastExport = v; }
    bool PageBreaks() const { return FPageBreaks; }
    void SetPageBreaks(bool v) { FPageBreaks = v; }
    bool EmptyLines() const { return FEmptyLines; }
    void SetEmptyLines(bool v) { FEmptyLines = v; }

    const QString& FilterText() const { return FFilterText; }
    const QString& DefaultExt() const { return FDefaultExt; }

    // The wrapper while an export runs (Start to the end of Finish), else none.
    TrpExcel* Excel() const { return FExcel.get(); }
    // Whether the last export's grouped operations ran inside the office (the fast path with the
    // office's Python).
    bool OfficeScriptsRan() const { return FOfficeScriptsRan; }

    // Opens the saved workbook in a visible Calc ("open after export"); replaceable for tests.
    std::function<void(const QString& fileName)> OnOpenFile;
    // Asks for the target file; returns "" when cancelled. Replaceable for tests; the default is
    // the save dialog.
    std::function<QString(const QString& initialName)> OnSaveDialog;
    // Called once the office runs, and once each page's grid is laid out; for tests.
    std::function<void(TrpExcel&)> OnStarted;
    std::function<void(const TrpIEMatrix&)> OnPrepared;

private:
    void AddStyles(TrpProgress* progress);
    void SetColumnWidths();
    // Keeps the prepared page's cells, each object once at its top-left cell.
    void SpoolPage();
    // The page's cells at their worksheet places (columns and rows from 1).
    std::vector<TrpXlsCell> ReadPage(int page);
    void FillPage(int page, bool last);
    void PlacePicture(const TrpXlsCell& cell);
    void SetValues(int page, bool last, const std::vector<TrpXlsCell>& cells);

    bool FExportStyles = true;
    bool FExportPictures = true;
    bool FMergeCells = true;
    bool FOpenExcelAfterExport = false;
    bool FWysiwyg = true;
    bool FAsText = false;
    bool FBackground = true;
    bool FFastExport = true;
    bool FPageBreaks = true;
    bool FEmptyLines = true;
    QString FFilterText;
    QString FDefaultExt;

    std::unique_ptr<TrpIEMatrix> FMatrix; // of the page at hand; its styles are every page's
    std::unique_ptr<TrpSpool> FSpool;     // the pages' cells
    std::vector<long double> FColumns;    // the sheet's column lines, of every page
    std::vector<double> FHeights;         // points, worksheet row r at [r - 1]
    std::vector<int> FBreaks;             // rows with a manual page break above them
    std::vector<int> FPageRows;           // the first worksheet row of each page
    std::unique_ptr<TrpExcel> FExcel;
    bool FOfficeScriptsRan = false;
    bool FFirstPage = true;
    report::TPrinterOrientation FOrientation = report::poPortrait;
    double FLeft = 0, FTop = 0, FRight = 0, FBottom = 0; // points
    double FPaperWidth = 0, FPaperHeight = 0;            // millimetres
};

} // namespace exports
