#pragma once
// The file a filter writes by itself: the target the user chooses before the export, and the
// desktop's program started on it afterwards.

#include <QByteArray>
#include <QString>
#include <functional>

class QIODevice;

namespace exports {

class TrpCustomExportFilter;

// Chooses the target after the options dialog was accepted: a fresh temporary file for a
// subordinate filter, else the save dialog (`ask`, given the initial name) starting with the
// filter's FileName or the report's name with the extension. Sets FileName; false when the
// user cancelled or no temporary file could be made.
bool ChooseTargetFile(TrpCustomExportFilter& filter, const QString& defaultExt,
                      const std::function<QString(const QString& initialName)>& ask);

// Writes a finished document to the filter's stream or, whole or not at all, to its file (an
// existing file stays as it was when writing fails). Throws report::TrpReportError naming the
// file and the reason.
void WriteTarget(TrpCustomExportFilter& filter, const QByteArray& document);
// The same for a document written in parts: `write` puts them into the device and returns ""
// or the reason it stopped.
void WriteTarget(TrpCustomExportFilter& filter, const std::function<QString(QIODevice&)>& write);

// Starts the program that opens the file on this desktop, without waiting for it: the program
// named by TARIFON_OPEN_WITH when that is set (tests, unusual desktops), else the application
// the desktop associates with the file's type. Returns "" when it was started, else the
// reason (no program for the type, or it could not be started).
QString OpenWithDesktop(const QString& fileName);

// Adds the texts of the above to the engine text table (the filters that use them do).
void AddTargetFileTexts();

} // namespace exports
