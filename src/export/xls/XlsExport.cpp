#include "export/xls/XlsExport.h"
#include "export/FilterOptions.h"

#include "export/LayoutMatrix.h"
#include "export/MatrixExport.h"
#include "export/Progress.h"
#include "export/SaveFileDialog.h"
#include "export/Spool.h"
#include "export/TargetFile.h"
#include "export/TempFiles.h"
#include "export/xls/Excel.h"
#include "export/xls/XlsCells.h"
#include "export/xls/XlsExportDialog.h"
#include "export/xls/XlsTexts.h"
#include "platform/RegionalSettings.h"
#include "report/Components.h"
#include "report/EngineTexts.h"
#include "report/Report.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>

namespace exports {

namespace {

// What a workbook of the office's "MS Excel 97" format holds.
constexpr int kMaxRows = 65536;
constexpr int kMaxColumns = 256;

} // namespace

using namespace report;

namespace {

// Matrix cells are report units of 1/96 inch; the spreadsheet measures columns in characters
// and rows and pictures in points.
constexpr double kUnitsPerCharacter = 8;
constexpr double kUnitsPerPoint = 1.315;
constexpr double kPixelsPerPicturePoint = 1.38;
constexpr double kPointsPerMillimetre = 2.6;
// Rows above 409 points are split by the matrix (409 x 1.315).
constexpr Extended kMaxCellHeight = 537.835L;

QString CellText(const TrpIEMObject& obj) {
    return CleanCellText(obj.Memo.join(QStringLiteral("\r\n")));
}

QString StyleName(int index) {
    return QStringLiteral("S%1").arg(index);
}

void Write(QDataStream& out, long double v) {
    out.writeRawData(reinterpret_cast<const char*>(&v), sizeof v);
}

long double Read(QDataStream& in) {
    long double v = 0;
    in.readRawData(reinterpret_cast<char*>(&v), sizeof v);
    return v;
}

} // namespace

// A cell of a finished page as the sheet takes it. In the spool its columns are the positions
// of its edges: the sheet's columns are those of every page, known only after the last one.
struct TrpXlsCell {
    long double Left = 0, Right = 0;
    int Column = 0, Row = 0;   // worksheet places from 1, once read back
    int Columns = 1, Rows = 1; // its span
    qint32 Style = -1;
    qint32 Frame = 0;
    bool IsText = true;
    QString Value;  // as the sheet is given it
    QString Format; // the fast path's number format; "" for none
    QImage Image;   // a picture's
};

TrpXLSExport::TrpXLSExport(bool subordinate) : TrpCustomExportFilter(subordinate) {
    AddXlsExportTexts();
    AddMatrixExportTexts();
    FFilterText = rpGet(8009);
    FDefaultExt = rpGet(8010);
}

TrpXLSExport::~TrpXLSExport() = default;

QString TrpXLSExport::FilterDescription() const {
    return rpGet(QStringLiteral("XlsOLEexport"));
}

TModalResult TrpXLSExport::ShowModal() {
    TrpXLSExportDialog dialog(*this);
    if (dialog.exec() != QDialog::Accepted)
        return mrCancel;
    dialog.Store(*this);
    if (Subordinate())
        FOpenExcelAfterExport = false;
    const bool chosen = ChooseTargetFile(*this, FDefaultExt, [this](const QString& initial) {
        return OnSaveDialog ? OnSaveDialog(initial)
                            : AskSaveFileName(DefaultPath(), initial, FFilterText, FDefaultExt);
    });
    return chosen ? mrOk : mrCancel;
}

bool TrpXLSExport::Start() {
    if (FileName().isEmpty())
        return false;
    SetFileName(TargetFileName());
    FFirstPage = true;
    FSpool = std::make_unique<TrpSpool>();
    FColumns.clear();
    FHeights.clear();
    FBreaks.clear();
    FPageRows.clear();
    FMatrix = std::make_unique<TrpIEMatrix>(UseFileCache());
    // One page at a time: the export's own progress tells the pages.
    FMatrix->ShowProgress = false;
    FMatrix->MaxCellHeight = kMaxCellHeight;
    FMatrix->Background = FBackground && FEmptyLines;
    FMatrix->RichText = true;
    FMatrix->PlainRich = true;
    FMatrix->Inaccuracy = FWysiwyg ? 0.5L : 10;
    FMatrix->LargestPieceTakesText = true;
    FMatrix->RotatedAsImage = false;
    FMatrix->DeleteHTMLTags = true;
    FMatrix->TextOnly = !FExportPictures;
    FMatrix->EmptyLines = FEmptyLines;
    FMatrix->Report = Report();
    FExcel = std::make_unique<TrpExcel>();
    // Whether the office came up is told in Finish, once the pages are collected.
    if (FExcel->StartApplication() && OnStarted)
        OnStarted(*FExcel);
    return true;
}

void TrpXLSExport::StartPage(TrpReportPage* page, int /*index*/) {
    if (!FFirstPage || !page)
        return;
    FFirstPage = false;
    FLeft = double(page->LeftMargin()) * kPointsPerMillimetre;
    FTop = double(page->TopMargin()) * kPointsPerMillimetre;
    FBottom = double(page->BottomMargin()) * kPointsPerMillimetre;
    FRight = double(page->RightMargin()) * kPointsPerMillimetre;
    FOrientation = page->Orientation();
    FPaperWidth = double(page->PaperWidth());
    FPaperHeight = double(page->PaperHeight());
}

void TrpXLSExport::ExportObject(const TrpPlacedObject& object) {
    if (FMatrix)
        FMatrix->AddObject(object);
}

void TrpXLSExport::FinishPage(TrpReportPage* page, int /*index*/) {
    if (!FMatrix || !page)
        return;
    FMatrix->AddPage(page->Orientation(), page->PaperWidth(), page->PaperHeight(), page->LeftMargin(),
                     page->TopMargin(), page->RightMargin(), page->BottomMargin());
    FMatrix->Prepare();
    // The workbook format ends at 65,536 rows and 256 columns: a report beyond them is refused
    // at the page that crosses them.
    JoinColumns(FColumns, *FMatrix);
    if (qsizetype(FColumns.size()) - 1 > kMaxColumns)
        throw TrpTooLarge(
            rpGet(QStringLiteral("exTooManyColumns")).arg(qsizetype(FColumns.size()) - 1).arg(kMaxColumns));
    const int rows = std::max(FMatrix->Height() - 1, 0);
    if (qsizetype(FHeights.size()) + rows > kMaxRows)
        throw TrpTooLarge(
            rpGet(QStringLiteral("exTooManyRows")).arg(qsizetype(FHeights.size()) + rows).arg(kMaxRows));
    if (OnPrepared)
        OnPrepared(*FMatrix);
    SpoolPage();
    FMatrix->ClearPage();
}

void TrpXLSExport::SpoolPage() {
    TrpIEMatrix& m = *FMatrix;
    const int first = int(FHeights.size()); // rows of the pages before
    FPageRows.push_back(first + 1);
    // The break lies above the row after the one that reaches the page's bottom (the next
    // page's top margin stays on this page), at most one per row.
    bool broken = !FPageBreaks;
    for (int r = 1; r < m.Height(); ++r) {
        FHeights.push_back(double(m.GetYPosById(r) - m.GetYPosById(r - 1)) / kUnitsPerPoint);
        if (!broken && m.GetPageBreak(0) <= m.GetYPosById(r)) {
            FBreaks.push_back(first + r + 2);
            broken = true;
        }
    }
    const QString thousands = QString::fromStdString(platform::RegionalSettings::System().ThousandSeparator);
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    for (int y = 0; y + 1 < m.Height(); ++y) {
        std::vector<const TrpIEMRun*> starts;
        for (const TrpIEMRun& run : m.RowRuns(y)) {
            TrpIEMObject* obj = m.GetObjectById(run.Index);
            if (obj && obj->Counter == 0 && (obj->IsText || obj->Image || FFastExport)) {
                obj->Counter = 1;
                starts.push_back(&run);
            }
        }
        out << qint32(starts.size());
        for (const TrpIEMRun* run : starts) {
            const TrpIEMObject& obj = *m.GetObjectById(run->Index);
            int x = 0, top = 0, dx = 1, dy = 1;
            m.GetObjectPos(run->Index, x, top, dx, dy);
            QString value = CellText(obj), format;
            if (FFastExport) {
                const TrpFastValue fast = FastCellValue(value, obj.DisplayFormat, FAsText, thousands);
                value = fast.Value;
                if (fast.HasFormat)
                    format = fast.Format;
            }
            Write(out, m.GetXPosById(run->X0));
            Write(out, m.GetXPosById(x + std::max(dx, 1)));
            out << qint32(std::max(dy, 1)) << qint32(obj.StyleIndex)
                << qint32(obj.Style ? int(obj.Style->FrameTyp) : 0) << obj.IsText << value << format
                << (obj.IsText || !obj.Image ? QImage() : *obj.Image);
        }
    }
    FSpool->Append(bytes);
    FSpool->EndPage();
}

std::vector<TrpXlsCell> TrpXLSExport::ReadPage(int page) {
    const QByteArray bytes = FSpool->Page(page);
    QDataStream in(bytes);
    auto column = [&](long double v) {
        return int(std::lower_bound(FColumns.begin(), FColumns.end(), v) - FColumns.begin()) + 1;
    };
    std::vector<TrpXlsCell> cells;
    for (int row = FPageRows[size_t(page)]; !in.atEnd() && in.status() == QDataStream::Ok; ++row) {
        qint32 count = 0;
        in >> count;
        int next = 1; // cells of a row never overlap, whatever lines other pages brought
        for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
            TrpXlsCell c;
            c.Left = Read(in);
            c.Right = Read(in);
            qint32 rows = 1;
            in >> rows >> c.Style >> c.Frame >> c.IsText >> c.Value >> c.Format >> c.Image;
            c.Row = row;
            c.Rows = rows;
            c.Column = std::max(column(c.Left), next);
            c.Columns = std::max(column(c.Right) - c.Column, 1);
            next = c.Column + c.Columns;
            cells.push_back(std::move(c));
        }
    }
    return cells;
}

