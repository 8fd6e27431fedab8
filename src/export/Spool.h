#pragma once
// What a filter writes page by page before the head of its document is known (the head names
// the styles, fonts or columns of every page): kept in memory while small, in a temporary file
// beyond that, and copied out after the head page by page.

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

class QIODevice;
class QTemporaryFile;

namespace exports {

class TrpIEMatrix;

// The columns of a sheet that takes the pages one below the other, known only after the last
// page: the prepared page's X lines join the sheet's, and lines closer than the matrix's
// inaccuracy merge into the last of them, as the matrix merges its own.
void JoinColumns(std::vector<long double>& columns, const TrpIEMatrix& page);

class TrpSpool {
public:
    TrpSpool();
    ~TrpSpool();
    TrpSpool(const TrpSpool&) = delete;
    TrpSpool& operator=(const TrpSpool&) = delete;

    // Throws report::TrpReportError with the system's reason when the temporary file fails.
    void Append(const QByteArray& bytes);
    // Ends the current page: what was appended since the last end is one page.
    void EndPage();
    int Pages() const { return int(FEnds.size()); }
    // The bytes of one ended page.
    QByteArray Page(int index);

private:
    QByteArray FMemory;
    std::unique_ptr<QTemporaryFile> FFile;
    std::vector<qint64> FEnds; // where each page ends
    qint64 FSize = 0;
};

} // namespace exports
