#include "export/mail/MailMessage.h"

#include <QRandomGenerator>
#include <QStringList>
#include <QUrl>
#include <algorithm>

namespace exports {

namespace {

constexpr int Base64LineBytes = 57;
constexpr int EncodedWordBytes = 39; // 52 Base64 characters: a word of 64 with its frame
constexpr int MaxHeaderLine = 78;    // where a header line is folded
constexpr int MaxWordChars = 900;    // a plain word longer than this goes encoded: 998 is the limit

bool IsPrintableAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    return true;
}

// A MIME parameter as `name="value"`, or, for a value that is not plain ASCII, an RFC 2047
// word (read by older mail programs) or the RFC 2231 form `name*=UTF-8''...`.
QByteArray Parameter(const char* name, const QString& value, bool extended) {
    const bool plain =
        IsPrintableAscii(value) && !value.contains(QLatin1Char('"')) && !value.contains(QLatin1Char('\\'));
    if (plain)
        return QByteArray(name) + "=\"" + value.toLatin1() + '"';
    if (!extended)
        return QByteArray(name) + "=\"" + EncodeHeaderText(value, true) + '"';
    return QByteArray(name) + "*=UTF-8''" + value.toUtf8().toPercentEncoding();
}

// A display name before an address: a quoted string when it holds characters with a meaning
// in address lists, encoded words when it is not ASCII.
QByteArray DisplayName(const QString& name) {
    QByteArray quoted = EncodeHeaderText(name);
    if (quoted.startsWith("=?"))
        return quoted;
    static const QByteArray specials = "\"\\,<>@;:().[]";
    if (std::none_of(quoted.begin(), quoted.end(), [](char c) { return specials.contains(c); }))
        return quoted;
    quoted.replace("\\", "\\\\").replace("\"", "\\\"");
    return '"' + quoted + '"';
}

} // namespace

QByteArray Base64Lines(const QByteArray& data) {
    const QByteArray encoded = data.toBase64();
    constexpr qsizetype lineChars = Base64LineBytes / 3 * 4;
    QByteArray out;
    out.reserve(encoded.size() + (encoded.size() / lineChars + 1) * 2);
    for (qsizetype i = 0; i < encoded.size(); i += lineChars) {
        out.append(encoded.constData() + i, std::min(lineChars, encoded.size() - i));
        out.append("\r\n", 2);
    }
    return out;
}

QByteArray EncodeHeaderText(const QString& text, bool always) {
    // Plain words are kept as long as each fits on a header line; a longer one could not be
    // folded.
    if (!always && IsPrintableAscii(text) &&
        std::ranges::all_of(text.split(QLatin1Char(' ')),
                            [](const QString& w) { return w.size() <= MaxWordChars; }))
        return text.toLatin1();
    // Words of whole characters: a split character would not decode.
    QByteArray out, word;
    auto flush = [&] {
        if (!out.isEmpty())
            out += ' ';
        out += "=?UTF-8?B?" + word.toBase64() + "?=";
        word.clear();
    };
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray bytes = text.mid(i, n).toUtf8();
        if (word.size() + bytes.size() > EncodedWordBytes)
            flush();
        word += bytes;
        i += n;
    }
    flush();
    return out;
}

QByteArray FoldHeader(const QByteArray& name, const QByteArray& value) {
    // Folded before a blank that follows a word, once the line passes 78 characters; a line
    // never starts a fold with nothing but blanks after it.
    QByteArray out = name + ": ";
    qsizetype lineStart = 0, fold = -1;
    const qsizetype lastWord = [&] {
        qsizetype i = value.size();
        while (i > 0 && (value[i - 1] == ' ' || value[i - 1] == '\t'))
            --i;
        return i;
    }();
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if ((c == ' ' || c == '\t') && i > 0 && value[i - 1] != ' ' && value[i - 1] != '\t' && i < lastWord)
            fold = out.size();
        out += c;
        if (out.size() - lineStart > MaxHeaderLine && fold > lineStart) {
            out.insert(fold, "\r\n");
            lineStart = fold + 2;
            fold = -1;
        }
    }
    return out + "\r\n";
}

QByteArray CrLfText(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t.toUtf8();
}

