#include "export/xml/XmlWorkbook.h"

#include "export/LayoutMatrix.h"
#include "export/Progress.h"
#include "export/Spool.h"
#include "export/pdf/PdfFormat.h"
#include "platform/NumberText.h"
#include "platform/RegionalSettings.h"
#include "report/EngineTexts.h"

#include <QDataStream>
#include <QIODevice>
#include <QLocale>
#include <algorithm>
#include <iterator>
#include <map>
#include <vector>

namespace exports {

using namespace report;

namespace {

// Report pixels per point as the spreadsheet measures columns and rows.
constexpr Extended kPixelsPerPoint = 1.376L;
// Millimetres per margin unit of the page setup.
constexpr Extended kMarginUnit = 26.6L;

QByteArray Attr(const char* name, const QByteArray& value) {
    return QByteArray(" ") + name + "=\"" + value + '"';
}

} // namespace

QByteArray XmlText(const QString& text) {
    QString out;
    out.reserve(text.size() + 16);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'\r':
            if (i + 1 < n && text[i + 1] == u'\n') {
                out += QLatin1String("&#10;");
                ++i;
            } else {
                out += c;
            }
            break;
        case u'\t':
            out += c;
            break;
        default:
            // A lone LF is dropped, and so is every control character XML cannot carry.
            if (c.unicode() >= 0x20 && c.unicode() != 0xFFFE && c.unicode() != 0xFFFF)
                out += c;
        }
    }
    return out.toUtf8();
}

bool LooksNumeric(const QString& text) {
    for (QChar c : text)
        if (!(c == u' ' || c == u',' || c == u'-' || c == u'.' || c.isDigit() || c == QChar(0x00A0) ||
              c == QChar(0x202F) || c == QChar(0x0440)))
            return false;
    return true;
}

QByteArray ExcelNumberFormat(const QString& format) {
    QByteArray decimals;
    if (const qsizetype dot = format.indexOf(u'.'); dot >= 0) {
        bool ok = false;
        const int n = format.mid(dot + 1, format.size() - dot - 2).toInt(&ok);
        if (ok && n > 0)
            decimals = '.' + QByteArray(std::min(n, 30), '0');
    }
    const QChar last = format.isEmpty() ? QChar() : format.back();
    if (last == u'f')
        return "0" + decimals;
    if (last == u'g')
        return "0.##";
    if (last == u'm')
        return "#,##0.00&quot;" + QStringLiteral("р.").toUtf8() + "&quot;";
    if (last == u'n')
        return "#,##0" + decimals;
    return "#,##0.00";
}

QByteArray XmlColor(TColor color) {
    const QColor c = color == clNone ? QColor(Qt::white) : ColorToQColor(color);
    return '#' + c.name(QColor::HexRgb).mid(1).toUpper().toLatin1();
}

std::optional<QByteArray> ShownNumber(const QString& text, const TrpFormat& format) {
    const RegionalSettings regional = RegionalSettings::System();
    QString s = text;
    s.remove(QString::fromStdString(regional.ThousandSeparator));
    // The currency as the regional settings write it, and the rouble's sign.
    for (const QString& currency : {QLocale::system().currencySymbol(QLocale::CurrencySymbol),
                                    QStringLiteral("р."), QStringLiteral("₽")})
        if (!currency.isEmpty())
            s.remove(currency);
    const QString decimal = format.DecimalSeparator.isEmpty()
                                ? QString::fromStdString(regional.DecimalSeparator)
                                : format.DecimalSeparator;
    if (decimal != u".")
        s.replace(decimal, QStringLiteral("."));
    s = s.trimmed();
    long double value = 0;
    if (!platform::ParseNumber(s.toStdString(), value))
        return std::nullopt;
    return s.toLatin1();
}

namespace {

// The sheet's limits: the spreadsheet application takes no more rows and columns.
constexpr long long kMaxRows = 1'048'576;
constexpr long long kMaxColumns = 16'384;

QByteArray N(long long v) {
    return QByteArray::number(v);
}

void Line(QByteArray& out, const QByteArray& s) {
    out += s;
    out += "\r\n";
}

} // namespace

