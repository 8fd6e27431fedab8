#pragma once
// The Excel XML export: the report's layout as one worksheet of an XML workbook.

#include "export/ExportFilter.h"

#include <functional>
#include <memory>

namespace exports {

class TrpIEMatrix;

class TrpXMLExport : public TrpCustomExportFilter {
public:
    explicit TrpXMLExport(bool subordinate = false);
    ~TrpXMLExport() override;

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
    bool ExportPageBreaks() const { return FExportPageBreaks; }
    void SetExportPageBreaks(bool v) { FExportPageBreaks = v; }
    bool OpenExcelAfterExport() const { return FOpenExcelAfterExport; }
    void SetOpenExcelAfterExport(bool v) { FOpenExcelAfterExport = v; }
    bool Wysiwyg() const { return FWysiwyg; }
    void SetWysiwyg(bool v) { FWysiwyg = v; }
    bool Background() const { return FBackground; }
    void SetBackground(bool v) { FBackground = v; }
    const QString& Creator() const { return FCreator; }
    void SetCreator(const QString& v) { FCreator = v; }
    bool EmptyLines() const { return FEmptyLines; }
    void SetEmptyLines(bool v) { FEmptyLines = v; }

    // The save dialog's filter text and the default extension.
    const QString& FilterText() const { return FFilterText; }
    const QString& DefaultExt() const { return FDefaultExt; }

    // Asks for the target file; returns "" when cancelled. Replaceable for tests; the default
    // is the save dialog.
    std::function<QString(const QString& initialName)> OnSaveDialog;

private:
    bool FExportStyles = true;
    bool FExportPageBreaks = true;
    bool FOpenExcelAfterExport = false;
    bool FWysiwyg = true;
    bool FBackground = true;
    QString FCreator = QStringLiteral("Tarifon");
    bool FEmptyLines = true;
    QString FFilterText;
    QString FDefaultExt;

    std::unique_ptr<TrpIEMatrix> FMatrix;
    int FPageCount = 0;
    // The first page's layout, which the worksheet's page setup takes.
    report::TPrinterOrientation FOrientation = report::poPortrait;
    report::Extended FLeftMargin = 0, FTopMargin = 0, FRightMargin = 0, FBottomMargin = 0;
};

// Adds the filter's texts to the engine text table (done by the filter's constructor).
void AddXmlExportTexts();

} // namespace exports
