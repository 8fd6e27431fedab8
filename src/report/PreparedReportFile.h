#pragma once
// The prepared-report file (".trp"): the prepared pages' item tree plus the source pages,
// the alias dictionary and a few report settings, as one line of tagged text.

#include "report/FileFaults.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

namespace report {

class TrpReport;

struct TrpLoadResult {
    bool Ok = false;
    // Why the file could not be read: plain syntax, or the bound it breaks (nesting,
    // encoding, pages, paper, sizes), or the system's reason.
    TrpFileError Error;
    QString Message(TrpLanguage language = TrpLanguage::English) const {
        return FileErrorText(Error, language);
    }
    // Objects of classes this program does not know, skipped ("xrCantFindClass" lines).
    QStringList Errors;
};

class TrpPreparedReportFile {
public:
    static QString Extension() { return QStringLiteral(".trp"); }

    // The whole prepared report as file text.
    static QByteArray SaveToBytes(TrpReport& report);
    // Replaces the report's prepared pages with those of the text, but only when the whole
    // text reads; on failure the pages shown so far stay as they were.
    static TrpLoadResult LoadFromBytes(TrpReport& report, const QByteArray& data);
    // The same, read from the device a piece at a time (a file, a pipe), up to the bound of a
    // file's length.
    static TrpLoadResult LoadFromDevice(TrpReport& report, QIODevice& device);

    // Writes the file atomically: a failed save leaves no half-written file. Returns "" on
    // success, else the reason.
    static QString SaveToFile(TrpReport& report, const QString& fileName);
    static TrpLoadResult LoadFromFile(TrpReport& report, const QString& fileName);
};

// For the command line: "" on success, else the message to print (in English).
QString SavePreparedReportFile(TrpReport& report, const QString& fileName);
QString LoadPreparedReportFile(TrpReport& report, const QString& fileName);

} // namespace report
