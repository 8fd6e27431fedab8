#include "export/xls/ExcelNames.h"

#include "platform/NumberText.h"
#include "platform/RegionalSettings.h"

namespace exports {

QString ColumnName(int n) {
    if (n <= 26)
        return QString(QChar(64 + n));
    const QChar first(n % 26 == 0 ? 63 + n / 26 : 64 + n / 26);
    const QChar second(n % 26 == 0 ? u'Z' : QChar(64 + n % 26));
    return QString(first) + second;
}

QString CellName(int column, int row) {
    return ColumnName(column) + QString::number(row);
}

std::optional<QString> SelectionAddress(int x, int y, int rows, int columns) {
    if (x >= 256)
        x = 255;
    if (x + columns >= 256)
        columns = 255 - x;
    if (rows <= 0 || columns <= 0)
        return std::nullopt;
    return CellName(x, y) + u':' + CellName(x + columns - 1, y + rows - 1);
}

namespace {

// One cell name; false when it is none.
bool ParseCell(QStringView name, int& column, int& row) {
    qsizetype i = 0;
    column = 0;
    while (i < name.size() && name[i] >= u'A' && name[i] <= u'Z' && i < 3)
        column = column * 26 + (name[i++].unicode() - u'A' + 1);
    bool ok = false;
    row = name.mid(i).toInt(&ok);
    ok = ok && row > 0;
    return i > 0 && i < name.size() && name[i].isDigit() && ok;
}

} // namespace

std::optional<TrpCellRect> ParseAddress(const QString& address) {
    const qsizetype colon = address.indexOf(u':');
    TrpCellRect r;
    const QStringView a(address);
    if (!ParseCell(colon < 0 ? a : a.left(colon), r.Left, r.Top))
        return std::nullopt;
    if (colon < 0) {
        r.Right = r.Left;
        r.Bottom = r.Top;
    } else if (!ParseCell(a.mid(colon + 1), r.Right, r.Bottom)) {
        return std::nullopt;
    }
    return r;
}

bool ColumnWidthApplies(int column, double width) {
    return width > 0 && width < 256 && column <= kLastSizedColumn && column >= 1;
}

std::optional<double> CappedRowHeight(double height) {
    if (!(height > 0))
        return std::nullopt;
    return std::min(height, kMaxRowHeight);
}

TrpCellValue CellValueOf(const QString& text) {
    if (text.startsWith(u'\''))
        return text.mid(1);
    long double value = 0;
    const QByteArray bytes = text.toLatin1();
    // Only plain ASCII can be a number; ParseNumber takes no blanks, commas or locale marks.
    if (!text.isEmpty() && bytes.size() == text.size() &&
        platform::ParseNumber(std::string_view(bytes.constData(), size_t(bytes.size())), value))
        return double(value);
    return text;
}

QChar ListSeparator() {
    return platform::RegionalSettings::System().DecimalSeparator == "," ? u';' : u',';
}

} // namespace exports
