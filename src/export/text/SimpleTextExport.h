#pragma once
// The plain-text export: each page through the layout matrix onto a character grid whose cell
// size comes from the texts' own density.

#include "export/text/TextFileExport.h"

#include <memory>

namespace exports {

class TrpIEMatrix;
class TrpCharGrid;
struct TrpIEMObject;

class TrpSimpleTextExport : public TrpTextFileExport {
public:
    RP_FILTER_OPTIONS
    explicit TrpSimpleTextExport(bool subordinate = false);
    ~TrpSimpleTextExport() override;

    QString FilterDescription() const override;
    bool Start() override;
    void StartPage(report::TrpReportPage* page, int index) override;
    void ExportObject(const report::TrpPlacedObject& object) override;
    void FinishPage(report::TrpReportPage* page, int index) override;
    void Finish() override;

    bool PageBreaks() const { return FPageBreaks; }
    void SetPageBreaks(bool v) { FPageBreaks = v; }
    bool Frames() const { return FFrames; }
    void SetFrames(bool v) { FFrames = v; }
    bool EmptyLines() const { return FEmptyLines; }
    void SetEmptyLines(bool v) { FEmptyLines = v; }

    // The character cell of the last page, in report units.
    report::Extended CharWidth() const { return FCharWidth; }
    report::Extended CharHeight() const { return FCharHeight; }

protected:
    bool ExecuteOptionsDialog() override;

private:
    void MeasureCell();
    void DrawObject(TrpCharGrid& grid, const TrpIEMObject& obj) const;

    bool FPageBreaks = true;
    bool FFrames = false;
    bool FEmptyLines = false;
    report::Extended FCharWidth = 65535, FCharHeight = 65535;
    std::unique_ptr<TrpIEMatrix> FMatrix;
};

} // namespace exports