void TrpXLSExport::AddStyles(TrpProgress* progress) {
    for (int n = 0; n < FMatrix->StylesCount(); ++n) {
        if (progress && progress->Terminated())
            return;
        const TrpIEMStyle& s = *FMatrix->GetStyleById(n);
        TrpExcelStyle style{StyleName(n), s.Font, s.Color, 0, s.HAlign, s.VAlign};
        if (FFastExport) {
            if (s.Rotation >= 1 && s.Rotation <= 90)
                style.Orientation = s.Rotation;
            else if (s.Rotation >= 270 && s.Rotation <= 359)
                style.Orientation = s.Rotation - 360;
        }
        FExcel->AddStyle(style);
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    }
}

void TrpXLSExport::SetColumnWidths() {
    for (size_t c = 1; c < FColumns.size(); ++c)
        FExcel->SetColumnWidth(int(c), double(FColumns[c] - FColumns[c - 1]) / kUnitsPerCharacter);
}

void TrpXLSExport::PlacePicture(const TrpXlsCell& cell) {
    FExcel->SelectCells(cell.Column, cell.Row, cell.Rows, cell.Columns);
    FExcel->PlacePicture(cell.Image, cell.Image.width() / kPixelsPerPicturePoint,
                         cell.Image.height() / kPixelsPerPicturePoint);
}

