#pragma once
// The spreadsheet automation wrapper: one running instance of LibreOffice Calc, started
// hidden with a private profile, with a new workbook, its first worksheet and a current range,
// and the worksheet operations the Excel export needs. The office's own interfaces stay inside
// Excel.cpp; this header is free of them.
//
// Errors: operations marked "ignored" drop only their own effect when the office rejects them;
// the others throw TrpExcelError, which ends the export.

#include "export/xls/ExcelNames.h"
#include "export/xls/ExcelUnions.h"
#include "report/ReportTypes.h"

#include <QImage>
#include <QString>
#include <memory>
#include <vector>

namespace exports {

class TrpProgress;

class TrpExcelError : public std::exception {
public:
    explicit TrpExcelError(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toUtf8()) {}
    const QString& Message() const { return FMessage; }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

// A named cell style of the workbook.
struct TrpExcelStyle {
    QString Name;
    report::TrpFont Font;
    report::TColor Fill = report::clNone;
    int Orientation = 0; // degrees, -90..90; 0 leaves the text horizontal
    report::TrpHAlign HAlign = report::haLeft;
    report::TrpVAlign VAlign = report::vaTop;
};

// Removes the folders of office runs whose program no longer runs (killed before it could clean
// up), ending the offices still working on them; returns how many went. Done once per process
// before its first run.
int RemoveStaleOfficeRuns(const QString& folder);

class TrpExcel {
public:
    TrpExcel();
    // Releases the references and, when the office is still running, shuts it down and removes
    // its private profile: nothing of a run outlives the wrapper.
    ~TrpExcel();
    TrpExcel(const TrpExcel&) = delete;
    TrpExcel& operator=(const TrpExcel&) = delete;

    // The office program: $TARIFON_OFFICE when set, else soffice from the PATH.
    static QString OfficeProgram();

    // Starts the office hidden with a fresh private profile and a pipe of its own, connects and
    // opens a new workbook. Errors ignored: false (and StartError() says why) when the office
    // is missing or does not answer in time.
    bool StartApplication();
    bool Opened() const { return FOpened; }
    const QString& StartError() const { return FStartError; }

    // Leaves the office running after the export when true: the saved file is opened in a
    // visible Calc instead (see OpenVisible). Only when opened.
    void ShowApplication(bool visible);
    bool Visible() const { return FVisible; }

    // Margins in points; the paper size (millimetres, as the page stands upright) when known.
    // Ignored errors.
    void ApplyPageSetup(report::TPrinterOrientation orientation, double left, double right, double top,
                        double bottom, double paperWidthMm = 0, double paperHeightMm = 0);

    // The current range := the clipped selection (unchanged when a count is not above 0).
    // Ignored errors.
    void SelectCells(int x, int y, int rows, int columns);
    // Width in character units of the default font. Ignored errors.
    void SetColumnWidth(int column, double width);
    // Height in points, capped at 409; nothing for 0.
    void SetRowHeight(int row, double height);
    void MergeSelection();
    void DrawBorders(report::TrpFrameTypes frame);

    // Row heights at once: the most frequent height for rows 1..rowCount in one call, then the
    // runs of the others in unions.
    void SetRowHeightsFast(const std::vector<TrpUnionEntry>& runs, const std::vector<double>& heights,
                           TrpProgress* progress, int rowCount, int mostFrequent);
    // Styles, borders or merges per union of addresses. Ignored errors per union.
    void ApplyUnions(const std::vector<TrpUnionEntry>& list, TrpUnionKind kind, TrpProgress* progress);
    // "format=address" entries, neighbours of one format per union. Ignored errors per union.
    void ApplyNumberFormats(const QStringList& list, TrpProgress* progress);

    // ---- what the export does with the workbook directly ----
    void AddStyle(const TrpExcelStyle& style);
    // The current range takes the named style.
    void SetSelectionStyle(const QString& name);
    // A manual page break above the row.
    void SetPageBreak(int row);
    // The current range's values, row by row, as the spreadsheet takes typed values: a leading
    // apostrophe marks text, a locale-free number becomes a number (see CellValueOf).
    void SetSelectionValues(const std::vector<std::vector<QString>>& values);
    // Every cell wraps its text.
    void WrapAllCells();
    // A picture at the current range's top-left cell, its size in points.
    void PlacePicture(const QImage& image, double width, double height);
    // The current range becomes the selection of the document's view.
    void SelectSelection();
    // Writes the workbook as a binary .xls under that name: written beside it first and put in
    // place only when complete, so a failure leaves an existing file untouched. Throws.
    void SaveAs(const QString& fileName);
    // Shuts the office down, waits for it to end and removes the profile.
    void Quit();

    // ---- for tests and the watchdog ----
    // The process started (0 when none).
    qint64 ProcessId() const;
    // The private profile folder of this run ("" when none).
    QString ProfileDir() const;
    // Seconds one call may take before the office is taken for hung and killed.
    void SetCallTimeout(int seconds);
    // Calls made into the office so far.
    int CallCount() const;
    // Whether unions ran inside the office through its script (else range by range from here).
    bool ScriptsRan() const;

private:
    struct Impl;
    std::unique_ptr<Impl> F;
    bool FOpened = false;
    bool FVisible = false;
    QString FStartError;
};

} // namespace exports
