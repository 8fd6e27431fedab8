#pragma once
// The RTF export: the report's layout as a table document for word processors.

#include "export/ExportFilter.h"
#include "export/rtf/RtfDocument.h"

#include <functional>
#include <memory>

namespace exports {

class TrpIEMatrix;

class TrpRTFExport : public TrpCustomExportFilter {
public:
    explicit TrpRTFExport(bool subordinate = false);
    ~TrpRTFExport() override;

    QString FilterDescription() const override;
    TModalResult ShowModal() override;
    bool Start() override;
    void StartPage(report::TrpReportPage* page, int index) override;
    void ExportObject(report::TrpComponent* object) override;
    void FinishPage(report::TrpReportPage* page, int index) override;
    void Finish() override;

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

    // The save dialog's filter text and the default extension.
    const QString& FilterText() const { return FFilterText; }
    const QString& DefaultExt() const { return FDefaultExt; }

    // Asks for the target file; returns "" when cancelled. Replaceable for tests; the default
    // is the save dialog.
    std::function<QString(const QString& initialName)> OnSaveDialog;

private:
    bool FExportPageBreaks = true;
    bool FExportPictures = true;
    bool FOpenAfterExport = false;
    bool FWysiwyg = true;
    QString FCreator;
    TrpHeaderFooterMode FHeaderFooterMode = hfText;
    QString FFilterText;
    QString FDefaultExt;

    std::unique_ptr<TrpIEMatrix> FMatrix;
    int FPageCount = 0;
};

// Adds the filter's texts to the engine text table (done by the filter's constructor).
void AddRtfExportTexts();

} // namespace exports
