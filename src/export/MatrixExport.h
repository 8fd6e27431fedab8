#pragma once
// A filter that lays each page out in a layout matrix, writes the page's part of the document
// as soon as the page is finished (into a spool, so that memory holds one page at a time) and
// puts the document together when the export finishes: the frame the table-document filters
// (RTF, XML workbook) share.

#include "export/ExportFilter.h"

#include <QByteArray>
#include <QIODevice>
#include <functional>
#include <memory>

namespace exports {

class TrpIEMatrix;
class TrpProgress;
class TrpSpool;

class TrpMatrixExport : public TrpCustomExportFilter {
public:
    ~TrpMatrixExport() override;

    bool Start() override;
    void StartPage(report::TrpReportPage* page, int index) override;
    void ExportObject(const report::TrpPlacedObject& object) override;
    void FinishPage(report::TrpReportPage* page, int index) override;
    void Finish() override;

    // The save dialog's filter text and the default extension.
    const QString& FilterText() const { return FFilterText; }
    const QString& DefaultExt() const override { return FDefaultExt; }

    // Asks for the target file; returns "" when cancelled. Replaceable for tests; the default
    // is the save dialog.
    std::function<QString(const QString& initialName)> OnSaveDialog;

protected:
    TrpMatrixExport(bool subordinate, const QString& filterText, const QString& defaultExt);

    // The matrix options of the format.
    virtual void SetupMatrix(TrpIEMatrix& matrix) = 0;
    // The first page's own settings, before its objects.
    virtual void FirstPage(const report::TrpReportPage& page) { (void)page; }
    // A new document begins, laid out page by page in this matrix.
    virtual void BeginDocument(TrpIEMatrix& matrix) = 0;
    // Writes the part of the matrix's one prepared page into the spool, one spool page for it.
    virtual void WritePage(TrpIEMatrix& matrix, int number, TrpSpool& spool) = 0;
    // Writes the whole document: what comes before the pages, the spooled pages through
    // CopyPages and what comes after them. Returns "" or the reason writing stopped.
    virtual QString WriteDocument(QIODevice& out, TrpSpool& pages, TrpProgress* progress, bool& complete) = 0;
    // The document is done or abandoned: what the format kept goes.
    virtual void EndDocument() = 0;
    // The progress window's text while the document is put together.
    virtual QString ProgressText() const = 0;

    // Copies the spooled pages, each through `convert` when given, advancing the progress per
    // page; a cancel stops after the page at hand and clears `complete`.
    static QString CopyPages(QIODevice& out, TrpSpool& pages, TrpProgress* progress, bool& complete,
                             const std::function<QByteArray(const QByteArray&)>& convert = {});
    // Whether the file is opened with the desktop's program afterwards.
    virtual bool OpenAfter() const = 0;

    TrpIEMatrix* Matrix() const { return FMatrix.get(); }

private:
    QString FFilterText;
    QString FDefaultExt;
    std::unique_ptr<TrpIEMatrix> FMatrix;
    std::unique_ptr<TrpSpool> FSpool;
    int FPageCount = 0;
};

// Texts of the above (and of the target file), added by the filters' own text functions.
void AddMatrixExportTexts();

} // namespace exports
