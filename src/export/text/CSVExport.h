#pragma once
// The CSV export: one line per row of the layout matrix, one quoted field per object.

#include "export/text/TextFileExport.h"

#include <memory>

namespace exports {

class TrpIEMatrix;

class TrpCSVExport : public TrpTextFileExport {
public:
    RP_FILTER_OPTIONS
    explicit TrpCSVExport(bool subordinate = false);
    ~TrpCSVExport() override;

    QString FilterDescription() const override;
    bool Start() override;
    void StartPage(report::TrpReportPage* page, int index) override;
    void ExportObject(const report::TrpPlacedObject& object) override;
    void FinishPage(report::TrpReportPage* page, int index) override;
    void Finish() override;

    const QString& Separator() const { return FSeparator; }
    void SetSeparator(const QString& v) { FSeparator = v; }

    // One field as written: the lines run together, in quotes, quotes inside doubled, an
    // apostrophe before a text a spreadsheet would take for a formula.
    static QByteArray Field(const QStringList& lines, bool oem);

protected:
    bool ExecuteOptionsDialog() override;

private:
    QString FSeparator = QStringLiteral(";");
    std::unique_ptr<TrpIEMatrix> FMatrix;
};

} // namespace exports
