#pragma once
// Finding the placeholders of a memo text and splitting off their inline formats.

#include "report/ReportTypes.h"

#include <QString>
#include <functional>

namespace report {

// Replaces every delimited part (delimiters included) by replace(content). Delimiters are
// "open,close"; nesting is counted and delimiters inside single- or double-quoted strings do
// not count. Inserted text is never scanned again. An opening delimiter without its closing
// one is left as it is, with the rest of the text.
QString ExpandPlaceholders(const QString& text, const QString& delimiters,
                           const std::function<QString(const QString&)>& replace);

// A placeholder's expression and its inline format (after " #"). HasFormat is false when
// there is none, or when the part after " #" contains ")" (then all of it is the expression).
struct Placeholder {
    QString Expression;
    bool HasFormat = false;
    TrpFormat Format;
};
Placeholder ParsePlaceholder(const QString& content);

// The text that stands for the total page count until preparation ends.
inline QString TotalPagesMark() {
    return QStringLiteral("[TotalPages#]");
}

} // namespace report
