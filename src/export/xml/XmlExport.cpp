#include "export/xml/XmlExport.h"

#include "export/LayoutMatrix.h"
#include "export/Progress.h"
#include "export/SaveFileDialog.h"
#include "export/TargetFile.h"
#include "export/xml/XmlExportDialog.h"
#include "export/xml/XmlWorkbook.h"
#include "report/EngineTexts.h"
#include "report/Report.h"

namespace exports {

using namespace report;

namespace {

const char* const kTexts = R"(=== Excel XML export
8100=Экспорт в Excel
8102=WYSIWYG
8103=Фон
8104=Открыть Excel после экспорта
8105=Файл Excel (*.xls)|*.xls
8106=.xls
8950=Неразрывный
XlsXMLexport=Документ Excel (XML)
xmlExportingPages=Экспорт страниц
exPageBreaks=Разрывы страниц
exPageRange=Страницы
exAllPages=Все
exCurrentPage=Текущая
exPageNumbers=Номера:
exPageNumbersHint=Введите номера и/или диапазоны страниц, разделенные запятыми. Например, 1,3,5-12
exOptions=Опции
exNoPages=Нет подготовленных страниц
exFailed=Экспорт не выполнен
exCancelled=Экспорт отменен, файл %1 не записан
exIncomplete=Экспорт прерван: файл %1 записан не полностью
exNotOpened=Файл %1 записан, но открыть его не удалось: %2
)";

// The heights of rows the spreadsheet accepts end at 409 points.
constexpr Extended kMaxRowHeight = 562.784L;

} // namespace

void AddXmlExportTexts() {
    static const bool added = [] {
        TrpResources::Instance().AddStrings(QString::fromUtf8(kTexts));
        AddTargetFileTexts();
        return true;
    }();
    (void)added;
}

TrpXMLExport::TrpXMLExport(bool subordinate) : TrpCustomExportFilter(subordinate) {
    AddXmlExportTexts();
    FFilterText = rpGet(8105);
    FDefaultExt = rpGet(8106);
}

TrpXMLExport::~TrpXMLExport() = default;

QString TrpXMLExport::FilterDescription() const {
    return rpGet(QStringLiteral("XlsXMLexport"));
}

TModalResult TrpXMLExport::ShowModal() {
    if (Stream())
        return mrOk;
    TrpXMLExportDialog dialog(*this);
    if (dialog.exec() != QDialog::Accepted)
        return mrCancel;
    dialog.Store(*this);
    const bool chosen = ChooseTargetFile(*this, FDefaultExt, [this](const QString& initial) {
        return OnSaveDialog ? OnSaveDialog(initial)
                            : AskSaveFileName(DefaultPath(), initial, FFilterText, FDefaultExt);
    });
    return chosen ? mrOk : mrCancel;
}

bool TrpXMLExport::Start() {
    if (FileName().isEmpty() && !Stream())
        return false;
    if (!Stream())
        SetFileName(TargetFileName());
    FMatrix = std::make_unique<TrpIEMatrix>(UseFileCache());
    TrpIEMatrix& m = *FMatrix;
    m.ShowProgress = ShowProgress();
    m.MaxCellHeight = kMaxRowHeight;
    m.Background = FBackground && FEmptyLines;
    m.BackImage = false;
    m.Printable = ExportNotPrintable();
    m.RichText = true;
    m.PlainRich = true;
    m.EmptyLines = FEmptyLines;
    m.Inaccuracy = FWysiwyg ? 0.5L : 10;
    m.DeleteHTMLTags = true;
    m.Report = Report();
    FPageCount = 0;
    return true;
}

void TrpXMLExport::StartPage(TrpReportPage* page, int) {
    if (!page)
        return;
    if (FPageCount++ == 0) {
        FOrientation = page->Orientation();
        FLeftMargin = page->LeftMargin();
        FTopMargin = page->TopMargin();
        FRightMargin = page->RightMargin();
        FBottomMargin = page->BottomMargin();
    }
}

void TrpXMLExport::ExportObject(TrpComponent* object) {
    auto* view = dynamic_cast<TrpView*>(object);
    if (FMatrix && view && view->Visible())
        FMatrix->AddObject(*view);
}

void TrpXMLExport::FinishPage(TrpReportPage* page, int) {
    if (FMatrix && page)
        FMatrix->AddPage(page->Orientation(), page->Width(), page->Height(), page->LeftMargin(),
                         page->TopMargin(), page->RightMargin(), page->BottomMargin());
}

void TrpXMLExport::Finish() {
    // The matrix goes in every case.
    std::unique_ptr<TrpIEMatrix> matrix = std::move(FMatrix);
    if (!matrix || Failed())
        return;
    const QString target = Stream() ? QString() : FileName();
    if (Report() && Report()->Terminated()) // cancelled between pages: nothing is written
        throw TrpReportError(rpGet(QStringLiteral("exCancelled")).arg(target));
    if (FPageCount == 0) // the page list named no page of the report: say so
        throw TrpReportError(rpGet(QStringLiteral("exNoPages")));
    matrix->Prepare();
    TrpXMLWorkbookOptions o;
    o.Styles = FExportStyles;
    o.PageBreaks = FExportPageBreaks;
    o.Creator = FCreator;
    o.HomeSite = QStringLiteral("www.kviralt.ru");
    if (const TrpReport* r = Report()) {
        o.Title = r->ReportOptions.Name;
        o.Author = r->ReportOptions.Author;
        o.Version = r->ReportOptions.VersionMajor + u'.' + r->ReportOptions.VersionMinor + u'.' +
                    r->ReportOptions.VersionRelease + u'.' + r->ReportOptions.VersionBuild;
    }
    o.Created = QDateTime::currentDateTime();
    o.Orientation = FOrientation;
    o.LeftMargin = FLeftMargin;
    o.TopMargin = FTopMargin;
    o.RightMargin = FRightMargin;
    o.BottomMargin = FBottomMargin;
    TrpProgress progress;
    QByteArray workbook;
    const bool complete = WriteXMLWorkbook(*matrix, o, ShowProgress() ? &progress : nullptr, workbook);
    matrix.reset();
    WriteTarget(*this, workbook);
    // Cancelled while writing rows: the workbook is closed properly, but the user is told.
    if (!complete)
        throw TrpReportError(rpGet(QStringLiteral("exIncomplete")).arg(target));
    if (FOpenExcelAfterExport && !Stream() && !Subordinate())
        if (const QString error = OpenWithDesktop(FileName()); !error.isEmpty())
            throw TrpReportError(rpGet(QStringLiteral("exNotOpened")).arg(FileName(), error));
}

} // namespace exports
