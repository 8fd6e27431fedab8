#include "export/html/HtmlText.h"

#include "platform/Colors.h"
#include "report/DrawText.h"

#include <QRegularExpression>
#include <QUrl>

namespace exports {

using namespace report;

QString HtmlEscape(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

namespace {

// The tags a run of characters needs beyond the cell's font, opening and closing.
struct RunTags {
    QString Open, Close;
};

RunTags TagsFor(const TrpHTMLTag& tag, const TrpFont& font) {
    RunTags t;
    auto wrap = [&t](const QString& open, const QString& name) {
        t.Open += open;
        t.Close.prepend(QLatin1String("</") + name + QLatin1Char('>'));
    };
    const int added = tag.Style & ~font.Style;
    if (added & fsBold)
        wrap(QStringLiteral("<b>"), QStringLiteral("b"));
    if (added & fsItalic)
        wrap(QStringLiteral("<i>"), QStringLiteral("i"));
    if (added & fsUnderline)
        wrap(QStringLiteral("<u>"), QStringLiteral("u"));
    if (added & fsStrikeOut)
        wrap(QStringLiteral("<s>"), QStringLiteral("s"));
    if (tag.Color != font.Color)
        wrap(QStringLiteral("<font color=\"") + HtmlColor(tag.Color) + QStringLiteral("\">"),
             QStringLiteral("font"));
    if (tag.Reduced)
        wrap(tag.Shifted ? QStringLiteral("<sub>") : QStringLiteral("<sup>"),
             tag.Shifted ? QStringLiteral("sub") : QStringLiteral("sup"));
    return t;
}

// One line of a memo that renders tags: the characters it draws, escaped, in runs of equal
// attributes.
QString TaggedLine(const QString& line, const TrpFont& font, TrpHTMLTag& state) {
    std::vector<TrpHTMLTag> tags;
    const QString text = TrpDrawText::ParseTags(line, font, state, tags);
    QString out;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype j = i + 1;
        while (j < text.size() && tags[size_t(j)] == tags[size_t(i)])
            ++j;
        const RunTags t = TagsFor(tags[size_t(i)], font);
        out += t.Open + HtmlEscape(text.mid(i, j - i)) + t.Close;
        i = j;
    }
    return out;
}

} // namespace

QString HtmlCellText(const QStringList& lines, bool tags, const TrpFont& font) {
    // The memo's lines may themselves hold line breaks; one trailing break is dropped.
    QStringList all = lines.join(QLatin1Char('\n')).split(QLatin1Char('\n'));
    for (QString& l : all)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    if (all.size() > 1 && all.last().isEmpty())
        all.removeLast();
    TrpHTMLTag state{font.Size, false, false, font.Style, font.Color};
    QStringList out;
    out.reserve(all.size());
    for (const QString& line : all) {
        // A lone CR is dropped, as a lone LF is.
        QString l = line;
        l.remove(QLatin1Char('\r'));
        out << (tags ? TaggedLine(l, font, state) : HtmlEscape(l));
    }
    return out.join(QStringLiteral("<br>")).trimmed();
}

namespace {

// The address as a browser reads it: no leading or trailing controls or spaces, and no tabs or
// line breaks anywhere.
QString AsBrowserReads(const QString& url) {
    QString s;
    s.reserve(url.size());
    for (const QChar c : url)
        if (c != u'\t' && c != u'\n' && c != u'\r')
            s += c;
    qsizetype from = 0, to = s.size();
    while (from < to && s[from].unicode() <= 0x20)
        ++from;
    while (to > from && s[to - 1].unicode() <= 0x20)
        --to;
    return s.mid(from, to - from);
}

bool IsWebScheme(const QString& scheme) {
    static const QStringList web = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("ftp"),
                                    QStringLiteral("mailto")};
    return web.contains(scheme.toLower());
}

} // namespace

QString HtmlHref(const QString& url, bool multipage, const QString& pagePrefix) {
    const QString u = AsBrowserReads(url);
    if (u.isEmpty())
        return {};
    if (u.startsWith(QLatin1Char('@'))) {
        static const QRegularExpression number(QStringLiteral("^[0-9]{1,9}$"));
        const QString n = u.mid(1).trimmed();
        if (!number.match(n).hasMatch() || n.toInt() < 1)
            return {};
        const QString page = QString::number(n.toInt());
        return multipage ? HtmlEscape(pagePrefix + page + QStringLiteral(".html"))
                         : QStringLiteral("#PageN") + page;
    }
    // A colon before any "/", "?" or "#" ends a scheme; only the web's are written.
    const qsizetype colon = u.indexOf(QLatin1Char(':'));
    const qsizetype path = u.indexOf(QRegularExpression(QStringLiteral("[/?#]")));
    if (colon >= 0 && (path < 0 || colon < path) && !IsWebScheme(u.left(colon)))
        return {};
    return HtmlEscape(u);
}

QString HtmlLinkPath(const QString& path) {
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QString::fromLatin1(QUrl::toPercentEncoding(p, "/"));
}

QString HtmlColor(TColor color) {
    QColor c = platform::ColorToQColor(color);
    if (!c.isValid())
        c = Qt::white;
    return QStringLiteral("#%1%2%3")
        .arg(c.red(), 2, 16, QLatin1Char('0'))
        .arg(c.green(), 2, 16, QLatin1Char('0'))
        .arg(c.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString CssFontName(const QString& name) {
    QString out;
    for (const QChar c : name)
        if (c.isLetterOrNumber() || c == u' ' || c == u'-' || c == u'_')
            out += c;
    return out.trimmed().isEmpty() ? QStringLiteral("Arial") : out.trimmed();
}

} // namespace exports
