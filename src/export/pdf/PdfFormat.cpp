#include "export/pdf/PdfFormat.h"

#include "platform/NumberText.h"

#include <cmath>
#include <cstdio>
#include <zlib.h>

namespace exports {

QByteArray PdfNumber(long double x) {
    if (!std::isfinite(x))
        return QByteArrayLiteral("0");
    QByteArray s = QByteArray::fromStdString(
        platform::FormatNumber(x, std::chars_format::fixed, x == std::trunc(x) ? 0 : 2));
    if (s == "-0" || s == "-0.00") // a tiny negative rounds to a signed zero
        s = s.mid(1);
    return s;
}

namespace {

bool Balanced(const QString& s) {
    int depth = 0;
    for (QChar c : s) {
        if (c == '(')
            ++depth;
        else if (c == ')' && --depth < 0)
            return false;
    }
    return depth == 0;
}

} // namespace

QByteArray PdfString(const QString& s) {
    bool plain = true;
    for (QChar c : s)
        if (c.unicode() < 32 || c.unicode() > 122) {
            plain = false;
            break;
        }
    if (plain) {
        const bool balanced = Balanced(s);
        QByteArray out("(");
        out.reserve(s.size() + 2);
        for (QChar c : s) {
            const char ch = char(c.unicode());
            if (ch == '\\' || (!balanced && (ch == '(' || ch == ')')))
                out += '\\';
            out += ch;
        }
        out += ')';
        return out;
    }
    QByteArray out("<FEFF");
    out.reserve(s.size() * 4 + 6);
    static const char hex[] = "0123456789ABCDEF";
    for (QChar c : s) {
        const ushort u = c.unicode();
        out += hex[(u >> 12) & 15];
        out += hex[(u >> 8) & 15];
        out += hex[(u >> 4) & 15];
        out += hex[u & 15];
    }
    out += '>';
    return out;
}

QByteArray PdfFontName(const QString& face, bool bold, bool italic) {
    QString name = face;
    name.replace(QLatin1Char(' '), QStringLiteral("#20"));
    if (bold || italic) {
        name += QLatin1Char(',');
        if (bold)
            name += QStringLiteral("Bold");
        if (italic)
            name += QStringLiteral("Italic");
    }
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    for (uchar b : name.toUtf8()) {
        // Delimiters and whitespace would end the name too.
        if (b >= 128 || b <= 32 || QByteArray("()<>[]{}/%").contains(char(b))) {
            out += '#';
            out += hex[b >> 4];
            out += hex[b & 15];
        } else {
            out += char(b);
        }
    }
    return out;
}

QByteArray PdfDate(const QDateTime& time) {
    return time.toString(QStringLiteral("yyyyMMddhhmmss")).toLatin1();
}

QByteArray EscapeText(const QByteArray& text) {
    QByteArray out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\\' || c == '(' || c == ')')
            out += '\\';
        out += c;
    }
    return out;
}

QByteArray Deflate(const char* data, qsizetype size, int level) {
    uLongf bound = compressBound(uLong(size));
    QByteArray out(qsizetype(bound), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &bound, reinterpret_cast<const Bytef*>(data),
                  uLong(size), level) != Z_OK)
        throw TrpPDFError(QStringLiteral("Deflate failed"));
    out.truncate(qsizetype(bound));
    return out;
}

QByteArray Deflate(const QByteArray& data, int level) {
    return Deflate(data.constData(), data.size(), level);
}

QByteArray PdfOffset(qint64 offset) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%010lld", static_cast<long long>(offset));
    return QByteArray(buf);
}

} // namespace exports