// Each page is kept as its rows with the cells' edges as positions, not column numbers: the
// worksheet's columns are those of every page, known only after the last one.
struct TrpXMLWorkbook::Cell {
    Extended Left = 0, Right = 0;
    qint32 MergeDown = 0;
    qint32 Style = -1; // a visual style; below -1, number format -2 - n
    QByteArray Data;
};

TrpXMLWorkbook::TrpXMLWorkbook(TrpIEMatrix& matrix, const TrpXMLWorkbookOptions& options)
    : M(matrix), O(options) {}

TrpXMLWorkbook::~TrpXMLWorkbook() = default;

QByteArray TrpXMLWorkbook::Page() {
    // The page's columns join the sheet's; a sheet that cannot hold them is refused now.
    JoinColumns(FColumns, M);
    if (qsizetype(FColumns.size()) > kMaxColumns)
        throw TrpTooLarge(rpGet(QStringLiteral("exTooManyColumns")).arg(FColumns.size()).arg(kMaxColumns));
    const int rows = std::max(M.Height() - 1, 0);
    if (FRows + rows + 1 > kMaxRows)
        throw TrpTooLarge(rpGet(QStringLiteral("exTooManyRows")).arg(FRows + rows + 1).arg(kMaxRows));
    if (FPages > 0)
        FBreaks.push_back(FRows + 1);

    QByteArray page;
    QDataStream out(&page, QIODevice::WriteOnly);
    auto position = [&](Extended v) { out.writeRawData(reinterpret_cast<const char*>(&v), sizeof v); };
    std::vector<char> written(size_t(M.ObjectsCount()), 0);
    for (int s = 0; s < rows; ++s) {
        out << PdfNumber((M.GetYPosById(s + 1) - M.GetYPosById(s)) / kPixelsPerPoint);
        std::vector<Cell> cells;
        for (const TrpIEMRun& run : M.RowRuns(s)) {
            const TrpIEMObject* obj = M.GetObjectById(run.Index);
            if (!obj || !obj->IsText || written[size_t(run.Index)])
                continue;
            written[size_t(run.Index)] = 1;
            cells.push_back(TextCell(*obj, run.Index));
        }
        out << qint32(cells.size());
        for (const Cell& c : cells) {
            position(c.Left);
            position(c.Right);
            out << c.MergeDown << c.Style << c.Data;
        }
    }
    FRows += rows;
    ++FPages;
    return page;
}

TrpXMLWorkbook::Cell TrpXMLWorkbook::TextCell(const TrpIEMObject& obj, int index) {
    int x, y, dx, dy;
    M.GetObjectPos(index, x, y, dx, dy);
    Cell cell;
    cell.Left = M.GetXPosById(x);
    cell.Right = M.GetXPosById(x + std::max(dx, 1));
    cell.MergeDown = dy >= 2 ? dy - 1 : 0;
    const bool numeric = obj.DisplayFormat.Kind == fkNumeric;
    cell.Style = obj.StyleIndex;
    if (numeric && obj.DisplayFormat.FormatStr != u"%2.2n") {
        // Number formats other than the default one get a style of their own, numbered after
        // the visual styles, in the order the rows meet them.
        auto it = FFormats.find(obj.DisplayFormat.FormatStr);
        if (it == FFormats.end()) {
            it = FFormats.emplace(obj.DisplayFormat.FormatStr, int(FFormatOrder.size())).first;
            FFormatOrder.push_back(obj.DisplayFormat.FormatStr);
        }
        cell.Style = -2 - it->second;
    }
    const QString text = obj.Memo.join(QStringLiteral("\r\n"));
    std::optional<QByteArray> number;
    if (numeric && LooksNumeric(text))
        number = ShownNumber(text, obj.DisplayFormat);
    cell.Data = number ? "<Data ss:Type=\"Number\">" + *number + "</Data>"
                       : "<Data ss:Type=\"String\">" + XmlText(text) + "</Data>";
    return cell;
}

