#pragma once
// The PDF export filter: one PDF page per report page, memos as vector text with their fill
// and frame, anything else as an inline JPEG picture.

#include "export/ExportFilter.h"
#include "export/pdf/PdfFile.h"
#include "report/DrawText.h"
#include "report/PreparedPageStore.h"

#include <functional>
#include <memory>

namespace report {
class TrpCustomMemoView;
class TrpView;
} // namespace report

namespace exports {

class TrpPDFExport : public TrpCustomExportFilter {
public:
    RP_FILTER_OPTIONS
    explicit TrpPDFExport(bool subordinate = false);
    ~TrpPDFExport() override;

    QString FilterDescription() const override;
    TModalResult ShowModal() override;
    bool Start() override;
    void StartPage(report::TrpReportPage* page, int index) override;
    void ExportObject(const report::TrpPlacedObject& object) override;
    report::TrpOutput Output() const override { return report::TrpOutput::DocumentExport; }
    void Finish() override;

    // ---- published properties ----
    bool Compressed() const { return FCompressed; }
    void SetCompressed(bool v) { FCompressed = v; }
    bool EmbeddedFonts() const { return FEmbeddedFonts; }
    void SetEmbeddedFonts(bool v) { FEmbeddedFonts = v; }
    bool OpenAfterExport() const { return FOpenAfterExport; }
    void SetOpenAfterExport(bool v) { FOpenAfterExport = v; }
    bool PrintOptimized() const { return FPrintOptimized; }
    void SetPrintOptimized(bool v) { FPrintOptimized = v; }
    bool Outline() const { return FOutline; }
    void SetOutline(bool v) { FOutline = v; }
    const QString& Author() const { return FAuthor; }
    void SetAuthor(const QString& v) { FAuthor = v; }
    const QString& Subject() const { return FSubject; }
    void SetSubject(const QString& v) { FSubject = v; }
    bool Background() const { return FBackground; }
    void SetBackground(bool v) { FBackground = v; }
    const QString& Creator() const { return FCreator; }
    void SetCreator(const QString& v) { FCreator = v; }
    bool HTMLTags() const { return FHTMLTags; }
    void SetHTMLTags(bool v) { FHTMLTags = v; }

    // The save dialog's filter text and the default extension.
    const QString& FilterText() const { return FFilterText; }
    const QString& DefaultExt() const override { return FDefaultExt; }

    // Opens a written file with its associated program; replaceable for tests.
    std::function<void(const QString& fileName)> OnOpenFile;
    // Asks for the target file; returns "" when cancelled. Replaceable for tests; the default
    // is the save dialog.
    std::function<QString(const QString& initialName)> OnSaveDialog;
    // The file name chosen for a subordinate run (a fresh temporary name).
    QString TemporaryTarget() const;

private:
    void DrawObject(const report::TrpPlacedObject& object);
    void DrawVectorMemo(const report::TrpPlacedObject& object);
    void DrawMemoText(const report::TrpPlacedObject& object);
    void DrawPicture(const report::TrpPlacedObject& object);
    void DrawFrame(const report::TrpPlacedObject& object);
    void StrokeSetup(const report::TrpFrame& frame);
    bool HoldsHTML(const report::TrpCustomMemoView& memo) const;
    long double X(long double x) const;
    long double Y(long double y) const;
    QString SaveDialog(const QString& initialName);

    bool FCompressed = true;
    bool FEmbeddedFonts = false;
    bool FOpenAfterExport = false;
    bool FPrintOptimized = false;
    bool FOutline = false;
    QString FAuthor;
    QString FSubject;
    bool FBackground = false;
    QString FCreator;
    bool FHTMLTags = true;
    QString FFilterText;
    QString FDefaultExt;

    std::unique_ptr<TrpPDFFile> FPDF;
    TrpPDFPage* FPage = nullptr;
    // The bookmarks written when Outline is on: the prepared report's outline entries of the
    // exported pages, with the report's page indices turned into the file's.
    std::vector<TrpPDFOutlineItem> FOutlineItems;
    std::vector<report::TrpPreviewPages::OutlineEntry> FOutlineEntries; // sorted by page
    size_t FNextEntry = 0;
};

// Writes a prepared report to a PDF file without any dialog, with the calculator's settings
// (compressed, fonts not embedded, no outline). Returns "" on success, else the message to
// show; a failed write leaves no file behind.
QString ExportReportToPDF(report::TrpReport& report, const QString& fileName, bool embedFonts = false);

// Adds the filter's texts to the engine text table (done by the filter's constructor).
void AddPdfExportTexts();

} // namespace exports
