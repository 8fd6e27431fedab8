#include "export/rtf/RtfExport.h"

#include "export/LayoutMatrix.h"
#include "export/Progress.h"
#include "export/SaveFileDialog.h"
#include "export/TargetFile.h"
#include "export/rtf/RtfExportDialog.h"
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

} // namespace

void AddRtfExportTexts() {
    static const bool added = [] {
        TrpResources::Instance().AddStrings(QString::fromUtf8(kTexts));
        AddTargetFileTexts();
        return true;
    }();
    (void)added;
}

TrpRTFExport::TrpRTFExport(bool subordinate) : TrpCustomExportFilter(subordinate) {
    AddRtfExportTexts();
    FFilterText = rpGet(8504);
    FDefaultExt = rpGet(8505);
    FCreator = QStringLiteral("Tarifon www.kviralt.ru");
}

TrpRTFExport::~TrpRTFExport() = default;

QString TrpRTFExport::FilterDescription() const {
    return rpGet(QStringLiteral("RTFexport"));
}

TModalResult TrpRTFExport::ShowModal() {
    if (Stream())
        return mrOk;
    TrpRTFExportDialog dialog(*this);
    if (dialog.exec() != QDialog::Accepted)
        return mrCancel;
    dialog.Store(*this);
    const bool chosen = ChooseTargetFile(*this, FDefaultExt, [this](const QString& initial) {
        return OnSaveDialog ? OnSaveDialog(initial)
                            : AskSaveFileName(DefaultPath(), initial, FFilterText, FDefaultExt);
    });
    return chosen ? mrOk : mrCancel;
}

bool TrpRTFExport::Start() {
    if (FileName().isEmpty() && !Stream())
        return false;
    if (!Stream())
        SetFileName(TargetFileName());
    FMatrix = std::make_unique<TrpIEMatrix>(UseFileCache());
    TrpIEMatrix& m = *FMatrix;
    m.ShowProgress = ShowProgress();
    m.Inaccuracy = FWysiwyg ? 0.5L : 10;
    m.RotatedAsImage = true;
    m.RichText = true;
    // Rich text reaches the document as its plain text: raw markup from a report never
    // becomes part of ours.
    m.PlainRich = true;
    m.FillArea = true;
    m.CropFillArea = true;
    m.DeleteHTMLTags = true;
    m.BackImage = false;
    m.Background = false;
    m.Printable = ExportNotPrintable();
    m.Report = Report();
    FPageCount = 0;
    return true;
}

void TrpRTFExport::StartPage(TrpReportPage*, int) {
    ++FPageCount;
}

void TrpRTFExport::ExportObject(TrpComponent* object) {
    if (!FMatrix || !object)
        return;
    if (object->IsBand() && object->ClassName() == u"TrpPageHeader")
        FMatrix->SetPageHeader(object);
    else if (object->IsBand() && object->ClassName() == u"TrpPageFooter")
        FMatrix->SetPageFooter(object);
    auto* view = dynamic_cast<TrpView*>(object);
    if (view && view->Visible() && (dynamic_cast<TrpCustomMemoView*>(view) || FExportPictures))
        FMatrix->AddObject(*view);
}

void TrpRTFExport::FinishPage(TrpReportPage* page, int) {
    if (FMatrix && page)
        FMatrix->AddPage(page->Orientation(), page->Width(), page->Height(), page->LeftMargin(),
                         page->TopMargin(), page->RightMargin(), page->BottomMargin());
}

void TrpRTFExport::Finish() {
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
    TrpRTFDocumentOptions options;
    options.PageBreaks = FExportPageBreaks;
    options.Pictures = FExportPictures;
    options.HeaderFooterMode = FHeaderFooterMode;
    options.Title = Report() ? Report()->ReportOptions.Name : QString();
    options.Author = FCreator;
    options.Created = QDateTime::currentDateTime();
    TrpProgress progress;
    QByteArray document;
    const bool complete = WriteRTFDocument(*matrix, options, ShowProgress() ? &progress : nullptr, document);
    matrix.reset();
    WriteTarget(*this, document);
    // Cancelled while writing rows: the document is closed properly, but the user is told.
    if (!complete)
        throw TrpReportError(rpGet(QStringLiteral("exIncomplete")).arg(target));
    if (FOpenAfterExport && !Stream() && !Subordinate())
        if (const QString error = OpenWithDesktop(FileName()); !error.isEmpty())
            throw TrpReportError(rpGet(QStringLiteral("exNotOpened")).arg(FileName(), error));
}

} // namespace exports
