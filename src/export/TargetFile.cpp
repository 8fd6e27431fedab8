#include "export/TargetFile.h"

#include "export/ExportFilter.h"
#include "export/Spool.h"
#include "export/TempFiles.h"
#include "platform/AtomicFile.h"
#include "report/EngineTexts.h"
#include "report/Report.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

namespace exports {

using report::rpGet;

void AddTargetFileTexts() {
    report::TrpResources::Instance().AddStringsOnce(
        "exCannotWrite=Не удалось записать файл %1: %2\n"
        "exNoOpenProgram=нет программы для открытия файлов этого типа (%1)\n"
        "exOpenNotStarted=не удалось запустить %1\n");
}

namespace {

// The desktop entry the desktop opens files of the type with ("" when none). xdg-mime reads the
// user's and the system's association lists; it answers at once, but is never waited on long.
QString AssociatedDesktopFile(const QString& mimeType) {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForStarted(5000))
        return {};
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished(1000);
        return {};
    }
    const QString id = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
    return id.isEmpty() ? QString() : QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
}

} // namespace

bool ChooseTargetFile(TrpCustomExportFilter& filter, const QString& defaultExt,
                      const std::function<QString(const QString& initialName)>& ask) {
    if (filter.Subordinate()) {
        filter.SetFileName(NewTemporaryFile(defaultExt));
        return !filter.FileName().isEmpty();
    }
    QString initial = filter.FileName();
    if (initial.isEmpty()) {
        const QString name = filter.Report() ? filter.Report()->ReportOptions.Name : QString();
        initial = (name.isEmpty() ? QStringLiteral("report") : name) + defaultExt;
    }
    const QString chosen = ask(initial);
    if (chosen.isEmpty())
        return false;
    filter.SetFileName(chosen);
    return true;
}

void WriteTarget(TrpCustomExportFilter& filter, const QByteArray& document) {
    WriteTarget(filter, [&](QIODevice& device) { return platform::WriteAll(device, document); });
}

void WriteTarget(TrpCustomExportFilter& filter, const std::function<QString(QIODevice&)>& write) {
    AddTargetFileTexts();
    if (QIODevice* stream = filter.Stream()) {
        if (const QString error = write(*stream); !error.isEmpty())
            throw report::TrpReportError(error);
        return;
    }
    const QString error = platform::WriteFileAtomically(filter.FileName(), write);
    if (!error.isEmpty())
        throw report::TrpReportError(rpGet(QStringLiteral("exCannotWrite")).arg(filter.FileName(), error));
}

QString OpenWithDesktop(const QString& fileName) {
    AddTargetFileTexts();
    const QString path = QFileInfo(fileName).absoluteFilePath();
    QString program = qEnvironmentVariable("TARIFON_OPEN_WITH");
    QStringList args{path};
    if (program.isEmpty()) {
        const QString type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
        const QString entry = AssociatedDesktopFile(type);
        if (entry.isEmpty())
            return rpGet(QStringLiteral("exNoOpenProgram")).arg(type);
        // gio starts the entry's command line as the desktop would, and returns.
        program = QStringLiteral("gio");
        args = QStringList{QStringLiteral("launch"), entry, path};
    }
    if (!QProcess::startDetached(program, args))
        return rpGet(QStringLiteral("exOpenNotStarted")).arg(program);
    return {};
}

} // namespace exports