QByteArray DotStuff(const QByteArray& crlfText) {
    QByteArray out;
    out.reserve(crlfText.size() + crlfText.size() / 64 + 1);
    bool lineStart = true;
    for (char c : crlfText) {
        if (lineStart && c == '.')
            out += '.';
        out += c;
        lineStart = c == '\n';
    }
    return out;
}

QString RfcDate(const QDateTime& time) {
    static const char* const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDateTime utc = time.toUTC();
    const QDate d = utc.date();
    const QTime t = utc.time();
    return QString::asprintf("%s, %02d %s %d %02d:%02d:%02d GMT", days[d.dayOfWeek() - 1], d.day(),
                             months[d.month() - 1], d.year(), t.hour(), t.minute(), t.second());
}

QString HeloDomain(const QString& mailFrom) {
    const qsizetype at = mailFrom.indexOf(QLatin1Char('@'));
    return at < 0 ? mailFrom : mailFrom.mid(at + 1);
}

bool IsHeaderSafe(const QString& text) {
    for (QChar c : text)
        if ((c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7F ||
            c == QChar::LineSeparator || c == QChar::ParagraphSeparator || c.unicode() == 0x85)
            return false;
    return true;
}

QString AceAddress(const QString& address) {
    const qsizetype at = address.lastIndexOf(QLatin1Char('@'));
    const QString domain = address.mid(at + 1);
    if (at < 0 || IsPrintableAscii(domain))
        return address;
    const QByteArray ace = QUrl::toAce(domain);
    return ace.isEmpty() ? address : address.left(at + 1) + QString::fromLatin1(ace);
}

bool IsMailAddress(const QString& address) {
    if (address.isEmpty() || address.size() > 254 || !IsPrintableAscii(address))
        return false;
    for (QChar c : address)
        if (QStringLiteral(" <>\"(),;:[]\\").contains(c))
            return false;
    return true;
}

QByteArray BuildMessage(const TrpMailMessage& m) {
    QByteArray out;
    auto header = [&](const char* name, const QByteArray& value) { out += FoldHeader(name, value); };
    const QByteArray from = m.From.toLatin1();
    header("Date", RfcDate(m.Date).toLatin1());
    header("Subject", EncodeHeaderText(m.Subject));
    header("To", m.To.toLatin1());
    header("From", m.FromName.isEmpty() ? from : DisplayName(m.FromName) + " <" + from + '>');
    header("Message-ID",
           '<' + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + '.' +
               QByteArray::number(m.Date.toMSecsSinceEpoch(), 36) + '@' +
               (HeloDomain(m.From).isEmpty() ? QByteArray("localhost") : HeloDomain(m.From).toLatin1()) +
               '>');
    header("X-Mailer", "Tarifon");
    header("MIME-Version", "1.0");

    // Plain ASCII text in short lines goes as it is; anything else in Base64, which keeps the
    // message 7-bit clean for every server.
    QByteArray text = CrLfText(m.Text);
    if (!text.endsWith("\r\n"))
        text += "\r\n";
    bool plain = IsPrintableAscii(
        QString(m.Text).remove(QLatin1Char('\r')).remove(QLatin1Char('\n')).remove(QLatin1Char('\t')));
    for (const QByteArray& line : text.split('\n'))
        plain = plain && line.size() <= 998;
    auto textPart = [&] {
        out += "Content-Type: text/plain; charset=utf-8\r\n";
        out +=
            plain ? "Content-Transfer-Encoding: 7bit\r\n\r\n" : "Content-Transfer-Encoding: base64\r\n\r\n";
        out += plain ? text : Base64Lines(text);
    };
    if (!m.HasAttachment) {
        textPart();
        return out;
    }
    // A boundary no text can contain: the text is either Base64 or checked below.
    QByteArray boundary;
    do
        boundary = "----------Tarifon" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
    while (plain && text.contains(boundary));
    header("Content-Type", "multipart/mixed; boundary=\"" + boundary + '"');
    out += "\r\n--" + boundary + "\r\n";
    textPart();
    out += "--" + boundary + "\r\n";
    header("Content-Type", m.AttachType.toLatin1() + "; " + Parameter("name", m.AttachName, false));
    header("Content-Transfer-Encoding", "base64");
    header("Content-Disposition", "attachment; " + Parameter("filename", m.AttachName, true));
    out += "\r\n";
    out += Base64Lines(m.Attachment);
    out += "--" + boundary + "--\r\n";
    return out;
}

} // namespace exports
