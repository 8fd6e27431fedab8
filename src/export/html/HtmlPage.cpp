#include "export/html/HtmlPage.h"

#include "export/LayoutMatrix.h"
#include "export/html/HtmlText.h"
#include "report/DrawText.h"

#include <cmath>

namespace exports {

using namespace report;

namespace {

int R(long double v) {
    return int(std::llround(v));
}

QByteArray Num(long double v) {
    return QByteArray::number(R(v));
}

// Lines end in CR LF; an empty text writes nothing.
struct Lines {
    QByteArray Data;
    void operator()(const QByteArray& s) {
        if (s.isEmpty())
            return;
        Data += s;
        Data += "\r\n";
    }
    void operator()(const QString& s) { (*this)(s.toUtf8()); }
};

const char* const kHAlign[] = {"Left", "Right", "Center", "Justify"};
const char* const kVAlign[] = {"Top", "Bottom", "Middle"};

// The distance of two lines of the style's text, as the page lays them out.
Extended LinePitch(const TrpIEMStyle& st) {
    TrpTextSettings settings;
    settings.Font = st.Font;
    settings.LineSpacing = st.LineSpacing;
    settings.WordWrap = false;
    TrpDrawText text;
    text.Layout({QStringLiteral("x")}, settings, 1000);
    return text.CalcHeight();
}

QByteArray StyleText(int index, const TrpIEMStyle& st, Extended pitch) {
    const TrpFont& f = st.Font;
    QByteArray s = ".s" + QByteArray::number(index) + " {\r\n";
    QByteArray font = " font-family: " + CssFontName(f.Name).toUtf8() +
                      ";\r\n font-size: " + Num(f.Size * 96.0L / 72) +
                      "px;\r\n color: " + HtmlColor(f.Color).toLatin1() + ";";
    if (f.Style & fsBold)
        font += " font-weight: bold;";
    font += (f.Style & fsItalic) ? " font-style: italic;" : " font-style: normal;";
    // Both lines at once are written the way style sheets combine them.
    if ((f.Style & fsUnderline) && (f.Style & fsStrikeOut))
        font += " text-decoration: underline line-through;";
    else if (f.Style & fsUnderline)
        font += " text-decoration: underline;";
    else if (f.Style & fsStrikeOut)
        font += " text-decoration: line-through;";
    s += font + "\r\n";
    s += st.Color == clNone ? QByteArray(" background-color: transparent;")
                            : " background-color: " + HtmlColor(st.Color).toLatin1() + ";";
    s += "\r\n";
    if (st.FrameTyp & ftAll) {
        s += " border-color:" + HtmlColor(st.FrameColor).toLatin1() + "; border-style: solid;\r\n";
        const std::pair<TrpFrameTypes, const char*> sides[] = {
            {ftLeft, "left"}, {ftRight, "right"}, {ftTop, "top"}, {ftBottom, "bottom"}};
        for (const auto& [side, name] : sides)
            s += QByteArray(" border-") + name +
                 "-width: " + ((st.FrameTyp & side) ? Num(st.FrameWidth) : QByteArray("0px")) + ";\r\n";
    }
    // The text stands where the page draws it: inside the memo's gaps, its lines as far apart.
    if (st.GapX > 0 || st.GapY > 0)
        s += " padding: " + Num(st.GapY) + "px " + Num(st.GapX) + "px;\r\n";
    // As a factor of the font size, so that the thin style of an empty cell keeps it thin.
    const long double px = std::max<long double>(1, std::llround(f.Size * 96.0L / 72));
    s += " line-height: " + QByteArray::number(double(pitch / px), 'f', 3) + ";\r\n";
    s += QByteArray(" text-align: ") + kHAlign[std::clamp(int(st.HAlign), 0, 3)] +
         "; vertical-align: " + kVAlign[std::clamp(int(st.VAlign), 0, 2)] + ";\r\n}";
    return s;
}

// Rows are written a little lower than the grid's, as the table has always shown them.
int RowHeight(const TrpIEMatrix& m, int y) {
    return std::max(1, R((m.GetYPosById(y + 1) - m.GetYPosById(y)) / 1.03L));
}

int RowsHeight(const TrpIEMatrix& m, int y, int count) {
    int sum = 0;
    for (int i = y; i < y + std::max(count, 1) && i + 1 < m.Height(); ++i)
        sum += RowHeight(m, i);
    return sum;
}

// A text taller than its cell, or a piece of a memo cut by the objects over it, runs on over
// the rows below, as the page draws it, instead of stretching its own rows.
QString FittedText(const TrpIEMObject& obj, const QString& text, int height,
                   const std::vector<Extended>& pitches) {
    const TrpIEMStyle* st = obj.Style;
    if (!st || obj.StyleIndex < 0 || obj.StyleIndex >= int(pitches.size()))
        return text;
    const int inner = std::max(1, height - 2 * R(st->GapY));
    const Extended needed = (text.count(QStringLiteral("<br>")) + 1) * pitches[size_t(obj.StyleIndex)];
    if (!obj.Parent && needed <= inner)
        return text;
    return QStringLiteral("<div style=\"height:%1px; overflow:visible\">").arg(inner) + text +
           QStringLiteral("</div>");
}

} // namespace

QByteArray HtmlHead(const QByteArray& doctype, const QString& title) {
    Lines out;
    out(doctype);
    out(QByteArray("<html><head>"));
    out(QByteArray(R"(<meta http-equiv="Content-Type" content="text/html; charset=utf-8">)"));
    out(QByteArray(R"(<meta name=Generator content="Tarifon 2.0 www.kviralt.ru">)"));
    out(QStringLiteral("<title>") + HtmlEscape(title) + QStringLiteral("</title>"));
    return out.Data;
}

THTMLPageWriter::THTMLPageWriter(THTMLPageSettings settings) : FSettings(std::move(settings)) {}

const std::vector<Extended>& THTMLPageWriter::Pitches(const TrpIEMatrix& m) {
    while (int(FPitches.size()) < m.StylesCount())
        FPitches.push_back(LinePitch(*m.GetStyleById(int(FPitches.size()))));
    return FPitches;
}

QByteArray THTMLPageWriter::Head(const TrpIEMatrix& m) {
    const THTMLPageSettings& s = FSettings;
    Lines out;
    out.Data = HtmlHead(R"(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">)", s.Title);
    if (s.ExportStyles) {
        const std::vector<Extended>& pitches = Pitches(m);
        out(QByteArray("<style type=\"text/css\"><!-- "));
        out(QByteArray(".page_break {page-break-before: always;}"));
        // A link shows in its memo's font, as the page draws it.
        out(QByteArray("a {color: inherit; text-decoration: inherit;}"));
        for (int i = 0; i < m.StylesCount(); ++i)
            out(StyleText(i, *m.GetStyleById(i), pitches[size_t(i)]));
        out(QByteArray("--></style>"));
    }
    out(QByteArray("</head>"));
    out(QByteArray("<body"));
    if (!s.Background.isEmpty())
        out(QStringLiteral(" background=\"") + HtmlEscape(s.Background) + QStringLiteral("\""));
    out(QByteArray(R"( bgcolor="#FFFFFF" text="#000000">)"));
    out(QByteArray(R"(<a name="PageN1"></a>)"));
    return out.Data;
}

QByteArray THTMLPageWriter::Tail() {
    return "</body></html>\r\n";
}

QByteArray THTMLPageWriter::Table(const TrpIEMatrix& m) {
    const THTMLPageSettings& s = FSettings;
    const std::vector<Extended>& pitches = Pitches(m);
    Lines out;
    QByteArray table = "<table";
    if (s.FixedWidth)
        table += " width=\"" + Num(m.MaxWidth() - m.MinLeft()) + "\"";
    if (s.Centered)
        table += " align=\"center\"";
    table += R"( border="0" cellspacing="0" cellpadding="0")";
    QByteArray columns = R"(<tr style="height: 1px">)";
    if (m.Width() < 2)
        columns += "<td/>";
    for (int i = 0; i + 1 < m.Width(); ++i)
        columns += "<td width=\"" + Num(m.GetXPosById(i + 1) - m.GetXPosById(i)) + "\"/>";
    columns += "</tr>";
    // Every page after the first begins on a new sheet of paper, with an anchor to find it by.
    if (++FTables > 1) {
        out("<a name=\"PageN" + QByteArray::number(FTables) + "\"></a>");
        out(table + " class=\"page_break\">");
    } else {
        out(table + ">");
    }
    out(columns);

    std::vector<bool> written(size_t(m.ObjectsCount()), false);
    const int lastColumn = std::max(m.Width() - 1, 0); // the right edge holds no cells
    for (int y = 0; y + 1 < m.Height(); ++y) {
        out("<tr style=\"height:" + QByteArray::number(RowHeight(m, y)) + "px\">");
        QString row;
        // Empty cells side by side are one cell across them: a page of scattered objects has
        // rows of many columns and few objects.
        int at = 0;
        auto gap = [&](int to) {
            if (to - at == 1)
                row += QLatin1String("<td/>");
            else if (to - at > 1)
                row += QStringLiteral("<td colspan=\"%1\"/>").arg(to - at);
        };
        for (const TrpIEMRun& run : m.RowRuns(y)) {
            if (run.X0 >= lastColumn)
                break;
            gap(run.X0);
            at = std::min(run.X1, lastColumn);
            const int index = run.Index;
            if (written[size_t(index)])
                continue;
            written[size_t(index)] = true;
            const TrpIEMObject& obj = *m.GetObjectById(index);
            int ox = 0, oy = 0, dx = 0, dy = 0;
            m.GetObjectPos(index, ox, oy, dx, dy);
            row += QLatin1String("<td");
            if (dx >= 2)
                row += QStringLiteral(" colspan=\"%1\"").arg(dx);
            if (dy >= 2)
                row += QStringLiteral(" rowspan=\"%1\"").arg(dy);
            if (s.ExportStyles)
                row += QStringLiteral(" class=\"s%1\"").arg(obj.StyleIndex);
            const QString text = obj.IsText ? HtmlCellText(obj.Memo, s.Tagged && s.Tagged(obj),
                                                           obj.Style ? obj.Style->Font : TrpFont())
                                            : QString();
            if (text.isEmpty())
                row += QLatin1String(" style=\"font-size:1px\"");
            row += QLatin1Char('>');
            const QString href = HtmlHref(obj.URL, s.Multipage, s.PagePrefix);
            if (!href.isEmpty())
                row += QStringLiteral("<a href=\"") + href + QStringLiteral("\">");
            if (!obj.IsText && obj.Image && s.Picture)
                row += QStringLiteral("<img src=\"") + HtmlEscape(s.Picture(*obj.Image)) +
                       QStringLiteral("\" width=\"%1\" height=\"%2\" alt=\"\">")
                           .arg(obj.Image->width())
                           .arg(obj.Image->height());
            else if (text.isEmpty())
                row += QStringLiteral("&nbsp;");
            else
                row += FittedText(obj, text, RowsHeight(m, oy, dy), pitches);
            if (!href.isEmpty())
                row += QLatin1String("</a>");
            row += QLatin1String("</td>");
        }
        gap(lastColumn);
        out(row);
        out(QByteArray("</tr>"));
    }
    out(QByteArray("</table>"));
    return out.Data;
}

QByteArray HtmlPageDocument(const TrpIEMatrix& m, const THTMLPageSettings& s) {
    THTMLPageWriter writer(s);
    const QByteArray table = writer.Table(m); // pictures are saved before the head is made
    return writer.Head(m) + table + THTMLPageWriter::Tail();
}

} // namespace exports
