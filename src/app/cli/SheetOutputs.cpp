#include "app/cli/SheetOutputs.h"

#include "export/pdf/PdfExport.h"
#include "report/EngineTexts.h"
#include "report/PreparedReportFile.h"

namespace cli {

void UseEnglishEngineTexts() {
    exports::AddPdfExportTexts(); // replaced below, not later
    // "file: reason"; the command line names the file as typed, so it keeps the reason.
    report::TrpResources::Instance().AddStrings(
        QStringLiteral("exCannotWrite=%1: %2\n"
                       "exNoPages=no prepared pages\n"
                       "exFailed=the export failed\n"
                       "clErrors=the following errors were found:\n"
                       "clScrError=error in script %s: %s\n"
                       "clExprError=error in expression\n"
                       "clUnknownVar=unknown variable or field:\n"
                       "clRecursiveVar=the variable refers to itself:\n"
                       "xrCantFindClass=class not found:\n"));
}

std::string SavePreparedReport(report::TrpReport& report, const QString& path) {
    return report::SavePreparedReportFile(report, path).toStdString();
}

std::string LoadPreparedReport(report::TrpReport& report, const QString& path) {
    return report::LoadPreparedReportFile(report, path).toStdString();
}

std::string SavePdf(report::TrpReport& report, const QString& path) {
    QString error = exports::ExportReportToPDF(report, path);
    if (const QString named = path + QStringLiteral(": "); error.startsWith(named))
        error.remove(0, named.size());
    return error.toStdString();
}

} // namespace cli
