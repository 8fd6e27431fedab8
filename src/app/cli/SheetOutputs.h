#pragma once
// The files a prepared sheet can be written to, behind one small interface for the command line.
// Each returns an empty string or the reason of the failure.

#include <QString>
#include <string>

namespace report {
class TrpReport;
}

namespace cli {

// The engine's messages that can reach the command line, in the tool's own English.
void UseEnglishEngineTexts();

std::string SavePreparedReport(report::TrpReport& report, const QString& path);
std::string LoadPreparedReport(report::TrpReport& report, const QString& path);
std::string SavePdf(report::TrpReport& report, const QString& path);

} // namespace cli
