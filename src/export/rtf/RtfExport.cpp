#include "export/rtf/RtfExport.h"
#include "export/FilterOptions.h"

#include "export/LayoutMatrix.h"
#include "export/Spool.h"
#include "export/rtf/RtfExportDialog.h"
#include "platform/AtomicFile.h"
#include "report/EngineTexts.h"
#include "report/Report.h"

namespace exports {

using namespace report;

namespace {

const char* const kTexts = R"(=== RTF export
8500=Экспорт в RTF (табличный)
8501=Картинки
8502=WYSIWYG
8503=Открыть после экспорта
8504=Файл RTF (*.rtf)|*.rtf
8505=.rtf
8950=Неразрывный
8951=Колонтитулы
8952=Текст
8953=Колонтитулы
8954=Нет
exPageBreaks=Разрывы страниц
RTFexport=Документ Word (табличный)
)";

} // namespace

void AddRtfExportTexts() {
    TrpResources::Instance().AddStringsOnce(kTexts);
    AddMatrixExportTexts();
}

namespace {

// A text of the filter, there before the base class takes the filter text and the extension.
QString OwnText(int key) {
    AddRtfExportTexts();
    return rpGet(key);
}

} // namespace

TrpRTFExport::TrpRTFExport(bool subordinate) : TrpMatrixExport(subordinate, OwnText(8504), OwnText(8505)) {
    FCreator = QStringLiteral("Tarifon www.kviralt.ru");
}

TrpRTFExport::~TrpRTFExport() = default;

QString TrpRTFExport::FilterDescription() const {
    return rpGet(QStringLiteral("RTFexport"));
}

TModalResult TrpRTFExport::ShowModal() {
    return ShowOptionsAndTarget<TrpRTFExportDialog>(*this);
}

void TrpRTFExport::SetupMatrix(TrpIEMatrix& m) {
    m.Inaccuracy = FWysiwyg ? 0.5L : 10;
    m.RotatedAsImage = true;
    m.RichText = true;
    // Rich text reaches the document as its plain text: raw markup from a report never
    // becomes part of ours.
    m.PlainRich = true;
    m.FillArea = true;
    m.CropFillArea = true;
    m.DeleteHTMLTags = true;
    m.Background = false;
    m.TextOnly = !FExportPictures;
    // Every cell is written in every row it spans, the fill's gaps between objects too: a
    // page of this many cells is a document of tens of megabytes already.
    m.MaxCells = 400'000;
}

void TrpRTFExport::BeginDocument(TrpIEMatrix& matrix) {
    TrpRTFDocumentOptions options;
    options.PageBreaks = FExportPageBreaks;
    options.Pictures = FExportPictures;
    options.HeaderFooterMode = FHeaderFooterMode;
    options.Title = Report() ? Report()->ReportOptions.Name : QString();
    options.Author = FCreator;
    options.Created = QDateTime::currentDateTime();
    FDocument = std::make_unique<TrpRTFDocument>(matrix, options);
    FHeaders = std::make_unique<TrpSpool>();
    FFooters = std::make_unique<TrpSpool>();
}

void TrpRTFExport::WritePage(TrpIEMatrix&, int number, TrpSpool& spool) {
    const TrpRTFPageParts parts = FDocument->Page(number);
    FHeaders->Append(parts.Header);
    FHeaders->EndPage();
    FFooters->Append(parts.Footer);
    FFooters->EndPage();
    spool.Append(parts.Body);
    spool.EndPage();
}

QString TrpRTFExport::WriteDocument(QIODevice& out, TrpSpool& pages, TrpProgress* progress, bool& complete) {
    QString error = platform::WriteAll(out, FDocument->Head());
    if (FHeaderFooterMode == hfPrint) {
        bool all = true;
        const std::pair<QByteArray, TrpSpool*> groups[] = {{"{\\header \r\n", FHeaders.get()},
                                                           {"{\\footer \r\n", FFooters.get()}};
        for (const auto& [group, spool] : groups) {
            if (error.isEmpty())
                error = platform::WriteAll(out, group);
            if (error.isEmpty())
                error = CopyPages(out, *spool, nullptr, all);
            if (error.isEmpty())
                error = platform::WriteAll(out, "}\r\n");
        }
    }
    if (error.isEmpty())
        error = CopyPages(out, pages, progress, complete);
    return error.isEmpty() ? platform::WriteAll(out, "}\r\n") : error;
}

void TrpRTFExport::EndDocument() {
    FDocument.reset();
    FHeaders.reset();
    FFooters.reset();
}

QString TrpRTFExport::ProgressText() const {
    return rpGet(QStringLiteral("ProgressWait"));
}

namespace {
constexpr const char* kHeaderFooterModeNames[] = {"hfText", "hfPrint", "hfNone"};
} // namespace

const FilterOptions& TrpRTFExport::Published() {
    static const FilterOptions rows = [] {
        FilterOptions t(&TrpCustomExportFilter::Published());
        using F = TrpRTFExport;
        t.Add<option::Bool>("ExportPageBreaks", &F::ExportPageBreaks, &F::SetExportPageBreaks, true);
        t.Add<option::Bool>("ExportPictures", &F::ExportPictures, &F::SetExportPictures, true);
        t.Add<option::Bool>("OpenAfterExport", &F::OpenAfterExport, &F::SetOpenAfterExport, false);
        t.Add<option::Bool>("Wysiwyg", &F::Wysiwyg, &F::SetWysiwyg, true);
        t.Add<option::String>("Creator", &F::Creator, &F::SetCreator,
                              QStringLiteral("Tarifon www.kviralt.ru"));
        t.Add<option::Enum<TrpHeaderFooterMode, kHeaderFooterModeNames>>(
            "HeaderFooterMode", &F::HeaderFooterMode, &F::SetHeaderFooterMode, hfText);
        t.Add<option::Bool>("SuppressPageHeadersFooters", &TrpCustomExportFilter::SuppressPageHeadersFooters,
                            &TrpCustomExportFilter::SetSuppressPageHeadersFooters, false);
        t.Interactive({"OpenAfterExport"});
        return t;
    }();
    return rows;
}

} // namespace exports
