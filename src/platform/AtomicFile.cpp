#include "platform/AtomicFile.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QString ReasonOf(const QFileDevice& file) {
    const QString reason = file.errorString();
    return reason.isEmpty() || file.error() == QFileDevice::NoError ? QStringLiteral("write error") : reason;
}

// What stands under a target's name decides how it is written. Renaming over a device or a
// pipe would put a plain file in its place (as root even over /dev/null) and the bytes would
// never reach the reader at the other end.
enum class TargetKind { File, Stream };

// The kind, or the reason the name cannot take a file. A name that does not exist yet, or
// cannot be looked at, is a file: its writing says what is wrong.
QString KindOf(const QByteArray& name, TargetKind& kind, mode_t& mode) {
    struct stat st {};
    kind = TargetKind::File;
    mode = 0;
    if (::stat(name.constData(), &st) != 0 || S_ISREG(st.st_mode)) {
        mode = st.st_mode & 07777;
        return {};
    }
    if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode)) {
        kind = TargetKind::Stream;
        return {};
    }
    if (S_ISDIR(st.st_mode))
        return qt_error_string(EISDIR);
    return S_ISBLK(st.st_mode) ? QStringLiteral("it is a block device, not a file")
                               : QStringLiteral("it is a socket, not a file");
}

// A device or a pipe opened as it stands: no temporary, no sync (a pipe has none).
QString OpenStream(const QByteArray& name, QFile& file) {
    const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return qt_error_string(errno);
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return ReasonOf(file);
    }
    return {};
}

QString WriteStream(const QByteArray& name, const std::function<QString(QIODevice&)>& write) {
    QFile file;
    if (QString error = OpenStream(name, file); !error.isEmpty())
        return error;
    QString error = write(file);
    if (file.error() != QFileDevice::NoError)
        error = ReasonOf(file);
    file.close();
    return error;
}

} // namespace

QString WriteAll(QIODevice& device, QByteArrayView data) {
    for (qsizetype done = 0; done < data.size();) {
        const qint64 n = device.write(data.data() + done, data.size() - done);
        if (n <= 0) {
            const QString reason = device.errorString();
            return reason.isEmpty() ? QStringLiteral("write error") : reason;
        }
        done += n;
    }
    return {};
}

StagedFile::StagedFile(QString fileName) : FName(std::move(fileName)) {}

StagedFile::~StagedFile() {
    Close(QStringLiteral("abandoned"));
}

QString StagedFile::Open() {
    TargetKind kind;
    mode_t mode;
    if (QString why = KindOf(QFile::encodeName(FName), kind, mode); !why.isEmpty())
        return why;
    if (kind == TargetKind::Stream) {
        FStream = std::make_unique<QFile>();
        QString error = OpenStream(QFile::encodeName(FName), *FStream);
        if (!error.isEmpty())
            FStream.reset();
        return error;
    }
    // QSaveFile gives the new file the permissions of the one it replaces.
    FFile = std::make_unique<QSaveFile>(FName);
    // Unbuffered: QSaveFile::commit() does not look at the flush of its own buffer, so the last
    // bytes could meet a full disk or a size limit unnoticed; and every failed write carries the
    // system's reason.
    if (!FFile->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const QString error = ReasonOf(*FFile);
        FFile.reset();
        return error;
    }
    return {};
}

QIODevice& StagedFile::Device() {
    if (FFile)
        return *FFile;
    return *FStream;
}

QString StagedFile::Write(QByteArrayView data) {
    QString error = WriteAll(Device(), data);
    if (!error.isEmpty() && FFile && FFile->error() != QFileDevice::NoError)
        error = ReasonOf(*FFile);
    return error;
}

QString StagedFile::Close(QString error) {
    if (FStream) {
        if (error.isEmpty() && FStream->error() != QFileDevice::NoError)
            error = ReasonOf(*FStream);
        FStream->close();
        FStream.reset();
        return error;
    }
    if (!FFile)
        return error;
    if (error.isEmpty() && FFile->error() != QFileDevice::NoError) // the system's reason says most
        error = ReasonOf(*FFile);
    if (error.isEmpty() && ::fsync(FFile->handle()) != 0 && errno != EINVAL)
        error = qt_error_string(errno);
    if (error.isEmpty() && !FFile->commit())
        error = ReasonOf(*FFile);
    if (!error.isEmpty())
        FFile->cancelWriting(); // the temporary file is removed
    FFile.reset();
    return error;
}

QString WriteFileAtomically(const QString& fileName, const std::function<QString(QIODevice&)>& write) {
    StagedFile file(fileName);
    if (QString error = file.Open(); !error.isEmpty())
        return error;
    return file.Close(write(file.Device()));
}

QString WriteFileAtomically(const QString& fileName, const QByteArray& data) {
    return WriteFileAtomically(fileName, [&](QIODevice& device) { return WriteAll(device, data); });
}

QString ReplaceWithStaged(const QByteArray& staged, const QByteArray& target) {
    TargetKind kind;
    mode_t mode;
    if (QString why = KindOf(target, kind, mode); !why.isEmpty())
        return why;
    if (kind == TargetKind::File) {
        // Best effort: a filesystem without permissions (vfat) keeps its own.
        if (mode != 0)
            ::chmod(staged.constData(), mode);
        return ::rename(staged.constData(), target.constData()) == 0 ? QString() : qt_error_string(errno);
    }
    QFile from(QFile::decodeName(staged));
    if (!from.open(QIODevice::ReadOnly))
        return ReasonOf(from);
    const QString error = WriteStream(target, [&](QIODevice& device) {
        QByteArray chunk;
        while (!(chunk = from.read(1 << 20)).isEmpty())
            if (QString e = WriteAll(device, chunk); !e.isEmpty())
                return e;
        return from.error() == QFileDevice::NoError ? QString() : ReasonOf(from);
    });
    from.close();
    if (error.isEmpty())
        ::unlink(staged.constData());
    return error;
}

} // namespace platform