QByteArray TrpXMLWorkbook::Head() const {
    QByteArray out;
    Line(out, "<?xml version=\"1.0\"?>");
    Line(out, "<?mso-application progid=\"Excel.Sheet\"?>");
    Line(out, "<?tp-application created=\"" + XmlText(O.Creator) + "\"?>");
    Line(out, "<?tp-application homesite=\"" + XmlText(O.HomeSite) + "\"?>");
    Line(out, "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\"");
    Line(out, " xmlns:o=\"urn:schemas-microsoft-com:office:office\"");
    Line(out, " xmlns:x=\"urn:schemas-microsoft-com:office:excel\"");
    Line(out, " xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"");
    Line(out, " xmlns:html=\"http://www.w3.org/TR/REC-html40\">");
    Line(out, "<DocumentProperties xmlns=\"urn:schemas-microsoft-com:office:office\">");
    Line(out, "<Title>" + XmlText(O.Title) + "</Title>");
    Line(out, "<Author>" + XmlText(O.Author) + "</Author>");
    // A timestamp in the file's own notation, whatever the regional settings.
    Line(out, "<Created>" + O.Created.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() +
                  "Z</Created>");
    Line(out, "<Version>" + XmlText(O.Version) + "</Version>");
    Line(out, "</DocumentProperties>");
    Line(out, "<ExcelWorkbook xmlns=\"urn:schemas-microsoft-com:office:excel\">");
    Line(out, "<ProtectStructure>False</ProtectStructure>");
    Line(out, "<ProtectWindows>False</ProtectWindows>");
    Line(out, "</ExcelWorkbook>");
    if (O.Styles)
        Styles(out);
    Line(out, "<Worksheet ss:Name=\"Page 1\">");
    Line(out, "<Table" + Attr("ss:ExpandedColumnCount", N(qsizetype(FColumns.size()))) +
                  Attr("ss:ExpandedRowCount", N(FRows + 1)) + " x:FullColumns=\"1\" x:FullRows=\"1\">");
    for (size_t o = 1; o < FColumns.size(); ++o)
        Line(out, "<Column ss:AutoFitWidth=\"0\"" +
                      Attr("ss:Width", PdfNumber((FColumns[o] - FColumns[o - 1]) / kPixelsPerPoint)) + "/>");
    return out;
}

void TrpXMLWorkbook::Styles(QByteArray& out) const {
    Line(out, "<Styles>");
    for (int i = 0; i < M.StylesCount(); ++i) {
        const TrpIEMStyle& s = *M.GetStyleById(i);
        Line(out, "<Style ss:ID=\"s" + N(i) + "\">");
        QByteArray font = "<Font" + Attr("ss:FontName", XmlText(s.Font.Name)) +
                          Attr("ss:Size", N(s.Font.Size)) + Attr("ss:Color", XmlColor(s.Font.Color));
        if (s.Font.Style & fsBold)
            font += " ss:Bold=\"1\"";
        if (s.Font.Style & fsItalic)
            font += " ss:Italic=\"1\"";
        if (s.Font.Style & fsUnderline)
            font += " ss:Underline=\"Single\"";
        Line(out, font + "/>");
        Line(out, "<Interior" + Attr("ss:Color", XmlColor(s.Color)) + " ss:Pattern=\"Solid\"/>");
        const char* h = s.HAlign == haRight    ? "Right"
                        : s.HAlign == haCenter ? "Center"
                        : s.HAlign == haBlock  ? "Justify"
                                               : "Left";
        const char* v = s.VAlign == vaBottom ? "Bottom" : s.VAlign == vaCenter ? "Center" : "Top";
        QByteArray rotation;
        if (s.Rotation >= 1 && s.Rotation <= 90)
            rotation = "ss:Rotate=\"" + N(s.Rotation) + '"';
        else if (s.Rotation >= 270 && s.Rotation <= 359)
            rotation = "ss:Rotate=\"" + N(s.Rotation - 360) + '"';
        Line(out, "<Alignment" + Attr("ss:Horizontal", h) + Attr("ss:Vertical", v) + " ss:WrapText=\"1\" " +
                      rotation + "/>");
        Line(out, "<Borders>");
        const std::pair<TrpFrameTypes, const char*> sides[] = {
            {ftLeft, "Left"}, {ftRight, "Right"}, {ftTop, "Top"}, {ftBottom, "Bottom"}};
        for (const auto& [side, name] : sides)
            if (s.FrameTyp & side)
                Line(out, "<Border ss:Position=\"" + QByteArray(name) +
                              "\" ss:LineStyle=\"Continuous\" ss:Weight=\"" + (s.FrameWidth > 1 ? "3" : "1") +
                              "\" ss:Color=\"" + XmlColor(s.FrameColor) + "\" />");
        Line(out, "</Borders>");
        Line(out, "<NumberFormat ss:Format=\"#,##0.00\"/>");
        Line(out, "</Style>");
    }
    for (size_t k = 0; k < FFormatOrder.size(); ++k) {
        Line(out, "<Style ss:ID=\"s" + N(M.StylesCount() + qsizetype(k)) + "\">");
        Line(out, "<NumberFormat ss:Format=\"" + ExcelNumberFormat(FFormatOrder[k]) + "\"/>");
        Line(out, "</Style>");
    }
    Line(out, "</Styles>");
}

QByteArray TrpXMLWorkbook::Rows(const QByteArray& page) const {
    QByteArray out;
    QDataStream in(page);
    auto position = [&] {
        Extended v = 0;
        in.readRawData(reinterpret_cast<char*>(&v), sizeof v);
        return v;
    };
    auto column = [&](Extended v) {
        return qsizetype(std::lower_bound(FColumns.begin(), FColumns.end(), v) - FColumns.begin());
    };
    while (!in.atEnd()) {
        QByteArray height;
        qint32 count = 0;
        in >> height >> count;
        Line(out, "<Row" + Attr("ss:Height", height) + ">");
        qsizetype next = 0; // cells of a row never overlap, whatever lines other pages brought
        for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
            const Extended left = position(), right = position();
            qint32 down = 0, style = 0;
            QByteArray data;
            in >> down >> style >> data;
            const qsizetype first = std::max(column(left), next), last = std::max(column(right), first + 1);
            next = last;
            QByteArray cell = "<Cell ss:Index=\"" + N(first + 1) + "\" ";
            if (last - first >= 2)
                cell += "ss:MergeAcross=\"" + N(last - first - 1) + "\" ";
            if (down > 0)
                cell += "ss:MergeDown=\"" + N(down) + "\" ";
            if (O.Styles)
                cell += "ss:StyleID=\"s" + N(style >= 0 ? style : M.StylesCount() + (-2 - style)) + "\" ";
            Line(out, cell + ">");
            Line(out, data);
            Line(out, "</Cell>");
        }
        Line(out, "</Row>");
    }
    return out;
}

