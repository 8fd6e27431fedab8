#pragma once
// The files a prepared sheet can be written to, behind one small interface for the command line.

#include <string>

namespace report {
class TrpReport;
}

namespace cli {

bool SavePreparedReport(report::TrpReport& report, const std::string& path, std::string& error);
bool LoadPreparedReport(report::TrpReport& report, const std::string& path, std::string& error);
bool SavePdf(report::TrpReport& report, const std::string& path, std::string& error);

} // namespace cli
