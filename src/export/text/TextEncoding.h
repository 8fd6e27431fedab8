#pragma once
// Single-byte text of the text exports: the ANSI code page of a Russian desktop (1251) and,
// on request, its OEM counterpart (866), as the console and dot-matrix printers expect.

#include <QByteArray>
#include <QString>

namespace exports {

// Text of the report in code page 1251, each character it lacks as one "?"; with `oem` the
// result is then translated byte by byte to code page 866 (again "?" for what 866 lacks).
// Control characters of the text become "?" too (a tab a blank): the text comes from the
// prepared file, and a printer or terminal would take ESC, NUL, form feeds and line ends in it
// as commands. Callers encode line by line and write the line ends themselves.
QByteArray EncodeText(const QString& text, bool oem);

// The filter's own strings (a separator, which may be a tab) in the same code page, as they are.
QByteArray EncodeOption(const QString& text, bool oem);

// Bytes of code page 1251 (or 866 with `oem`) as text, for showing.
QString DecodeText(const QByteArray& bytes, bool oem);

// One byte of code page 1251 as code page 866.
char AnsiToOem(char ansi);

} // namespace exports
