#pragma once
// A page of text as a grid of single-byte characters, space-filled; what falls outside is
// dropped. Both text exports draw into one and write its rows out.

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

namespace exports {

// A page grid is at most this large; what lies beyond is dropped like anything off the grid.
inline constexpr int MaxGridColumns = 4000;
inline constexpr int MaxGridRows = 20000;

// A position or size in characters, rounded half away from zero; far-off values are held at
// a billion so that they stay off the grid instead of overflowing.
int RoundToCell(long double characters);

class TrpCharGrid {
public:
    // At most MaxGridColumns x MaxGridRows.
    TrpCharGrid(int columns, int rows);

    int Columns() const { return FColumns; }
    int Rows() const { return FRows; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < FColumns && y < FRows; }
    char At(int x, int y) const { return Inside(x, y) ? FData[Index(x, y)] : ' '; }
    void Put(int x, int y, char c) {
        if (Inside(x, y)) {
            FData[Index(x, y)] = c;
            FTouched[size_t(y)] = 1;
        }
    }
    // Writes the bytes from column x on row y; they are text, not frame.
    void Write(int x, int y, const QByteArray& text);
    // The line aligned in `width` columns from column x: right, centred (left padding
    // width / 2 - length / 2, in whole characters) or left, the rest of the width spaces; a
    // longer line is written whole.
    void WriteAligned(int x, int y, const QByteArray& line, int width, int hAlign);
    // A frame character, and whether a cell holds one (text written over it is text again).
    void PutFrame(int x, int y, char c);
    bool IsFrame(int x, int y) const {
        return Inside(x, y) && !FFrame.empty() && FFrame[size_t(Index(x, y))];
    }
    QByteArrayView Row(int y) const { return QByteArrayView(FData.constData() + Index(0, y), FColumns); }
    // False for a row nothing was ever written to: all spaces, known without looking.
    bool Touched(int y) const { return FTouched[size_t(y)] != 0; }

    // Deletes every blank column after the first two of a run of blank columns.
    void SqueezeBlankColumns();

private:
    qsizetype Index(int x, int y) const { return qsizetype(y) * FColumns + x; }

    int FColumns, FRows;
    QByteArray FData;           // row by row
    std::vector<char> FTouched; // per row
    std::vector<bool> FFrame;   // made on the first frame character
};

// The row without trailing spaces.
QByteArrayView TrimRight(QByteArrayView row);

} // namespace exports
