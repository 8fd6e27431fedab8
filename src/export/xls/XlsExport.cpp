#include "export/xls/XlsExport.h"
#include "export/FilterOptions.h"

#include "export/LayoutMatrix.h"
#include "export/Progress.h"
#include "export/SaveFileDialog.h"
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
#include <QDir>
#include <QFileInfo>
#include <QProcess>

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

} // namespace

TrpXLSExport::TrpXLSExport(bool subordinate) : TrpCustomExportFilter(subordinate) {
    AddXlsExportTexts();
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
    FMatrix = std::make_unique<TrpIEMatrix>(UseFileCache());
    FMatrix->ShowProgress = ShowProgress();
    FMatrix->MaxCellHeight = kMaxCellHeight;
    FMatrix->BackImage = false;
    FMatrix->Background = FBackground && FEmptyLines;
    FMatrix->RichText = true;
    FMatrix->PlainRich = true;
    FMatrix->Inaccuracy = FWysiwyg ? 0.5L : 10;
    FMatrix->LargestPieceTakesText = true;
    FMatrix->RotatedAsImage = false;
    FMatrix->DeleteHTMLTags = true;
    FMatrix->Printable = ExportNotPrintable();
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

void TrpXLSExport::ExportObject(TrpComponent* object) {
    auto* view = dynamic_cast<TrpView*>(object);
    if (!view || !FMatrix || !view->Visible())
        return;
    if (dynamic_cast<TrpCustomMemoView*>(view) || FExportPictures)
        FMatrix->AddObject(*view);
}

void TrpXLSExport::FinishPage(TrpReportPage* page, int /*index*/) {
    if (FMatrix && page)
        FMatrix->AddPage(page->Orientation(), page->PaperWidth(), page->PaperHeight(), page->LeftMargin(),
                         page->TopMargin(), page->RightMargin(), page->BottomMargin());
}

bool TrpXLSExport::Begin(TrpProgress* progress, int max, const QString& message) {
    if (!progress)
        return true;
    if (progress->Terminated())
        return false;
    progress->Execute(std::max(max, 0), message, true, true);
    return true;
}

void TrpXLSExport::AddStyles(TrpProgress* progress) {
    if (!Begin(progress, FMatrix->StylesCount() - 1, rpGet(QStringLiteral("ProgressStyles"))))
        return;
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
        if (progress)
            progress->Tick();
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    }
}

void TrpXLSExport::SetColumnWidths(TrpProgress* progress) {
    if (!Begin(progress, FMatrix->Width() - 1, rpGet(QStringLiteral("ProgressColumns"))))
        return;
    for (int c = 1; c < FMatrix->Width(); ++c) {
        if (progress && progress->Terminated())
            return;
        FExcel->SetColumnWidth(c, double(FMatrix->GetXPosById(c) - FMatrix->GetXPosById(c - 1)) /
                                      kUnitsPerCharacter);
        if (progress)
            progress->Tick();
    }
}

void TrpXLSExport::PageBreakAfter(int r, int& k) {
    if (k < FMatrix->PagesCount() && FMatrix->GetPageBreak(k) <= FMatrix->GetYPosById(r) && FPageBreaks) {
        // Above row r + 2: the row after the page's last one (the next page's top margin) stays.
        FExcel->SetPageBreak(r + 2);
        ++k;
    }
}

void TrpXLSExport::PlacePicture(int c, int r, int dx, int dy, const QImage& image) {
    FExcel->SelectCells(c, r, dy, dx);
    FExcel->PlacePicture(image, image.width() / kPixelsPerPicturePoint,
                         image.height() / kPixelsPerPicturePoint);
}

void TrpXLSExport::EachObject(TrpProgress* progress,
                              const std::function<void(int c, int r, int dx, int dy, TrpIEMObject* obj)>& f) {
    TrpIEMatrix& m = *FMatrix;
    if (!Begin(progress, m.Height(), rpGet(QStringLiteral("ProgressObjects"))))
        return;
    for (int r = 1; r <= m.Height() && !(progress && progress->Terminated()); ++r) {
        for (const TrpIEMRun& run : m.RowRuns(r - 1)) {
            const int id = run.Index, c = run.X0 + 1;
            TrpIEMObject* obj = m.GetObjectById(id);
            if (id < 0 || !obj || obj->Counter != 0)
                continue;
            obj->Counter = 1;
            int x = 0, y = 0, dx = 1, dy = 1;
            m.GetObjectPos(id, x, y, dx, dy);
            f(c, r, dx, dy, obj);
        }
        if (progress)
            progress->Tick();
    }
}

void TrpXLSExport::NormalPath(TrpProgress* progress) {
    TrpIEMatrix& m = *FMatrix;
    FExcel->ApplyPageSetup(FOrientation, FLeft, FRight, FTop, FBottom, FPaperWidth, FPaperHeight);
    if (Begin(progress, m.Height() - 1, rpGet(QStringLiteral("ProgressRows")))) {
        int k = 0;
        for (int r = 1; r < m.Height(); ++r) {
            if (progress && progress->Terminated())
                break;
            FExcel->SetRowHeight(r, double(m.GetYPosById(r) - m.GetYPosById(r - 1)) / kUnitsPerPoint);
            PageBreakAfter(r, k);
            if (progress)
                progress->Tick();
        }
    }
    SetColumnWidths(progress);
    AddStyles(progress);

    std::vector<std::vector<QString>> values(size_t(m.Height()), std::vector<QString>(size_t(m.Width())));
    EachObject(progress, [&](int c, int r, int dx, int dy, TrpIEMObject* obj) {
        FExcel->SelectCells(c, r, dy, dx);
        if (obj->IsText) {
            if (FExportStyles)
                FExcel->SetSelectionStyle(StyleName(obj->StyleIndex));
            if (FMergeCells && (dx > 1 || dy > 1)) {
                FExcel->SelectCells(c, r, dy, dx);
                FExcel->MergeSelection();
            }
            if (FExportStyles && obj->Style)
                FExcel->DrawBorders(obj->Style->FrameTyp);
            values[size_t(r - 1)][size_t(c - 1)] = CellText(*obj);
        } else if (obj->Image) {
            PlacePicture(c, r, dx, dy, *obj->Image);
        }
    });
    FExcel->SelectCells(1, 1, m.Height() - 1, m.Width() - 1);
    FExcel->SetSelectionValues(values);
    FExcel->WrapAllCells();
}

