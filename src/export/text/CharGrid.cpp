#include "export/text/CharGrid.h"

#include "report/ReportTypes.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace exports {

int RoundToCell(long double characters) {
    return int(std::llround(std::clamp(characters, -1e9L, 1e9L)));
}

TrpCharGrid::TrpCharGrid(int columns, int rows)
    : FColumns(std::clamp(columns, 0, MaxGridColumns)), FRows(std::clamp(rows, 0, MaxGridRows)),
      FData(qsizetype(FColumns) * FRows, ' '), FTouched(size_t(FRows), 0) {}

void TrpCharGrid::Write(int x, int y, const QByteArray& text) {
    if (y < 0 || y >= FRows)
        return;
    const int from = std::max(x, 0), to = int(std::min<qsizetype>(x + text.size(), FColumns));
    FTouched[size_t(y)] |= from < to;
    for (int c = from; c < to; ++c) {
        FData[Index(c, y)] = text[c - x];
        if (!FFrame.empty())
            FFrame[size_t(Index(c, y))] = false;
    }
}

void TrpCharGrid::WriteAligned(int x, int y, const QByteArray& line, int width, int hAlign) {
    const int length = int(line.size());
    if (length >= width) {
        Write(x, y, line);
        return;
    }
    // Only the part of the width on the grid is filled, however wide the object.
    const int from = std::max(x, 0), to = int(std::min<qint64>(qint64(x) + width, FColumns));
    if (from < to && y >= 0 && y < FRows)
        Write(from, y, QByteArray(to - from, ' '));
    int offset = 0;
    if (hAlign == report::haRight)
        offset = width - length;
    else if (hAlign == report::haCenter)
        offset = std::max(width / 2 - length / 2, 0);
    Write(int(std::clamp<qint64>(qint64(x) + offset, -1000000000, 1000000000)), y, line);
}

void TrpCharGrid::PutFrame(int x, int y, char c) {
    if (!Inside(x, y))
        return;
    if (FFrame.empty())
        FFrame.assign(size_t(FData.size()), false);
    FData[Index(x, y)] = c;
    FFrame[size_t(Index(x, y))] = true;
    FTouched[size_t(y)] = 1;
}

void TrpCharGrid::SqueezeBlankColumns() {
    std::vector<char> used(size_t(FColumns), 0);
    for (int y = 0; y < FRows; ++y) {
        if (!FTouched[size_t(y)])
            continue;
        const char* row = FData.constData() + Index(0, y);
        for (int x = 0; x < FColumns; ++x)
            used[size_t(x)] |= row[x] != ' ';
    }
    std::vector<int> kept;
    int run = 0;
    for (int x = 0; x < FColumns; ++x) {
        run = used[size_t(x)] ? 0 : run + 1;
        if (run <= 2)
            kept.push_back(x);
    }
    if (int(kept.size()) == FColumns)
        return;
    // Row by row in place: a kept column never moves right. The deleted columns come back as
    // spaces at the right end; untouched rows are spaces throughout already.
    for (int y = 0; y < FRows; ++y) {
        if (!FTouched[size_t(y)])
            continue;
        char* row = FData.data() + Index(0, y);
        for (size_t i = 0; i < kept.size(); ++i)
            row[i] = row[kept[i]];
        std::memset(row + kept.size(), ' ', size_t(FColumns) - kept.size());
    }
}

QByteArrayView TrimRight(QByteArrayView row) {
    qsizetype n = row.size();
    while (n > 0 && row[n - 1] == ' ')
        --n;
    return row.first(n);
}

} // namespace exports
