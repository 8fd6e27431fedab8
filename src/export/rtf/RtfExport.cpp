#include "export/rtf/RtfExport.h"

#include "export/LayoutMatrix.h"
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
    m.BackImage = false;
    m.Background = false;
}

bool TrpRTFExport::Takes(TrpComponent& object) {
    // The page's header and footer bands are registered, so that their objects can be told.
    if (object.IsBand() && object.ClassName() == u"TrpPageHeader")
        Matrix()->SetPageHeader(&object);
    else if (object.IsBand() && object.ClassName() == u"TrpPageFooter")
        Matrix()->SetPageFooter(&object);
    return TrpMatrixExport::Takes(object) && (dynamic_cast<TrpCustomMemoView*>(&object) || FExportPictures);
}

bool TrpRTFExport::WriteDocument(TrpIEMatrix& matrix, TrpProgress* progress, QByteArray& out) {
    TrpRTFDocumentOptions options;
    options.PageBreaks = FExportPageBreaks;
    options.Pictures = FExportPictures;
    options.HeaderFooterMode = FHeaderFooterMode;
    options.Title = Report() ? Report()->ReportOptions.Name : QString();
    options.Author = FCreator;
    options.Created = QDateTime::currentDateTime();
    return WriteRTFDocument(matrix, options, progress, out);
}

} // namespace exports