void TrpXLSExport::SetValues(int page, bool last, const std::vector<TrpXlsCell>& cells) {
    // The page's rows at once, as many columns as the sheet has (the fast path also the edge
    // row and column after the last ones, as a table of every row would).
    const int first = FPageRows[size_t(page)];
    const int end = page + 1 < int(FPageRows.size()) ? FPageRows[size_t(page) + 1] : int(FHeights.size()) + 1;
    const int rows = end - first + (last && FFastExport ? 1 : 0);
    const int columns = int(FColumns.size()) - (FFastExport ? 0 : 1);
    if (rows <= 0 || columns <= 0)
        return;
    std::vector<std::vector<QString>> values(static_cast<size_t>(rows),
                                             std::vector<QString>(static_cast<size_t>(columns)));
    for (const TrpXlsCell& c : cells)
        if ((c.IsText || FFastExport) && c.Column <= columns)
            values[size_t(c.Row - first)][size_t(c.Column - 1)] = c.Value;
    FExcel->SelectCells(1, first, rows, columns);
    FExcel->SetSelectionValues(values);
}

void TrpXLSExport::FillPage(int page, bool last) {
    const std::vector<TrpXlsCell> cells = ReadPage(page);
    if (!FFastExport) {
        for (const TrpXlsCell& c : cells) {
            if (!c.IsText) {
                if (!c.Image.isNull())
                    PlacePicture(c);
                continue;
            }
            FExcel->SelectCells(c.Column, c.Row, c.Rows, c.Columns);
            if (FExportStyles)
                FExcel->SetSelectionStyle(StyleName(c.Style));
            if (FMergeCells && (c.Columns > 1 || c.Rows > 1)) {
                FExcel->SelectCells(c.Column, c.Row, c.Rows, c.Columns);
                FExcel->MergeSelection();
            }
            if (FExportStyles)
                FExcel->DrawBorders(TrpFrameTypes(c.Frame));
        }
        SetValues(page, last, cells);
        return;
    }
    std::vector<TrpUnionEntry> styles, borders, merges;
    QStringList formats;
    for (const TrpXlsCell& c : cells) {
        const bool span = c.Columns > 1 || c.Rows > 1;
        const QString address =
            span ? CellName(c.Column, c.Row) + u':' + CellName(c.Column + c.Columns - 1, c.Row + c.Rows - 1)
                 : CellName(c.Column, c.Row);
        if (FExportStyles)
            InsertByKey(styles, {address, c.Style});
        if (FMergeCells && span)
            merges.push_back({address, 0});
        if (FExportStyles && (c.Frame & ftAll))
            InsertByKey(borders, {address, c.Frame});
        if (!c.Format.isEmpty())
            formats << c.Format + u'=' + CellName(c.Column, c.Row);
    }
    for (const TrpXlsCell& c : cells)
        if (!c.IsText && !c.Image.isNull())
            PlacePicture(c);
    if (FExportStyles)
        FExcel->ApplyUnions(styles, TrpUnionKind::Styles, nullptr);
    // Merged before the borders go on: the office keeps a merged cell's frame with the merged
    // cell, and frames drawn on the separate cells before would be lost to the merge.
    if (FMergeCells)
        FExcel->ApplyUnions(merges, TrpUnionKind::Merges, nullptr);
    if (FExportStyles) {
        FExcel->ApplyUnions(borders, TrpUnionKind::Borders, nullptr);
        FExcel->ApplyNumberFormats(formats, nullptr);
    }
    SetValues(page, last, cells);
}

