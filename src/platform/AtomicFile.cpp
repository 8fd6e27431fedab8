#include "platform/AtomicFile.h"

#include <QSaveFile>
#include <cerrno>
#include <unistd.h>

namespace platform {

namespace {

QString ReasonOf(const QFileDevice& file) {
    const QString reason = file.errorString();
    return reason.isEmpty() || file.error() == QFileDevice::NoError ? QStringLiteral("write error") : reason;
}

} // namespace

QString WriteFileAtomically(const QString& fileName, const std::function<QString(QIODevice&)>& write) {
    QSaveFile file(fileName);
    // Unbuffered: QSaveFile::commit() does not look at the flush of its own buffer, so the last
    // bytes could meet a full disk or a size limit unnoticed; and every failed write carries the
    // system's reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return ReasonOf(file);
    QString error = write(file);
    if (file.error() != QFileDevice::NoError) // the system's reason says most
        error = ReasonOf(file);
    if (error.isEmpty() && ::fsync(file.handle()) != 0 && errno != EINVAL)
        error = qt_error_string(errno);
    if (error.isEmpty() && !file.commit())
        error = ReasonOf(file);
    if (!error.isEmpty())
        file.cancelWriting(); // the temporary file is removed
    return error;
}

QString WriteFileAtomically(const QString& fileName, const QByteArray& data) {
    return WriteFileAtomically(fileName, [&](QIODevice& device) {
        for (qint64 done = 0; done < data.size();) {
            const qint64 n = device.write(data.constData() + done, data.size() - done);
            if (n <= 0)
                return QStringLiteral("write error");
            done += n;
        }
        return QString();
    });
}

} // namespace platform
