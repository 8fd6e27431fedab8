#include "app/cli/SheetOutputs.h"

#include "export/html/HtmlTexts.h"
#include "export/image/ImageExport.h"
#include "export/image/ImageTexts.h"
#include "export/mail/MailTexts.h"
#include "export/pdf/PdfExport.h"
#include "export/rtf/RtfExport.h"
#include "export/text/TextTexts.h"
#include "export/xls/XlsTexts.h"
#include "export/xml/XmlExport.h"
#include "platform/AtomicFile.h"
#include "report/EngineTexts.h"
#include "report/PreparedReportFile.h"
#include "sheet/commands/SheetFilters.h"

namespace cli {

void UseEnglishEngineTexts() {
    exports::AddPdfExportTexts(); // replaced below, not later
    exports::AddImageExportTexts();
    exports::AddTextExportTexts();
    exports::AddHtmlExportTexts();
    exports::AddRtfExportTexts();
    exports::AddXmlExportTexts();
    exports::AddMailExportTexts();
    exports::AddXlsExportTexts();
    report::TrpResources::Instance().AddStrings(QStringLiteral(
        "xlsNoOffice=the spreadsheet application LibreOffice Calc is not available (%1); install LibreOffice "
        "to write Excel workbooks\n"
        "xlsNotFound=program %1 not found\n"
        "xlsNotStarted=program %1 cannot be started: %2\n"
        "xlsNoAnswer=the program did not answer within %1 s\n"
        "xlsEnded=the program ended with code %1\n"
        "xlsLost=LibreOffice Calc stopped during the export; nothing was written\n"
        "xlsHung=LibreOffice Calc did not answer for %1 s and was stopped; nothing was written\n"
        "xlsRejected=the spreadsheet application refused: %1\n"
        "xlsCannotSave=%1: %2\n"
        "xlsNotWorkbook=the spreadsheet application wrote no workbook\n"));
    // "file: reason"; the command line names the file as typed, so it keeps the reason.
    report::TrpResources::Instance().AddStrings(
        QStringLiteral("exCannotWrite=%1: %2\n"
                       "exNoPages=no prepared pages\n"
                       "exCannotMakeFolder=cannot create the folder %1: %2\n"
                       "exFailed=the export failed\n"
                       "exWriteFailed=write error: %1\n"
                       "exPictureNoMemory=not enough memory for a picture of %1 x %2 pixels\n"
                       "exCancelled=the export was cancelled, %1 was not written\n"
                       "exIncomplete=the export was cancelled, %1 is incomplete\n"
                       "exNotOpened=%1 was written but could not be opened: %2\n"
                       "exNoOpenProgram=no program opens files of this type (%1)\n"
                       "exOpenNotStarted=%1 could not be started\n"
                       "clErrors=the following errors were found:\n"
                       "clScrError=error in script %s: %s\n"
                       "clExprError=error in expression\n"
                       "clUnknownVar=unknown variable or field:\n"
                       "clRecursiveVar=the variable refers to itself:\n"
                       "xrCantFindClass=class not found:\n"
                       "8909=server\n"
                       "8910=login\n"
                       "8922=subject\n"
                       "mlFromName=sender name\n"
                       "mlBadText=the %1 may not hold a line break or another control character\n"
                       "mlBadAddress='%1' is not an e-mail address: it takes name@domain in Latin letters, "
                       "without blanks, quotes or angle brackets\n"
                       "mlBadPort=the port must be a whole number from 1 to 65535\n"
                       "mlRefused=the server refused %1: %2\n"
                       "mlClosed=the server %1 closed the connection without a word; nothing was sent\n"
                       "mlClosedAfter=the server %1 closed the connection after %2; nothing was sent\n"
                       "mlCannotConnect=cannot connect to the server %1 (port %2): %3\n"
                       "mlConnectionLost=the connection to the server %1 broke off: %2\n"
                       "mlTimeOut=the server %1 did not answer for %2 s; nothing was sent\n"
                       "mlNotSmtp=the server %1 does not speak SMTP: '%2'\n"
                       "mlNoStartTLS=the server %1 does not offer encryption (STARTTLS); nothing was sent\n"
                       "mlTlsFailed=no secure connection to %1: %2\n"
                       "mlReplyTooLong=the server's reply is longer than %1 bytes\n"
                       "mlReplyTimeOut=the server did not finish its reply within %1 s\n"
                       "mlExchangeTimeOut=the exchange with the server did not end within %1 s\n"
                       "mlCannotRead=cannot read %1: %2\n"
                       "mlCannotWriteLog=cannot write the log %1: %2\n"
                       "mlNoAttachment=the attachment could not be made\n"
                       "mlSending=Sending the message to\n"));
}

std::string SavePreparedReport(report::TrpReport& report, const QString& path) {
    return report::SavePreparedReportFile(report, path).toStdString();
}

std::string LoadPreparedReport(report::TrpReport& report, const QString& path) {
    return report::LoadPreparedReportFile(report, path).toStdString();
}

std::string SaveWithSheetFilter(report::TrpReport& report, int menuIndex, const QString& path) {
    const std::unique_ptr<exports::TrpCustomExportFilter> filter = sheet::CreateSheetFilter(menuIndex);
    filter->SetFileName(path);
    QString error = exports::ExportSilently(report, *filter);
    if (const QString named = path + QStringLiteral(": "); error.startsWith(named))
        error.remove(0, named.size());
    return error.toStdString();
}

std::string SavePicture(report::TrpReport& report, int format, const QString& path) {
    return platform::WriteFileAtomically(path,
                                         [&](QIODevice& device) {
                                             return exports::ExportReportToPicture(
                                                 report, exports::TrpImageFormat(format), device);
                                         })
        .toStdString();
}

std::string PicturePageName(const std::string& typed, int format) {
    const std::string ext =
        exports::CreateImageExport(exports::TrpImageFormat(format), true)->DefaultExt().toStdString();
    const size_t slash = typed.rfind('/'), dot = typed.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? typed.substr(0, dot) : typed) + ".1" + ext;
}

} // namespace cli
