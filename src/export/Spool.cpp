#include "export/Spool.h"

#include "export/LayoutMatrix.h"
#include "export/TempFiles.h"
#include "platform/AtomicFile.h"
#include "report/Report.h"

#include <QDir>
#include <QTemporaryFile>
#include <algorithm>
#include <iterator>

namespace exports {

namespace {

// Beyond this much a spool goes to a temporary file: one page's worth stays in memory.
constexpr qsizetype kInMemory = 8 << 20;

} // namespace

void JoinColumns(std::vector<long double>& columns, const TrpIEMatrix& page) {
    std::vector<long double> lines, merged;
    for (int i = 0; i < page.Width(); ++i)
        lines.push_back(page.GetXPosById(i));
    merged.reserve(columns.size() + lines.size());
    std::merge(columns.begin(), columns.end(), lines.begin(), lines.end(), std::back_inserter(merged));
    merged.erase(std::unique(merged.begin(), merged.end()), merged.end());
    columns.clear();
    for (size_t i = 0; i < merged.size(); ++i)
        if (i + 1 == merged.size() || !(merged[i + 1] - merged[i] < page.Inaccuracy))
            columns.push_back(merged[i]);
}

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
