#include "report/Attributes.h"

#include "platform/NumberText.h"

namespace report {

namespace {

bool NeedsEscape(QChar c) {
    return c == '\n' || c == '\r' || c == '"' || c == '<' || c == '>';
}

} // namespace

QString EscapeAttr(const QString& value) {
    bool plain = true;
    for (QChar c : value)
        if (NeedsEscape(c) || c == '&') {
            plain = false;
            break;
        }
    if (plain)
        return value;
    QString out;
    out.reserve(value.size() + 16);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (NeedsEscape(c)) {
            out += QStringLiteral("&#") + QString::number(c.unicode()) + QLatin1Char(';');
        } else if (c == '&' && QStringView(value).mid(i).startsWith(u"&quot;")) {
            out += QStringLiteral("&#34;");
            i += 5;
        } else {
            out += c;
        }
    }
    return out;
}

QString UnescapeAttr(const QString& value) {
    if (!value.contains(QLatin1Char('&')))
        return value;
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == '&') {
            const QStringView rest = QStringView(value).mid(i);
            if (rest.startsWith(u"&quot;")) {
                out += QLatin1Char('"');
                i += 5;
                continue;
            }
            if (rest.startsWith(u"&#")) {
                qsizetype j = i + 2;
                uint code = 0;
                while (j < value.size() && value[j].isDigit() && code < 0x110000)
                    code = code * 10 + uint(value[j++].digitValue());
                if (j < value.size() && value[j] == ';' && j > i + 2) {
                    out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
                    i = j;
                    continue;
                }
            }
        }
        out += c;
    }
    return out;
}

QString FloatToAttr(Extended value) {
    // Always the decimal comma of the Russian conventions, whatever the locale: the files of
    // Russian systems have always carried it, and the reader takes either separator.
    QString s = QString::fromStdString(platform::FormatNumber(value, std::chars_format::general, 15));
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

bool AttrToFloat(const QString& text, Extended& value) {
    std::string a;
    a.reserve(size_t(text.size()));
    for (QChar c : text) {
        if (c.isSpace() || c == QChar(0xA0))
            continue;
        if (c.unicode() > 127)
            return false;
        a += (c == ',') ? '.' : char(c.unicode());
    }
    return platform::ParseNumber(a, value);
}

void AttrWriter::Add(const QString& name, const QString& value) {
    AddRaw(name, EscapeAttr(value));
}

void AttrWriter::AddRaw(const QString& name, const QString& value) {
    FText += QLatin1Char(' ');
    FText += name;
    FText += QLatin1String("=\"");
    FText += value;
    FText += QLatin1Char('"');
}

void ForEachRawAttr(QStringView text, const std::function<bool(QStringView, QStringView)>& f) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const qsizetype eq = text.indexOf(u'=', i);
        if (eq < 0)
            return;
        const QStringView name = text.sliced(i, eq - i).trimmed();
        if (name.isEmpty())
            return;
        const qsizetype open = text.indexOf(u'"', eq);
        if (open < 0)
            return;
        const qsizetype close = text.indexOf(u'"', open + 1);
        if (close < 0)
            return;
        if (!f(name, text.sliced(open + 1, close - open - 1)))
            return;
        i = close + 1;
    }
}

void ForEachAttr(const QString& text, const std::function<void(const QString&, const QString&)>& f) {
    ForEachRawAttr(text, [&](QStringView name, QStringView value) {
        f(name.toString().toLower(), UnescapeAttr(value.toString()));
        return true;
    });
}

bool FindAttr(const QString& text, const QString& name, QString& value) {
    const QString key = QLatin1Char(' ') + name + QLatin1String("=\"");
    const qsizetype at = text.indexOf(key, 0, Qt::CaseInsensitive);
    if (at < 0)
        return false;
    const qsizetype start = at + key.size();
    const qsizetype close = text.indexOf(QLatin1Char('"'), start);
    if (close < 0)
        return false;
    value = UnescapeAttr(text.mid(start, close - start));
    return true;
}

} // namespace report
