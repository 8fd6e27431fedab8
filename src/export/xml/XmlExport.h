#pragma once
// The Excel XML export: the report's layout as one worksheet of an XML workbook.

#include "export/MatrixExport.h"
#include "export/xml/XmlWorkbook.h"

#include <memory>

namespace exports {

class TrpXMLExport : public TrpMatrixExport {
public:
    RP_FILTER_OPTIONS
    explicit TrpXMLExport(bool subordinate = false);

    QString FilterDescription() const override;
    TModalResult ShowModal() override;

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

protected:
    void SetupMatrix(TrpIEMatrix& matrix) override;
    void FirstPage(const report::TrpReportPage& page) override;
    void BeginDocument(TrpIEMatrix& matrix) override;
    void WritePage(TrpIEMatrix& matrix, int number, TrpSpool& spool) override;
    QString WriteDocument(QIODevice& out, TrpSpool& pages, TrpProgress* progress, bool& complete) override;
    void EndDocument() override;
    QString ProgressText() const override;
    bool OpenAfter() const override { return FOpenExcelAfterExport; }

private:
    TrpXMLWorkbookOptions Options() const;

    std::unique_ptr<TrpXMLWorkbook> FWorkbook;
    bool FExportStyles = true;
    bool FExportPageBreaks = true;
    bool FOpenExcelAfterExport = false;
    bool FWysiwyg = true;
    bool FBackground = true;
    QString FCreator = QStringLiteral("Tarifon");
    bool FEmptyLines = true;
    // The first page's layout, which the worksheet's page setup takes.
    report::TPrinterOrientation FOrientation = report::poPortrait;
    report::Extended FLeftMargin = 0, FTopMargin = 0, FRightMargin = 0, FBottomMargin = 0;
};

// Adds the filter's texts to the engine text table (done by the filter's constructor).
void AddXmlExportTexts();

} // namespace exports
