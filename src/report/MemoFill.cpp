#include "report/MemoFill.h"

namespace report {

QString ExpandPlaceholders(const QString& text, const QString& delimiters,
                           const std::function<QString(const QString&)>& replace) {
    const qsizetype comma = delimiters.indexOf(QLatin1Char(','));
    const QString open = comma < 0 ? delimiters : delimiters.left(comma);
    const QString close = comma < 0 ? QString() : delimiters.mid(comma + 1);
    if (open.isEmpty() || close.isEmpty() || !text.contains(open))
        return text;

    QString out;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const qsizetype start = text.indexOf(open, i);
        if (start < 0)
            break;
        // Find the matching closing delimiter.
        int depth = 0;
        QChar quote;
        qsizetype end = -1;
        for (qsizetype j = start + open.size(); j < n;) {
            const QChar c = text[j];
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
                ++j;
            } else if (c == '\'' || c == '"') {
                quote = c;
                ++j;
            } else if (QStringView(text).mid(j).startsWith(close)) {
                if (depth == 0) {
                    end = j;
                    break;
                }
                --depth;
                j += close.size();
            } else if (QStringView(text).mid(j).startsWith(open)) {
                ++depth;
                j += open.size();
            } else {
                ++j;
            }
        }
        if (end < 0)
            break;
        out += QStringView(text).mid(i, start - i);
        out += replace(text.mid(start + open.size(), end - start - open.size()));
        i = end + close.size();
    }
    out += QStringView(text).mid(i);
    return out;
}

Placeholder ParsePlaceholder(const QString& content) {
    Placeholder p;
    p.Expression = content;
    const qsizetype mark = content.indexOf(QStringLiteral(" #"));
    if (mark < 0)
        return p;
    const QString fmt = content.mid(mark + 2);
    if (fmt.contains(QLatin1Char(')')) || fmt.isEmpty())
        return p;
    const QChar kind = fmt[0].toUpper();
    QString rest = fmt.mid(1);
    if (kind == 'N') {
        p.Format.Kind = fkNumeric;
        for (QChar& c : rest)
            if (c == ',' || c == '.') {
                p.Format.DecimalSeparator = QString(c);
                c = QLatin1Char('.');
            }
    } else if (kind == 'D' || kind == 'T') {
        p.Format.Kind = fkDateTime;
    } else if (kind == 'B') {
        p.Format.Kind = fkBoolean;
    } else {
        p.Format.Kind = fkText;
    }
    p.Format.FormatStr = rest;
    p.HasFormat = true;
    p.Expression = content.left(mark);
    return p;
}

} // namespace report
