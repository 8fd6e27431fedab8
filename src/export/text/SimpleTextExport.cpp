#include "export/text/SimpleTextExport.h"

#include "export/LayoutMatrix.h"
#include "export/text/CharGrid.h"
#include "export/text/SimpleTextExportDialog.h"
#include "export/text/TextEncoding.h"
#include "export/text/TextTexts.h"
#include "report/EngineTexts.h"

#include <cmath>

namespace exports {

using report::Extended;
using report::rpGet;

TrpSimpleTextExport::TrpSimpleTextExport(bool subordinate)
    : TrpTextFileExport(subordinate, (AddTextExportTexts(), rpGet(8801)), rpGet(8802)) {}

TrpSimpleTextExport::~TrpSimpleTextExport() = default;

QString TrpSimpleTextExport::FilterDescription() const {
    return rpGet(QStringLiteral("SimpleTextExport"));
}

bool TrpSimpleTextExport::ExecuteOptionsDialog() {
    return RunDialog<TrpSimpleTextExportDialog>(*this);
}

bool TrpSimpleTextExport::Start() {
    if (!TrpTextFileExport::Start())
        return false;
    FMatrix = NewTextMatrix(0.5L);
    return true;
}

void TrpSimpleTextExport::StartPage(report::TrpReportPage*, int) {
    FMatrix->Clear();
    FCharWidth = FCharHeight = 65535;
}

void TrpSimpleTextExport::ExportObject(const report::TrpPlacedObject& object) {
    FMatrix->AddObject(object);
}

// The smallest character cell any text needs to fit its object.
void TrpSimpleTextExport::MeasureCell() {
    for (int i = 0; i < FMatrix->ObjectsCount(); ++i) {
        const TrpIEMObject* obj = FMatrix->GetObjectById(i);
        if (!obj || !obj->IsText || obj->Memo.isEmpty() || !obj->Style)
            continue;
        qsizetype longest = 0;
        for (const QString& line : obj->Memo)
            longest = std::max(longest, line.size());
        const Extended size = obj->Style->Font.Size;
        if (longest == 0 || size <= 0)
            continue;
        const Extended w = obj->Width * 6 / (size * Extended(longest));
        const Extended h = obj->Height * 5 / (Extended(obj->Memo.size()) * size);
        if (w > 0)
            FCharWidth = std::min(FCharWidth, w);
        if (h > 0)
            FCharHeight = std::min(FCharHeight, h);
    }
}

void TrpSimpleTextExport::DrawObject(TrpCharGrid& grid, const TrpIEMObject& obj) const {
    const int x = RoundToCell(obj.Left / FCharWidth), y = RoundToCell(obj.Top / FCharHeight);
    const int columns = RoundToCell(obj.Width / FCharWidth), rows = RoundToCell(obj.Height / FCharHeight);
    const int hAlign = obj.Style ? int(obj.Style->HAlign) : int(report::haLeft);
    for (int i = 0; i < obj.Memo.size(); ++i)
        grid.WriteAligned(x, y + i, EncodeText(obj.Memo[i], OEMCodepage()), columns - 1, hAlign);
    if (!FFrames || !obj.Style)
        return;
    const report::TrpFrameTypes frame = obj.Style->FrameTyp;
    // Clipped to the grid, however large the object.
    for (int r = std::max(y - 1, -1); r <= std::min(y + rows - 1, grid.Rows()); ++r) {
        if (frame & report::ftLeft)
            grid.Put(x - 1, r, '|');
        if (frame & report::ftRight)
            grid.Put(x + columns - 2, r, '|');
    }
    for (int c = std::max(x - 1, -1); c < std::min(x - 1 + columns, grid.Columns() + 1); ++c) {
        if (frame & report::ftTop)
            grid.Put(c, y - 1, '-');
        if (frame & report::ftBottom)
            grid.Put(c, y + rows - 1, '-');
    }
}

void TrpSimpleTextExport::FinishPage(report::TrpReportPage* page, int) {
    TrpIEMatrix& m = *FMatrix;
    m.Prepare();
    MeasureCell();
    const Extended pageWidth = page ? page->Width() : m.MaxWidth();
    const Extended pageHeight = page ? page->Height() : m.MaxHeight();
    const int columns = FCharWidth >= 65535 ? 0 : RoundToCell(pageWidth / FCharWidth);
    const int rows = FCharHeight >= 65535 ? 0 : RoundToCell(pageHeight / FCharHeight);
    TrpCharGrid grid(columns, rows);
    if (columns > 0 && rows > 0)
        for (int y = 0; y + 1 < m.Height(); ++y) {
            // An object spanning several rows is drawn again in each, over what other objects
            // put there meanwhile; drawing it again right after itself in a row changes nothing.
            for (const TrpIEMRun& run : m.RowRuns(y))
                if (const TrpIEMObject* obj = m.GetObjectById(run.Index))
                    DrawObject(grid, *obj);
        }
    grid.SqueezeBlankColumns();
    for (int y = 0; y < grid.Rows(); ++y) {
        const QByteArrayView row = grid.Touched(y) ? TrimRight(grid.Row(y)) : QByteArrayView();
        if (FEmptyLines || !row.trimmed().isEmpty()) {
            FOut += row;
            FOut += "\r\n";
        }
    }
    if (FPageBreaks)
        FOut += '\f';
    WritePageBytes();
}

void TrpSimpleTextExport::Finish() {
    FMatrix.reset();
    TrpTextFileExport::Finish();
}

} // namespace exports
