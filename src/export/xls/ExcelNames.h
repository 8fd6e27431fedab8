#pragma once
// Cell addresses and the worksheet limits of the spreadsheet wrapper, without the office: the
// export computes every address it hands over from these, and they are tested on their own.

#include <QString>
#include <optional>
#include <variant>

namespace exports {

// The highest worksheet column a selection may reach, and the widest column index that still
// takes a width (the binary workbook format has 256 columns, the last kept free).
constexpr int kLastSelectableColumn = 254;
constexpr int kLastSizedColumn = 255;
// Row heights set one by one never exceed this many points.
constexpr double kMaxRowHeight = 409;
// The longest address text (a union of addresses) handed over in one call.
constexpr int kMaxUnionLength = 255;

// Column letters: 1 -> A, 26 -> Z, 27 -> AA, 256 -> IV.
QString ColumnName(int n);
// Column letters and the row number: (28, 7) -> AB7.
QString CellName(int column, int row);

// The range SelectCells(x, y, rows, columns) stands for after clipping to the selectable
// columns, as "A1:B2"; nothing when a count ends up zero or below (the selection then stays).
std::optional<QString> SelectionAddress(int x, int y, int rows, int columns);

// Whether a column gets this width (character units), and the height a row gets when set one
// by one (nothing for a height of zero or below).
bool ColumnWidthApplies(int column, double width);
std::optional<double> CappedRowHeight(double height);

// The cells an address names ("B5:D6" or "B5"), columns and rows from 1; nothing for a text
// that is no address.
struct TrpCellRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TrpCellRect&) const = default;
};
std::optional<TrpCellRect> ParseAddress(const QString& address);

// What a cell becomes when a text is assigned as its value: a leading apostrophe makes the
// rest text; a number written the locale-free way (optional sign, digits, one ".", exponent)
// becomes that number; anything else stays text.
using TrpCellValue = std::variant<QString, double>;
TrpCellValue CellValueOf(const QString& text);

// The separator between the addresses of a union of cells: the desktop's list separator,
// which follows its decimal separator (";" where numbers take a decimal comma, else ",").
QChar ListSeparator();

} // namespace exports
