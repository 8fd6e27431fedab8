#include "export/text/CharGrid.h"

#include "report/ReportTypes.h"

#include <algorithm>

namespace exports {

TrpCharGrid::TrpCharGrid(int columns, int rows)
    : FColumns(std::max(columns, 0)), FRows(std::max(rows, 0)),
      FRowsData(size_t(FRows), QByteArray(FColumns, ' ')) {}

void TrpCharGrid::Write(int x, int y, const QByteArray& text) {
    if (y < 0 || y >= FRows)
        return;
    QByteArray& row = FRowsData[size_t(y)];
    const int from = std::max(x, 0), to = std::min<qsizetype>(x + text.size(), FColumns);
    for (int c = from; c < to; ++c)
        row[c] = text[c - x];
    if (!FFrame.empty())
        for (int c = from; c < to; ++c)
            FFrame[size_t(y)][size_t(c)] = false;
}

void TrpCharGrid::PutFrame(int x, int y, char c) {
    if (!Inside(x, y))
        return;
    if (FFrame.empty())
        FFrame.assign(size_t(FRows), std::vector<bool>(size_t(FColumns), false));
    FRowsData[size_t(y)][x] = c;
    FFrame[size_t(y)][size_t(x)] = true;
}

bool TrpCharGrid::IsFrame(int x, int y) const {
    return Inside(x, y) && !FFrame.empty() && FFrame[size_t(y)][size_t(x)];
}

void TrpCharGrid::SqueezeBlankColumns() {
    std::vector<bool> keep(size_t(FColumns), true);
    int run = 0;
    for (int x = 0; x < FColumns; ++x) {
        bool blank = true;
        for (int y = 0; y < FRows && blank; ++y)
            blank = FRowsData[size_t(y)][x] == ' ';
        run = blank ? run + 1 : 0;
        keep[size_t(x)] = run <= 2;
    }
    for (QByteArray& row : FRowsData) {
        QByteArray kept;
        kept.reserve(FColumns);
        for (int x = 0; x < FColumns; ++x)
            if (keep[size_t(x)])
                kept += row[x];
        // The deleted columns come back as spaces at the right end.
        row = kept.leftJustified(FColumns, ' ');
    }
}

QByteArray PadLine(const QByteArray& line, int width, int hAlign) {
    const int length = int(line.size());
    if (length >= width)
        return line;
    switch (hAlign) {
    case report::haRight:
        return QByteArray(width - length, ' ') + line;
    case report::haCenter: {
        const int left = std::max(width / 2 - length / 2, 0);
        return (QByteArray(left, ' ') + line).leftJustified(width, ' ');
    }
    default:
        return line.leftJustified(width, ' ');
    }
}

QByteArray TrimRight(const QByteArray& row) {
    qsizetype n = row.size();
    while (n > 0 && row[n - 1] == ' ')
        --n;
    return row.left(n);
}

} // namespace exports
