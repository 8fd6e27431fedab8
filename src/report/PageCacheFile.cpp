#include "report/PageCacheFile.h"

#include "platform/TempFiles.h"

#include <QDir>
#include <QTemporaryFile>
#include <cerrno>
#include <unistd.h>

namespace report {

namespace {

QString SystemError(int code) {
    return qt_error_string(code);
}

} // namespace

TrpPageCacheFile::TrpPageCacheFile(const QString& folder)
    : FFolder(folder.isEmpty() ? QDir::tempPath() : folder) {}

TrpPageCacheFile::~TrpPageCacheFile() = default;

QString TrpPageCacheFile::FileName() const {
    return FFile ? FFile->fileName() : QString();
}

bool TrpPageCacheFile::Open(QString& error) {
    if (FFile)
        return true;
    auto file =
        std::make_unique<QTemporaryFile>(platform::ProcessTempTemplate(FFolder, QStringLiteral(".cache")));
    // QTemporaryFile creates the file exclusively with owner-only permissions.
    if (!file->open()) {
        error = QDir::toNativeSeparators(FFolder) + QStringLiteral(": ") + file->errorString();
        return false;
    }
    // Asking for the name links the file into the folder (the toolkit may otherwise keep it
    // nameless): a named file is seen, counted and, after a crash, removed like every other
    // temporary file of ours.
    (void)file->fileName();
    FFile = std::move(file);
    FEnd = 0;
    return true;
}

qint64 TrpPageCacheFile::Append(const QByteArray& bytes, QString& error) {
    if (!Open(error))
        return -1;
    // Written with pwrite at the known end: a short or failed write leaves nothing that a
    // later read relies on, and the end moves only past what is whole on disk.
    const int fd = int(FFile->handle());
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), FEnd + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = FFile->fileName() + QStringLiteral(": ") + SystemError(n < 0 ? errno : ENOSPC);
            return -1;
        }
        done += n;
    }
    const qint64 offset = FEnd;
    FEnd += bytes.size();
    return offset;
}

bool TrpPageCacheFile::Read(qint64 offset, qint64 length, QByteArray& bytes, QString& error) {
    if (!FFile || offset < 0 || length < 0 || offset + length > FEnd) {
        error = QStringLiteral("page cache: no such record");
        return false;
    }
    bytes.resize(length);
    const int fd = int(FFile->handle());
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd, bytes.data() + done, size_t(length - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = FFile->fileName() + QStringLiteral(": ") + SystemError(n < 0 ? errno : EIO);
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace report
