#pragma once
// Writing a file whole or not at all.

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>
#include <memory>

class QFile;
class QSaveFile;

namespace platform {

// A file written in parts, as they are made, and put in place whole by the rules of
// WriteFileAtomically below: the parts go into a temporary file beside the target (or straight
// into a character device or a pipe), which takes the target's name in Close only when every
// write, the flush and the sync succeeded. Abandoned (Close with a reason, or destroyed before
// Close), the temporary goes and an existing file of that name stays as it was.
class StagedFile {
public:
    explicit StagedFile(QString fileName);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // "" or the reason the name cannot be written.
    QString Open();
    // Unbuffered, as WriteFileAtomically's device: it may take fewer bytes than offered.
    QIODevice& Device();
    // "" or the reason in the system's words.
    QString Write(QByteArrayView data);
    // With `error` empty, puts the file in place; else (or when that fails) abandons it.
    // Returns "" or the reason the file is not in place.
    QString Close(QString error = {});

private:
    QString FName;
    std::unique_ptr<QSaveFile> FFile; // a regular file, through a temporary
    std::unique_ptr<QFile> FStream;   // a device or a pipe, written into
};

// Writes through a temporary file beside the target that takes the target's name only when
// every write, the final flush and the sync to disk have succeeded; on any failure the
// temporary goes and an existing file of that name stays as it was. The file keeps the
// permissions of the one it replaces. A target that is a character device or a pipe
// (/dev/null, /dev/stdout in a pipe, a FIFO) is written straight into, never replaced; a
// folder, a block device or a socket is refused. The device `write` gets is unbuffered and
// may take fewer bytes than offered, as a system call does: write the rest again. `write`
// returns "" on success, else its reason. Returns "" on success, else the reason in the
// system's words ("No space left on device", "File too large").
QString WriteFileAtomically(const QString& fileName, const std::function<QString(QIODevice&)>& write);
QString WriteFileAtomically(const QString& fileName, const QByteArray& data);

// Puts a finished file (`staged`, on the same filesystem) in the place of `target` by the same
// rules: renamed over a regular file or nothing, taking the replaced file's permissions; copied
// into a character device or a pipe and then removed. Names are the system's bytes (so a
// caller may reach a folder through /proc/self/fd). Returns "" or the system's reason.
QString ReplaceWithStaged(const QByteArray& staged, const QByteArray& target);

// Writes every byte of `data` to an unbuffered device; "" or the device's reason.
QString WriteAll(QIODevice& device, QByteArrayView data);

} // namespace platform
