#include "sheet/commands/SheetFilters.h"

#include "sheet/SheetTemplate.h"

#include "export/image/ImageExport.h"
#include "export/pdf/PdfExport.h"
#include "export/xls/XlsExport.h"

namespace sheet {

namespace {

// What every filter of the window carries.
void CommonSettings(exports::TrpCustomExportFilter& filter) {
    filter.SetFileName(QStringLiteral("OSAGO"));
    filter.SetUseFileCache(true);
    filter.SetShowProgress(true);
}

std::unique_ptr<exports::TrpCustomExportFilter> CreatePDF() {
    auto pdf = std::make_unique<exports::TrpPDFExport>();
    pdf->SetPrintOptimized(false);
    pdf->SetOutline(false);
    pdf->SetAuthor(QStringLiteral("Tarifon"));
    pdf->SetSubject(QStringLiteral("Tarifon PDF export"));
    pdf->SetBackground(false);
    pdf->SetCreator(QStringLiteral("Tarifon (") + kWebLink + QStringLiteral(")"));
    pdf->SetHTMLTags(true);
    return pdf;
}

std::unique_ptr<exports::TrpCustomExportFilter> CreateXLS() {
    auto xls = std::make_unique<exports::TrpXLSExport>();
    xls->SetAsText(false);
    xls->SetBackground(true);
    xls->SetFastExport(true);
    xls->SetPageBreaks(true);
    xls->SetEmptyLines(true);
    xls->SetSuppressPageHeadersFooters(false);
    return xls;
}

} // namespace

std::unique_ptr<exports::TrpCustomExportFilter> CreateSheetFilter(int index) {
    std::unique_ptr<exports::TrpCustomExportFilter> filter;
    switch (index) {
    case 0:
        filter = std::make_unique<exports::TrpBMPExport>();
        break;
    case 1:
        filter = std::make_unique<exports::TrpJPEGExport>();
        break;
    case 2:
        filter = std::make_unique<exports::TrpTIFFExport>();
        break;
    case 3:
        filter = std::make_unique<exports::TrpGIFExport>();
        break;
    case 8:
        filter = CreateXLS();
        break;
    case 11:
        filter = CreatePDF();
        break;
    default:
        break;
    }
    if (filter)
        CommonSettings(*filter);
    return filter;
}

} // namespace sheet
