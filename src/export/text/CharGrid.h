#pragma once
// A page of text as a grid of single-byte characters, space-filled; what falls outside is
// dropped. Both text exports draw into one and write its rows out.

#include <QByteArray>
#include <vector>

namespace exports {

class TrpCharGrid {
public:
    TrpCharGrid(int columns, int rows);

    int Columns() const { return FColumns; }
    int Rows() const { return FRows; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < FColumns && y < FRows; }
    char At(int x, int y) const { return Inside(x, y) ? FRowsData[size_t(y)][x] : ' '; }
    void Put(int x, int y, char c) {
        if (Inside(x, y))
            FRowsData[size_t(y)][x] = c;
    }
    // Writes the bytes from column x on row y; they are text, not frame.
    void Write(int x, int y, const QByteArray& text);
    // A frame character, and whether a cell holds one (text written over it is text again).
    void PutFrame(int x, int y, char c);
    bool IsFrame(int x, int y) const;
    QByteArray& Row(int y) { return FRowsData[size_t(y)]; }

    // Deletes every blank column after the first two of a run of blank columns.
    void SqueezeBlankColumns();

private:
    int FColumns, FRows;
    std::vector<QByteArray> FRowsData;
    std::vector<std::vector<bool>> FFrame; // made on the first frame character
};

// A line padded to `width` by its alignment: right, centred (the left padding is
// width / 2 - length / 2, in whole characters) or left; a longer line stays whole.
QByteArray PadLine(const QByteArray& line, int width, int hAlign);

// The row without trailing spaces.
QByteArray TrimRight(const QByteArray& row);

} // namespace exports
