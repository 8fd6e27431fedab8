#include "sheet/commands/SheetFilters.h"

#include "sheet/SheetTemplate.h"

#include "export/html/HtmlExport.h"
#include "export/image/ImageExport.h"
#include "export/mail/MailExport.h"
#include "export/pdf/PdfExport.h"
#include "export/rtf/RtfExport.h"
#include "export/text/CSVExport.h"
#include "export/text/SimpleTextExport.h"
#include "export/text/TXTExport.h"
#include "export/xls/XlsExport.h"
#include "export/xml/XmlExport.h"

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

std::unique_ptr<exports::TrpCustomExportFilter> CreatePRN() {
    auto prn = std::make_unique<exports::TrpTXTExport>();
    prn->SetScaleWidth(1.0L);
    prn->SetScaleHeight(1.0L);
    prn->SetBorders(false);
    prn->SetPseudogrpahic(false);
    prn->SetPageBreaks(true);
    prn->SetOEMCodepage(false);
    prn->SetEmptyLines(false);
    prn->SetLeadSpaces(false);
    prn->SetPrintAfter(false);
    prn->SetPrinterDialog(true);
    prn->SetUseSavedProps(true);
    return prn;
}

std::unique_ptr<exports::TrpCustomExportFilter> CreateTXT() {
    auto txt = std::make_unique<exports::TrpSimpleTextExport>();
    txt->SetFrames(false);
    txt->SetEmptyLines(false);
    txt->SetOEMCodepage(false);
    return txt;
}

std::unique_ptr<exports::TrpCustomExportFilter> CreateCSV() {
    auto csv = std::make_unique<exports::TrpCSVExport>();
    csv->SetSeparator(QStringLiteral(";"));
    csv->SetOEMCodepage(false);
    return csv;
}

std::unique_ptr<exports::TrpCustomExportFilter> CreateHTML() {
    auto html = std::make_unique<exports::TrpHTMLExport>();
    html->SetFixedWidth(true);
    html->SetBackground(false);
    html->SetCentered(false);
    html->SetEmptyLines(true);
    return html;
}

std::unique_ptr<exports::TrpCustomExportFilter> CreateXML() {
    auto xml = std::make_unique<exports::TrpXMLExport>();
    xml->SetBackground(true);
    xml->SetCreator(QStringLiteral("Tarifon"));
    xml->SetEmptyLines(true);
    xml->SetSuppressPageHeadersFooters(false);
    return xml;
}

std::unique_ptr<exports::TrpCustomExportFilter> CreateRTF() {
    auto rtf = std::make_unique<exports::TrpRTFExport>();
    rtf->SetWysiwyg(true);
    rtf->SetCreator(QStringLiteral("Tarifon ") + kWebAddress);
    rtf->SetSuppressPageHeadersFooters(false);
    rtf->SetHeaderFooterMode(exports::hfText);
    return rtf;
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
    case 4:
        filter = CreatePRN();
        break;
    case 5:
        filter = CreateTXT();
        break;
    case 6:
        filter = CreateCSV();
        break;
    case 7:
        filter = CreateHTML();
        break;
    case 8:
        filter = CreateXLS();
        break;
    case 9:
        filter = CreateXML();
        break;
    case 10:
        filter = CreateRTF();
        break;
    case 11:
        filter = CreatePDF();
        break;
    case 12: {
        auto mail = std::make_unique<exports::TrpMailExport>();
        mail->SetShowExportDialog(true);
        mail->SetSmtpPort(25);
        mail->SetUseIniFile(true);
        filter = std::move(mail);
        break;
    }
    default:
        break;
    }
    if (filter)
        CommonSettings(*filter);
    return filter;
}

} // namespace sheet
