#include "platform/TempFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryFile>
#include <cerrno>
#include <csignal>
#include <limits>
#include <unistd.h>

namespace platform {
namespace {

bool ProcessRuns(qint64 pid) {
    return pid > 0 && pid <= std::numeric_limits<pid_t>::max() &&
           (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

} // namespace

int RemoveStaleTempFiles(const QString& folder) {
    // "tarifon-<pid>-…" of the programs, and of the command line its runtime folder
    // "tarifon-cli-runtime-<pid>-…" and the stand-in ".tarifon-cli-<pid>-<n>.part" of an output
    // whose name it cannot hand to the toolkit.
    static const QRegularExpression name(
        QStringLiteral("^(?:tarifon|tarifon-cli-runtime|\\.tarifon-cli)-(\\d{1,10})-[^/]+$"));
    QDir dir(folder);
    int removed = 0;
    for (const QFileInfo& entry :
         dir.entryInfoList({QStringLiteral("tarifon-*"), QStringLiteral(".tarifon-cli-*")},
                           QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoSymLinks)) {
        const QRegularExpressionMatch m = name.match(entry.fileName());
        if (!m.hasMatch() || ProcessRuns(m.captured(1).toLongLong()))
            continue;
        // Folders too (an export's staging folder), except an office run's: its own sweep ends
        // the office that may still be running there before it removes the folder.
        if (entry.isDir() ? !entry.fileName().endsWith(QStringLiteral(".office")) &&
                                QDir(entry.filePath()).removeRecursively()
                          : dir.remove(entry.fileName()))
            ++removed;
    }
    return removed;
}

QString ProcessTempTemplate(const QString& folder, const QString& suffix) {
    const QString path = QDir(folder).absolutePath();
    static QMutex mutex;
    static QSet<QString> swept;
    {
        QMutexLocker lock(&mutex);
        if (!swept.contains(path)) {
            swept.insert(path);
            RemoveStaleTempFiles(path);
        }
    }
    return path + QStringLiteral("/tarifon-%1-XXXXXX").arg(::getpid()) + suffix;
}

QString NewTemporaryFile(const QString& suffix) {
    QTemporaryFile file(ProcessTempTemplate(QDir::tempPath(), suffix));
    file.setAutoRemove(false);
    if (!file.open())
        return {};
    return file.fileName();
}

} // namespace platform
