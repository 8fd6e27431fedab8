#include "export/xml/XmlWorkbook.h"

#include "export/LayoutMatrix.h"
#include "export/Progress.h"
#include "export/pdf/PdfFormat.h"
#include "platform/NumberText.h"
#include "platform/RegionalSettings.h"
#include "report/EngineTexts.h"

#include <QLocale>
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

class TrpXMLWriter {
public:
    TrpXMLWriter(TrpIEMatrix& matrix, const TrpXMLWorkbookOptions& options, TrpProgress* progress)
        : M(matrix), O(options), FProgress(progress) {}

    bool Write(QByteArray& out) {
        if (FProgress)
            FProgress->Execute(M.PagesCount(), rpGet(QStringLiteral("xmlExportingPages")), true, true);
        Head();
        if (O.Styles)
            Styles();
        Line("<Worksheet ss:Name=\"Page 1\">");
        Line("<Table" + Attr("ss:ExpandedColumnCount", N(M.Width())) +
             Attr("ss:ExpandedRowCount", N(M.Height())) + " x:FullColumns=\"1\" x:FullRows=\"1\">");
        for (int o = 1; o < M.Width(); ++o)
            Line("<Column ss:AutoFitWidth=\"0\"" +
                 Attr("ss:Width", PdfNumber((M.GetXPosById(o) - M.GetXPosById(o - 1)) / kPixelsPerPoint)) +
                 "/>");
        const bool complete = Rows();
        Line("</Table>");
        Line("<WorksheetOptions xmlns=\"urn:schemas-microsoft-com:office:excel\">");
        Line("<PageSetup>");
        if (O.Orientation == poLandscape)
            Line("<Layout x:Orientation=\"Landscape\"/>");
        Line("<PageMargins" + Attr("x:Bottom", PdfNumber(O.BottomMargin / kMarginUnit)) +
             Attr("x:Left", PdfNumber(O.LeftMargin / kMarginUnit)) +
             Attr("x:Right", PdfNumber(O.RightMargin / kMarginUnit)) +
             Attr("x:Top", PdfNumber(O.TopMargin / kMarginUnit)) + "/>");
        Line("</PageSetup>");
        Line("</WorksheetOptions>");
        if (O.PageBreaks) {
            Line("<PageBreaks xmlns=\"urn:schemas-microsoft-com:office:excel\">");
            Line("<RowBreaks>");
            for (size_t i = 0; i < FBreaks.size() && int(i) < M.PagesCount() - 1; ++i) {
                Line("<RowBreak>");
                Line("<Row>" + N(FBreaks[i]) + "</Row>");
                Line("</RowBreak>");
            }
            Line("</RowBreaks>");
            Line("</PageBreaks>");
        }
        Line("</Worksheet>");
        Line("</Workbook>");
        if (FProgress)
            FProgress->Hide();
        out = std::move(FOut);
        return complete;
    }

private:
    static QByteArray N(long long v) { return QByteArray::number(v); }

    void Line(const QByteArray& s) {
        FOut += s;
        FOut += "\r\n";
    }

