#include "app/cli/SheetOutputs.h"

#include <QString>

#include "export/pdf/PdfExport.h"
#include "report/PreparedReportFile.h"

namespace cli {

bool SavePreparedReport(report::TrpReport& report, const std::string& path, std::string& error) {
    const QString reason = report::SavePreparedReportFile(report, QString::fromStdString(path));
    if (!reason.isEmpty())
        error = "cannot write '" + path + "': " + reason.toStdString();
    return reason.isEmpty();
}

bool LoadPreparedReport(report::TrpReport& report, const std::string& path, std::string& error) {
    error = report::LoadPreparedReportFile(report, QString::fromStdString(path)).toStdString();
    return error.empty();
}

bool SavePdf(report::TrpReport& report, const std::string& path, std::string& error) {
    error = exports::ExportReportToPDF(report, QString::fromStdString(path)).toStdString();
    return error.empty();
}

} // namespace cli