void TrpXLSExport::FastPath(TrpProgress* progress) {
    TrpIEMatrix& m = *FMatrix;
    FExcel->ApplyPageSetup(FOrientation, FLeft, FRight, FTop, FBottom, FPaperWidth, FPaperHeight);
    if (Begin(progress, m.Height() - 1, rpGet(QStringLiteral("ProgressRows")) + QStringLiteral(" - 1"))) {
        std::vector<double> heights;
        int k = 0;
        for (int r = 1; r < m.Height(); ++r) {
            if (progress && progress->Terminated())
                break;
            PageBreakAfter(r, k);
            heights.push_back(double(m.GetYPosById(r) - m.GetYPosById(r - 1)) / kUnitsPerPoint);
            if (progress)
                progress->Tick();
        }
        const TrpRowPlan plan = PlanRowHeights(heights);
        FExcel->SetRowHeightsFast(plan.Runs, plan.Heights, progress, m.Height(), plan.MostFrequent);
    }
    SetColumnWidths(progress);
    AddStyles(progress);

    std::vector<std::vector<QString>> values(size_t(m.Height()), std::vector<QString>(size_t(m.Width())));
    std::vector<TrpUnionEntry> styles, borders, merges;
    QStringList formats;
    const QString thousands = QString::fromStdString(platform::RegionalSettings::System().ThousandSeparator);
    struct Picture {
        int c, r, dx, dy;
        const QImage* image;
    };
    std::vector<Picture> pictures;
    EachObject(progress, [&](int c, int r, int dx, int dy, TrpIEMObject* obj) {
        const bool span = dx > 1 || dy > 1;
        const QString address =
            span ? CellName(c, r) + u':' + CellName(c + dx - 1, r + dy - 1) : CellName(c, r);
        if (FExportStyles)
            InsertByKey(styles, {address, obj->StyleIndex});
        if (FMergeCells && span)
            merges.push_back({address, 0});
        if (FExportStyles && obj->Style && (obj->Style->FrameTyp & ftAll))
            InsertByKey(borders, {address, int(obj->Style->FrameTyp)});
        const TrpFastValue value = FastCellValue(CellText(*obj), obj->DisplayFormat, FAsText, thousands);
        if (value.HasFormat)
            formats << value.Format + u'=' + CellName(c, r);
        values[size_t(r - 1)][size_t(c - 1)] = value.Value;
        if (!obj->IsText && obj->Image)
            pictures.push_back({c, r, dx, dy, obj->Image.get()});
    });
    for (const Picture& p : pictures)
        PlacePicture(p.c, p.r, p.dx, p.dy, *p.image);
    if (FExportStyles)
        FExcel->ApplyUnions(styles, TrpUnionKind::Styles, progress);
    // Merged before the borders go on: the office keeps a merged cell's frame with the merged
    // cell, and frames drawn on the separate cells before would be lost to the merge.
    if (FMergeCells)
        FExcel->ApplyUnions(merges, TrpUnionKind::Merges, progress);
    if (FExportStyles) {
        FExcel->ApplyUnions(borders, TrpUnionKind::Borders, progress);
        FExcel->ApplyNumberFormats(formats, progress);
    }
    FExcel->SelectCells(1, 1, m.Height(), m.Width());
    FExcel->SetSelectionValues(values);
    FExcel->WrapAllCells();
}

void TrpXLSExport::Finish() {
    // The office, its profile and the matrix go in every case, also when an error ends this.
    struct Release {
        TrpXLSExport& f;
        ~Release() {
            f.FOfficeScriptsRan = f.FExcel && f.FExcel->ScriptsRan();
            f.FExcel.reset();
            f.FMatrix.reset();
        }
    } release{*this};
    if (!FExcel || !FMatrix || Failed())
        return;
    if (!FExcel->Opened())
        throw TrpExcelError(rpGet(QStringLiteral("xlsNoOffice")).arg(FExcel->StartError()));
    if (FMatrix->PagesCount() == 0) // the page list named no page of the report
        throw TrpExcelError(rpGet(QStringLiteral("exNoPages")));
    FMatrix->Prepare();
    // The workbook format ends at 65,536 rows and 256 columns, and the cell values are handed
    // over as one table of rows and columns.
    if (FMatrix->Width() - 1 > kMaxColumns)
        throw TrpTooLarge(
            rpGet(QStringLiteral("exTooManyColumns")).arg(FMatrix->Width() - 1).arg(kMaxColumns));
    if (FMatrix->Height() - 1 > kMaxRows)
        throw TrpTooLarge(rpGet(QStringLiteral("exTooManyRows")).arg(FMatrix->Height() - 1).arg(kMaxRows));
    if (OnPrepared)
        OnPrepared(*FMatrix);
    {
        std::unique_ptr<TrpProgress> progress = ShowProgress() ? std::make_unique<TrpProgress>() : nullptr;
        if (FFastExport)
            FastPath(progress.get());
        else
            NormalPath(progress.get());
    }
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
