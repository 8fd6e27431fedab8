#include "export/text/TextEncoding.h"

#include "export/pdf/PdfCodePage.h"

#include <QHash>
#include <QStringView>
#include <array>

namespace exports {

namespace {

// Bytes of a code page by character.
QHash<char32_t, char> ReverseTable(int codePage) {
    const std::array<char32_t, 256>& table = CodePageTable(codePage);
    QHash<char32_t, char> reverse;
    for (int b = 255; b >= 0; --b)
        if (table[size_t(b)] || b == 0)
            reverse.insert(table[size_t(b)], char(b));
    return reverse;
}

const QHash<char32_t, char>& Ansi() {
    static const QHash<char32_t, char> table = ReverseTable(1251);
    return table;
}

const std::array<char, 256>& OemOfAnsi() {
    static const std::array<char, 256> table = [] {
        const QHash<char32_t, char> oem = ReverseTable(866);
        const std::array<char32_t, 256>& ansi = CodePageTable(1251);
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[size_t(b)] = b < 128 ? char(b) : oem.value(ansi[size_t(b)], '?');
        return t;
    }();
    return table;
}

} // namespace

QString DecodeText(const QByteArray& bytes, bool oem) {
    const std::array<char32_t, 256>& table = CodePageTable(oem ? 866 : 1251);
    QString text;
    text.reserve(bytes.size());
    for (char b : bytes) {
        const char32_t c = table[uchar(b)];
        text += c ? QChar(char16_t(c)) : QChar(u'?');
    }
    return text;
}

char AnsiToOem(char ansi) {
    return OemOfAnsi()[uchar(ansi)];
}

namespace {

QByteArray Encode(const QString& text, bool oem, bool controls) {
    QByteArray out;
    out.reserve(text.size());
    const QHash<char32_t, char>& ansi = Ansi();
    // By code point, so that a character outside the basic plane is one "?", not two.
    for (char32_t c : QStringView(text).toUcs4()) {
        char b = c < 128 ? char(c) : ansi.value(c, '?');
        if (!controls && (c < 0x20 || c == 0x7F))
            b = c == '\t' ? ' ' : '?';
        out += oem ? AnsiToOem(b) : b;
    }
    return out;
}

} // namespace

QByteArray EncodeText(const QString& text, bool oem) {
    return Encode(text, oem, false);
}

QByteArray EncodeOption(const QString& text, bool oem) {
    return Encode(text, oem, true);
}

} // namespace exports