    void Head() {
        Line("<?xml version=\"1.0\"?>");
        Line("<?mso-application progid=\"Excel.Sheet\"?>");
        Line("<?tp-application created=\"" + XmlText(O.Creator) + "\"?>");
        Line("<?tp-application homesite=\"" + XmlText(O.HomeSite) + "\"?>");
        Line("<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\"");
        Line(" xmlns:o=\"urn:schemas-microsoft-com:office:office\"");
        Line(" xmlns:x=\"urn:schemas-microsoft-com:office:excel\"");
        Line(" xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"");
        Line(" xmlns:html=\"http://www.w3.org/TR/REC-html40\">");
        Line("<DocumentProperties xmlns=\"urn:schemas-microsoft-com:office:office\">");
        Line("<Title>" + XmlText(O.Title) + "</Title>");
        Line("<Author>" + XmlText(O.Author) + "</Author>");
        // A timestamp in the file's own notation, whatever the regional settings.
        Line("<Created>" + O.Created.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() +
             "Z</Created>");
        Line("<Version>" + XmlText(O.Version) + "</Version>");
        Line("</DocumentProperties>");
        Line("<ExcelWorkbook xmlns=\"urn:schemas-microsoft-com:office:excel\">");
        Line("<ProtectStructure>False</ProtectStructure>");
        Line("<ProtectWindows>False</ProtectWindows>");
        Line("</ExcelWorkbook>");
    }

    void Styles() {
        Line("<Styles>");
        for (int i = 0; i < M.StylesCount(); ++i) {
            const TrpIEMStyle& s = *M.GetStyleById(i);
            Line("<Style ss:ID=\"s" + N(i) + "\">");
            QByteArray font = "<Font" + Attr("ss:FontName", XmlText(s.Font.Name)) +
                              Attr("ss:Size", N(s.Font.Size)) + Attr("ss:Color", XmlColor(s.Font.Color));
            if (s.Font.Style & fsBold)
                font += " ss:Bold=\"1\"";
            if (s.Font.Style & fsItalic)
                font += " ss:Italic=\"1\"";
            if (s.Font.Style & fsUnderline)
                font += " ss:Underline=\"Single\"";
            Line(font + "/>");
            Line("<Interior" + Attr("ss:Color", XmlColor(s.Color)) + " ss:Pattern=\"Solid\"/>");
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
            Line("<Alignment" + Attr("ss:Horizontal", h) + Attr("ss:Vertical", v) + " ss:WrapText=\"1\" " +
                 rotation + "/>");
            Line("<Borders>");
            const std::pair<TrpFrameTypes, const char*> sides[] = {
                {ftLeft, "Left"}, {ftRight, "Right"}, {ftTop, "Top"}, {ftBottom, "Bottom"}};
            for (const auto& [side, name] : sides)
                if (s.FrameTyp & side)
                    Line("<Border ss:Position=\"" + QByteArray(name) +
                         "\" ss:LineStyle=\"Continuous\" ss:Weight=\"" + (s.FrameWidth > 1 ? "3" : "1") +
                         "\" ss:Color=\"" + XmlColor(s.FrameColor) + "\" />");
            Line("</Borders>");
            Line("<NumberFormat ss:Format=\"#,##0.00\"/>");
            Line("</Style>");
        }
        // Number formats of numeric memos other than the default one.
        int next = M.StylesCount();
        for (int y = 0; y < M.Height(); ++y)
            for (int x = 0; x < M.Width(); ++x) {
                const TrpIEMObject* obj = M.GetObject(x, y);
                if (!obj || obj->DisplayFormat.Kind != fkNumeric ||
                    obj->DisplayFormat.FormatStr == u"%2.2n" || FFormats.count(obj->DisplayFormat.FormatStr))
                    continue;
                const QByteArray id = "s" + N(next++);
                FFormats.emplace(obj->DisplayFormat.FormatStr, id);
                Line("<Style ss:ID=\"" + id + "\">");
                Line("<NumberFormat ss:Format=\"" + ExcelNumberFormat(obj->DisplayFormat.FormatStr) + "\"/>");
                Line("</Style>");
            }
        Line("</Styles>");
    }

    // The rows; false when cancelled.
    bool Rows() {
        std::vector<char> written(size_t(M.ObjectsCount()), 0);
        int page = 0;
        for (int s = 0; s + 1 < M.Height(); ++s) {
            const Extended top = M.GetYPosById(s);
            if (page < M.PagesCount() && M.GetPageBreak(page) <= top) {
                ++page;
                FBreaks.push_back(s + 1);
                if (FProgress) {
                    FProgress->Tick();
                    if (FProgress->Terminated())
                        return false;
                }
            }
            Line("<Row" + Attr("ss:Height", PdfNumber((M.GetYPosById(s + 1) - top) / kPixelsPerPoint)) + ">");
            for (int i = 0; i < M.Width(); ++i) {
                const int index = M.GetCell(i, s);
                if (index < 0) {
                    Line("<Cell ss:Index=\"" + N(i + 1) + "\" />");
                    continue;
                }
                const TrpIEMObject* obj = M.GetObjectById(index);
                if (!obj->IsText || written[size_t(index)])
                    continue;
                written[size_t(index)] = 1;
                TextCell(*obj, index, i);
            }
            Line("</Row>");
        }
        return true;
    }

    void TextCell(const TrpIEMObject& obj, int index, int column) {
        int x, y, dx, dy;
        M.GetObjectPos(index, x, y, dx, dy);
        QByteArray cell = "<Cell ss:Index=\"" + N(column + 1) + "\" ";
        if (dx >= 2)
            cell += "ss:MergeAcross=\"" + N(dx - 1) + "\" ";
        if (dy >= 2)
            cell += "ss:MergeDown=\"" + N(dy - 1) + "\" ";
        const bool numeric = obj.DisplayFormat.Kind == fkNumeric;
        if (O.Styles) {
            auto it = numeric ? FFormats.find(obj.DisplayFormat.FormatStr) : FFormats.end();
            cell += "ss:StyleID=\"" + (it != FFormats.end() ? it->second : "s" + N(obj.StyleIndex)) + "\" ";
        }
        Line(cell + ">");
        const QString text = obj.Memo.join(QStringLiteral("\r\n"));
        std::optional<QByteArray> number;
        if (numeric && LooksNumeric(text))
            number = ShownNumber(text, obj.DisplayFormat);
        if (number)
            Line("<Data ss:Type=\"Number\">" + *number + "</Data>");
        else
            Line("<Data ss:Type=\"String\">" + XmlText(text) + "</Data>");
        Line("</Cell>");
    }

    TrpIEMatrix& M;
    const TrpXMLWorkbookOptions& O;
    TrpProgress* FProgress;
    QByteArray FOut;
    std::map<QString, QByteArray> FFormats; // format string -> style identifier
    std::vector<int> FBreaks;               // rows at which pages end
};

} // namespace

bool WriteXMLWorkbook(TrpIEMatrix& matrix, const TrpXMLWorkbookOptions& options, TrpProgress* progress,
                      QByteArray& out) {
    return TrpXMLWriter(matrix, options, progress).Write(out);
}

} // namespace exports