QByteArray TrpXMLWorkbook::Tail() const {
    QByteArray out;
    Line(out, "</Table>");
    Line(out, "<WorksheetOptions xmlns=\"urn:schemas-microsoft-com:office:excel\">");
    Line(out, "<PageSetup>");
    if (O.Orientation == poLandscape)
        Line(out, "<Layout x:Orientation=\"Landscape\"/>");
    Line(out, "<PageMargins" + Attr("x:Bottom", PdfNumber(O.BottomMargin / kMarginUnit)) +
                  Attr("x:Left", PdfNumber(O.LeftMargin / kMarginUnit)) +
                  Attr("x:Right", PdfNumber(O.RightMargin / kMarginUnit)) +
                  Attr("x:Top", PdfNumber(O.TopMargin / kMarginUnit)) + "/>");
    Line(out, "</PageSetup>");
    Line(out, "</WorksheetOptions>");
    if (O.PageBreaks) {
        Line(out, "<PageBreaks xmlns=\"urn:schemas-microsoft-com:office:excel\">");
        Line(out, "<RowBreaks>");
        for (long long row : FBreaks) {
            Line(out, "<RowBreak>");
            Line(out, "<Row>" + N(row) + "</Row>");
            Line(out, "</RowBreak>");
        }
        Line(out, "</RowBreaks>");
        Line(out, "</PageBreaks>");
    }
    Line(out, "</Worksheet>");
    Line(out, "</Workbook>");
    return out;
}

} // namespace exports
