#pragma once
// The text of an e-mail as it goes over SMTP: headers (RFC 2047 for non-ASCII words), a text
// part that declares its charset, an optional Base64 attachment, and the DATA transparency rule.

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace exports {

// Base64 (RFC 4648 alphabet, "=" padding), 57 input bytes (76 characters) per line, each line
// followed by CR LF.
QByteArray Base64Lines(const QByteArray& data);

// A header value: unchanged when it is printable ASCII in words that fit on a line, otherwise
// (or `always`) RFC 2047 encoded words (UTF-8, Base64) of whole characters, each at most 64
// characters long, joined by blanks (where the header line is folded).
QByteArray EncodeHeaderText(const QString& text, bool always = false);

// The header line "Name: value" with CR LF, folded (CR LF before a blank) where it passes
// 78 characters.
QByteArray FoldHeader(const QByteArray& name, const QByteArray& value);

// Every line end of the text (CR LF, LF, CR and the two characters "\n") as CR LF.
QByteArray CrLfText(const QString& text);

// Doubles the dot at the start of every line, so that a line holding "." alone in the text
// cannot end the message; `crlfText` has CR LF line ends.
QByteArray DotStuff(const QByteArray& crlfText);

// The date header value: "Wed, 09 Dec 2026 17:40:00 GMT" (English names whatever the locale).
QString RfcDate(const QDateTime& time);

// The name the client greets the server with: the part of the sender address after "@", or
// the whole address when it has none.
QString HeloDomain(const QString& mailFrom);

// Text from outside that may go into a header: no line break or other control character
// (a TAB is a blank there, and headers that are not plain ASCII are encoded anyway).
bool IsHeaderSafe(const QString& text);
// The address with an internationalised domain in its ASCII form ("agent@xn--e1afmkfd.xn--p1ai"
// for "agent@пример.рф"); unchanged when the domain is ASCII already or is no valid name.
QString AceAddress(const QString& address);
// An address for MAIL FROM / RCPT TO and the To/From headers: printable ASCII without
// blanks, angle brackets, quotes, commas or semicolons.
bool IsMailAddress(const QString& address);

struct TrpMailMessage {
    QString From;     // sender address
    QString FromName; // shown before the address when set
    QString To;
    QString Subject;
    QString Text;
    QByteArray Attachment; // the file's bytes
    bool HasAttachment = false;
    QString AttachName;
    QString AttachType = QStringLiteral("application/octet-stream");
    QDateTime Date = QDateTime::currentDateTimeUtc();
};

// The whole message with CR LF line ends, before dot-stuffing. The fields must have passed
// IsHeaderSafe / IsMailAddress.
QByteArray BuildMessage(const TrpMailMessage& message);

} // namespace exports