void TrpXLSExport::Finish() {
    // The office, its profile and the matrix go in every case, also when an error ends this.
    struct Release {
        TrpXLSExport& f;
        ~Release() {
            f.FOfficeScriptsRan = f.FExcel && f.FExcel->ScriptsRan();
            f.FExcel.reset();
            f.FMatrix.reset();
            f.FSpool.reset();
        }
    } release{*this};
    if (!FExcel || !FMatrix || Failed())
        return;
    if (Report() && Report()->Terminated()) // cancelled between pages: nothing is written
        throw TrpExcelError(rpGet(QStringLiteral("exCancelled")).arg(FileName()));
    if (!FExcel->Opened())
        throw TrpExcelError(rpGet(QStringLiteral("xlsNoOffice")).arg(FExcel->StartError()));
    if (FSpool->Pages() == 0) // the page list named no page of the report
        throw TrpExcelError(rpGet(QStringLiteral("exNoPages")));
    FExcel->ApplyPageSetup(FOrientation, FLeft, FRight, FTop, FBottom, FPaperWidth, FPaperHeight);
    const int rows = int(FHeights.size());
    if (FFastExport) {
        const TrpRowPlan plan = PlanRowHeights(FHeights);
        FExcel->SetRowHeightsFast(plan.Runs, plan.Heights, nullptr, rows + 1, plan.MostFrequent);
    } else {
        for (int r = 1; r <= rows; ++r)
            FExcel->SetRowHeight(r, FHeights[size_t(r - 1)]);
    }
    for (int row : FBreaks)
        FExcel->SetPageBreak(row);
    SetColumnWidths();
    {
        std::unique_ptr<TrpProgress> progress = ShowProgress() ? std::make_unique<TrpProgress>() : nullptr;
        if (progress)
            progress->Execute(FSpool->Pages(), rpGet(QStringLiteral("ProgressObjects")), true, true);
        AddStyles(progress.get());
        for (int page = 0; page < FSpool->Pages() && !(progress && progress->Terminated()); ++page) {
            FillPage(page, page + 1 == FSpool->Pages());
            if (progress)
                progress->Tick();
        }
    }
    FExcel->WrapAllCells();
    FExcel->SelectCells(1, 1, 1, 1);
    FExcel->SelectSelection();
    if (FOpenExcelAfterExport && !Subordinate())
        FExcel->ShowApplication(true);
    FExcel->SaveAs(FileName());
    const bool open = FExcel->Visible();
    FExcel->Quit();
    if (open) {
        if (OnOpenFile)
            OnOpenFile(FileName());
        else
            QProcess::startDetached(TrpExcel::OfficeProgram(), {QStringLiteral("--calc"), FileName()});
    }
}

