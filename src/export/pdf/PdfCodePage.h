#pragma once
// Windows character sets as the PDF writer uses them: the code page text is written in,
// the encoding entry of the font and its differences array.

#include <QByteArray>
#include <QString>
#include <array>

namespace exports {

// The Windows code page of a font character set (1251 for Russian, 1252 for ANSI, 932 for
// Shift-JIS ...). The default character set stands for the system's ANSI set, Russian here.
int CodePageOfCharset(int charset);
// The charset a font is written with: the default set resolved to the ANSI one.
int EffectiveCharset(int charset);
bool IsCJKCharset(int charset);

// Unicode of every byte of a single-byte code page; 0 where the code page leaves it undefined.
const std::array<char32_t, 256>& CodePageTable(int codePage);

// Text in the font's code page; characters it lacks become "?".
QByteArray EncodeForCharset(const QString& text, int charset);

// The /Encoding value of a TrueType font: empty for none, "/WinAnsiEncoding", or a dictionary
// with a differences array ("<</Type/Encoding ... >>" split into the lines the file carries).
QByteArray FontEncodingEntry(int charset);

// The differences array against WinAnsiEncoding for one of the eight charsets that have one,
// else empty.
QByteArray DifferencesArray(int charset);

} // namespace exports
