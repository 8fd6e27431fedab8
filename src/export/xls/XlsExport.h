#pragma once
// The Excel export: fills the first worksheet of a new LibreOffice Calc workbook from the
// layout matrix (column widths, row heights, named cell styles, merges, borders, values,
// pictures, page breaks and page setup) and saves it as a binary .xls workbook.

#include "export/ExportFilter.h"

#include <functional>
#include <memory>

namespace exports {

class TrpExcel;
class TrpIEMatrix;
struct TrpIEMObject;
class TrpProgress;

class TrpXLSExport : public TrpCustomExportFilter {
public:
    RP_FILTER_OPTIONS
    explicit TrpXLSExport(bool subordinate = false);
    ~TrpXLSExport() override;

    QString FilterDescription() const override;
    TModalResult ShowModal() override;
    bool Start() override;
    void StartPage(report::TrpReportPage* page, int index) override;
    void ExportObject(report::TrpComponent* object) override;
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
    // Called once the office runs, and once the grid is laid out, before the sheet is filled;
    // for tests.
    std::function<void(TrpExcel&)> OnStarted;
    std::function<void(const TrpIEMatrix&)> OnPrepared;

private:
    void AddStyles(TrpProgress* progress);
    void SetColumnWidths(TrpProgress* progress);
    // The page break test for grid row r; k counts the pages already broken.
    void PageBreakAfter(int r, int& k);
    void NormalPath(TrpProgress* progress);
    void FastPath(TrpProgress* progress);
    void PlacePicture(int c, int r, int dx, int dy, const QImage& image);
    // Runs the loop when neither it nor an earlier one was cancelled.
    bool Begin(TrpProgress* progress, int max, const QString& message);
    // Each object of the grid once, at its top-left cell (worksheet column c and row r from 1) with
    // its span, row by row with a progress step per row, until cancelled.
    void EachObject(TrpProgress* progress,
                    const std::function<void(int c, int r, int dx, int dy, TrpIEMObject* obj)>& f);

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

    std::unique_ptr<TrpIEMatrix> FMatrix;
    std::unique_ptr<TrpExcel> FExcel;
    bool FOfficeScriptsRan = false;
    bool FFirstPage = true;
    report::TPrinterOrientation FOrientation = report::poPortrait;
    double FLeft = 0, FTop = 0, FRight = 0, FBottom = 0; // points
    double FPaperWidth = 0, FPaperHeight = 0;            // millimetres
};

} // namespace exports
