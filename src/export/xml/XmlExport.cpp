#include "export/xml/XmlExport.h"
#include "export/FilterOptions.h"

#include "export/LayoutMatrix.h"
#include "export/Spool.h"
#include "export/xml/XmlExportDialog.h"
#include "export/xml/XmlWorkbook.h"
#include "platform/AtomicFile.h"
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
)";

// The heights of rows the spreadsheet accepts end at 409 points.
constexpr Extended kMaxRowHeight = 562.784L;

} // namespace

void AddXmlExportTexts() {
    TrpResources::Instance().AddStringsOnce(kTexts);
    AddMatrixExportTexts();
}

namespace {

// A text of the filter, there before the base class takes the filter text and the extension.
QString OwnText(int key) {
    AddXmlExportTexts();
    return rpGet(key);
}

} // namespace

TrpXMLExport::TrpXMLExport(bool subordinate) : TrpMatrixExport(subordinate, OwnText(8105), OwnText(8106)) {}

QString TrpXMLExport::FilterDescription() const {
    return rpGet(QStringLiteral("XlsXMLexport"));
}

TModalResult TrpXMLExport::ShowModal() {
    return ShowOptionsAndTarget<TrpXMLExportDialog>(*this);
}

void TrpXMLExport::SetupMatrix(TrpIEMatrix& m) {
    m.MaxCellHeight = kMaxRowHeight;
    m.Background = FBackground && FEmptyLines;
    m.RichText = true;
    m.PlainRich = true;
    m.EmptyLines = FEmptyLines;
    m.Inaccuracy = FWysiwyg ? 0.5L : 10;
    m.LargestPieceTakesText = true;
    m.DeleteHTMLTags = true;
}

void TrpXMLExport::FirstPage(const TrpReportPage& page) {
    FOrientation = page.Orientation();
    FLeftMargin = page.LeftMargin();
    FTopMargin = page.TopMargin();
    FRightMargin = page.RightMargin();
    FBottomMargin = page.BottomMargin();
}

TrpXMLWorkbookOptions TrpXMLExport::Options() const {
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
    return o;
}

void TrpXMLExport::BeginDocument(TrpIEMatrix& matrix) {
    FWorkbook = std::make_unique<TrpXMLWorkbook>(matrix, Options());
}

void TrpXMLExport::WritePage(TrpIEMatrix&, int, TrpSpool& spool) {
    spool.Append(FWorkbook->Page());
    spool.EndPage();
}

QString TrpXMLExport::WriteDocument(QIODevice& out, TrpSpool& pages, TrpProgress* progress, bool& complete) {
    // The first page's layout is known only now.
    FWorkbook->SetOptions(Options());
    QString error = platform::WriteAll(out, FWorkbook->Head());
    if (error.isEmpty())
        error = CopyPages(out, pages, progress, complete,
                          [this](const QByteArray& page) { return FWorkbook->Rows(page); });
    return error.isEmpty() ? platform::WriteAll(out, FWorkbook->Tail()) : error;
}

void TrpXMLExport::EndDocument() {
    FWorkbook.reset();
}

QString TrpXMLExport::ProgressText() const {
    return rpGet(QStringLiteral("xmlExportingPages"));
}

const FilterOptions& TrpXMLExport::Published() {
    static const FilterOptions rows = [] {
        FilterOptions t(&TrpCustomExportFilter::Published());
        using F = TrpXMLExport;
        t.Add<option::Bool>("ExportStyles", &F::ExportStyles, &F::SetExportStyles, true);
        t.Add<option::Bool>("ExportPageBreaks", &F::ExportPageBreaks, &F::SetExportPageBreaks, true);
        t.Add<option::Bool>("OpenExcelAfterExport", &F::OpenExcelAfterExport, &F::SetOpenExcelAfterExport,
                            false);
        t.Add<option::Bool>("Wysiwyg", &F::Wysiwyg, &F::SetWysiwyg, true);
        t.Add<option::Bool>("Background", &F::Background, &F::SetBackground, true);
        t.Add<option::String>("Creator", &F::Creator, &F::SetCreator, QStringLiteral("Tarifon"));
        t.Add<option::Bool>("EmptyLines", &F::EmptyLines, &F::SetEmptyLines, true);
        t.Add<option::Bool>("SuppressPageHeadersFooters", &TrpCustomExportFilter::SuppressPageHeadersFooters,
                            &TrpCustomExportFilter::SetSuppressPageHeadersFooters, false);
        t.Interactive({"OpenExcelAfterExport"});
        return t;
    }();
    return rows;
}

} // namespace exports
