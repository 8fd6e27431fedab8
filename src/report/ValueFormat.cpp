#include "report/ValueFormat.h"

#include "platform/NumberText.h"

#include <QDate>
#include <QDateTime>
#include <cmath>
#include <cstdio>

namespace report {

namespace {

QString Sep(const std::string& s) {
    return QString::fromStdString(s);
}

// The digits with a point, whatever the C library's locale; the regional separators go in after.
QString Digits(long double value, std::chars_format format, int precision) {
    return QString::fromStdString(platform::FormatNumber(value, format, precision));
}

// Groups the digits of an unsigned integer text by three.
QString Group(const QString& digits, const QString& separator) {
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

bool ToNumber(const script::Variant& v, long double& out) {
    if (v.IsNumber() || v.IsBool()) {
        out = v.IsBool() ? (v.AsBool() ? 1 : 0) : v.AsFloat();
        return true;
    }
    if (v.IsString()) {
        try {
            out = v.AsFloat();
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }
    return false;
}

} // namespace

const platform::RegionalSettings& EngineRegionalSettings() {
    static const platform::RegionalSettings rs = platform::RegionalSettings::System();
    return rs;
}

QString PlainText(const script::Variant& value, const platform::RegionalSettings& rs) {
    if (value.IsNull())
        return {};
    if (value.IsString())
        return QString::fromStdString(value.AsString());
    if (value.IsBool())
        return value.AsBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (value.IsInteger())
        return QString::number(value.AsInteger());
    QString s = Digits(value.AsFloat(), std::chars_format::general, 15);
    s.replace(QLatin1Char('.'), Sep(rs.DecimalSeparator));
    return s;
}

QString FormatPicture(long double value, const QString& picture, const platform::RegionalSettings& rs) {
    const qsizetype dot = picture.indexOf(QLatin1Char('.'));
    const QString intPart = dot < 0 ? picture : picture.left(dot);
    const QString fracPart = dot < 0 ? QString() : picture.mid(dot + 1);
    const bool grouping = intPart.contains(QLatin1Char(','));
    const int minInt = int(intPart.count(QLatin1Char('0')));
    int fracMin = 0, fracMax = 0;
    for (QChar c : fracPart) {
        if (c == '0')
            fracMin = ++fracMax;
        else if (c == '#')
            ++fracMax;
        else
            break;
    }
    QString digits = Digits(std::fabs(value), std::chars_format::fixed, fracMax);
    QString frac;
    if (const qsizetype p = digits.indexOf(QLatin1Char('.')); p >= 0) {
        frac = digits.mid(p + 1);
        digits = digits.left(p);
    }
    while (frac.size() > fracMin && frac.endsWith(QLatin1Char('0')))
        frac.chop(1);
    while (digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    while (digits.size() < minInt)
        digits.prepend(QLatin1Char('0'));
    QString out = grouping ? Group(digits, Sep(rs.ThousandSeparator)) : digits;
    if (!frac.isEmpty())
        out += Sep(rs.DecimalSeparator) + frac;
    bool zero = true;
    for (QChar c : out)
        if (c >= '1' && c <= '9')
            zero = false;
    if (value < 0 && !zero && !out.isEmpty())
        out.prepend(QLatin1Char('-'));
    return out;
}

bool FormatPrintf(long double value, const QString& format, const platform::RegionalSettings& rs,
                  QString& out) {
    const qsizetype pct = format.indexOf(QLatin1Char('%'));
    if (pct < 0)
        return false;
    qsizetype i = pct + 1;
    bool left = false;
    if (i < format.size() && format[i] == '-') {
        left = true;
        ++i;
    }
    int width = -1, prec = -1;
    auto readInt = [&](int& v) {
        const qsizetype start = i;
        int n = 0;
        while (i < format.size() && format[i].isDigit())
            n = n * 10 + format[i++].digitValue();
        if (i > start)
            v = n;
    };
    readInt(width);
    if (i < format.size() && format[i] == '.') {
        ++i;
        prec = 0;
        readInt(prec);
    }
    if (i >= format.size())
        return false;
    const QChar conv = format[i].toLower();
    char buf[128];
    QString body;
    switch (conv.toLatin1()) {
    case 'd':
        std::snprintf(buf, sizeof buf, "%0*lld", std::max(prec, 1), (long long)std::llround(value));
        body = QString::fromLatin1(buf);
        break;
    case 'x':
        std::snprintf(buf, sizeof buf, "%0*llX", std::max(prec, 1), (long long)std::llround(value));
        body = QString::fromLatin1(buf);
        break;
    case 'f':
    case 'n':
    case 'm': {
        body = Digits(value, std::chars_format::fixed, prec < 0 ? 2 : prec);
        QString intDigits = body, frac;
        if (const qsizetype p = body.indexOf(QLatin1Char('.')); p >= 0) {
            intDigits = body.left(p);
            frac = body.mid(p + 1);
        }
        const bool negative = intDigits.startsWith(QLatin1Char('-'));
        if (negative)
            intDigits.remove(0, 1);
        if (conv != 'f')
            intDigits = Group(intDigits, Sep(rs.ThousandSeparator));
        body = (negative ? QStringLiteral("-") : QString()) + intDigits;
        if (!frac.isEmpty())
            body += Sep(rs.DecimalSeparator) + frac;
        break;
    }
    case 'g':
        body = Digits(value, std::chars_format::general, prec < 0 ? 15 : std::max(prec, 1))
                   .replace(QLatin1Char('.'), Sep(rs.DecimalSeparator));
        break;
    case 'e':
        body = Digits(value, std::chars_format::scientific, prec < 0 ? 15 : std::max(prec - 1, 0))
                   .toUpper()
                   .replace(QLatin1Char('.'), Sep(rs.DecimalSeparator));
        break;
    case 's':
        body = PlainText(script::Variant(value), rs);
        if (prec >= 0)
            body.truncate(prec);
        break;
    default:
        return false;
    }
    if (width > body.size())
        body = left ? body.leftJustified(width) : body.rightJustified(width);
    out = format.left(pct) + body + format.mid(i + 1);
    return true;
}

QString FormatDateTime(long double days, const QString& pattern) {
    const QDateTime base(QDate(1899, 12, 30), QTime(0, 0));
    const QDateTime dt = base.addMSecs(qint64(std::llround(days * 86400000.0L)));
    const QString p = pattern.isEmpty() ? QStringLiteral("dd.mm.yyyy") : pattern;
    static const char* const monthNames[] = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                                             "июля",   "августа", "сентября", "октября", "ноября", "декабря"};
    QString out;
    bool lastWasHour = false;
    for (qsizetype i = 0; i < p.size();) {
        const QChar c = p[i].toLower();
        if (c == '"' || c == '\'') {
            const qsizetype end = p.indexOf(p[i], i + 1);
            out += p.mid(i + 1, (end < 0 ? p.size() : end) - i - 1);
            i = end < 0 ? p.size() : end + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < p.size() && p[i + run].toLower() == c)
            ++run;
        auto two = [](int v) { return QString::number(v).rightJustified(2, QLatin1Char('0')); };
        switch (c.toLatin1()) {
        case 'd':
            out += run >= 2 ? two(dt.date().day()) : QString::number(dt.date().day());
            break;
        case 'm':
            if (lastWasHour && run <= 2) // "m" after an hour means minutes
                out += run == 2 ? two(dt.time().minute()) : QString::number(dt.time().minute());
            else if (run >= 3)
                out += QString::fromUtf8(monthNames[dt.date().month() - 1]);
            else
                out += run == 2 ? two(dt.date().month()) : QString::number(dt.date().month());
            break;
        case 'y':
            out += run <= 2 ? two(dt.date().year() % 100) : QString::number(dt.date().year());
            break;
        case 'h':
            out += run >= 2 ? two(dt.time().hour()) : QString::number(dt.time().hour());
            break;
        case 'n':
            out += run >= 2 ? two(dt.time().minute()) : QString::number(dt.time().minute());
            break;
        case 's':
            out += run >= 2 ? two(dt.time().second()) : QString::number(dt.time().second());
            break;
        default:
            out += p.mid(i, run);
            break;
        }
        if (c != ':' && c != ' ')
            lastWasHour = (c == 'h');
        i += run;
    }
    return out;
}

QString FormatValue(const script::Variant& value, const TrpFormat& format,
                    const platform::RegionalSettings& rs) {
    if (value.IsNull())
        return {};
    switch (format.Kind) {
    case fkText:
        break;
    case fkNumeric: {
        long double number = 0;
        if (!ToNumber(value, number))
            break;
        QString out;
        if (format.FormatStr.startsWith(QLatin1Char('#')))
            out = FormatPicture(number, format.FormatStr, rs);
        else if (!FormatPrintf(number, format.FormatStr.isEmpty() ? QStringLiteral("%g") : format.FormatStr,
                               rs, out))
            break;
        const QString sys = Sep(rs.DecimalSeparator);
        if (format.DecimalSeparator.size() == 1 && format.DecimalSeparator != sys)
            out.replace(sys, format.DecimalSeparator);
        return out;
    }
    case fkDateTime: {
        long double days = 0;
        if (!ToNumber(value, days))
            break;
        return FormatDateTime(days, format.FormatStr);
    }
    case fkBoolean: {
        bool b = false;
        try {
            b = value.AsBool();
        } catch (const std::exception&) {
            break;
        }
        const qsizetype comma = format.FormatStr.indexOf(QLatin1Char(','));
        if (comma < 0)
            break;
        return b ? format.FormatStr.left(comma) : format.FormatStr.mid(comma + 1);
    }
    }
    return PlainText(value, rs);
}

} // namespace report
