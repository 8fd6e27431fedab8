#pragma once
// A filter that gathers every page in a layout matrix and writes one document of the whole
// when the export finishes: the frame the table-document filters (RTF, XML workbook) share.

#include "export/ExportFilter.h"

#include <QByteArray>
#include <functional>
#include <memory>

namespace exports {

class TrpIEMatrix;
class TrpProgress;

class TrpMatrixExport : public TrpCustomExportFilter {
public:
    ~TrpMatrixExport() override;

    bool Start() override;
    void StartPage(report::TrpReportPage* page, int index) override;
    void ExportObject(report::TrpComponent* object) override;
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
    // Whether the object goes into the matrix.
    virtual bool Takes(report::TrpComponent& object);
    // The first page's own settings, before its objects.
    virtual void FirstPage(const report::TrpReportPage& page) { (void)page; }
    // Writes the document of the prepared matrix; false when the progress was cancelled (the
    // document is then still complete in its format's terms).
    virtual bool WriteDocument(TrpIEMatrix& matrix, TrpProgress* progress, QByteArray& out) = 0;
    // Whether the file is opened with the desktop's program afterwards.
    virtual bool OpenAfter() const = 0;

    TrpIEMatrix* Matrix() const { return FMatrix.get(); }

private:
    QString FFilterText;
    QString FDefaultExt;
    std::unique_ptr<TrpIEMatrix> FMatrix;
    int FPageCount = 0;
};

// Texts of the above (and of the target file), added by the filters' own text functions.
void AddMatrixExportTexts();

} // namespace exports
