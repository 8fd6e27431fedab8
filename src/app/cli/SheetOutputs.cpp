#include "app/cli/SheetOutputs.h"

#include <QString>

#include "report/PreparedReportFile.h"

namespace cli {

bool SavePreparedReport(report::TrpReport& report, const std::string& path, std::string& error) {
    error = report::SavePreparedReportFile(report, QString::fromStdString(path)).toStdString();
    return error.empty();
}

bool LoadPreparedReport(report::TrpReport& report, const std::string& path, std::string& error) {
    error = report::LoadPreparedReportFile(report, QString::fromStdString(path)).toStdString();
    return error.empty();
}

bool SavePdf(report::TrpReport&, const std::string&, std::string& error) {
    error = "PDF export is not available in this build";
    return false;
}

} // namespace cli
