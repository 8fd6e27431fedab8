#include "export/Spool.h"

#include "export/TempFiles.h"
#include "platform/AtomicFile.h"
#include "report/Report.h"

#include <QDir>
#include <QTemporaryFile>

namespace exports {

namespace {

// Beyond this much a spool goes to a temporary file: one page's worth stays in memory.
constexpr qsizetype kInMemory = 8 << 20;

} // namespace

TrpSpool::TrpSpool() = default;
TrpSpool::~TrpSpool() = default;

void TrpSpool::Append(const QByteArray& bytes) {
    FSize += bytes.size();
    if (!FFile && FMemory.size() + bytes.size() <= kInMemory) {
        FMemory += bytes;
        return;
    }
    if (!FFile) {
        FFile =
            std::make_unique<QTemporaryFile>(ProcessTempTemplate(QDir::tempPath(), QStringLiteral(".spool")));
        if (!FFile->open())
            throw report::TrpReportError(FFile->errorString());
        const QString error = platform::WriteAll(*FFile, FMemory);
        if (!error.isEmpty())
            throw report::TrpReportError(error);
        FMemory = QByteArray();
    }
    const QString error = platform::WriteAll(*FFile, bytes);
    if (!error.isEmpty())
        throw report::TrpReportError(error);
}

void TrpSpool::EndPage() {
    FEnds.push_back(FSize);
}

QByteArray TrpSpool::Page(int index) {
    if (index < 0 || index >= Pages())
        return {};
    const qint64 from = index > 0 ? FEnds[size_t(index - 1)] : 0, size = FEnds[size_t(index)] - from;
    if (!FFile)
        return FMemory.mid(from, size);
    FFile->flush();
    if (!FFile->seek(from))
        throw report::TrpReportError(FFile->errorString());
    QByteArray bytes = FFile->read(size);
    if (bytes.size() != size)
        throw report::TrpReportError(FFile->errorString());
    FFile->seek(FFile->size()); // later appends go to the end
    return bytes;
}

} // namespace exports
