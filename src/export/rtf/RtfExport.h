#pragma once
// The RTF export: the report's layout as a table document for word processors.

#include "export/MatrixExport.h"
#include "export/rtf/RtfDocument.h"

#include <memory>

namespace exports {

class TrpRTFExport : public TrpMatrixExport {
public:
    RP_FILTER_OPTIONS
    explicit TrpRTFExport(bool subordinate = false);
    ~TrpRTFExport() override;

    QString FilterDescription() const override;
    TModalResult ShowModal() override;

    // ---- published properties ----
    bool ExportPageBreaks() const { return FExportPageBreaks; }
    void SetExportPageBreaks(bool v) { FExportPageBreaks = v; }
    bool ExportPictures() const { return FExportPictures; }
    void SetExportPictures(bool v) { FExportPictures = v; }
    bool OpenAfterExport() const { return FOpenAfterExport; }
    void SetOpenAfterExport(bool v) { FOpenAfterExport = v; }
    bool Wysiwyg() const { return FWysiwyg; }
    void SetWysiwyg(bool v) { FWysiwyg = v; }
    const QString& Creator() const { return FCreator; }
    void SetCreator(const QString& v) { FCreator = v; }
    TrpHeaderFooterMode HeaderFooterMode() const { return FHeaderFooterMode; }
    void SetHeaderFooterMode(TrpHeaderFooterMode v) { FHeaderFooterMode = v; }

protected:
    void SetupMatrix(TrpIEMatrix& matrix) override;
    void BeginDocument(TrpIEMatrix& matrix) override;
    void WritePage(TrpIEMatrix& matrix, int number, TrpSpool& spool) override;
    QString WriteDocument(QIODevice& out, TrpSpool& pages, TrpProgress* progress, bool& complete) override;
    void EndDocument() override;
    QString ProgressText() const override;
    bool OpenAfter() const override { return FOpenAfterExport; }

private:
    std::unique_ptr<TrpRTFDocument> FDocument;
    std::unique_ptr<TrpSpool> FHeaders, FFooters; // the header and footer rows of every page
    bool FExportPageBreaks = true;
    bool FExportPictures = true;
    bool FOpenAfterExport = false;
    bool FWysiwyg = true;
    QString FCreator;
    TrpHeaderFooterMode FHeaderFooterMode = hfText;
};

// Adds the filter's texts to the engine text table (done by the filter's constructor).
void AddRtfExportTexts();

} // namespace exports