const FilterOptions& TrpXLSExport::Published() {
    static const FilterOptions rows = [] {
        FilterOptions t(&TrpCustomExportFilter::Published());
        using F = TrpXLSExport;
        t.Add<option::Bool>("ExportStyles", &F::ExportStyles, &F::SetExportStyles, true);
        t.Add<option::Bool>("ExportPictures", &F::ExportPictures, &F::SetExportPictures, true);
        t.Add<option::Bool>("MergeCells", &F::MergeCells, &F::SetMergeCells, true);
        t.Add<option::Bool>("OpenExcelAfterExport", &F::OpenExcelAfterExport, &F::SetOpenExcelAfterExport,
                            false);
        t.Add<option::Bool>("Wysiwyg", &F::Wysiwyg, &F::SetWysiwyg, true);
        t.Add<option::Bool>("AsText", &F::AsText, &F::SetAsText, false);
        t.Add<option::Bool>("Background", &F::Background, &F::SetBackground, true);
        t.Add<option::Bool>("FastExport", &F::FastExport, &F::SetFastExport, true);
        t.Add<option::Bool>("PageBreaks", &F::PageBreaks, &F::SetPageBreaks, true);
        t.Add<option::Bool>("EmptyLines", &F::EmptyLines, &F::SetEmptyLines, true);
        t.Add<option::Bool>("SuppressPageHeadersFooters", &TrpCustomExportFilter::SuppressPageHeadersFooters,
                            &TrpCustomExportFilter::SetSuppressPageHeadersFooters, false);
        t.Interactive({"OpenExcelAfterExport"});
        return t;
    }();
    return rows;
}

} // namespace exports
