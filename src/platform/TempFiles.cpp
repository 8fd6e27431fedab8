#include "platform/TempFiles.h"

#include <QDir>
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
    static const QRegularExpression name(QStringLiteral("^tarifon-(\\d{1,10})-[^/]+$"));
    QDir dir(folder);
    int removed = 0;
    for (const QString& file : dir.entryList({QStringLiteral("tarifon-*")}, QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch m = name.match(file);
        if (m.hasMatch() && !ProcessRuns(m.captured(1).toLongLong()) && dir.remove(file))
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
