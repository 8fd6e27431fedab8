#pragma once
// Text forms of PDF values, shared by the document writer and the exports that write PDF
// numbers.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <stdexcept>

namespace exports {

// An error while writing a PDF document; the filter turns it into a message for the user.
class TrpPDFError : public std::runtime_error {
public:
    explicit TrpPDFError(const QString& message)
        : std::runtime_error(message.toStdString()), FMessage(message) {}
    const QString& Message() const { return FMessage; }

private:
    QString FMessage;
};

// Integral values without decimals, others with exactly two; the separator is always ".".
QByteArray PdfNumber(long double x);

// A string operand: literal "(...)" for plain ASCII from space to "z", else a UTF-16BE hex
// string after the byte order mark. Backslashes and unbalanced parentheses are escaped so
// that no text can end the literal early.
QByteArray PdfString(const QString& s);

// The base font name: spaces as "#20", ",Bold" / ",Italic" / ",BoldItalic" for the style,
// bytes from 128 up as "#XX".
QByteArray PdfFontName(const QString& face, bool bold, bool italic);

// Local time as 14 digits, yyyyMMddhhmmss, without a time zone.
QByteArray PdfDate(const QDateTime& time);

// Escapes backslash and parentheses for a string inside a content stream.
QByteArray EscapeText(const QByteArray& text);

// zlib deflate at the given level (1 fastest .. 9 best).
QByteArray Deflate(const QByteArray& data, int level);
QByteArray Deflate(const char* data, qsizetype size, int level);

// Ten digits with leading zeros (cross-reference offsets).
QByteArray PdfOffset(qint64 offset);

} // namespace exports
