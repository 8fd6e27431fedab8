#pragma once
// The file that holds prepared pages moved out of memory: a private temporary file named with
// the process id in the report's temporary folder, appended to and read back by position, and
// removed with the report (a killed process's file goes at the next start in that folder).

#include <QString>
#include <memory>

class QByteArray;
class QTemporaryFile;

namespace report {

class TrpPageCacheFile {
public:
    // The folder is the engine's TempDir; empty means the system's temporary folder.
    explicit TrpPageCacheFile(const QString& folder);
    ~TrpPageCacheFile();

    // The file's name ("" until the first write).
    QString FileName() const;
    // Appends the bytes; their offset, or -1 with the reason in `error` (the file is unchanged
    // for what was written before).
    qint64 Append(const QByteArray& bytes, QString& error);
    // Reads back what Append wrote; false with the reason in `error`.
    bool Read(qint64 offset, qint64 length, QByteArray& bytes, QString& error);

private:
    bool Open(QString& error);

    QString FFolder;
    std::unique_ptr<QTemporaryFile> FFile;
    qint64 FEnd = 0;
};

} // namespace report
